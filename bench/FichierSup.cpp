// A record found by its identifier through a record file, as every SOAP call does: 200,000 resources
// of the base (their in-memory record, with the file's 14 orders), searched at random, against the
// floor of a sorted vector of (identifier, record address) searched with std::lower_bound and the
// record copied.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/support/Bench.h"
#include "base/SupFichiers.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"

namespace {

const uint32_t kRecords = Bench::Taille(200000u, 2000u);
constexpr int32_t kPlaceRessources = 19;

TFichierSup& Ressources() {
  static TFichierSup* fichier = [] {
    TFichierSup* f = SupFichiers::Fichier(kPlaceRessources);
    if (!f->CreerTable()) std::abort();
    const uint32_t stocke = f->Description().Dispositions.back().Taille;
    std::vector<uint32_t> positions(kRecords);
    std::iota(positions.begin(), positions.end(), 1u);
    std::mt19937 random(7);
    std::shuffle(positions.begin(), positions.end(), random);
    const auto champ = [f](const char* nom) {
      return f->Enregistrement() + DeclarationFichier::ChampNomme(f->Description(), nom)->Decalage;
    };
    for (uint32_t p : positions) {
      f->ViderArticle();
      FichierSup::EcrireChaineCourte(champ("Nom"), 30, "Ressource " + std::to_string(p));
      std::memcpy(champ("NumeroRessource"), &p, 4);
      const int32_t identifiant = static_cast<int32_t>(p * stocke);
      std::memcpy(f->Table, &identifiant, 4);
      if (!Xi::Inserer(f->Table)) std::abort();
    }
    return f;
  }();
  return *fichier;
}

std::vector<int32_t> Sondes() {
  const uint32_t stocke = Ressources().Description().Dispositions.back().Taille;
  std::mt19937 random(5);
  std::vector<int32_t> sondes(1 << 16);
  for (int32_t& s : sondes) s = static_cast<int32_t>((1 + random() % kRecords) * stocke);
  return sondes;
}

void BM_ChercherParIdentifiant(benchmark::State& state) {
  TFichierSup& f = Ressources();
  const auto sondes = Sondes();
  std::size_t i = 0;
  bool tous = true;
  for (auto _ : state) tous &= f.ChercherParIdentifiant(sondes[i++ & 0xFFFF]);
  if (!tous) state.SkipWithError("identifier not found");
}

void BM_LowerBoundIdentifiantEtCopie(benchmark::State& state) {
  TFichierSup& f = Ressources();
  const auto sondes = Sondes();
  const uint32_t taille = f.Description().TailleEnregistrement;
  std::vector<std::pair<int32_t, const uint8_t*>> tries;
  for (bool ok = Xi::Premier(f.Table, 0); ok; ok = Xi::Suivant(f.Table, 0))
    tries.emplace_back(f.IdentifiantCourant(), Xi::Entete(f.Table)->EnregistrementCourant);
  std::sort(tries.begin(), tries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<uint8_t> tampon(taille);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto trouve = std::lower_bound(tries.begin(), tries.end(), std::make_pair(sondes[i++ & 0xFFFF], nullptr),
                                         [](const auto& a, const auto& b) { return a.first < b.first; });
    std::memcpy(tampon.data(), trouve->second, taille);
    benchmark::DoNotOptimize(tampon.data());
  }
}

}  // namespace

BENCHMARK(BM_ChercherParIdentifiant);
BENCHMARK(BM_LowerBoundIdentifiantEtCopie);

