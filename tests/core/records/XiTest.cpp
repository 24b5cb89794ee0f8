// The record-table engine: creation, storage and numbers, orders and searches, changes, walks,
// saved positions and the per-thread state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/values/Ansi1252.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"

using Xi::XiOrdreDoublon;
using Xi::XiStatut;

namespace {

// A record of the test table: a short-string name (unique, collation without case), a code (unique),
// and a group with a value (not unique).
struct Fiche {
  char Nom[16];
  uint32_t Code;
  uint8_t Groupe;
  uint8_t Libre[3];
  uint32_t Valeur;
};
static_assert(sizeof(Fiche) == 28);

constexpr int32_t kParNom = 1, kParCode = 2, kParGroupe = 3;

std::string NomDe(const Fiche& f) { return std::string(f.Nom + 1, static_cast<unsigned char>(f.Nom[0])); }

class TableFiches : public ::testing::Test {
 protected:
  void SetUp() override { Creer(0); }
  void TearDown() override { Xi::Detruire(t_); }

  void Creer(int32_t maximum) {
    Xi::Creer(t_, maximum, sizeof(Fiche), 3);
    ASSERT_NE(t_, nullptr);
    Fiche& b = B();
    ASSERT_TRUE(Xi::DefinirOrdre(t_, kParNom, 1, true));
    ASSERT_TRUE(Xi::DefinirColonne(t_, kParNom, 1, b.Nom, sizeof b.Nom, &Comparai::ComparerChaineCourte));
    ASSERT_TRUE(Xi::DefinirOrdre(t_, kParCode, 1, true));
    ASSERT_TRUE(Xi::DefinirColonne(t_, kParCode, 1, &b.Code, 4, &Comparai::ComparerCardinal));
    ASSERT_TRUE(Xi::DefinirOrdre(t_, kParGroupe, 2, false));
    ASSERT_TRUE(Xi::DefinirColonne(t_, kParGroupe, 1, &b.Groupe, 1, &Comparai::ComparerOctet));
    ASSERT_TRUE(Xi::DefinirColonne(t_, kParGroupe, 2, &b.Valeur, 4, &Comparai::ComparerCardinal));
  }

  Fiche& B() { return *static_cast<Fiche*>(t_); }

  void Remplir(std::string_view nom, uint32_t code, uint8_t groupe = 0, uint32_t valeur = 0) {
    std::memset(t_, 0, sizeof(Fiche));
    B().Nom[0] = static_cast<char>(nom.size());
    std::memcpy(B().Nom + 1, nom.data(), nom.size());
    B().Code = code;
    B().Groupe = groupe;
    B().Valeur = valeur;
  }

  bool Ajouter(std::string_view nom, uint32_t code, uint8_t groupe = 0, uint32_t valeur = 0) {
    Remplir(nom, code, groupe, valeur);
    return Xi::Inserer(t_);
  }

  // The record numbers of an order, walked with Premier / Suivant.
  std::vector<uint32_t> Sequence(int32_t ordre) {
    std::vector<uint32_t> numeros;
    for (bool ok = Xi::Premier(t_, ordre); ok; ok = Xi::Suivant(t_, ordre))
      numeros.push_back(Xi::NumeroCourant(t_));
    return numeros;
  }

  std::vector<uint32_t> Libres() {
    const TypeEnsembleMemoire& l = Xi::Entete(t_)->NumerosLibres;
    return {l.Elements, l.Elements + l.Nombre};
  }

