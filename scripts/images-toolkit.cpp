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

// A creation-row picture on a silver ground (silver is its transparent colour): a black
// triangle pointing right (Sens 1) or left (-1), 8 x 16; or a plus, 11 x 11 (Sens 0).
void Creation(const std::string& dossier, const char* nom, int Sens) {
  const int w = Sens == 0 ? 11 : 8, h = Sens == 0 ? 11 : 16;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* c = cairo_create(s);
  cairo_set_antialias(c, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(c, 0xC0 / 255.0, 0xC0 / 255.0, 0xC0 / 255.0);
  cairo_paint(c);
  cairo_set_source_rgb(c, 0, 0, 0);
  if (Sens == 0) {
    cairo_rectangle(c, 4, 1, 3, 9);
    cairo_rectangle(c, 1, 4, 9, 3);
  } else {
    const double pointe = Sens > 0 ? 6 : 2, base = Sens > 0 ? 2 : 6;
    cairo_move_to(c, base, 4);
    cairo_line_to(c, pointe, 8);
    cairo_line_to(c, base, 12);
    cairo_close_path(c);
  }
  cairo_fill(c);
  Enregistrer(s, dossier + "/" + nom + ".png");
  cairo_destroy(c);
  cairo_surface_destroy(s);
}

// A sort cursor on a silver ground (its transparent colour): a navy arrow pointing down with the
// cursor's number in white, 15 x 18.
void CurseurTri(const std::string& dossier, const char* nom, const char* numero) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 15, 18);
  cairo_t* c = cairo_create(s);
  cairo_set_antialias(c, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(c, 0xC0 / 255.0, 0xC0 / 255.0, 0xC0 / 255.0);
  cairo_paint(c);
  cairo_set_source_rgb(c, 0, 0, 0.5);
  cairo_rectangle(c, 2, 0, 11, 11);
  cairo_fill(c);
  cairo_move_to(c, 0, 11);
  cairo_line_to(c, 15, 11);
  cairo_line_to(c, 7.5, 18);
  cairo_close_path(c);
  cairo_fill(c);
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_select_font_face(c, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(c, 10);
  cairo_move_to(c, 5, 9);
  cairo_show_text(c, numero);
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
  Creation(dossier, "CREATIONGAUCHE", 1);
  Creation(dossier, "CREATIONDROITE", -1);
  Creation(dossier, "CREATIONPLUS", 0);
  CurseurTri(dossier, "CURSEURTRI1", "1");
  CurseurTri(dossier, "CURSEURTRI2", "2");
}
