#include "platform/cairo/CanvasCairo.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/values/ChaineUnicode.h"

namespace {

// The face drawn when fontconfig knows none of a font's name: the one the fixed metrics measure.
constexpr const char* kFaceDeSecours = "Liberation Sans";

void Source(cairo_t* cr, TColor c) {
  cairo_set_source_rgb(cr, Couleurs::Rouge(c) / 255.0, Couleurs::Vert(c) / 255.0, Couleurs::Bleu(c) / 255.0);
}

// The path of an ellipse inscribed in (x, y, w, h), or of a rectangle with rounded corners of rx, ry.
void CheminArrondi(cairo_t* cr, double x, double y, double w, double h, double rx, double ry) {
  cairo_new_path(cr);
  rx = std::min(rx, w / 2);
  ry = std::min(ry, h / 2);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  const double coins[4][3] = {{x + w - rx, y + ry, -M_PI / 2}, {x + w - rx, y + h - ry, 0}, {x + rx, y + h - ry, M_PI / 2},
                              {x + rx, y + ry, M_PI}};
  for (const auto& c : coins) {
    cairo_save(cr);
    cairo_translate(cr, c[0], c[1]);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, c[2], c[2] + M_PI / 2);
    cairo_restore(cr);
  }
  cairo_close_path(cr);
}

// Points (1/72 inch) of Unites dots at PointsParPouce dots per inch.
double EnPoints(int Unites, int PointsParPouce) { return Unites * 72.0 / PointsParPouce; }

}  // namespace

TCanvasCairo::TCanvasCairo(cairo_surface_t* Surface, int Largeur, int Hauteur, double Echelle, bool Vectoriel)
    : largeur_(Largeur), hauteur_(Hauteur), surface_(Surface), cr_(cairo_create(Surface)), vectoriel_(Vectoriel) {
  cairo_scale(cr_, Echelle, Echelle);
  if (vectoriel_) return;
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr_, o);
  cairo_font_options_destroy(o);
}

TCanvasCairo::TCanvasCairo(int Largeur, int Hauteur)
    : TCanvasCairo(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(Largeur, 0), std::max(Hauteur, 0)),
                   std::max(Largeur, 0), std::max(Hauteur, 0), 1.0, false) {
  Remplir(0, 0, largeur_, hauteur_, Couleurs::clWhite);
}

std::unique_ptr<TCanvasCairo> TCanvasCairo::DocumentPDF(const std::string& Chemin, int Largeur, int Hauteur,
                                                        int PointsParPouce) {
  if (Largeur <= 0 || Hauteur <= 0 || PointsParPouce <= 0) return nullptr;
  cairo_surface_t* s = cairo_pdf_surface_create(Chemin.c_str(), EnPoints(Largeur, PointsParPouce),
                                                EnPoints(Hauteur, PointsParPouce));
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  return std::unique_ptr<TCanvasCairo>(new TCanvasCairo(s, Largeur, Hauteur, 72.0 / PointsParPouce, true));
}

TCanvasCairo::~TCanvasCairo() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
  for (auto& [cle, face] : faces_) cairo_font_face_destroy(face);
}

