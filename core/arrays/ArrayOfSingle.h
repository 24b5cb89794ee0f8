// Arrays of 32-bit floating-point values, compared like doubles (equal within 1e-9) and written
// widened to 8-byte doubles.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "core/values/Format.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfSingle;

struct TArrayOfSingleTraits : TArrayTraitsBase<float> {
  using Tableau = TArrayOfSingle;
  static int8_t ComparerElements(float A, float B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    const long double a = A, b = B;
    if (std::fabs(a - b) <= 1e-9L) return 0;
    return a < b ? -1 : 1;
  }
  static void ElementEnTexte(float Element, std::string& Texte) { Texte = FloatToStrGeneral(Element, 15); }
  static void TracerElement(float Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "Single", FloatToStrGeneral(Element, 15), Texte);
  }
  static void EcrireElement(float Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(Element);
  }
  static float LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return static_cast<float>(TemplateArray::LireFixe<double>(Formateur, &IFormateur::LireDouble, 8));
  }
};

NV_ARRAY_CLASS(TArrayOfSingle, TArrayTemplate<TArrayOfSingleTraits>)
NV_ARRAY_CLASS(TPagedArrayOfSingle, TPagedArrayTemplate<TArrayOfSingleTraits>)
NV_ARRAY_CLASS(TFixedArrayOfSingle, TFixedArrayTemplate<TArrayOfSingleTraits>)

extern template class TCustomArrayTemplate<TArrayOfSingleTraits>;
extern template class TArrayTemplate<TArrayOfSingleTraits>;
extern template class TPagedArrayTemplate<TArrayOfSingleTraits>;
extern template class TFixedArrayTemplate<TArrayOfSingleTraits>;

namespace ArrayOfSingle {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfSingle
