// Arrays of 8-bit (Windows-1252) strings, ordered by the system's collation in its word sort, without
// regard to case.
#pragma once

#include <cstdint>
#include <string>

#include "core/values/Collation.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfString;

struct TArrayOfStringTraits : TArrayTraitsBase<std::string> {
  using Tableau = TArrayOfString;
  static int8_t ComparerElements(const std::string& A, const std::string& B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return static_cast<int8_t>(Collation::Compare(A, B, true, Collation::SortMode::kWord));
  }
  static void TracerElement(const std::string& Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "STRING", Element, Texte);
  }
  static void EcrireElement(const std::string& Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireChaine(Element);
  }
  static std::string LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    std::string s;
    if (Formateur->LireChaine(s) < 0) TemplateArray::ErreurLecture();
    return s;
  }
};

NV_ARRAY_CLASS(TArrayOfString, TArrayTemplate<TArrayOfStringTraits>)
NV_ARRAY_CLASS(TPagedArrayOfString, TPagedArrayTemplate<TArrayOfStringTraits>)
NV_ARRAY_CLASS(TFixedArrayOfString, TFixedArrayTemplate<TArrayOfStringTraits>)

extern template class TCustomArrayTemplate<TArrayOfStringTraits>;
extern template class TArrayTemplate<TArrayOfStringTraits>;
extern template class TPagedArrayTemplate<TArrayOfStringTraits>;
extern template class TFixedArrayTemplate<TArrayOfStringTraits>;

namespace ArrayOfString {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfString
