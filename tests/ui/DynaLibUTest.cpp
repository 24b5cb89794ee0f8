#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/gui/Bibliotheques.h"
#include "platform/ui/BoiteMessage.h"
#include "platform/ui/VclDialogue.h"
#include "ui/DynaLibU.h"

namespace {

int entreeFictive = 0;

// A loader that knows one library, with or without its entry, and counts what is held.
class ChargeurEssai : public TChargeurBibliotheques {
 public:
  bool AvecEntree = true;
  std::vector<std::string> Demandes;
  int Tenus = 0;
  uintptr_t Charger(const std::string& Nom) override {
    Demandes.push_back(Nom);
    if (Nom != "DUNZIP32.DLL") return 0;
    ++Tenus;
    return 0x4000;
  }
  void* Adresse(uintptr_t Module, const std::string& Entree) override {
    return Module == 0x4000 && AvecEntree && Entree == "dunzip" ? &entreeFictive : nullptr;
  }
  void Liberer(uintptr_t Module) override {
    if (Module == 0x4000) --Tenus;
  }
};

class Unzip : public ::testing::Test {
 protected:
  void SetUp() override {
    VclDialogue::DefinirSortie([this](const std::string& l) { journal.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    Bibliotheques::Installer(nullptr);
  }
  std::vector<std::string> journal;
};

TEST_F(Unzip, TheProductionLoaderFindsNoLibraryAndTheComponentIsCreatedSilently) {
  TUnzipFile u(nullptr);
  EXPECT_EQ(DynaLibU::Module(), 0u);
  EXPECT_EQ(DynaLibU::EntreeDunzip(), nullptr);
  EXPECT_NE(u.BlocCommande(), nullptr);
  EXPECT_EQ(u.Options, 0);
  EXPECT_EQ(u.IndexofItem, 0);
  EXPECT_TRUE(journal.empty());
}

TEST_F(Unzip, ALibraryWithItsEntryIsBoundAndReleasedWithTheComponent) {
  ChargeurEssai chargeur;
  Bibliotheques::Installer(&chargeur);
  {
    TUnzipFile u(nullptr);
    EXPECT_EQ(chargeur.Demandes, (std::vector<std::string>{"DUNZIP32.DLL"}));
    EXPECT_EQ(DynaLibU::Module(), 0x4000u);
    EXPECT_EQ(DynaLibU::EntreeDunzip(), &entreeFictive);
    EXPECT_EQ(chargeur.Tenus, 1);
  }
  EXPECT_EQ(chargeur.Tenus, 0);
  EXPECT_EQ(DynaLibU::EntreeDunzip(), nullptr);
  EXPECT_TRUE(journal.empty());
}

TEST_F(Unzip, ALibraryWithoutItsEntryWarnsAndEndsTheProgramWithStatusOne) {
  ChargeurEssai chargeur;
  chargeur.AvecEntree = false;
  Bibliotheques::Installer(&chargeur);
  try {
    TUnzipFile u(nullptr);
    FAIL() << "created";
  } catch (const EArretProgramme& e) {
    EXPECT_EQ(e.Code(), 1);
    EXPECT_EQ(e.Message(), "Could not load dunzip function!");
  }
  EXPECT_EQ(journal, (std::vector<std::string>{" : Could not load dunzip function!"}));
  EXPECT_EQ(chargeur.Tenus, 0);
}

TEST_F(Unzip, TheSevenSettingsAreSetToOne) {
  DynaLibU::InitialiserReglages();
  for (int i = 0; i < DynaLibU::kNombreReglages; ++i) EXPECT_EQ(DynaLibU::Reglage(i), 1) << i;
  EXPECT_THROW((void)DynaLibU::Reglage(7), std::out_of_range);
}

TEST_F(Unzip, TheMessageBoxIsLoggedAndAnswersItsDefaultButtonWithoutAUser) {
  EXPECT_EQ(BoiteMessage::Afficher("Texte", "Titre", BoiteMessage::MB_OK), mrOk);
  EXPECT_EQ(BoiteMessage::Afficher("Encore ?", "Titre", BoiteMessage::MB_YESNO), mrYes);
  EXPECT_EQ(journal, (std::vector<std::string>{"Titre : Texte", "Titre : Encore ?"}));
}

}  // namespace
