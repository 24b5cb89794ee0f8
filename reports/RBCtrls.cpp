#include "reports/RBCtrls.h"

#include <algorithm>
#include <cmath>

#include "core/values/Format.h"

namespace {

// The font a label draws with on a device: its pixel height scaled from 96 per inch to the device.
TFont DeviceFont(const TFont& Font, const TRBPrinter& Target) {
  TFont f = Font;
  f.Height = std::max(1, RoundHalfEven(Font.Height * Target.DotsPerTenthY * 254 / 96));
  return f;
}

bool IsBreak(char c) { return c == '\r' || c == ' ' || c == '-'; }

// The thickness of a frame's side on the design surface at a zoom, as the frame draws it: its points in
// pixels, at least 1; 1 for a negative width, none for 0.
int32_t FrameThickness(const TRBFrame& Frame, int32_t Zoom) {
  if (Frame.Width == 0) return 0;
  if (Frame.Width < 0) return 1;
  return std::max(1, RoundHalfEven(Frame.Width * Zoom * Screen().PixelsPerInch() / 72.0 / 100));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Labels

TRBCustomLabel::TRBCustomLabel(TComponent* Owner) : TRBPrintable(Owner) {}

void TRBCustomLabel::SetAutoStretch(bool Value) {
  AutoStretch = Value;
  Invalidate();
}

void TRBCustomLabel::SetWordWrap(bool Value) {
  WordWrap = Value;
  Invalidate();
}

void TRBCustomLabel::FontChanged() {
  TRBPrintable::FontChanged();
  DoneFormat = false;
  FormatLines();
}

void TRBCustomLabel::SetParent(TWinControl* P) {
  TRBPrintable::SetParent(P);
  FormatLines();
}

int32_t TRBCustomLabel::MeasureWidth(const std::string& Text) const {
  if (ParentReport == nullptr) return MetriquesTexte::Largeur(Font(), Text);
  int32_t w = 0;
  TRBPrinter* target = ParentReport->RenderTarget;
  if (target != nullptr && target->Routing == TRBPrinter::RoutePrinter && target->PageCanvas() != nullptr &&
      target->DeviceSettings().ResolutionX > 0) {
    TCanvas& c = *target->PageCanvas();
    c.Font = DeviceFont(Font(), *target);
    w = RoundHalfEven(c.TextWidth(Text) * 96.0 / target->DeviceSettings().ResolutionX);
  } else {
    ParentReport->MeasureDC.Font = Font();
    w = ParentReport->MeasureDC.TextWidth(Text) + 1;
  }
  return w * PanelZoom() / 100;
}

int32_t TRBCustomLabel::TextHeight() const {
  if (ParentReport == nullptr) return MetriquesTexte::Hauteur(Font());
  ParentReport->MeasureDC.Font = Font();
  return ParentReport->MeasureDC.TextHeight("A");
}

void TRBCustomLabel::LayOutParagraph(const std::string& Paragraph) {
  if (AutoSize) {
    FormattedLines.push_back(Paragraph);
    return;
  }
  const int32_t limit = Width();
  // The longest start of a word that fits, at least one character, so that nothing is lost.
  auto fitting = [&](const std::string& Word) {
    std::size_t n = 1;
    while (n < Word.size() && MeasureWidth(Word.substr(0, n + 1)) <= limit) ++n;
    return n;
  };
  std::string line;
  std::size_t start = 0;
  while (start < Paragraph.size()) {
    std::size_t end = start;
    while (end < Paragraph.size() && !IsBreak(Paragraph[end])) ++end;
    if (end < Paragraph.size()) ++end;
    std::string word = Paragraph.substr(start, end - start);
    start = end;
    if (MeasureWidth(line + word) > limit) {
      if (!WordWrap) {
        // Without word wrap the paragraph is one line, cut at the control's edge.
        if (line.empty()) line = word.substr(0, fitting(word));
        FormattedLines.push_back(line);
        return;
      }
      if (!line.empty()) {
        FormattedLines.push_back(line);
        line.clear();
      }
      while (word.size() > 1 && MeasureWidth(word) > limit) {
        const std::size_t n = fitting(word);
        FormattedLines.push_back(word.substr(0, n));
        word.erase(0, n);
      }
    }
    line += word;
  }
  FormattedLines.push_back(line);
}

void TRBCustomLabel::LayOut(const std::string& Text) {
  std::string text;
  for (char c : Text)
    if (c != '\n') text += c;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\r') {
      LayOutParagraph(text.substr(start, i - start));
      start = i + 1;
    }
  LayOutParagraph(text.substr(start));
}

void TRBCustomLabel::FormatLines() {
  if (Parent() == nullptr) return;
  FormattedLines.clear();
  LayOut(PrintCaption);
  if (!UpdatingBounds && ParentReport != nullptr) {
    const int32_t minHeight = TextHeight() * PanelZoom() / 100 + 1;
    UpdatingBounds = true;
    if (AutoSize) {
      int32_t w = 0;
      for (const std::string& l : FormattedLines) w = std::max(w, MeasureWidth(l));
      // Each framed side adds the thickness it is drawn with on the design surface (its points in
      // pixels at the zoom), so that the frame leaves the text clear.
      const int32_t side = FrameThickness(Frame, PanelZoom());
      if (Frame.DrawLeft) w += side;
      if (Frame.DrawRight) w += side;
      int32_t left = Left();
      TAlignment a = alignment_;
      if (RightToLeft && a != TAlignment::taCenter)
        a = a == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
      if (a == TAlignment::taRightJustify) left += Width() - w;
      else if (a == TAlignment::taCenter) left += (Width() - w) / 2;
      SetBounds(left, Top(), w, std::max(Height(), minHeight));
    } else if (Height() < minHeight) {
      SetBounds(Left(), Top(), Width(), minHeight);
    }
    UpdatingBounds = false;
  }
  DoneFormat = true;
}

void TRBCustomLabel::Print(int32_t OffsetX, int32_t OffsetY) { PrintText(OffsetX, OffsetY); }

void TRBCustomLabel::PrintText(int32_t OffsetX, int32_t OffsetY) {
  if (!ShouldPrint() || RenderTarget == nullptr || RenderTarget->PageCanvas() == nullptr) return;
  TRBPrinter& target = *RenderTarget;
  TCanvas& c = *target.PageCanvas();
  c.Font = DeviceFont(Font(), target);
  double lineHeight = c.TextHeight("W") / target.DotsPerTenthY;
  const std::string saved = PrintCaption;
  bool replaced = false;
  if (!PrintCaption.empty() && OnPrint) {
    std::string value = PrintCaption;
    OnPrint(this, value);
    c.Font = DeviceFont(Font(), target);
    lineHeight = c.TextHeight("W") / target.DotsPerTenthY;
    if (value != PrintCaption) {
      PrintCaption = value;
      replaced = true;
    }
  }
  const int32_t widthBefore = RoundHalfEven(Size.Stored(TRBPrintableSize::kWidth));
  int32_t left = OffsetX + RoundHalfEven(Size.Stored(TRBPrintableSize::kLeft));
  int32_t top = OffsetY + RoundHalfEven(Size.Stored(TRBPrintableSize::kTop));
  const int32_t height = RoundHalfEven(Size.Stored(TRBPrintableSize::kHeight));
  FormatLines();
  c.Font = DeviceFont(Font(), target);
  const int32_t width = RoundHalfEven(Size.Stored(TRBPrintableSize::kWidth));
  auto fill = [&](double l, double t, double r, double b) {
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Color();
    c.FillRect({target.ToDeviceX(RoundHalfEven(l)), target.ToDeviceY(RoundHalfEven(t)),
                target.ToDeviceX(RoundHalfEven(r)), target.ToDeviceY(RoundHalfEven(b))});
  };
  if (!Transparent()) fill(left, top, left + width, top + height);
  // The text moves inside a frame of positive width only.
  const int32_t frameWidth = Frame.Width > 0 ? Frame.WidthInTenths() : 0;
  if (Frame.DrawTop) top += frameWidth;
  if (Frame.DrawLeft) left += frameWidth;
  double maxY = top + height + 1;
  double y = top;
  int32_t x = left;
  if (AutoSize && alignment_ == TAlignment::taRightJustify) x = left - (width - widthBefore);
  else if (AutoSize && alignment_ == TAlignment::taCenter) x = left - (width - widthBefore) / 2;
  c.Brush.Style = TBrushStyle::bsClear;
  if (PrintFinished) CurrentLine = 0;
  bool started = false;
  int placed = 0;
  TRBCustomBand* band = Band();
  const auto count = static_cast<int32_t>(FormattedLines.size());
  while (CurrentLine < count) {
    bool can = maxY >= y + lineHeight;
    if (!can && AutoStretch && band != nullptr && band->CanExpand(lineHeight)) {
      double expanded = 0;
      band->Expand(lineHeight, started, expanded);
      const double newMax = top + height + 1 + expanded;
      if (!Transparent()) {
        fill(left, maxY, left + width, newMax);
        c.Brush.Style = TBrushStyle::bsClear;
      }
      maxY = newMax;
      can = true;
    }
    // Right after the break this control asked for, a line that fits nowhere is placed all the same
    // (it runs over the bottom as a band taller than a page does), so the run moves on.
    if (!can && placed == 0 && band != nullptr && band->PassAfterBreak) can = true;
    if (!can) break;
    const std::string& line = FormattedLines[static_cast<std::size_t>(CurrentLine)];
    if (!line.empty()) {
      int32_t dx = target.ToDeviceX(x);
      if (alignment_ == TAlignment::taRightJustify) dx = target.ToDeviceX(x + width) - c.TextWidth(line);
      else if (alignment_ == TAlignment::taCenter) dx = target.ToDeviceX(x + width / 2) - c.TextWidth(line) / 2;
      c.TextOut(dx, target.ToDeviceY(RoundHalfEven(y)), line);
    }
    y += lineHeight;
    ++CurrentLine;
    ++placed;
  }
  PrintFinished = !(CurrentLine < count && AutoStretch);
  c.LibererClip();
  if (Frame.AnySide())
    PrintFrame(left - frameWidth, top - frameWidth, left + width,
               top + height + RoundHalfEven(band != nullptr ? band->Expanded : 0));
  if (replaced) PrintCaption = saved;
}

void TRBCustomLabel::Paint(TCanvas& C) {
  if (IsPrinting) return;
  const int32_t zoom = PanelZoom();
  TFont font = Font();
  font.SetSize(RoundHalfEven(font.Size() * zoom / 100.0));
  C.Font = font;
  PaintPrintable(C);
  if (!DoneFormat) FormatLines();
  // The text moves inside a frame of positive width only, as when it prints.
  const int32_t offset = Frame.Width > 0 ? FrameThickness(Frame, zoom) : 0;
  const int32_t x = Frame.DrawLeft ? offset : 0;
  int32_t y = Frame.DrawTop ? offset : 0;
  const int32_t lineHeight = C.TextHeight("W");
  C.Brush.Style = TBrushStyle::bsClear;
  for (const std::string& line : FormattedLines) {
    if (!line.empty()) {
      int32_t at = x;
      if (alignment_ == TAlignment::taRightJustify) at = x + Width() - C.TextWidth(line);
      else if (alignment_ == TAlignment::taCenter) at = x + Width() / 2 - C.TextWidth(line) / 2;
      C.TextOut(at, y, line);
    }
    y += lineHeight;
  }
  PaintCornerMarks(C);
}

RB_DEFINE_COMPONENT_CLASS(TRBLabel, TRBPrintable::StaticClass())

void TRBLabel::SetName(std::string Value) {
  const std::string old = Name();
  TRBCustomLabel::SetName(std::move(Value));
  if (Caption().empty() || Caption() == old) SetLabelCaption(Name());
}

void TRBLabel::SetLabelCaption(const std::string& Value) {
  SetCaption(Value);
  PrintCaption = Value;
  DoneFormat = false;
  FormatLines();
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Expressions

RB_DEFINE_COMPONENT_CLASS(TRBExpr, TRBPrintable::StaticClass())

TRBExpr::TRBExpr(TComponent* Owner) : TRBCustomLabel(Owner) {
  CaptionBased = false;
  SetExpression("");
}

void TRBExpr::SetExpression(const std::string& Value) {
  expression_ = Value;
  SetCaption(Value.empty() ? "(none)" : Value);
  PrintCaption = Caption();
  Invalidate();
}

void TRBExpr::SetMask(const std::string& Value) {
  mask_ = Value;
  SetExpression(expression_);
}

std::string TRBExpr::FormatValue(const TRBEvResultRecord& Value) const {
  switch (Value.Kind) {
    case rkInteger: return FormatFloat(mask_, Value.IntegerValue);
    case rkFloat:
      return mask_.find("%m") != std::string::npos ? FormatCurrencyTemplate(mask_, Value.FloatValue)
                                                   : FormatFloat(mask_, Value.FloatValue);
    case rkBoolean: return Value.BooleanValue ? "True" : "False";
    case rkString:
    case rkError: break;
  }
  return Value.Text;
}

void TRBExpr::Prepare() {
  TRBCustomLabel::Prepare();
  if (ParentReport == nullptr) return;
  Evaluator.SetDataSetList(ParentReport->DataSets.get());
  Evaluator.LocalEnvironment = &ParentReport->Functions;
  Evaluator.CompileExpression(expression_);
  if (dynamic_cast<TBandRep*>(Master) != nullptr) {
    ParentReport->AddNotifyClient(this);
  } else if (auto* sub = dynamic_cast<TRBSubDetail*>(Master)) {
    auto& l = sub->Controller()->NotifyList;
    if (std::find(l.begin(), l.end(), this) == l.end()) l.push_back(this);
  } else if (Master == nullptr && Evaluator.HasAggregates()) {
    ParentReport->AddNotifyClient(this);
  }
  Evaluator.ClearAggregates();
}

void TRBExpr::Unprepare() {
  TRBCustomLabel::Unprepare();
  Evaluator.SetDataSetList(nullptr);
  Evaluator.DiscardProgram();
  SetExpression(expression_);
}

void TRBExpr::Print(int32_t OffsetX, int32_t OffsetY) {
  if (Evaluator.Compiled()) {
    TRBEvResultRecord value;
    Evaluator.RunProgram(value);
    PrintCaption = FormatValue(value);
  }
  TRBCustomLabel::Print(OffsetX, OffsetY);
  if (ResetAfterPrint && Evaluator.Compiled()) Evaluator.ClearAggregates();
}

void TRBExpr::ParentChanged(TComponent* Sender, int Reason) {
  if (Reason == 0 && Evaluator.Compiled()) Evaluator.Accumulate();
  TRBCustomLabel::ParentChanged(Sender, Reason);
}

// ---------------------------------------------------------------------------------------------
// Shapes

RB_DEFINE_COMPONENT_CLASS(TRBShape, TRBPrintable::StaticClass())

TRBShape::TRBShape(TComponent* Owner) : TRBPrintable(Owner) { SetBounds(Left(), Top(), 65, 65); }

void TRBShape::SetShape(TRBShapeType Value) {
  if (Value == shape_) return;
  shape_ = Value;
  Invalidate();
}

void TRBShape::SetBrush(const TBrush& Value) {
  Brush = Value;
  Invalidate();
}

void TRBShape::SetPen(const TPen& Value) {
  Pen = Value;
  Invalidate();
}

void TRBShape::SetRoundFactor(float Value) {
  if (Value == roundFactor_) return;
  roundFactor_ = Value;
  Invalidate();
}

int32_t TRBShape::CornerSize() const {
  const double factor = std::isfinite(roundFactor_) ? std::clamp(static_cast<double>(roundFactor_), 0.0, 1.0) : 0.0;
  return static_cast<int32_t>(Width() * factor);
}

void TRBShape::Print(int32_t OffsetX, int32_t OffsetY) {
  if (!ShouldPrint() || RenderTarget == nullptr || RenderTarget->PageCanvas() == nullptr) return;
  TRBPrinter& t = *RenderTarget;
  TCanvas& c = *t.PageCanvas();
  c.Brush = Brush;
  c.Pen = Pen;
  const double l = Size.Stored(TRBPrintableSize::kLeft) + OffsetX;
  const double top = Size.Stored(TRBPrintableSize::kTop) + OffsetY;
  const double w = Size.Stored(TRBPrintableSize::kWidth);
  const double h = Size.Stored(TRBPrintableSize::kHeight);
  auto X = [&](double v) { return t.ToDeviceX(RoundHalfEven(v)); };
  auto Y = [&](double v) { return t.ToDeviceY(RoundHalfEven(v)); };
  auto line = [&](double x1, double y1, double x2, double y2) {
    c.MoveTo(X(x1), Y(y1));
    c.LineTo(X(x2), Y(y2));
  };
  const TRect whole{X(l), Y(top), X(l + w), Y(top + h)};
  switch (shape_) {
    case rbsRectangle: c.Rectangle(whole); break;
    case rbsCircle: c.Ellipse(whole); break;
    case rbsVertLine: line(l + w / 2, top, l + w / 2, top + h); break;
    case rbsHorLine: line(l, top + h / 2, l + w, top + h / 2); break;
    case rbsTopAndBottom:
      line(l, top, l + w, top);
      line(l, top + h, l + w, top + h);
      break;
    case rbsRightAndLeft:
      line(l, top, l, top + h);
      line(l + w, top, l + w, top + h);
      break;
    case rbsRoundRect: c.RoundRect(whole, CornerSize(), CornerSize()); break;
    case rbsDiagonalUp: line(l, top + h, l + w, top); break;
    case rbsDiagonalDn: line(l, top, l + w, top + h); break;
    case rbsDegrade:
      RBCtrls::Gradient(c, {X(l), Y(top), X(l + w / 2), Y(top + h)}, Brush.Color, Couleurs::clWhite);
      RBCtrls::Gradient(c, {X(l + w / 2), Y(top), X(l + w), Y(top + h)}, Couleurs::clWhite, Brush.Color);
      break;
    case rbsAngle: break;
  }
}

void TRBShape::Paint(TCanvas& C) {
  if (IsPrinting) return;
  PaintPrintable(C);
  const int w = Width(), h = Height();
  C.Brush = Brush;
  C.Pen = Pen;
  auto line = [&](int x1, int y1, int x2, int y2) {
    C.MoveTo(x1, y1);
    C.LineTo(x2, y2);
  };
  switch (shape_) {
    case rbsRectangle: C.Rectangle({0, 0, w, h}); break;
    case rbsCircle: C.Ellipse({0, 0, w, h}); break;
    case rbsVertLine: line(w / 2, 0, w / 2, h); break;
    case rbsHorLine: line(0, h / 2, w, h / 2); break;
    case rbsTopAndBottom:
      line(0, 0, w, 0);
      line(0, h - 1, w, h - 1);
      break;
    case rbsRightAndLeft:
      line(0, 0, 0, h);
      line(w - 1, 0, w - 1, h);
      break;
    case rbsRoundRect: C.RoundRect({0, 0, w, h}, CornerSize(), CornerSize()); break;
    case rbsDiagonalUp: line(0, h, w, 0); break;
    case rbsDiagonalDn: line(0, 0, w, h); break;
    case rbsDegrade:
      RBCtrls::Gradient(C, {0, 0, w / 2, h}, Brush.Color, Couleurs::clWhite);
      RBCtrls::Gradient(C, {w / 2, 0, w, h}, Couleurs::clWhite, Brush.Color);
      break;
    case rbsAngle: break;
  }
}

// ---------------------------------------------------------------------------------------------
// Colours

namespace RBCtrls {

namespace {
constexpr int kHLSMax = 240;
constexpr int kRGBMax = 255;
constexpr int kUndefinedHue = kHLSMax * 2 / 3;

int HueToRGB(int n1, int n2, int hue) {
  if (hue < 0) hue += kHLSMax;
  if (hue > kHLSMax) hue -= kHLSMax;
  if (hue < kHLSMax / 6) return n1 + (((n2 - n1) * hue + kHLSMax / 12) / (kHLSMax / 6));
  if (hue < kHLSMax / 2) return n2;
  if (hue < kHLSMax * 2 / 3) return n1 + (((n2 - n1) * (kHLSMax * 2 / 3 - hue) + kHLSMax / 12) / (kHLSMax / 6));
  return n1;
}
}  // namespace

THLS RGBToHLS(TColor Colour) {
  const int r = Couleurs::Rouge(Colour), g = Couleurs::Vert(Colour), b = Couleurs::Bleu(Colour);
  const int cMax = std::max({r, g, b}), cMin = std::min({r, g, b});
  THLS out{};
  out.L = ((cMax + cMin) * kHLSMax + kRGBMax) / (2 * kRGBMax);
  if (cMax == cMin) {
    out.S = 0;
    out.H = kUndefinedHue;
    return out;
  }
  if (out.L <= kHLSMax / 2) out.S = ((cMax - cMin) * kHLSMax + (cMax + cMin) / 2) / (cMax + cMin);
  else out.S = ((cMax - cMin) * kHLSMax + (2 * kRGBMax - cMax - cMin) / 2) / (2 * kRGBMax - cMax - cMin);
  const int rd = ((cMax - r) * (kHLSMax / 6) + (cMax - cMin) / 2) / (cMax - cMin);
  const int gd = ((cMax - g) * (kHLSMax / 6) + (cMax - cMin) / 2) / (cMax - cMin);
  const int bd = ((cMax - b) * (kHLSMax / 6) + (cMax - cMin) / 2) / (cMax - cMin);
  if (r == cMax) out.H = bd - gd;
  else if (g == cMax) out.H = kHLSMax / 3 + rd - bd;
  else out.H = 2 * kHLSMax / 3 + gd - rd;
  if (out.H < 0) out.H += kHLSMax;
  if (out.H > kHLSMax) out.H -= kHLSMax;
  return out;
}

TColor HLSToRGB(int Hue, int Luminance, int Saturation) {
  Luminance = std::clamp(Luminance, 0, kHLSMax);
  if (Saturation == 0) {
    const int v = Luminance * kRGBMax / kHLSMax;
    return Couleurs::RGB(v, v, v);
  }
  const int m2 = Luminance <= kHLSMax / 2 ? (Luminance * (kHLSMax + Saturation) + kHLSMax / 2) / kHLSMax
                                          : Luminance + Saturation - (Luminance * Saturation + kHLSMax / 2) / kHLSMax;
  const int m1 = 2 * Luminance - m2;
  auto channel = [&](int hue) {
    return std::clamp((HueToRGB(m1, m2, hue) * kRGBMax + kHLSMax / 2) / kHLSMax, 0, kRGBMax);
  };
  return Couleurs::RGB(channel(Hue + kHLSMax / 3), channel(Hue), channel(Hue - kHLSMax / 3));
}

void Gradient(TCanvas& Canvas, const TRect& R, TColor C1, TColor C2) {
  const int n = R.Width();
  if (n <= 0 || Couleurs::CouleurRGB(C1) == Couleurs::CouleurRGB(C2)) return;
  const THLS a = RGBToHLS(C1), b = RGBToHLS(C2);
  const bool lighten = a.L < b.L;
  const THLS& hs = lighten ? a : b;
  const int step = lighten ? 1 : -1;
  const int e = lighten ? b.L - a.L : a.L - b.L;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  auto stripe = [&](int x, int w, int lum) {
    Canvas.Brush.Color = HLSToRGB(hs.H, lum, hs.S);
    Canvas.FillRect({x, R.Top, std::min(x + w, R.Right), R.Bottom});
  };
  int lum = a.L;
  int x = R.Left;
  if (e == 0) {
    // Both ends equally light: the gradient is flat.
    Canvas.Brush.Color = C1;
    Canvas.FillRect(R);
    return;
  }
  auto done = [&] { return lighten ? lum > b.L : lum < 0; };
  if (e < n) {
    const int width = n / e, rest = n % e;
    const int every = rest != 0 ? e / rest : 0;
    int extras = 0;
    for (int i = 0; x < R.Right && !done(); ++i) {
      int w = width;
      if (rest != 0 && extras < rest && i > every && i % every == 0) {
        ++w;
        ++extras;
      }
      stripe(x, w, lum);
      x += w;
      lum += step;
    }
  } else {
    const int delta = e / n, rest = e % n;
    const int every = rest != 0 ? n / rest : 0;
    int extras = 0;
    for (int i = 0; x < R.Right && !done(); ++i) {
      stripe(x, 1, lum);
      ++x;
      lum += step * delta;
      if (rest != 0 && every != 0 && extras < rest && i > every && i % every == 0) {
        lum += step;
        ++extras;
      }
    }
  }
}

}  // namespace RBCtrls
