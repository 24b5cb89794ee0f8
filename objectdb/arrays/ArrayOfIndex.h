// Arrays of indexes: a table's indexes by position. Indexes are ordered by name without regard to
// case (in every mode), so that a table refusing duplicates keeps its index names unique. They never
// travel in streams and trace nothing of their elements.
#pragma once

#include <string>

#include "core/arrays/TemplateArray.h"
#include "objectdb/indexes/Index.h"

class TArrayOfIndex;

struct TArrayOfIndexTraits : TArrayTraitsBase<TIndex*> {
  using Tableau = TArrayOfIndex;
  static int8_t ComparerElements(TIndex* A, TIndex* B, int32_t Mode, TObject* Parametre);
  // Parametre must be a TParametreAssignationIndex (EInvalidCast otherwise): the destination is a new
  // index copying the source for the parameter's destination table.
  static void CopierElement(TIndex* const& Source, TIndex*& Destination, TObject* Parametre);
  static void TracerElement(TIndex*, bool, std::string& Texte, TCustomTraceur*) { Texte.clear(); }
  static void EcrireElement(TIndex*, IFormateur*, TClasseFormat) {}
  static TIndex* LireElement(IFormateur*, TClasseFormat) { return nullptr; }
};

NV_ARRAY_CLASS(TArrayOfIndex, TArrayTemplate<TArrayOfIndexTraits>)

extern template class TCustomArrayTemplate<TArrayOfIndexTraits>;
extern template class TArrayTemplate<TArrayOfIndexTraits>;
