// The binary search of an index for an article's key over its placed rows, written once over the
// comparison of the key with a row, so that a one-column key is searched with its column's own
// typed comparison (no virtual call per step) and a key of several columns with the index's; and
// once over a copy of the placed rows' keys held in the index's order (ClesIndex.h).
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

// A call whose only effect is a prefetch looks free of side effects to the compiler, which may drop
// it before inlining it: a lambda that only asks the cache ahead is forced inline.
#define NV_DEMANDE __attribute__((always_inline))

// A step met a key equal to the searched one, at position Mid on row Ligne: True when that is the
// article's own row, which ends the search there (hi comes down to it).
inline bool EgaliteRencontree(TRechercheIndex& R, int32_t Mid, uint32_t Ligne) {
  R.Trouve = true;
  if (R.ArreterSurLigne && Ligne == R.Ligne) return true;
  R.Doublon = true;
  R.Position = Mid;
  return false;
}

// Comparer(row) answers -1, 0 or 1: the key against that row's key. Precharger(row) asks the cache
// for what Comparer will read of that row.
//
// Over many rows a step waits on memory twice, for the row number and then for its key. So that
// the steps overlap, each one asks ahead for the row numbers of the four candidates two steps on and
// for the keys of the two candidates of the next step (their row numbers were asked for a step
// earlier). The step itself picks lo or hi as a select rather than a three-way branch: an equal key
// is met at a few steps at most. The midpoints and every result are those of the plain halving: on
// an equal key hi comes down to it, and the article's own row ends the search there.
template <class Comparer, class Precharger>
void ChercherDansIndex(TRechercheIndex& R, Comparer&& Comparer_, Precharger&& Precharger_) {
  const uint32_t* const lignes = R.Lignes;
  // Positions lie within [0, Nombre] here; position p is at lignes[p - 1].
  const auto demander = [lignes](int32_t p) NV_DEMANDE { __builtin_prefetch(lignes + (p > 0 ? p - 1 : 0)); };
  int32_t lo = 0, hi = R.Nombre + 1;
  while (hi > lo + 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    const int32_t bas = lo + (mid - lo) / 2, haut = mid + (hi - mid) / 2;
    demander(lo + (bas - lo) / 2);
    demander(bas + (mid - bas) / 2);
    demander(mid + (haut - mid) / 2);
    demander(haut + (hi - haut) / 2);
    if (bas > lo) Precharger_(lignes[bas - 1]);
    if (haut > mid) Precharger_(lignes[haut - 1]);
    const uint32_t x = lignes[mid - 1];
    const int8_t c = Comparer_(x);
    if (c == 0) [[unlikely]] {
      if (EgaliteRencontree(R, mid, x)) {
        hi = mid;
        break;
      }
    }
    const bool apres = c > 0;
    lo = apres ? mid : lo;
    hi = apres ? hi : mid;
  }
  R.Hi = hi;
}

template <class Comparer>
void ChercherDansIndex(TRechercheIndex& R, Comparer&& Comparer_) {
  ChercherDansIndex(R, Comparer_, [](uint32_t) {});
}

// The same search over a copy of the placed rows' keys in their order, position p's key at
// Cles[p] for p in 1..Nombre (Cles[0] is not read): ComparerCle(key) answers the searched key
// against it. A step waits on memory once, for its key; it asks ahead for the keys of the four
// candidates two steps on, and picks lo or hi without a branch, which would fail half the time. The
// row list is read only on an equal key, to recognise the article's own row. Same midpoints and
// results as above.
template <class T, class ComparerCle>
void ChercherDansCles(TRechercheIndex& R, const T* Cles, ComparerCle Comparer_) {
  // Positions below 2^31: their sums fit in 32 unsigned bits, and (a + b) / 2 is a + (b - a) / 2.
  uint32_t lo = 0, hi = static_cast<uint32_t>(R.Nombre) + 1;
  while (hi - lo > 1) {
    const uint32_t mid = (lo + hi) / 2;
    const uint32_t bas = (lo + mid) / 2, haut = (mid + hi) / 2;
    // Positions 0..Nombre + 1: within the block or just past it, where a prefetch is harmless.
    __builtin_prefetch(Cles + (lo + bas) / 2);
    __builtin_prefetch(Cles + (bas + mid) / 2);
    __builtin_prefetch(Cles + (mid + haut) / 2);
    __builtin_prefetch(Cles + (haut + hi) / 2);
    int8_t c = Comparer_(Cles[mid]);
    // Kept a value: the compiler would otherwise branch on the comparison, wrong half the time.
    __asm__("" : "+r"(c));
    // The select first, by a mask (on an equal key hi comes down to mid), then the rare equal key.
    const uint32_t apres = 0u - static_cast<uint32_t>(c > 0);
    lo = (mid & apres) | (lo & ~apres);
    hi = (hi & apres) | (mid & ~apres);
    if (c == 0) [[unlikely]] {
      if (EgaliteRencontree(R, static_cast<int32_t>(mid), R.Lignes[mid - 1])) break;
    }
  }
  R.Hi = static_cast<int32_t>(hi);
}