  void* t_ = nullptr;
};

using V = std::vector<uint32_t>;

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Creation

TEST(XiCreation, SizesBlocksAndMaximum) {
  struct Case {
    int32_t maximum, tailleEnregistrement;
    int32_t maximumStocke;
    uint32_t tailleStockee, parBloc;
    int32_t tailleBloc;
  };
  const Case cases[] = {
      {0, 12, -1, 12, 1024, 12288},      {-1, 12, -1, 12, 1024, 12288}, {100, 12, 100, 12, 100, 1200},
      {0, 584, -1, 584, 448, 262144},    {0, 13, -1, 14, 1024, 14336},  {0, 262144, -1, 262144, 1, 262144},
      {5, 262143, 5, 262144, 1, 262144},
  };
  for (const Case& c : cases) {
    void* t = nullptr;
    XiStatut = 99;
    Xi::Creer(t, c.maximum, c.tailleEnregistrement, 2);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(XiStatut, 0);
    const TypeEnteteXi* h = Xi::Entete(t);
    EXPECT_EQ(h->Maximum, c.maximumStocke);
    EXPECT_EQ(h->TailleEnregistrement, c.tailleStockee);
    EXPECT_EQ(h->EnregistrementsParBloc, c.parBloc);
    EXPECT_EQ(h->TailleBloc, c.tailleBloc);
    EXPECT_EQ(h->NombreOrdres, 3u);
    EXPECT_EQ(h->OrdreCourant, -1);
    EXPECT_EQ(h->Tampon, t);
    EXPECT_EQ(h->NombreBlocs, 0u);
    EXPECT_EQ(h->NumerosLibres.Capacite, 5u);
    const auto* tampon = static_cast<const uint8_t*>(t);
    EXPECT_TRUE(std::all_of(tampon, tampon + c.tailleStockee, [](uint8_t b) { return b == 0; }));
    Xi::Detruire(t);
  }
}

TEST(XiCreation, RefusesTablesThatCannotHoldARecord) {
  struct Case {
    int32_t maximum, tailleEnregistrement, nombreOrdres;
  };
  const Case cases[] = {
      {0, 262145, 1},  // rounded to 262146: no record fits a block
      {0, 0x7FFFFFFF, 1}, {0, 0, 1}, {0, -4, 1}, {-2, 12, 1}, {0, 12, -1}, {0, 12, Xi::kOrdresMaximum + 1},
  };
  for (const Case& c : cases) {
    void* t = reinterpret_cast<void*>(0x1);
    XiStatut = 0;
    Xi::Creer(t, c.maximum, c.tailleEnregistrement, c.nombreOrdres);
    EXPECT_EQ(t, nullptr) << c.tailleEnregistrement;
    EXPECT_EQ(XiStatut, Xi::kStatutCreationRefusee);
  }
}

TEST_F(TableFiches, DefinitionsOutsideTheTableAreRefused) {
  Fiche& b = B();
  char ailleurs[16];
  EXPECT_FALSE(Xi::DefinirOrdre(t_, 4, 1, false));  // beyond the orders declared
  EXPECT_FALSE(Xi::DefinirOrdre(t_, -1, 1, false));
  EXPECT_FALSE(Xi::DefinirOrdre(t_, 0, 1, false));  // the record-number order has no column
  EXPECT_TRUE(Xi::DefinirOrdre(t_, 0, 0, false));
  EXPECT_FALSE(Xi::DefinirOrdre(t_, 1, -1, false));
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParCode, 2, &b.Code, 4, &Comparai::ComparerCardinal));  // no column 2
  EXPECT_FALSE(
      Xi::DefinirColonne(t_, kParCode, 1, &b.Valeur + 1, 4, &Comparai::ComparerCardinal));  // past the end
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParCode, 1, &b.Valeur, 5, &Comparai::ComparerOctets));
  // A 32-bit comparison reads 4 bytes whatever size it is declared with.
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParCode, 1, reinterpret_cast<uint8_t*>(&b.Valeur) + 2, 0,
                                  &Comparai::ComparerCardinal));
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParCode, 1, ailleurs, 4, &Comparai::ComparerOctets));
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParCode, 1, &b.Code, 4, nullptr));
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParNom, 1, b.Nom, 0, &Comparai::ComparerChaineCourte));
  EXPECT_FALSE(Xi::DefinirColonne(t_, 0, 1, &b.Code, 4, &Comparai::ComparerCardinal));
  ASSERT_TRUE(Xi::DefinirColonne(t_, kParCode, 1, &b.Code, 4, &Comparai::ComparerCardinal));
  ASSERT_TRUE(Ajouter("a", 1));
  EXPECT_FALSE(Xi::DefinirOrdre(t_, kParCode, 1, false));  // records are already in the orders
  EXPECT_FALSE(Xi::DefinirColonne(t_, kParCode, 1, &b.Code, 4, &Comparai::ComparerCardinal));
}

// ---------------------------------------------------------------------------------------------------
// Numbers and blocks

TEST_F(TableFiches, FreeNumbersAreReusedLowestFirst) {
  for (uint32_t i = 1; i <= 3; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i));
  ASSERT_TRUE(Xi::AllerA(t_, 2));
  ASSERT_TRUE(Xi::Supprimer(t_));
  EXPECT_EQ(Libres(), (V{2}));
  ASSERT_TRUE(Ajouter("x", 10));
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
  EXPECT_EQ(Libres(), V{});

  // Deleting the highest number drops the free numbers left above the new highest.
  for (uint32_t i = 4; i <= 6; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i));
  for (uint32_t n : {2u, 4u, 5u}) {
    ASSERT_TRUE(Xi::AllerA(t_, n));
    ASSERT_TRUE(Xi::Supprimer(t_));
  }
  EXPECT_EQ(Libres(), (V{2, 4, 5}));
  ASSERT_TRUE(Xi::AllerA(t_, 6));
  ASSERT_TRUE(Xi::Supprimer(t_));
  EXPECT_EQ(Libres(), (V{2}));
  EXPECT_EQ(Xi::Nombre(t_), 2u);
  ASSERT_TRUE(Ajouter("y", 20));
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
  ASSERT_TRUE(Ajouter("z", 21));
  EXPECT_EQ(Xi::NumeroCourant(t_), 4u);
  EXPECT_EQ(Sequence(0), (V{1, 2, 3, 4}));
}

TEST_F(TableFiches, AllerAChecksTheNumber) {
  for (uint32_t i = 1; i <= 3; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i));
  ASSERT_TRUE(Xi::AllerA(t_, 2));
  ASSERT_TRUE(Xi::Supprimer(t_));
  for (uint32_t n : {0u, 2u, 4u, 1024u, 5000u}) {
    Remplir("junk", 77);
    EXPECT_FALSE(Xi::AllerA(t_, n)) << n;
    EXPECT_EQ(XiStatut, 0);
    EXPECT_EQ(Xi::NumeroCourant(t_), 0u);
    EXPECT_EQ(B().Code, 0u);  // buffer cleared
  }
  EXPECT_TRUE(Xi::AllerA(t_, 3));
  EXPECT_EQ(XiStatut, 1);
  EXPECT_EQ(B().Code, 3u);
}

TEST(XiBlocs, BlocksFollowTheHighestRecord) {
  void* t = nullptr;
  Xi::Creer(t, 0, 12, 0);
  const TypeEnteteXi* h = Xi::Entete(t);
  auto inserer = [&](uint32_t v) {
    std::memcpy(t, &v, 4);
    ASSERT_TRUE(Xi::Inserer(t));
  };
  auto supprimer = [&](uint32_t n) {
    ASSERT_TRUE(Xi::AllerA(t, n));
    ASSERT_TRUE(Xi::Supprimer(t));
  };
  for (uint32_t i = 1; i <= 1025; ++i) inserer(i);
  EXPECT_EQ(h->NombreBlocs, 2u);
  EXPECT_EQ(h->Capacite, 2048u);
  supprimer(1025);
  EXPECT_EQ(h->NombreBlocs, 1u);

  // An emptied block in the middle stays until the blocks after it are gone.
  for (uint32_t i = 1025; i <= 2100; ++i) inserer(i);
  EXPECT_EQ(h->NombreBlocs, 3u);
  for (uint32_t n = 1025; n <= 2048; ++n) supprimer(n);
  EXPECT_EQ(h->NombreBlocs, 3u);
  EXPECT_EQ(h->Blocs[1].Utilises, 0);
  for (uint32_t n = 2049; n <= 2100; ++n) supprimer(n);
  EXPECT_EQ(h->NombreBlocs, 1u);
  EXPECT_EQ(h->NumerosLibres.Nombre, 0u);

  for (uint32_t n = 1; n <= 1024; ++n) supprimer(n);
  EXPECT_EQ(h->NombreBlocs, 0u);
  EXPECT_EQ(h->Capacite, 0u);
  EXPECT_EQ(Xi::Nombre(t), 0u);
  Xi::Detruire(t);
}

