// Request codes: the stack of requests in progress and the names of the codes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "base/SupTraitement.h"
#include "objectdb/Traduction.h"

namespace {

struct PileVide {
  PileVide() {
    while (SupTraitement::Profondeur() > 0) SupTraitement::DepilerTraitement();
  }
  ~PileVide() {
    while (SupTraitement::Profondeur() > 0) SupTraitement::DepilerTraitement();
  }
};

TEST(SupTraitementPile, GrowsBy50AndShrinksWithAHysteresisOf100) {
  PileVide vide;
  EXPECT_EQ(SupTraitement::TraitementCourant(), 0u);
  SupTraitement::DepilerTraitement();  // nothing on an empty stack
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
  EXPECT_EQ(SupTraitement::EmpilerTraitement(0x80280100), 1u);
  EXPECT_EQ(SupTraitement::EmpilerTraitement(0x80290001), 2u);
  EXPECT_EQ(SupTraitement::TraitementCourant(), 0x80280100u) << "the outermost request";
  for (uint32_t i = 3; i <= 50; ++i) SupTraitement::EmpilerTraitement(i);
  EXPECT_EQ(SupTraitement::Capacite(), 50);
  SupTraitement::EmpilerTraitement(51);
  EXPECT_EQ(SupTraitement::Capacite(), 100);
  for (uint32_t i = 52; i <= 150; ++i) SupTraitement::EmpilerTraitement(i);
  EXPECT_EQ(SupTraitement::Capacite(), 150);
  while (SupTraitement::Profondeur() > 50) SupTraitement::DepilerTraitement();
  EXPECT_EQ(SupTraitement::Capacite(), 150) << "depth 50 + 100 is not below 150";
  SupTraitement::DepilerTraitement();
  EXPECT_EQ(SupTraitement::Profondeur(), 49u);
  EXPECT_EQ(SupTraitement::Capacite(), 100);
  EXPECT_EQ(SupTraitement::TraitementCourant(), 0x80280100u);
}

TEST(SupTraitementNoms, FixedNamesTranslatedKeysAndUnknownCodes) {
  Traduction::DefinirTexte("SupTraitementModifStatutPlace", "Changement de statut");
  Traduction::DefinirTexte("SupTraitementInconnu", "Traitement inconnu (%d)");
  const struct {
    uint32_t code;
    const char* nom;
  } cas[] = {
      {0x80280100, "CM_CREER_PAYS"},
      {0x80000000, "CM_CREER_STRUCTURES_PAR_DEFAUT"},
      {0x80360303, "CM_SUPPRIMER_RELATION_APPORT_PERIODE_DE_CALENDRIER"},
      {0x80190404, "CM_CASSER_COURS"},
      {0x8019021B, "Changement de statut"},
      {0x8019021C, "Changement de statut"},
      {0x80010401, "Traitement inconnu (-2147417087)"},
      {0x80280204, "Traitement inconnu (-2144861692)"},
      {0x800100FF, ""},  // a key that the language module lacks
  };
  for (const auto& c : cas) {
    std::string nom = "avant";
    SupTraitement::NomTraitement(c.code, nom);
    EXPECT_EQ(nom, c.nom) << std::hex << c.code;
  }
  Traduction::DefinirTexte("SupTraitementInconnu", "Code %s");  // not a format for an integer
  std::string nom;
  SupTraitement::NomTraitement(0x80010401, nom);
  EXPECT_EQ(nom, "Code %s");
  Traduction::Vider();
}

// 399 fixed names and 109 dictionary keys: those of the course-side files (table code 19 but its
// codes 0404 and 0405; 1A to 1F, 20, 21, 26, 27) and two base parameters.
TEST(SupTraitementNoms, TheTableHoldsEveryNamedCodeOnce) {
  std::size_t nombre = 0;
  const SupTraitement::TypeNomTraitement* noms = SupTraitement::NomsTraitements(nombre);
  ASSERT_EQ(nombre, 508u);
  std::size_t fixes = 0;
  std::set<uint32_t> tablesACles;
  for (std::size_t i = 0; i < nombre; ++i) {
    const std::string_view nom(noms[i].Nom);
    if (i > 0) {
      EXPECT_LT(noms[i - 1].Code, noms[i].Code) << "sorted, each code once";
    }
    EXPECT_EQ(noms[i].Code >> 24, 0x80u);
    if (nom.starts_with("CM_")) {
      ++fixes;
    } else {
      EXPECT_TRUE(nom.starts_with("SupTraitement")) << nom;
      if (noms[i].Code != 0x800100FF && noms[i].Code != 0x80010303) tablesACles.insert((noms[i].Code >> 16) & 0xFF);
    }
  }
  EXPECT_EQ(fixes, 399u);
  EXPECT_EQ(tablesACles, (std::set<uint32_t>{0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x26, 0x27}));
}

}  // namespace
