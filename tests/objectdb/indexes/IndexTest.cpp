// Indexes: lazy placement, key order with descending parts and the row-number tie-break, the
// uniqueness rules, the search results 0/1/2, the positions, and the merge that never hides a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/values/Ansi1252.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/indexes/RechercheIndex.h"
#include "objectdb/tables/CustomTable.h"

namespace {

class TLivre : public TArticle {
  NV_DECLARE_CLASS(TLivre)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Titre", "String", tkLString, nullptr, 0, true},
      {"Annee", "Integer", tkInteger, nullptr, 1, true},
      {"Rayon", "Integer", tkInteger, nullptr, 2, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TLivre, TArticle, kProprietes)

constexpr int32_t kTitre = 0, kAnnee = 1, kRayon = 2;
constexpr uint32_t kAucune = kAucuneLigne;

TypeEnsembleOctets Ensemble(std::initializer_list<int32_t> membres) {
  TypeEnsembleOctets e{};
  for (int32_t m : membres) e[static_cast<std::size_t>(m / 8)] |= static_cast<uint8_t>(1u << (m % 8));
  return e;
}
const TypeEnsembleOctets kRien{};

struct Fixture {
  TCustomTable table{TLivre::StaticClass(), nullptr, 64};

  TChampString* Titres() { return static_cast<TChampString*>(table.GetChamp(kTitre)); }
  TChampInteger* Annees() { return static_cast<TChampInteger*>(table.GetChamp(kAnnee)); }
  TChampInteger* Rayons() { return static_cast<TChampInteger*>(table.GetChamp(kRayon)); }