bool TCanvasCairo::PageSuivante(int Largeur, int Hauteur) {
  if (!vectoriel_ || termine_ || Largeur <= 0 || Hauteur <= 0) return false;
  cairo_show_page(cr_);
  double sx = 1, sy = 1;
  cairo_user_to_device_distance(cr_, &sx, &sy);
  cairo_pdf_surface_set_size(surface_, Largeur * sx, Hauteur * sy);
  largeur_ = Largeur;
  hauteur_ = Hauteur;
  LibererClip();
  return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

bool TCanvasCairo::Terminer() {
  if (!vectoriel_ || termine_) return true;
  termine_ = true;
  cairo_show_page(cr_);
  cairo_surface_finish(surface_);
  return cairo_status(cr_) == CAIRO_STATUS_SUCCESS && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
}

void TCanvasCairo::Remplir(double x, double y, double w, double h, TColor Couleur) {
  if (w <= 0 || h <= 0 || termine_) return;
  Source(cr_, Couleur);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_fill(cr_);
}

// A frame of Epaisseur units inside R.
void TCanvasCairo::Cadre(const TRect& R, double Epaisseur, TColor Couleur) {
  const double e = std::min({Epaisseur, R.Width() / 2.0, R.Height() / 2.0});
  Remplir(R.Left, R.Top, R.Width(), e, Couleur);
  Remplir(R.Left, R.Bottom - e, R.Width(), e, Couleur);
  Remplir(R.Left, R.Top + e, e, R.Height() - 2 * e, Couleur);
  Remplir(R.Right - e, R.Top + e, e, R.Height() - 2 * e, Couleur);
}

TColor TCanvasCairo::LirePixel(int X, int Y) {
  if (vectoriel_ || X < 0 || Y < 0 || X >= largeur_ || Y >= hauteur_) return Couleurs::clNone;
  cairo_surface_flush(surface_);
  const unsigned char* d = cairo_image_surface_get_data(surface_);
  const int pas = cairo_image_surface_get_stride(surface_);
  const uint32_t p = *reinterpret_cast<const uint32_t*>(d + Y * pas + X * 4);
  return Couleurs::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void TCanvasCairo::LibererCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

bool TCanvasCairo::SauverPNG(const std::string& Chemin) {
  if (vectoriel_) return false;
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, Chemin.c_str()) == CAIRO_STATUS_SUCCESS;
}

void TCanvasCairo::DoFillRect(const TRect& R) {
  if (Brush.Style == TBrushStyle::bsClear) return;
  Remplir(R.Left, R.Top, R.Width(), R.Height(), Brush.Color);
}

void TCanvasCairo::DoFrameRect(const TRect& R) {
  if (R.Vide()) return;
  Cadre(R, 1, Brush.Color);
}

void TCanvasCairo::DoRectangle(const TRect& R) {
  if (R.Vide()) return;
  if (Brush.Style != TBrushStyle::bsClear) Remplir(R.Left, R.Top, R.Width(), R.Height(), Brush.Color);
  if (Pen.Style == TPenStyle::psSolid) {
    Cadre(R, std::max(1, Pen.Width), Pen.Color);
  } else if (Pen.Style != TPenStyle::psClear) {
    // A dotted or dashed frame: its four sides as lines, each from its corner.
    const int w = std::max(1, Pen.Width);
    const TPoint coins[] = {{R.Left, R.Top}, {R.Right - w, R.Top}, {R.Right - w, R.Bottom - w}, {R.Left, R.Bottom - w}};
    for (int i = 0; i < 4; ++i) DoLine(coins[i], coins[(i + 1) % 4]);
  }
}

void TCanvasCairo::Arrondi(const TRect& R, double rx, double ry) {
  if (R.Vide() || termine_) return;
  if (Brush.Style != TBrushStyle::bsClear) {
    CheminArrondi(cr_, R.Left, R.Top, R.Width(), R.Height(), rx, ry);
    Source(cr_, Brush.Color);
    cairo_fill(cr_);
  }
  if (Pen.Style == TPenStyle::psClear) return;
  const double w = std::max(1, Pen.Width);
  CheminArrondi(cr_, R.Left + w / 2, R.Top + w / 2, R.Width() - w, R.Height() - w, rx - w / 2, ry - w / 2);
  Source(cr_, Pen.Color);
  cairo_set_line_width(cr_, w);
  cairo_stroke(cr_);
}

void TCanvasCairo::DoEllipse(const TRect& R) { Arrondi(R, R.Width() / 2.0, R.Height() / 2.0); }
void TCanvasCairo::DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) {
  Arrondi(R, LargeurCoin / 2.0, HauteurCoin / 2.0);
}

