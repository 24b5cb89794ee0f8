#include "reports/BandRptUnits.h"

#include <cmath>

#include "core/objects/Exceptions.h"
#include "platform/gui/Fiches.h"
#include "platform/gui/ParametresRegionaux.h"
#include "reports/BandRpt.h"

namespace {
bool gUS = false;
constexpr double kMaxLength = 1000000;  // 100 metres in tenths of a millimetre
}  // namespace

bool BandRpt::USMeasurement() { return gUS; }
void BandRpt::ReadMeasurementSystem() { gUS = ParametresRegionaux::MesureSysteme() == "1"; }

double BandRpt::CharacterWidth(int32_t FontSize) {
  const double s = FontSize == 0 ? 10 : std::abs(static_cast<double>(FontSize));
  return 80 / s / 2.54 * 10;
}

double BandRpt::LineHeight(int32_t FontSize) {
  const double s = FontSize == 0 ? 10 : std::abs(static_cast<double>(FontSize));
  return 145.3 / s / 2.54 * 10;
}

TRBUnitBase::TRBUnitBase(int Count)
    : Resolution(Screen().PixelsPerInch()),
      Units(BandRpt::USMeasurement() ? TRBUnit::Inches : TRBUnit::MM),
      SavedUnits(Units),
      values_(static_cast<std::size_t>(Count), 0.0) {}

namespace {
int32_t ReportFont(const TCustomBandRep* Report) { return Report != nullptr ? Report->ReportFontSize() : 10; }
}  // namespace

double TRBUnitBase::ToUnit(TRBUnit Unit, bool Horizontal, double X) const {
  switch (Unit) {
    case TRBUnit::MM: return X / 10;
    case TRBUnit::Inches: return X / 254;
    case TRBUnit::Pixels: return X / (254.0 / Resolution) * Zoom / 100;
    case TRBUnit::Characters:
      return X / (Horizontal ? BandRpt::CharacterWidth(ReportFont(ParentReport))
                             : BandRpt::LineHeight(ReportFont(ParentReport)));
    case TRBUnit::Native: break;
  }
  return X;
}

double TRBUnitBase::FromUnit(TRBUnit Unit, bool Horizontal, double X) const {
  switch (Unit) {
    case TRBUnit::MM: return X * 10;
    case TRBUnit::Inches: return X * 254;
    case TRBUnit::Pixels: return Zoom == 0 ? 0 : X * (254.0 / Resolution) / Zoom * 100;
    case TRBUnit::Characters:
      return X * (Horizontal ? BandRpt::CharacterWidth(ReportFont(ParentReport))
                             : BandRpt::LineHeight(ReportFont(ParentReport)));
    case TRBUnit::Native: break;
  }
  return X;
}

void TRBUnitBase::SwitchToPixels() {
  SavedUnits = Units;
  Units = TRBUnit::Pixels;
}

double TRBUnitBase::Get(int Index) const { return ToUnit(Units, Horizontal(Index), Stored(Index)); }

void TRBUnitBase::Set(int Index, double Value) {
  SetStored(Index, FromUnit(Units, Horizontal(Index), Value));
  Written(Index);
}

int32_t TRBUnitBase::PixelsOf(int Index) const {
  return RoundHalfEven(ToUnit(TRBUnit::Pixels, Horizontal(Index), Stored(Index)));
}

bool TRBUnitBase::Acceptable(int, double Value) const { return std::isfinite(Value) && std::fabs(Value) <= kMaxLength; }

void TRBUnitBase::ReadValues(const std::vector<double>& Values) {
  if (Values.size() != values_.size())
    throw EReadError("Values: " + std::to_string(values_.size()) + " values expected, " + std::to_string(Values.size()) +
                     " read");
  for (std::size_t i = 0; i < Values.size(); ++i)
    if (!Acceptable(static_cast<int>(i), Values[i])) throw EReadError("Values: a value out of range");
  values_ = Values;
}

// ---------------------------------------------------------------------------------------------

void TRBBandSize::ApplyToControl() {
  if (band_ == nullptr) return;
  ParentUpdating = true;
  band_->SetBounds(band_->Left(), band_->Top(), PixelsOf(kWidth), PixelsOf(kHeight));
  ParentUpdating = false;
}

TRBPrintableSize::TRBPrintableSize(TRBPrintable* Control) : TRBUnitBase(4), control_(Control) {
  for (double& v : values_) v = 20;
}

