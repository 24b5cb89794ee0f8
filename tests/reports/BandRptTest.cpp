#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "platform/gui/ParametresRegionaux.h"
#include "reports/BandRpt.h"
#include "reports/RBCtrls.h"
#include "tests/reports/PlacedControl.h"
#include "reports/RBPrgres.h"
#include "reports/RBSearch.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Units and page geometry

TEST(BandRptUnits, ConversionsBetweenUnits) {
  TRBPage page(nullptr);
  page.Units = TRBUnit::MM;
  page.SetTopMargin(25.4);
  page.Units = TRBUnit::Inches;
  EXPECT_DOUBLE_EQ(page.TopMargin(), 1.0);
  page.Units = TRBUnit::Native;
  page.SetLeftMargin(254);
  page.Units = TRBUnit::Pixels;
  EXPECT_DOUBLE_EQ(page.LeftMargin(), 96.0);
  // One character across at a font of size -10 (a height in pixels) and at size 0 (taken as 10).
  EXPECT_NEAR(BandRpt::CharacterWidth(-10), 31.496062992, 1e-9);
  EXPECT_NEAR(BandRpt::CharacterWidth(0), 31.496062992, 1e-9);
  EXPECT_NEAR(BandRpt::LineHeight(10), 57.2047244, 1e-6);
}

TEST(BandRptUnits, PaperSizesOrientationAndCustomLengths) {
  TRBPage page(nullptr);
  page.Units = TRBUnit::MM;
  page.SetPaperSize(TRBPaperSize::A4);
  page.SetWidth(100);  // ignored for a named size
  EXPECT_DOUBLE_EQ(page.Width(), 210);
  page.SetOrientation(1);
  EXPECT_DOUBLE_EQ(page.Width(), 297);
  EXPECT_DOUBLE_EQ(page.Length(), 210);
  page.SetPaperSize(TRBPaperSize::Custom);
  page.SetWidth(100);
  EXPECT_DOUBLE_EQ(page.Width(), 100);
  page.SetColumns(0);
  EXPECT_EQ(page.Columns(), 1);
}

TEST(BandRptUnits, DefaultsFollowTheMeasurementSystem) {
  ParametresRegionaux::DefinirMesureSysteme("1");
  BandRpt::ReadMeasurementSystem();
  {
    TRBPage page(nullptr);
    EXPECT_EQ(page.Units, TRBUnit::Inches);
    EXPECT_EQ(page.PaperSize(), TRBPaperSize::Letter);
    EXPECT_DOUBLE_EQ(page.TopMargin(), 0.5);
  }
  ParametresRegionaux::DefinirMesureSysteme("0");
  BandRpt::ReadMeasurementSystem();
  TRBPage page(nullptr);
  EXPECT_EQ(page.Units, TRBUnit::MM);
  EXPECT_EQ(page.PaperSize(), TRBPaperSize::A4);
  EXPECT_DOUBLE_EQ(page.LeftMargin(), 10);
}

TEST(BandRptUnits, StoredValuesOutsideTheirRangeAreRefused) {
  TRBPage page(nullptr);
  const std::vector<double> before = page.Values();
  EXPECT_THROW(page.ReadValues({1, 2, 3}), EReadError);
  EXPECT_THROW(page.ReadValues({0, NAN, 0, 0, 0, 0, 0}), EReadError);
  EXPECT_THROW(page.ReadValues({0, -5, 0, 0, 0, 0, 0}), EReadError);
  EXPECT_EQ(page.Values(), before);
  EXPECT_THROW(page.ReadColumns(0), EReadError);
  EXPECT_THROW(page.ReadPaperSize(70), EReadError);
  EXPECT_THROW(page.ReadPaperSize(-1), EReadError);
  page.ReadValues({1, 2, 3, 4, 5, 6, 7});
  EXPECT_EQ(page.Values(), (std::vector<double>{1, 2, 3, 4, 5, 6, 7}));
}

// ---------------------------------------------------------------------------------------------
// Frames and shapes

std::vector<std::string> FrameDump(int Width, double Factor, TRect R = {0, 0, 100, 100}) {
  TCanvasEnregistreur c;
  TRBFrame f(nullptr);
  f.Width = Width;
  f.DrawTop = f.DrawLeft = true;
  f.Draw(c, R, Factor, Factor);
  return c.Appels();
}

TEST(BandRptFrames, ThicknessByResolution) {
  const double at600 = 600 / 254.0, at72 = 72 / 254.0;
  EXPECT_EQ(FrameDump(1, at600)[0], "FillRect 0,0,100,8 brush=#000000");
  EXPECT_EQ(FrameDump(1, at72)[0], "FillRect 0,0,100,1 brush=#000000");
  EXPECT_EQ(FrameDump(-1, at600)[0], "FillRect 0,0,100,1 brush=#000000");
  // Below -1 acts as -1; a side is never thicker than its rectangle.
  EXPECT_EQ(FrameDump(-7, at600)[0], "FillRect 0,0,100,1 brush=#000000");
  EXPECT_EQ(FrameDump(50, at600, {0, 0, 10, 5}),
            (std::vector<std::string>{"FillRect 0,0,10,5 brush=#000000", "FillRect 0,0,10,5 brush=#000000"}));
}

