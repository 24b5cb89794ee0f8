// A report's pages on the PDF printer, read back as a person would: pdfinfo, pdftotext -bbox,
// pdffonts, and pdftoppm's pictures kept under the build tree to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/cairo/CanvasCairo.h"
#include "platform/cairo/SpouleurPDF.h"
#include "reports/RBPrinter.h"
#include "tests/support/LecturePDF.h"

namespace fs = std::filesystem;

namespace {

class RBPrinterPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = LecturePDF::NouveauDossier("rbpdf");
    ASSERT_FALSE(dossier_.empty());
    pdf_ = std::make_unique<TInstallationPDF>("PDF", dossier_.string());
  }
  void TearDown() override {
    pdf_.reset();
    fs::remove_all(dossier_);
    TCanvasCairo::LibererCaches();
  }
  static void Keep(const std::string& Pdf, int Page, const std::string& Name) {
    const std::string png = LecturePDF::VersPNG(Pdf, Page, 50);
    ASSERT_FALSE(png.empty());
    fs::create_directories(NV_DOSSIER_IMAGES);
    fs::copy_file(png, std::string(NV_DOSSIER_IMAGES) + "/" + Name, fs::copy_options::overwrite_existing);
  }
  // Draws a page of a report: a text at one inch, two inches; a frame around the printable page; a
  // line at mid-height.
  static void DrawPage(TRBPrinter& p, const std::string& Text) {
    TCanvas& c = *p.PageCanvas();
    c.Font.Name = "Arial";
    c.Font.Height = p.ToDeviceHeight(42);  // 12 points
    c.Font.Color = Couleurs::clBlack;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(p.ToDeviceX(254), p.ToDeviceY(508), Text);
    c.Pen.Width = p.ToDeviceWidth(5);
    c.Rectangle({p.ToDeviceX(100), p.ToDeviceY(100), p.ToDeviceX(p.PageWidth() - 100), p.ToDeviceY(p.PageHeight() - 100)});
    c.Pen.Color = Couleurs::clBlue;
    c.MoveTo(p.ToDeviceX(100), p.ToDeviceY(p.PageHeight() / 2));
    c.LineTo(p.ToDeviceX(p.PageWidth() - 100), p.ToDeviceY(p.PageHeight() / 2));
  }
  fs::path dossier_;
  std::unique_ptr<TInstallationPDF> pdf_;
};

}  // namespace

TEST_F(RBPrinterPdf, TextsPrintedStraightToThePdfPrinterLandWhereTheReportPutsThem) {
  TRBPrinter p;
  ASSERT_TRUE(p.HasPrinters());
  EXPECT_EQ(p.DeviceSettings().DeviceName, "PDF");
  EXPECT_EQ(p.DeviceSettings().ResolutionX, 600);
  EXPECT_EQ(p.DeviceSettings().UnprintableLeft, 0);
  p.Routing = TRBPrinter::RoutePrinter;
  p.DocumentTitle = "Bulletins 3e/B";
  p.BeginDocument();
  EXPECT_EQ(p.ToDeviceWidth(254), 600);
  p.NewPage();
  DrawPage(p, "\xC9l\xE8ve");
  p.NewPage();
  DrawPage(p, "Second");
  p.EndDocument();

  ASSERT_EQ(pdf_->Spouleur().Documents().size(), 1u);
  const std::string file = pdf_->Spouleur().Documents()[0];
  EXPECT_EQ(file, (dossier_ / "Bulletins 3e_B.pdf").string());
  EXPECT_EQ(LecturePDF::Info(file, "Pages"), "2");
  EXPECT_EQ(LecturePDF::Info(file, "Page size").substr(0, 19), "595.32 x 841.92 pts");
  const auto words = LecturePDF::Mots(file, 1);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].Texte, "\xC3\x89l\xC3\xA8ve");
  EXPECT_NEAR(words[0].XMin, 72.0, 0.01);
  EXPECT_NEAR(words[0].YMin, 144.0, 0.01);
  const std::string fonts = LecturePDF::Polices(file);
  EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("TrueType"), std::string::npos) << fonts;
  EXPECT_EQ(fonts.find(" no  "), std::string::npos) << fonts;  // embedded
  Keep(file, 1, "rbprinter-pdf-direct-page1.png");
}

TEST_F(RBPrinterPdf, StoredPagesPrintedOnThePdfPrinterInLandscape) {
  TRBPrinter p;
  ASSERT_TRUE(p.DeviceSettings().SetOrientation(1));
  EXPECT_EQ(p.PageWidth(), 2970);
  EXPECT_EQ(p.PageHeight(), 2100);
  p.DocumentTitle = "Timetable";
  p.BeginDocument();
  for (const char* t : {"One", "Two", "Three"}) {
    p.NewPage();
    DrawPage(p, t);
  }
  p.EndDocument();
  p.FirstPage = 2;
  p.Print();

  ASSERT_EQ(pdf_->Spouleur().Documents().size(), 1u);
  const std::string file = pdf_->Spouleur().Documents()[0];
  EXPECT_EQ(LecturePDF::Info(file, "Pages"), "2");
  EXPECT_EQ(LecturePDF::Info(file, "Page size").substr(0, 19), "841.92 x 595.32 pts");
  const auto words = LecturePDF::Mots(file, 1);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].Texte, "Two");
  // The page went through the screen's resolution: within a pixel of 96 dots per inch.
  EXPECT_NEAR(words[0].XMin, 72.0, 0.75);
  EXPECT_NEAR(words[0].YMin, 144.0, 0.75);
  Keep(file, 1, "rbprinter-pdf-stored-landscape-page1.png");
}
