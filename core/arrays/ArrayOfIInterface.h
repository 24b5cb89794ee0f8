// Arrays of interface references, compared by the identity of the object behind each reference
// (its address), never by the interface pointer. Nothing of them is written to streams.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TArrayOfIInterface;

struct TArrayOfIInterfaceTraits : TArrayTraitsBase<IInterface*> {
  using Tableau = TArrayOfIInterface;
  // The address of the whole object an interface belongs to.
  static uintptr_t Objet(IInterface* Element) {
    return Element ? reinterpret_cast<uintptr_t>(dynamic_cast<const void*>(Element)) : 0;
  }
  static int8_t ComparerElements(IInterface* A, IInterface* B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    const uintptr_t a = Objet(A), b = Objet(B);
    return a < b ? -1 : a > b ? 1 : 0;
  }
  static void TracerElement(IInterface* /*Element*/, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
    TemplateArray::TracerBlocElement(Traceur, "IInterface", [](TCustomTraceur*, std::string& lignes) { lignes.clear(); },
                                     Texte);
  }
  static void EcrireElement(IInterface* /*Element*/, IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) {}
  static IInterface* LireElement(IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) { return nullptr; }
};

NV_ARRAY_CLASS(TArrayOfIInterface, TArrayTemplate<TArrayOfIInterfaceTraits>)

extern template class TCustomArrayTemplate<TArrayOfIInterfaceTraits>;
extern template class TArrayTemplate<TArrayOfIInterfaceTraits>;
