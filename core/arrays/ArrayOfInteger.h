// Arrays of signed 32-bit integers: the most used typed arrays of the system (lists of record
// numbers, week values, counters); the weekly and monthly value arrays derive from the fixed one.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TArrayOfInteger;

struct TArrayOfIntegerTraits : TArrayTraitsBase<int32_t> {
  using Tableau = TArrayOfInteger;
  static int8_t ComparerElements(int32_t A, int32_t B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return A < B ? -1 : A > B ? 1 : 0;
  }
  static void TracerElement(int32_t Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "INTEGER", std::to_string(Element), Texte);
  }
  static void EcrireElement(int32_t Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireEntier(Element);
  }
  static int32_t LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) { return TemplateArray::LireEntier(Formateur); }
};

NV_ARRAY_CLASS(TArrayOfInteger, TArrayTemplate<TArrayOfIntegerTraits>)
NV_ARRAY_CLASS(TPagedArrayOfInteger, TPagedArrayTemplate<TArrayOfIntegerTraits>)
NV_ARRAY_CLASS(TFixedArrayOfInteger, TFixedArrayTemplate<TArrayOfIntegerTraits>)

extern template class TCustomArrayTemplate<TArrayOfIntegerTraits>;
extern template class TArrayTemplate<TArrayOfIntegerTraits>;
extern template class TPagedArrayTemplate<TArrayOfIntegerTraits>;
extern template class TFixedArrayTemplate<TArrayOfIntegerTraits>;

namespace ArrayOfInteger {
// Registers the three classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfInteger
