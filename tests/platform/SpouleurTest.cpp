#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/Spouleur.h"

namespace {

TImprimanteScriptee Laser() {
  TImprimanteScriptee i;
  i.Nom = "Laser";
  i.Ports = "LPT1:, FILE:";
  i.Pilote = "PCL";
  i.Mode.Fields = TDeviceMode::kOrientation | TDeviceMode::kCopies;
  i.Mode.Orientation = TDeviceMode::kPortrait;
  i.Metriques.DotsPerInchX = 600;
  i.Metriques.DotsPerInchY = 300;
  i.Metriques.PrintableWidth = 4800;
  i.Metriques.PrintableHeight = 6600;
  return i;
}

// Installs a spooler for the test's life.
struct Installe {
  explicit Installe(TSpouleur* S) : ancien(Spouleur::Installer(S)) {}
  ~Installe() { Spouleur::Installer(ancien); }
  TSpouleur* ancien;
};

TEST(Spouleur, ProductionHasNoPrinterAndOpensNothing) {
  TSpouleur& s = Spouleur::Actuel();
  std::vector<TInfoImprimante> liste{{"reste", "", "", 0}};
  EXPECT_TRUE(s.EnumererImprimantes(Spouleur::PRINTER_ENUM_LOCAL, 5, liste));
  EXPECT_TRUE(liste.empty());
  std::string nom = "reste";
  EXPECT_EQ(s.ImprimanteParDefaut(nom), 0u);
  EXPECT_EQ(nom, "");
  EXPECT_EQ(s.LireProfil("windows", "device"), "");
  uintptr_t h = 0;
  EXPECT_FALSE(s.OuvrirImprimante("Laser", h));
  EXPECT_EQ(s.CreerContexte("", "Laser", "", nullptr, true), nullptr);
}

TEST(Spouleur, InstallingAnswersTheFormerSpoolerAndNilRestoresProduction) {
  TSpouleurScripte scripte;
  TSpouleur* production = &Spouleur::Actuel();
  EXPECT_EQ(Spouleur::Installer(&scripte), nullptr);
  EXPECT_EQ(&Spouleur::Actuel(), &scripte);
  EXPECT_EQ(Spouleur::Installer(nullptr), &scripte);
  EXPECT_EQ(&Spouleur::Actuel(), production);
}

TEST(Spouleur, ScriptedEnumerationGivesPortListsAtLevelFiveOnlyAndCanFail) {
  TSpouleurScripte s;
  s.Imprimantes.push_back(Laser());
  std::vector<TInfoImprimante> liste;
  ASSERT_TRUE(s.EnumererImprimantes(Spouleur::PRINTER_ENUM_LOCAL | Spouleur::PRINTER_ENUM_CONNECTIONS, 4, liste));
  ASSERT_EQ(liste.size(), 1u);
  EXPECT_EQ(liste[0].Nom, "Laser");
  EXPECT_EQ(liste[0].Ports, "");
  ASSERT_TRUE(s.EnumererImprimantes(Spouleur::PRINTER_ENUM_LOCAL, 5, liste));
  EXPECT_EQ(liste[0].Ports, "LPT1:, FILE:");
  s.EchecEnumeration = true;
  EXPECT_FALSE(s.EnumererImprimantes(Spouleur::PRINTER_ENUM_LOCAL, 5, liste));
  EXPECT_TRUE(liste.empty());
  EXPECT_EQ(s.Journal, (std::vector<std::string>{"Enumerer 6/4", "Enumerer 2/5", "Enumerer 2/5"}));
}

TEST(Spouleur, ScriptedHandlesModesAndContextsAreCountedUntilReleased) {
  TSpouleurScripte s;
  s.Imprimantes.push_back(Laser());
  uintptr_t h = 0;
  ASSERT_TRUE(s.OuvrirImprimante("Laser", h));
  EXPECT_EQ(s.PoigneesOuvertes(), 1);
  TDeviceMode m;
  ASSERT_TRUE(s.ModeParDefaut(h, "Laser", m));
  EXPECT_EQ(m, Laser().Mode);
  s.FermerImprimante(h);
  EXPECT_EQ(s.PoigneesOuvertes(), 0);
  EXPECT_FALSE(s.ModeParDefaut(h, "Laser", m));  // closed handle
  EXPECT_FALSE(s.OuvrirImprimante("Absente", h));

  m.Orientation = TDeviceMode::kLandscape;
  {
    auto c = s.CreerContexte("PCL", "Laser", "LPT1:", &m, true);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(s.ContextesOuverts(), 1);
    EXPECT_TRUE(c->Information());
    // A landscape mode exchanges the sides.
    EXPECT_EQ(c->Metriques().PrintableWidth, 6600);
    EXPECT_EQ(c->Metriques().DotsPerInchX, 300);
    EXPECT_FALSE(c->DebuterDocument("info"));  // an information context prints nothing
  }
  EXPECT_EQ(s.ContextesOuverts(), 0);
  EXPECT_EQ(s.DernierMode, m);
  s.EchecContexte = true;
  EXPECT_EQ(s.CreerContexte("PCL", "Laser", "", nullptr, false), nullptr);
}

TEST(Spouleur, ScriptedDeviceContextRecordsEachPageOfADocument) {
  TSpouleurScripte s;
  s.Imprimantes.push_back(Laser());
  auto c = s.CreerContexte("PCL", "Laser", "", nullptr, false);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Metriques().PrintableWidth, 4800);
  EXPECT_EQ(c->DebuterPage(), nullptr);  // outside a document
  ASSERT_TRUE(c->DebuterDocument("Emploi du temps"));
  EXPECT_FALSE(c->DebuterDocument("autre"));
  TCanvas* page = c->DebuterPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(c->DebuterPage(), nullptr);  // inside a page
  page->TextOut(10, 20, "Lundi");
  ASSERT_TRUE(c->TerminerPage());
  EXPECT_FALSE(c->TerminerPage());
  ASSERT_NE(c->DebuterPage(), nullptr);
  ASSERT_TRUE(c->TerminerDocument());  // ends the open page with it
  ASSERT_EQ(s.Documents.size(), 1u);
  EXPECT_EQ(s.Documents[0].Titre, "Emploi du temps");
  ASSERT_EQ(s.Documents[0].Pages.size(), 2u);
  EXPECT_NE(s.Documents[0].Pages[0].find("Text 10,20 \"Lundi\""), std::string::npos);
  EXPECT_EQ(s.Documents[0].Pages[1], "");
  EXPECT_TRUE(s.Documents[0].Termine);

  ASSERT_TRUE(c->DebuterDocument("abandonné"));
  ASSERT_NE(c->DebuterPage(), nullptr);
  ASSERT_TRUE(c->AbandonnerDocument());
  EXPECT_TRUE(s.Documents[1].Abandonne);
  EXPECT_TRUE(s.Documents[1].Pages.empty());
  EXPECT_FALSE(c->TerminerDocument());
}

}  // namespace
