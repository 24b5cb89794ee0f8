// Resource strings: their map ("DRC") written from the registered strings, the refusal of two
// strings that would share an id or a name, and the built-in text when nobody translates.
#include <gtest/gtest.h>

#include "core/objects/Exceptions.h"
#include "core/values/ChaineRessource.h"
#include "core/values/ChaineUnicode.h"

namespace {
const TChaineRessource kA{"ChaineRessourceTest_RS_A", 64730, "Ligne \"1\"\r\nLigne\\2"};
const TChaineRessource kMemeId{"ChaineRessourceTest_RS_MemeId", 64730, "x"};
const TChaineRessource kMemeNom{"ChaineRessourceTest_RS_A", 64731, "x"};
const TChaineRessource kHorsBornes{"ChaineRessourceTest_RS_Hors", 64719, "x"};
}  // namespace

TEST(ChaineRessource, TheMapListsEveryStringInIdOrderWithItsEscapedText) {
  static const TChaineRessource* const kChaines[] = {&kA};
  ChaineRessource::Enregistrer(kChaines);
  ChaineRessource::Enregistrer(kChaines);  // the same string again changes nothing
  const std::string drc = ChaineRessource::TexteDRC();
  EXPECT_NE(drc.find("\r\n#define ChaineRessourceTest_RS_A 64730\r\n"), std::string::npos) << drc;
  EXPECT_NE(drc.find("\r\n#define ChaineUnicode_RS_PageDeCodeInconnue_D 65535\r\n"), std::string::npos) << drc;
  EXPECT_NE(drc.find("\r\nSTRINGTABLE\r\nBEGIN\r\n\tChaineRessourceTest_RS_A,\t\"Ligne \\\"1\\\"\\r\\nLigne\\\\2\"\r\n"),
            std::string::npos)
      << drc;
  EXPECT_TRUE(drc.ends_with("\t\"La page de code %d n'est pas install\xE9" "e\"\r\nEND\r\n")) << drc;
  EXPECT_EQ(ChaineRessource::ParId(64730), &kA);
  EXPECT_EQ(ChaineRessource::ParId(64729), nullptr);
}

TEST(ChaineRessource, AnIdOrANameTakenByAnotherStringOrAnIdOutOfRangeIsRefused) {
  static const TChaineRessource* const kChaines[] = {&kA};
  ChaineRessource::Enregistrer(kChaines);
  for (const TChaineRessource* c : {&kMemeId, &kMemeNom, &kHorsBornes}) {
    const TChaineRessource* const une[] = {c};
    EXPECT_THROW(ChaineRessource::Enregistrer(une), EConvertError) << c->Nom;
  }
  EXPECT_EQ(ChaineRessource::ParId(64731), nullptr);
}

TEST(ChaineRessource, WithoutATranslatorAStringIsItsBuiltInText) {
  EXPECT_EQ(ChaineRessource::Charger(kA), kA.TexteIntegre);
  EXPECT_EQ(ChaineRessource::Charger(ChaineUnicode::RS_PageDeCodeInconnue_D), "La page de code %d n'est pas install\xE9" "e");
}

TEST(ChaineRessource, ATranslationThatDoesNotFitItsArgumentsGivesWayToTheBuiltInText) {
  static const TChaineRessource kTaille{"ChaineRessourceTest_RS_Taille_D", 64732, "Trop grand : %d Ko"};
  const auto avant = ChaineRessource::Traducteur();
  ChaineRessource::DefinirTraducteur([](const TChaineRessource& c, std::string& t) {
    t = c.Id == 64732 ? "Taille %s Ko" : "Autre %d";
    return true;
  });
  EXPECT_EQ(ChaineRessource::ChargerFormate(kTaille, {100}), "Trop grand : 100 Ko");
  EXPECT_EQ(ChaineRessource::ChargerFormate(ChaineUnicode::RS_PageDeCodeInconnue_D, {7}), "Autre 7");
  ChaineRessource::DefinirTraducteur(avant);
  EXPECT_EQ(ChaineRessource::Traducteur(), avant);
}
