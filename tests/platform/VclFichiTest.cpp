#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/vclfichi.h"

namespace {

using Lignes = std::vector<std::string>;

// A file whose four events write their name to Vus, with the sender checked.
struct Fichier : ::testing::Test {
  void SetUp() override {
    auto noter = [this](const char* nom) {
      return [this, nom](TComponent* s) { vus.push_back(std::string(nom) + (s == &f ? "" : " ?")); };
    };
    f.OnCharge = noter("charge");
    f.OnModifie = noter("modifie");
    f.OnNomFichier = noter("nom");
    f.OnActivation = noter("active");
  }
  TFichier f;
  Lignes vus;
};

TEST_F(Fichier, CreatedWithEveryFlagFalseAndEmptyNames) {
  TFichier g;
  EXPECT_FALSE(g.Charge() || g.Modifie() || g.Active() || g.Consulte);
  EXPECT_EQ(g.NomFichier(), "");
  EXPECT_EQ(g.Repertoire(), "");
}

TEST_F(Fichier, UnloadingAModifiedBaseRaisesOnChargeThenOnModifieAndClearsModifie) {
  f.SetCharge(true);
  f.SetModifie(true);
  vus.clear();
  f.SetCharge(false);
  EXPECT_EQ(vus, (Lignes{"charge", "modifie"}));
  EXPECT_FALSE(f.Modifie());
  // Unloading an unloaded base that was marked modified still clears the mark.
  f.SetModifie(true);
  vus.clear();
  f.SetCharge(false);
  EXPECT_EQ(vus, (Lignes{"modifie"}));
  EXPECT_FALSE(f.Modifie());
}

TEST_F(Fichier, SettingAValueItAlreadyHasRaisesNothing) {
  f.SetCharge(false);
  f.SetModifie(false);
  f.SetActive(false);
  f.SetNomFichier("");
  EXPECT_TRUE(vus.empty());
  f.SetCharge(true);
  f.SetCharge(true);
  f.SetActive(true);
  f.SetActive(true);
  f.SetNomFichier("base.smp");
  f.SetNomFichier("base.smp");
  f.SetNomFichier("BASE.smp");  // an exact comparison
  f.Consulte = true;            // only stored
  EXPECT_EQ(vus, (Lignes{"charge", "active", "nom", "nom"}));
  EXPECT_TRUE(f.Charge() && f.Active());
  EXPECT_EQ(f.NomFichier(), "BASE.smp");
}

TEST_F(Fichier, TheFolderLosesOneTrailingBackslashButADriveRootKeepsIt) {
  const struct {
    const char* donne;
    const char* lu;
  } cas[] = {{"C:\\Bases\\", "C:\\Bases"}, {"C:\\", "C:\\"}, {"C:\\Bases\\\\", "C:\\Bases\\"}, {"\\", ""},
             {"/srv/bases", "/srv/bases"}, {"", ""}};
  for (const auto& c : cas) {
    TFichier g;
    g.SetRepertoire(c.donne);
    EXPECT_EQ(g.Repertoire(), c.lu) << c.donne;
  }
  // The first folder is stored even when it is empty; setting the same one again raises nothing.
  f.SetRepertoire("");
  f.SetRepertoire("D:\\Emplois\\");
  f.SetRepertoire("D:\\Emplois");
  EXPECT_EQ(vus, (Lignes{"nom", "nom"}));
}

TEST_F(Fichier, EventsGoOnlyWhenAssignedAndDestructionRaisesNothing) {
  {
    TFichier g;
    g.SetCharge(true);  // no event assigned
    g.SetModifie(true);
    g.OnModifie = [&](TComponent*) { vus.push_back("detruit"); };
  }
  EXPECT_TRUE(vus.empty());
}

}  // namespace