// ---------------------------------------------------------------------------------------------------
// Orders and searches

TEST_F(TableFiches, SearchLandsOnTheFirstRecordNotBelowTheKey) {
  // Empty table: position 1, no record.
  Remplir("", 10);
  EXPECT_EQ(Xi::Chercher(t_, kParCode), 1u);
  EXPECT_EQ(XiStatut, 0);
  EXPECT_EQ(Xi::NumeroCourant(t_), 0u);

  for (uint32_t code : {30u, 10u, 20u}) ASSERT_TRUE(Ajouter("c" + std::to_string(code), code));
  struct Case {
    uint32_t code;
    uint32_t position;
    int32_t statut;
    uint32_t numero;
  };
  const Case cases[] = {{10, 1, 1, 2}, {15, 2, 2, 3}, {20, 2, 1, 3},
                        {5, 1, 2, 2},  {30, 3, 1, 1}, {31, 4, 0, 0}};
  const uint32_t codeDe[] = {0, 30, 10, 20};
  for (const Case& c : cases) {
    Remplir("zz", c.code);
    EXPECT_EQ(Xi::Chercher(t_, kParCode), c.position) << c.code;
    EXPECT_EQ(XiStatut, c.statut) << c.code;
    EXPECT_EQ(Xi::NumeroCourant(t_), c.numero) << c.code;
    EXPECT_EQ(B().Code, codeDe[c.numero]) << c.code;  // the buffer holds the record reached, or zeros
    EXPECT_EQ(B().Nom[0], c.numero == 0 ? 0 : 3) << c.code;
  }
  // The record-number order has no key: nothing is found there.
  Remplir("c10", 10);
  EXPECT_EQ(Xi::Chercher(t_, 0), 0u);
  EXPECT_EQ(XiStatut, 0);
  EXPECT_EQ(Xi::ComparerCle(0, Xi::AdresseEnregistrement(1), Xi::AdresseEnregistrement(2)), 0);
  // The position search itself, in the record-number order: by number, narrowed unless asked for
  // the whole range, count + 1 above the highest number.
  struct Recherche {
    uint32_t numero;
    bool toutIntervalle;
    uint32_t position;
  };
  const Recherche recherches[] = {{0, false, 0}, {0, true, 1},  {2, false, 2},
                                  {3, true, 3},  {4, false, 4}, {99, true, 4}};
  for (const Recherche& r : recherches)
    EXPECT_EQ(Xi::ChercherPosition(0, t_, r.numero, false, r.toutIntervalle), r.position) << r.numero;
  EXPECT_EQ(Xi::Chercher(t_, 7), 0u);  // no such order
  EXPECT_EQ(XiStatut, 0);
}

TEST_F(TableFiches, TrouverMakesTheRecordOfAnEqualKeyCurrentOrGivesTheFormerOneBack) {
  // Enough records for several leaves: the even codes, inserted out of order.
  for (uint32_t i = 0; i < 1000; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), (i * 337 % 1000) * 2));
  ASSERT_TRUE(Xi::AllerA(t_, 5));
  const uint32_t codeDe5 = B().Code;
  for (uint32_t code = 0; code < 2002; ++code) {
    Remplir("", code);
    const bool trouve = Xi::Trouver(t_, kParCode);
    ASSERT_EQ(trouve, code % 2 == 0 && code < 2000) << code;
    EXPECT_EQ(XiStatut, trouve ? 1 : 0) << code;
    // Found: that record; not found: the record current before, reloaded.
    EXPECT_EQ(B().Code, trouve ? code : codeDe5) << code;
    if (trouve) {
      ASSERT_TRUE(Xi::AllerA(t_, 5));
    } else {
      EXPECT_EQ(Xi::NumeroCourant(t_), 5u) << code;
    }
  }
  // An order whose key the records tell (a name) finds too; a walk goes on from the record found.
  Remplir("N700", 0);
  ASSERT_TRUE(Xi::Trouver(t_, kParNom));
  EXPECT_EQ(NomDe(B()), "n700");
  ASSERT_TRUE(Xi::Suivant(t_, kParNom));
  EXPECT_EQ(NomDe(B()), "n701");
  Remplir("n700x", 0);
  EXPECT_FALSE(Xi::Trouver(t_, kParNom));
  EXPECT_EQ(NomDe(B()), "n701");
  // A code found, then walked from.
  Remplir("", 1000);
  ASSERT_TRUE(Xi::Trouver(t_, kParCode));
  ASSERT_TRUE(Xi::Suivant(t_, kParCode));
  EXPECT_EQ(B().Code, 1002u);
  // No order, no handle: nothing.
  EXPECT_FALSE(Xi::Trouver(t_, 9));
  EXPECT_FALSE(Xi::Trouver(nullptr, kParCode));
  EXPECT_EQ(XiStatut, 0);
}

