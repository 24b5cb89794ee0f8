// Typed integer arrays against std::vector: a walk by index over every element, and the sorted
// search, on 100 000 integers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/support/Bench.h"
#include "core/arrays/ArrayOfInteger.h"

namespace {
const int32_t kNombre = Bench::Taille(100000, 1000);

std::vector<int32_t> Valeurs() {
  std::vector<int32_t> v(kNombre);
  for (int32_t i = 0; i < kNombre; ++i) v[static_cast<std::size_t>(i)] = i * 3;
  return v;
}

void WalkByIndexTypedArray(benchmark::State& state) {
  TArrayOfInteger a(1024, true, false);
  for (int32_t v : Valeurs()) a.Ajouter(v);
  for (auto _ : state) {
    int64_t somme = 0;
    const int32_t n = a.GetNombreElements();
    for (int32_t i = 0; i < n; ++i) somme += a.GetElement(i);
    benchmark::DoNotOptimize(somme);
  }
}
BENCHMARK(WalkByIndexTypedArray);

void WalkByIndexVector(benchmark::State& state) {
  const std::vector<int32_t> v = Valeurs();
  for (auto _ : state) {
    int64_t somme = 0;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) somme += v[i];
    benchmark::DoNotOptimize(somme);
  }
}
BENCHMARK(WalkByIndexVector);

// The values searched: present and absent ones, in an order that defeats the caches.
std::vector<int32_t> Cherches() {
  std::mt19937 alea(5);
  std::vector<int32_t> c(4096);
  for (int32_t& x : c) x = static_cast<int32_t>(alea() % (3 * kNombre));
  return c;
}

void SortedSearchTypedArray(benchmark::State& state) {
  TArrayOfInteger a(1024, true, false);
  a.SetToujoursTrie(true);
  for (int32_t v : Valeurs()) a.Ajouter(v);
  const std::vector<int32_t> cherches = Cherches();
  std::size_t k = 0;
  for (auto _ : state) {
    int32_t indice;
    benchmark::DoNotOptimize(a.Chercher(cherches[k++ & 4095], indice));
    benchmark::DoNotOptimize(indice);
  }
}
BENCHMARK(SortedSearchTypedArray);

void SortedSearchVector(benchmark::State& state) {
  const std::vector<int32_t> v = Valeurs();
  const std::vector<int32_t> cherches = Cherches();
  std::size_t k = 0;
  for (auto _ : state) {
    const int32_t x = cherches[k++ & 4095];
    auto it = std::lower_bound(v.begin(), v.end(), x);
    benchmark::DoNotOptimize(it != v.end() && *it == x);
    benchmark::DoNotOptimize(it);
  }
}
BENCHMARK(SortedSearchVector);
}  // namespace

