// The index of the object database against the cost floor over 1 000 000 rows of distinct integer
// keys in random order: a search by key against std::lower_bound over the same sorted keys, and the
// lazy placement of every appended row (one merge at the first search) against one std::sort of the
// keys.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "bench/support/Bench.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/tables/CustomTable.h"

namespace {

class TMesure : public TArticle {
  NV_DECLARE_CLASS(TMesure)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Valeur", "Integer", tkInteger, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TMesure, TArticle, kProprietes)

const int32_t kLignes = Bench::Taille(1000000, 10000);
const int32_t kRecherches = Bench::Taille(1 << 16, 1 << 10);

// Distinct keys (the even numbers below 2 000 000) in random order, and the keys searched: half
// present, half absent, in random order.
const std::vector<int32_t>& Cles() {
  static const std::vector<int32_t> cles = [] {
    std::vector<int32_t> c(kLignes);
    for (int32_t i = 0; i < kLignes; ++i) c[static_cast<std::size_t>(i)] = 2 * i;
    std::shuffle(c.begin(), c.end(), std::mt19937(7));
    return c;
  }();
  return cles;
}
const std::vector<int32_t>& Cherchees() {
  static const std::vector<int32_t> cherchees = [] {
    std::mt19937 alea(11);
    std::vector<int32_t> c(kRecherches);
    for (int32_t& v : c) v = static_cast<int32_t>(alea() % (2 * kLignes));
    return c;
  }();
  return cherchees;
}

std::unique_ptr<TCustomTable> Remplie() {
  auto table = std::make_unique<TCustomTable>(TMesure::StaticClass(), nullptr, 1024);
  auto* valeurs = static_cast<TChampInteger*>(table->GetChamp(0));
  for (int32_t cle : Cles()) {
    int32_t l;
    if (!table->AllouerLigne(l)) std::abort();
    valeurs->SetValeur(l, cle);
  }
  return table;
}

void IndexChercherArticle(benchmark::State& state) {
  std::unique_ptr<TCustomTable> table = Remplie();
  TIndex index("IDX", table.get(), std::vector<TypeDefinitionCle>{{0, false, 0}}, ruiSansRegle);
  (void)index.Trier();
  // The key is a row of a second table, as a transient copy would be.
  TCustomTable sonde(TMesure::StaticClass(), nullptr, 16);
  int32_t ligne;
  if (!sonde.AllouerLigne(ligne)) std::abort();
  auto* valeur = static_cast<TChampInteger*>(sonde.GetChamp(0));
  TArticle article;
  article.Table = &sonde;
  article.IndiceArticle = static_cast<uint32_t>(ligne);
  for (auto _ : state) {
    int64_t somme = 0;
    for (int32_t cle : Cherchees()) {
      valeur->SetValeur(ligne, cle);
      int32_t position;
      bool doublon;
      somme += index.ChercherArticle(&article, position, doublon) + position;
    }
    benchmark::DoNotOptimize(somme);
  }
  state.SetItemsProcessed(state.iterations() * kRecherches);
}
BENCHMARK(IndexChercherArticle)->Unit(benchmark::kMillisecond);

void LowerBound(benchmark::State& state) {
  std::vector<int32_t> triees = Cles();
  std::sort(triees.begin(), triees.end());
  for (auto _ : state) {
    int64_t somme = 0;
    for (int32_t cle : Cherchees()) somme += std::lower_bound(triees.begin(), triees.end(), cle) - triees.begin();
    benchmark::DoNotOptimize(somme);
  }
  state.SetItemsProcessed(state.iterations() * kRecherches);
}
BENCHMARK(LowerBound)->Unit(benchmark::kMillisecond);

void IndexPlacementParesseuse(benchmark::State& state) {
  std::unique_ptr<TCustomTable> table = Remplie();
  for (auto _ : state) {
    state.PauseTiming();
    auto index = std::make_unique<TIndex>("IDX", table.get(), std::vector<TypeDefinitionCle>{{0, false, 0}}, ruiSansRegle);
    state.ResumeTiming();
    benchmark::DoNotOptimize(index->LigneDePosition(1));
    state.PauseTiming();
    index.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(IndexPlacementParesseuse)->Unit(benchmark::kMillisecond)->Iterations(Bench::Taille(5, 1));

// The same placement followed by one search, which copies the placed rows' keys.
void IndexPlacementPuisRecherche(benchmark::State& state) {
  std::unique_ptr<TCustomTable> table = Remplie();
  TArticle article;
  article.Table = table.get();
  article.IndiceArticle = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto index = std::make_unique<TIndex>("IDX", table.get(), std::vector<TypeDefinitionCle>{{0, false, 0}}, ruiSansRegle);
    state.ResumeTiming();
    int32_t position;
    bool doublon;
    benchmark::DoNotOptimize(index->ChercherArticle(&article, position, doublon));
    state.PauseTiming();
    index.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(IndexPlacementPuisRecherche)->Unit(benchmark::kMillisecond)->Iterations(Bench::Taille(5, 1));

void TriUnique(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int32_t> cles = Cles();
    state.ResumeTiming();
    std::sort(cles.begin(), cles.end());
    benchmark::DoNotOptimize(cles.data());
  }
}
BENCHMARK(TriUnique)->Unit(benchmark::kMillisecond)->Iterations(Bench::Taille(5, 1));

}  // namespace
