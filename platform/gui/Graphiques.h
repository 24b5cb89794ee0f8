// The drawing model of the windowing layer: colours (the platform's 32-bit colour values, red in the
// low byte, with the system colours as 0x80000000 + index), points and rectangles, fonts, pens and
// brushes, and the canvas every control paints on.
//
// Nothing is painted in production: the service has no screen. A canvas is an interface with two
// implementations, the recording canvas here (each call written as one text line with the pen,
// brush and font state it used, the canonical dump that tests compare) and a pixel canvas that
// tests build over an image library. Coordinates given to a canvas are relative to its origin
// (the control being painted); the canvas translates them to device coordinates before recording
// or drawing, so a dump of a whole form reads in form client coordinates.
//
// Text metrics are fixed and deterministic: every face maps to one checked-in table of Liberation
// Sans advances (regular and bold), so layouts and tests never depend on the fonts of the machine.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using TColor = int32_t;

namespace Couleurs {

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWhite = 0xFFFFFF;
// "No colour": a control whose colour is clNone paints nothing.
inline constexpr TColor clNone = 0x1FFFFFFF;

// System colours: resolved through CouleurRGB.
inline constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

// The RGB value (0x00BBGGRR) of a colour: system colours from the fixed table of this platform
// (button face 0xF0F0F0, highlight white, shadow 0xA0A0A0, ...), clNone as white, others as given
// without their high byte.
TColor CouleurRGB(TColor Couleur);
inline int Rouge(TColor c) { return CouleurRGB(c) & 0xFF; }
inline int Vert(TColor c) { return (CouleurRGB(c) >> 8) & 0xFF; }
inline int Bleu(TColor c) { return (CouleurRGB(c) >> 16) & 0xFF; }
inline TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

}  // namespace Couleurs

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Vide() const { return Right <= Left || Bottom <= Top; }
  bool Contient(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  TRect Decale(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  TRect Reduit(int dx, int dy) const { return {Left + dx, Top + dy, Right - dx, Bottom - dy}; }
  bool operator==(const TRect&) const = default;
};
inline TRect Bornes(int Left, int Top, int Width, int Height) { return {Left, Top, Left + Width, Top + Height}; }
TRect Intersection(const TRect& a, const TRect& b);

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font: its face name, its character height in pixels (the em size), its style bits and colour.
// Size in points converts at 96 pixels per inch.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = 11;
  uint8_t Style = 0;
  TColor Color = Couleurs::clWindowText;

  int Size() const { return (Height * 72 + 48) / 96; }
  void SetSize(int Points) { Height = (Points * 96 + 36) / 72; }
  bool Gras() const { return Style & fsBold; }
  bool operator==(const TFont&) const = default;
};

// Dotted pens draw every other pixel; dashed ones 18 pixels on and 6 off.
enum class TPenStyle : uint8_t { psSolid, psDot, psClear, psDash };
struct TPen {
  TColor Color = Couleurs::clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
};

enum class TBrushStyle : uint8_t { bsSolid, bsClear };
struct TBrush {
  TColor Color = Couleurs::clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
};

// Fixed text metrics (Liberation Sans; bold faces use the bold table, every other face the same).
namespace MetriquesTexte {
// Advance of one 1252 character in pixels, rounded per character as the platform does.
int Avance(const TFont& Police, unsigned char c);
int Largeur(const TFont& Police, const std::string& Texte);
int Ascendante(const TFont& Police);
int Descendante(const TFont& Police);
// Height of a line: ascent + descent.
int Hauteur(const TFont& Police);
}  // namespace MetriquesTexte

// A picture: width, height and pixels in rows (0x00BBGGRR colour values). An empty bitmap (0 x 0)
// draws nothing. With Transparent, pixels of TransparentColor are not drawn.
struct TBitmap {
  int Width = 0, Height = 0;
  std::vector<TColor> Pixels;
  bool Transparent = false;
  TColor TransparentColor = Couleurs::clOlive;

  bool Vide() const { return Width <= 0 || Height <= 0; }
  void Redimensionner(int w, int h, TColor Fond = Couleurs::clWhite);
  TColor Pixel(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  void DefinirPixel(int x, int y, TColor c) { Pixels[static_cast<size_t>(y) * Width + x] = c; }
  void Liberer() { *this = TBitmap(); }
};

// The platform's text-drawing flags.
namespace FormatTexte {
inline constexpr uint32_t DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                          DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
                          DT_NOCLIP = 0x100, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800;
}

// The canvas. Font, Pen and Brush are the current state; every drawing call uses them as they are
// when it is made. Coordinates are relative to Origine; Clip (device coordinates) limits drawing,
// and a recording canvas writes it as a call of its own.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TFont Font;
  TPen Pen;
  TBrush Brush;

