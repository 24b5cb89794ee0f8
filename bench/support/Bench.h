// What the benchmark programs share. ctest runs every benchmark program once as a check that it
// still works (NV_BENCH_ESSAI in its environment, --benchmark_min_time small): each benchmark then
// makes one short pass over sizes and durations that still take it through its whole path. A
// benchmark that reports an error fails its program.
#pragma once

namespace Bench {

// True in the check run.
bool Essai();

// The measured value, or the one of the check run.
template <class T>
T Taille(T Mesure, T EnEssai) {
  return Essai() ? EnEssai : Mesure;
}

}  // namespace Bench