  uint32_t Livre(const std::string& titre, int32_t annee, int32_t rayon = 0) {
    int32_t l = -1;
    EXPECT_TRUE(table.AllouerLigne(l));
    Titres()->SetValeur(l, titre);
    Annees()->SetValeur(l, annee);
    Rayons()->SetValeur(l, rayon);
    return static_cast<uint32_t>(l);
  }
};

// The placed rows from position 1 on.
std::vector<uint32_t> Ordre(TIndex& index) {
  std::vector<uint32_t> lignes;
  for (int32_t p = 1; p <= index.Table->NombreArticles; ++p) lignes.push_back(index.LigneDePosition(p));
  return lignes;
}

// A search key: a row of a second table of the same class, designated by a plain reference article.
struct Cle {
  Fixture f;
  TArticle article;
  Cle(const std::string& titre, int32_t annee, int32_t rayon = 0) {
    article.Table = &f.table;
    article.IndiceArticle = f.Livre(titre, annee, rayon);
  }
};

}  // namespace

TEST(Index, WithoutARuleEveryExistingRowWaitsUntilTheFirstSearchPlacesThemInKeyOrder) {
  Fixture f;
  f.Livre("c", 1990);
  f.Livre("a", 2001);
  f.Livre("b", 1970);
  TIndex index("IDX_Titre", &f.table, std::vector<TypeDefinitionCle>{{kTitre, false, 0}}, ruiSansRegle);
  EXPECT_EQ(index.NombreTriees(), 0);
  EXPECT_EQ(index.NombreATrier(), 3);
  EXPECT_EQ(Ordre(index), (std::vector<uint32_t>{1, 2, 0}));
  EXPECT_EQ(index.NombreATrier(), 0);
}

TEST(Index, KeyPartsOrderTheRowsAndEqualKeysFollowTheRowNumber) {
  struct Cas {
    const char* nom;
    std::vector<int32_t> triples;
    std::vector<uint32_t> ordre;
  };
  // Rows: 0 (b, 2000, 1), 1 (a, 2000, 2), 2 (b, 1990, 1), 3 (a, 2000, 2).
  const Cas cas[] = {
      {"ascending year, ties by row", {kAnnee, 0, 0}, {2, 0, 1, 3}},
      {"descending year keeps the row tie-break", {kAnnee, 1, 0}, {0, 1, 3, 2}},
      {"title then descending year", {kTitre, 0, 0, kAnnee, 1, 0}, {1, 3, 0, 2}},
      {"descending shelf then title", {kRayon, 1, 0, kTitre, 0, 0}, {1, 3, 0, 2}},
  };
  for (const Cas& c : cas) {
    Fixture f;
    f.Livre("b", 2000, 1);
    f.Livre("a", 2000, 2);
    f.Livre("b", 1990, 1);
    f.Livre("a", 2000, 2);
    TIndex index("IDX", &f.table, c.triples, ruiSansRegle);
    EXPECT_EQ(Ordre(index), c.ordre) << c.nom;
  }
}

TEST(Index, AMergeOfManyRowsGivesTheOrderOfPlacingThemOneByOne) {
  for (const bool decroissant : {false, true}) {
    for (const bool deuxCles : {false, true}) {
      Fixture f;
      std::vector<std::pair<std::pair<int32_t, std::string>, uint32_t>> modele;
      for (int32_t i = 0; i < 300; ++i) {
        const int32_t annee = (i * 37) % 11;
        const std::string titre(1, static_cast<char>('a' + (i * 7) % 5));
        const uint32_t l = f.Livre(titre, annee);
        modele.push_back({{decroissant ? -annee : annee, deuxCles ? titre : std::string()}, l});
      }
      std::vector<int32_t> triples{kAnnee, decroissant ? 1 : 0, 0};
      if (deuxCles) triples.insert(triples.end(), {kTitre, 0, 0});
      TIndex index("IDX", &f.table, triples, ruiSansRegle);
      std::sort(modele.begin(), modele.end());
      std::vector<uint32_t> attendu;
      for (const auto& m : modele) attendu.push_back(m.second);
      EXPECT_EQ(Ordre(index), attendu) << decroissant << deuxCles;
    }
  }
}

TEST(Index, TheVariantFormUsesWholeTriplesOnly) {
  Fixture f;
  TIndex index("IDX", &f.table, std::vector<int32_t>{kTitre, 0, 0, kAnnee, 1, 3, kRayon, 0}, ruiSansRegle);
  ASSERT_EQ(index.NombreChamps, 2);
  EXPECT_EQ(index.Cles[1].NumeroChamp, kAnnee);
  EXPECT_EQ(index.Cles[1].Decroissant, 1);
  EXPECT_EQ(index.Cles[1].Mode, 3);
  EXPECT_EQ(index.ChampsConcernes, Ensemble({kTitre, kAnnee}));
}

TEST(Index, AKeyOnAColumnTheTableLacksIsRefusedByName) {
  Fixture f;
  EXPECT_THROW(TIndex("IDX", &f.table, std::vector<int32_t>{7, 0, 0}, ruiSansRegle), Exception);
}

TEST(Index, TheUniquenessRulesRefuseOrAcceptAStoredDuplicate) {
  struct Cas {
    TypeRegleUnicite regle;
    int32_t annee;  // of both rows; 0 is the absent value
    bool accepte;
  };
  const Cas cas[] = {
      {ruiSansRegle, 2000, true},
      {ruiCleUnique, 2000, false},
      {ruiCleUnique, 0, false},
      {ruiCleUniqueSiNonNulle, 2000, false},
      {ruiCleUniqueSiNonNulle, 0, true},
  };
  for (const Cas& c : cas) {
    Fixture f;
    f.Livre("a", c.annee);
    TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, c.regle);
    const uint32_t l = f.Livre("b", c.annee);
    EXPECT_EQ(index.InsererLigne(l, kRien, true, false), c.accepte) << int(c.regle) << " " << c.annee;
    if (c.regle == ruiSansRegle) continue;
    // A rule places rows at once: a refused row is in neither list, an accepted one is placed.
    EXPECT_EQ(index.NombreTriees(), c.accepte ? 2 : 1);
    EXPECT_EQ(index.NombreATrier(), 0);
  }
}

TEST(Index, SearchesAnswerFoundBeforeOrAfterTheLastWithTheirPositions) {
  Fixture f;
  for (int32_t annee : {1990, 2000, 2000, 2010}) f.Livre("t", annee);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiSansRegle);
  struct Cas {
    int32_t annee;
    uint8_t resultat;
    int32_t position;
    bool doublon;
  };
  const Cas cas[] = {
      {1980, kIndexAvant, 1, false},
      {1990, kIndexTrouve, 1, true},
      {2000, kIndexTrouve, 2, true},  // the first of the equal keys
      {2005, kIndexAvant, 4, false},
      {2010, kIndexTrouve, 4, true},
      {2020, kIndexApresDernier, static_cast<int32_t>(kAucune), false},
  };
  for (const Cas& c : cas) {
    Cle cle("x", c.annee);
    int32_t position = 0;
    bool doublon = !c.doublon;
    EXPECT_EQ(index.ChercherArticle(&cle.article, position, doublon), c.resultat) << c.annee;
    EXPECT_EQ(position, c.position) << c.annee;
    EXPECT_EQ(doublon, c.doublon) << c.annee;
    EXPECT_EQ(cle.article.Position, c.position) << c.annee;
  }
}

TEST(Index, AnArticleOfTheIndexedTableIsFoundAtItsRememberedPositionElseAtTheFirstEqualKey) {
  Fixture f;
  for (int32_t i = 0; i < 5; ++i) f.Livre("t", 2000);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiSansRegle);
  TArticle article;
  article.Table = &f.table;
  article.IndiceArticle = 3;
  int32_t position = 0;
  bool doublon = false;
  EXPECT_EQ(index.ChercherArticle(&article, position, doublon), kIndexTrouve);
  EXPECT_EQ(position, 1);
  EXPECT_TRUE(doublon);
  // The remembered position is taken as it stands when it still holds the row.
  article.Position = 4;
  EXPECT_EQ(index.ChercherArticle(&article, position, doublon), kIndexTrouve);
  EXPECT_EQ(position, 4);
  EXPECT_FALSE(doublon);
  // A row of another table is searched for, even when the remembered position holds a row of the
  // same number: the first equal key, and a duplicate.
  Fixture autre;
  for (int32_t i = 0; i < 4; ++i) autre.Livre("t", 2000);
  TArticle etranger;
  etranger.Table = &autre.table;
  etranger.IndiceArticle = 3;
  etranger.Position = 4;
  ASSERT_EQ(index.LigneDePosition(4), 3u);
  EXPECT_EQ(index.ChercherArticle(&etranger, position, doublon), kIndexTrouve);
  EXPECT_EQ(position, 1);
  EXPECT_TRUE(doublon);
  // Its own row met on the way ends the search there: row 2 sits in the middle.
  article.IndiceArticle = 2;
  article.Position = 0;
  EXPECT_EQ(index.ChercherArticle(&article, position, doublon), kIndexTrouve);
  EXPECT_EQ(position, 3);
  EXPECT_FALSE(doublon);
  // An article that designates no row finds nothing and reads no column.
  TArticle aucun;
  EXPECT_EQ(index.ChercherArticle(&aucun, position, doublon), kIndexApresDernier);
  EXPECT_EQ(position, static_cast<int32_t>(kAucune));
}

TEST(Index, PositionsOutsideThePlacedRowsDesignateNoRow) {
  Fixture f;
  f.Livre("a", 1);
  f.Livre("b", 2);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiSansRegle);
  for (int32_t p : {0, -1, 3, static_cast<int32_t>(kAucune)}) EXPECT_EQ(index.LigneDePosition(p), kAucune) << p;
  EXPECT_EQ(index.LigneDePosition(2), 1u);
  EXPECT_EQ(index.PositionDeLigne(1), 2);
  EXPECT_EQ(index.PositionDeLigne(9), 3);  // not placed: one past the last
}

TEST(Index, AChangeOfAnotherColumnLeavesTheIndexUntouchedAndAKeyChangeReplacesTheRow) {
  Fixture f;
  for (int32_t annee : {2000, 1990, 2010}) f.Livre("t", annee);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiSansRegle);
  ASSERT_EQ(Ordre(index), (std::vector<uint32_t>{1, 0, 2}));

  index.RetirerLigne(0, Ensemble({kTitre}), false);
  EXPECT_TRUE(index.InsererLigne(0, Ensemble({kTitre}), false, false));
  EXPECT_EQ(index.NombreATrier(), 0);
  EXPECT_EQ(index.NombreTriees(), 3);

  index.RetirerLigne(0, Ensemble({kAnnee}), false);
  f.Annees()->SetValeur(0, 2020);
  EXPECT_TRUE(index.InsererLigne(0, Ensemble({kAnnee}), false, false));
  EXPECT_EQ(index.NombreATrier(), 1);
  EXPECT_EQ(Ordre(index), (std::vector<uint32_t>{1, 2, 0}));

  // A deleted row leaves both lists, pending or placed.
  index.RetirerLigne(2, kRien, true);
  EXPECT_EQ(index.NombreTriees(), 2);
  EXPECT_EQ(index.PositionDeLigne(2), 3);
}