TEST(BandRptShapes, HlsConversionOfTheColourDialog) {
  auto hls = [](TColor c) {
    const RBCtrls::THLS v = RBCtrls::RGBToHLS(c);
    return std::to_string(v.H) + "," + std::to_string(v.L) + "," + std::to_string(v.S);
  };
  EXPECT_EQ(hls(Couleurs::clWhite), "160,240,0");
  EXPECT_EQ(hls(Couleurs::clBlack), "160,0,0");
  EXPECT_EQ(hls(Couleurs::clRed), "0,120,240");
  EXPECT_EQ(hls(Couleurs::clBlue), "160,120,240");
  EXPECT_EQ(hls(Couleurs::RGB(128, 128, 128)), "160,120,0");
  EXPECT_EQ(RBCtrls::HLSToRGB(0, 120, 240), Couleurs::clRed);
  EXPECT_EQ(RBCtrls::HLSToRGB(160, 240, 0), Couleurs::clWhite);
}

TEST(BandRptShapes, GradientStripes) {
  TCanvasEnregistreur c;
  RBCtrls::Gradient(c, {0, 0, 10, 5}, Couleurs::clWhite, Couleurs::clWhite);
  EXPECT_TRUE(c.Appels().empty());
  // Black to white over 480 units: 240 steps of 2 units each.
  RBCtrls::Gradient(c, {0, 0, 480, 5}, Couleurs::clBlack, Couleurs::clWhite);
  ASSERT_EQ(c.Appels().size(), 240u);
  EXPECT_EQ(c.Appels()[0], "FillRect 0,0,2,5 brush=#000000");
  EXPECT_EQ(c.Appels()[239], "FillRect 478,0,480,5 brush=#FDFDFD");
  // Two colours of the same luminance: flat, no division by zero.
  c.Effacer();
  RBCtrls::Gradient(c, {0, 0, 10, 5}, Couleurs::clRed, Couleurs::clBlue);
  EXPECT_EQ(c.Appels(), (std::vector<std::string>{"FillRect 0,0,10,5 brush=#FF0000"}));
  // Narrower than the luminance range: one unit per stripe, several steps each.
  c.Effacer();
  RBCtrls::Gradient(c, {0, 0, 7, 5}, Couleurs::clBlack, Couleurs::clWhite);
  EXPECT_EQ(c.Appels().size(), 7u);
}

// ---------------------------------------------------------------------------------------------
// Reports

// The calls of each produced page, played back onto the recording canvas.
std::vector<std::vector<std::string>> Pages(TRBPrinter& Target) {
  std::vector<std::vector<std::string>> out;
  for (int n = 1; n <= Target.PageCount(); ++n) {
    auto page = Target.GetPage(n);
    TCanvasEnregistreur c;
    page->Jouer(c, {0, 0, page->Width(), page->Height()});
    out.push_back(c.Appels());
  }
  return out;
}

// The texts of a page: "x,y text".
std::vector<std::string> Texts(const std::vector<std::string>& Calls) {
  std::vector<std::string> out;
  for (const std::string& call : Calls) {
    if (call.rfind("Text ", 0) != 0) continue;
    const std::size_t quote = call.find('"');
    const std::size_t end = call.find('"', quote + 1);
    out.push_back(call.substr(5, quote - 6) + " " + call.substr(quote + 1, end - quote - 1));
  }
  return out;
}

// The shared environment's count once its own variables are compiled (they keep it active).
int32_t WarmSharedCount() {
  TRBEvaluator warm;
  warm.CompileExpression("1");
  warm.DiscardProgram();
  return SharedEnvironment()->ActivationCount();
}

struct ReportFixture : ::testing::Test {
  TForm form{nullptr};
  TBandRep* report = nullptr;
  TMemDataSet* data = nullptr;
  std::vector<std::string> printed;

  void SetUp() override {
    report = new TBandRep(&form);
    report->SetParent(&form);
    report->Page.Units = TRBUnit::Native;
  }
  TRBCustomBand* Band(TRBBandType Type, double Height) {
    TRBCustomBand* b = report->CreateBand(Type);
    b->Size.Units = TRBUnit::Native;
    b->Size.SetHeight(Height);
    Watch(b);
    return b;
  }
  void Watch(TRBCustomBand* b) {
    b->AfterPrint = [this](TRBCustomBand* Band, bool Printed) {
      if (Printed) printed.push_back(Band->Name());
    };
  }
  template <class T>
  T* Control(TRBCustomBand* On, double Left, double Top, double Width, double Height) {
    return PlacedControl<T>(&form, On, Left, Top, Width, Height);
  }
  void Data(const std::vector<std::string>& Groups) {
    data = new TMemDataSet(&form, "Data");
    data->DefineFields({{"G", TFieldType::ftString}, {"N", TFieldType::ftInteger}});
    int n = 1;
    for (const std::string& g : Groups) data->AppendRow({TFieldValue::OfText(g), TFieldValue::OfInteger(n++)});
    data->Open();
    report->SetDataSet(data);
  }
  TRBPrinter& Target() { return *report->OwnedRenderTarget(); }
};

TEST_F(ReportFixture, BandRegistryNamesAndOrder) {
  report->Bands.SetHasPageFooter(true);
  report->Bands.SetHasDetail(true);
  report->Bands.SetHasDetail(true);
  report->Bands.SetHasTitle(true);
  ASSERT_EQ(report->BandOrder.size(), 3u);
  EXPECT_EQ(report->Bands.Band(rbDetail)->Name(), "DetailBand1");
  // The page footer made first still lies below the detail band.
  EXPECT_EQ(report->BandOrder[0]->BandType(), rbTitle);
  EXPECT_EQ(report->BandOrder[1]->BandType(), rbDetail);
  EXPECT_EQ(report->BandOrder[2]->BandType(), rbPageFooter);
  EXPECT_LT(report->BandOrder[1]->Top(), report->BandOrder[2]->Top());
  auto* second = new TBandRep(&form);
  second->SetParent(&form);
  second->Bands.SetHasDetail(true);
  EXPECT_EQ(second->Bands.Band(rbDetail)->Name(), "DetailBand2");
  report->Bands.SetHasTitle(false);
  EXPECT_EQ(report->BandOrder.size(), 2u);
}

