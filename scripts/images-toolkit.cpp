// Draws the toolkit's pictures once into ui/images/ (checked in; the build embeds them in the
// program and packs them into the language module):
//   g++ -O1 -o /tmp/images scripts/images-toolkit.cpp $(pkg-config --cflags --libs cairo)
//   /tmp/images ui/images
#include <cairo.h>

#include <cmath>
#include <string>

namespace {

void Enregistrer(cairo_surface_t* s, const std::string& chemin) { cairo_surface_write_to_png(s, chemin.c_str()); }

// A symbol in a disc: the message pictures, 50 x 70.
void Symbole(const std::string& dossier, const char* nom, double r, double g, double b, const char* texte) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 50, 70);
  cairo_t* c = cairo_create(s);
  cairo_arc(c, 25, 35, 22, 0, 2 * M_PI);
  cairo_set_source_rgb(c, r, g, b);
  cairo_fill_preserve(c);
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_set_line_width(c, 3);
  cairo_stroke(c);
  cairo_select_font_face(c, "Liberation Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(c, 32);
  cairo_text_extents_t e;
  cairo_text_extents(c, texte, &e);
  cairo_move_to(c, 25 - e.width / 2 - e.x_bearing, 35 - e.height / 2 - e.y_bearing);
  cairo_show_text(c, texte);
  Enregistrer(s, dossier + "/" + nom + ".png");
  cairo_destroy(c);
  cairo_surface_destroy(s);
}

// An hourglass on a transparent ground, W x H.
void Sablier(const std::string& dossier, const char* nom, int w, int h) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* c = cairo_create(s);
  const double l = w * 0.3, m = w / 2.0, haut = h * 0.1, bas = h * 0.9;
  cairo_move_to(c, m - l, haut);
  cairo_line_to(c, m + l, haut);
  cairo_line_to(c, m + 1, h / 2.0);
  cairo_line_to(c, m + l, bas);
  cairo_line_to(c, m - l, bas);
  cairo_line_to(c, m - 1, h / 2.0);
  cairo_close_path(c);
  cairo_set_source_rgb(c, 1, 0.85, 0.3);
  cairo_fill_preserve(c);
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_set_line_width(c, 2);
  cairo_stroke(c);
  Enregistrer(s, dossier + "/" + nom + ".png");
  cairo_destroy(c);
  cairo_surface_destroy(s);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dossier = argc > 1 ? argv[1] : "ui/images";
  Symbole(dossier, "IMAGEINFORMATION", 0.1, 0.4, 0.8, "i");
  Symbole(dossier, "IMAGECONFIRMATION", 0.1, 0.6, 0.2, "?");
  Symbole(dossier, "IMAGEAIDE", 0.8, 0.5, 0.1, "!");
  Sablier(dossier, "PATIENCE2", 38, 32);
  Sablier(dossier, "PATIENTER", 96, 128);
}
