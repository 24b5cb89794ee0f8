// The record-table engine under the load of a base arriving from the server: 200,000 records of
// 584 bytes inserted one by one, in random key order, into a table with four orders. Compared with
// the floor (sorting the final records once per order), with an in-memory SQLite table carrying the
// same four indexes, and, for searches and walks, with a sorted vector.
#include "core/records/Xi.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/Bench.h"
#include "core/values/Ansi1252.h"
#include "core/values/Collation.h"
#include "core/records/Comparai.h"

namespace {

const uint32_t kRecords = Bench::Taille(200000u, 2000u);

struct Enregistrement {
  char Nom[32];    // short string, unique under the collation (case ignored)
  uint32_t Code;   // unique
  uint8_t Groupe;  // with Valeur: a non-unique order
  uint8_t Libre[3];
  uint32_t Valeur;
  uint32_t Annee;  // a non-unique order with many equal keys
  uint8_t Reste[584 - 48];
};
static_assert(sizeof(Enregistrement) == 584);

constexpr int32_t kParNom = 1, kParCode = 2, kParGroupe = 3, kParAnnee = 4;

std::string_view NomDe(const Enregistrement& e) {
  return {e.Nom + 1, static_cast<std::size_t>(static_cast<unsigned char>(e.Nom[0]))};
}

// Names as a school base holds them: a few hundred surnames shared by many people, then a unique
// part, in mixed case and with accents.
const std::vector<Enregistrement>& Donnees() {
  static const std::vector<Enregistrement> donnees = [] {
    std::mt19937 random(2024);
    const std::string syllabes[] = {"ma",
                                    "du",
                                    "ber",
                                    "tin",
                                    "ro",
                                    std::string("lé"_ansi),
                                    "fa",
                                    "gar",
                                    "ni",
                                    "mo",
                                    std::string("ché"_ansi),
                                    "pon",
                                    "vi",
                                    "san"};
    std::vector<std::string> familles;
    for (int i = 0; i < 300; ++i) {
      std::string f;
      const int n = 2 + static_cast<int>(random() % 3);
      for (int k = 0; k < n; ++k) f += syllabes[random() % std::size(syllabes)];
      f[0] = static_cast<char>(f[0] - 32);
      familles.push_back(f);
    }
    std::vector<Enregistrement> v(kRecords);
    for (uint32_t i = 0; i < kRecords; ++i) {
      Enregistrement& e = v[i];
      std::memset(&e, 0, sizeof e);
      std::string nom = familles[random() % familles.size()] + " ";
      for (uint32_t x = i, k = 0; k < 4; ++k, x /= 26) nom += static_cast<char>('a' + x % 26);
      const int suite = static_cast<int>(random() % 8);
      for (int k = 0; k < suite; ++k) nom += static_cast<char>('a' + random() % 26);
      e.Nom[0] = static_cast<char>(nom.size());
      std::memcpy(e.Nom + 1, nom.data(), nom.size());
      e.Code = i * 2654435761u;  // distinct
      e.Groupe = static_cast<uint8_t>(random() % 16);
      e.Valeur = static_cast<uint32_t>(random());
      e.Annee = static_cast<uint32_t>(random() % 100);
      for (std::size_t k = 0; k < sizeof e.Reste; k += 4) e.Reste[k] = static_cast<uint8_t>(random());
    }
    std::shuffle(v.begin(), v.end(), random);
    return v;
  }();
  return donnees;
}

void* CreerTable() {
  void* t = nullptr;
  Xi::Creer(t, 0, sizeof(Enregistrement), 4);
  auto* b = static_cast<Enregistrement*>(t);
  bool ok = Xi::DefinirOrdre(t, kParNom, 1, true) &&
            Xi::DefinirColonne(t, kParNom, 1, b->Nom, sizeof b->Nom, &Comparai::ComparerChaineCourte) &&
            Xi::DefinirOrdre(t, kParCode, 1, true) &&
            Xi::DefinirColonne(t, kParCode, 1, &b->Code, 4, &Comparai::ComparerCardinal) &&
            Xi::DefinirOrdre(t, kParGroupe, 2, false) &&
            Xi::DefinirColonne(t, kParGroupe, 1, &b->Groupe, 1, &Comparai::ComparerOctet) &&
            Xi::DefinirColonne(t, kParGroupe, 2, &b->Valeur, 4, &Comparai::ComparerCardinal) &&
            Xi::DefinirOrdre(t, kParAnnee, 1, false) &&
            Xi::DefinirColonne(t, kParAnnee, 1, &b->Annee, 4, &Comparai::ComparerCardinal);
  if (!ok) std::abort();
  return t;
}

void* Charger() {
  void* t = CreerTable();
  for (const Enregistrement& e : Donnees()) {
    std::memcpy(t, &e, sizeof e);
    if (!Xi::Inserer(t)) std::abort();
  }
  return t;
}

// A loaded table shared by the search and walk benchmarks.
void* TableChargee() {
  static void* table = Charger();
  return table;
}

// ---------------------------------------------------------------------------------------------------
// Loading

void BM_ChargementXi(benchmark::State& state) {
  Donnees();
  for (auto _ : state) {
    void* t = Charger();
    state.PauseTiming();
    Xi::Detruire(t);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// The floor: the four orders built by sorting the final records once each, with the same column
// comparisons and record-number tie-break as the table.
void BM_ChargementPlancherTri(benchmark::State& state) {
  const auto& d = Donnees();
  std::vector<uint32_t> ordre(kRecords);
  auto trier = [&](auto cle) {
    std::iota(ordre.begin(), ordre.end(), 0u);
    std::sort(ordre.begin(), ordre.end(), [&](uint32_t a, uint32_t b) {
      const int32_t c = cle(d[a], d[b]);
      return c != 0 ? c < 0 : a < b;
    });
    benchmark::DoNotOptimize(ordre.data());
  };
  for (auto _ : state) {
    trier([](const Enregistrement& a, const Enregistrement& b) {
      return Comparai::ComparerChaineCourte(a.Nom, b.Nom, sizeof a.Nom);
    });
    trier([](const Enregistrement& a, const Enregistrement& b) {
      return Comparai::ComparerCardinal(&a.Code, &b.Code, 4);
    });
    trier([](const Enregistrement& a, const Enregistrement& b) {
      if (int32_t c = Comparai::ComparerOctet(&a.Groupe, &b.Groupe, 1)) return c;
      return Comparai::ComparerCardinal(&a.Valeur, &b.Valeur, 4);
    });
    trier([](const Enregistrement& a, const Enregistrement& b) {
      return Comparai::ComparerCardinal(&a.Annee, &b.Annee, 4);
    });
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void Executer(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

int CollationSqlite(void*, int na, const void* a, int nb, const void* b) {
  return Collation::Compare({static_cast<const char*>(a), static_cast<std::size_t>(na)},
                            {static_cast<const char*>(b), static_cast<std::size_t>(nb)}, true);
}

// The peer: an in-memory SQLite table with the same four indexes, filled row by row in one
// transaction through a prepared statement, the names under the same collation.
void BM_ChargementSQLite(benchmark::State& state) {
  const auto& d = Donnees();
  for (auto _ : state) {
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK) std::abort();
    sqlite3_create_collation(db, "XI", SQLITE_UTF8, nullptr, &CollationSqlite);
    Executer(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    Executer(db,
             "CREATE TABLE t(numero INTEGER PRIMARY KEY, nom TEXT COLLATE XI, code INTEGER, groupe INTEGER,"
             " valeur INTEGER, annee INTEGER, enregistrement BLOB);"
             "CREATE UNIQUE INDEX t_nom ON t(nom);"
             "CREATE UNIQUE INDEX t_code ON t(code);"
             "CREATE INDEX t_groupe ON t(groupe, valeur);"
             "CREATE INDEX t_annee ON t(annee);");
    sqlite3_stmt* insertion = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?,?,?,?,?,?,?)", -1, &insertion, nullptr);
    Executer(db, "BEGIN");
    for (uint32_t i = 0; i < kRecords; ++i) {
      const Enregistrement& e = d[i];
      const std::string_view nom = NomDe(e);
      sqlite3_bind_int64(insertion, 1, i + 1);
      sqlite3_bind_text(insertion, 2, nom.data(), static_cast<int>(nom.size()), SQLITE_STATIC);
      sqlite3_bind_int64(insertion, 3, e.Code);
      sqlite3_bind_int64(insertion, 4, e.Groupe);
      sqlite3_bind_int64(insertion, 5, e.Valeur);
      sqlite3_bind_int64(insertion, 6, e.Annee);
      sqlite3_bind_blob(insertion, 7, &e, sizeof e, SQLITE_STATIC);
      if (sqlite3_step(insertion) != SQLITE_DONE) std::abort();
      sqlite3_reset(insertion);
    }
    Executer(db, "COMMIT");
    state.PauseTiming();
    sqlite3_finalize(insertion);
    sqlite3_close(db);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// ---------------------------------------------------------------------------------------------------
// Searches: the same probe sequence for the table and for a sorted vector.

// Positions of the probed records (0-based), and their keys laid out in probe order, so that
// reading the next probe costs the same small sequential read on both sides.
std::vector<uint32_t> Sondes() {
  std::mt19937 random(5);
  std::vector<uint32_t> sondes(1 << 16);
  for (uint32_t& s : sondes) s = static_cast<uint32_t>(random() % kRecords);
  return sondes;
}

std::vector<uint32_t> CodesSondes() {
  std::vector<uint32_t> codes;
  for (uint32_t s : Sondes()) codes.push_back(Donnees()[s].Code);
  return codes;
}

struct Nom {
  char octets[32];
};

std::vector<Nom> NomsSondes() {
  std::vector<Nom> noms;
  for (uint32_t s : Sondes()) {
    noms.emplace_back();
    std::memcpy(noms.back().octets, Donnees()[s].Nom, 32);
  }
  return noms;
}

void BM_ChercherXiCode(benchmark::State& state) {
  void* t = TableChargee();
  const auto codes = CodesSondes();
  auto* b = static_cast<Enregistrement*>(t);
  std::size_t i = 0;
  for (auto _ : state) {
    b->Code = codes[i++ & 0xFFFF];
    benchmark::DoNotOptimize(Xi::Chercher(t, kParCode));
  }
  if (Xi::XiStatut != 1) state.SkipWithError("key not found");
}

void BM_ChercherLowerBoundCode(benchmark::State& state) {
  const auto codes = CodesSondes();
  std::vector<uint32_t> tries;
  for (const Enregistrement& e : Donnees()) tries.push_back(e.Code);
  std::sort(tries.begin(), tries.end());
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(*std::lower_bound(tries.begin(), tries.end(), codes[i++ & 0xFFFF]));
}

// What a search that hands back the record cannot avoid: the same search, then copying the record
// found (a dependent read of a random record) into a buffer.
void BM_ChercherLowerBoundCodeEtCopie(benchmark::State& state) {
  void* t = TableChargee();
  const auto codes = CodesSondes();
  std::vector<std::pair<uint32_t, const uint8_t*>> tries;
  for (bool ok = Xi::Premier(t, kParCode); ok; ok = Xi::Suivant(t, kParCode))
    tries.emplace_back(static_cast<Enregistrement*>(t)->Code, Xi::Entete(t)->EnregistrementCourant);
  Enregistrement tampon;
  std::size_t i = 0;
  for (auto _ : state) {
    const auto trouve =
        std::lower_bound(tries.begin(), tries.end(), std::make_pair(codes[i++ & 0xFFFF], nullptr),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    std::memcpy(&tampon, trouve->second, sizeof tampon);
    benchmark::DoNotOptimize(tampon.Code);
  }
}

void BM_ChercherXiNom(benchmark::State& state) {
  void* t = TableChargee();
  const auto noms = NomsSondes();
  auto* b = static_cast<Enregistrement*>(t);
  std::size_t i = 0;
  for (auto _ : state) {
    std::memcpy(b->Nom, noms[i++ & 0xFFFF].octets, sizeof b->Nom);
    benchmark::DoNotOptimize(Xi::Chercher(t, kParNom));
  }
  if (Xi::XiStatut != 1) state.SkipWithError("key not found");
}

void BM_ChercherLowerBoundNom(benchmark::State& state) {
  const auto noms = NomsSondes();
  std::vector<std::string> tries;
  for (const Enregistrement& e : Donnees()) tries.emplace_back(NomDe(e));
  auto avant = [](std::string_view a, std::string_view b) { return Collation::Compare(a, b, true) < 0; };
  std::sort(tries.begin(), tries.end(), avant);
  std::size_t i = 0;
  for (auto _ : state) {
    const Nom& n = noms[i++ & 0xFFFF];
    const std::string_view cle(n.octets + 1, static_cast<unsigned char>(n.octets[0]));
    benchmark::DoNotOptimize(*std::lower_bound(tries.begin(), tries.end(), cle, avant));
  }
}

// ---------------------------------------------------------------------------------------------------
// Walks and positions in the (group, value) order, against copying the same records from a vector
// of their addresses in that order.

std::vector<const uint8_t*> AdressesDansOrdre(void* t, int32_t ordre) {
  std::vector<const uint8_t*> adresses;
  for (bool ok = Xi::Premier(t, ordre); ok; ok = Xi::Suivant(t, ordre))
    adresses.push_back(Xi::Entete(t)->EnregistrementCourant);
  return adresses;
}

void BM_ParcoursXiSuivant(benchmark::State& state) {
  void* t = TableChargee();
  for (auto _ : state) {
    uint32_t n = 0;
    for (bool ok = Xi::Premier(t, kParGroupe); ok; ok = Xi::Suivant(t, kParGroupe)) ++n;
    benchmark::DoNotOptimize(n);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ParcoursPlancherCopie(benchmark::State& state) {
  void* t = TableChargee();
  const auto adresses = AdressesDansOrdre(t, kParGroupe);
  Enregistrement tampon;
  for (auto _ : state) {
    for (const uint8_t* a : adresses) {
      std::memcpy(&tampon, a, sizeof tampon);
      benchmark::DoNotOptimize(tampon.Code);
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_PositionXiAllerAPosition(benchmark::State& state) {
  void* t = TableChargee();
  const auto sondes = Sondes();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Xi::AllerAPosition(t, kParGroupe, sondes[i++ & 0xFFFF] + 1));
}

void BM_PositionPlancherCopie(benchmark::State& state) {
  void* t = TableChargee();
  const auto adresses = AdressesDansOrdre(t, kParGroupe);
  const auto sondes = Sondes();
  Enregistrement tampon;
  std::size_t i = 0;
  for (auto _ : state) {
    std::memcpy(&tampon, adresses[sondes[i++ & 0xFFFF]], sizeof tampon);
    benchmark::DoNotOptimize(tampon.Code);
  }
}

}  // namespace

BENCHMARK(BM_ChargementXi)->Unit(benchmark::kMillisecond)->MinTime(Bench::Taille(2.0, 0.001));
BENCHMARK(BM_ChargementPlancherTri)->Unit(benchmark::kMillisecond)->MinTime(Bench::Taille(2.0, 0.001));
BENCHMARK(BM_ChargementSQLite)->Unit(benchmark::kMillisecond)->MinTime(Bench::Taille(2.0, 0.001));
BENCHMARK(BM_ChercherXiCode);
BENCHMARK(BM_ChercherLowerBoundCode);
BENCHMARK(BM_ChercherLowerBoundCodeEtCopie);
BENCHMARK(BM_ChercherXiNom);
BENCHMARK(BM_ChercherLowerBoundNom);
BENCHMARK(BM_ParcoursXiSuivant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParcoursPlancherCopie)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PositionXiAllerAPosition);
BENCHMARK(BM_PositionPlancherCopie);

