// Association from a GUID to an object, which it may own: the networking layer finds its objects by
// identity through it. GUIDs order as two signed 64-bit integers, the first eight bytes first.
#pragma once

#include <cstring>

#include "core/arrays/TemplateAssoc.h"

struct TAssociationIdentifiantObjectTraits {
  using Cle = TGUID;
  using Valeur = TObject*;
  static int ComparerCles(const Cle& a, const Cle& b);
  static int ComparerValeurs(Valeur a, Valeur b) { return ComparerAdresses(a, b); }
};

class TAssociationIdentifiantObject : public TTemplateAssoc<TAssociationIdentifiantObjectTraits> {
  NV_DECLARE_CLASS(TAssociationIdentifiantObject)
 public:
  TAssociationIdentifiantObject(bool LibererValeurs, bool DoubleSens)
      : TTemplateAssoc(nullptr, true, LibererValeurs, DoubleSens) {}
  explicit TAssociationIdentifiantObject(TBlank b) : TTemplateAssoc(b) {}
  ~TAssociationIdentifiantObject() override { Vider(); }

 protected:
  void LibererValeur(TObject*& valeur) override {
    delete valeur;
    valeur = nullptr;
  }
};

extern template class TTemplateAssoc<TAssociationIdentifiantObjectTraits>;