// A merge used to stop at the first row the rule refused, leaving it and every pending row after it
// unplaced while searches went on over the placed rows only, and a refusal during the first
// placement went unreported.
TEST(Index, AMergeNeverHidesARowAndReportsTheRowsTheRuleRefused) {
  for (int32_t nombre : {6, 200}) {  // placed one by one, then in one merge
    Fixture f;
    for (int32_t i = 0; i < nombre; ++i) f.Livre("t", i % 3 == 0 ? 7 : 100 + i);
    const int32_t doublons = (nombre + 2) / 3 - 1;
    TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiCleUnique);
    EXPECT_EQ(index.DerniersRefus, doublons) << nombre;
    EXPECT_EQ(index.NombreATrier(), 0) << nombre;
    for (uint32_t l = 0; l < static_cast<uint32_t>(nombre); ++l) {
      const int32_t p = index.PositionDeLigne(l);
      EXPECT_EQ(index.LigneDePosition(p), l) << nombre;
    }
  }
  // A row whose new key the rule refuses stays pending; the next search places it and says so.
  Fixture f;
  for (int32_t annee : {1, 2, 3, 4}) f.Livre("t", annee);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiCleUnique);
  index.RetirerLigne(0, Ensemble({kAnnee}), false);
  f.Annees()->SetValeur(0, 3);
  EXPECT_FALSE(index.InsererLigne(0, Ensemble({kAnnee}), false, false));
  EXPECT_EQ(index.PositionDeLigne(3), 4);
  EXPECT_EQ(Ordre(index), (std::vector<uint32_t>{1, 0, 2, 3}));
  EXPECT_EQ(index.DerniersRefus, 1);
}

TEST(Index, DoublonTestsTheArticlesValuesOnlyForAConcernedChangeUnderARule) {
  Fixture f;
  f.Livre("a", 2000);
  f.Livre("b", 0);
  struct Cas {
    TypeRegleUnicite regle;
    int32_t annee;
    TypeEnsembleOctets modifies;
    bool doublon;
  };
  const Cas cas[] = {
      {ruiSansRegle, 2000, Ensemble({kAnnee}), false},
      {ruiCleUnique, 2000, Ensemble({kTitre}), false},
      {ruiCleUnique, 2000, Ensemble({kAnnee}), true},
      {ruiCleUnique, 1999, Ensemble({kAnnee}), false},
      {ruiCleUnique, 0, Ensemble({kAnnee}), true},
      {ruiCleUniqueSiNonNulle, 0, Ensemble({kAnnee}), false},
      {ruiCleUniqueSiNonNulle, 2000, Ensemble({kAnnee}), true},
  };
  for (const Cas& c : cas) {
    TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, c.regle);
    Cle cle("x", c.annee);
    EXPECT_EQ(index.Doublon(&cle.article, c.modifies), c.doublon) << int(c.regle) << " " << c.annee;
  }
}

// The search over the placed rows against a plain three-way halving, on short sorted lists full of
// equal keys, with and without stopping on a row (present or not): same bound, found flag, last
// equal position and duplicate flag; rows are asked for ahead only from the list.
TEST(Index, TheSearchOverThePlacedRowsGivesThePlainHalvingsResults) {
  std::mt19937 alea(21);
  for (int32_t tour = 0; tour < 4000; ++tour) {
    const auto nombre = static_cast<int32_t>(alea() % 40);
    std::vector<int32_t> cles(static_cast<std::size_t>(nombre));
    for (int32_t& c : cles) c = static_cast<int32_t>(alea() % 6);
    std::sort(cles.begin(), cles.end());
    // Row r + 100 holds cles[r]: rows and positions differ.
    std::vector<uint32_t> lignes(cles.size());
    for (std::size_t i = 0; i < lignes.size(); ++i) lignes[i] = static_cast<uint32_t>(i) + 100;
    const int32_t cle = static_cast<int32_t>(alea() % 7) - 1;
    const auto comparer = [&](uint32_t x) -> int8_t {
      const int32_t v = cles[x - 100];
      return cle < v ? -1 : (cle > v ? 1 : 0);
    };
    TRechercheIndex R;
    R.Lignes = lignes.data();
    R.Nombre = nombre;
    R.ArreterSurLigne = alea() % 2 == 0;
    R.Ligne = static_cast<uint32_t>(alea() % 45) + 100;
    TRechercheIndex attendu = R;
    int32_t lo = 0, hi = nombre + 1;
    while (hi > lo + 1) {
      const int32_t mid = lo + (hi - lo) / 2;
      const uint32_t x = lignes[static_cast<std::size_t>(mid - 1)];
      const int8_t c = comparer(x);
      if (c < 0) {
        hi = mid;
      } else if (c > 0) {
        lo = mid;
      } else if (attendu.ArreterSurLigne && x == attendu.Ligne) {
        hi = mid;
        attendu.Trouve = true;
        break;
      } else {
        attendu.Doublon = attendu.Trouve = true;
        hi = attendu.Position = mid;
      }
    }
    bool horsListe = false;
    ChercherDansIndex(R, comparer, [&](uint32_t x) { horsListe = horsListe || x < 100 || x >= 100u + lignes.size(); });
    ASSERT_EQ(std::make_tuple(R.Hi, R.Trouve, R.Position, R.Doublon),
              std::make_tuple(hi, attendu.Trouve, attendu.Position, attendu.Doublon))
        << tour;
    ASSERT_FALSE(horsListe) << tour;
  }
}