TEST_F(TableFiches, EqualKeysStandInNumberOrder) {
  ASSERT_TRUE(Ajouter("a", 1, 5, 7));
  ASSERT_TRUE(Ajouter("b", 2, 5, 3));
  ASSERT_TRUE(Ajouter("c", 3, 5, 7));
  ASSERT_TRUE(Ajouter("d", 4, 1, 9));
  ASSERT_TRUE(Ajouter("e", 5, 5, 7));
  EXPECT_EQ(Sequence(kParGroupe), (V{4, 2, 1, 3, 5}));
  Remplir("", 0, 5, 7);
  EXPECT_EQ(Xi::Chercher(t_, kParGroupe), 3u);
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);
  // Walking a run of equal keys: 1 while the key stays, 2 when it changes.
  EXPECT_TRUE(Xi::Suivant(t_, kParGroupe));
  EXPECT_EQ(XiStatut, 1);
  EXPECT_TRUE(Xi::Suivant(t_, kParGroupe));
  EXPECT_EQ(XiStatut, 1);
  EXPECT_TRUE(Xi::Premier(t_, kParGroupe));
  EXPECT_EQ(XiStatut, 2);
  EXPECT_TRUE(Xi::Suivant(t_, kParGroupe));
  EXPECT_EQ(XiStatut, 2);
  // Leading column only: the smallest value in the other columns finds the first of the group.
  Remplir("", 0, 5, 0);
  EXPECT_EQ(Xi::Chercher(t_, kParGroupe), 2u);
  EXPECT_EQ(XiStatut, 2);
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
}

TEST_F(TableFiches, UniqueOrdersRefuseDuplicates) {
  ASSERT_TRUE(Ajouter("école"_ansi, 1));
  ASSERT_TRUE(Ajouter("Zoé"_ansi, 2));
  ASSERT_TRUE(Xi::AllerA(t_, 1));

  // The name order ignores case: "ECOLE" with its accent is the same name.
  EXPECT_FALSE(Ajouter("ÉCOLE"_ansi, 3));
  EXPECT_EQ(XiStatut, Xi::kStatutDoublon);
  EXPECT_EQ(XiOrdreDoublon, kParNom);
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);  // the former current record
  EXPECT_EQ(B().Code, 3u);               // the buffer keeps the refused content
  EXPECT_EQ(Xi::Chercher(t_, XiOrdreDoublon), 1u);
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);

  // Duplicate in both unique orders: the first in order number is named.
  EXPECT_FALSE(Ajouter("zoe", 2));
  EXPECT_EQ(XiOrdreDoublon, kParCode);  // "zoe" differs from "Zoé" by its accent
  EXPECT_FALSE(Ajouter("ZOÉ"_ansi, 2));
  EXPECT_EQ(XiOrdreDoublon, kParNom);
  EXPECT_TRUE(Ajouter("ecole", 3));  // no accent: another name
  EXPECT_EQ(XiOrdreDoublon, 0);
  EXPECT_EQ(Xi::Nombre(t_), 3u);
  EXPECT_EQ(Sequence(kParNom), (V{3, 1, 2}));
}

TEST_F(TableFiches, FullTableRefusesBeforeTestingDuplicates) {
  Xi::Detruire(t_);
  Creer(2);
  ASSERT_TRUE(Ajouter("a", 1));
  ASSERT_TRUE(Ajouter("b", 2));
  XiOrdreDoublon = 42;
  EXPECT_FALSE(Ajouter("a", 1));
  EXPECT_EQ(XiStatut, Xi::kStatutMaximum);
  EXPECT_EQ(XiOrdreDoublon, 42);
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
  ASSERT_TRUE(Xi::Supprimer(t_));
  EXPECT_TRUE(Ajouter("c", 3));
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
}

// ---------------------------------------------------------------------------------------------------
// Changes and deletions

TEST_F(TableFiches, ModifierMovesTheRecordInTheOrdersItsKeyChanges) {
  for (uint32_t i = 1; i <= 5; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i * 10, 1, i));
  ASSERT_TRUE(Xi::AllerA(t_, 2));
  B().Code = 45;
  ASSERT_TRUE(Xi::Modifier(t_));
  EXPECT_EQ(XiStatut, 0);
  EXPECT_EQ(Sequence(kParCode), (V{1, 3, 4, 2, 5}));
  EXPECT_EQ(Sequence(kParNom), (V{1, 2, 3, 4, 5}));

  ASSERT_TRUE(Xi::AllerA(t_, 5));
  B().Code = 1;
  B().Groupe = 0;
  ASSERT_TRUE(Xi::Modifier(t_));
  EXPECT_EQ(Sequence(kParCode), (V{5, 1, 3, 4, 2}));
  EXPECT_EQ(Sequence(kParGroupe), (V{5, 1, 2, 3, 4}));
  EXPECT_EQ(Xi::PositionDeNumero(t_, 2, kParCode), 5u);

  // Its own unchanged key, or a change of case only, is not a duplicate.
  ASSERT_TRUE(Xi::AllerA(t_, 3));
  EXPECT_TRUE(Xi::Modifier(t_));
  B().Nom[1] = 'N';
  EXPECT_TRUE(Xi::Modifier(t_));
  ASSERT_TRUE(Xi::AllerA(t_, 3));
  EXPECT_EQ(NomDe(B()), "N3");

  // Another record's key: refused, nothing changed.
  B().Code = 40;
  EXPECT_FALSE(Xi::Modifier(t_));
  EXPECT_EQ(XiStatut, Xi::kStatutModificationDoublon);
  EXPECT_EQ(XiOrdreDoublon, kParCode);
  ASSERT_TRUE(Xi::AllerA(t_, 3));
  EXPECT_EQ(B().Code, 30u);
  EXPECT_EQ(Sequence(kParCode), (V{5, 1, 3, 4, 2}));
}

