// The binary search of an index for an article's key over its placed rows, written once over the
// comparison of the key with a row, so that a one-column key is searched with its column's own
// typed comparison (no virtual call per step) and a key of several columns with the index's.
#pragma once

#include <cstdint>

struct TRechercheIndex {
  const uint32_t* Lignes = nullptr;  // the placed rows, position p at Lignes[p - 1]
  int32_t Nombre = 0;
  // The article's own row when the article belongs to the index's table: meeting it with an equal key
  // ends the search there.
  bool ArreterSurLigne = false;
  uint32_t Ligne = 0;
  // Results: Hi is where the key is or would go; Trouve, a row with an equal key was met; Position,
  // the last equal row met (0x7FFFFFFF when none); Doublon, an equal key of another row was met.
  int32_t Hi = 0;
  int32_t Position = 0x7FFFFFFF;
  bool Trouve = false;
  bool Doublon = false;
};

// Comparer(row) answers -1, 0 or 1: the key against that row's key.
template <class Comparer>
void ChercherDansIndex(TRechercheIndex& R, Comparer&& Comparer_) {
  int32_t lo = 0, hi = R.Nombre + 1;
  while (hi > lo + 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    const uint32_t x = R.Lignes[mid - 1];
    const int8_t c = Comparer_(x);
    if (c < 0) {
      hi = mid;
    } else if (c > 0) {
      lo = mid;
    } else if (R.ArreterSurLigne && x == R.Ligne) {
      hi = mid;
      R.Trouve = true;
      break;
    } else {
      R.Doublon = true;
      R.Trouve = true;
      hi = mid;
      R.Position = mid;
    }
  }
  R.Hi = hi;
}
