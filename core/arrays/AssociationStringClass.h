// Association from a class name to its class, compared byte by byte and case-sensitively; the
// table behind the class-name registry.
#pragma once

#include <string>

#include "core/arrays/TemplateAssoc.h"

struct TAssociationStringClassTraits {
  using Cle = std::string;
  using Valeur = const TClass*;
  static int ComparerCles(const Cle& a, const Cle& b) {
    int c = a.compare(b);  // byte order, a prefix before the longer string
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  static int ComparerValeurs(Valeur a, Valeur b) { return ComparerAdresses(a, b); }
};

class TAssociationStringClass : public TTemplateAssoc<TAssociationStringClassTraits> {
  NV_DECLARE_CLASS(TAssociationStringClass)
 public:
  TAssociationStringClass(bool LibererValeurs, bool DoubleSens)
      : TTemplateAssoc(nullptr, true, LibererValeurs, DoubleSens) {}
  explicit TAssociationStringClass(TBlank b) : TTemplateAssoc(b) {}
};

extern template class TTemplateAssoc<TAssociationStringClassTraits>;