TEST_F(TableFiches, ChangesAndDeletionsNeedAValidCurrentRecord) {
  ASSERT_TRUE(Ajouter("a", 1));
  ASSERT_TRUE(Ajouter("b", 2));
  ASSERT_TRUE(Xi::AllerA(t_, 1));
  ASSERT_TRUE(Xi::Supprimer(t_));
  EXPECT_EQ(B().Code, 0u);
  EXPECT_FALSE(Xi::Supprimer(t_));
  EXPECT_EQ(XiStatut, Xi::kStatutSuppressionInvalide);
  EXPECT_FALSE(Xi::Modifier(t_));
  EXPECT_EQ(XiStatut, Xi::kStatutModificationInvalide);
  Xi::AllerA(t_, 7);
  EXPECT_FALSE(Xi::Supprimer(t_));
  EXPECT_EQ(XiStatut, Xi::kStatutSuppressionInvalide);
  EXPECT_EQ(Xi::Nombre(t_), 1u);
}

// ---------------------------------------------------------------------------------------------------
// Walks and positions

TEST_F(TableFiches, WalksWrapThroughNoRecord) {
  for (uint32_t i = 1; i <= 3; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), 4 - i));
  ASSERT_TRUE(Xi::Dernier(t_, kParCode));
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);
  EXPECT_FALSE(Xi::Suivant(t_, kParCode));
  EXPECT_EQ(XiStatut, 0);
  EXPECT_EQ(Xi::Position(t_, kParCode), 0u);
  EXPECT_TRUE(Xi::Suivant(t_, kParCode));
  EXPECT_EQ(Xi::NumeroCourant(t_), 3u);

  EXPECT_FALSE(Xi::Precedent(t_, kParCode));
  EXPECT_EQ(Xi::NumeroCourant(t_), 0u);
  EXPECT_TRUE(Xi::Precedent(t_, kParCode));
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);
  EXPECT_TRUE(Xi::Precedent(t_, kParCode));
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);

  // No current record, reached in another order: Precedent goes to the last record.
  Xi::AllerA(t_, 0);
  EXPECT_TRUE(Xi::Precedent(t_, kParNom));
  EXPECT_EQ(Xi::NumeroCourant(t_), 3u);

  EXPECT_FALSE(Xi::AllerAPosition(t_, kParCode, 4));
  EXPECT_FALSE(Xi::AllerAPosition(t_, kParCode, 0));
  EXPECT_FALSE(Xi::AllerAPosition(t_, 9, 1));
  EXPECT_FALSE(Xi::Premier(t_, -1));
  EXPECT_EQ(Sequence(0), (V{1, 2, 3}));
  EXPECT_EQ(Sequence(kParCode), (V{3, 2, 1}));
}

TEST_F(TableFiches, DeletingWhileWalkingPassesOverTheNextRecord) {
  for (uint32_t i = 1; i <= 5; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i));
  ASSERT_TRUE(Xi::Premier(t_, kParCode));
  ASSERT_TRUE(Xi::Suivant(t_, kParCode));  // record 2, position 2
  ASSERT_TRUE(Xi::Supprimer(t_));
  EXPECT_EQ(Xi::Position(t_, kParCode), 2u);  // the current position is kept
  ASSERT_TRUE(Xi::Suivant(t_, kParCode));
  EXPECT_EQ(Xi::NumeroCourant(t_), 4u);  // 3 now stands at position 2 and is passed over
}

TEST_F(TableFiches, PositionsOfNumbersReloadTheCurrentRecord) {
  for (uint32_t i = 1; i <= 4; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), 100 - i));
  ASSERT_TRUE(Xi::AllerA(t_, 3));
  ASSERT_TRUE(Xi::Supprimer(t_));
  ASSERT_TRUE(Xi::AllerA(t_, 2));
  B().Code = 12345;  // unsaved change, lost by the reload
  EXPECT_EQ(Xi::PositionDeNumero(t_, 1, kParCode), 3u);
  EXPECT_EQ(Xi::PositionDeNumero(t_, 4, kParCode), 1u);
  EXPECT_EQ(Xi::PositionDeNumero(t_, 4, 0), 3u);
  EXPECT_EQ(Xi::PositionDeNumero(t_, 3, kParCode), 0u);  // a free number
  EXPECT_EQ(Xi::PositionDeNumero(t_, 1, 4), 0u);         // no such order
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
  EXPECT_EQ(B().Code, 98u);
  EXPECT_EQ(Xi::NumeroAPosition(t_, 1, kParCode), 4u);
  EXPECT_EQ(Xi::NumeroAPosition(t_, 3, 0), 4u);
  EXPECT_EQ(Xi::NumeroAPosition(t_, 4, kParCode), 0u);
  EXPECT_EQ(Xi::NumeroAPosition(t_, 1, -3), 0u);
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);
  EXPECT_EQ(Xi::Position(t_, kParCode), 2u);
  EXPECT_EQ(Xi::Position(t_, 0), 2u);
}

// In an order of several leaves (of 128 entries, split in halves: here records 1..64, 65..128 and
// 129..200), the position of a record follows an insertion before it in another leaf, and removals
// that merge its leaf into its neighbour: where it was last reached is never answered once stale.
TEST_F(TableFiches, PositionsFollowChangesAcrossTheLeavesOfAnOrder) {
  for (uint32_t i = 1; i <= 200; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i, 1, 10 * i));
  ASSERT_GE(Xi::Entete(t_)->Ordres[kParGroupe].Numeros.Height(), 1u);
  ASSERT_TRUE(Xi::AllerAPosition(t_, kParGroupe, 200));
  ASSERT_EQ(Xi::NumeroCourant(t_), 200u);
  ASSERT_TRUE(Ajouter("avant", 1000, 0));  // group 0: first of the order
  EXPECT_EQ(Xi::PositionDeNumero(t_, 200, kParGroupe), 201u);

  ASSERT_TRUE(Xi::AllerAPosition(t_, kParGroupe, 201));
  ASSERT_EQ(Xi::NumeroCourant(t_), 200u);
  for (uint32_t n = 129; n < 200; ++n) {
    ASSERT_TRUE(Xi::AllerA(t_, n));
    ASSERT_TRUE(Xi::Supprimer(t_));
  }
  EXPECT_EQ(Xi::PositionDeNumero(t_, 200, kParGroupe), 130u);
}

