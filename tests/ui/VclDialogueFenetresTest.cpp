#include <gtest/gtest.h>

#include <boost/asio/post.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gui/Saisie.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/VclDialogue.h"

namespace {

class DialogueFenetres : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    VclDialogue::DefinirNomProgramme("TEMPRAVO");
    VclDialogue::DefinirSortie([this](const std::string& l) { lignes.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    FenetresEssai::TearDown();
  }
  TVokMessageJPEG& M() { return *VclDialogue::ModeleMessage(); }

  // Shows a waiting message with a script that looks at the window and then answers.
  int32_t Montrer(const std::string& Texte, const std::string& Titre, uint8_t Genre, uint8_t Boutons,
                  const std::function<void(TVokMessageForm&)>& Regard, TControl* Controle = nullptr) {
    pilote.Script = [&](TForm& f) {
      auto* m = dynamic_cast<TVokMessageForm*>(&f);
      ASSERT_NE(m, nullptr);
      Regard(*m);
    };
    return VclDialogue::AfficherMessage(true, Texte, Titre, Genre, Boutons, Controle, true);
  }

  std::vector<std::string> lignes;
};

struct BoutonVu {
  std::string nom;
  int gauche;
  bool operator==(const BoutonVu&) const = default;
};

std::vector<BoutonVu> BoutonsVisibles(TVokMessageJPEG& m) {
  std::vector<BoutonVu> l;
  for (int i = 0; i < m.PanelPourLesBoutons->ControlCount(); ++i) {
    TControl* c = m.PanelPourLesBoutons->Controls(i);
    if (c->Visible()) l.push_back({c->Name(), c->Left()});
  }
  std::sort(l.begin(), l.end(), [](const BoutonVu& a, const BoutonVu& b) { return a.gauche < b.gauche; });
  return l;
}

TEST_F(DialogueFenetres, EachButtonSetPlacesItsButtonsFromTheRightWithItsDefaultCancelAndCaptions) {
  const struct {
    uint8_t boutons;
    std::vector<BoutonVu> attendus;
    const char* defaut;
    const char* annulation;
  } cas[] = {
      {3, {{"BoutonMDBYes", 342}, {"BoutonMDBNo", 421}}, "BoutonMDBYes", "BoutonMDBNo"},
      {5, {{"BoutonMDBYes", 342}, {"BoutonMDBCancel", 421}}, "BoutonMDBYes", "BoutonMDBCancel"},
      {7, {{"BoutonMDBYes", 263}, {"BoutonMDBNo", 342}, {"BoutonMDBCancel", 421}}, "BoutonMDBYes", "BoutonMDBCancel"},
      {8, {{"BoutonMDBOk", 421}}, "BoutonMDBOk", "BoutonMDBOk"},
      {12, {{"BoutonMDBCancel", 342}, {"BoutonMDBOk", 421}}, "BoutonMDBOk", "BoutonMDBCancel"},
      {195,
       {{"BoutonMDBYes", 140}, {"BoutonMDBYesToAll", 219}, {"BoutonMDBNo", 320}, {"BoutonMDBNoToAll", 399}},
       "BoutonMDBYes",
       "BoutonMDBNo"},
      {0, {}, nullptr, nullptr},
      {9, {}, nullptr, nullptr},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(int(c.boutons));
    Montrer("texte", "titre", 3, c.boutons, [&](TVokMessageForm& f) {
      EXPECT_EQ(BoutonsVisibles(M()), c.attendus);
      for (const auto& b : c.attendus) {
        auto* bouton = dynamic_cast<TVokSpeedButton*>(M().FindComponent(b.nom));
        EXPECT_EQ(bouton->Default(), b.nom == c.defaut) << b.nom;
        EXPECT_EQ(bouton->Cancel, b.nom == c.annulation) << b.nom;
        EXPECT_EQ(bouton->Top(), 4);
        EXPECT_EQ(bouton->Height(), 25);
      }
      EXPECT_EQ(M().BoutonMDBOk->Caption(), c.boutons == 12 ? " Conferma " : " Chiudi ");
      EXPECT_EQ(M().BoutonMDBYes->Caption(), " &Si ");
      EXPECT_EQ(M().BoutonMDBNo->Caption(), " &No ");
      EXPECT_EQ(M().BoutonMDBCancel->Caption(), " Annulla ");
      EXPECT_EQ(M().BoutonMDBYesToAll->Caption(), " Si tutto ");
      EXPECT_EQ(M().BoutonMDBNoToAll->Caption(), " No tutto ");
      f.SetModalResult(mrCancel);
    });
  }
}

TEST_F(DialogueFenetres, EnterEscapeAndTheAcceleratorsPressTheirButtons) {
  const struct {
    uint8_t boutons;
    int touche;
    char lettre;
    int32_t attendu;
  } cas[] = {
      {3, VK_RETURN, 0, 6},   {3, VK_ESCAPE, 0, 7},   {7, VK_ESCAPE, 0, 2}, {12, VK_RETURN, 0, 1},
      {12, VK_ESCAPE, 0, 2},  {8, VK_ESCAPE, 0, 1},   {195, VK_ESCAPE, 0, 7}, {3, 0, 'S', 6},
      {3, 0, 'n', 7},         {195, 0, 'N', 7},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(std::to_string(c.boutons) + " " + std::to_string(c.touche) + c.lettre);
    const int32_t r = Montrer("texte", "", 1, c.boutons, [&](TVokMessageForm& f) {
      if (c.touche) EXPECT_TRUE(Saisie::Touche(f, c.touche));
      else EXPECT_TRUE(Saisie::Caractere(f, c.lettre));
    });
    EXPECT_EQ(r, c.attendu);
  }
  // Enter with Ctrl, or on a window without buttons, presses nothing.
  Montrer("texte", "", 1, 3, [&](TVokMessageForm& f) {
    EXPECT_FALSE(Saisie::Touche(f, VK_RETURN, ssCtrl));
    EXPECT_EQ(f.ModalResult(), 0);
    f.SetModalResult(mrOk);
  });
}

TEST_F(DialogueFenetres, AClickOnAButtonClosesTheWindowWithItsResult) {
  const int32_t r = Montrer("texte", "", 1, 195, [&](TVokMessageForm&) { EXPECT_TRUE(Saisie::Cliquer(*M().BoutonMDBYesToAll)); });
  EXPECT_EQ(r, 10);
}

std::string Lignes(int n) {
  std::string t;
  for (int i = 0; i < n; ++i) t += (i ? "\\crlf\\" : "") + std::string("ligne ") + std::to_string(i + 1);
  return t;
}

TEST_F(DialogueFenetres, TheWindowTakesTheHeightOfItsTitleAndText) {
  // Arial 12 pixels: one line is 14 pixels high, so H = 14 x (title lines + text lines) + 23.
  const struct {
    std::string titre;
    int lignesTexte;
    int h;
    int client;
    int panel;
    bool barre;
  } cas[] = {
      // An empty title measures as one line too.
      {"", 1, 51, 155, 118, false},
      {"titre", 5, 107, 155, 118, false},
      {"titre", 6, 121, 158, 121, false},   // H + 37
      {"titre", 27, 415, 452, 415, false},  // still below 418
      {"titre", 28, 429, 455, 418, true},   // the bar, narrower labels, H again
      {"titre", 40, 597, 455, 418, true},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.lignesTexte);
    Montrer(Lignes(c.lignesTexte), c.titre, 3, 8, [&](TVokMessageForm& f) {
      const int h = M().LabelTitre->Height() + M().LabelTexte->Height() + 23;
      EXPECT_EQ(f.ClientWidth(), 500);
      EXPECT_EQ(h, c.h);
      EXPECT_EQ(f.ClientHeight(), c.client);
      EXPECT_EQ(M().PanelTitreTexteScrollbar->Height(), c.panel);
      EXPECT_EQ(M().PanelTitreTexteScrollbar->BoundsRect(), Bornes(58, 4, 438, M().PanelTitreTexteScrollbar->Height()));
      EXPECT_EQ(M().PanelPourLesBoutons->Width(), 500);
      EXPECT_EQ(M().PanelPourLesBoutons->Top(), f.ClientHeight() - 33);
      EXPECT_EQ(M().ScrollBarTitreEtTexte->Visible(), c.barre);
      EXPECT_EQ(M().LabelTitre->Left(), 15);
      EXPECT_EQ(M().LabelTitre->Top(), 4);
      EXPECT_EQ(M().LabelTexte->Top(), M().LabelTitre->Top() + M().LabelTitre->Height() + 15);
      if (c.barre) {
        EXPECT_EQ(M().LabelTexte->Width(), 408 - 15);
        EXPECT_EQ(M().ScrollBarTitreEtTexte->Max(), h - 418);
        EXPECT_EQ(M().ScrollBarTitreEtTexte->BoundsRect(), Bornes(438 - 15, 0, 15, 418));
        EXPECT_EQ(M().PanelTitreEtTexte->BoundsRect(), Bornes(0, 0, 438 - 15, h));
        // Moving the bar scrolls the inner panel, down to its last line.
        M().ScrollBarTitreEtTexte->SetPosition(100000);
        EXPECT_EQ(M().PanelTitreEtTexte->Top(), -(h - 418));
      } else {
        EXPECT_EQ(M().LabelTexte->Width(), 408);
        EXPECT_EQ(M().PanelTitreEtTexte->BoundsRect(), Bornes(0, 0, 438, h));
      }
      f.SetModalResult(mrOk);
    });
  }
  // The panels went back to the template.
  EXPECT_EQ(M().PanelPourLesImages->Parent(), &M());
  EXPECT_EQ(M().PanelTitreTexteScrollbar->Parent(), &M());
  EXPECT_EQ(M().PanelPourLesBoutons->Parent(), &M());
}