TEST_F(ReportFixture, ColumnLayoutAndZoom) {
  report->Page.SetColumns(2);
  report->Page.SetColumnSpace(100);
  TRBCustomBand* detail = Band(rbDetail, 50);
  TRBCustomBand* title = Band(rbTitle, 50);
  // A4 with margins of 100: 1900 printable.
  EXPECT_DOUBLE_EQ(title->Size.Stored(TRBBandSize::kWidth), 1900);
  EXPECT_DOUBLE_EQ(detail->Size.Stored(TRBBandSize::kWidth), 900);
  const int width = report->Width();
  report->SetZoom(0);
  report->SetZoom(301);
  EXPECT_EQ(report->Width(), width);
  report->SetZoom(50);
  EXPECT_EQ(report->Width(), (width + 1) / 2);
}

TEST_F(ReportFixture, RightAlignedControlFollowsTheBandEdge) {
  TRBCustomBand* detail = Band(rbDetail, 50);
  auto* label = Control<TRBLabel>(detail, 10, 0, 200, 40);
  label->SetAlignment(TAlignment::taRightJustify);
  label->SetAlignToBand(true);
  EXPECT_DOUBLE_EQ(label->Size.Stored(TRBPrintableSize::kLeft), 1900 - 200);
  report->Page.SetPaperSize(TRBPaperSize::Custom);
  report->Page.SetWidth(2200);
  EXPECT_DOUBLE_EQ(label->Size.Stored(TRBPrintableSize::kLeft), 2000 - 200);
}

TEST_F(ReportFixture, GroupsPrintHeadersDetailsAndFooters) {
  Data({"A", "A", "B"});
  TRBCustomBand* detail = Band(rbDetail, 50);
  auto* group = new TRBGroup(&form);
  group->SetName("Group");
  group->SetParent(report);
  group->Expression = "G";
  Watch(group);
  TRBCustomBand* footer = Band(rbGroupFooter, 50);
  footer->SetName("Footer");
  group->SetFooterBand(footer);
  auto* total = Control<TRBExpr>(footer, 0, 0, 500, 40);
  total->SetExpression("SUM(N)");
  total->ResetAfterPrint = true;
  const int32_t shared = WarmSharedCount();
  report->RunReport(false);
  EXPECT_EQ(printed, (std::vector<std::string>{"Group", "DetailBand1", "DetailBand1", "Footer", "Group",
                                               "DetailBand1", "Footer"}));
  (void)detail;
  const auto pages = Pages(Target());
  ASSERT_EQ(pages.size(), 1u);
  std::vector<std::string> texts = Texts(pages[0]);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[0].find(" 3"), std::string::npos);  // 1 + 2
  EXPECT_NE(texts[1].find(" 3"), std::string::npos);  // 3 alone
  EXPECT_TRUE(report->Idle);
  EXPECT_EQ(SharedEnvironment()->ActivationCount(), shared);
}

TEST_F(ReportFixture, TitleAtTheMarginsReadsAtItsPosition) {
  report->Page.SetTopMargin(127);
  report->Page.SetLeftMargin(127);
  report->Options = LastPageFooter;
  TRBCustomBand* title = Band(rbTitle, 100);
  auto* label = Control<TRBLabel>(title, 0, 0, 500, 40);
  label->SetLabelCaption("Title");
  label->SetTransparent(true);
  Band(rbDetail, 50);
  report->RunReport(false);
  const auto texts = Texts(Pages(Target())[0]);
  ASSERT_FALSE(texts.empty());
  // 127 tenths at 96 per inch: 48 pixels.
  EXPECT_EQ(texts[0], "48,48 Title");
}

TEST_F(ReportFixture, EmptyDataWithoutPrintIfEmptyOpensNoPage) {
  Data({});
  Band(rbDetail, 50);
  report->SetPrintIfEmpty(false);
  report->RunReport(false);
  EXPECT_EQ(report->PageNumber, 0);
  EXPECT_EQ(Target().PageCount(), 0);
  report->SetPrintIfEmpty(true);
  Band(rbTitle, 50);
  Band(rbSummary, 50);
  report->RunReport(false);
  EXPECT_EQ(printed, (std::vector<std::string>{"TitleBand1", "DetailBand1", "SummaryBand1"}));
}

TEST_F(ReportFixture, PageHeadersFootersAndColumns) {
  Data(std::vector<std::string>(30, "A"));
  report->Options = LastPageFooter;
  report->Page.SetColumns(2);
  Band(rbPageHeader, 100);
  Band(rbTitle, 100);
  Band(rbColumnHeader, 50);
  Band(rbDetail, 200);
  Band(rbPageFooter, 100);
  report->RunReport(false);
  // A4: 2970 - 100 - 100 - 100 (footer) = 2670 per page; page 1 starts below the title (top 200):
  // 12 details per column, then 12 in column 2; page 2 holds the rest under its header.
  EXPECT_EQ(report->PageNumber, 2);
  EXPECT_EQ(printed.front(), "TitleBand1");  // no page header on page 1
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "PageHeaderBand1"), 1);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "PageFooterBand1"), 2);
  // Column headers: column 1 and 2 of page 1, column 1 of page 2.
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "ColumnHeaderBand1"), 3);
}

