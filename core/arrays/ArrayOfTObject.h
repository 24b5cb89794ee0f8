// Arrays of object references: the general object lists of the system. An array that owns its
// elements frees each object when its last occurrence leaves the array. Objects that implement
// IComparable sort by their own order, others by address.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/Comparable.h"
#include "core/arrays/TemplateArray.h"

class TArrayOfTObject;

struct TArrayOfTObjectTraits : TArrayTraitsBase<TObject*> {
  using Tableau = TArrayOfTObject;
  static constexpr bool kLibereElements = true;
  static int8_t ComparerElements(TObject* A, TObject* B, int32_t Mode, TObject* /*Parametre*/) {
    return static_cast<int8_t>(TCustomComparable::Comparer(A, B, Mode));
  }
  // Frees the object and clears the reference.
  static void LibererElement(TObject*& Element) {
    delete Element;
    Element = nullptr;
  }
  static uintptr_t Identite(TObject* Element) { return reinterpret_cast<uintptr_t>(Element); }
  // The object's own complete trace inside the element block.
  static void TracerElement(TObject* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  static void EcrireElement(TObject* Element, IFormateur* Formateur, TClasseFormat Contexte) {
    Formateur->EcrireObjet(Element, Contexte);
  }
  static TObject* LireElement(IFormateur* Formateur, TClasseFormat Contexte) { return Formateur->LireObjet(Contexte); }
};

NV_ARRAY_CLASS(TArrayOfTObject, TArrayTemplate<TArrayOfTObjectTraits>)
NV_ARRAY_CLASS(TPagedArrayOfTObject, TPagedArrayTemplate<TArrayOfTObjectTraits>)
NV_ARRAY_CLASS(TFixedArrayOfTObject, TFixedArrayTemplate<TArrayOfTObjectTraits>)

extern template class TCustomArrayTemplate<TArrayOfTObjectTraits>;
extern template class TArrayTemplate<TArrayOfTObjectTraits>;
extern template class TPagedArrayTemplate<TArrayOfTObjectTraits>;
extern template class TFixedArrayTemplate<TArrayOfTObjectTraits>;

namespace ArrayOfTObject {
void Initialiser();
}  // namespace ArrayOfTObject