TEST_F(DialogueFenetres, OnlyTheLowerCaseMarkBreaksATitleInTheWindow) {
  Montrer("texte", "a\\crlf\\b", 3, 8, [&](TVokMessageForm& f) {
    EXPECT_EQ(M().LabelTitre->Caption(), "a\r\nb");
    EXPECT_EQ(M().LabelTitre->Height(), 28);
    f.SetModalResult(mrOk);
  });
  Montrer("texte", "a\\CRLF\\b", 3, 8, [&](TVokMessageForm& f) {
    EXPECT_EQ(M().LabelTitre->Caption(), "a\\CRLF\\b");
    f.SetModalResult(mrOk);
  });
}

TEST_F(DialogueFenetres, AControlIsShownInsteadOfTheTitleAndTextAndGoesBackToItsParent) {
  TForm proprietaire(nullptr);
  auto* controle = new TPanel(&proprietaire);
  controle->SetBounds(7, 9, 200, 100);
  controle->SetParent(&proprietaire);
  Montrer("texte", "titre", 0, 3, [&](TVokMessageForm& f) {
    EXPECT_EQ(f.ClientWidth(), 262);
    EXPECT_EQ(f.ClientHeight(), 137);
    EXPECT_EQ(controle->Parent(), &f);
    EXPECT_EQ(controle->BoundsRect(), Bornes(58, 4, 200, 100));
    EXPECT_EQ(M().PanelTitreTexteScrollbar->Parent(), &M());
    EXPECT_EQ(f.BorderIcons, biSystemMenu);
    f.SetModalResult(mrYes);
  }, controle);
  EXPECT_EQ(controle->Parent(), &proprietaire);
}

