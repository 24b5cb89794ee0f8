// Arrays of unsigned 32-bit values (record numbers, keys of the SOAP ports). TMethodesCardinal, the
// element methods, is also called by other units.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TArrayOfCardinal;

struct TMethodesCardinal : TArrayTraitsBase<uint32_t> {
  using Tableau = TArrayOfCardinal;
  static int8_t ComparerElements(uint32_t A, uint32_t B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return A < B ? -1 : A > B ? 1 : 0;
  }
  static void TracerElement(uint32_t Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerValeurElement(Traceur, "CARDINAL", std::to_string(Element), Texte);
  }
  static void EcrireElement(uint32_t Element, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireCardinal(Element);
  }
  static uint32_t LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return TemplateArray::LireFixe<uint32_t>(Formateur, &IFormateur::LireCardinal, 4);
  }
};

NV_ARRAY_CLASS(TArrayOfCardinal, TArrayTemplate<TMethodesCardinal>)
NV_ARRAY_CLASS(TPagedArrayOfCardinal, TPagedArrayTemplate<TMethodesCardinal>)
NV_ARRAY_CLASS(TFixedArrayOfCardinal, TFixedArrayTemplate<TMethodesCardinal>)

extern template class TCustomArrayTemplate<TMethodesCardinal>;
extern template class TArrayTemplate<TMethodesCardinal>;
extern template class TPagedArrayTemplate<TMethodesCardinal>;
extern template class TFixedArrayTemplate<TMethodesCardinal>;

namespace ArrayOfCardinal {
void Initialiser();
}  // namespace ArrayOfCardinal