TEST_F(ReportFixture, BottomAlignedSummaryOnCustomLandscapePaper) {
  report->Page.SetPaperSize(TRBPaperSize::Custom);
  report->Page.SetOrientation(1);
  report->Page.SetWidth(2970);
  report->Page.SetLength(2100);
  report->Options = 0;
  Band(rbDetail, 100);
  TRBCustomBand* summary = Band(rbSummary, 100);
  summary->AlignToBottom = true;
  int32_t y = -1;
  summary->BeforePrint = [&](TRBCustomBand*, bool&) { y = report->CurrentY; };
  report->RunReport(false);
  // On the bottom margin of the page's own length (2100), not of its width.
  EXPECT_EQ(y, 2100 - 100 - 100);
}

TEST_F(ReportFixture, AWideWordWrapsCharacterByCharacter) {
  TRBCustomBand* detail = Band(rbDetail, 500);
  auto* label = Control<TRBLabel>(detail, 0, 0, 100, 40);
  label->AutoSize = false;
  label->SetLabelCaption(std::string(40, 'W'));
  const int32_t perLine = static_cast<int32_t>(label->FormattedLines[0].size());
  EXPECT_GE(perLine, 1);
  std::string joined;
  for (const std::string& l : label->FormattedLines) {
    EXPECT_LE(label->MeasureWidth(l), label->Width());
    joined += l;
  }
  EXPECT_EQ(joined, std::string(40, 'W'));
  // Three short words in a control two words wide.
  label->SetBounds(label->Left(), label->Top(), label->MeasureWidth("ab cd "), label->Height());
  label->SetLabelCaption("ab cd ef");
  EXPECT_EQ(label->FormattedLines, (std::vector<std::string>{"ab cd ", "ef"}));
  label->SetLabelCaption("ab\r\ncd");
  EXPECT_EQ(label->FormattedLines, (std::vector<std::string>{"ab", "cd"}));
}

TEST_F(ReportFixture, StretchingLabelContinuesInTheNextColumnAndEnds) {
  report->Page.SetColumns(2);
  TRBCustomBand* detail = Band(rbDetail, 50);
  detail->Frame.DrawTop = true;
  auto* label = Control<TRBLabel>(detail, 0, 0, 300, 45);
  label->AutoSize = false;
  label->AutoStretch = true;
  std::string text;
  for (int i = 0; i < 300; ++i) text += "word" + std::to_string(i) + " ";
  label->SetLabelCaption(text);
  report->RunReport(false);
  std::size_t lines = 0;
  for (const auto& page : Pages(Target())) lines += Texts(page).size();
  EXPECT_EQ(lines, label->FormattedLines.size());
  EXPECT_GT(report->PageNumber, 1);
}

TEST_F(ReportFixture, ALineTallerThanTheColumnDoesNotOpenPagesForever) {
  TRBCustomBand* detail = Band(rbDetail, 50);
  auto* label = Control<TRBLabel>(detail, 0, 0, 300, 45);
  label->AutoSize = false;
  label->AutoStretch = true;
  TFont big = label->Font();
  big.Height = 1500;  // a line taller than the page
  label->SetParentFont(false);
  label->SetFont(big);
  label->SetLabelCaption("ABC");
  report->RunReport(false);
  EXPECT_LE(report->PageNumber, 5);
  std::size_t lines = 0;
  for (const auto& page : Pages(Target())) lines += Texts(page).size();
  EXPECT_EQ(lines, 3u);
}

struct FailingDataSet : TMemDataSet {
  using TMemDataSet::TMemDataSet;
  void First() override { throw EDatabaseError("no records today"); }
};

struct FailingControl : TRBPrintable {
  using TRBPrintable::TRBPrintable;
  void Prepare() override { throw Exception("cannot prepare"); }
};

TEST_F(ReportFixture, AFailingRunUndoesOnlyWhatItDid) {
  Band(rbDetail, 50);
  const int32_t shared = WarmSharedCount();
  auto expectClean = [&] {
    EXPECT_TRUE(report->Idle);
    EXPECT_EQ(SharedEnvironment()->ActivationCount(), shared);
    EXPECT_EQ(report->Functions.ActivationCount(), 0);
    EXPECT_NE(report->RenderTarget->Status(), TRBPrinter::StatusBuilding);
    EXPECT_EQ(report->Units(), TRBUnit::Native);
  };
  // The dataset raises.
  auto* failing = new FailingDataSet(&form, "Failing");
  failing->DefineFields({{"G", TFieldType::ftString}});
  failing->Open();
  report->SetDataSet(failing);
  EXPECT_THROW(report->RunReport(false), EDatabaseError);
  expectClean();
  report->SetDataSet(nullptr);
  // A control's preparation raises.
  auto* control = new FailingControl(&form);
  control->SetParent(report->Bands.Band(rbDetail));
  EXPECT_THROW(report->RunReport(false), Exception);
  expectClean();
  delete control;
  // BeginDocument raises: the document another run keeps open is left alone.
  TRBPrinter busy;
  busy.BeginDocument();
  report->RenderTarget = &busy;
  EXPECT_THROW(report->RunReport(false), ERBError);
  EXPECT_TRUE(report->Idle);
  EXPECT_EQ(SharedEnvironment()->ActivationCount(), shared);
  EXPECT_EQ(busy.Status(), TRBPrinter::StatusBuilding);
  report->RenderTarget = nullptr;
}

