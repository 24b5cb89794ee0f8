// The design surface of the report engine: how panels, the report, its bands and the printables paint
// themselves while a report is designed (rulers, margins, column marks, band outlines and captions,
// the corner marks of printables), with the pens and colours chosen at start-up for the screen.
#include <cmath>
#include <string>

#include "reports/BandRpt.h"

namespace BandRpt {

namespace {

TPen MakePen(TPenStyle Style, TColor Colour) {
  TPen p;
  p.Style = Style;
  p.Color = Colour;
  p.Width = 1;
  return p;
}

// Colours are $BBGGRR values.
const TRBDesignColours kManyColours{MakePen(TPenStyle::psSolid, 0xF9F9F9), MakePen(TPenStyle::psSolid, 0xF0F0F0),
                                    0x707070, MakePen(TPenStyle::psDot, 0xFF8080),
                                    MakePen(TPenStyle::psDot, 0x606060)};
const TRBDesignColours kFewColours{MakePen(TPenStyle::psDot, 0xC0C0C0), MakePen(TPenStyle::psSolid, 0xC0C0C0),
                                   0xC0C0C0, MakePen(TPenStyle::psDash, 0x808080),
                                   MakePen(TPenStyle::psSolid, 0x808080)};

// Lines every Step pixels from the first step on, across the width (vertical lines) and down the
// height (horizontal lines). Every PerMajor-th line is major; minor lines only with Minors; a major
// line's count (its index / PerMajor x Scale) stands 2 pixels right of or below it with Numbers.
struct TGraduation {
  double StepAcross, StepDown;
  int PerMajor;
  bool Minors;
  bool Numbers;
  int ScaleAcross, ScaleDown;
  bool DottedMajors;
};

void Graduate(TCanvas& C, const TGraduation& G, int Width, int Height) {
  const TRBDesignColours& k = DesignColours();
  for (int axis = 0; axis < 2; ++axis) {
    const bool across = axis == 0;
    const double step = across ? G.StepAcross : G.StepDown;
    const int extent = across ? Width : Height;
    if (!(step > 0)) continue;
    for (int i = 1;; ++i) {
      const int at = RoundHalfEven(i * step);
      if (at >= extent) break;
      const bool major = i % G.PerMajor == 0;
      if (!major && !G.Minors) continue;
      C.Pen = major ? k.MajorRuler : k.MinorRuler;
      if (major && G.DottedMajors) C.Pen.Style = TPenStyle::psDot;
      if (across) {
        C.MoveTo(at, 0);
        C.LineTo(at, Height);
      } else {
        C.MoveTo(0, at);
        C.LineTo(Width, at);
      }
      if (major && G.Numbers) {
        const std::string n = std::to_string(i / G.PerMajor * (across ? G.ScaleAcross : G.ScaleDown));
        if (across) C.TextOut(at + 2, 2, n);
        else C.TextOut(2, at + 2, n);
      }
    }
  }
}

}  // namespace

const TRBDesignColours& DesignColours() { return ManyColours ? kManyColours : kFewColours; }

void ChooseDesignColours(int ScreenColours) { ManyColours = ScreenColours < 0 || ScreenColours > 256; }

TFont RulerFont() {
  TFont f;
  f.Name = "Small Fonts";
  f.SetSize(6);
  f.Style = 0;
  f.Color = DesignColours().RulerFont;
  return f;
}

void PaintRuler(TCanvas& C, TRBUnit Unit, int Width, int Height, int32_t Zoom, int32_t FontSize, bool Numbers) {
  const double ppi = Screen().PixelsPerInch();
  C.Font = RulerFont();
  C.Brush.Style = TBrushStyle::bsClear;
  switch (Unit) {
    case TRBUnit::Inches: {
      // A quarter of an inch; every inch major and numbered.
      const double step = ppi / 4 * Zoom / 100;
      Graduate(C, {step, step, 4, Zoom >= 50, Numbers, 1, 1, false}, Width, Height);
      break;
    }
    case TRBUnit::MM: {
      // 5 mm; every centimetre major; minor lines and numbers from zoom 60.
      const double step = ppi / 5.08 * Zoom / 100;
      Graduate(C, {step, step, 2, Zoom >= 60, Numbers && Zoom >= 60, 1, 1, false}, Width, Height);
      break;
    }
    case TRBUnit::Characters: {
      // Ten characters across and one line down, without zoom; every line major and dotted.
      const double across = CharacterWidth(FontSize) * 10 * ppi / 254;
      const double down = LineHeight(FontSize) * ppi / 254;
      Graduate(C, {across, down, 1, false, Numbers, 10, 1, true}, Width, Height);
      break;
    }
    default: break;
  }
}

}  // namespace BandRpt

