#include "tests/support/CanvasCairo.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>

#include "core/values/ChaineUnicode.h"

namespace {

void Source(cairo_t* cr, TColor c) {
  cairo_set_source_rgb(cr, Couleurs::Rouge(c) / 255.0, Couleurs::Vert(c) / 255.0, Couleurs::Bleu(c) / 255.0);
}

}  // namespace

TCanvasCairo::TCanvasCairo(int Largeur, int Hauteur)
    : largeur_(Largeur), hauteur_(Hauteur),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, Largeur, Hauteur)), cr_(cairo_create(surface_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cr_, o);
  cairo_font_options_destroy(o);
  Remplir(0, 0, Largeur, Hauteur, Couleurs::clWhite);
}

TCanvasCairo::~TCanvasCairo() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void TCanvasCairo::Remplir(int x, int y, int w, int h, TColor Couleur) {
  if (w <= 0 || h <= 0) return;
  Source(cr_, Couleur);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_fill(cr_);
}

TColor TCanvasCairo::LirePixel(int X, int Y) {
  if (X < 0 || Y < 0 || X >= largeur_ || Y >= hauteur_) return Couleurs::clNone;
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
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, Chemin.c_str()) == CAIRO_STATUS_SUCCESS;
}

void TCanvasCairo::DoFillRect(const TRect& R) {
  if (Brush.Style == TBrushStyle::bsClear) return;
  Remplir(R.Left, R.Top, R.Width(), R.Height(), Brush.Color);
}

void TCanvasCairo::DoFrameRect(const TRect& R) {
  if (R.Vide()) return;
  Remplir(R.Left, R.Top, R.Width(), 1, Brush.Color);
  Remplir(R.Left, R.Bottom - 1, R.Width(), 1, Brush.Color);
  Remplir(R.Left, R.Top, 1, R.Height(), Brush.Color);
  Remplir(R.Right - 1, R.Top, 1, R.Height(), Brush.Color);
}

void TCanvasCairo::DoRectangle(const TRect& R) {
  if (R.Vide()) return;
  if (Brush.Style != TBrushStyle::bsClear) Remplir(R.Left, R.Top, R.Width(), R.Height(), Brush.Color);
  if (Pen.Style == TPenStyle::psClear) return;
  Remplir(R.Left, R.Top, R.Width(), 1, Pen.Color);
  Remplir(R.Left, R.Bottom - 1, R.Width(), 1, Pen.Color);
  Remplir(R.Left, R.Top, 1, R.Height(), Pen.Color);
  Remplir(R.Right - 1, R.Top, 1, R.Height(), Pen.Color);
}

void TCanvasCairo::DoLine(TPoint De, TPoint A) {
  if (Pen.Style == TPenStyle::psClear) return;
  // Bresenham, the end point excluded as the platform draws it.
  int x = De.X, y = De.Y;
  const int dx = std::abs(A.X - x), dy = -std::abs(A.Y - y);
  const int sx = x < A.X ? 1 : -1, sy = y < A.Y ? 1 : -1;
  int err = dx + dy;
  int n = 0;
  while (!(x == A.X && y == A.Y)) {
    if (Pen.Style == TPenStyle::psSolid || n % 2 == 0) Remplir(x, y, Pen.Width, Pen.Width, Pen.Color);
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

void TCanvasCairo::DoPixel(TPoint P, TColor Couleur) { Remplir(P.X, P.Y, 1, 1, Couleur); }

void TCanvasCairo::DoTextOut(TPoint P, const std::string& Texte) {
  if (Brush.Style != TBrushStyle::bsClear)
    Remplir(P.X, P.Y, MetriquesTexte::Largeur(Font, Texte), MetriquesTexte::Hauteur(Font), Brush.Color);
  cairo_select_font_face(cr_, "Liberation Sans", (Font.Style & fsItalic) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         Font.Gras() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr_, Font.Height);
  Source(cr_, Font.Color);
  cairo_move_to(cr_, P.X, P.Y + MetriquesTexte::Ascendante(Font));
  const std::string utf8 = ChaineUnicode::VersUTF8(Texte, 1252);
  cairo_show_text(cr_, utf8.c_str());
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
  // Nearest pixel of the picture for each pixel of R.
  const TColor transparente = Couleurs::CouleurRGB(Image.TransparentColor);
  for (int y = 0; y < R.Height(); ++y)
    for (int x = 0; x < R.Width(); ++x) {
      const TColor c = Image.Pixel(x * Image.Width / R.Width(), y * Image.Height / R.Height());
      if (Image.Transparent && c == transparente) continue;
      Remplir(R.Left + x, R.Top + y, 1, 1, c);
    }
}

void TCanvasCairo::DoClip(const TRect* R) {
  cairo_reset_clip(cr_);
  if (!R) return;
  cairo_rectangle(cr_, R->Left, R->Top, R->Width(), R->Height());
  cairo_clip(cr_);
}
