// Arrays of date-times (days since 30/12/1899), in the exact order of their values.
#pragma once

#include <cstdint>
#include <string>

#include "core/values/DateTime.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfTDateTime;

struct TArrayOfTDateTimeTraits : TArrayTraitsBase<TDateTime> {
  using Tableau = TArrayOfTDateTime;
  static int8_t ComparerElements(TDateTime A, TDateTime B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return A < B ? -1 : A > B ? 1 : 0;
  }
  // "dd/mm/yyyy", followed by " hh:nn:ss" unless the value is midnight exactly.
  static std::string DateHeureEnTexte(TDateTime Valeur);
  static void TracerElement(TDateTime Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "TDateTime", DateHeureEnTexte(Element), Texte);
  }
  static void EcrireElement(TDateTime Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(Element);
  }
  static TDateTime LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return TemplateArray::LireFixe<double>(Formateur, &IFormateur::LireDouble, 8);
  }
};

NV_ARRAY_CLASS(TArrayOfTDateTime, TArrayTemplate<TArrayOfTDateTimeTraits>)
NV_ARRAY_CLASS(TPagedArrayOfTDateTime, TPagedArrayTemplate<TArrayOfTDateTimeTraits>)
NV_ARRAY_CLASS(TFixedArrayOfTDateTime, TFixedArrayTemplate<TArrayOfTDateTimeTraits>)

extern template class TCustomArrayTemplate<TArrayOfTDateTimeTraits>;
extern template class TArrayTemplate<TArrayOfTDateTimeTraits>;
extern template class TPagedArrayTemplate<TArrayOfTDateTimeTraits>;
extern template class TFixedArrayTemplate<TArrayOfTDateTimeTraits>;

namespace ArrayOfTDateTime {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfTDateTime
