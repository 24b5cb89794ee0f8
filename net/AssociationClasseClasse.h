// Association from a class to a class, ordered by the descriptors' addresses; a class that is not
// associated answers the root object class.
#pragma once

#include "core/arrays/TemplateAssoc.h"

struct TAssociationClasseClasseTraits {
  using Cle = const TClass*;
  using Valeur = const TClass*;
  static int ComparerCles(Cle a, Cle b) { return ComparerAdresses(a, b); }
  static int ComparerValeurs(Valeur a, Valeur b) { return ComparerAdresses(a, b); }
};

class TAssociationClasseClasse : public TTemplateAssoc<TAssociationClasseClasseTraits> {
  NV_DECLARE_CLASS(TAssociationClasseClasse)
 public:
  TAssociationClasseClasse() : TTemplateAssoc(TObject::StaticClass(), true, false, false) {}
  explicit TAssociationClasseClasse(TBlank b) : TTemplateAssoc(b) {}
};

extern template class TTemplateAssoc<TAssociationClasseClasseTraits>;
