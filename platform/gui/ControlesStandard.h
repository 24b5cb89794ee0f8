// The platform's standard controls that the toolkit's windows are made of: label, panel, image,
// progress bar, memo, scroll bar and bitmap button. Each keeps the state its users read and write
// and paints itself on demand (see Controles.h); sizes and defaults are the platform's.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/Controles.h"

// Whether Caractere is the accelerator of Texte (the letter after a single "&", without case).
bool EstAccelerateur(char Caractere, const std::string& Texte);

enum class TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// A text on the parent. With AutoSize (the default) the label takes its text's extent: the whole
// text on one line, or, with WordWrap, the height of the text wrapped in its current width. An
// empty caption measures as one line.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* Owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout Layout = TTextLayout::tlTop;
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent = false;
  bool ShowAccelChar = true;

  // Sizes the label to its text now (AutoSize does it after every change).
  void AdjustBounds();
  void Paint(TCanvas& C) override;

 protected:
  void TextChanged() override;
  void FontChanged() override;
  void BoundsChanged() override;

 private:
  uint32_t FormatTexte() const;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool wordWrap_ = false;
  bool autoSize_ = true;
  bool ajuste_ = false;
};

enum class TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBorderStyle : uint8_t { bsNone, bsSingle };

// The platform's panel: an outer bevel, a border of BorderWidth pixels in the panel's colour, an
// inner bevel, the fill and the caption on one line centred vertically. Children are aligned
// inside the border and the bevels.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* Owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  int BevelWidth() const { return bevelWidth_; }
  int BorderWidth() const { return borderWidth_; }
  void SetBevelInner(TBevelCut v);
  void SetBevelOuter(TBevelCut v);
  void SetBevelWidth(int v);
  void SetBorderWidth(int v);
  TBorderStyle BorderStyle = TBorderStyle::bsNone;
  TAlignment Alignment = TAlignment::taCenter;
  bool Locked = false;

  void AdjustClientRect(TRect& R) const override;
  void Paint(TCanvas& C) override;

 protected:
  // Paints the bevels, the border and the fill; R is what is left inside.
  void PeindreCadre(TCanvas& C, TRect& R);
  void PeindreLegende(TCanvas& C, const TRect& R);

 private:
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
};

// A picture on the parent: drawn at its size at the top-left, or centred (Center), or fitted
// keeping its proportions when larger than the control (Proportional), or stretched (Stretch).
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* Owner);
  TBitmap Picture;
  bool Center = false;
  bool Proportional = false;
  bool Stretch = false;
  bool Transparent = false;
  // Where the picture is drawn, in the control's coordinates.
  TRect DestRect() const;
  void Paint(TCanvas& C) override;
};

// A progress bar: Position stays within Min and Max.
class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* Owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);
  bool Smooth = false;
  void Paint(TCanvas& C) override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

enum class TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line text (the caller puts CR LF between lines).
class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* Owner);
  const std::string& Text() const { return Caption(); }
  void SetText(std::string v) { SetCaption(std::move(v)); }
  TScrollStyle ScrollBars = TScrollStyle::ssNone;
  bool ReadOnly = false;
  void Paint(TCanvas& C) override;
};

enum class TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

// A scroll bar: Position within Min and Max - PageSize + 1 (Max when PageSize is 0); a change of
// position raises OnChange. A Max below Min is refused.
class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* Owner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind v);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int PageSize() const { return pageSize_; }
  void SetParams(int Position, int Min, int Max);
  void SetMin(int v) { SetParams(position_, v, max_); }
  void SetMax(int v) { SetParams(position_, min_, v); }
  void SetPosition(int v) { SetParams(v, min_, max_); }
  void SetPageSize(int v);
  int SmallChange = 1;
  int LargeChange = 1;
  TNotifyEvent OnChange;
  void Paint(TCanvas& C) override;

 private:
  TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
};

// A push button with a glyph: its click gives the form its ModalResult; Enter clicks a Default
// button and Escape a Cancel one; its caption's accelerator clicks it.
class TBitBtn : public TWinControl {
 public:
  explicit TBitBtn(TComponent* Owner);
  TBitmap Glyph;
  int32_t ModalResult = 0;
  bool Default = false;
  bool Cancel = false;
  void Click() override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  bool DialogKey(int Touche, uint8_t Shift) override;
  bool DialogChar(char Caractere) override;
  void Paint(TCanvas& C) override;
};
