#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/values/Ansi1252.h"
#include "platform/gui/Fiches.h"
#include "ui/VclCanva.h"
#include "ui/vclprint.h"

namespace {

using Lignes = std::vector<std::string>;

TImprimanteScriptee Imprimante(const std::string& Nom, const std::string& Ports = "") {
  TImprimanteScriptee i;
  i.Nom = Nom;
  i.Ports = Ports;
  i.Mode.Fields = TDeviceMode::kOrientation | TDeviceMode::kCopies;
  i.Mode.Orientation = TDeviceMode::kPortrait;
  i.Metriques.DotsPerInchX = i.Metriques.DotsPerInchY = 600;
  i.Metriques.PrintableWidth = 4800;
  i.Metriques.PrintableHeight = 6600;
  return i;
}

// A scripted spooler with a fresh printer object of the unit for each test.
class Imprimantes : public ::testing::Test {
 protected:
  void SetUp() override {
    vclprint::Finaliser();
    ancien = Spouleur::Installer(&spouleur);
    vclprint::Initialiser();
  }
  void TearDown() override {
    vclprint::Finaliser();
    EXPECT_EQ(spouleur.PoigneesOuvertes(), 0);
    EXPECT_EQ(spouleur.ContextesOuverts(), 0);
    Spouleur::Installer(ancien);
    vclprint::Initialiser();
  }
  void UneImprimante() {
    spouleur.Imprimantes.push_back(Imprimante("Laser"));
    spouleur.ParDefaut = "Laser";
  }
  TSpouleurScripte spouleur;
  TSpouleur* ancien = nullptr;
};

std::string Message(const std::function<void()>& F) {
  try {
    F();
  } catch (const EVokPrinter& e) {
    return e.Message();
  }
  return "(rien)";
}

TEST_F(Imprimantes, TheNTFamilyListsPrintersByNameAndTheOlderOneOneEntryPerPort) {
  spouleur.Imprimantes = {Imprimante("Laser", "LPT1:, FILE:"), Imprimante("Jet", "COM1:")};
  TVokPrinter nt;
  const auto& l = nt.ListeImprimantes();
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0].Nom, "Laser");
  EXPECT_EQ(l[0].Device.Device, "Laser");
  EXPECT_EQ(l[0].Device.Port, "");
  EXPECT_EQ(&nt.ListeImprimantes(), &l);  // built once

  spouleur.NT = false;
  TVokPrinter ancienne;
  Lignes noms, ports;
  for (const auto& e : ancienne.ListeImprimantes()) noms.push_back(e.Nom), ports.push_back(e.Device.Port);
  EXPECT_EQ(noms, (Lignes{"Laser sur LPT1:", "Laser sur FILE:", "Jet sur COM1:"}));
  EXPECT_EQ(ports, (Lignes{"LPT1:", "FILE:", "COM1:"}));
  EXPECT_EQ(spouleur.Journal, (Lignes{"Enumerer 6/4", "Enumerer 2/5"}));

  spouleur.EchecEnumeration = true;
  TVokPrinter vide;
  EXPECT_TRUE(vide.ListeImprimantes().empty());
}

TEST_F(Imprimantes, TheDefaultPrinterIsTheSpoolersOrTheProfilesAndIsSelectedWithItsDefaultMode) {
  spouleur.Imprimantes = {Imprimante("Jet"), Imprimante("Laser")};
  spouleur.Imprimantes[1].Mode.Fields |= TDeviceMode::kCollate;
  spouleur.ParDefaut = "Laser";
  TVokPrinter p;
  EXPECT_EQ(p.IndiceImprimante(), 1);
  ASSERT_NE(p.ModePeripherique(), nullptr);
  EXPECT_EQ(*p.ModePeripherique(), spouleur.Imprimantes[1].Mode);
  EXPECT_EQ(p.Capacites(), TVokPrinter::pcCopies | TVokPrinter::pcOrientation | TVokPrinter::pcCollation);
  EXPECT_TRUE(p.PoigneeOuverte());
  EXPECT_FALSE(p.Paysage());

  // The older family names it in the profile, up to its first comma.
  spouleur.ParDefaut.clear();
  spouleur.Profil[{"windows", "device"}] = "Jet,PCL,LPT1:";
  TVokPrinter q;
  EXPECT_EQ(q.IndiceImprimante(), 0);
}

