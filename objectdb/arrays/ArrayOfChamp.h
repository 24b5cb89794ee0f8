// Arrays of columns: a table's columns in column-number order, and the reference columns that point
// to a class in the schema registry. They never free their columns (the table does) and never travel
// in streams. Mode 0 orders columns by name without regard to case, mode 1 by address.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"
#include "objectdb/columns/CustomChamp.h"

class TArrayOfChamp;

struct TArrayOfChampTraits : TArrayTraitsBase<TCustomChamp*> {
  using Tableau = TArrayOfChamp;
  static int8_t ComparerElements(TCustomChamp* A, TCustomChamp* B, int32_t Mode, TObject* Parametre);
  // Parametre must be a TParametreAssignationChamp (EInvalidCast otherwise): the destination is a new
  // column of the source's class that copies the source's structure for the parameter's tables.
  static void CopierElement(TCustomChamp* const& Source, TCustomChamp*& Destination, TObject* Parametre);
  // The column's own complete trace.
  static void TracerElement(TCustomChamp* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  static void EcrireElement(TCustomChamp*, IFormateur*, TClasseFormat) {}
  static TCustomChamp* LireElement(IFormateur*, TClasseFormat) { return nullptr; }
};

NV_ARRAY_CLASS(TArrayOfChamp, TArrayTemplate<TArrayOfChampTraits>)

extern template class TCustomArrayTemplate<TArrayOfChampTraits>;
extern template class TArrayTemplate<TArrayOfChampTraits>;
