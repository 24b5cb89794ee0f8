// Arrays of 64-bit floating-point values compared with a relative tolerance: equal when they differ
// by at most max(min(|A|, |B|) x 1e-12, 1e-12).
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "core/values/Format.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfReal;

struct TArrayOfRealTraits : TArrayTraitsBase<double> {
  using Tableau = TArrayOfReal;
  static int8_t ComparerElements(double A, double B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    const double tolerance = std::max(std::min(std::fabs(A), std::fabs(B)) * 1e-12, 1e-12);
    if (std::fabs(A - B) <= tolerance) return 0;
    return A < B ? -1 : 1;
  }
  static void ElementEnTexte(double Element, std::string& Texte) { Texte = FloatToStrGeneral(Element, 15); }
  static void TracerElement(double Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "Real", FloatToStrGeneral(Element, 15), Texte);
  }
  static void EcrireElement(double Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(Element);
  }
  static double LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return TemplateArray::LireFixe<double>(Formateur, &IFormateur::LireDouble, 8);
  }
};

NV_ARRAY_CLASS(TArrayOfReal, TArrayTemplate<TArrayOfRealTraits>)
NV_ARRAY_CLASS(TPagedArrayOfReal, TPagedArrayTemplate<TArrayOfRealTraits>)
NV_ARRAY_CLASS(TFixedArrayOfReal, TFixedArrayTemplate<TArrayOfRealTraits>)

extern template class TCustomArrayTemplate<TArrayOfRealTraits>;
extern template class TArrayTemplate<TArrayOfRealTraits>;
extern template class TPagedArrayTemplate<TArrayOfRealTraits>;
extern template class TFixedArrayTemplate<TArrayOfRealTraits>;

namespace ArrayOfReal {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfReal
