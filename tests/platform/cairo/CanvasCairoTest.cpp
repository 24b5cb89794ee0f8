// The cairo canvas on a picture and on a PDF document, read back as a person would: pixels and PNG
// files, and the document through the poppler tools.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "platform/cairo/CanvasCairo.h"
#include "tests/support/LecturePDF.h"

namespace fs = std::filesystem;

namespace {

class CanvasCairo : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = LecturePDF::NouveauDossier("canvascairo");
    ASSERT_FALSE(dossier_.empty());
  }
  void TearDown() override {
    fs::remove_all(dossier_);
    TCanvasCairo::LibererCaches();
  }
  // Keeps a file to look at under the build tree.
  static void Garder(const std::string& Fichier, const std::string& Nom) {
    fs::create_directories(NV_DOSSIER_IMAGES);
    fs::copy_file(Fichier, std::string(NV_DOSSIER_IMAGES) + "/" + Nom, fs::copy_options::overwrite_existing);
  }
  fs::path dossier_;
};

// The black pixels of a text drawn alone on a picture, as one string of 0 and 1.
std::string Encre(const std::string& Face, uint8_t Style = 0) {
  TCanvasCairo c(120, 30);
  c.Font.Name = Face;
  c.Font.Height = 20;
  c.Font.Style = Style;
  c.Font.Color = Couleurs::clBlack;
  c.Brush.Style = TBrushStyle::bsClear;
  c.TextOut(2, 2, "Hamburg 1");
  std::string r;
  for (int y = 0; y < c.Hauteur(); ++y)
    for (int x = 0; x < c.Largeur(); ++x) r += c.LirePixel(x, y) == Couleurs::clBlack ? '1' : '0';
  return r;
}

}  // namespace

TEST_F(CanvasCairo, FacesResolveThroughFontconfigAndUnknownOnesFallBackToLiberationSans) {
  const std::string liberation = Encre("Liberation Sans");
  EXPECT_NE(liberation.find('1'), std::string::npos);
  EXPECT_EQ(Encre("Arial"), liberation);
  EXPECT_EQ(Encre("MS Sans Serif"), liberation);  // unknown to fontconfig
  EXPECT_NE(Encre("Times New Roman"), liberation);  // Liberation Serif
  EXPECT_NE(Encre("Arial", fsBold), liberation);
}

TEST_F(CanvasCairo, APdfDocumentAt600DotsPerInchPlacesTextsInPointsWithLiberationSansEmbedded) {
  const std::string chemin = (dossier_ / "doc.pdf").string();
  // An A4 sheet at 600 dots per inch, then a landscape one.
  auto doc = TCanvasCairo::DocumentPDF(chemin, 4961, 7016, 600);
  ASSERT_NE(doc, nullptr);
  doc->Font.Name = "Arial";
  doc->Font.Height = 100;
  doc->Font.Color = Couleurs::clBlack;
  doc->Brush.Style = TBrushStyle::bsClear;
  doc->TextOut(600, 1200, "\xC9l\xE8ve");  // one inch, two inches
  doc->Pen.Width = 6;
  doc->Pen.Color = Couleurs::clBlue;
  doc->Brush.Style = TBrushStyle::bsSolid;
  doc->Brush.Color = Couleurs::clYellow;
  doc->Rectangle({600, 1500, 2400, 2100});
  doc->Brush.Color = Couleurs::clRed;
  doc->Ellipse({2600, 1500, 4200, 2100});
  doc->MoveTo(600, 2400);
  doc->LineTo(4200, 2400);
  TBitmap image;
  image.Redimensionner(4, 4, Couleurs::clGreen);
  image.DefinirPixel(0, 0, Couleurs::clOlive);
  image.Transparent = true;
  doc->StretchDraw({600, 2600, 1800, 3800}, image);
  ASSERT_TRUE(doc->PageSuivante(7016, 4961));
  doc->Font = TFont{"Arial", 200, fsBold, Couleurs::clBlack};
  doc->Brush.Style = TBrushStyle::bsClear;
  doc->TextOut(1200, 600, "Page 2");
  ASSERT_TRUE(doc->Terminer());
  EXPECT_TRUE(doc->Terminer());
  doc->TextOut(0, 0, "after the end");  // draws nothing, raises nothing

  EXPECT_EQ(LecturePDF::Info(chemin, "Pages"), "2");
  EXPECT_EQ(LecturePDF::Info(chemin, "Page size").substr(0, 19), "595.32 x 841.92 pts");
  const auto mots = LecturePDF::Mots(chemin, 1);
  ASSERT_EQ(mots.size(), 1u);
  EXPECT_EQ(mots[0].Texte, "\xC3\x89l\xC3\xA8ve");
  EXPECT_NEAR(mots[0].XMin, 72.0, 0.01);
  EXPECT_NEAR(mots[0].YMin, 144.0, 0.01);
  const auto page2 = LecturePDF::Mots(chemin, 2);
  ASSERT_EQ(page2.size(), 2u);
  EXPECT_NEAR(page2[0].XMin, 144.0, 0.01);
  EXPECT_NEAR(page2[0].YMin, 72.0, 0.01);
  const std::string polices = LecturePDF::Polices(chemin);
  EXPECT_NE(polices.find("LiberationSans "), std::string::npos) << polices;
  EXPECT_NE(polices.find("LiberationSans-Bold"), std::string::npos) << polices;
  EXPECT_EQ(polices.find(" no  "), std::string::npos) << polices;  // every font embedded

  const std::string png = LecturePDF::VersPNG(chemin, 1, 50);
  ASSERT_FALSE(png.empty());
  Garder(png, "canvas-cairo-pdf-page1.png");
  Garder(LecturePDF::VersPNG(chemin, 2, 50), "canvas-cairo-pdf-page2.png");
}

