// The keys of an index's placed rows copied beside its row list, in the same order, for an index
// keyed on one column of plain values (fixed-size values compared by value: integers, dates,
// durations...). Its search compares the searched value with keys held in one block, as a binary
// search over a sorted array does, instead of reading the column at each step's row: a memory
// access that has to wait for the row number just read.
//
// The index keeps the copy in step with each change of its placed rows (a row placed at a
// position, a position removed). A row's key changes only while the row is off the placed list: the
// table takes a row off the indexes concerned before writing its key columns and places it again
// after. Any other change of the list, and a row whose key cannot be copied (an empty row, a
// computed column), leaves the copy stale: the next search rebuilds it from the row list, and while
// it cannot, the searches take the column's own path.
//
// Main thread only. Owned by its index; the column it copies is the index's key column.
#pragma once

#include <cstdint>

class TCustomChamp;
struct TRechercheIndex;

class TClesIndex {
 public:
  virtual ~TClesIndex() = default;
  // Ligne was placed at Position (1-based), the later rows shifting up.
  virtual void Inserer(uint32_t Ligne, int32_t Position) = 0;
  // The row at Position was removed, the later rows shifting down.
  virtual void Supprimer(int32_t Position) = 0;
  // The row list changed otherwise: the copy is rebuilt at the next search.
  virtual void Perimer() = 0;
  // The search of ChercherDansIndex (RechercheIndex.h) for Autre's value at LigneAutre in Mode,
  // reversed when Decroissant, over R's placed rows; False, R untouched, when the copy cannot follow
  // the row list (the caller then searches through the column).
  virtual bool Chercher(TCustomChamp* Autre, int32_t LigneAutre, int32_t Mode, bool Decroissant,
                        TRechercheIndex& R) = 0;
};
