// The printable controls of a report: labels that lay a text out in lines (word wrap, automatic
// width, alignment) and print it, stretching their band downwards and continuing in the next column
// or page (AutoStretch); expression controls that print a formatted expression value and feed its
// aggregates once per detail record; and shapes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "reports/BandRpt.h"

class TRBCustomLabel;
using TRBLabelOnPrintEvent = std::function<void(TRBCustomLabel* Sender, std::string& Value)>;

class TRBCustomLabel : public TRBPrintable {
 public:
  explicit TRBCustomLabel(TComponent* Owner);

  bool CaptionBased = true;
  bool DoneFormat = false;
  bool AutoSize = true;
  bool AutoStretch = false;
  int32_t CurrentLine = 0;
  std::string PrintCaption;
  int32_t FontSize = 0;
  std::vector<std::string> FormattedLines;
  std::vector<std::string> Lines;
  TRBLabelOnPrintEvent OnPrint;
  bool WordWrap = true;
  bool UpdatingBounds = false;

  void SetAutoStretch(bool Value);
  void SetWordWrap(bool Value);
  virtual void FormatLines();
  // Widths in 96-per-inch pixels at the control's zoom; the height of "A".
  int32_t MeasureWidth(const std::string& Text) const;
  int32_t TextHeight() const;
  // Lays Text out into FormattedLines.
  void LayOut(const std::string& Text);
  void Print(int32_t OffsetX, int32_t OffsetY) override;
  void SetParent(TWinControl* Parent) override;
  // The design surface: the printable's painting, the formatted lines at the panel's zoom, the corner
  // marks again.
  void Paint(TCanvas& C) override;

 protected:
  void FontChanged() override;
  void PrintText(int32_t OffsetX, int32_t OffsetY);
  void LayOutParagraph(const std::string& Paragraph);
};

class TRBLabel : public TRBCustomLabel {
  RB_DECLARE_COMPONENT_CLASS(TRBLabel)
 public:
  explicit TRBLabel(TComponent* Owner) : TRBCustomLabel(Owner) {}
  const std::string& LabelCaption() const { return Caption(); }
  void SetLabelCaption(const std::string& Value);
  const TRBPrintableEditorClass* EditorClass() const override;
  // A caption that is empty or the old name becomes the new name.
  void SetName(std::string Value) override;
};

class TRBExpr : public TRBCustomLabel {
  RB_DECLARE_COMPONENT_CLASS(TRBExpr)
 public:
  explicit TRBExpr(TComponent* Owner);

  TRBEvaluator Evaluator;
  TComponent* Master = nullptr;
  bool ResetAfterPrint = false;

  const std::string& Expression() const { return expression_; }
  void SetExpression(const std::string& Value);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& Value);
  const TRBPrintableEditorClass* EditorClass() const override;
  // The value's text by the mask.
  std::string FormatValue(const TRBEvResultRecord& Value) const;

  void Prepare() override;
  void Unprepare() override;
  void Print(int32_t OffsetX, int32_t OffsetY) override;
  void ParentChanged(TComponent* Sender, int Reason) override;

 private:
  std::string expression_;
  std::string mask_;
};

enum TRBShapeType : uint8_t {
  rbsRectangle = 0, rbsCircle = 1, rbsVertLine = 2, rbsHorLine = 3, rbsTopAndBottom = 4, rbsRightAndLeft = 5,
  rbsRoundRect = 6, rbsDiagonalUp = 7, rbsDegrade = 8, rbsDiagonalDn = 9, rbsAngle = 10
};

class TRBShape : public TRBPrintable {
  RB_DECLARE_COMPONENT_CLASS(TRBShape)
 public:
  explicit TRBShape(TComponent* Owner);

  TRBShapeType Shape() const { return shape_; }
  void SetShape(TRBShapeType Value);
  TBrush Brush;
  TPen Pen;
  void SetBrush(const TBrush& Value);
  void SetPen(const TPen& Value);
  float RoundFactor() const { return roundFactor_; }
  void SetRoundFactor(float Value);
  int32_t VertAdjust = 0;

  // The corner of a rounded rectangle: the width in design pixels x RoundFactor (clamped to 0..1),
  // truncated.
  int32_t CornerSize() const;
  void Print(int32_t OffsetX, int32_t OffsetY) override;
  // The design surface: the printable's painting, then the figure in the control's pixel rectangle.
  void Paint(TCanvas& C) override;

 private:
  TRBShapeType shape_ = rbsRectangle;
  float roundFactor_ = 0;
};

namespace RBCtrls {

// The colour dialog's HLS conversion: hue, luminance and saturation 0..240, RGB 0..255, an undefined
// hue of 160 for grey.
struct THLS {
  int H, L, S;
};
THLS RGBToHLS(TColor Colour);
TColor HLSToRGB(int Hue, int Luminance, int Saturation);
// Fills R (device units) from left to right with vertical stripes going from C1 to C2.
void Gradient(TCanvas& Canvas, const TRect& R, TColor C1, TColor C2);

}  // namespace RBCtrls