// Thousands of random stores, key changes and deletions against a plain sorted model.
TEST(Index, RandomChangesKeepTheSameOrderAsSortingByKeyThenRow) {
  Fixture f;
  std::mt19937 alea(14);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kRayon, true, 0}, {kAnnee, false, 0}}, ruiSansRegle);
  std::vector<bool> vivante;
  for (int32_t tour = 0; tour < 3000; ++tour) {
    const int action = static_cast<int>(alea() % 4);
    const int32_t annee = static_cast<int32_t>(alea() % 50), rayon = static_cast<int32_t>(alea() % 4);
    if (action <= 1 || f.table.NombreArticles == 0) {
      const uint32_t l = f.Livre("t", annee, rayon);
      if (vivante.size() <= l) vivante.resize(l + 1);
      vivante[l] = true;
      ASSERT_TRUE(index.InsererLigne(l, kRien, true, false));
      continue;
    }
    uint32_t l;
    do l = static_cast<uint32_t>(alea() % vivante.size());
    while (!vivante[l]);
    if (action == 2) {
      index.RetirerLigne(l, Ensemble({kAnnee}), false);
      f.Annees()->SetValeur(static_cast<int32_t>(l), annee);
      ASSERT_TRUE(index.InsererLigne(l, Ensemble({kAnnee}), false, false));
    } else {
      index.RetirerLigne(l, kRien, true);
      ASSERT_TRUE(f.table.LibererLigne(static_cast<int32_t>(l) + 1));
      vivante[l] = false;
    }
    if (tour % 97 != 0) continue;
    std::vector<std::pair<std::pair<int32_t, int32_t>, uint32_t>> modele;
    for (uint32_t r = 0; r < vivante.size(); ++r)
      if (vivante[r])
        modele.push_back({{-f.Rayons()->GetValeur(static_cast<int32_t>(r)), f.Annees()->GetValeur(static_cast<int32_t>(r))}, r});
    std::sort(modele.begin(), modele.end());
    std::vector<uint32_t> attendu;
    for (const auto& m : modele) attendu.push_back(m.second);
    ASSERT_EQ(Ordre(index), attendu) << tour;
  }
}

