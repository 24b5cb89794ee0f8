#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/Saisie.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/VCLBtns.h"
#include "ui/vclpanel.h"

namespace {

// The recorded calls that start with Debut.
std::vector<std::string> Appels(const TCanvasEnregistreur& c, const std::string& Debut) {
  std::vector<std::string> l;
  for (const auto& a : c.Appels())
    if (a.rfind(Debut, 0) == 0) l.push_back(a);
  return l;
}

TEST(Panneaux, APanelStartsRaisedWithAOnePixelEdgeAndAlignsItsChildrenInsideItsEdges) {
  TVokPanel p(nullptr);
  EXPECT_EQ(p.Width(), 185);
  EXPECT_EQ(p.Height(), 41);
  EXPECT_EQ(p.BevelOuter(), TBevelCut::bvRaised);
  EXPECT_EQ(p.BevelInner(), TBevelCut::bvNone);
  EXPECT_EQ(p.LargeurBord(), 1);
  EXPECT_EQ(p.Alignment(), TAlignment::taCenter);
  EXPECT_EQ(p.Color(), Couleurs::clBtnFace);
  EXPECT_EQ(p.DisabledColor, Couleurs::clBtnFace);
  auto* enfant = new TPanel(&p);
  enfant->SetAlign(TAlign::alClient);
  enfant->SetParent(&p);
  EXPECT_EQ(enfant->BoundsRect(), (TRect{1, 1, 184, 40}));
  const struct {
    TBevelCut interieur, exterieur;
    int biseau, bord;
    int attendu;
  } cas[] = {{TBevelCut::bvLowered, TBevelCut::bvRaised, 2, 3, 7},
             {TBevelCut::bvNone, TBevelCut::bvNone, 5, 0, 0},
             {TBevelCut::bvNone, TBevelCut::bvLowered, 1, 10, 11}};
  for (const auto& c : cas) {
    p.SetBevelInner(c.interieur);
    p.SetBevelOuter(c.exterieur);
    p.SetBevelWidth(c.biseau);
    p.SetBorderWidth(c.bord);
    EXPECT_EQ(p.LargeurBord(), c.attendu);
    EXPECT_EQ(enfant->BoundsRect(), (TRect{c.attendu, c.attendu, 185 - c.attendu, 41 - c.attendu}));
  }
  p.SetBorderStyle(TBorderStyle::bsSingle);
  EXPECT_EQ(p.LargeurBord(), 12);
}

TEST(Panneaux, DisablingAPanelDisablesItsChildrenAndEnablingEnablesThemAll) {
  TVokPanel p(nullptr);
  auto* a = new TVokPanel(&p);
  auto* b = new TVokSpeedButton(&p);
  a->SetParent(&p);
  b->SetParent(&p);
  b->SetEnabled(false);
  p.SetEnabled(false);
  EXPECT_FALSE(a->Enabled());
  EXPECT_FALSE(b->Enabled());
  p.SetEnabled(true);
  EXPECT_TRUE(a->Enabled());
  EXPECT_TRUE(b->Enabled());  // whatever its former state
}

TEST(Panneaux, ResizingRaisesThePreAndPostEventsAroundTheChange) {
  TVokPanel p(nullptr);
  std::vector<std::string> vu;
  p.OnPreResize = [&](TComponent*) { vu.push_back("pre " + std::to_string(p.Width())); };
  p.OnPostResize = [&](TComponent*) { vu.push_back("post " + std::to_string(p.Width())); };
  p.SetWidth(200);
  p.SetLeft(5);  // a move without resizing
  EXPECT_EQ(vu, (std::vector<std::string>{"pre 185", "post 200"}));
}

TEST(Panneaux, APanelPaintsItsBevelsItsFillAndItsCaption) {
  TVokPanel p(nullptr);
  p.SetBounds(0, 0, 20, 20);
  p.SetBevelOuterLightColor(0x0000FF);
  p.SetBevelOuterShadowColor(0x00FF00);
  p.SetColor(0xFF0000);
  p.SetCaption("&Ok");
  TCanvasEnregistreur c;
  Peindre(p, c);
  const auto lignes = Appels(c, "Line");
  ASSERT_EQ(lignes.size(), 4u);
  EXPECT_EQ(lignes[0], "Line 0,19-0,0 pen=#FF0000/1");
  EXPECT_EQ(lignes[1], "Line 0,0-19,0 pen=#FF0000/1");
  EXPECT_EQ(lignes[2], "Line 19,0-19,19 pen=#00FF00/1");
  EXPECT_EQ(lignes[3], "Line 19,19--1,19 pen=#00FF00/1");
  EXPECT_EQ(Appels(c, "FillRect"), std::vector<std::string>{"FillRect 1,1,19,19 brush=#0000FF"});
  const auto textes = Appels(c, "Text");
  ASSERT_EQ(textes.size(), 1u);
  EXPECT_NE(textes[0].find("\"Ok\""), std::string::npos);  // the ampersand marks the accelerator
  // Disabled, it takes DisabledColor unless that is clNone.
  p.DisabledColor = 0x00FFFF;
  p.SetEnabled(false);
  c.Effacer();
  Peindre(p, c);
  EXPECT_EQ(Appels(c, "FillRect"), std::vector<std::string>{"FillRect 1,1,19,19 brush=#FFFF00"});
  p.DisabledColor = Couleurs::clNone;
  c.Effacer();
  Peindre(p, c);
  EXPECT_EQ(Appels(c, "FillRect"), std::vector<std::string>{"FillRect 1,1,19,19 brush=#0000FF"});
}

TEST(Panneaux, ACaptionTallerThanTheClientHeightIsNotDrawn) {
  TVokPanel p(nullptr);
  p.SetCaption("Texte");
  TFont f = p.Font();
  f.Height = 30;  // a line of 27 + 6 pixels
  p.SetFont(f);
  ASSERT_EQ(MetriquesTexte::Hauteur(f), 33);
  p.SetHeight(32);
  TCanvasEnregistreur c;
  Peindre(p, c);
  EXPECT_TRUE(Appels(c, "Text").empty());
  p.SetHeight(33);
  c.Effacer();
  Peindre(p, c);
  EXPECT_EQ(Appels(c, "Text").size(), 1u);
}

TEST(Panneaux, AShadowPanelGradesItsShadowFromTheLightColourOutsideToTheDarkOne) {
  const struct {
    int largeur;
    std::vector<std::string> couleurs;
  } cas[] = {{1, {"#FFFFFF"}}, {2, {"#FFFFFF", "#000000"}}, {3, {"#FFFFFF", "#808080", "#000000"}}};
  for (const auto& c : cas) {
    TVokPanelOmbre p(nullptr);
    p.SetBounds(0, 0, 30, 30);
    p.SetLightShadowColor(0xFFFFFF);
    p.SetDarkShadowColor(0x000000);
    p.SetShadowWidth(c.largeur);
    TCanvasEnregistreur canvas;
    Peindre(p, canvas);
    std::vector<std::string> couleurs;
    const auto lignes = Appels(canvas, "Line");
    // Two lines per step (right edge, then bottom), then the border rings.
    for (int a = 0; a < c.largeur; ++a) {
      const std::string& l = lignes.at(static_cast<size_t>(2 * a));
      couleurs.push_back(l.substr(l.find("pen=") + 4, 7));
      const int x = 30 - 1 - a;
      EXPECT_EQ(l.substr(0, l.find(" pen")), "Line " + std::to_string(x) + "," + std::to_string(c.largeur + a) + "-" +
                                                  std::to_string(x) + "," + std::to_string(29 - a));
    }
    EXPECT_EQ(couleurs, c.couleurs) << c.largeur;
  }
  TVokPanelOmbre p(nullptr);
  EXPECT_EQ(p.BorderWidth(), 2);
  EXPECT_EQ(p.ShadowWidth(), 2);
  EXPECT_EQ(p.BorderColor(), Couleurs::clBtnHighlight);
  EXPECT_EQ(p.LightShadowColor(), Couleurs::clBtnShadow);
  auto* enfant = new TPanel(&p);
  enfant->SetAlign(TAlign::alClient);
  enfant->SetParent(&p);
  EXPECT_EQ(enfant->BoundsRect(), (TRect{4, 4, 181, 37}));
}

class Boutons : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    fiche = std::make_unique<TForm>(nullptr);
    fiche->SetBorderStyle(TFormBorderStyle::bsNone);
    fiche->SetBounds(0, 0, 300, 100);
    fiche->Show();
  }
  void TearDown() override {
    fiche.reset();
    FenetresEssai::TearDown();
  }
  TVokSpeedButton* Bouton(int Gauche, int Groupe = 0) {
    auto* b = new TVokSpeedButton(fiche.get());
    b->SetBounds(Gauche, 10, 40, 20);
    b->SetGroupIndex(Groupe);
    b->SetParent(fiche.get());
    return b;
  }
  std::unique_ptr<TForm> fiche;
};

TEST_F(Boutons, AButtonWithoutGroupCannotStayDown) {
  TVokSpeedButton* b = Bouton(0);
  b->SetDown(true);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->Width(), 40);
  TVokSpeedButton neuf(nullptr);
  EXPECT_EQ(neuf.Width(), 23);
  EXPECT_EQ(neuf.Height(), 22);
}

TEST_F(Boutons, PressingAButtonOfAGroupRaisesTheOtherAndAClickAgainKeepsItDown) {
  TVokSpeedButton* a = Bouton(0, 1);
  TVokSpeedButton* b = Bouton(50, 1);
  TVokSpeedButton* autre = Bouton(100, 2);
  autre->SetDown(true);
  a->SetDown(true);
  EXPECT_EQ(a->Etat(), TButtonState::bsExclusive);
  int clics = 0;
  b->OnClick = [&](TComponent*) { ++clics; };
  EXPECT_TRUE(Saisie::Cliquer(*b));
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->Etat(), TButtonState::bsUp);
  EXPECT_TRUE(autre->Down());  // another group
  EXPECT_TRUE(Saisie::Cliquer(*b));  // without AllowAllUp it stays down
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clics, 2);
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());  // the group takes the pressed button's AllowAllUp
  EXPECT_TRUE(Saisie::Cliquer(*b));
  EXPECT_FALSE(b->Down());
}

TEST_F(Boutons, ADoubleClickIsRaisedOnlyByADownButton) {
  TVokSpeedButton* b = Bouton(10, 1);
  int doubles = 0;
  b->OnDblClick = [&](TComponent*) { ++doubles; };
  b->SetDown(true);
  EXPECT_TRUE(Saisie::DoubleCliquer(*b));
  EXPECT_EQ(doubles, 1);
  TVokSpeedButton* seul = Bouton(100);
  seul->OnDblClick = [&](TComponent*) { ++doubles; };
  EXPECT_TRUE(Saisie::DoubleCliquer(*seul));
  EXPECT_EQ(doubles, 1);
}

TEST_F(Boutons, ReleasingTheMouseOutsideRaisesNoClick) {
  TVokSpeedButton* b = Bouton(10);
  int clics = 0;
  b->OnClick = [&](TComponent*) { ++clics; };
  EXPECT_TRUE(Saisie::EnfoncerSouris(*fiche, {20, 15}));
  EXPECT_EQ(b->Etat(), TButtonState::bsDown);
  EXPECT_TRUE(Saisie::DeplacerSouris(*fiche, {200, 15}));
  EXPECT_EQ(b->Etat(), TButtonState::bsUp);
  EXPECT_TRUE(Saisie::DeplacerSouris(*fiche, {20, 15}));
  EXPECT_EQ(b->Etat(), TButtonState::bsDown);
  EXPECT_TRUE(Saisie::RelacherSouris(*fiche, {200, 15}));
  EXPECT_EQ(clics, 0);
  EXPECT_EQ(b->Etat(), TButtonState::bsUp);
  // A disabled form refuses the mouse.
  fiche->SetEnabled(false);
  EXPECT_FALSE(Saisie::Cliquer(*b));
  EXPECT_EQ(clics, 0);
}

TEST_F(Boutons, TheNumberOfGlyphsIsHeldBetweenOneAndFour) {
  TVokSpeedButton* b = Bouton(0);
  const struct { int demande, attendu; } cas[] = {{7, 4}, {0, 1}, {-2, 1}, {3, 3}, {4, 4}};
  for (const auto& c : cas) {
    b->SetNumGlyphs(c.demande);
    EXPECT_EQ(b->NumGlyphs(), c.attendu) << c.demande;
  }
  TBitmap image;
  image.Redimensionner(16, 16, 0x0000FF);
  b->SetGlyph(image);
  b->SetNumGlyphs(0);
  EXPECT_EQ(b->Glyph().Largeur(), 16);  // no division by zero
}

TEST_F(Boutons, AClickGivesTheModalFormTheButtonsResult) {
  auto* modale = new TForm(&Application());
  auto* b = new TVokSpeedButton(modale);
  b->ModalResult = 6;
  b->SetParent(modale);
  pilote.Script = [&](TForm& f) {
    EXPECT_EQ(&f, modale);
    EXPECT_FALSE(fiche->Enabled());
    EXPECT_TRUE(Saisie::Cliquer(*b));
  };
  EXPECT_EQ(modale->ShowModal(), 6);
  EXPECT_TRUE(fiche->Enabled());
  EXPECT_FALSE(modale->Visible());
  delete modale;
}

TEST_F(Boutons, GlyphImagesAreSharedByTheirSizeAndFreedWithTheirLastUser) {
  EXPECT_FALSE(TGlyphCache::Existe());
  TBitmap image;
  image.Redimensionner(8, 8, Couleurs::clOlive);
  image.DefinirPixel(3, 3, 0x0000FF);
  TVokSpeedButton* a = Bouton(0);
  TVokSpeedButton* b = Bouton(50);
  a->SetGlyph(image);
  b->SetGlyph(image);
  TCanvasEnregistreur c;
  Peindre(*fiche, c);
  EXPECT_EQ(TGlyphCache::NombreListes(), 1);
  // The disabled image is the up image embossed.
  const TBitmap& grise = a->Glyph().ImageEtat(TButtonState::bsDisabled);
  EXPECT_EQ(grise.Pixel(3, 3), Couleurs::CouleurRGB(Couleurs::clBtnShadow));
  EXPECT_EQ(grise.Pixel(4, 4), Couleurs::CouleurRGB(Couleurs::clBtnHighlight));
  EXPECT_EQ(grise.Pixel(0, 0), Couleurs::clOlive);
  // Down and exclusive reuse the up image.
  const TBitmap bas = a->Glyph().ImageEtat(TButtonState::bsDown);
  EXPECT_EQ(bas.Pixel(3, 3), 0x0000FF);
  TBitmap grande;
  grande.Redimensionner(16, 8);
  TVokSpeedButton* d = Bouton(100);
  d->SetGlyph(grande);
  d->Glyph().ImageEtat(TButtonState::bsUp);
  EXPECT_EQ(TGlyphCache::NombreListes(), 2);
  delete d;
  EXPECT_EQ(TGlyphCache::NombreListes(), 1);
  a->SetGlyph(TBitmap());  // changing the source releases the images
  EXPECT_FALSE(a->Glyph().ImageFaite(TButtonState::bsUp));
  delete b;
  EXPECT_FALSE(TGlyphCache::Existe());
}

