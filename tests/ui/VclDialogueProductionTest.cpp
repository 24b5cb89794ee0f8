#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/Patience.h"
#include "platform/ui/VclDialogue.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/VclDialogue.h"

namespace {

// The cases of the headless queue, run against the real windows under the production driver: the
// same answers and the same log lines. Captures the lines the dialog writes for the test's life.
class DialogueFenetresProduction : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    Application().DefinirPiloteModal(nullptr);
    ASSERT_NE(VclDialogue::ModeleMessage(), nullptr);
    VclDialogue::DefinirNomProgramme("TEMPRAVO");
    VclDialogue::DefinirSortie([this](const std::string& l) { lignes.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    FenetresEssai::TearDown();
  }
  std::vector<std::string> lignes;
};

TEST_F(DialogueFenetresProduction, ANonInteractiveCallerGetsOkOrYesWithoutAnyMessage) {
  const struct { uint8_t boutons; int32_t attendu; } cas[] = {{8, 1}, {12, 1}, {3, 6}, {5, 6}, {7, 6}, {195, 6}, {0, 6}};
  for (const auto& c : cas)
    EXPECT_EQ(VclDialogue::AfficherMessage(false, "t", "", 0, c.boutons, true), c.attendu) << int(c.boutons);
  EXPECT_TRUE(lignes.empty());
  EXPECT_EQ(VclDialogue::MessagesEnAttente(), 0);
}

TEST_F(DialogueFenetresProduction, AWaitingMessageIsWrittenAndAnsweredByItsDefaultButtonAtOnce) {
  const struct { uint8_t boutons; int32_t attendu; } cas[] = {
      {3, 6}, {5, 6}, {7, 6}, {8, 1}, {12, 1}, {195, 6}, {99, 2}};
  for (const auto& c : cas)
    EXPECT_EQ(VclDialogue::AfficherMessage(true, "texte", "titre", 3, c.boutons, true), c.attendu) << int(c.boutons);
  ASSERT_EQ(lignes.size(), std::size(cas));
  EXPECT_EQ(lignes[0], "TEMPRAVO - Information : titre : texte");
}

TEST_F(DialogueFenetresProduction, TheCaptionFollowsTheKindAndTheButtons) {
  EXPECT_EQ(VclDialogue::Legende(0, 8), "TEMPRAVO - Information");
  EXPECT_EQ(VclDialogue::Legende(0, 3), "TEMPRAVO - Confirmation");
  EXPECT_EQ(VclDialogue::Legende(5, 8), "TEMPRAVO - Alerte");
  EXPECT_EQ(VclDialogue::Legende(6, 8), "");
}

TEST_F(DialogueFenetresProduction, OnlyTheLowerCaseLineBreakMarkBreaksATitle) {
  VclDialogue::AfficherMessage(true, "a\\crlf\\b", "x\\CRLF\\y", 6, 8, true);
  ASSERT_EQ(lignes.size(), 1u);
  EXPECT_EQ(lignes[0], "x\\CRLF\\y : a / b");
}

TEST_F(DialogueFenetresProduction, QueuedMessagesAreShownOldestFirstByTheNextShowing) {
  VclDialogue::AfficherMessageTemporise("un", "", 15000, 0, 8, false);
  VclDialogue::AfficherMessageTemporise("deux", "", 15000, 0, 8, false);
  EXPECT_EQ(VclDialogue::MessagesEnAttente(), 2);
  EXPECT_TRUE(lignes.empty());
  VclDialogue::AfficherMessageTemporise("trois", "", 15000, 0, 8, true);
  ASSERT_EQ(lignes.size(), 3u);
  EXPECT_NE(lignes[0].find("un"), std::string::npos);
  EXPECT_NE(lignes[1].find("deux"), std::string::npos);
  EXPECT_NE(lignes[2].find("trois"), std::string::npos);
  EXPECT_EQ(VclDialogue::MessagesEnAttente(), 0);
}

TEST_F(DialogueFenetresProduction, AMessageAskedForWhileOneIsShownOnlyQueuesAndComesNext) {
  int32_t interieur = -1;
  VclDialogue::DefinirSortie([&](const std::string& l) {
    lignes.push_back(l);
    if (lignes.size() == 1) {
      EXPECT_TRUE(VclDialogue::MessageEnCours());
      interieur = VclDialogue::AfficherMessage(true, "second", "", 3, 8, true);
    }
  });
  EXPECT_EQ(VclDialogue::AfficherMessage(true, "premier", "", 3, 3, true), 1);  // the last shown: OK
  EXPECT_EQ(interieur, 2);
  ASSERT_EQ(lignes.size(), 2u);
  EXPECT_NE(lignes[1].find("second"), std::string::npos);
  EXPECT_FALSE(VclDialogue::MessageEnCours());
}

TEST_F(DialogueFenetresProduction, AWaitStepWritesItsTextAndPassesItsFailureOn) {
  bool fait = false;
  Patience::Patienter("Chargement", [&] { fait = true; });
  EXPECT_TRUE(fait);
  EXPECT_THROW(Patience::Patienter("Echec", [] { throw std::runtime_error("x"); }), std::runtime_error);
  Patience::AfficherCompteRendu("Titre", "Texte", "l1\r\nl2\r\n");
  EXPECT_EQ(lignes, (std::vector<std::string>{"Chargement", "Echec", "Titre : Texte", "l1", "l2", "Fin de traitement"}));
}

}  // namespace