TEST_F(ReportFixture, SeriesContinuesPagesAndColumns) {
  auto* second = new TBandRep(&form);
  second->SetParent(&form);
  report->Page.SetColumns(3);
  Data(std::vector<std::string>(3, "A"));
  // Each record takes a column of its own: the first report ends in column 3.
  Band(rbDetail, 1500);
  TRBCustomBand* d2 = second->CreateBand(rbDetail);
  d2->Size.Units = TRBUnit::Native;
  d2->Size.SetHeight(2000);
  Watch(d2);
  TRBReportSeries series(&form);
  series.Link(report);
  series.OnAddReports = [&](TRBReportSeries* s) { s->Reports = {report, second}; };
  int beforePrints = 0;
  report->BeforePrint = [&](TCustomBandRep*, bool&) { ++beforePrints; };
  report->PrintToPrinter();  // prints the series
  EXPECT_EQ(beforePrints, 1);
  ASSERT_TRUE(series.Target);
  // The second report starts in column 3 of page 1 with one column of its own: its tall band opens page 2.
  EXPECT_EQ(series.Target->PageCount(), 2);
  EXPECT_EQ(second->PageNumber, 2);
  EXPECT_EQ(second->Tag, 0);
}

TEST(BandRptProgress, OnlyMultiplesOfFiveUpdateTheWindow) {
  TRBProgressForm form(nullptr);
  EXPECT_EQ(form.Caption(), "Printing progress");
  form.RecevoirMessage(kRBMessageProgress, 42);
  EXPECT_EQ(form.Gauge->Position(), 0);
  EXPECT_EQ(form.Info->Caption(), "");
  form.RecevoirMessage(kRBMessageProgress, 45);
  EXPECT_EQ(form.Gauge->Position(), 45);
  EXPECT_EQ(form.Info->Caption(), "45%  Completed");
  TRBPrinter target;
  form.Target = &target;
  form.CancelButton->Click();
  EXPECT_TRUE(target.CancelRequested());
}

TEST(BandRptProgress, TheTargetsProgressIsPostedAndDroppedWithAClosedWindow) {
  TRBPrinter target;
  auto form = std::make_unique<TRBProgressForm>(nullptr);
  target.Receiver = form.get();
  target.SetProgress(50);
  EXPECT_EQ(form->Gauge->Position(), 0);  // posted: not handled yet
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(form->Gauge->Position(), 50);
  const std::size_t pending = Messages::NombreEnAttente();
  target.SetProgress(55);
  EXPECT_EQ(Messages::NombreEnAttente(), pending + 1);
  // The window closes before the loop comes round: its message goes with it.
  form.reset();
  target.Receiver = nullptr;
  EXPECT_EQ(Messages::NombreEnAttente(), pending);
  Messages::TraiterMessagesEnAttente();
}

TEST(BandRptStartUp, CaptionsAndRegisteredClasses) {
  EXPECT_EQ(BandRpt::BandCaption(rbColumnHeader), "Column Header");
  EXPECT_EQ(BandRpt::BandBaseName(rbChild), "ChildBand");
  for (const char* name : {"TBandRep", "TRBBand", "TRBGroup", "TRBSubDetail", "TRBExpr", "TRBShape", "TMemDataSet",
                           "TRBChildBand", "TRBLabel"})
    EXPECT_NE(TGestionnaireNomsDeClasse::ChercherClasse(name), nullptr) << name;
}

TEST_F(ReportFixture, ShapesPrintTheirFigures) {
  TRBCustomBand* detail = Band(rbDetail, 300);
  detail->TransparentBand = true;
  auto* round = new TRBShape(&form);
  round->SetParent(detail);
  round->SetShape(rbsRoundRect);
  round->SetRoundFactor(0.2f);
  EXPECT_EQ(round->Width(), 65);
  EXPECT_EQ(round->CornerSize(), 13);
  round->SetRoundFactor(7.0f);
  EXPECT_EQ(round->CornerSize(), 65);
  round->SetRoundFactor(0.2f);
  auto* angle = new TRBShape(&form);
  angle->SetParent(detail);
  angle->SetShape(rbsAngle);
  auto* white = new TRBShape(&form);
  white->SetParent(detail);
  white->SetShape(rbsDegrade);
  report->RunReport(false);
  const auto calls = Pages(Target())[0];
  int roundRects = 0, others = 0;
  for (const std::string& c : calls) {
    if (c.rfind("RoundRect", 0) == 0) {
      ++roundRects;
      EXPECT_NE(c.find("corner=13,13"), std::string::npos) << c;
    } else if (c.rfind("FillRect", 0) == 0 || c.rfind("Line", 0) == 0) {
      ++others;
    }
  }
  EXPECT_EQ(roundRects, 1);
  EXPECT_EQ(others, 0);  // the angle prints nothing, a white gradient nothing
}

}  // namespace

#include "reports/BandRptFiles.h"

namespace {

// A report with every class: bands of each kind, a child band, a group with its footer, a sub-detail
// with a header, labels, expressions, shapes, a printable on the report and a dataset of its own.
TBandRep* EveryClass(TForm& Form) {
  auto* r = new TBandRep(&Form);
  r->SetName("Report");
  r->SetParent(&Form);
  r->ReportTitle = "Tarifs d'été";
  r->Description = {"one", "two"};
  r->Options = FirstPageHeader | Compression;
  r->PrinterSettings.PrintQuality = 600;
  r->Page.SetColumns(2);
  r->Functions.DefineVariable("TAUX", "1.5");
  auto* data = new TMemDataSet(r, "Lines");
  data->DefineFields({{"G", TFieldType::ftString}, {"N", TFieldType::ftInteger}});
  r->SetDataSet(data);
  for (TRBBandType t : {rbTitle, rbPageHeader, rbColumnHeader, rbDetail, rbPageFooter, rbSummary}) r->CreateBand(t);
  TRBCustomBand* detail = r->Bands.Band(rbDetail);
  detail->SetHasChild(true);
  detail->Frame.DrawBottom = true;
  detail->Frame.Width = 2;
  detail->Frame.Style = TPenStyle::psDash;
  r->Bands.Band(rbSummary)->AlignToBottom = true;
  auto* group = new TRBGroup(&Form);
  group->SetName("Group1");
  group->SetParent(r);
  group->Expression = "G";
  group->ReprintOnNewPage = true;
  TRBCustomBand* footer = r->CreateBand(rbGroupFooter);
  group->SetFooterBand(footer);
  auto* sub = new TRBSubDetail(&Form);
  sub->SetName("SubDetail1");
  sub->SetParent(r);
  auto* notes = new TMemDataSet(r, "Notes");
  notes->DefineFields({{"Note", TFieldType::ftString}});
  sub->SetDataSet(notes);
  sub->Bands.SetHasHeader(true);
  auto* label = new TRBLabel(&Form);
  label->SetName("Label1");
  label->SetParent(detail);
  label->SetLabelCaption("Prix \xE0 payer");
  label->AutoStretch = true;
  auto* expr = new TRBExpr(&Form);
  expr->SetName("Expr1");
  expr->SetParent(footer);
  expr->SetExpression("SUM(N)");
  expr->SetMask("#,##0.00");
  expr->Master = r;
  expr->ResetAfterPrint = true;
  auto* shape = new TRBShape(&Form);
  shape->SetName("Shape1");
  shape->SetParent(r->Bands.Band(rbTitle));
  shape->SetShape(rbsDegrade);
  shape->Brush.Color = Couleurs::clNavy;
  shape->SetRoundFactor(0.25f);
  auto* onReport = new TRBLabel(&Form);
  onReport->SetName("Stamp");
  onReport->SetParent(r);
  onReport->SetLabelCaption("Draft");
  return r;
}

TEST(BandRptFiles, EveryClassWrittenReadAndWrittenAgainGivesTheSameBytes) {
  TForm source(nullptr);
  const std::string first = BandRptFiles::WriteReport(*EveryClass(source));
  EXPECT_NE(first.find("object Report: TBandRep"), std::string::npos);
  EXPECT_NE(first.find("PrinterSettings.PrintQuality = 600"), std::string::npos);
  EXPECT_EQ(first.find("MemoryLimit"), std::string::npos);
  TForm target(nullptr);
  TCustomBandRep* read = BandRptFiles::ReadReport(first, &target);
  EXPECT_EQ(BandRptFiles::WriteReport(*read), first);
  EXPECT_EQ(read->BandOrder.size(), 11u);
  EXPECT_EQ(read->Page.Columns(), 2);
}

TEST(BandRptFiles, FaultsAreRefusedAndLeaveNothingBehind) {
  TForm source(nullptr);
  const std::string good = BandRptFiles::WriteReport(*EveryClass(source));
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    const std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
  };
  const std::string cases[] = {
      replaced("Page.PaperSize = 9", "Page.PaperSize = 70"),
      replaced("Page.Columns = 2", "Page.Columns = 0"),
      replaced("object Label1: TRBLabel", "object Label1: TNoSuchClass"),
      replaced("Frame.Width = 2", "Frame.Width = 'wide'"),
      replaced("ReportTitle", "Unknown"),
      replaced("FooterBand = 'GroupFooterBand1'", "FooterBand = 'Nowhere'"),
      good.substr(0, good.size() / 2),
  };
  for (const std::string& text : cases) {
    TForm target(nullptr);
    EXPECT_THROW(BandRptFiles::ReadReport(text, &target), EReadError);
    EXPECT_EQ(target.ComponentCount(), 0);
  }
  // Values of the wrong length.
  std::string s = good;
  const std::size_t at = s.find("Size.Values = (");
  s.insert(at + 15, "1.0 ");
  TForm target(nullptr);
  EXPECT_THROW(BandRptFiles::ReadReport(s, &target), EReadError);
  EXPECT_EQ(target.ComponentCount(), 0);
}

TEST(BandRptFiles, AReadReportRuns) {
  TForm source(nullptr);
  TBandRep* r = EveryClass(source);
  auto* data = static_cast<TMemDataSet*>(r->FindComponent("Lines"));
  for (const char* g : {"A", "A", "B"}) data->AppendRow({TFieldValue::OfText(g), TFieldValue::OfInteger(1)});
  data->Open();
  r->RunReport(false);
  ASSERT_GE(r->OwnedRenderTarget()->PageCount(), 1);
  bool found = false;
  for (const auto& page : Pages(*r->OwnedRenderTarget()))
    for (const std::string& t : Texts(page)) {
      found = found || t.find("2.00") != std::string::npos;
    }
  EXPECT_TRUE(found);
}

}  // namespace

namespace {

TEST_F(ReportFixture, QueryParametersTakeTheReportVariables) {
  Data({"A"});
  data->DefineParams({{"Start", TFieldType::ftDate, {}},
                      {"Count", TFieldType::ftInteger, {}},
                      {"Label", TFieldType::ftString, {}},
                      {"At", TFieldType::ftDateTime, {}},
                      {"Bad", TFieldType::ftDate, {}},
                      {"Other", TFieldType::ftInteger, {}}});
  report->Functions.DefineVariable("START", "'01/02/2024'");
  report->Functions.DefineVariable("COUNT", "5");
  report->Functions.DefineVariable("LABEL", "'x'");
  report->Functions.DefineVariable("AT", "'29/02/2024 13:30:00'");
  report->Functions.DefineVariable("BAD", "'31/02/2024'");
  Band(rbDetail, 50);
  report->RunReport(false);
  EXPECT_DOUBLE_EQ(data->Params(0)->Value.Float, DateTime::EncodeDate(2024, 2, 1));
  EXPECT_EQ(data->Params(1)->Value.Integer, 5);
  EXPECT_EQ(data->Params(2)->Value.Text, "x");
  EXPECT_DOUBLE_EQ(data->Params(3)->Value.Float,
                   DateTime::EncodeDate(2024, 2, 29) + DateTime::EncodeTime(13, 30, 0, 0));
  EXPECT_TRUE(data->Params(4)->Value.IsNull);  // an impossible date leaves the parameter alone
  EXPECT_TRUE(data->Params(5)->Value.IsNull);  // no variable of that name
  EXPECT_TRUE(data->Active());
}

}  // namespace

namespace {

TEST_F(ReportFixture, ReprintedGroupHeadersOncePerPage) {
  Data(std::vector<std::string>(40, "A"));
  Band(rbDetail, 200);
  auto* group = new TRBGroup(&form);
  group->SetName("Group");
  group->SetParent(report);
  group->Expression = "G";
  group->ReprintOnNewPage = true;
  Watch(group);
  report->RunReport(false);
  // 40 details of 200 on pages of 2770: 13 per page, so 4 pages and a header on each.
  EXPECT_EQ(report->PageNumber, 4);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "Group"), 4);
  EXPECT_EQ(printed.front(), "Group");
}

TEST_F(ReportFixture, BreaksAbsorbedAndTaken) {
  Data({"A", "B", "C"});
  Band(rbTitle, 100);
  TRBCustomBand* detail = Band(rbDetail, 100);
  detail->ForceNewPage = true;
  std::vector<int32_t> pages;
  detail->BeforePrint = [&](TRBCustomBand*, bool&) { pages.push_back(report->PageNumber); };
  report->RunReport(false);
  EXPECT_EQ(report->PageNumber, 3);
}

TEST_F(ReportFixture, DisabledBandsChildBandsAndLinks) {
  Data({"A"});
  TRBCustomBand* detail = Band(rbDetail, 100);
  bool before = false;
  std::vector<bool> after;
  detail->SetEnabled(false);
  detail->BeforePrint = [&](TRBCustomBand*, bool&) { before = true; };
  detail->AfterPrint = [&](TRBCustomBand*, bool Printed) { after.push_back(Printed); };
  detail->SetHasChild(true);
  TRBCustomBand* child = detail->ChildBand();
  ASSERT_NE(child, nullptr);
  Watch(child);
  report->RunReport(false);
  EXPECT_FALSE(before);
  EXPECT_EQ(after, (std::vector<bool>{false}));
  EXPECT_EQ(printed, (std::vector<std::string>{child->Name()}));  // the child of a band that did not print
  // A grandchild stays, attached to the band, when the child goes.
  child->SetHasChild(true);
  TRBCustomBand* grandChild = child->ChildBand();
  detail->SetHasChild(false);
  EXPECT_EQ(detail->ChildBand(), grandChild);
  // Circular links are refused.
  TRBCustomBand* other = Band(rbGroupFooter, 100);
  EXPECT_TRUE(detail->SetLinkBand(other));
  EXPECT_FALSE(other->SetLinkBand(detail));
  EXPECT_DOUBLE_EQ(detail->HeightWithLinks(), 200);
}

TEST_F(ReportFixture, FirstHeaderAndLastFooterOptions) {
  Data(std::vector<std::string>(20, "A"));
  report->Options = 0;
  Band(rbPageHeader, 100);
  Band(rbDetail, 200);
  Band(rbPageFooter, 100);
  TRBCustomBand* summary = Band(rbSummary, 100);
  summary->AlignToBottom = true;
  int32_t summaryY = 0;
  summary->BeforePrint = [&](TRBCustomBand*, bool&) { summaryY = report->CurrentY; };
  report->RunReport(false);
  ASSERT_EQ(report->PageNumber, 2);
  EXPECT_EQ(printed.front(), "DetailBand1");
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "PageHeaderBand1"), 1);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "PageFooterBand1"), 1);
  EXPECT_EQ(summaryY, 2970 - 100 - 100);  // directly on the bottom margin
}

TEST_F(ReportFixture, ExpressionsFormatAndOnPrintReplaces) {
  TRBCustomBand* detail = Band(rbDetail, 100);
  auto* e = Control<TRBExpr>(detail, 0, 0, 600, 40);
  e->SetMask("#,##0.00");
  EXPECT_EQ(e->FormatValue(TRBEvResultRecord::OfFloat(9876.5)), "9,876.50");
  EXPECT_EQ(e->FormatValue(TRBEvResultRecord::OfBoolean(true)), "True");
  e->SetExpression("");
  EXPECT_EQ(e->Caption(), "(none)");
  auto* label = Control<TRBLabel>(detail, 0, 50, 600, 40);
  label->SetLabelCaption("old");
  label->OnPrint = [](TRBCustomLabel*, std::string& Value) { Value = "new"; };
  report->RunReport(false);
  const auto texts = Texts(Pages(Target())[0]);
  EXPECT_NE(std::find_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with(" new"); }),
            texts.end());
  EXPECT_EQ(label->Caption(), "old");
}

TEST_F(ReportFixture, CancellingStopsAtTheNextRecord) {
  Data(std::vector<std::string>(50, "A"));
  Band(rbDetail, 100);
  Band(rbSummary, 100);
  // A window that takes one message on each pass of the window-message loop (it posts itself the
  // next) and presses Cancel on the fourth, as the progress window's button would.
  struct CancelOnFourthPass : TRecepteurMessages {
    TCustomBandRep* Report = nullptr;
    int Passes = 0;
    void RecevoirMessage(uint32_t, intptr_t) override {
      if (++Passes == 4) Report->RenderTarget->Cancel();
      else Messages::Poster(this, Messages::WM_USER, 0);
    }
  } button;
  button.Report = report;
  Messages::Poster(&button, Messages::WM_USER, 0);
  report->RunReport(false);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "DetailBand1"), 2);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "SummaryBand1"), 0);
  EXPECT_TRUE(report->Idle);
}

}  // namespace

namespace {

TEST_F(ReportFixture, PrintablesOnTheReportPrintOnEveryPage) {
  Data(std::vector<std::string>(20, "A"));
  Band(rbDetail, 200);
  auto* stamp = Control<TRBLabel>(nullptr, 300, 2800, 400, 50);
  stamp->SetParent(report);
  stamp->Size.SetLeft(300);
  stamp->Size.SetTop(2800);
  stamp->SetLabelCaption("Stamp");
  auto* hidden = Control<TRBLabel>(nullptr, 300, 2850, 400, 50);
  hidden->SetParent(report);
  hidden->SetLabelCaption("Hidden");
  hidden->SetEnabled(false);
  report->RunReport(false);
  const auto pages = Pages(Target());
  ASSERT_EQ(pages.size(), 2u);
  for (const auto& page : pages) {
    const auto texts = Texts(page);
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with(" Stamp"); }), 1);
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return t.ends_with(" Hidden"); }), 0);
  }
}

}  // namespace

namespace {

TEST_F(ReportFixture, PixelsApplyTheZoomOnceAndFramedTextMovesOnlyForAPositiveWidth) {
  TRBCustomBand* detail = Band(rbDetail, 300);
  detail->TransparentBand = true;
  auto* label = Control<TRBLabel>(detail, 254, 0, 600, 100);
  report->SetZoom(50);
  label->Size.Units = TRBUnit::Pixels;
  EXPECT_DOUBLE_EQ(label->Size.Left(), 48);  // 96 pixels at 50 %
  label->Size.Units = TRBUnit::Native;
  report->SetZoom(100);
  label->SetLabelCaption("Framed");
  label->SetTransparent(true);
  label->Frame.DrawTop = label->Frame.DrawLeft = true;
  label->Frame.Width = -1;
  report->RunReport(false);
  const std::string unmoved = Texts(Pages(Target())[0]).at(0);
  label->Frame.Width = 10;  // 35 tenths
  report->RunReport(false);
  const std::string moved = Texts(Pages(Target())[0]).at(0);
  EXPECT_EQ(unmoved, "134,38 Framed");  // (100 + 254, 100) tenths
  EXPECT_EQ(moved, "147,51 Framed");    // 35 tenths further
}

}  // namespace

namespace {

TEST_F(ReportFixture, ACancelledRunAbortsItsDocumentWithoutAClosingPage) {
  Data(std::vector<std::string>(60, "A"));
  Band(rbDetail, 200);
  Band(rbPageFooter, 100);
  const int32_t shared = WarmSharedCount();
  report->OnStartPage = [](TCustomBandRep* Sender) {
    if (Sender->PageNumber == 2) Sender->CancelRun();
  };
  report->RunReport(false);
  EXPECT_TRUE(report->Cancelled);
  EXPECT_TRUE(report->Idle);
  EXPECT_EQ(Target().Status(), TRBPrinter::StatusComplete);
  EXPECT_EQ(Target().PageCount(), 2);
  // Page 1 was finished by the break; page 2 is not finished (no footer).
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "PageFooterBand1"), 1);
  EXPECT_EQ(SharedEnvironment()->ActivationCount(), shared);
  EXPECT_EQ(report->Functions.ActivationCount(), 0);
}

}  // namespace

namespace {

TEST_F(ReportFixture, AColumnHeaderTallerThanItsColumnDoesNotBreakAgainAndAgain) {
  Data(std::vector<std::string>(10, "A"));
  report->Page.SetColumns(2);
  Band(rbTitle, 1500);
  Band(rbColumnHeader, 1500);
  Band(rbDetail, 100);
  report->RunReport(false);
  EXPECT_TRUE(report->Idle);
  EXPECT_LE(report->PageNumber, 10);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), "DetailBand1"), 10);
}

}  // namespace

namespace {

TEST(BandRptLabel, RenamingCarriesACaptionThatWasTheNameOrEmpty) {
  TForm form(nullptr);
  auto* label = new TRBLabel(&form);
  label->SetName("RBLabel1");  // a new label shows its name
  EXPECT_EQ(label->Caption(), "RBLabel1");
  EXPECT_EQ(label->PrintCaption, "RBLabel1");
  label->SetName("Total");
  EXPECT_EQ(label->Caption(), "Total");
  label->SetLabelCaption("Class");
  label->SetName("Heading");  // a caption of its own stays
  EXPECT_EQ(label->Caption(), "Class");
  label->SetLabelCaption("");
  label->SetName("Empty");
  EXPECT_EQ(label->Caption(), "Empty");
  auto* expr = new TRBExpr(&form);  // an expression shows its expression, not its name
  expr->SetName("RBExpr1");
  EXPECT_EQ(expr->Caption(), "(none)");
}

}  // namespace
