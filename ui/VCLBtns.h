// The toolkit's speed button: a windowless button with a glyph and a caption, four states (up,
// disabled, down, exclusive: down and held by its group), group behaviour (one button of a group
// stays down), a background colour per state, two bevels of configurable colours and widths, and
// independent placement of the glyph and the caption. It is also a dialog button: the default
// button (Enter) or the cancel button (Escape) of its form, with a modal result that its click
// gives the form. The message dialogs are built from these buttons. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gui/ControlesStandard.h"

enum class TButtonState : uint8_t { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3 };
enum class TVokButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom, blGlyphCenter };
enum class TVokButtonAlign : uint8_t { baLeft, baRight, baTop, baBottom, baCenter };

// The picture lists of glyphs, one per glyph size, shared by every button: a free slot is reused
// before a list grows; a list goes with its last image, and the cache with its last list.
class TGlyphCache {
 public:
  // Stores an image in the list of its size; answers its slot.
  static int Ajouter(const TBitmap& Image);
  static void Liberer(int Largeur, int Hauteur, int Emplacement);
  static const TBitmap& Image(int Largeur, int Hauteur, int Emplacement);
  static int NombreListes();
  static bool Existe();
};

// The glyph of a button: its source bitmap with NumGlyphs images side by side (up, disabled,
// down, exclusive), the transparent colour, and one image per state made on first use. Missing
// images are made from the up image: the disabled one embossed, the down and exclusive ones the
// same as up.
class TButtonGlyph {
 public:
  ~TButtonGlyph() { Liberer(); }
  const TBitmap& Source() const { return source_; }
  void SetSource(const TBitmap& Image);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  TColor TransparentColor() const { return transparent_; }
  void SetTransparentColor(TColor c);
  int Largeur() const { return source_.Vide() ? 0 : source_.Width / numGlyphs_; }
  int Hauteur() const { return source_.Vide() ? 0 : source_.Height; }
  // The image of a state (made and stored in the cache on first use); empty without a glyph.
  const TBitmap& ImageEtat(TButtonState Etat);
  // Releases the state images (made again on the next paint).
  void Liberer();
  bool ImageFaite(TButtonState Etat) const { return emplacements_[static_cast<size_t>(Etat)] >= 0; }

 private:
  TBitmap source_;
  int numGlyphs_ = 1;
  TColor transparent_ = Couleurs::clOlive;
  std::array<int, 4> emplacements_{-1, -1, -1, -1};
  TBitmap vide_;
};

class TVokSpeedButton : public TGraphicControl {
 public:
  // The group broadcast a button sends its parent's controls when it goes down.
  static constexpr int kMessageBoutonEnfonce = 0xB001;

  explicit TVokSpeedButton(TComponent* Owner);

  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  TButtonState Etat() const { return state_; }

  TColor BevelInnerLightColor = Couleurs::clBtnHighlight, BevelOuterLightColor = Couleurs::clBtnHighlight;
  TColor BevelInnerShadowColor = Couleurs::clBtnShadow, BevelOuterShadowColor = Couleurs::clBtnShadow;
  int BevelInnerWidth = 0;
  int BevelOuterWidth = 1;
  TBorderStyle BorderStyle = TBorderStyle::bsSingle;
  bool Cancel = false;
  bool Default() const { return default_; }
  // Stores the flag and tells the form its default button changed.
  void SetDefault(bool v);
  // Background per state (0 up, 1 disabled, 2 down, 3 exclusive).
  TColor ColorBtn(int Index) const { return colors_.at(static_cast<size_t>(Index)); }
  void SetColorBtn(int Index, TColor c);
  bool Flat = false;
  TButtonGlyph& Glyph() { return glyph_; }
  void SetGlyph(const TBitmap& Image);
  void SetGlyphTransparentColor(TColor c) { glyph_.SetTransparentColor(c), Invalidate(); }
  int NumGlyphs() const { return glyph_.NumGlyphs(); }
  // Held to 1..4.
  void SetNumGlyphs(int n);
  TVokButtonLayout Layout = TVokButtonLayout::blGlyphLeft;
  TVokButtonAlign GlyphAlign = TVokButtonAlign::baCenter;
  TVokButtonAlign CaptionAlign = TVokButtonAlign::baCenter;
  TAlignment CaptionAlignment = TAlignment::taLeftJustify;
  int CaptionHorizMargin = -1, CaptionVertMargin = -1, GlyphHorizMargin = -1, GlyphVertMargin = -1;
  int32_t ModalResult = 0;
  int Spacing = 4;
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v, Invalidate(); }
  bool WithFontDisabled = true;
  bool WordWrap = false;
  bool SourisDedans() const { return mouseInControl_; }

  // The parent form's modal result becomes ModalResult (also 0), then OnClick.
  void Click() override;
  void MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void MouseMove(uint8_t Shift, int X, int Y) override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DblClick() override;
  bool DialogKey(int Touche, uint8_t Shift) override;
  bool DialogChar(char Caractere) override;
  void Diffusion(int Message, intptr_t Parametre) override;
  void Paint(TCanvas& C) override;

  // Where the glyph and the caption go in R (the drawing area), before the down offset.
  void Disposer(const TRect& R, TRect& Glyphe, TRect& Texte) const;

 private:
  bool Dedans(int X, int Y) const { return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight(); }
  void PeindreCadre(TCanvas& C, TRect R, bool Enfonce);
  bool allowAllUp_ = false;
  int groupIndex_ = 0;
  bool down_ = false;
  bool default_ = false;
  bool transparent_ = true;
  std::array<TColor, 4> colors_{Couleurs::clBtnFace, Couleurs::clBtnFace, Couleurs::clBtnFace, Couleurs::clBtnFace};
  TButtonGlyph glyph_;
  TButtonState state_ = TButtonState::bsUp;
  bool mouseInControl_ = false;
  bool dragging_ = false;
};

// Sets Bouton's left to (Voisin's left, or the parent's client width without Voisin) - Bouton's
// width - Ecart.
void PlacerBoutonAGauche(TVokSpeedButton* Bouton, TVokSpeedButton* Voisin, int Ecart);
