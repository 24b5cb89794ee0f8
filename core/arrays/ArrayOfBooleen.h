// Arrays of Booleans: flags per item (False orders before True).
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TArrayOfBooleen;

struct TArrayOfBooleenTraits : TArrayTraitsBase<bool> {
  using Tableau = TArrayOfBooleen;
  static int8_t ComparerElements(bool A, bool B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return A == B ? 0 : (A ? 1 : -1);
  }
  static void ElementEnTexte(bool Element, std::string& Texte) { Texte = Element ? "True" : "False"; }
  static void TracerElement(bool Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "Booleen", Element ? "True" : "False", Texte);
  }
  static void EcrireElement(bool Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireBooleen(Element);
  }
  static bool LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) { return TemplateArray::LireBooleen(Formateur); }
};

NV_ARRAY_CLASS(TArrayOfBooleen, TArrayTemplate<TArrayOfBooleenTraits>)
NV_ARRAY_CLASS(TPagedArrayOfBooleen, TPagedArrayTemplate<TArrayOfBooleenTraits>)
NV_ARRAY_CLASS(TFixedArrayOfBooleen, TFixedArrayTemplate<TArrayOfBooleenTraits>)

extern template class TCustomArrayTemplate<TArrayOfBooleenTraits>;
extern template class TArrayTemplate<TArrayOfBooleenTraits>;
extern template class TPagedArrayTemplate<TArrayOfBooleenTraits>;
extern template class TFixedArrayTemplate<TArrayOfBooleenTraits>;

namespace ArrayOfBooleen {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfBooleen
