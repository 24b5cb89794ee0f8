#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/cairo/CanvasCairo.h"
#include "platform/gui/Metafichier.h"
#include "reports/BandRpt.h"
#include "reports/RBCtrls.h"
#include "tests/reports/PlacedControl.h"

namespace {

// Chooses the colour set as the start-up does for a screen of that many colours, and goes back to the
// screen's own count at the end.
struct ScreenColours {
  explicit ScreenColours(int Count) {
    Screen().NombreCouleurs = Count;
    BandRpt::Initialiser();
  }
  ~ScreenColours() {
    Screen().NombreCouleurs = -1;
    BandRpt::Initialiser();
  }
};

std::string Replaced(std::string Text, const std::vector<std::pair<std::string, std::string>>& Pairs) {
  for (const auto& [from, to] : Pairs)
    for (std::size_t at = Text.find(from); at != std::string::npos; at = Text.find(from, at + to.size()))
      Text.replace(at, from.size(), to);
  return Text;
}

// ---------------------------------------------------------------------------------------------
// Colour sets

TEST(BandRptDesign, TheColourSetFollowsTheScreensColourCount) {
  struct Case {
    int Count;
    bool Many;
  };
  for (const Case& c : {Case{-1, true}, Case{257, true}, Case{256, false}, Case{16, false}}) {
    ScreenColours screen(c.Count);
    EXPECT_EQ(BandRpt::ManyColours, c.Many) << c.Count;
    const BandRpt::TRBDesignColours& k = BandRpt::DesignColours();
    EXPECT_EQ(k.MajorRuler.Color, c.Many ? 0xF0F0F0 : 0xC0C0C0);
    EXPECT_EQ(k.MinorRuler.Style, c.Many ? TPenStyle::psSolid : TPenStyle::psDot);
    EXPECT_EQ(k.RulerFont, c.Many ? 0x707070 : 0xC0C0C0);
    EXPECT_EQ(k.Margin.Style, c.Many ? TPenStyle::psDot : TPenStyle::psDash);
    EXPECT_EQ(k.BandFrame.Color, c.Many ? 0x606060 : 0x808080);
  }
  EXPECT_TRUE(BandRpt::ManyColours);
}

// ---------------------------------------------------------------------------------------------
// Rulers

TEST(BandRptDesign, RulersByUnitAndZoom) {
  const std::string font = " font=Small Fonts/8/regular/#707070 brush=clear\n";
  struct Case {
    TRBUnit Unit;
    int32_t Zoom;
    int Width, Height;
    bool Numbers;
    std::string Dump;
  };
  const Case cases[] = {
      // 5 mm is 11.34 pixels at 60 %: minor lines, and the centimetres numbered.
      {TRBUnit::MM, 60, 50, 25, true,
       "Line 11,0-11,25 pen=#F9F9F9/1\n"
       "Line 23,0-23,25 pen=#F0F0F0/1\n"
       "Text 25,2 \"1\"" + font +
       "Line 34,0-34,25 pen=#F9F9F9/1\n"
       "Line 45,0-45,25 pen=#F0F0F0/1\n"
       "Text 47,2 \"2\"" + font +
       "Line 0,11-50,11 pen=#F9F9F9/1\n"
       "Line 0,23-50,23 pen=#F0F0F0/1\n"
       "Text 2,25 \"1\"" + font},
      // Below 60 % the centimetre lines only, without numbers.
      {TRBUnit::MM, 59, 50, 25, true,
       "Line 22,0-22,25 pen=#F0F0F0/1\n"
       "Line 45,0-45,25 pen=#F0F0F0/1\n"
       "Line 0,22-50,22 pen=#F0F0F0/1\n"},
      // A quarter inch is 11.76 pixels at 49 %: the inch lines only, numbered.
      {TRBUnit::Inches, 49, 50, 25, true,
       "Line 47,0-47,25 pen=#F0F0F0/1\n"
       "Text 49,2 \"1\"" + font},
      {TRBUnit::Inches, 50, 50, 25, true,
       "Line 12,0-12,25 pen=#F9F9F9/1\n"
       "Line 24,0-24,25 pen=#F9F9F9/1\n"
       "Line 36,0-36,25 pen=#F9F9F9/1\n"
       "Line 48,0-48,25 pen=#F0F0F0/1\n"
       "Text 50,2 \"1\"" + font +
       "Line 0,12-50,12 pen=#F9F9F9/1\n"
       "Line 0,24-50,24 pen=#F9F9F9/1\n"},
      // Ten characters of a size-10 font are 119.04 pixels across, a line 21.62 down, whatever the zoom.
      {TRBUnit::Characters, 200, 130, 50, true,
       "Line 119,0-119,50 pen=#F0F0F0/1/dot\n"
       "Text 121,2 \"10\"" + font +
       "Line 0,22-130,22 pen=#F0F0F0/1/dot\n"
       "Text 2,24 \"1\"" + font +
       "Line 0,43-130,43 pen=#F0F0F0/1/dot\n"
       "Text 2,45 \"2\"" + font},
      // A band's ruler carries no numbers.
      {TRBUnit::Inches, 49, 50, 25, false, "Line 47,0-47,25 pen=#F0F0F0/1\n"},
      {TRBUnit::Pixels, 100, 50, 25, true, ""},
      {TRBUnit::Native, 100, 50, 25, true, ""},
  };
  for (const Case& c : cases) {
    TCanvasEnregistreur canvas;
    BandRpt::PaintRuler(canvas, c.Unit, c.Width, c.Height, c.Zoom, 10, c.Numbers);
    EXPECT_EQ(canvas.Dump(), c.Dump) << static_cast<int>(c.Unit) << " at " << c.Zoom;
  }
  // The second set: dotted silver minor lines, solid silver major ones, silver numbers.
  ScreenColours screen(256);
  TCanvasEnregistreur canvas;
  BandRpt::PaintRuler(canvas, TRBUnit::Inches, 50, 25, 50, 10, true);
  EXPECT_EQ(canvas.Dump(), Replaced(cases[3].Dump, {{"#F9F9F9/1", "#C0C0C0/1/dot"},
                                                    {"#F0F0F0/1", "#C0C0C0/1"},
                                                    {"#707070", "#C0C0C0"}}));
}

// ---------------------------------------------------------------------------------------------
// The report and its bands

struct DesignFixture : ::testing::Test {
  TForm form{nullptr};
  TBandRep* report = nullptr;

  // A custom page of 60 x 40 mm (227 x 151 pixels) with margins of 5 and 4 mm and two columns 4 mm apart.
  void SetUp() override {
    report = new TBandRep(&form);
    report->SetParent(&form);
    TRBPage& page = report->Page;
    page.Units = TRBUnit::Native;
    page.SetPaperSize(TRBPaperSize::Custom);
    page.SetWidth(600);
    page.SetLength(400);
    page.SetLeftMargin(50);
    page.SetRightMargin(50);
    page.SetTopMargin(40);
    page.SetBottomMargin(40);
    page.SetColumns(2);
    page.SetColumnSpace(40);
    page.SetRuler(false);
  }
  TRBCustomBand* Band(TRBBandType Type, double Height) {
    TRBCustomBand* b = report->CreateBand(Type);
    b->Size.Units = TRBUnit::Native;
    b->Size.SetHeight(Height);
    return b;
  }
  std::string Painted() {
    TCanvasEnregistreur c;
    Peindre(*report, c);
    return c.Dump();
  }
};

TEST_F(DesignFixture, MarginsColumnMarksBandOutlinesAndCaptionsInBothColourSets) {
  Band(rbTitle, 100);
  Band(rbDetail, 80)->SetEnabledBand(false);
  report->Frame.DrawTop = report->Frame.DrawRight = true;
  report->Frame.Color = Couleurs::clRed;
  // Columns of 87 pixels, 15 apart: the first ends at 19 + 87, the second starts at 19 + 102.
  const std::string many =
      "FillRect 0,0,227,151 brush=#FFFFFF\n"
      "Rectangle 19,15,208,136 pen=#8080FF/1/dot brush=clear\n"
      "Line 19,15-208,15 pen=#FF0000/1\n"
      "Line 207,15-207,136 pen=#FF0000/1\n"
      "Line 106,0-106,15 pen=#8080FF/1/dot\n"
      "Line 121,0-121,15 pen=#8080FF/1/dot\n"
      "Clip 19,15,208,53\n"
      "FillRect 19,15,208,53 brush=#FFFFFF\n"
      "Line 19,15-207,15 pen=#606060/1/dot\n"
      "Line 207,15-207,52 pen=#606060/1/dot\n"
      "Line 207,52-19,52 pen=#606060/1/dot\n"
      "Line 19,52-19,15 pen=#606060/1/dot\n"
      "Text 21,40 \"Title\" font=Small Fonts/8/regular/#707070 brush=clear\n"
      "Clip 19,15,208,53\n"
      "Clip none\n"
      "Clip 19,53,106,83\n"
      "FillRect 19,53,106,83 brush=#C0C0C0\n"
      "Line 19,53-105,53 pen=#606060/1/dot\n"
      "Line 105,53-105,82 pen=#606060/1/dot\n"
      "Line 105,82-19,82 pen=#606060/1/dot\n"
      "Line 19,82-19,53 pen=#606060/1/dot\n"
      "Text 21,70 \"Detail\" font=Small Fonts/8/regular/#707070 brush=clear\n"
      "Clip 19,53,106,83\n"
      "Clip none\n";
  EXPECT_EQ(Painted(), many);
  ScreenColours screen(256);
  EXPECT_EQ(Painted(), Replaced(many, {{"#8080FF/1/dot", "#808080/1/dash"},
                                       {"#606060/1/dot", "#808080/1"},
                                       {"#707070", "#C0C0C0"}}));
}

TEST_F(DesignFixture, ASingleColumnHasNoMarksAndAFrameSidesRunOnePixelInside) {
  report->Page.SetColumns(1);
  report->Frame.DrawBottom = report->Frame.DrawLeft = true;
  report->Frame.Style = TPenStyle::psDot;
  EXPECT_EQ(Painted(),
            "FillRect 0,0,227,151 brush=#FFFFFF\n"
            "Rectangle 19,15,208,136 pen=#8080FF/1/dot brush=clear\n"
            "Line 19,135-208,135 pen=#000000/1/dot\n"
            "Line 19,15-19,136 pen=#000000/1/dot\n");
}

TEST_F(DesignFixture, RulersOnTheReportAndItsBandsAndThePendingRepaint) {
  report->Page.SetRuler(true);
  report->Page.SetColumns(1);
  report->SetUnits(TRBUnit::Inches);
  Band(rbDetail, 200);
  report->RequestRepaint();
  EXPECT_TRUE(report->RepaintPending);
  TCanvasEnregistreur c;
  Peindre(*report, c);
  EXPECT_FALSE(report->RepaintPending);
  // The report numbers its inches; the band (from 19,15) graduates itself from its own corner,
  // without numbers, and its caption is its only text.
  std::vector<std::string> texts, bandLines;
  for (const std::string& call : c.Appels()) {
    if (call.rfind("Text ", 0) == 0) texts.push_back(call.substr(0, call.find(" font")));
    if (call.rfind("Line 43,15-43,", 0) == 0 || call.rfind("Line 115,15-115,", 0) == 0) bandLines.push_back(call);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"Text 98,2 \"1\"", "Text 194,2 \"2\"", "Text 2,98 \"1\"",
                                             "Text 21,78 \"Detail\""}));
  EXPECT_EQ(bandLines, (std::vector<std::string>{"Line 43,15-43,91 pen=#F9F9F9/1", "Line 115,15-115,91 pen=#F0F0F0/1"}));
}

TEST_F(DesignFixture, ThePageImageOfTheLastRunIsStretchedOverTheReport) {
  report->PageImage = std::make_unique<TMetafile>(100, 50);
  {
    Metafichier::TMetafileCanvas page(*report->PageImage);
    page.Brush.Color = Couleurs::clYellow;
    page.FillRect({0, 0, 50, 50});
  }
  const std::string painted = Painted();
  EXPECT_EQ(painted.substr(0, painted.find("Rectangle")),
            "FillRect 0,0,227,151 brush=#FFFFFF\n"
            "FillRect 0,0,114,151 brush=#FFFF00\n");
}

// ---------------------------------------------------------------------------------------------
// Printables

const std::string kMarks20x10 =
    "Line 0,2-0,0 pen=#000000/1\n"
    "Line 0,0-3,0 pen=#000000/1\n"
    "Line 17,0-19,0 pen=#000000/1\n"
    "Line 19,0-19,3 pen=#000000/1\n"
    "Line 0,7-0,9 pen=#000000/1\n"
    "Line 0,9-3,9 pen=#000000/1\n"
    "Line 19,7-19,9 pen=#000000/1\n"
    "Line 19,9-16,9 pen=#000000/1\n";

TEST_F(DesignFixture, PrintablesShowCornerMarksAndTheirFrameAtTheZoom) {
  TRBCustomBand* detail = Band(rbDetail, 200);
  auto* p = new TRBPrintable(&form);
  p->SetParent(detail);
  p->SetBounds(5, 5, 20, 10);
  auto painted = [&] {
    TCanvasEnregistreur c;
    p->Paint(c);
    return c.Dump();
  };
  EXPECT_EQ(painted(), "FillRect 0,0,20,10 brush=#FFFFFF\n" + kMarks20x10);
  p->Frame.DrawLeft = true;
  p->Frame.Color = Couleurs::clBlue;
  // One point is 1.33 pixels at 100 %, 2.67 at 200 %.
  EXPECT_EQ(painted(), "FillRect 0,0,20,10 brush=#FFFFFF\n" + kMarks20x10 + "FillRect 0,0,1,10 brush=#0000FF\n");
  report->SetZoom(200);
  p->SetBounds(10, 10, 20, 10);
  EXPECT_EQ(painted(), "FillRect 0,0,20,10 brush=#FFFFFF\n" + kMarks20x10 + "FillRect 0,0,3,10 brush=#0000FF\n");
  // A transparent control leaves the band visible; a printing one paints nothing.
  p->Frame.DrawLeft = false;
  p->SetTransparent(true);
  EXPECT_EQ(painted(), kMarks20x10);
  p->IsPrinting = true;
  EXPECT_EQ(painted(), "");
}

TEST_F(DesignFixture, LabelLinesAtTheZoomWithTheirAlignmentAndFrameOffset) {
  TRBCustomBand* detail = Band(rbDetail, 300);
  auto* label = PlacedControl<TRBLabel>(&form, detail, 0, 0, 200, 150);  // 76 x 57 pixels
  label->AutoSize = false;
  label->SetTransparent(true);
  label->SetLabelCaption("Deux mots ici");
  auto texts = [&] {
    TCanvasEnregistreur c;
    label->Paint(c);
    std::vector<std::string> out;
    for (const std::string& call : c.Appels())
      if (call.rfind("Text ", 0) == 0) out.push_back(call);
    // The corner marks come again after the text.
    EXPECT_EQ(c.Appels().back(), "Line " + std::to_string(label->Width() - 1) + "," +
                                     std::to_string(label->Height() - 1) + "-" + std::to_string(label->Width() - 4) +
                                     "," + std::to_string(label->Height() - 1) + " pen=#000000/1");
    return out;
  };
  const std::string font = " font=Arial/13/regular/#000000 brush=clear";
  // "Deux mots " is 67 pixels, "ici" 13; lines are one "W" height (15) apart.
  EXPECT_EQ(texts(), (std::vector<std::string>{"Text 0,0 \"Deux mots \"" + font, "Text 0,15 \"ici\"" + font}));
  label->SetAlignment(TAlignment::taRightJustify);
  EXPECT_EQ(texts(), (std::vector<std::string>{"Text 9,0 \"Deux mots \"" + font, "Text 63,15 \"ici\"" + font}));
  label->SetAlignment(TAlignment::taCenter);
  EXPECT_EQ(texts(), (std::vector<std::string>{"Text 5,0 \"Deux mots \"" + font, "Text 32,15 \"ici\"" + font}));
  // A frame of 2 points moves the text 3 pixels down and right; one of -1 does not move it.
  label->SetAlignment(TAlignment::taLeftJustify);
  label->Frame.DrawTop = label->Frame.DrawLeft = true;
  label->Frame.Width = 2;
  EXPECT_EQ(texts(), (std::vector<std::string>{"Text 3,3 \"Deux mots \"" + font, "Text 3,18 \"ici\"" + font}));
  label->Frame.Width = -1;
  EXPECT_EQ(texts(), (std::vector<std::string>{"Text 0,0 \"Deux mots \"" + font, "Text 0,15 \"ici\"" + font}));
  // At 200 % the font doubles (10 points become 20, 27 pixels high, lines 30 apart) and the lines are laid out again.
  label->Frame.DrawTop = label->Frame.DrawLeft = false;
  report->SetZoom(200);
  label->DoneFormat = false;
  const std::string big = " font=Arial/27/regular/#000000 brush=clear";
  EXPECT_EQ(texts(), (std::vector<std::string>{"Text 0,0 \"Deux mots \"" + big, "Text 0,30 \"ici\"" + big}));
}

