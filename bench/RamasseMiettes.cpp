// The collector's cost per turn: creating 100,000 parentless errors and collecting them in one turn,
// against creating as many objects of the same class and deleting them plainly.
//   Collecter            new TErreur (handed to the collector), then one turn of the collector
//   DetruireBlanc        the cost floor: the same class built blank (never handed to the collector),
//                        then deleted one by one
//   DetruireDirectement  new TErreur as above, then deleted one by one (each takes itself back)
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "core/objects/RamasseMiettes.h"

namespace {

constexpr int kNombre = 100000;

void Collecter(benchmark::State& state) {
  TServiceObjets* service = TRamasseMiettes::Service();
  service->SetActif(true);
  for (auto _ : state) {
    for (int i = 0; i < kNombre; ++i) benchmark::DoNotOptimize(new TErreur("x"));
    service->Executer();
  }
  state.SetItemsProcessed(state.iterations() * kNombre);
}

void DetruireBlanc(benchmark::State& state) {
  std::vector<TErreur*> erreurs(kNombre);
  const std::string message = "x";
  for (auto _ : state) {
    for (auto& e : erreurs) {
      e = new TErreur(TBlank{});
      e->Message = message;
    }
    for (TErreur* e : erreurs) delete e;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kNombre);
}

void DetruireDirectement(benchmark::State& state) {
  std::vector<TErreur*> erreurs(kNombre);
  for (auto _ : state) {
    for (auto& e : erreurs) e = new TErreur("x");
    for (TErreur* e : erreurs) delete e;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kNombre);
}

}  // namespace

BENCHMARK(Collecter)->Unit(benchmark::kMillisecond);
BENCHMARK(DetruireBlanc)->Unit(benchmark::kMillisecond);
BENCHMARK(DetruireDirectement)->Unit(benchmark::kMillisecond);