TEST_F(CanvasCairo, ADocumentThatCannotBeCreatedIsNone) {
  EXPECT_EQ(TCanvasCairo::DocumentPDF((dossier_ / "missing" / "doc.pdf").string(), 100, 100, 600), nullptr);
  EXPECT_EQ(TCanvasCairo::DocumentPDF((dossier_ / "doc.pdf").string(), 0, 100, 600), nullptr);
  EXPECT_EQ(TCanvasCairo::DocumentPDF((dossier_ / "doc.pdf").string(), 100, 100, 0), nullptr);
}

TEST_F(CanvasCairo, APictureIsNoDocumentAndADocumentHasNoPixels) {
  TCanvasCairo image(10, 10);
  EXPECT_FALSE(image.PageSuivante(10, 10));
  EXPECT_TRUE(image.Terminer());
  EXPECT_EQ(image.LirePixel(5, 5), Couleurs::clWhite);
  auto doc = TCanvasCairo::DocumentPDF((dossier_ / "doc.pdf").string(), 100, 100, 600);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->LirePixel(5, 5), Couleurs::clNone);
  EXPECT_FALSE(doc->SauverPNG((dossier_ / "doc.png").string()));
  EXPECT_FALSE(doc->PageSuivante(0, 100));
  EXPECT_TRUE(doc->Terminer());
  EXPECT_FALSE(doc->PageSuivante(100, 100));
}

TEST_F(CanvasCairo, APictureWithShapesAndTextIsSavedAsPng) {
  TCanvasCairo c(200, 100);
  c.Brush.Color = Couleurs::clYellow;
  c.Pen.Color = Couleurs::clBlue;
  c.Pen.Width = 3;
  c.Rectangle({10, 10, 90, 60});
  c.Font.Name = "Arial";
  c.Font.Height = 16;
  c.Font.Color = Couleurs::clBlack;
  c.Font.Style = fsUnderline;
  c.Brush.Style = TBrushStyle::bsClear;
  c.TextOut(100, 20, "\xC9l\xE8ve");
  EXPECT_EQ(c.LirePixel(11, 11), Couleurs::clBlue);    // the frame is as wide as the pen
  EXPECT_EQ(c.LirePixel(12, 30), Couleurs::clBlue);
  EXPECT_EQ(c.LirePixel(13, 30), Couleurs::clYellow);
  // The underline runs under the whole text, one pixel thick at this height.
  const int base = 20 + MetriquesTexte::Ascendante(c.Font);
  for (int x = 100; x < 100 + MetriquesTexte::Largeur(c.Font, "\xC9l\xE8ve"); ++x)
    EXPECT_EQ(c.LirePixel(x, base + 1), Couleurs::clBlack) << x;
  const std::string png = (dossier_ / "image.png").string();
  ASSERT_TRUE(c.SauverPNG(png));
  Garder(png, "canvas-cairo-image.png");
  EXPECT_FALSE(c.SauverPNG((dossier_ / "missing" / "image.png").string()));
}

TEST_F(CanvasCairo, DottedAndDashedLinesAndFramesOnAPicture) {
  TCanvasCairo c(60, 20);
  c.Pen.Color = Couleurs::clBlack;
  auto row = [&](int y) {
    std::string r;
    for (int x = 0; x < 60; ++x) r += c.LirePixel(x, y) == Couleurs::clBlack ? '1' : '0';
    return r;
  };
  c.Pen.Style = TPenStyle::psDot;
  c.MoveTo(0, 1);
  c.LineTo(8, 1);
  EXPECT_EQ(row(1).substr(0, 10), "1010101000");
  // 18 pixels on and 6 off.
  c.Pen.Style = TPenStyle::psDash;
  c.MoveTo(0, 3);
  c.LineTo(60, 3);
  EXPECT_EQ(row(3), std::string(18, '1') + std::string(6, '0') + std::string(18, '1') + std::string(6, '0') +
                        std::string(12, '1'));
  // A dashed frame is dashed too, each side from its corner; its inside is left as it was.
  c.Brush.Style = TBrushStyle::bsClear;
  c.Rectangle({0, 6, 60, 20});
  EXPECT_EQ(row(6), row(3));
  const std::string dashes = row(3);
  EXPECT_EQ(row(19), std::string(dashes.rbegin(), dashes.rend()));  // drawn from the right-hand corner
  EXPECT_EQ(c.LirePixel(30, 12), Couleurs::clWhite);
  EXPECT_EQ(c.LirePixel(59, 12), Couleurs::clBlack);
}