TEST_F(DesignFixture, AnAutoSizedFramedLabelLeavesItsTextClearOfTheFrame) {
  TRBCustomBand* detail = Band(rbDetail, 300);
  auto* label = new TRBLabel(&form);
  label->SetParent(detail);
  label->Frame.DrawLeft = label->Frame.DrawRight = true;
  label->Frame.Width = 2;
  label->SetLabelCaption("Cadre");
  report->MeasureDC.Font = label->Font();
  const int text = report->MeasureDC.TextWidth("Cadre");
  // The text plus one pixel, and the 3 pixels of each side.
  EXPECT_EQ(label->Width(), text + 1 + 3 + 3);
  TCanvasEnregistreur c;
  label->Paint(c);
  const std::vector<std::string>& calls = c.Appels();
  EXPECT_NE(std::find(calls.begin(), calls.end(),
                      "FillRect " + std::to_string(text + 4) + ",0," + std::to_string(text + 7) + "," +
                          std::to_string(label->Height()) + " brush=#000000"),
            calls.end());
  EXPECT_NE(std::find_if(calls.begin(), calls.end(), [](const std::string& s) { return s.rfind("Text 3,0 ", 0) == 0; }),
            calls.end());
}

TEST_F(DesignFixture, ShapeFiguresWithTheirDesignOffsets) {
  TRBCustomBand* detail = Band(rbDetail, 300);
  auto* shape = new TRBShape(&form);
  shape->SetParent(detail);
  EXPECT_EQ(shape->Width(), 65);
  shape->SetBounds(shape->Left(), shape->Top(), 65, 40);
  shape->SetRoundFactor(0.2f);
  TBrush brush;
  brush.Color = Couleurs::clBlue;
  shape->SetBrush(brush);
  TPen pen;
  pen.Color = Couleurs::clRed;
  pen.Width = 2;
  shape->Invalidate();
  shape->Repaint();
  EXPECT_FALSE(shape->Invalide());
  shape->SetPen(pen);
  EXPECT_TRUE(shape->Invalide());  // a new pen repaints the shape
  const std::string marks =
      "FillRect 0,0,65,40 brush=#FFFFFF\n"
      "Line 0,2-0,0 pen=#000000/1\n"
      "Line 0,0-3,0 pen=#000000/1\n"
      "Line 62,0-64,0 pen=#000000/1\n"
      "Line 64,0-64,3 pen=#000000/1\n"
      "Line 0,37-0,39 pen=#000000/1\n"
      "Line 0,39-3,39 pen=#000000/1\n"
      "Line 64,37-64,39 pen=#000000/1\n"
      "Line 64,39-61,39 pen=#000000/1\n";
  const std::string p = " pen=#FF0000/2";
  struct Case {
    TRBShapeType Shape;
    std::string Figure;
  };
  const Case cases[] = {
      {rbsRectangle, "Rectangle 0,0,65,40" + p + " brush=#0000FF\n"},
      {rbsCircle, "Ellipse 0,0,65,40" + p + " brush=#0000FF\n"},
      {rbsVertLine, "Line 32,0-32,40" + p + "\n"},
      {rbsHorLine, "Line 0,20-65,20" + p + "\n"},
      {rbsTopAndBottom, "Line 0,0-65,0" + p + "\nLine 0,39-65,39" + p + "\n"},
      {rbsRightAndLeft, "Line 0,0-0,40" + p + "\nLine 64,0-64,40" + p + "\n"},
      {rbsRoundRect, "RoundRect 0,0,65,40 corner=13,13" + p + " brush=#0000FF\n"},
      {rbsDiagonalUp, "Line 0,40-65,0" + p + "\n"},
      {rbsDiagonalDn, "Line 0,0-65,40" + p + "\n"},
      {rbsAngle, ""},
  };
  for (const Case& c : cases) {
    shape->SetShape(c.Shape);
    TCanvasEnregistreur canvas;
    shape->Paint(canvas);
    EXPECT_EQ(canvas.Dump(), marks + c.Figure) << static_cast<int>(c.Shape);
  }
  // The gradient: blue to white over the left 32 pixels, white to blue over the right 33.
  shape->SetShape(rbsDegrade);
  TCanvasEnregistreur canvas;
  shape->Paint(canvas);
  const std::vector<std::string>& calls = canvas.Appels();
  ASSERT_GT(calls.size(), 11u);
  EXPECT_EQ(calls[9], "FillRect 0,0,1,40 brush=#0000FF");
  EXPECT_EQ(calls.back().rfind("FillRect 64,0,65,40 brush=#0", 0), 0u) << calls.back();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "FillRect 32,0,33,40 brush=#FFFFFF"), calls.end());
  for (std::size_t i = 9; i < calls.size(); ++i) EXPECT_EQ(calls[i].rfind("FillRect ", 0), 0u) << calls[i];
  // A white brush gives no gradient at all.
  shape->SetBrush(TBrush());
  TCanvasEnregistreur white;
  shape->Paint(white);
  EXPECT_EQ(white.Dump(), marks);
}