TEST_F(TableFiches, SavedPositionsNest) {
  for (uint32_t i = 1; i <= 3; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), i));
  ASSERT_TRUE(Xi::AllerA(t_, 1));
  Xi::SauverPosition(t_);
  ASSERT_TRUE(Xi::AllerA(t_, 2));
  Xi::SauverPosition(t_);
  Xi::AllerA(t_, 0);
  Xi::SauverPosition(t_);  // no record
  ASSERT_TRUE(Xi::AllerA(t_, 3));
  EXPECT_FALSE(Xi::RestaurerPosition(t_));
  EXPECT_EQ(Xi::NumeroCourant(t_), 0u);
  ASSERT_TRUE(Xi::AllerA(t_, 2));  // the saved record disappears meanwhile
  ASSERT_TRUE(Xi::Supprimer(t_));
  EXPECT_FALSE(Xi::RestaurerPosition(t_));
  EXPECT_EQ(XiStatut, 0);
  EXPECT_TRUE(Xi::RestaurerPosition(t_));
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);
  EXPECT_EQ(Xi::Entete(t_)->OrdreCourant, -1);
  // Nothing saved: False, the current record unchanged.
  EXPECT_FALSE(Xi::RestaurerPosition(t_));
  EXPECT_EQ(Xi::NumeroCourant(t_), 1u);
  EXPECT_EQ(B().Code, 1u);
}

// ---------------------------------------------------------------------------------------------------
// Walks with callbacks

namespace {

struct Visite {
  explicit Visite(void* t) : table(t) {}
  void* table;
  std::vector<uint32_t> vus;
  uint32_t aSupprimer = 0;  // deleted during the visit of the first record
  uint32_t arretApres = 0;  // answers True on this visit
  bool ajouterPendant = false;

  bool Traiter(intptr_t) {
    vus.push_back(Xi::NumeroCourant(table));
    if (vus.size() == 1 && aSupprimer != 0) {
      Xi::SauverPosition(table);
      EXPECT_TRUE(Xi::AllerA(table, aSupprimer) && Xi::Supprimer(table));
      Xi::RestaurerPosition(table);
    }
    if (ajouterPendant) {
      auto* f = static_cast<Fiche*>(table);
      f->Code += 1000;
      f->Nom[1] = static_cast<char>('A' + vus.size());
      EXPECT_TRUE(Xi::Inserer(table));
    }
    return vus.size() == arretApres;
  }
};

bool TraiterRoutine(intptr_t argument) { return reinterpret_cast<Visite*>(argument)->Traiter(0); }
bool CodesPairs(intptr_t argument) {
  return static_cast<Fiche*>(reinterpret_cast<Visite*>(argument)->table)->Code % 2 == 0;
}

}  // namespace

TEST_F(TableFiches, ParcourirVisitsWhatStillExists) {
  for (uint32_t i = 1; i <= 6; ++i) ASSERT_TRUE(Ajouter("n" + std::to_string(i), 7 - i));

  Visite suppression(t_);
  suppression.aSupprimer = 5;  // the second record of the walk by code
  EXPECT_FALSE(Xi::Parcourir(t_, kParCode, &TraiterRoutine, reinterpret_cast<intptr_t>(&suppression), nullptr,
                             0, false));
  EXPECT_EQ(suppression.vus, (V{6, 4, 3, 2, 1}));

  Visite arret(t_);
  arret.arretApres = 3;
  ASSERT_TRUE(Xi::AllerA(t_, 2));
  EXPECT_TRUE(
      Xi::Parcourir(t_, kParCode, &TraiterRoutine, reinterpret_cast<intptr_t>(&arret), nullptr, 0, true));
  EXPECT_EQ(arret.vus, (V{6, 4, 3}));
  EXPECT_EQ(Xi::NumeroCourant(t_), 2u);  // restored

  Visite filtre(t_);
  EXPECT_FALSE(Xi::ParcourirMethode(
      t_, 0, 0, MethodeXi<Visite, &Visite::Traiter>(&filtre),
      TypeMethodeXi{&filtre,
                    [](void* o, intptr_t) {
                      return static_cast<Fiche*>(static_cast<Visite*>(o)->table)->Code % 2 == 0;
                    }},
      0, false));
  EXPECT_EQ(filtre.vus, (V{1, 3}));  // codes 6 and 4

  Visite ajout(t_);
  ajout.ajouterPendant = true;
  EXPECT_FALSE(Xi::Parcourir(t_, kParCode, &TraiterRoutine, reinterpret_cast<intptr_t>(&ajout), &CodesPairs,
                             reinterpret_cast<intptr_t>(&ajout), false));
  EXPECT_EQ(ajout.vus, (V{3, 1}));  // codes 4 and 6; the records added meanwhile are not visited
  EXPECT_EQ(Xi::Nombre(t_), 7u);

  EXPECT_FALSE(Xi::Parcourir(nullptr, kParCode, &TraiterRoutine, 0, nullptr, 0, true));
}

namespace {

int32_t gSens = 1;

// A comparison of the caller's own that changes its mind between calls.
int32_t ComparerSelonSens(const void* a, const void* b, int32_t) {
  uint32_t x, y;
  std::memcpy(&x, a, 4);
  std::memcpy(&y, b, 4);
  return gSens * (x < y ? -1 : (x > y ? 1 : 0));
}

}  // namespace

