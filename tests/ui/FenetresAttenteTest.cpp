#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gui/Saisie.h"
#include "platform/ui/AttenteReponseServeur.h"
#include "platform/ui/EcranPatience.h"
#include "platform/ui/Patienc2.h"
#include "platform/ui/Patienc3.h"
#include "platform/ui/Patience.h"
#include "platform/ui/Progression.h"
#include "platform/ui/VclDialogue.h"
#include "tests/ui/FenetresEssai.h"

namespace {

class FenetresAttente : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    VclDialogue::DefinirSortie([this](const std::string& l) { lignes.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    FenetresEssai::TearDown();
  }
  std::vector<std::string> lignes;
};

TEST_F(FenetresAttente, TheCounterRepaintsItsFigureAtEachMultipleOfTheStepAndStopsAtZero) {
  TPatienceCompteur f(nullptr, "Traitement en cours ...");
  EXPECT_EQ(f.ClientWidth(), 268);
  EXPECT_EQ(f.ClientHeight(), 49);
  EXPECT_EQ(f.Caption(), "Patientez");
  EXPECT_EQ(f.Pas(), 10u);
  f.InitialiserCompteur(25);
  EXPECT_EQ(f.Compteur->Caption(), "25");
  std::vector<std::string> repeints;
  Application().SurRepeint = [&](TControl& c) {
    if (&c == f.Compteur) repeints.push_back(c.Caption());
  };
  std::vector<std::string> textes;
  for (int i = 0; i < 27; ++i) {
    f.Decrementer();
    textes.push_back(f.Compteur->Caption());
  }
  Application().SurRepeint = nullptr;
  EXPECT_EQ(repeints, (std::vector<std::string>{"20", "10", "0"}));
  EXPECT_EQ(textes[0], "24");
  EXPECT_EQ(textes[1], "23");
  EXPECT_EQ(textes[24], "0");
  EXPECT_EQ(textes[26], "0");  // at 0 nothing happens
  EXPECT_EQ(f.Valeur(), 0u);
}

TEST_F(FenetresAttente, AStepOfZeroKeepsTheStepAndAStepOfOneRepaintsEveryTime) {
  TPatienceCompteur f(nullptr, "x");
  f.DefinirPas(0);
  EXPECT_EQ(f.Pas(), 10u);
  f.DefinirPas(1);
  f.InitialiserCompteur(3);
  const int avant = f.Compteur->NombreRepeints();
  for (int i = 0; i < 3; ++i) f.Decrementer();
  EXPECT_EQ(f.Compteur->NombreRepeints() - avant, 3);
}

TEST_F(FenetresAttente, TheCounterTextIsCentredInThePanelByItsHeight) {
  TPatienceCompteur court(nullptr, "Court");
  // One line of Arial 13 bold is 15 pixels: (49 - 15) / 2.
  EXPECT_EQ(court.Texte->Width(), 150);
  EXPECT_EQ(court.Texte->Height(), 15);
  EXPECT_EQ(court.Texte->Top(), 17);
  TPatienceCompteur long_(nullptr, "un texte bien trop long pour tenir sur les trois lignes de ce petit panneau bleu");
  EXPECT_GE(long_.Texte->Height(), 49);
  EXPECT_EQ(long_.Texte->Top(), 0);
  TPatience2 deux(nullptr, "Version");
  EXPECT_EQ(deux.Texte->Width(), 160);
  EXPECT_EQ(deux.ClientWidth(), 218);
  EXPECT_EQ(deux.Caption(), "Patientez 2");
}

TEST_F(FenetresAttente, HidingAWaitWindowEnablesOnlyTheFormsItsShowingDisabled) {
  TForm a(nullptr), b(nullptr), cachee(nullptr);
  a.Show();
  b.Show();
  b.SetEnabled(false);  // disabled by someone else
  TPatienceCompteur f(nullptr, "Traitement");
  f.Show();
  EXPECT_FALSE(a.Enabled());
  EXPECT_FALSE(b.Enabled());
  EXPECT_TRUE(cachee.Enabled());
  EXPECT_TRUE(f.Enabled());
  EXPECT_EQ(f.Desactivees(), TListeFenetres{&a});
  EXPECT_FALSE(Saisie::Cliquer(a));  // a disabled form refuses input
  f.Hide();
  EXPECT_TRUE(a.Enabled());
  EXPECT_FALSE(b.Enabled());
  EXPECT_EQ(lignes, std::vector<std::string>{"Traitement"});  // one line when shown, none per step
}

TEST_F(FenetresAttente, TheServerWaitDisablesTheWindowsForItsLifetimeAndNests) {
  TForm a(nullptr);
  a.Show();
  {
    FenetresTaches::TDesactivation premiere;
    EXPECT_FALSE(a.Enabled());
    EXPECT_FALSE(FenetresTaches::Actives());
    {
      FenetresTaches::TDesactivation seconde;
      EXPECT_FALSE(FenetresTaches::Actives());
    }
    EXPECT_FALSE(a.Enabled());
  }
  EXPECT_TRUE(a.Enabled());
  EXPECT_TRUE(FenetresTaches::Actives());
  TAttenteReponseServeur w("Veuillez patienter");
  EXPECT_EQ(w.Name(), "AttenteReponseServeur");
  EXPECT_EQ(w.Width(), 297);
  EXPECT_EQ(w.Height(), 45);
  EXPECT_EQ(w.BorderStyle(), TFormBorderStyle::bsNone);
  w.Afficher();
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(a.Enabled());
  w.Masquer();
  EXPECT_TRUE(a.Enabled());
}

TEST_F(FenetresAttente, PatienterShowsItsWindowWhileTheMethodRunsAndFreesItWhenTheMethodRaises) {
  const int formes = Screen().FormCount();
  TForm principale(nullptr);
  principale.Show();
  TPatienter* vue = nullptr;
  Patience::Patienter("Création du service", [&] {
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (auto* p = dynamic_cast<TPatienter*>(Screen().Forms(i))) vue = p;
    ASSERT_NE(vue, nullptr);
    EXPECT_TRUE(vue->Visible());
    EXPECT_GE(vue->NombreRepeints(), 1);
    EXPECT_EQ(vue->Texte->Caption(), "Création du service");
    EXPECT_EQ(vue->ClientWidth(), 172);
    EXPECT_FALSE(principale.Enabled());
  });
  EXPECT_TRUE(principale.Enabled());
  EXPECT_THROW(Patience::Patienter("Echec", [] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_EQ(Screen().FormCount(), formes + 1);
  EXPECT_TRUE(principale.Enabled());
  // A text wider than the panel widens the window to its width + 16 (Arial 10 points, bold).
  const std::string long_ = "Suppression de services NT en cours, veuillez patienter";
  TFont f;
  f.Name = "Arial";
  f.SetSize(10);
  f.Style = fsBold;
  const int largeur = MetriquesTexte::Largeur(f, long_);
  ASSERT_GT(largeur + 4, 172);
  Patience::Patienter(long_, [&] {
    for (int i = 0; i < Screen().FormCount(); ++i)
      if (auto* p = dynamic_cast<TPatienter*>(Screen().Forms(i))) {
        EXPECT_EQ(p->ClientWidth(), largeur + 16);
      }
  });
}

TEST_F(FenetresAttente, AReportWindowSizesItselfByWhatItShows) {
  const struct {
    bool jauge, interruptible, trace;
    int hauteur;
    int largeur;
    bool panneauBouton;
    const char* bouton;
  } cas[] = {
      {false, false, true, 351, 590, true, "Fermer"},
      {true, true, false, 140, 250, true, "  Interrompre"},
      {true, false, false, 95, 250, false, "Fermer"},
      {true, true, true, 440, 590, true, "  Interrompre"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.hauteur);
    std::unique_ptr<TFichePatience> f(EcranPatience::CreerFichePatience("Titre", "Texte", c.jauge, c.interruptible, c.trace, false));
    f->Show();
    EXPECT_EQ(f->ClientHeight(), c.hauteur);
    EXPECT_EQ(f->ClientWidth(), c.largeur);
    EXPECT_EQ(f->PanelBouton->Visible(), c.panneauBouton);
    EXPECT_EQ(f->BtnInterrompre->Caption(), c.bouton);
    EXPECT_EQ(f->BtnInterrompre->Enabled(), c.interruptible);
    EXPECT_EQ(f->Fin, !c.interruptible);
    f->Hide();
  }
  // A long text widens it: its width in Arial 16 bold + 2 x 10 + 10.
  const std::string texte(60, 'W');
  std::unique_ptr<TFichePatience> f(EcranPatience::CreerFichePatience("", texte, false, false, false, false));
  f->Show();
  TFont arial;
  arial.Name = "Arial";
  arial.Height = 16;
  arial.Style = fsBold;
  EXPECT_EQ(f->ClientWidth(), MetriquesTexte::Largeur(arial, texte) + 30);
}

TEST_F(FenetresAttente, TraceLinesGoAfterOrBeforeTheTrace) {
  std::unique_ptr<TFichePatience> f(EcranPatience::CreerFichePatience("", "", false, false, true, false));
  f->AjouterTrace("a\r\n");
  f->AjouterTrace("b\r\n");
  EXPECT_EQ(f->Memo1->Text(), "a\r\nb\r\n");
  EXPECT_EQ(f->Memo1->NombreRepeints(), 2);
  std::unique_ptr<TFichePatience> g(EcranPatience::CreerFichePatience("", "", false, false, true, true));
  g->AjouterTrace("a\r\n");
  g->AjouterTrace("b\r\n");
  EXPECT_EQ(g->Memo1->Text(), "b\r\na\r\n");
}

TEST_F(FenetresAttente, TheEndWaitsForThePressOfCloseOrForAStop) {
  std::unique_ptr<TFichePatience> f(EcranPatience::CreerFichePatience("", "", false, true, true, false));
  f->Show();
  EXPECT_TRUE(Saisie::Cliquer(*f->BtnInterrompre));  // interrupting while working
  EXPECT_TRUE(f->Interruption);
  pilote.Script = [&](TForm& fiche) {
    EXPECT_EQ(&fiche, f.get());
    EXPECT_FALSE(f->Interruption);
    EXPECT_TRUE(f->Fin);
    EXPECT_EQ(f->BtnInterrompre->Caption(), "Fermer");
    EXPECT_TRUE(f->BtnInterrompre->Enabled());
    EXPECT_EQ(f->Memo1->Text(), "Fin de traitement\r\n");
    EXPECT_TRUE(Saisie::Cliquer(*f->BtnInterrompre));
  };
  f->TerminerTraitement();
  EXPECT_TRUE(f->Interruption);
  EXPECT_FALSE(boucle->StopRequested());
  // Nobody presses: a stop ends the wait.
  pilote.Script = [](TForm&) {};
  f->TerminerTraitement();
  EXPECT_TRUE(boucle->StopRequested());
  EXPECT_FALSE(f->Interruption);
}

TEST_F(FenetresAttente, TheProgressWindowFollowsItsTextAndKeepsItsBarWithinItsMaximum) {
  TForm principale(nullptr);
  Application().SetMainForm(&principale);
  Progression::MettreAJourProgression("x", 1, 10, false);
  EXPECT_EQ(Progression::Fiche(), nullptr);
  Progression::AfficherProgression(&principale, "Réception");
  TFicheProgression* f = Progression::Fiche();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Caption(), "Réception");
  EXPECT_EQ(f->ClientWidth(), 315);
  Progression::AfficherProgression(&principale, "autre");
  EXPECT_EQ(Progression::Fiche(), f);
  Progression::MettreAJourProgression("", 150, 100, false);
  EXPECT_EQ(f->Caption(), "Réception");
  EXPECT_EQ(f->BarreDeProgression->Max(), 100);
  EXPECT_EQ(f->BarreDeProgression->Position(), 100);
  const std::string long_(80, 'M');
  Progression::MettreAJourProgression(long_, 5, 10, false);
  EXPECT_EQ(f->Caption(), long_);
  EXPECT_EQ(f->ClientWidth(), f->Canvas().TextWidth(long_) + 16);
  EXPECT_EQ(f->BarreDeProgression->Position(), 5);
  Progression::MasquerProgression();
  EXPECT_EQ(Progression::Fiche(), nullptr);
  Progression::MasquerProgression();
  Progression::MettreAJourProgression("créée", 1, 2, true);
  ASSERT_NE(Progression::Fiche(), nullptr);
  EXPECT_EQ(Progression::Fiche()->Owner(), &principale);
  Application().SetMainForm(nullptr);
}

TEST_F(FenetresAttente, AProgressWindowFreedWithItsOwnerIsForgotten) {
  auto* proprietaire = new TForm(nullptr);
  Progression::AfficherProgression(proprietaire, "x");
  delete proprietaire;
  EXPECT_EQ(Progression::Fiche(), nullptr);
}

}  // namespace