TEST_F(DialogueFenetres, TheKindGivesTheCaptionTheColoursAndThePicture) {
  const struct {
    uint8_t genre, boutons;
    const char* legende;
    TColor couleur;
    const char* image;
  } cas[] = {
      {0, 8, "TEMPRAVO - Information", 0x99CC99, "ImageInformationND"},
      {0, 3, "TEMPRAVO - Confirmation", 0x99CC99, "ImageInformationND"},
      {1, 8, "TEMPRAVO - Confirmation", 0x9999CC, "ImageConfirmationND"},
      {2, 8, "TEMPRAVO - Conseil", 0x99CC99, "ImageInformationND"},
      {3, 8, "TEMPRAVO - Information", 0x99CC99, "ImageInformationND"},
      {4, 8, "TEMPRAVO - Aide", 0xCCCC99, "ImageAideND"},
      {5, 8, "TEMPRAVO - Alerte", 0x0000FF, nullptr},
      {6, 8, "", 0x99CC99, nullptr},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(int(c.genre));
    Montrer("texte", "", c.genre, c.boutons, [&](TVokMessageForm& f) {
      EXPECT_EQ(f.Caption(), c.legende);
      EXPECT_EQ(f.Color(), c.couleur);
      EXPECT_EQ(M().PanelPourLesImages->Color(), c.couleur);
      EXPECT_EQ(M().PanelPourLesBoutons->Color(), c.couleur);
      EXPECT_EQ(M().PanelTitreEtTexte->Color(), Couleurs::clWhite);
      for (TControl* i : {static_cast<TControl*>(M().ImageInformationND), static_cast<TControl*>(M().ImageConfirmationND),
                          static_cast<TControl*>(M().ImageAideND)})
        EXPECT_EQ(i->Visible(), c.image && i->Name() == c.image) << i->Name();
      f.SetModalResult(mrOk);
    });
  }
}

TEST_F(DialogueFenetres, ATimedMessageClosesWithOneWhenTheClockReachesItsTime) {
  int32_t resultat = -1;
  pilote.Script = [&](TForm& f) {
    horloge.Avancer(14999);
    EXPECT_EQ(f.ModalResult(), 0);
    horloge.Avancer(1);
    EXPECT_EQ(f.ModalResult(), 1);
  };
  VclDialogue::AfficherMessageTemporise("refus", "", 15000, 0, 8, true);
  EXPECT_EQ(pilote.Entrees, 1);
  EXPECT_EQ(horloge.NombreArmees(), 0);  // the timer went with its window
  // A timed message without buttons closes the same way.
  pilote.Script = [&](TForm& f) {
    horloge.Avancer(5000);
    resultat = f.ModalResult();
  };
  VclDialogue::AfficherMessageTemporise("erreur", "", 5000, 0, 0, true);
  EXPECT_EQ(resultat, 1);
}

