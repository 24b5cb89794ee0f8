// The binary search of an index for an article's key over its placed rows, written once over the
// comparison of the key with a row, so that a one-column key is searched with its column's own
// typed comparison (no virtual call per step) and a key of several columns with the index's; and
// once more over a copy of the placed rows' keys held in the index's order (ClesIndex.h).
#pragma once

#include <cstdint>
#include <utility>

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

// The halving itself over positions 1..Nombre. ComparerPosition(p) answers -1, 0 or 1: the key
// against position p's; Demander(lo, mid, hi) is called before each comparison, to ask the cache
// ahead for what the next steps will read.
//
// The step picks lo or hi as a select rather than a three-way branch: an equal key is met at a few
// steps at most. The midpoints and every result are those of the plain halving: on an equal key hi
// comes down to it, and the article's own row ends the search there.
template <class ComparerPosition, class Demander>
void ChercherParPositions(TRechercheIndex& R, ComparerPosition&& Comparer_, Demander&& Demander_) {
  int32_t lo = 0, hi = R.Nombre + 1;
  while (hi > lo + 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    Demander_(lo, mid, hi);
    const int8_t c = Comparer_(mid);
    if (c == 0) [[unlikely]] {
      R.Trouve = true;
      if (R.ArreterSurLigne && R.Lignes[mid - 1] == R.Ligne) {
        hi = mid;
        break;
      }
      R.Doublon = true;
      R.Position = mid;
    }
    const bool apres = c > 0;
    lo = apres ? mid : lo;
    hi = apres ? hi : mid;
  }
  R.Hi = hi;
}

// At the step of [lo, hi] halved at mid: Demander(p) for the four positions that can be the
// midpoint two steps on. Answers the two midpoints of the next step (bas of [lo, mid], haut of
// [mid, hi]).
template <class Demander>
std::pair<int32_t, int32_t> DemanderDeuxPasPlusLoin(int32_t lo, int32_t mid, int32_t hi, Demander&& Demander_) {
  const int32_t bas = lo + (mid - lo) / 2, haut = mid + (hi - mid) / 2;
  Demander_(lo + (bas - lo) / 2);
  Demander_(bas + (mid - bas) / 2);
  Demander_(mid + (haut - mid) / 2);
  Demander_(haut + (hi - haut) / 2);
  return {bas, haut};
}

// Comparer(row) answers -1, 0 or 1: the key against that row's key. Precharger(row) asks the cache
// for what Comparer will read of that row.
//
// Over many rows a step waits on memory twice, for the row number and then for its key. So that
// the steps overlap, each one asks ahead for the row numbers of the four candidates two steps on and
// for the keys of the two candidates of the next step (their row numbers were asked for a step
// earlier).
template <class Comparer, class Precharger>
void ChercherDansIndex(TRechercheIndex& R, Comparer&& Comparer_, Precharger&& Precharger_) {
  const uint32_t* const lignes = R.Lignes;
  // Positions lie within [0, Nombre] here; position p is at lignes[p - 1].
  const auto demander = [lignes](int32_t p) { __builtin_prefetch(lignes + (p > 0 ? p - 1 : 0)); };
  ChercherParPositions(
      R, [&](int32_t mid) { return Comparer_(lignes[mid - 1]); },
      [&](int32_t lo, int32_t mid, int32_t hi) {
        const auto [bas, haut] = DemanderDeuxPasPlusLoin(lo, mid, hi, demander);
        if (bas > lo) Precharger_(lignes[bas - 1]);
        if (haut > mid) Precharger_(lignes[haut - 1]);
      });
}

template <class Comparer>
void ChercherDansIndex(TRechercheIndex& R, Comparer&& Comparer_) {
  ChercherDansIndex(R, Comparer_, [](uint32_t) {});
}

// The same search over the placed rows' keys copied in their order, Cles[p - 1] the key at position
// p: ComparerCle(key) answers the searched key against it. A step waits on memory once; it asks
// ahead for the keys of the four candidates two steps on. The row list is read only on an equal
// key, to recognise the article's own row.
template <class T, class ComparerCle>
void ChercherDansCles(TRechercheIndex& R, const T* Cles, ComparerCle&& Comparer_) {
  const auto demander = [Cles](int32_t p) { __builtin_prefetch(Cles + (p > 0 ? p - 1 : 0)); };
  ChercherParPositions(
      R, [&](int32_t mid) { return Comparer_(Cles[mid - 1]); },
      [&](int32_t lo, int32_t mid, int32_t hi) { (void)DemanderDeuxPasPlusLoin(lo, mid, hi, demander); });
}