// A key of one integer column is searched over a copy of the placed rows' keys: after thousands of
// placements one by one and in bulk, key changes, deletions, forced placements and resets, every
// search, by a key of another table or by a row of the table itself, answers what the search
// through the column answers, and finds a key exactly when a row holds it.
TEST(Index, ASearchOverTheCopiedKeysFollowsEveryChangeOfThePlacedRowsAndKeys) {
  for (const bool decroissant : {false, true}) {
    Fixture f;
    Cle sonde("t", 0);
    auto* valeurSondee = sonde.f.Annees();
    std::mt19937 alea(decroissant ? 5 : 6);
    TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, decroissant, 0}}, ruiSansRegle);
    std::vector<bool> vivante;
    std::vector<int32_t> recentes;  // keys just given up or taken: the likeliest to be stale
    auto nouvelle = [&](int32_t annee) {
      const uint32_t l = f.Livre("t", annee);
      if (vivante.size() <= l) vivante.resize(l + 1);
      vivante[l] = true;
      ASSERT_TRUE(index.InsererLigne(l, kRien, true, alea() % 2 == 0));
    };
    auto verifier = [&](TArticle* article, int32_t tour) {
      article->Position = 0;
      int32_t position;
      bool doublon;
      const uint8_t resultat = index.ChercherArticle(article, position, doublon);
      // The same search through the column, over the rows now placed.
      TRechercheIndex R;
      R.Lignes = index.LignesTriees->Donnees();
      R.Nombre = index.NombreTriees();
      R.ArreterSurLigne = article->Table == &f.table;
      R.Ligne = article->IndiceArticle;
      ChercherDansIndex(R, [&](uint32_t x) { return index.ComparerArticle(article, x); });
      const int32_t attendue = R.Position != static_cast<int32_t>(kAucune) ? R.Position
                               : R.Hi > R.Nombre                            ? static_cast<int32_t>(kAucune)
                                                                            : R.Hi;
      ASSERT_EQ(std::make_tuple(resultat == kIndexTrouve, position, doublon),
                std::make_tuple(R.Trouve, attendue, R.Doublon))
          << decroissant << " " << tour;
      const int32_t cle = static_cast<TChampInteger*>(article->Table->GetChamp(kAnnee))->GetValeur(
          static_cast<int32_t>(article->IndiceArticle));
      bool tenue = false;
      for (uint32_t r = 0; r < vivante.size(); ++r)
        tenue = tenue || (vivante[r] && f.Annees()->GetValeur(static_cast<int32_t>(r)) == cle);
      ASSERT_EQ(resultat == kIndexTrouve, tenue) << decroissant << " " << tour << " " << cle;
    };
    for (int32_t tour = 0; tour < 3000; ++tour) {
      const int action = static_cast<int>(alea() % 10);
      const int32_t annee = static_cast<int32_t>(alea() % 200);
      if (action <= 2 || f.table.NombreArticles == 0) {
        nouvelle(annee);
        recentes.push_back(annee);
      } else if (action == 3 && tour % 50 == 0) {
        // More rows than are placed one by one: a bulk merge at the next search.
        for (int32_t i = 0; i < 40; ++i) nouvelle(static_cast<int32_t>(alea() % 200));
      } else if (action == 4 && tour % 200 == 0) {
        index.Reinitialiser();
      } else {
        uint32_t l;
        do l = static_cast<uint32_t>(alea() % vivante.size());
        while (!vivante[l]);
        recentes.push_back(f.Annees()->GetValeur(static_cast<int32_t>(l)));
        if (action <= 6) {
          index.RetirerLigne(l, Ensemble({kAnnee}), false);
          f.Annees()->SetValeur(static_cast<int32_t>(l), annee);
          ASSERT_TRUE(index.InsererLigne(l, Ensemble({kAnnee}), false, alea() % 2 == 0));
          recentes.push_back(annee);
        } else if (action == 7) {
          // Another column changes: the row stays where it is.
          index.RetirerLigne(l, Ensemble({kRayon}), false);
          f.Rayons()->SetValeur(static_cast<int32_t>(l), annee);
          ASSERT_TRUE(index.InsererLigne(l, Ensemble({kRayon}), false, false));
        } else {
          index.RetirerLigne(l, kRien, true);
          ASSERT_TRUE(f.table.LibererLigne(static_cast<int32_t>(l) + 1));
          vivante[l] = false;
        }
      }
      const int32_t cherchee = alea() % 2 == 0 && !recentes.empty()
                                   ? recentes[alea() % recentes.size()]
                                   : static_cast<int32_t>(alea() % 202) - 1;
      if (recentes.size() > 8) recentes.erase(recentes.begin());
      valeurSondee->SetValeur(static_cast<int32_t>(sonde.article.IndiceArticle), cherchee);
      verifier(&sonde.article, tour);
      if (HasFatalFailure()) return;
      uint32_t propre;
      do propre = static_cast<uint32_t>(alea() % vivante.size());
      while (!vivante[propre] && f.table.NombreArticles > 0);
      if (!vivante[propre]) continue;
      TArticle article;
      article.Table = &f.table;
      article.IndiceArticle = propre;
      verifier(&article, tour);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(Index, ACopyHasTheSourcesKeyOnTheDestinationsColumnsAndRows) {
  Fixture source, destination;
  for (int32_t annee : {3, 1, 2}) {
    source.Livre("t", annee);
    destination.Livre("t", annee * 10);
  }
  TIndex index("IDX_Annee", &source.table, std::vector<TypeDefinitionCle>{{kAnnee, true, 0}}, ruiCleUnique);
  TIndex copie{TBlank{}};
  copie.Assigner(&index, nullptr, nullptr, &source.table, &destination.table);
  EXPECT_EQ(copie.Nom, "IDX_Annee");
  EXPECT_EQ(copie.RegleUnicite, ruiCleUnique);
  EXPECT_EQ(copie.Cles[0].Champ, destination.table.GetChamp(kAnnee));
  EXPECT_EQ(copie.Table, &destination.table);
  EXPECT_EQ(Ordre(copie), (std::vector<uint32_t>{0, 2, 1}));
  // Searched by the destination's values (in the same order as the source's).
  for (const auto& [annee, resultat, position] :
       {std::tuple{10, kIndexTrouve, 3}, {1, kIndexApresDernier, static_cast<int32_t>(kAucune)}, {25, kIndexAvant, 2}}) {
    Cle cle("t", annee);
    int32_t p;
    bool doublon;
    EXPECT_EQ(copie.ChercherArticle(&cle.article, p, doublon), resultat) << annee;
    EXPECT_EQ(p, position) << annee;
  }
}

TEST(Index, TheHeaderTraceNamesTheRuleTheKeyColumnsAndBothCounts) {
  Fixture f;
  f.Livre("a", 1);
  TIndex index("IDX_Annee", &f.table, std::vector<TypeDefinitionCle>{{kTitre, false, 0}, {kRayon, false, 0}},
               ruiSansRegle);
  TCustomTraceur traceur("");
  std::string texte;
  index.TracerEntete(&traceur, texte);
  for (const char* attendu : {"Nom = IDX_Annee", "Etat = EI_Valide", "Table de classe = TLivre",
                              "RegleUnicite = ruiSansRegle", "NombreChamps = 2", "ChampsConcernes = [0,2]"})
    EXPECT_NE(texte.find(attendu), std::string::npos) << attendu << "\n" << texte;
  EXPECT_NE(texte.find(std::string("Nombre articles triés = 0"_ansi)), std::string::npos) << texte;
  EXPECT_NE(texte.find(std::string("Nombre articles à trier = 1"_ansi)), std::string::npos) << texte;
  index.SetTraceActive(false);
  index.TracerEntete(&traceur, texte);
  EXPECT_EQ(texte, "");
}

// While loading, rows that are not forced only collect on the pending list, even under a rule (no
// refusal then); a forced row is placed at once; the next search places the pending rows and counts
// the duplicates among them. A destroyed index ignores rows that are not forced.
TEST(Index, WhileLoadingRowsWaitForTheNextSearchAndADestroyedIndexIgnoresThem) {
  Fixture f;
  for (int32_t annee : {1990, 2000}) f.Livre("t", annee);
  TIndex index("IDX", &f.table, std::vector<TypeDefinitionCle>{{kAnnee, false, 0}}, ruiCleUnique);
  ASSERT_EQ(index.NombreTriees(), 2);
  index.Etat = EI_EnChargement;
  const uint32_t doublon = f.Livre("t", 1990), nouvelle = f.Livre("t", 1980), forcee = f.Livre("t", 2010);
  EXPECT_TRUE(index.InsererLigne(doublon, kRien, true, false));
  EXPECT_TRUE(index.InsererLigne(nouvelle, kRien, true, false));
  EXPECT_TRUE(index.InsererLigne(forcee, kRien, true, true));
  EXPECT_EQ(index.NombreATrier(), 2);
  EXPECT_EQ(index.NombreTriees(), 3);

  index.Etat = EI_Valide;
  EXPECT_EQ(Ordre(index), (std::vector<uint32_t>{nouvelle, 0, doublon, 1, forcee}));
  EXPECT_EQ(index.DerniersRefus, 1);

  index.Etat = EI_Detruite;
  const uint32_t ignoree = f.Livre("t", 1970);
  EXPECT_TRUE(index.InsererLigne(ignoree, kRien, true, false));
  EXPECT_EQ(index.NombreATrier(), 0);
  index.Etat = EI_Valide;
}
