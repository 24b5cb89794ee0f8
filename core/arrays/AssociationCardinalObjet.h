// Association from an unsigned 32-bit number to an object, which it may own: the lists of tables of
// the per-field access information and the site and travel tables of the timetable base.
#pragma once

#include <cstdint>

#include "core/arrays/TemplateAssoc.h"

struct TAssociationCardinalObjetTraits {
  using Cle = uint32_t;
  using Valeur = TObject*;
  static int ComparerCles(Cle a, Cle b) { return a < b ? -1 : a > b ? 1 : 0; }
  static int ComparerValeurs(Valeur a, Valeur b) { return ComparerAdresses(a, b); }
};

class TAssociationCardinalObjet : public TTemplateAssoc<TAssociationCardinalObjetTraits> {
  NV_DECLARE_CLASS(TAssociationCardinalObjet)
 public:
  TAssociationCardinalObjet(bool LibererValeurs, bool DoubleSens)
      : TTemplateAssoc(nullptr, true, LibererValeurs, DoubleSens) {}
  explicit TAssociationCardinalObjet(TBlank b) : TTemplateAssoc(b) {}
  ~TAssociationCardinalObjet() override { Vider(); }

 protected:
  // Frees the object and clears the variable.
  void LibererValeur(TObject*& valeur) override {
    delete valeur;
    valeur = nullptr;
  }
};

extern template class TTemplateAssoc<TAssociationCardinalObjetTraits>;
