// Arrays of class references, ordered by class name without regard to case and written as class
// names (a name the class-name registry does not know reads back as nil).
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TArrayOfClasses;

struct TArrayOfClassesTraits : TArrayTraitsBase<const TClass*> {
  using Tableau = TArrayOfClasses;
  static int8_t ComparerElements(const TClass* A, const TClass* B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return TemplateArray::ComparerTexteSansCasse(TemplateArray::NomDeClasse(A), TemplateArray::NomDeClasse(B));
  }
  static void TracerElement(const TClass* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  static void EcrireElement(const TClass* Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireChaine(TemplateArray::NomDeClasse(Element));
  }
  static const TClass* LireElement(IFormateur* Formateur, TClasseFormat Contexte);
};

NV_ARRAY_CLASS(TArrayOfClasses, TArrayTemplate<TArrayOfClassesTraits>)

extern template class TCustomArrayTemplate<TArrayOfClassesTraits>;
extern template class TArrayTemplate<TArrayOfClassesTraits>;

namespace ArrayOfClasses {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfClasses
