// What the toolkit's controls paint, on a pixel canvas: probes of pixels, and the pictures kept as
// PNG files under the build tree for a look.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/gui/Images.h"
#include "platform/ui/Patienc3.h"
#include "platform/cairo/CanvasCairo.h"
#include "tests/ui/FenetresEssai.h"
#include "tests/ui/Photographie.h"
#include "ui/VCLBtns.h"
#include "ui/VclDialogue.h"
#include "ui/vclpanel.h"

namespace {

// Cairo's and the font library's caches go when the tests end.
class LiberationCaches : public ::testing::Environment {
 public:
  void TearDown() override { TCanvasCairo::LibererCaches(); }
};
[[maybe_unused]] ::testing::Environment* const kLiberation = ::testing::AddGlobalTestEnvironment(new LiberationCaches);

TEST(Images, TheToolkitsPicturesAreResourcesOfTheProgram) {
  const struct {
    const char* nom;
    int largeur, hauteur;
  } cas[] = {{"PATIENCE2", 38, 32}, {"PATIENTER", 96, 128}, {"IMAGEINFORMATION", 50, 70},
             {"IMAGECONFIRMATION", 50, 70}, {"IMAGEAIDE", 50, 70}};
  for (const auto& c : cas) {
    const TBitmap image = Images::ImageParNom(c.nom);
    EXPECT_EQ(image.Width, c.largeur) << c.nom;
    EXPECT_EQ(image.Height, c.hauteur) << c.nom;
  }
  EXPECT_TRUE(Images::ImageParNom("INCONNUE").Vide());
  EXPECT_EQ(Patienc3::Image().Width, 38);
  EXPECT_EQ(VclDialogue::ModeleMessage()->ImageAideND->Picture.Height, 70);
}

TEST(Images, OnlyAWholeValidPngDecodes) {
  std::string octets;
  ASSERT_TRUE(Images::LireRessource("PATIENCE2", octets));
  TBitmap image;
  EXPECT_TRUE(Images::DecoderPNG(octets, image));
  for (size_t coupe : {size_t(0), size_t(7), size_t(8), size_t(40), octets.size() / 2, octets.size() - 1}) {
    EXPECT_FALSE(Images::DecoderPNG(std::string_view(octets).substr(0, coupe), image)) << coupe;
    EXPECT_TRUE(image.Vide());
  }
  std::string abime = octets;
  abime[abime.size() / 2] ^= 0x55;  // a damaged compressed block or checksum
  EXPECT_FALSE(Images::DecoderPNG(abime, image));
  EXPECT_FALSE(Images::DecoderPNG("pas une image", image));
}

TEST(Images, AThreePixelShadowGoesFromTheLightColourOutsideToTheDarkOneInside) {
  TVokPanel parent(nullptr);
  parent.SetBounds(0, 0, 60, 40);
  parent.SetBevelOuter(TBevelCut::bvNone);
  parent.SetColor(0x00FF00);
  auto* p = new TVokPanelOmbre(&parent);
  p->SetBounds(0, 0, 60, 40);
  p->SetShadowWidth(3);
  p->SetLightShadowColor(0xFFFFFF);
  p->SetDarkShadowColor(0x000000);
  p->SetBorderColor(0x0000FF);
  p->SetColor(0xFF0000);
  p->SetParent(&parent);
  auto c = Photographier(parent, "ombre");
  // Right edge, outside in; then the bottom edge.
  EXPECT_EQ(c->LirePixel(59, 20), 0xFFFFFF);
  EXPECT_EQ(c->LirePixel(58, 20), 0x808080);
  EXPECT_EQ(c->LirePixel(57, 20), 0x000000);
  EXPECT_EQ(c->LirePixel(30, 39), 0xFFFFFF);
  EXPECT_EQ(c->LirePixel(30, 38), 0x808080);
  EXPECT_EQ(c->LirePixel(30, 37), 0x000000);
  // The parent shows through the top-left strip and above the shadow's start.
  EXPECT_EQ(c->LirePixel(1, 20), 0x00FF00);
  EXPECT_EQ(c->LirePixel(59, 1), 0x00FF00);
  // Border ring, then the fill.
  EXPECT_EQ(c->LirePixel(3, 20), 0x0000FF);
  EXPECT_EQ(c->LirePixel(4, 20), 0x0000FF);
  EXPECT_EQ(c->LirePixel(30, 20), 0xFF0000);
}

TEST(Images, APanelsBevelsAreLightTopLeftAndDarkBottomRightWhenRaised) {
  TVokPanel p(nullptr);
  p.SetBounds(0, 0, 40, 30);
  p.SetBevelOuter(TBevelCut::bvRaised);
  p.SetBevelInner(TBevelCut::bvLowered);
  p.SetBevelWidth(2);
  p.SetBorderWidth(1);
  p.SetColor(0x808080);
  auto c = Photographier(p, "biseaux");
  const TColor clair = Couleurs::CouleurRGB(Couleurs::clBtnHighlight), sombre = Couleurs::CouleurRGB(Couleurs::clBtnShadow);
  EXPECT_EQ(c->LirePixel(0, 10), clair);
  EXPECT_EQ(c->LirePixel(1, 10), clair);
  EXPECT_EQ(c->LirePixel(39, 10), sombre);
  EXPECT_EQ(c->LirePixel(10, 29), sombre);
  EXPECT_EQ(c->LirePixel(2, 10), 0x808080);  // the border ring in the panel's colour
  EXPECT_EQ(c->LirePixel(3, 10), sombre);    // the inner bevel, lowered
  EXPECT_EQ(c->LirePixel(36, 10), clair);
  EXPECT_EQ(c->LirePixel(20, 15), 0x808080);
}

class ImagesBoutons : public FenetresEssai {};

TEST_F(ImagesBoutons, ASpeedButtonIsRaisedUpSunkenDownAndFrameless) {
  TVokPanel fond(nullptr);
  fond.SetBounds(0, 0, 60, 30);
  fond.SetBevelOuter(TBevelCut::bvNone);
  fond.SetColor(0x00FFFF);
  auto* b = new TVokSpeedButton(&fond);
  b->SetBounds(0, 0, 60, 30);
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  b->SetCaption("Ok");
  b->SetParent(&fond);
  auto haut = Photographier(fond, "bouton-haut");
  EXPECT_EQ(haut->LirePixel(0, 0), 0xFFFFFF);
  EXPECT_EQ(haut->LirePixel(0, 15), 0xFFFFFF);
  EXPECT_EQ(haut->LirePixel(59, 29), 0x000000);
  EXPECT_EQ(haut->LirePixel(59, 15), 0x000000);
  EXPECT_EQ(haut->LirePixel(1, 15), Couleurs::CouleurRGB(Couleurs::clBtnHighlight));
  EXPECT_EQ(haut->LirePixel(58, 15), Couleurs::CouleurRGB(Couleurs::clBtnShadow));
  b->SetDown(true);
  auto bas = Photographier(fond, "bouton-bas");
  EXPECT_EQ(bas->LirePixel(0, 15), 0x000000);
  EXPECT_EQ(bas->LirePixel(59, 15), 0xFFFFFF);
  b->SetDown(false);
  b->Flat = true;
  auto plat = Photographier(fond, "bouton-plat");
  EXPECT_EQ(plat->LirePixel(0, 0), 0x00FFFF);   // transparent: the parent shows
  EXPECT_EQ(plat->LirePixel(1, 15), 0x00FFFF);  // and no frame
  EXPECT_EQ(plat->LirePixel(58, 28), 0x00FFFF);
}

class ImagesDialogue : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    VclDialogue::DefinirSortie([](const std::string&) {});
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    FenetresEssai::TearDown();
  }
  // Shows a message and photographs its window.
  std::unique_ptr<TCanvasCairo> Message(uint8_t Genre, const std::string& Nom) {
    std::unique_ptr<TCanvasCairo> c;
    pilote.Script = [&](TForm& f) {
      c = std::make_unique<TCanvasCairo>(f.ClientWidth(), f.ClientHeight());
      Peindre(f, *c);
      std::filesystem::create_directories(NV_DOSSIER_IMAGES);
      EXPECT_TRUE(c->SauverPNG(std::string(NV_DOSSIER_IMAGES) + "/" + Nom + ".png"));
      f.SetModalResult(mrOk);
    };
    VclDialogue::AfficherMessage(true, "Le texte du message,\\crlf\\sur deux lignes.", "Titre", Genre, 3, true);
    return c;
  }
};

TEST_F(ImagesDialogue, AKindFiveMessageIsPureRedWithoutAPicture) {
  auto c = Message(5, "dialogue-alerte");
  ASSERT_TRUE(c);
  for (int y = 0; y < 122; y += 3)
    for (int x = 0; x < 58; x += 3) ASSERT_EQ(c->LirePixel(x, y), 0x0000FF) << x << "," << y;  // red, no picture
  EXPECT_EQ(c->LirePixel(250, 140), 0x0000FF);  // the button panel
  EXPECT_EQ(c->LirePixel(300, 100), 0xFFFFFF);  // the text panel
}

TEST_F(ImagesDialogue, AKindOneMessageHasItsColoursAndAWhiteTextPanel) {
  auto c = Message(1, "dialogue-confirmation");
  ASSERT_TRUE(c);
  const TColor couleur = Couleurs::RGB(0xCC, 0x99, 0x99);
  EXPECT_EQ(couleur, 0x9999CC);
  EXPECT_EQ(c->LirePixel(2, 2), couleur);      // picture panel, above its picture
  EXPECT_EQ(c->LirePixel(2, 110), couleur);
  EXPECT_EQ(c->LirePixel(20, 140), couleur);   // button panel
  EXPECT_EQ(c->LirePixel(497, 60), couleur);   // the window right of the text panel
  EXPECT_EQ(c->LirePixel(480, 100), 0xFFFFFF);  // text panel
  EXPECT_EQ(c->LirePixel(60, 6), 0xFFFFFF);
  EXPECT_NE(c->LirePixel(4 + 25, 15 + 35), couleur);  // the confirmation picture, centred at (4, 15) 50 x 70
}

}  // namespace