void TRBPrintableSize::ApplyToControl() {
  if (control_ == nullptr) return;
  ParentUpdating = true;
  control_->SetBounds(PixelsOf(kLeft), PixelsOf(kTop), PixelsOf(kWidth), PixelsOf(kHeight));
  ParentUpdating = false;
}

// ---------------------------------------------------------------------------------------------

TRBPage::TRBPage(TCustomBandRep* Report) : TRBUnitBase(7), report_(nullptr) {
  // The report is still being built: it learns of the page once the defaults are set.
  values_[kBottomMargin] = 0;
  const double margin = BandRpt::USMeasurement() ? 127 : 100;  // half an inch, or 10 mm
  Units = SavedUnits = BandRpt::USMeasurement() ? TRBUnit::Inches : TRBUnit::MM;
  SetPaperSize(BandRpt::USMeasurement() ? TRBPaperSize::Letter : TRBPaperSize::A4);
  values_[kTopMargin] = values_[kBottomMargin] = values_[kRightMargin] = values_[kLeftMargin] = margin;
  report_ = Report;
}

bool TRBPage::Acceptable(int Index, double Value) const {
  return TRBUnitBase::Acceptable(Index, Value) && Value >= 0;
}

void TRBPage::SetLength(double V) {
  if (paperSize_ != TRBPaperSize::Custom) return;
  Set(kLength, V);
}

void TRBPage::SetWidth(double V) {
  if (paperSize_ != TRBPaperSize::Custom) return;
  Set(kWidth, V);
}

void TRBPage::Written(int Index) {
  if (report_ == nullptr) return;
  if (Index == kBottomMargin || Index == kLength || Index == kWidth) {
    if (!resizing_) {
      resizing_ = true;
      report_->ResizeToPage();
      resizing_ = false;
    }
    report_->LayoutBands();
  }
  report_->RequestRepaint();
}

void TRBPage::SetColumns(int32_t Value) {
  if (Value == columns_ || Value < 1) return;
  columns_ = Value;
  if (report_ != nullptr) {
    report_->LayoutBands();
    report_->RequestRepaint();
  }
}

void TRBPage::SetOrientation(uint8_t Value) {
  orientation_ = Value;
  SetPaperSize(paperSize_);
}

void TRBPage::SetPaperSize(TRBPaperSize Value) {
  if (Value != TRBPaperSize::Default && Value != TRBPaperSize::Custom) {
    const TRBPaperDimensions sheet = *PaperDimensions(Value);
    values_[kWidth] = (orientation_ == 1 ? sheet.Length : sheet.Width) * 10;
    values_[kLength] = (orientation_ == 1 ? sheet.Width : sheet.Length) * 10;
    paperSize_ = Value;
    if (report_ != nullptr && !resizing_) {
      resizing_ = true;
      report_->ResizeToPage();
      resizing_ = false;
      report_->LayoutBands();
    }
  }
  paperSize_ = Value;
}

void TRBPage::SetRuler(bool Value) {
  if (Value == ruler_) return;
  ruler_ = Value;
  if (report_ != nullptr) {
    report_->RequestRepaint();
    report_->SetUnits(Units);
  }
}

void TRBPage::ChangeUnits(TRBUnit Unit) {
  Units = Unit;
  if (report_ != nullptr) report_->RequestRepaint();
}

void TRBPage::ReadValues(const std::vector<double>& Values) {
  TRBUnitBase::ReadValues(Values);
  if (report_ != nullptr && !report_->InLoading()) report_->ResizeToPage();
}

void TRBPage::ReadColumns(int64_t Value) {
  if (Value < 1 || Value > 1000) throw EReadError("Page.Columns: " + std::to_string(Value) + " is out of range");
  columns_ = static_cast<int32_t>(Value);
}

void TRBPage::ReadPaperSize(int64_t Value) {
  if (Value < 0 || Value >= kPaperSizeCount)
    throw EReadError("Page.PaperSize: " + std::to_string(Value) + " is out of range");
  paperSize_ = static_cast<TRBPaperSize>(Value);
}

void TRBPage::ReadOrientation(int64_t Value) {
  if (Value < 0 || Value > 1) throw EReadError("Page.Orientation: " + std::to_string(Value) + " is out of range");
  orientation_ = static_cast<uint8_t>(Value);
}