TEST(XiOrdreIncoherent, DeletedRecordsLeaveEveryOrderEvenWhenTheComparisonChanges) {
  void* t = nullptr;
  Xi::Creer(t, 0, 8, 1);
  ASSERT_TRUE(Xi::DefinirOrdre(t, 1, 1, false));
  ASSERT_TRUE(Xi::DefinirColonne(t, 1, 1, t, 4, &ComparerSelonSens));
  gSens = 1;
  for (uint32_t i = 0; i < 600; ++i) {
    const uint32_t v = (i * 7919u) % 600u;
    std::memcpy(t, &v, 4);
    ASSERT_TRUE(Xi::Inserer(t));
  }
  gSens = -1;
  for (uint32_t n = 1; n <= 600; n += 3) {
    ASSERT_TRUE(Xi::AllerA(t, n));
    ASSERT_TRUE(Xi::Supprimer(t));
    ASSERT_TRUE(Xi::AllerA(t, n + 1));
    uint32_t v = 1000 + n;
    std::memcpy(t, &v, 4);
    ASSERT_TRUE(Xi::Modifier(t));
  }
  gSens = 1;
  std::vector<uint32_t> vus;
  for (bool ok = Xi::Premier(t, 1); ok; ok = Xi::Suivant(t, 1)) vus.push_back(Xi::NumeroCourant(t));
  std::sort(vus.begin(), vus.end());
  std::vector<uint32_t> restants;
  for (uint32_t n = 1; n <= 600; ++n)
    if (n % 3 != 1) restants.push_back(n);
  EXPECT_EQ(vus, restants);
  gSens = 1;
  Xi::Detruire(t);
}

// ---------------------------------------------------------------------------------------------------
// Nil handles and the per-thread state

TEST(XiEtat, NilHandlesAnswerWithoutTouchingAnything) {
  EXPECT_EQ(Xi::NumeroCourant(nullptr), 0u);
  EXPECT_EQ(Xi::Nombre(nullptr), 0u);
  Xi::SauverPosition(nullptr);
  EXPECT_FALSE(Xi::RestaurerPosition(nullptr));
  EXPECT_FALSE(Xi::AllerA(nullptr, 1));
  EXPECT_EQ(Xi::Chercher(nullptr, 1), 0u);
  EXPECT_FALSE(Xi::Suivant(nullptr, 1));
  EXPECT_FALSE(Xi::Inserer(nullptr));
  EXPECT_FALSE(Xi::Modifier(nullptr));
  EXPECT_FALSE(Xi::Supprimer(nullptr));
  EXPECT_EQ(Xi::Entete(nullptr), nullptr);
  Xi::Detruire(nullptr);
}

TEST(XiEtat, StateIsPerThread) {
  void* t = nullptr;
  Xi::Creer(t, 0, 8, 0);
  XiStatut = -5;
  XiOrdreDoublon = 3;
  int32_t statut = 99, doublon = 99;
  const TypeEnteteXi* courante = Xi::Entete(t);
  std::thread autre([&] {
    statut = XiStatut;
    doublon = XiOrdreDoublon;
    courante = Xi::XiTableCourante;
    XiStatut = 7;
  });
  autre.join();
  EXPECT_EQ(statut, 0);
  EXPECT_EQ(doublon, 0);
  EXPECT_EQ(courante, nullptr);
  EXPECT_EQ(XiStatut, -5);
  EXPECT_EQ(XiOrdreDoublon, 3);
  EXPECT_EQ(Xi::XiTableCourante, Xi::Entete(t));
  Xi::Detruire(t);
}

// ---------------------------------------------------------------------------------------------------
// Random changes against a plain model

namespace {

// Orders: 1 unique name (collation), 2 unique code, 3 group + value (many equal keys),
// 4 a key compared by a routine of the caller's own (no prefix), 5 reals (no prefix), 6 and 7 prefixes
// of several columns, 8 two cardinals that fill the 64-bit prefix and a byte left out of it.
struct Ligne {
  char Nom[10];
  uint8_t Groupe;
  uint8_t Libre;
  uint32_t Code;
  uint32_t Valeur;
  uint32_t Rang;
  double Reel;
};
static_assert(sizeof(Ligne) == 32);  // no padding: records are compared byte for byte

int32_t ComparerModulo(const void* a, const void* b, int32_t) {
  uint32_t x, y;
  std::memcpy(&x, a, 4);
  std::memcpy(&y, b, 4);
  x %= 7;
  y %= 7;
  return x < y ? -1 : (x > y ? 1 : 0);
}

struct Colonne {
  int32_t decalage, taille;
  TypeComparaison f;
};
const std::vector<std::vector<Colonne>> kOrdres = {
    {{offsetof(Ligne, Nom), 10, &Comparai::ComparerChaineCourte}},
    {{offsetof(Ligne, Code), 4, &Comparai::ComparerCardinal}},
    {{offsetof(Ligne, Groupe), 1, &Comparai::ComparerOctetDecroissant},
     {offsetof(Ligne, Valeur), 4, &Comparai::ComparerEntier}},
    {{offsetof(Ligne, Valeur), 4, &ComparerModulo}},
    {{offsetof(Ligne, Reel), 8, &Comparai::ComparerReels}},
    // Prefixes over several columns: a whole zone then a name; a short zone then a name.
    {{offsetof(Ligne, Code), 8, &Comparai::ComparerCardinaux},
     {offsetof(Ligne, Nom), 10, &Comparai::ComparerChaineCourte}},
    {{offsetof(Ligne, Groupe), 2, &Comparai::ComparerOctets},
     {offsetof(Ligne, Nom), 10, &Comparai::ComparerChaineCourte}},
    {{offsetof(Ligne, Valeur), 4, &Comparai::ComparerCardinal},
     {offsetof(Ligne, Rang), 4, &Comparai::ComparerCardinal},
     {offsetof(Ligne, Groupe), 1, &Comparai::ComparerOctet}},
};

int32_t ComparerModele(std::size_t o, const Ligne& a, const Ligne& b) {
  for (const Colonne& c : kOrdres[o]) {
    const auto* pa = reinterpret_cast<const uint8_t*>(&a) + c.decalage;
    const auto* pb = reinterpret_cast<const uint8_t*>(&b) + c.decalage;
    if (int32_t r = c.f(pa, pb, c.taille)) return r;
  }
  return 0;
}

}  // namespace

