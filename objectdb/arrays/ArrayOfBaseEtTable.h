// Arrays of (base, table) pairs: the schema registry's node of an article class keeps one entry per
// base that holds a table of the class or of a descendant, ordered by the base's address. Neither
// reference is owned; entries never travel in streams.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TBase;
class TCustomTable;

struct TypeBaseEtTable {
  TBase* Base = nullptr;
  // Nil when the base holds tables of descendant classes only.
  TCustomTable* Table = nullptr;
};

class TArrayOfBaseEtTable;

struct TArrayOfBaseEtTableTraits : TArrayTraitsBase<TypeBaseEtTable> {
  using Tableau = TArrayOfBaseEtTable;
  static int8_t ComparerElements(const TypeBaseEtTable& A, const TypeBaseEtTable& B, int32_t /*Mode*/,
                                 TObject* /*Parametre*/) {
    const auto a = reinterpret_cast<uintptr_t>(A.Base), b = reinterpret_cast<uintptr_t>(B.Base);
    return a < b ? -1 : a > b ? 1 : 0;
  }
  // "Base": the base's summary or "NIL"; "Table": "<table class> de <article class>" or "NIL".
  static void TracerElement(const TypeBaseEtTable& Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  static void EcrireElement(const TypeBaseEtTable&, IFormateur*, TClasseFormat) {}
  static TypeBaseEtTable LireElement(IFormateur*, TClasseFormat) { return {}; }
};

NV_ARRAY_CLASS(TArrayOfBaseEtTable, TArrayTemplate<TArrayOfBaseEtTableTraits>)

extern template class TCustomArrayTemplate<TArrayOfBaseEtTableTraits>;
extern template class TArrayTemplate<TArrayOfBaseEtTableTraits>;
