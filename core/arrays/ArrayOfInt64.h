// Arrays of signed 64-bit integers.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TArrayOfInt64;

struct TArrayOfInt64Traits : TArrayTraitsBase<int64_t> {
  using Tableau = TArrayOfInt64;
  static int8_t ComparerElements(int64_t A, int64_t B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return A < B ? -1 : A > B ? 1 : 0;
  }
  static void TracerElement(int64_t Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "INT64", std::to_string(Element), Texte);
  }
  static void EcrireElement(int64_t Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireInt64(Element);
  }
  static int64_t LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return TemplateArray::LireFixe<int64_t>(Formateur, &IFormateur::LireInt64, 8);
  }
};

NV_ARRAY_CLASS(TArrayOfInt64, TArrayTemplate<TArrayOfInt64Traits>)
NV_ARRAY_CLASS(TPagedArrayOfInt64, TPagedArrayTemplate<TArrayOfInt64Traits>)
NV_ARRAY_CLASS(TFixedArrayOfInt64, TFixedArrayTemplate<TArrayOfInt64Traits>)

extern template class TCustomArrayTemplate<TArrayOfInt64Traits>;
extern template class TArrayTemplate<TArrayOfInt64Traits>;
extern template class TPagedArrayTemplate<TArrayOfInt64Traits>;
extern template class TFixedArrayTemplate<TArrayOfInt64Traits>;

namespace ArrayOfInt64 {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfInt64
