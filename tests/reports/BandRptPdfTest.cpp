// A whole report printed by PrintToPrinter on the PDF printer and read back as a person would: the
// pages pdfinfo counts, the words pdftotext -bbox finds and where, and pdftoppm's pictures kept under
// the build tree to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/cairo/CanvasCairo.h"
#include "platform/cairo/SpouleurPDF.h"
#include "platform/data/DataSet.h"
#include "platform/gui/Fiches.h"
#include "reports/BandRpt.h"
#include "reports/RBCtrls.h"
#include "tests/reports/PlacedControl.h"
#include "tests/support/LecturePDF.h"

namespace fs = std::filesystem;

namespace {

class BandRptPdf : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = LecturePDF::NouveauDossier("bandrptpdf");
    ASSERT_FALSE(dossier_.empty());
    pdf_ = std::make_unique<TInstallationPDF>("PDF", dossier_.string());
    report = new TBandRep(&form);
    report->SetParent(&form);
    report->Page.Units = TRBUnit::Native;
  }
  void TearDown() override {
    pdf_.reset();
    fs::remove_all(dossier_);
    TCanvasCairo::LibererCaches();
  }
  TRBCustomBand* Band(TRBBandType Type, double Height) {
    TRBCustomBand* b = report->CreateBand(Type);
    b->Size.Units = TRBUnit::Native;
    b->Size.SetHeight(Height);
    return b;
  }
  template <class T>
  T* Control(TWinControl* On, double Left, double Top, double Width, double Height) {
    return PlacedControl<T>(&form, On, Left, Top, Width, Height);
  }
  TRBLabel* Label(TWinControl* On, double Left, double Top, double Width, const std::string& Text) {
    auto* l = Control<TRBLabel>(On, Left, Top, Width, 45);
    l->SetLabelCaption(Text);
    l->SetTransparent(true);
    return l;
  }
  TRBExpr* Expr(TWinControl* On, double Left, double Top, double Width, const std::string& Expression) {
    auto* e = Control<TRBExpr>(On, Left, Top, Width, 45);
    e->SetExpression(Expression);
    e->SetTransparent(true);
    return e;
  }
  static void Frame(TRBCustomBand* Band) {
    Band->Frame.DrawTop = Band->Frame.DrawBottom = Band->Frame.DrawLeft = Band->Frame.DrawRight = true;
  }
  static void Keep(const std::string& Pdf, int Page, const std::string& Name) {
    const std::string png = LecturePDF::VersPNG(Pdf, Page, 60);
    ASSERT_FALSE(png.empty());
    fs::create_directories(NV_DOSSIER_IMAGES);
    fs::copy_file(png, std::string(NV_DOSSIER_IMAGES) + "/" + Name, fs::copy_options::overwrite_existing);
  }

  TForm form{nullptr};
  TBandRep* report = nullptr;
  fs::path dossier_;
  std::unique_ptr<TInstallationPDF> pdf_;
};

}  // namespace