TEST_F(Imprimantes, WithoutADefaultPrinterEveryRouteSaysSo) {
  const std::string attendu("Aucune imprimante par défaut sélectionnée"_ansi);
  spouleur.Imprimantes = {Imprimante("Laser")};
  {
    TVokPrinter p;  // no default and an empty profile value
    EXPECT_EQ(Message([&] { p.IndiceImprimante(); }), attendu);
    EXPECT_EQ(p.Etat(), TVokPrinter::EtatAucun);
  }
  spouleur.ParDefaut = "Absente";  // named but not listed
  EXPECT_EQ(Message([] { TVokPrinter().IndiceImprimante(); }), attendu);
  spouleur.ErreurParDefaut = Spouleur::ERROR_INVALID_NAME;
  EXPECT_EQ(Message([] { TVokPrinter().IndiceImprimante(); }), attendu);
  spouleur.ErreurParDefaut = 5;  // any other failure is the platform's
  EXPECT_THROW(TVokPrinter().IndiceImprimante(), EOSError);
  // The production spooler has no printer at all.
  Spouleur::Installer(nullptr);
  EXPECT_EQ(Message([] { TVokPrinter().LargeurPage(); }), attendu);
  Spouleur::Installer(&spouleur);
}

TEST_F(Imprimantes, ContextsFollowTheStatesAndStateOneAskedInStateTwoKeepsTheDeviceContext) {
  UneImprimante();
  TVokPrinter p;
  EXPECT_EQ(p.LargeurPage(), 4800);
  EXPECT_EQ(p.HauteurPage(), 6600);
  EXPECT_EQ(p.Etat(), TVokPrinter::EtatInformation);
  ASSERT_NE(p.Contexte(), nullptr);
  EXPECT_TRUE(p.Contexte()->Information());
  EXPECT_EQ(spouleur.DernierMode, *p.ModePeripherique());

  p.DefinirEtat(TVokPrinter::EtatPeripherique);
  TContexteImprimante* peripherique = p.Contexte();
  ASSERT_NE(peripherique, nullptr);
  EXPECT_FALSE(peripherique->Information());
  p.DefinirEtat(TVokPrinter::EtatInformation);
  EXPECT_EQ(p.Etat(), TVokPrinter::EtatPeripherique);
  EXPECT_EQ(p.Contexte(), peripherique);
  EXPECT_EQ(&p.Handle(), peripherique);
  p.DefinirEtat(TVokPrinter::EtatAucun);
  EXPECT_EQ(p.Contexte(), nullptr);
  EXPECT_EQ(spouleur.ContextesOuverts(), 0);

  spouleur.EchecContexte = true;
  EXPECT_EQ(Message([&] { p.DefinirEtat(TVokPrinter::EtatPeripherique); }),
            std::string("Imprimante sélectionnée incorrecte"_ansi));
  EXPECT_EQ(p.Etat(), TVokPrinter::EtatAucun);
}

TEST_F(Imprimantes, SelectingAPrinterTakesTheCallersModeOrAddsAnUnlistedDevice) {
  UneImprimante();
  TVokPrinter p;
  auto mode = std::make_unique<TDeviceMode>();
  mode->Fields = TDeviceMode::kOrientation;
  mode->Orientation = TDeviceMode::kLandscape;
  TDeviceMode* donne = mode.get();
  p.DefinirImprimante("Laser", "", "", std::move(mode));
  EXPECT_EQ(p.ModePeripherique(), donne);
  EXPECT_EQ(p.Capacites(), TVokPrinter::pcOrientation);
  EXPECT_TRUE(p.Paysage());
  EXPECT_EQ(p.IndiceImprimante(), 0);
  EXPECT_EQ(p.LargeurPage(), 6600);  // the context in landscape

  // A device the list does not hold joins it, named after its port; it opens no printer.
  p.DefinirImprimante("Traceur", "HPGL", "COM2:", nullptr);
  EXPECT_EQ(p.ModePeripherique(), nullptr);
  EXPECT_EQ(p.IndiceImprimante(), 1);
  EXPECT_EQ(p.ListeImprimantes()[1].Nom, "Traceur sur COM2:");
  EXPECT_FALSE(p.PoigneeOuverte());
  EXPECT_EQ(Message([&] { (void)p.Paysage(); }),
            std::string("Opération non supportée par l'imprimante sélectionnée"_ansi));

  // A failing driver leaves no device mode.
  spouleur.EchecModeParDefaut = true;
  p.DefinirImprimante("Laser", "", "", nullptr);
  EXPECT_EQ(p.ModePeripherique(), nullptr);
  EXPECT_TRUE(p.PoigneeOuverte());
}

TEST_F(Imprimantes, NothingStartsADocumentSoPageAndDocumentEndsAndDrawingAreRefused) {
  UneImprimante();
  TVokPrinter p;
  const std::string pasImprime = "L'imprimante n'imprime pas pour l'instant";
  EXPECT_EQ(Message([&] { p.TerminerPage(); }), pasImprime);
  EXPECT_EQ(Message([&] { p.TerminerDocument(); }), pasImprime);
  EXPECT_EQ(Message([&] { p.FinDocument(); }), pasImprime);
  EXPECT_EQ(Message([&] { p.VerifierImpression(false); }), "(rien)");
  // Drawing binds the canvas to an information context, then asks for a document.
  EXPECT_EQ(Message([&] { p.Canvas().TextOut(0, 0, "Lundi"); }), pasImprime);
  EXPECT_EQ(p.Etat(), TVokPrinter::EtatInformation);
  EXPECT_EQ(p.Canvas().Contexte(), p.Contexte());
  EXPECT_TRUE(p.Canvas().Appels().empty());
  EXPECT_TRUE(spouleur.Documents.empty());
}