namespace {

// Device pixels per tenth of a millimetre on the screen.
double ScreenPerTenth() { return Screen().PixelsPerInch() / 254.0; }

void Line(TCanvas& C, int X1, int Y1, int X2, int Y2) {
  C.MoveTo(X1, Y1);
  C.LineTo(X2, Y2);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Printables

void TRBPrintable::PaintCornerMarks(TCanvas& C) {
  const int w = Width(), h = Height();
  C.Pen.Style = TPenStyle::psSolid;
  C.Pen.Color = Couleurs::clBlack;
  C.Pen.Width = 1;
  // Each arm covers 3 pixels, the corner included (a line leaves out its end point).
  auto corner = [&](int X1, int Y1, int X, int Y, int X2, int Y2) {
    C.MoveTo(X1, Y1);
    C.LineTo(X, Y);
    C.LineTo(X2, Y2);
  };
  corner(0, 2, 0, 0, 3, 0);
  corner(w - 3, 0, w - 1, 0, w - 1, 3);
  corner(0, h - 3, 0, h - 1, 3, h - 1);
  corner(w - 1, h - 3, w - 1, h - 1, w - 4, h - 1);
}

void TRBPrintable::PaintPrintable(TCanvas& C) {
  if (!Transparent()) {
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = Couleurs::clWhite;
    C.FillRect(ClientRect());
  }
  PaintCornerMarks(C);
  const double factor = PanelZoom() * ScreenPerTenth() / 100;
  if (Frame.AnySide()) Frame.Draw(C, ClientRect(), factor, factor);
}

void TRBPrintable::Paint(TCanvas& C) {
  if (IsPrinting) return;
  PaintPrintable(C);
}

// ---------------------------------------------------------------------------------------------
// Panels and bands

void TRBBasePanel::Paint(TCanvas& C) {
  C.Brush.Style = TBrushStyle::bsSolid;
  C.Brush.Color = Enabled() ? Color() : Couleurs::clSilver;
  C.FillRect(ClientRect());
}

void TRBBasePanel::PaintRuler(TCanvas& C, TRBUnit Unit) {
  BandRpt::PaintRuler(C, Unit, ClientWidth(), ClientHeight(), Zoom, FontSize, true);
}

void TRBCustomBand::PaintRuler(TCanvas& C, TRBUnit Unit) {
  const int32_t fontSize = ParentReport != nullptr ? ParentReport->ReportFontSize() : FontSize;
  BandRpt::PaintRuler(C, Unit, ClientWidth(), ClientHeight(), Zoom, fontSize, false);
}

void TRBCustomBand::Paint(TCanvas& C) {
  TRBBasePanel::Paint(C);
  if (ParentReport != nullptr && ParentReport->Page.Ruler()) PaintRuler(C, ParentReport->Units());
  const int w = ClientWidth(), h = ClientHeight();
  C.Pen = BandRpt::DesignColours().BandFrame;
  C.MoveTo(0, 0);
  C.LineTo(w - 1, 0);
  C.LineTo(w - 1, h - 1);
  C.LineTo(0, h - 1);
  C.LineTo(0, 0);
  if (Frame.AnySide()) Frame.Draw(C, ClientRect(), ScreenPerTenth(), ScreenPerTenth());
  C.Font = BandRpt::RulerFont();
  C.Brush.Style = TBrushStyle::bsClear;
  C.TextOut(2, h - 4 - C.TextHeight("W"), TypeCaption());
}

// ---------------------------------------------------------------------------------------------
// The report

TRect TCustomBandRep::MarginRect() const {
  return {Page.PixelsOf(TRBPage::kLeftMargin), Page.PixelsOf(TRBPage::kTopMargin),
          Width() - Page.PixelsOf(TRBPage::kRightMargin), Height() - Page.PixelsOf(TRBPage::kBottomMargin)};
}

void TCustomBandRep::PaintRuler(TCanvas& C, TRBUnit Unit) {
  BandRpt::PaintRuler(C, Unit, ClientWidth(), ClientHeight(), Zoom, ReportFontSize(), true);
}

void TCustomBandRep::PaintMargins(TCanvas& C) {
  C.Pen = BandRpt::DesignColours().Margin;
  C.Brush.Style = TBrushStyle::bsClear;
  C.Rectangle(MarginRect());
}

void TCustomBandRep::PaintFrame(TCanvas& C) {
  if (!Frame.AnySide()) return;
  const TRect m = MarginRect();
  Frame.ApplyPen(C.Pen);
  if (Frame.DrawTop) Line(C, m.Left, m.Top, m.Right, m.Top);
  if (Frame.DrawBottom) Line(C, m.Left, m.Bottom - 1, m.Right, m.Bottom - 1);
  if (Frame.DrawLeft) Line(C, m.Left, m.Top, m.Left, m.Bottom);
  if (Frame.DrawRight) Line(C, m.Right - 1, m.Top, m.Right - 1, m.Bottom);
}

void TCustomBandRep::PaintColumns(TCanvas& C) {
  const int32_t columns = Page.Columns();
  if (columns < 2) return;
  const int32_t left = Page.PixelsOf(TRBPage::kLeftMargin);
  const int32_t top = Page.PixelsOf(TRBPage::kTopMargin);
  const int32_t space = Page.PixelsOf(TRBPage::kColumnSpace);
  const int32_t printable = Width() - (left + Page.PixelsOf(TRBPage::kRightMargin));
  const int32_t column = (printable - (columns - 1) * space) / columns;
  C.Pen = BandRpt::DesignColours().Margin;
  for (int32_t f = 1; f < columns; ++f) {
    // The end of column f and the start of column f + 1, from the top edge down to the top margin.
    const int32_t end = left + column * f + space * (f - 1);
    const int32_t start = left + (column + space) * f;
    Line(C, end, 0, end, top);
    Line(C, start, 0, start, top);
  }
}

void TCustomBandRep::Paint(TCanvas& C) {
  TRBBasePanel::Paint(C);
  if (PageImage != nullptr) PageImage->Jouer(C, ClientRect());
  if (Page.Ruler()) PaintRuler(C, Units());
  PaintMargins(C);
  PaintFrame(C);
  PaintColumns(C);
  RepaintPending = false;
}
