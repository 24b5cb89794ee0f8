// Arrays of 64-bit floating-point values; two values within 1e-9 of each other are equal.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "core/values/Format.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfDouble;

struct TArrayOfDoubleTraits : TArrayTraitsBase<double> {
  using Tableau = TArrayOfDouble;
  static int8_t ComparerElements(double A, double B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    if (std::fabs(A - B) <= 1e-9) return 0;
    return A < B ? -1 : 1;
  }
  // General decimal notation, up to 15 significant digits.
  static void ElementEnTexte(double Element, std::string& Texte) { Texte = FloatToStrGeneral(Element, 15); }
  static void TracerElement(double Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "Double", FloatToStrGeneral(Element, 15), Texte);
  }
  static void EcrireElement(double Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(Element);
  }
  static double LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return TemplateArray::LireFixe<double>(Formateur, &IFormateur::LireDouble, 8);
  }
};

NV_ARRAY_CLASS(TArrayOfDouble, TArrayTemplate<TArrayOfDoubleTraits>)
NV_ARRAY_CLASS(TPagedArrayOfDouble, TPagedArrayTemplate<TArrayOfDoubleTraits>)
NV_ARRAY_CLASS(TFixedArrayOfDouble, TFixedArrayTemplate<TArrayOfDoubleTraits>)

extern template class TCustomArrayTemplate<TArrayOfDoubleTraits>;
extern template class TArrayTemplate<TArrayOfDoubleTraits>;
extern template class TPagedArrayTemplate<TArrayOfDoubleTraits>;
extern template class TFixedArrayTemplate<TArrayOfDoubleTraits>;

namespace ArrayOfDouble {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfDouble
