// Arrays of stored durations (days, possibly infinite or undefined): the duration columns and
// parameters keep their values in them. An element is written as its value in days; its trace and
// its text are the debugging text of a duration, which is why the unit lives beside that formatter.
#pragma once

#include <cstdint>
#include <string>

#include "core/values/DureeStockee.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfDuree;

struct TArrayOfDureeTraits : TArrayTraitsBase<TypeDureeStockee> {
  using Tableau = TArrayOfDuree;
  static int8_t ComparerElements(const TypeDureeStockee& A, const TypeDureeStockee& B, int32_t /*Mode*/,
                                 TObject* /*Parametre*/) {
    return static_cast<int8_t>(DureeStockee::Comparer(A, B));
  }
  // The debugging text of the duration.
  static void ElementEnTexte(const TypeDureeStockee& Element, std::string& Texte);
  static void TracerElement(const TypeDureeStockee& Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  static void EcrireElement(const TypeDureeStockee& Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(DureeStockee::Multiplier(Element, 1));
  }
  static TypeDureeStockee LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    TypeDureeStockee d;
    DureeStockee::DureeInitialiser(d, TemplateArray::LireFixe<double>(Formateur, &IFormateur::LireDouble, 8));
    return d;
  }
};

NV_ARRAY_CLASS(TArrayOfDuree, TArrayTemplate<TArrayOfDureeTraits>)
NV_ARRAY_CLASS(TPagedArrayOfDuree, TPagedArrayTemplate<TArrayOfDureeTraits>)
NV_ARRAY_CLASS(TFixedArrayOfDuree, TFixedArrayTemplate<TArrayOfDureeTraits>)

extern template class TCustomArrayTemplate<TArrayOfDureeTraits>;
extern template class TArrayTemplate<TArrayOfDureeTraits>;
extern template class TPagedArrayTemplate<TArrayOfDureeTraits>;
extern template class TFixedArrayTemplate<TArrayOfDureeTraits>;

namespace ArrayOfDuree {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfDuree
