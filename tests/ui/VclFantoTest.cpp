#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/cairo/CanvasCairo.h"
#include "ui/VclFanto.h"

namespace {

using namespace FormatTexte;

// Frees the ghost a test left.
struct Fantome : ::testing::Test {
  void TearDown() override { VclFanto::CacherFantome(); }
};

TEST_F(Fantome, TheGhostIsOneBorderlessWindowOnTopOf132By23CreatedOnceAndFreedWhenHidden) {
  EXPECT_EQ(VclFanto::Fantome(), nullptr);
  TFantome& f = VclFanto::CreerFantome();
  EXPECT_EQ(&VclFanto::CreerFantome(), &f);
  EXPECT_EQ(VclFanto::Fantome(), &f);
  EXPECT_EQ(f.Owner(), &Application());
  EXPECT_EQ(f.BorderStyle(), TFormBorderStyle::bsNone);
  EXPECT_EQ(f.BorderIcons, 0);
  EXPECT_EQ(f.FormStyle, TFormStyle::fsStayOnTop);
  EXPECT_EQ(f.Width(), 132);
  EXPECT_EQ(f.Height(), 23);
  VclFanto::CacherFantome();
  EXPECT_EQ(VclFanto::Fantome(), nullptr);
  VclFanto::CacherFantome();  // harmless
  VclFanto::PlacerFantome({10, 10}, true);  // nothing to place
  // A ghost freed by its owner is forgotten.
  delete &VclFanto::CreerFantome();
  EXPECT_EQ(VclFanto::Fantome(), nullptr);
}

TEST_F(Fantome, PlacingHoldsTheGhostThreePixelsInsideTheDesktop) {
  TFantome& f = VclFanto::CreerFantome();
  const struct {
    TPoint point;
    bool dansEcran;
    TPoint attendu;
  } cas[] = {{{1000, 760}, false, {889, 742}}, {{-50, -50}, false, {3, 3}}, {{100, 200}, false, {103, 203}},
             {{1000, 760}, true, {889, 742}}, {{-50, 900}, true, {3, 742}}};
  for (const auto& c : cas) {
    VclFanto::PlacerFantome(c.point, c.dansEcran);
    EXPECT_EQ((TPoint{f.Left(), f.Top()}), c.attendu) << c.point.X << "," << c.point.Y;
    EXPECT_EQ(f.Width(), 132);
  }
}

TEST_F(Fantome, ARowGhostIsYellowInsideTheListAndRedOutside) {
  TFantome& f = VclFanto::CreerFantome();
  VclFanto::PlacerFantomeLigne({40, 50}, {10, 10}, 100, 20);
  EXPECT_EQ((TPoint{f.Left(), f.Top()}), (TPoint{40, 50}));
  EXPECT_EQ(f.Color(), Couleurs::clYellow);
  EXPECT_EQ(f.Font().Color, Couleurs::clBlack);
  VclFanto::PlacerFantomeLigne({40, 50}, {100, 10}, 100, 20);  // the right edge lies outside
  EXPECT_EQ(f.Color(), Couleurs::clRed);
  EXPECT_EQ(f.Font().Color, Couleurs::clWhite);
}

TEST_F(Fantome, ABalloonTakesItsTextSizeAndStaysThreePixelsInsideTheRightEdge) {
  TFantome& f = VclFanto::CreerFantome();
  TFont police;
  police.Name = "Arial";
  police.Color = Couleurs::clBlack;
  f.SetFont(police);
  f.SetBulle(true);
  f.SetBounds(0, 0, 200, 20);  // as a list prepares it: its cell's size
  f.SetCaption("Heures hebdomadaires");
  const int hauteur = MetriquesTexte::Hauteur(police);
  EXPECT_EQ(f.Width(), MetriquesTexte::Largeur(police, "Heures hebdomadaires") + 6);
  EXPECT_EQ(f.Height(), hauteur + 4);
  VclFanto::PlacerFantome({1020, 100}, true);
  EXPECT_EQ(f.Left() + f.Width(), 1024 - 3);
  EXPECT_EQ(f.Top(), 103);
  // In a narrower cell the words go on two lines.
  f.SetBounds(0, 0, 64, 20);
  f.SetCaption("Heures hebdo");
  EXPECT_EQ(f.Width(), MetriquesTexte::Largeur(police, "Heures") + 6);
  EXPECT_EQ(f.Height(), 2 * hauteur + 4);
}

// Paints the ghost on pixels and keeps the picture.
TCanvasCairo* Photographier(TFantome& f, const std::string& Nom) {
  auto* c = new TCanvasCairo(f.Width(), f.Height());
  Peindre(f, *c);
  std::filesystem::create_directories(NV_DOSSIER_IMAGES);
  EXPECT_TRUE(c->SauverPNG(std::string(NV_DOSSIER_IMAGES) + "/" + Nom + ".png"));
  return c;
}

TEST_F(Fantome, ADragGhostIsPaintedInItsColourWithoutFrameAndABalloonIsFramedInTheFontColour) {
  TFantome& f = VclFanto::CreerFantome();
  f.SetCaption("Sélection");
  f.SetColor(Couleurs::clGreen);
  TFont police = f.Font();
  police.Color = Couleurs::clWhite;
  f.SetFont(police);
  f.SansCadre = true;
  std::unique_ptr<TCanvasCairo> glisser(Photographier(f, "FantomeGlisser"));
  for (TPoint p : {TPoint{0, 0}, TPoint{131, 22}, TPoint{1, 11}})
    EXPECT_EQ(glisser->LirePixel(p.X, p.Y), Couleurs::clGreen) << p.X << "," << p.Y;
  // The white caption lies in the middle.
  int blancs = 0;
  for (int x = 0; x < f.Width(); ++x)
    for (int y = 0; y < f.Height(); ++y) blancs += glisser->LirePixel(x, y) == Couleurs::clWhite;
  EXPECT_GT(blancs, 20);
  EXPECT_EQ(glisser->LirePixel(5, 11), Couleurs::clGreen);

  VclFanto::CacherFantome();
  TFantome& b = VclFanto::CreerFantome();
  b.SetColor(0xE1FFFF);
  police.Name = "Arial";
  police.Color = Couleurs::clBlack;
  b.SetFont(police);
  b.SetBulle(true);
  b.SetBounds(0, 0, 64, 20);
  b.SetCaption("Cours");
  std::unique_ptr<TCanvasCairo> bulle(Photographier(b, "FantomeBulle"));
  for (TPoint p : {TPoint{0, 0}, TPoint{b.Width() - 1, 0}, TPoint{0, b.Height() - 1}, TPoint{b.Width() - 1, b.Height() - 1}})
    EXPECT_EQ(bulle->LirePixel(p.X, p.Y), Couleurs::clBlack) << p.X << "," << p.Y;
  EXPECT_EQ(bulle->LirePixel(1, 1), 0xE1FFFF);
  EXPECT_EQ(bulle->LirePixel(b.Width() - 2, b.Height() - 2), 0xE1FFFF);
}

std::vector<std::string> Textes(const TCanvasEnregistreur& c) {
  std::vector<std::string> l;
  for (const auto& a : c.Appels())
    if (a.rfind("Text ", 0) == 0) l.push_back(a);
  return l;
}

TEST(DessinTexte, ACentredTextTooWideIsDrawnLeftAlignedWithinThreePixelMargins) {
  TCanvasEnregistreur c;
  c.Font.Name = "Arial";
  c.Font.Color = Couleurs::clBlack;
  const std::string court = "Lu", long_ = "Lundi matin et après-midi";
  const int w = c.TextWidth(court);
  VclFanto::DessinerTexte(c, {10, 0, 60, 20}, court, DT_CENTER);
  VclFanto::DessinerTexte(c, {10, 0, 60, 20}, long_, DT_CENTER);
  VclFanto::DessinerTexte(c, {10, 0, 60, 20}, "A&B", DT_LEFT);  // no accelerator prefix
  const auto t = Textes(c);
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].substr(0, t[0].find(' ', 5)), "Text " + std::to_string(10 + (50 - w) / 2) + ",0");
  EXPECT_EQ(t[1].rfind("Text 13,0 \"", 0), 0u) << t[1];
  EXPECT_NE(t[1].find("brush=clear"), std::string::npos);
  EXPECT_NE(t[2].find("\"A&B\""), std::string::npos);
  // The transparent drawing leaves the canvas's brush as it was.
  EXPECT_EQ(c.Brush.Style, TBrushStyle::bsSolid);
}

TEST(DessinTexte, MarginsNarrowTheRectangleAfterFillingIt) {
  TCanvasEnregistreur c;
  VclFanto::DessinerTexteAvecMarges(c, {0, 0, 100, 30}, 4, 2, "Salle", DT_LEFT);
  ASSERT_EQ(c.Appels().size(), 2u);
  EXPECT_EQ(c.Appels()[0].rfind("FillRect 0,0,100,30", 0), 0u);
  EXPECT_EQ(c.Appels()[1].rfind("Text 4,2 \"Salle\"", 0), 0u);
}

TEST(DessinTexte, ACentredTextIsEmbossedWhenInactive) {
  TCanvasEnregistreur c;
  c.Font.Color = Couleurs::clBlack;
  const TRect r{0, 0, 100, 41};
  VclFanto::DessinerTexteCentre(c, r, "Mardi", true);
  const int w = c.TextWidth("Mardi"), h = MetriquesTexte::Hauteur(c.Font);
  const int x = (100 - w) / 2 - 1, y = (41 - h) / 2 - 1;
  const int xCentre = x + (100 - 2 * x - w) / 2;
  auto actif = Textes(c);
  ASSERT_EQ(actif.size(), 1u);
  EXPECT_EQ(actif[0].rfind("Text " + std::to_string(xCentre) + "," + std::to_string(y) + " ", 0), 0u) << actif[0];
  EXPECT_EQ(c.Appels()[0].rfind("FillRect 0,0,100,41", 0), 0u);

  c.Effacer();
  VclFanto::DessinerTexteCentre(c, r, "Mardi", false);
  const auto inactif = Textes(c);
  ASSERT_EQ(inactif.size(), 2u);
  const int x0 = (100 - w) / 2, y0 = (41 - h) / 2;
  const int xc = x0 + (100 - 2 * x0 - w) / 2;
  EXPECT_EQ(inactif[0].rfind("Text " + std::to_string(xc + 1) + "," + std::to_string(y0 + 1) + " ", 0), 0u);
  EXPECT_NE(inactif[0].find(TexteCouleur(Couleurs::clBtnHighlight)), std::string::npos);
  EXPECT_EQ(inactif[1].rfind("Text " + std::to_string(xc) + "," + std::to_string(y0) + " ", 0), 0u);
  EXPECT_NE(inactif[1].find(TexteCouleur(Couleurs::clBtnShadow)), std::string::npos);
  EXPECT_EQ(c.Font.Color, Couleurs::clBlack);
}

}  // namespace
