// Arrays of wide (UTF-16) strings, ordered by the system's collation of the texts themselves in its
// word sort, without regard to case (texts outside Windows-1252 stay distinct).
#pragma once

#include <cstdint>
#include <string>

#include "core/values/ChaineUnicode.h"
#include "core/values/Collation.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfWideString;

struct TArrayOfWideStringTraits : TArrayTraitsBase<std::u16string> {
  using Tableau = TArrayOfWideString;
  static int8_t ComparerElements(const std::u16string& A, const std::u16string& B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return static_cast<int8_t>(Collation::CompareWide(A, B, true, Collation::SortMode::kWord));
  }
  static void TracerElement(const std::u16string& Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "WideString", ChaineUnicode::DepuisUnicode(Element, 1252), Texte);
  }
  static void EcrireElement(const std::u16string& Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireChaineLarge(Element);
  }
  static std::u16string LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    std::u16string s;
    if (Formateur->LireChaineLarge(s) < 0) TemplateArray::ErreurLecture();
    return s;
  }
};

NV_ARRAY_CLASS(TArrayOfWideString, TArrayTemplate<TArrayOfWideStringTraits>)
NV_ARRAY_CLASS(TPagedArrayOfWideString, TPagedArrayTemplate<TArrayOfWideStringTraits>)
NV_ARRAY_CLASS(TFixedArrayOfWideString, TFixedArrayTemplate<TArrayOfWideStringTraits>)

extern template class TCustomArrayTemplate<TArrayOfWideStringTraits>;
extern template class TArrayTemplate<TArrayOfWideStringTraits>;
extern template class TPagedArrayTemplate<TArrayOfWideStringTraits>;
extern template class TFixedArrayTemplate<TArrayOfWideStringTraits>;

namespace ArrayOfWideString {
// Registers the public classes with the class-name registry.
void Initialiser();
}  // namespace ArrayOfWideString