// ---------------------------------------------------------------------------------------------
// As a person sees it: the design surface painted on the cairo canvas, kept as pictures.

struct DesignImages : DesignFixture {
  void TearDown() override { TCanvasCairo::LibererCaches(); }
  std::unique_ptr<TCanvasCairo> Photo(const std::string& Name) {
    auto c = std::make_unique<TCanvasCairo>(report->Width(), report->Height());
    Peindre(*report, *c);
    std::filesystem::create_directories(NV_DOSSIER_IMAGES);
    EXPECT_TRUE(c->SauverPNG(std::string(NV_DOSSIER_IMAGES) + "/" + Name + ".png"));
    return c;
  }
};

TEST_F(DesignImages, AReportWithRulersBandsLabelsAndShapes) {
  TRBPage& page = report->Page;
  page.SetWidth(1200);
  page.SetLength(900);
  page.SetLeftMargin(100);
  page.SetRightMargin(100);
  page.SetTopMargin(100);
  page.SetBottomMargin(100);
  page.SetColumnSpace(60);
  page.SetRuler(true);
  report->SetUnits(TRBUnit::MM);
  TRBCustomBand* title = Band(rbTitle, 150);
  TRBCustomBand* detail = Band(rbDetail, 400);
  auto* label = PlacedControl<TRBLabel>(&form, title, 20, 10, 400, 60);
  label->Frame.DrawLeft = label->Frame.DrawTop = label->Frame.DrawBottom = label->Frame.DrawRight = true;
  label->Frame.Width = 2;
  label->SetLabelCaption("Liste des classes");
  int i = 0;
  std::vector<TRBShape*> shapes;
  for (TRBShapeType t : {rbsRectangle, rbsCircle, rbsVertLine, rbsHorLine, rbsTopAndBottom, rbsRightAndLeft,
                         rbsRoundRect, rbsDiagonalUp, rbsDegrade, rbsDiagonalDn, rbsAngle}) {
    auto* s = PlacedControl<TRBShape>(&form, detail, 20 + (i % 3) * 150, 20 + (i / 3) * 95, 120, 80);
    s->SetShape(t);
    s->SetRoundFactor(0.3f);
    TBrush b;
    b.Color = t == rbsDegrade ? Couleurs::clBlue : 0xC0FFC0;
    s->SetBrush(b);
    shapes.push_back(s);
    ++i;
  }
  for (int colours : {-1, 256}) {
    ScreenColours screen(colours);
    auto c = Photo(colours < 0 ? "design-surface" : "design-surface-256");
    // The margin's top line (dotted light blue, or dashed grey) where no band covers it.
    const TRect m = report->MarginRect();
    int marginPixels = 0;
    for (int x = m.Right - 30; x < m.Right; ++x)
      marginPixels += c->LirePixel(x, m.Bottom - 1) == (colours < 0 ? 0xFF8080 : 0x808080);
    EXPECT_GE(marginPixels, 14) << colours;
    EXPECT_LT(marginPixels, 30) << colours;
    // The band outline's bottom-left pixel, and the black corner mark of the label.
    const TRect d = detail->BoundsRect();
    EXPECT_EQ(c->LirePixel(d.Left, d.Bottom - 1), colours < 0 ? 0x606060 : 0x808080);
    const TPoint l = {title->Left() + label->Left(), title->Top() + label->Top()};
    EXPECT_EQ(c->LirePixel(l.X + label->Width() - 1, l.Y + label->Height() - 1), Couleurs::clBlack);
    // The gradient: blue at its edges, white in the middle.
    TRBShape* g = shapes[8];
    const TPoint o = {detail->Left() + g->Left(), detail->Top() + g->Top() + g->Height() / 2};
    auto blue = [](TColor p) { return Couleurs::Bleu(p) == 255 && Couleurs::Rouge(p) < 32 && Couleurs::Vert(p) < 32; };
    EXPECT_TRUE(blue(c->LirePixel(o.X + 1, o.Y)));
    EXPECT_EQ(c->LirePixel(o.X + g->Width() / 2, o.Y), Couleurs::clWhite);
    EXPECT_TRUE(blue(c->LirePixel(o.X + g->Width() - 2, o.Y)));
  }
}

}  // namespace