TEST_F(BandRptPdf, AClassListPrintedByPrintToPrinterReadsBack) {
  // Sixty pupils in five classes of twelve; N runs 1 to 60, so a class's total is 144 k + 78.
  auto* data = new TMemDataSet(&form, "Pupils");
  data->DefineFields({{"G", TFieldType::ftString}, {"Nom", TFieldType::ftString}, {"N", TFieldType::ftInteger}});
  const char* const classes[] = {"6e A", "6e B", "5e \xC9toile", "4e C", "3e D"};
  // Pupil 43 has a long name that stretches its line past the bottom of the first column of page 2.
  const std::string longName =
      "\xC9l\xE8ve 43, dont le nom compos\xE9 est tr\xE8s long et remplit plusieurs lignes de la colonne "
      "jusqu'\xE0 d\xE9passer le bas de la colonne, puis continue en haut de la colonne suivante ; la fin";
  for (int n = 1; n <= 60; ++n)
    data->AppendRow({TFieldValue::OfText(classes[(n - 1) / 12]),
                     TFieldValue::OfText(n == 43 ? longName : "\xC9l\xE8ve " + std::to_string(n)),
                     TFieldValue::OfInteger(n)});
  data->Open();
  report->SetDataSet(data);
  report->ReportTitle = "Relev\xE9 des notes";
  report->Page.SetTopMargin(127);
  report->Page.SetLeftMargin(127);
  report->Page.SetBottomMargin(127);
  report->Page.SetRightMargin(127);
  report->Page.SetColumns(2);
  report->Page.SetColumnSpace(100);
  report->Options = LastPageFooter;  // no page header on the first page

  // The title label stands at 127, 127 in its band, inside margins of 127: one inch from the corner.
  TRBCustomBand* title = Band(rbTitle, 320);
  auto* round = Control<TRBShape>(title, 40, 80, 1100, 150);
  round->SetShape(rbsRoundRect);
  round->SetRoundFactor(0.2f);
  Label(title, 127, 127, 950, "Relev\xE9 des notes \xE0 l'\xE9" "cole");
  auto* gradient = Control<TRBShape>(title, 1200, 0, 640, 300);
  gradient->SetShape(rbsDegrade);
  TBrush b = gradient->Brush;
  b.Color = Couleurs::clBlue;
  gradient->SetBrush(b);
  auto* circle = Control<TRBShape>(title, 1420, 50, 200, 200);
  circle->SetShape(rbsCircle);

  TRBCustomBand* pageHeader = Band(rbPageHeader, 100);
  Frame(pageHeader);
  Label(pageHeader, 20, 20, 1500, "En-t\xEAte : suite du relev\xE9");

  TRBCustomBand* columnHeader = Band(rbColumnHeader, 80);
  Label(columnHeader, 0, 10, 600, "\xC9l\xE8ve");
  Label(columnHeader, 650, 10, 200, "Note");
  auto* line = Control<TRBShape>(columnHeader, 0, 60, 850, 10);
  line->SetShape(rbsHorLine);

  auto* group = new TRBGroup(&form);
  group->SetName("Classe");
  group->SetParent(report);
  group->Expression = "G";
  group->ReprintOnNewPage = true;
  group->Size.Units = TRBUnit::Native;
  group->Size.SetHeight(80);
  Frame(group);
  Expr(group, 20, 15, 1000, "'Classe ' + G");

  TRBCustomBand* detail = Band(rbDetail, 140);
  auto* name = Expr(detail, 0, 10, 550, "Nom");
  name->AutoSize = false;
  name->SetAutoStretch(true);
  Expr(detail, 650, 10, 200, "N");

  TRBCustomBand* footer = Band(rbGroupFooter, 80);
  footer->SetName("ClasseFooter");
  Frame(footer);
  group->SetFooterBand(footer);
  Label(footer, 20, 15, 400, "Total");
  auto* total = Expr(footer, 650, 15, 200, "SUM(N)");
  total->ResetAfterPrint = true;

  TRBCustomBand* summary = Band(rbSummary, 200);
  Frame(summary);
  Label(summary, 20, 15, 600, "Moyenne g\xE9n\xE9rale");
  Expr(summary, 650, 15, 200, "AVERAGE(N)");
  auto* remark = Control<TRBLabel>(summary, 20, 80, 800, 45);
  remark->AutoSize = false;
  remark->SetTransparent(true);
  remark->SetLabelCaption(
                       "Remarque : ce relev\xE9 r\xE9" "capitule les notes de l'ann\xE9" "e pour chaque \xE9l\xE8ve "
                       "de chaque classe ; les totaux par classe suivent chaque classe et la moyenne g\xE9n\xE9rale "
                       "cl\xF4t le relev\xE9. Les \xE9l\xE8ves absents ne figurent pas. Ce texte est long pour "
                       "s'\xE9tendre sur plusieurs lignes et passer d'une colonne \xE0 la suivante quand la "
                       "place manque en bas de la colonne.");
  remark->SetAutoStretch(true);

  TRBCustomBand* pageFooter = Band(rbPageFooter, 80);
  Expr(pageFooter, 900, 20, 600, "'Page '+PAGENUMBER");

  int32_t pageCount = 0;
  report->AfterPrint = [&](TCustomBandRep* r) { pageCount = r->RenderTarget->PageCount(); };
  report->PrintToPrinter();

  ASSERT_EQ(pdf_->Spouleur().Documents().size(), 1u);
  const std::string file = pdf_->Spouleur().Documents()[0];
  EXPECT_EQ(file, (dossier_ / "Relev\xC3\xA9 des notes.pdf").string());  // the file system's UTF-8
  ASSERT_GT(pageCount, 1);
  EXPECT_EQ(LecturePDF::Info(file, "Pages"), std::to_string(pageCount));

  std::vector<std::string> all;
  for (int p = 1; p <= pageCount; ++p) {
    const auto words = LecturePDF::Mots(file, p);
    auto at = std::find_if(words.begin(), words.end(), [](const LecturePDF::TMot& w) { return w.Texte == "Page"; });
    ASSERT_NE(at, words.end()) << "page " << p;
    ASSERT_NE(at + 1, words.end());
    EXPECT_EQ((at + 1)->Texte, std::to_string(p));
    for (const auto& w : words) all.push_back(w.Texte);
    if (p == 1) {
      ASSERT_FALSE(words.empty());
      EXPECT_EQ(words[0].Texte, "Relev\xC3\xA9");
      EXPECT_NEAR(words[0].XMin, 72.0, 0.01);
      EXPECT_NEAR(words[0].YMin, 72.0, 0.01);
    }
    Keep(file, p, "bandrpt-pdf-page" + std::to_string(p) + ".png");
  }
  for (const char* t : {"78", "222", "366", "510", "654"})
    EXPECT_EQ(std::count(all.begin(), all.end(), t), 1) << t;
  EXPECT_EQ(std::count(all.begin(), all.end(), "Total"), 5);
  EXPECT_NE(std::find(all.begin(), all.end(), "\xC3\x89toile"), all.end());
  // The long name's first and last words, in that order, whatever column they land in.
  const auto first = std::find(all.begin(), all.end(), "compos\xC3\xA9");
  EXPECT_NE(first, all.end());
  EXPECT_NE(std::find(first, all.end(), "fin"), all.end());
}