// The destination over the unit's printer: 600 pixels per inch, a page of 4800 x 6600, a screen of 96.
class Destination : public Imprimantes {
 protected:
  void SetUp() override {
    Imprimantes::SetUp();
    UneImprimante();
    apercu.SetBounds(0, 0, 50, 60);
    zone.SetBounds(0, 0, 500, 700);
  }
  TVokCanvasDestination d{nullptr};
  TImage apercu{nullptr};
  TControl zone{nullptr};
};

TEST_F(Destination, CreatedOnThePrinterAndScaledToAZoomOrFittedToTheArea) {
  EXPECT_EQ(&d.Canvas(), &vclprint::Printer().Canvas());
  EXPECT_EQ(d.Echelle(), 100);
  EXPECT_EQ(d.Zoom(), 90u);
  EXPECT_FALSE(d.AvecZoom() || d.PleinePage() || d.SurImprimante() || d.SurEmail());
  d.Recalculer();  // without a preview: nothing
  EXPECT_EQ(&d.Canvas(), &vclprint::Printer().Canvas());

  d.SetApercu(&apercu);
  d.SetZoneVisible(&zone);
  d.SetAvecZoom(true);
  EXPECT_EQ(d.Echelle(), 688);
  EXPECT_EQ(apercu.BoundsRect(), (TRect{0, 0, 628, 863}));
  EXPECT_EQ(apercu.Picture.Width, 628);
  EXPECT_EQ(apercu.Picture.Height, 863);
  EXPECT_EQ(&d.Canvas(), &d.CanvasApercu());
  EXPECT_EQ(d.CanvasApercu().Appels().back().rfind("FillRect 0,0,628,863", 0), 0u);

  d.SetAvecZoom(false);  // fitted into 500 x 700
  EXPECT_EQ(apercu.BoundsRect(), (TRect{0, 0, 496, 681}));
  EXPECT_EQ(d.Echelle(), 968);

  d.SetSurImprimante(true);
  EXPECT_EQ(d.Echelle(), 100);
  EXPECT_EQ(&d.Canvas(), &vclprint::Printer().Canvas());
  d.SetSurImprimante(false);

  d.SetZoneVisible(nullptr);
  d.Recalculer();
  EXPECT_EQ(d.Echelle(), 100);
  EXPECT_EQ(d.Zoom(), 100u);
  EXPECT_EQ(apercu.Picture.Width, 496);  // the picture's own size
}

TEST_F(Destination, AnAreaLowerThanThePageUsesTheWidthLessAScrollBarAndAFullPageFitsBothWays) {
  d.SetApercu(&apercu);
  zone.SetBounds(0, 0, 800, 300);
  d.SetZoneVisible(&zone);
  d.Recalculer();
  // 698 x 959 fits the width; lower than the area: (800 - 17) x 100 / 698 - 1 = 111 per cent.
  EXPECT_EQ(apercu.BoundsRect(), (TRect{0, 0, 775, 1064}));
  EXPECT_EQ(d.Echelle(), 619);
  d.SetPleinePage(true);  // 300 x 100 / 959 - 1 = 30 per cent
  EXPECT_EQ(apercu.BoundsRect(), (TRect{0, 0, 209, 288}));
}

TEST_F(Destination, AnEmptyAreaKeepsAOnePixelPreviewAndADivisionByZeroChangesNothing) {
  d.SetApercu(&apercu);
  zone.SetBounds(0, 0, 0, 0);
  d.SetZoneVisible(&zone);
  d.Recalculer();
  EXPECT_GE(apercu.Width(), 1);
  EXPECT_GE(apercu.Height(), 1);
  EXPECT_GT(d.Echelle(), 0);

  // A printer that gives no resolution: the scale is 0 and the page cannot be divided by it, so
  // the destination stays as it was.
  zone.SetBounds(0, 0, 500, 700);
  d.Recalculer();
  const TRect avant = apercu.BoundsRect();
  EXPECT_EQ(avant, (TRect{0, 0, 496, 681}));
  vclprint::Printer().DefinirEtat(TVokPrinter::EtatAucun);
  spouleur.Imprimantes[0].Metriques.DotsPerInchX = 0;
  d.Recalculer();
  EXPECT_EQ(apercu.BoundsRect(), avant);
  EXPECT_EQ(d.Echelle(), 968);
}

}  // namespace
