// The PDF printers: their device mode and metrics for every paper, the files their documents become,
// and the platform's printer object printing on them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/cairo/CanvasCairo.h"
#include "platform/cairo/SpouleurPDF.h"
#include "platform/gui/Papiers.h"
#include "platform/gui/Printers.h"
#include "tests/support/LecturePDF.h"

namespace fs = std::filesystem;

namespace {

class SpouleurPDF : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = LecturePDF::NouveauDossier("spouleurpdf");
    ASSERT_FALSE(dossier_.empty());
  }
  void TearDown() override {
    fs::remove_all(dossier_);
    TCanvasCairo::LibererCaches();
  }
  fs::path dossier_;
};

// One page with a text at one inch, two inches, printed through the shared printer object.
void Imprimer(const std::string& Titre, int Pages = 1) {
  TPrinter& p = Printers::Printer();
  p.Title = Titre;
  p.BeginDoc();
  for (int n = 1; n <= Pages; ++n) {
    if (n > 1) p.NewPage();
    p.Canvas()->Font = TFont{"Arial", 100, 0, Couleurs::clBlack};
    p.Canvas()->Brush.Style = TBrushStyle::bsClear;
    p.Canvas()->TextOut(600, 1200, "Page" + std::to_string(n));
  }
  p.EndDoc();
}

}  // namespace

TEST_F(SpouleurPDF, EveryNamedPaperAndCustomSheetsAt600DotsPerInchWithoutMargins) {
  TDeviceMode m = TSpouleurPDF::ModeInitial();
  EXPECT_EQ(m.PaperSize, 9);
  EXPECT_EQ(m.Orientation, TDeviceMode::kPortrait);
  EXPECT_EQ(m.Copies, 1);
  EXPECT_EQ(m.Fields, 0x9F0Fu);
  TDeviceMetrics a4 = TSpouleurPDF::Metriques(m);
  EXPECT_EQ(a4.DotsPerInchX, 600);
  EXPECT_EQ(a4.DotsPerInchY, 600);
  EXPECT_EQ(a4.PhysicalOffsetX, 0);
  EXPECT_EQ(a4.PhysicalOffsetY, 0);
  EXPECT_EQ(a4.PhysicalWidth, 4961);
  EXPECT_EQ(a4.PhysicalHeight, 7016);
  EXPECT_EQ(a4.PrintableWidth, 4961);
  ASSERT_EQ(a4.PaperCodes.size(), 69u);
  EXPECT_EQ(a4.PaperCodes.front(), 1);
  EXPECT_EQ(a4.PaperCodes.back(), 256);
  // Every named paper by its code alone, portrait and landscape.
  for (int code = 1; code <= 68; ++code) {
    TDeviceMode p;
    p.Fields = TDeviceMode::kPaperSize | TDeviceMode::kOrientation;
    p.PaperSize = static_cast<int16_t>(code);
    p.Orientation = TDeviceMode::kPortrait;
    const Papiers::TDimensions d = *Papiers::Dimensions(code);
    const TDeviceMetrics portrait = TSpouleurPDF::Metriques(p);
    EXPECT_EQ(portrait.PhysicalWidth, std::lround(d.Width * 600 / 25.4)) << code;
    EXPECT_EQ(portrait.PhysicalHeight, std::lround(d.Length * 600 / 25.4)) << code;
    p.Orientation = TDeviceMode::kLandscape;
    EXPECT_EQ(TSpouleurPDF::Metriques(p).PhysicalWidth, portrait.PhysicalHeight) << code;
  }
  // A custom sheet of 100 by 50 mm; the sides given override the paper code, as a driver's do.
  TDeviceMode c;
  c.Fields = TDeviceMode::kPaperSize | TDeviceMode::kPaperWidth | TDeviceMode::kPaperLength;
  c.PaperSize = 256;
  c.PaperWidth = 1000;
  c.PaperLength = 500;
  EXPECT_EQ(TSpouleurPDF::Metriques(c).PhysicalWidth, 2362);
  EXPECT_EQ(TSpouleurPDF::Metriques(c).PhysicalHeight, 1181);
  c.Fields = TDeviceMode::kPaperSize;  // sides not announced: A4
  EXPECT_EQ(TSpouleurPDF::Metriques(c).PhysicalWidth, 4961);
}