TEST_F(DialogueFenetres, MessagesQueuedWithoutShowingAppearOneAfterTheOtherOldestFirst) {
  std::vector<std::string> textes;
  pilote.Script = [&](TForm& f) {
    textes.push_back(M().LabelTexte->Caption());
    horloge.Avancer(15000);
    EXPECT_EQ(f.ModalResult(), 1);
  };
  VclDialogue::AfficherMessageTemporise("un", "", 15000, 0, 8, false);
  VclDialogue::AfficherMessageTemporise("deux", "", 15000, 0, 8, false);
  EXPECT_TRUE(textes.empty());
  VclDialogue::AfficherMessageTemporise("trois", "", 15000, 0, 8, true);
  EXPECT_EQ(textes, (std::vector<std::string>{"un", "deux", "trois"}));
}

TEST_F(DialogueFenetres, AMessageAskedForInsideTheModalLoopOnlyQueuesAndComesNext) {
  int32_t interieur = -1;
  std::vector<std::string> textes;
  pilote.Script = [&](TForm& f) {
    textes.push_back(M().LabelTexte->Caption());
    if (textes.size() == 1) interieur = VclDialogue::AfficherMessage(true, "second", "", 3, 8, true);
    f.SetModalResult(textes.size() == 1 ? mrNo : mrOk);
  };
  EXPECT_EQ(VclDialogue::AfficherMessage(true, "premier", "", 3, 3, true), 1);
  EXPECT_EQ(interieur, 2);
  EXPECT_EQ(textes, (std::vector<std::string>{"premier", "second"}));
  EXPECT_FALSE(VclDialogue::MessageEnCours());
}

TEST_F(DialogueFenetres, AShowingThatRaisesClearsTheFlagDropsTheMessageAndGivesThePanelsBack) {
  TForm proprietaire(nullptr);
  auto* controle = new TPanel(&proprietaire);
  controle->SetParent(&proprietaire);
  pilote.Script = [&](TForm&) { throw std::runtime_error("echec"); };
  EXPECT_THROW(VclDialogue::AfficherMessage(true, "texte", "", 3, 8, controle, true), std::runtime_error);
  EXPECT_FALSE(VclDialogue::MessageEnCours());
  EXPECT_EQ(VclDialogue::MessagesEnAttente(), 0);
  EXPECT_EQ(M().PanelPourLesImages->Parent(), &M());
  EXPECT_EQ(controle->Parent(), &proprietaire);
  EXPECT_TRUE(proprietaire.Enabled());
  // The next message is shown again.
  pilote.Script = [](TForm& f) { f.SetModalResult(mrOk); };
  EXPECT_EQ(VclDialogue::AfficherMessage(true, "texte", "", 3, 8, true), 1);
}

TEST_F(DialogueFenetres, AStopRequestEndsAModalMessageWithTwo) {
  pilote.Script = [](TForm&) {};  // leaves the window waiting: the driver stops the loop
  EXPECT_EQ(VclDialogue::AfficherMessage(true, "texte", "", 3, 3, true), 2);
}

TEST_F(DialogueFenetres, TheProductionDriverAnswersBeforeTheLoopRuns) {
  Application().DefinirPiloteModal(nullptr);
  bool traite = false;
  boost::asio::post(boucle->Context(), [&] { traite = true; });
  const struct { uint8_t boutons; int32_t attendu; } cas[] = {{8, 1}, {12, 1}, {3, 6}, {5, 6}, {7, 6}, {195, 6}, {0, 2}, {99, 2}};
  for (const auto& c : cas) EXPECT_EQ(VclDialogue::AfficherMessage(true, "texte", "titre", 3, c.boutons, true), c.attendu);
  VclDialogue::AfficherMessageTemporise("temporise", "", 15000, 0, 0, true);
  EXPECT_FALSE(traite);
  EXPECT_EQ(lignes.size(), std::size(cas) + 1);
  EXPECT_EQ(lignes[0], "TEMPRAVO - Information : titre : texte");
}

TEST_F(DialogueFenetres, TheLogLineCutsTheTextAt2000Characters) {
  Application().DefinirPiloteModal(nullptr);
  VclDialogue::AfficherMessage(true, std::string(2500, 'x'), "", 6, 8, true);
  ASSERT_EQ(lignes.size(), 1u);
  EXPECT_EQ(lignes[0], std::string(2000, 'x'));
}

}  // namespace
