// Report lengths: every length of a report (paper, margins, column space, band sizes, the position
// and size of every printable control) is stored once in tenths of a millimetre ("Native") and read
// and written in the unit the report's designer chose. Three holders keep those values and keep the
// on-screen controls in step with them: TRBBandSize (a band), TRBPage (the report's paper) and
// TRBPrintableSize (a printable control).
//
// Conversions: MM X / 10; Inches X / 254; Pixels X / (254 / Resolution) x Zoom / 100; Characters
// X / CW / 10 across and X / LH / 10 down, with S the absolute value of the report's font size (10
// when it is 0), CW = 80 / S / 2.54 and LH = 145.3 / S / 2.54; Native X.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/RBPrinterSettings.h"

class TCustomBandRep;
class TRBCustomBand;
class TRBPrintable;

enum class TRBUnit : uint8_t { MM = 0, Inches = 1, Pixels = 2, Characters = 3, Native = 4 };

namespace BandRpt {

// Whether the system's measurement system is the US one: the locale's measurement entry is "1". Read
// at the unit's start (and by tests through ReadMeasurementSystem).
bool USMeasurement();
void ReadMeasurementSystem();

// The character width and line height, in tenths of a millimetre, of a font size (its absolute value,
// 10 for 0).
double CharacterWidth(int32_t FontSize);
double LineHeight(int32_t FontSize);

}  // namespace BandRpt

class TRBUnitBase {
 public:
  explicit TRBUnitBase(int Count);
  virtual ~TRBUnitBase() = default;
  TRBUnitBase(const TRBUnitBase&) = delete;
  TRBUnitBase& operator=(const TRBUnitBase&) = delete;

  int32_t Resolution;
  TRBUnit Units;
  TRBUnit SavedUnits;
  TCustomBandRep* ParentReport = nullptr;
  bool ParentUpdating = false;
  int32_t Zoom = 100;

  double ToUnit(TRBUnit Unit, bool Horizontal, double X) const;
  double FromUnit(TRBUnit Unit, bool Horizontal, double X) const;
  void SwitchToPixels();
  void RestoreUnits() { Units = SavedUnits; }
  virtual void ChangeUnits(TRBUnit Unit) { Units = Unit; }
  // Sets the owner control's pixel bounds from the stored values.
  virtual void ApplyToControl() {}
  void AfterLoad() { ApplyToControl(); }

  // The value at an index in Units, and its setter (the stored value takes FromUnit, then the holder
  // reacts as its class says).
  double Get(int Index) const;
  void Set(int Index, double Value);
  // The stored (Native) value.
  double Stored(int Index) const { return values_[static_cast<std::size_t>(Index)]; }
  void SetStored(int Index, double Value) { values_[static_cast<std::size_t>(Index)] = Value; }
  // The value in pixels at the holder's zoom, rounded.
  int32_t PixelsOf(int Index) const;

  // The "Values" property: every stored value in index order.
  const std::vector<double>& Values() const { return values_; }
  // Restores the stored values; a list of another length, a value that is not finite or lies outside
  // the holder's range is refused (EReadError) and nothing changes.
  virtual void ReadValues(const std::vector<double>& Values);

 protected:
  virtual bool Horizontal(int Index) const = 0;
  virtual void Written(int Index) { (void)Index; }
  // The range a stored value may have.
  virtual bool Acceptable(int Index, double Value) const;
  std::vector<double> values_;
};

class TRBBandSize : public TRBUnitBase {
 public:
  enum : int { kHeight = 0, kWidth = 1 };
  explicit TRBBandSize(TRBCustomBand* Band) : TRBUnitBase(2), band_(Band) {}
  double Height() const { return Get(kHeight); }
  double Width() const { return Get(kWidth); }
  void SetHeight(double V) { Set(kHeight, V); }
  void SetWidth(double V) { Set(kWidth, V); }
  void ApplyToControl() override;

 protected:
  bool Horizontal(int Index) const override { return Index == kWidth; }
  void Written(int) override { ApplyToControl(); }

 private:
  TRBCustomBand* band_;
};

class TRBPrintableSize : public TRBUnitBase {
 public:
  enum : int { kHeight = 0, kLeft = 1, kTop = 2, kWidth = 3 };
  explicit TRBPrintableSize(TRBPrintable* Control);
  double Height() const { return Get(kHeight); }
  double Left() const { return Get(kLeft); }
  double Top() const { return Get(kTop); }
  double Width() const { return Get(kWidth); }
  void SetHeight(double V) { Set(kHeight, V); }
  void SetLeft(double V) { Set(kLeft, V); }
  void SetTop(double V) { Set(kTop, V); }
  void SetWidth(double V) { Set(kWidth, V); }
  void ApplyToControl() override;

 protected:
  bool Horizontal(int Index) const override { return Index == kLeft || Index == kWidth; }
  void Written(int) override { ApplyToControl(); }

 private:
  TRBPrintable* control_;
};

class TRBPage : public TRBUnitBase {
 public:
  enum : int { kBottomMargin = 0, kLength = 1, kTopMargin = 2, kWidth = 3, kLeftMargin = 4, kRightMargin = 5,
               kColumnSpace = 6 };
  explicit TRBPage(TCustomBandRep* Report);

  double BottomMargin() const { return Get(kBottomMargin); }
  double Length() const { return Get(kLength); }
  double TopMargin() const { return Get(kTopMargin); }
  double Width() const { return Get(kWidth); }
  double LeftMargin() const { return Get(kLeftMargin); }
  double RightMargin() const { return Get(kRightMargin); }
  double ColumnSpace() const { return Get(kColumnSpace); }
  void SetBottomMargin(double V) { Set(kBottomMargin, V); }
  // Taken only while the paper is custom.
  void SetLength(double V);
  void SetWidth(double V);
  void SetTopMargin(double V) { Set(kTopMargin, V); }
  void SetLeftMargin(double V) { Set(kLeftMargin, V); }
  void SetRightMargin(double V) { Set(kRightMargin, V); }
  void SetColumnSpace(double V) { Set(kColumnSpace, V); }

  int32_t Columns() const { return columns_; }
  // Ignored when equal or below 1.
  void SetColumns(int32_t Value);
  uint8_t Orientation() const { return orientation_; }  // 0 portrait, 1 landscape
  void SetOrientation(uint8_t Value);
  TRBPaperSize PaperSize() const { return paperSize_; }
  void SetPaperSize(TRBPaperSize Value);
  bool Ruler() const { return ruler_; }
  void SetRuler(bool Value);
  void ChangeUnits(TRBUnit Unit) override;

  void ReadValues(const std::vector<double>& Values) override;
  // The stored form's settings, checked: a paper size outside 0..69 or columns below 1 raise EReadError.
  void ReadColumns(int64_t Value);
  void ReadPaperSize(int64_t Value);
  void ReadOrientation(int64_t Value);

 protected:
  bool Horizontal(int Index) const override { return Index >= kWidth; }
  void Written(int Index) override;
  bool Acceptable(int Index, double Value) const override;

 private:
  TCustomBandRep* report_;
  int32_t columns_ = 1;
  uint8_t orientation_ = 0;
  TRBPaperSize paperSize_ = TRBPaperSize::A4;
  bool ruler_ = true;
  bool resizing_ = false;
};