TEST_F(Boutons, PlacerBoutonAGaucheStandsTheButtonLeftOfItsNeighbourOrOfTheRightEdge) {
  TVokSpeedButton* droite = Bouton(0);
  TVokSpeedButton* gauche = Bouton(0);
  PlacerBoutonAGauche(droite, nullptr, 0);
  EXPECT_EQ(droite->Left(), 300 - 40);
  PlacerBoutonAGauche(gauche, droite, 5);
  EXPECT_EQ(gauche->Left(), 300 - 40 - 40 - 5);
}

TEST_F(Boutons, TheFrameIsRaisedUpSunkenDownAndAbsentOnAFlatButtonUnlessTheMouseIsOver) {
  TVokSpeedButton* b = Bouton(0, 1);
  b->SetLeft(0);
  b->SetTop(0);
  auto cadre = [&] {
    TCanvasEnregistreur c;
    Peindre(*b, c);
    return Appels(c, "Line");
  };
  auto l = cadre();
  ASSERT_EQ(l.size(), 8u);  // the border and the outer bevel
  EXPECT_EQ(l[0], "Line 0,19-0,0 pen=#FFFFFF/1");
  EXPECT_EQ(l[2], "Line 39,0-39,19 pen=#000000/1");
  b->SetDown(true);
  l = cadre();
  EXPECT_EQ(l[0], "Line 0,19-0,0 pen=#000000/1");
  EXPECT_EQ(l[2], "Line 39,0-39,19 pen=#FFFFFF/1");
  b->SetAllowAllUp(true);
  b->SetDown(false);
  b->Flat = true;
  EXPECT_TRUE(cadre().empty());
  EXPECT_TRUE(Saisie::DeplacerSouris(*fiche, {10, 10}));
  EXPECT_TRUE(b->SourisDedans());
  EXPECT_EQ(cadre().size(), 8u);
  EXPECT_TRUE(Saisie::DeplacerSouris(*fiche, {200, 90}));
  EXPECT_TRUE(cadre().empty());
}

TEST_F(Boutons, TheGlyphStandsLeftOfTheCaptionAndBothMoveByTheBevelsWhenDown) {
  TVokSpeedButton* b = Bouton(0, 1);
  b->SetBounds(0, 0, 100, 30);
  TBitmap image;
  image.Redimensionner(16, 16);
  b->SetGlyph(image);
  b->SetCaption("OK");
  TRect g, t;
  b->Disposer(b->ClientRect(), g, t);
  const int tw = MetriquesTexte::Largeur(b->Font(), "OK");
  const int bloc = 16 + 4 + tw;
  EXPECT_EQ(g, Bornes((100 - bloc) / 2, 7, 16, 16));
  EXPECT_EQ(t.Left, g.Right + 4);
  b->SetDown(true);
  TCanvasEnregistreur c;
  Peindre(*b, c);
  EXPECT_EQ(Appels(c, "Draw"), std::vector<std::string>{"Draw " + std::to_string(g.Left + 1) + ",8," + std::to_string(g.Right + 1) + ",24 picture=16x16"});
}

TEST_F(Boutons, EnterAndEscapeClickTheDefaultAndCancelButtonsOnlyWithoutModifiers) {
  TVokSpeedButton* ok = Bouton(0);
  TVokSpeedButton* annuler = Bouton(50);
  ok->SetDefault(true);
  annuler->Cancel = true;
  ok->ModalResult = 1;
  annuler->ModalResult = 2;
  EXPECT_TRUE(Saisie::Touche(*fiche, VK_RETURN));
  EXPECT_EQ(fiche->ModalResult(), 1);
  EXPECT_TRUE(Saisie::Touche(*fiche, VK_ESCAPE));
  EXPECT_EQ(fiche->ModalResult(), 2);
  fiche->SetModalResult(0);
  EXPECT_FALSE(Saisie::Touche(*fiche, VK_RETURN, ssShift));
  ok->SetEnabled(false);
  EXPECT_FALSE(Saisie::Touche(*fiche, VK_RETURN));
  EXPECT_EQ(fiche->ModalResult(), 0);
}

}  // namespace