TEST_F(SpouleurPDF, FileNamesComeFromTheTitleSanitised) {
  struct Cas {
    std::string Titre, Nom;
  };
  const Cas cas[] = {
      {"Bulletin", "Bulletin.pdf"},
      {"Notes 3e/B: \"mi-parcours\"?", "Notes 3e_B_ _mi-parcours__.pdf"},
      {"a\\b*c<d>e|f\tg", "a_b_c_d_e_f_g.pdf"},
      {"  ..Emploi du temps..  ", "Emploi du temps.pdf"},
      {"", "Document.pdf"},
      {" . ", "Document.pdf"},
      {"..", "Document.pdf"},
      {"\xC9l\xE8ve", "\xC3\x89l\xC3\xA8ve.pdf"},
      {std::string(200, 'x'), std::string(120, 'x') + ".pdf"},
  };
  for (const Cas& c : cas) EXPECT_EQ(TSpouleurPDF::NomDeFichier(c.Titre), c.Nom) << c.Titre;
}

TEST_F(SpouleurPDF, DocumentsGoToTheRegisteredFolderNeverOverwriting) {
  fs::create_directories(dossier_ / "b");
  TSpouleurPDF pdf;
  EXPECT_TRUE(pdf.Enregistrer("PDF", dossier_.string()));
  EXPECT_TRUE(pdf.Enregistrer("PDF B", (dossier_ / "b").string()));
  EXPECT_FALSE(pdf.Enregistrer("PDF", "/elsewhere"));
  EXPECT_FALSE(pdf.Enregistrer("", "/elsewhere"));
  TSpouleur* avant = Spouleur::Installer(&pdf);
  Printers::Printer().Refresh();
  EXPECT_EQ(Printers::Printer().Printers(), (std::vector<std::string>{"PDF", "PDF B"}));
  EXPECT_EQ(Printers::Printer().PrinterIndex(), 0);  // the first registered is the default one
  { std::ofstream(dossier_ / "Bulletin.pdf") << "kept"; }
  Imprimer("Bulletin");
  Imprimer("Bulletin", 3);
  Printers::Printer().SetPrinterIndex(1);
  Imprimer("Bulletin");
  // Aborted, or ended without a page: no file.
  Printers::Printer().SetPrinterIndex(0);
  Printers::Printer().Title = "Aborted";
  Printers::Printer().BeginDoc();
  Printers::Printer().Abort();
  Spouleur::Installer(avant);
  Printers::Printer().Refresh();

  EXPECT_EQ(pdf.Documents(), (std::vector<std::string>{(dossier_ / "Bulletin (2).pdf").string(),
                                                      (dossier_ / "Bulletin (3).pdf").string(),
                                                      (dossier_ / "b" / "Bulletin.pdf").string()}));
  std::ifstream garde(dossier_ / "Bulletin.pdf");
  std::string contenu;
  garde >> contenu;
  EXPECT_EQ(contenu, "kept");
  EXPECT_FALSE(fs::exists(dossier_ / "Aborted.pdf"));
  EXPECT_EQ(LecturePDF::Info(pdf.Documents()[1], "Pages"), "3");
  const auto mots = LecturePDF::Mots(pdf.Documents()[1], 3);
  ASSERT_EQ(mots.size(), 1u);
  EXPECT_EQ(mots[0].Texte, "Page3");
  EXPECT_NEAR(mots[0].XMin, 72.0, 0.01);
  EXPECT_NEAR(mots[0].YMin, 144.0, 0.01);
}

TEST_F(SpouleurPDF, ADeviceContextRefusesCallsOutOfOrderAndAMissingFolderFails) {
  TSpouleurPDF pdf;
  ASSERT_TRUE(pdf.Enregistrer("PDF", (dossier_ / "missing").string()));
  EXPECT_EQ(pdf.CreerContexte("", "Other", "", nullptr, false), nullptr);
  auto info = pdf.CreerContexte("", "PDF", "", nullptr, true);
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->Information());
  EXPECT_FALSE(info->DebuterDocument("x"));
  auto dc = pdf.CreerContexte("", "PDF", "", nullptr, false);
  EXPECT_EQ(dc->DebuterPage(), nullptr);
  EXPECT_FALSE(dc->TerminerPage());
  EXPECT_FALSE(dc->TerminerDocument());
  EXPECT_FALSE(dc->DebuterDocument("x"));  // the folder does not exist
  fs::create_directories(dossier_ / "missing");
  ASSERT_TRUE(dc->DebuterDocument("x"));
  EXPECT_FALSE(dc->DebuterDocument("y"));
  ASSERT_NE(dc->DebuterPage(), nullptr);
  EXPECT_EQ(dc->DebuterPage(), nullptr);
  dc.reset();  // a context freed with its document open drops the document
  EXPECT_FALSE(fs::exists(dossier_ / "missing" / "x.pdf"));
  EXPECT_TRUE(pdf.Documents().empty());
}