  // Drawing, in coordinates relative to the origin.
  void FillRect(const TRect& R);                     // R in the brush's colour (nothing with a clear brush)
  void FrameRect(const TRect& R);                    // one-pixel frame inside R in the brush's colour
  void Rectangle(const TRect& R);                    // pen frame inside R, brush fill inside the frame
  void Ellipse(const TRect& R);                      // the ellipse inscribed in R, pen outline, brush fill
  // A rectangle with corners rounded by ellipses of LargeurCoin x HauteurCoin.
  void RoundRect(const TRect& R, int LargeurCoin, int HauteurCoin);
  void MoveTo(int X, int Y) { PenPos = {X, Y}; }
  void LineTo(int X, int Y);                         // pen line, the end point excluded
  void SetPixel(int X, int Y, TColor Couleur);
  void TextOut(int X, int Y, const std::string& Texte);  // top-left at (X, Y); background unless the brush is clear
  void DrawFocusRect(const TRect& R);
  void Draw(int X, int Y, const TBitmap& Image);
  void StretchDraw(const TRect& R, const TBitmap& Image);
  int TextWidth(const std::string& Texte) const { return MetriquesTexte::Largeur(Font, Texte); }
  int TextHeight(const std::string&) const { return MetriquesTexte::Hauteur(Font); }

  // The platform's DrawText: lays Texte out in R by Format (FormatTexte flags: alignment, single
  // line, word break, ampersands as accelerator marks unless DT_NOPREFIX, CR LF as line breaks) and
  // draws each line with TextOut; with DT_CALCRECT nothing is drawn and R becomes the text's
  // extent (its right and bottom move). Returns the height of the text.
  int DrawText(const std::string& Texte, TRect& R, uint32_t Format);

  TPoint PenPos;
  // Where (0, 0) of the caller lies in device coordinates.
  TPoint Origine;
  // Limits drawing to R (relative to the origin) until the clip is set again; Clip() answers it in
  // device coordinates. LibererClip removes it.
  void DefinirClip(const TRect& R);
  void LibererClip();
  const TRect* Clip() const { return clipActif_ ? &clip_ : nullptr; }

 protected:
  // Device-coordinate primitives of an implementation.
  virtual void DoFillRect(const TRect& R) = 0;
  virtual void DoFrameRect(const TRect& R) = 0;
  virtual void DoRectangle(const TRect& R) = 0;
  virtual void DoEllipse(const TRect& R) = 0;
  virtual void DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) = 0;
  virtual void DoLine(TPoint De, TPoint A) = 0;
  virtual void DoPixel(TPoint P, TColor Couleur) = 0;
  virtual void DoTextOut(TPoint P, const std::string& Texte) = 0;
  virtual void DoFocusRect(const TRect& R) = 0;
  virtual void DoDraw(const TRect& R, const TBitmap& Image) = 0;
  virtual void DoClip(const TRect* R) = 0;

 private:
  TRect Vers(const TRect& R) const { return R.Decale(Origine.X, Origine.Y); }
  TRect clip_;
  bool clipActif_ = false;
};

// Saves a canvas's origin, clip, font, pen and brush and restores them when it goes.
class TSauvegardeCanvas {
 public:
  explicit TSauvegardeCanvas(TCanvas& C);
  ~TSauvegardeCanvas();
  TSauvegardeCanvas(const TSauvegardeCanvas&) = delete;
  TSauvegardeCanvas& operator=(const TSauvegardeCanvas&) = delete;

 private:
  TCanvas& c_;
  TPoint origine_;
  TRect clip_;
  bool clipActif_;
  TFont font_;
  TPen pen_;
  TBrush brush_;
};

// The recording canvas: each drawing call becomes one line of its dump, in device coordinates,
// followed by the state it used:
//   FillRect 0,0,100,20 brush=#RRGGBB            (brush-only calls: FillRect, FrameRect)
//   Line 0,0-10,0 pen=#RRGGBB/1                  (pen-only calls: Line, FocusRect; "/dot" or "/dash"
//                                                after the width for those styles)
//   Rectangle 0,0,10,10 pen=#RRGGBB/1 brush=#RRGGBB   (Ellipse alike; RoundRect adds " corner=W,H")
//   Text 4,2 "caption" font=Arial/12/bold/#RRGGBB brush=#RRGGBB|clear
//   Pixel 3,4 #RRGGBB    Draw 0,0,50,70 picture=WxH    Clip 0,0,10,10 | Clip none
// Colours are written as RGB (red first, system colours resolved). A clear brush writes "clear",
// a clear pen "none" (and the call is recorded all the same).
class TCanvasEnregistreur : public TCanvas {
 public:
  const std::vector<std::string>& Appels() const { return appels_; }
  // The calls joined by line feeds, each line ended by one.
  std::string Dump() const;
  void Effacer() { appels_.clear(); }

 protected:
  void DoFillRect(const TRect& R) override;
  void DoFrameRect(const TRect& R) override;
  void DoRectangle(const TRect& R) override;
  void DoEllipse(const TRect& R) override;
  void DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) override;
  void DoLine(TPoint De, TPoint A) override;
  void DoPixel(TPoint P, TColor Couleur) override;
  void DoTextOut(TPoint P, const std::string& Texte) override;
  void DoFocusRect(const TRect& R) override;
  void DoDraw(const TRect& R, const TBitmap& Image) override;
  void DoClip(const TRect* R) override;

 private:
  std::vector<std::string> appels_;
};

// "#RRGGBB" of a colour (system colours resolved).
std::string TexteCouleur(TColor Couleur);