TEST(XiModele, RandomChangesKeepEveryOrderSorted) {
  void* t = nullptr;
  Xi::Creer(t, 0, sizeof(Ligne), static_cast<int32_t>(kOrdres.size()));
  ASSERT_NE(t, nullptr);
  for (std::size_t o = 0; o < kOrdres.size(); ++o) {
    const int32_t ordre = static_cast<int32_t>(o + 1);
    ASSERT_TRUE(Xi::DefinirOrdre(t, ordre, static_cast<int32_t>(kOrdres[o].size()), o < 2));
    for (std::size_t c = 0; c < kOrdres[o].size(); ++c)
      ASSERT_TRUE(Xi::DefinirColonne(t, ordre, static_cast<int32_t>(c + 1),
                                     static_cast<uint8_t*>(t) + kOrdres[o][c].decalage, kOrdres[o][c].taille,
                                     kOrdres[o][c].f));
  }
  auto* b = static_cast<Ligne*>(t);
  std::map<uint32_t, Ligne> modele;
  std::mt19937 random(99);
  const std::string lettres("aAbBeéÉE"_ansi);
  auto ligneAuHasard = [&] {
    Ligne l{};
    const int n = 1 + static_cast<int>(random() % 6);
    l.Nom[0] = static_cast<char>(n);
    for (int i = 0; i < n; ++i) l.Nom[1 + i] = lettres[random() % lettres.size()];
    l.Code = static_cast<uint32_t>(random() % 3000) * 0x01010101u;
    l.Groupe = static_cast<uint8_t>(random() % 4);
    l.Libre = static_cast<uint8_t>(random() % 2);
    l.Valeur = static_cast<uint32_t>(random() % 50) - 25;
    l.Reel = static_cast<double>(random() % 40) * 0.25;
    l.Rang = static_cast<uint32_t>(random() % 3);
    return l;
  };
  auto doublon = [&](const Ligne& l, uint32_t sauf) {
    for (const auto& [n, m] : modele)
      if (n != sauf && (ComparerModele(0, m, l) == 0 || ComparerModele(1, m, l) == 0)) return true;
    return false;
  };
  auto verifier = [&] {
    ASSERT_EQ(Xi::Nombre(t), modele.size());
    const TypeEnteteXi* h = Xi::Entete(t);
    const uint32_t plusHaut = modele.empty() ? 0 : modele.rbegin()->first;
    ASSERT_EQ(h->Nombre + h->NumerosLibres.Nombre, plusHaut);
    for (std::size_t o = 0; o <= kOrdres.size(); ++o) {
      std::vector<uint32_t> attendu;
      for (const auto& [n, m] : modele) attendu.push_back(n);
      if (o > 0)
        std::stable_sort(attendu.begin(), attendu.end(), [&](uint32_t x, uint32_t y) {
          return ComparerModele(o - 1, modele[x], modele[y]) < 0;
        });
      std::vector<uint32_t> vu;
      const int32_t ordre = static_cast<int32_t>(o);
      for (bool ok = Xi::Premier(t, ordre); ok; ok = Xi::Suivant(t, ordre)) {
        vu.push_back(Xi::NumeroCourant(t));
        ASSERT_EQ(std::memcmp(b, &modele[vu.back()], sizeof(Ligne)), 0);
      }
      ASSERT_EQ(vu, attendu) << "order " << o;
      for (std::size_t p = 0; p < attendu.size(); p += 7)
        ASSERT_EQ(Xi::PositionDeNumero(t, attendu[p], ordre), p + 1) << "order " << o;
      if (o == 0 || attendu.empty()) continue;
      // A search lands on the first record whose key is not below the probe.
      const Ligne sonde = ligneAuHasard();
      const auto premier = std::partition_point(attendu.begin(), attendu.end(), [&](uint32_t n) {
        return ComparerModele(o - 1, modele[n], sonde) < 0;
      });
      std::memcpy(b, &sonde, sizeof(Ligne));
      ASSERT_EQ(Xi::Chercher(t, ordre), static_cast<uint32_t>(premier - attendu.begin()) + 1);
      ASSERT_EQ(Xi::NumeroCourant(t), premier == attendu.end() ? 0u : *premier);
    }
  };

  for (int etape = 0; etape < 4000; ++etape) {
    const int choix = static_cast<int>(random() % 10);
    if (choix < 5 || modele.size() < 5) {
      const Ligne l = ligneAuHasard();
      std::memcpy(b, &l, sizeof(Ligne));
      const bool attendu = !doublon(l, 0);
      ASSERT_EQ(Xi::Inserer(t), attendu);
      if (attendu) modele[Xi::NumeroCourant(t)] = l;
    } else {
      auto it = modele.begin();
      std::advance(it, random() % modele.size());
      ASSERT_TRUE(Xi::AllerA(t, it->first));
      if (choix < 8) {
        Ligne l = ligneAuHasard();
        if (random() % 2) std::memcpy(l.Nom, it->second.Nom, sizeof l.Nom);
        std::memcpy(b, &l, sizeof(Ligne));
        const bool attendu = !doublon(l, it->first);
        ASSERT_EQ(Xi::Modifier(t), attendu);
        if (attendu) it->second = l;
      } else {
        ASSERT_TRUE(Xi::Supprimer(t));
        modele.erase(it);
      }
    }
    if (etape % 400 == 0) verifier();
  }
  verifier();
  while (!modele.empty()) {
    ASSERT_TRUE(Xi::AllerA(t, modele.begin()->first));
    ASSERT_TRUE(Xi::Supprimer(t));
    modele.erase(modele.begin());
  }
  verifier();
  EXPECT_EQ(Xi::Entete(t)->NombreBlocs, 0u);
  Xi::Detruire(t);
}
