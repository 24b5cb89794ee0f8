// Value columns against std::vector: one 32-bit and one string column written row by row, then read
// back, over 1 000 000 rows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench/support/Bench.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"

namespace {
const int32_t kLignes = Bench::Taille(1000000, 10000);

// The texts written, made once so that neither side pays for their formatting.
const std::vector<std::string>& Textes() {
  static const std::vector<std::string> textes = [] {
    std::vector<std::string> t;
    t.reserve(kLignes);
    for (int32_t i = 0; i < kLignes; ++i) t.push_back("Eleve " + std::to_string(i * 7));
    return t;
  }();
  return textes;
}

void IntegerColumnWriteRead(benchmark::State& state) {
  for (auto _ : state) {
    TChampInteger c("Valeur", nullptr, {1024}, false);
    for (int32_t i = 0; i < kLignes; ++i) c.SetValeur(i, i * 7);
    int64_t somme = 0;
    for (int32_t i = 0; i < kLignes; ++i) somme += c.GetValeur(i);
    benchmark::DoNotOptimize(somme);
  }
}
BENCHMARK(IntegerColumnWriteRead)->Unit(benchmark::kMillisecond);

void IntegerVectorWriteRead(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<int32_t> v;
    for (int32_t i = 0; i < kLignes; ++i) v.push_back(i * 7);
    int64_t somme = 0;
    for (int32_t i = 0; i < kLignes; ++i) somme += v[static_cast<std::size_t>(i)];
    benchmark::DoNotOptimize(somme);
  }
}
BENCHMARK(IntegerVectorWriteRead)->Unit(benchmark::kMillisecond);

void StringColumnWriteRead(benchmark::State& state) {
  const std::vector<std::string>& textes = Textes();
  for (auto _ : state) {
    TChampString c("Valeur", nullptr, {1024}, false);
    for (int32_t i = 0; i < kLignes; ++i) c.SetValeur(i, textes[static_cast<std::size_t>(i)]);
    std::size_t somme = 0;
    for (int32_t i = 0; i < kLignes; ++i) somme += c.GetValeur(i).size();
    benchmark::DoNotOptimize(somme);
  }
}
BENCHMARK(StringColumnWriteRead)->Unit(benchmark::kMillisecond);

void StringVectorWriteRead(benchmark::State& state) {
  const std::vector<std::string>& textes = Textes();
  for (auto _ : state) {
    std::vector<std::string> v;
    for (int32_t i = 0; i < kLignes; ++i) v.push_back(textes[static_cast<std::size_t>(i)]);
    std::size_t somme = 0;
    for (int32_t i = 0; i < kLignes; ++i) somme += v[static_cast<std::size_t>(i)].size();
    benchmark::DoNotOptimize(somme);
  }
}
BENCHMARK(StringVectorWriteRead)->Unit(benchmark::kMillisecond);

}  // namespace