// On a picture: Bresenham, a square of the pen's width per pixel, the end point excluded as the
// platform draws it; a dotted pen draws every other step, a dashed one 18 steps of every 24.
void TCanvasCairo::LignePixels(TPoint De, TPoint A) {
  int x = De.X, y = De.Y;
  const int dx = std::abs(A.X - x), dy = -std::abs(A.Y - y);
  const int sx = x < A.X ? 1 : -1, sy = y < A.Y ? 1 : -1;
  int err = dx + dy;
  int n = 0;
  while (!(x == A.X && y == A.Y)) {
    const bool trace = Pen.Style == TPenStyle::psDot ? n % 2 == 0 : Pen.Style == TPenStyle::psDash ? n % 24 < 18 : true;
    if (trace) Remplir(x, y, Pen.Width, Pen.Width, Pen.Color);
    ++n;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

// On a document: one stroke of the pen's width through the units' centres, dotted in steps of the
// pen's width for a dotted pen, 18 on and 6 off for a dashed one.
void TCanvasCairo::LigneTracee(TPoint De, TPoint A) {
  if (De == A || termine_) return;
  const double w = std::max(1, Pen.Width);
  cairo_save(cr_);
  cairo_new_path(cr_);
  cairo_move_to(cr_, De.X + w / 2, De.Y + w / 2);
  cairo_line_to(cr_, A.X + w / 2, A.Y + w / 2);
  cairo_set_line_width(cr_, w);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  if (Pen.Style == TPenStyle::psDot) {
    const double pas[] = {w, w};
    cairo_set_dash(cr_, pas, 2, 0);
  } else if (Pen.Style == TPenStyle::psDash) {
    const double pas[] = {18 * w, 6 * w};
    cairo_set_dash(cr_, pas, 2, 0);
  }
  Source(cr_, Pen.Color);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}

void TCanvasCairo::DoLine(TPoint De, TPoint A) {
  if (Pen.Style == TPenStyle::psClear) return;
  if (vectoriel_)
    LigneTracee(De, A);
  else
    LignePixels(De, A);
}

void TCanvasCairo::DoPixel(TPoint P, TColor Couleur) { Remplir(P.X, P.Y, 1, 1, Couleur); }

cairo_font_face_t* TCanvasCairo::Face() {
  const uint8_t style = Font.Style & (fsBold | fsItalic);
  auto cle = std::make_pair(Font.Name, style);
  auto trouve = faces_.find(cle);
  if (trouve != faces_.end()) return trouve->second;
  const std::string nom = ChaineUnicode::VersUTF8(Font.Name, 1252);
  FcPattern* motif = FcPatternCreate();
  FcPatternAddString(motif, FC_FAMILY, reinterpret_cast<const FcChar8*>(nom.c_str()));
  FcPatternAddString(motif, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFaceDeSecours));
  FcPatternAddInteger(motif, FC_WEIGHT, (style & fsBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(motif, FC_SLANT, (style & fsItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, motif, FcMatchPattern);
  FcDefaultSubstitute(motif);
  FcResult resultat = FcResultNoMatch;
  FcPattern* choisi = FcFontMatch(nullptr, motif, &resultat);
  cairo_font_face_t* face =
      choisi != nullptr
          ? cairo_ft_font_face_create_for_pattern(choisi)
          : cairo_toy_font_face_create(kFaceDeSecours, (style & fsItalic) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                       (style & fsBold) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  if (choisi != nullptr) FcPatternDestroy(choisi);
  FcPatternDestroy(motif);
  faces_.emplace(std::move(cle), face);
  return face;
}

void TCanvasCairo::DoTextOut(TPoint P, const std::string& Texte) {
  if (termine_) return;
  if (Brush.Style != TBrushStyle::bsClear)
    Remplir(P.X, P.Y, MetriquesTexte::Largeur(Font, Texte), MetriquesTexte::Hauteur(Font), Brush.Color);
  if (Texte.empty() || Font.Height <= 0) return;
  cairo_set_font_face(cr_, Face());
  cairo_set_font_size(cr_, Font.Height);
  double ascendante = MetriquesTexte::Ascendante(Font);
  if (vectoriel_) {
    cairo_font_extents_t e;
    cairo_font_extents(cr_, &e);
    ascendante = e.ascent;
  }
  Source(cr_, Font.Color);
  cairo_move_to(cr_, P.X, P.Y + ascendante);
  const std::string utf8 = ChaineUnicode::VersUTF8(Texte, 1252);
  cairo_show_text(cr_, utf8.c_str());
  // Underlined and struck-out texts get their strokes of a fifteenth of the font's height.
  if (Font.Style & (fsUnderline | fsStrikeOut)) {
    const double largeur = MetriquesTexte::Largeur(Font, Texte);
    const double e = std::max(1.0, std::round(Font.Height / 15.0));
    if (Font.Style & fsUnderline) Remplir(P.X, P.Y + ascendante + e, largeur, e, Font.Color);
    if (Font.Style & fsStrikeOut) Remplir(P.X, P.Y + ascendante * 2 / 3, largeur, e, Font.Color);
  }
}

void TCanvasCairo::DoFocusRect(const TRect& R) {
  for (int x = R.Left; x < R.Right; x += 2) {
    Remplir(x, R.Top, 1, 1, Couleurs::clBlack);
    Remplir(x, R.Bottom - 1, 1, 1, Couleurs::clBlack);
  }
  for (int y = R.Top; y < R.Bottom; y += 2) {
    Remplir(R.Left, y, 1, 1, Couleurs::clBlack);
    Remplir(R.Right - 1, y, 1, 1, Couleurs::clBlack);
  }
}

void TCanvasCairo::DoDraw(const TRect& R, const TBitmap& Image) {
  if (R.Vide() || Image.Vide() || termine_) return;
  const TColor transparente = Couleurs::CouleurRGB(Image.TransparentColor);
  if (!vectoriel_) {
    // Nearest pixel of the picture for each pixel of R.
    for (int y = 0; y < R.Height(); ++y)
      for (int x = 0; x < R.Width(); ++x) {
        const TColor c = Image.Pixel(x * Image.Width / R.Width(), y * Image.Height / R.Height());
        if (Image.Transparent && c == transparente) continue;
        Remplir(R.Left + x, R.Top + y, 1, 1, c);
      }
    return;
  }
  // On a document the picture goes in once at its own size, stretched into R without smoothing.
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Image.Width, Image.Height);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return;
  }
  cairo_surface_flush(image);
  unsigned char* d = cairo_image_surface_get_data(image);
  const int pas = cairo_image_surface_get_stride(image);
  for (int y = 0; y < Image.Height; ++y)
    for (int x = 0; x < Image.Width; ++x) {
      const TColor c = Image.Pixel(x, y);
      const bool invisible = Image.Transparent && c == transparente;
      *reinterpret_cast<uint32_t*>(d + y * pas + x * 4) =
          invisible ? 0u
                    : 0xFF000000u | (static_cast<uint32_t>(c & 0xFF) << 16) | (static_cast<uint32_t>(c & 0xFF00)) |
                          (static_cast<uint32_t>(c >> 16) & 0xFF);
    }
  cairo_surface_mark_dirty(image);
  cairo_save(cr_);
  cairo_rectangle(cr_, R.Left, R.Top, R.Width(), R.Height());
  cairo_clip(cr_);
  cairo_translate(cr_, R.Left, R.Top);
  cairo_scale(cr_, static_cast<double>(R.Width()) / Image.Width, static_cast<double>(R.Height()) / Image.Height);
  cairo_set_source_surface(cr_, image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
  cairo_paint(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(image);
}

void TCanvasCairo::DoClip(const TRect* R) {
  cairo_reset_clip(cr_);
  if (!R) return;
  cairo_rectangle(cr_, R->Left, R->Top, R->Width(), R->Height());
  cairo_clip(cr_);
}
