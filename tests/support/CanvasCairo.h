// A canvas that draws pixels, for the tests that look at what the windows paint: an image of the
// given size drawn with cairo without antialiasing (pixel-exact lines and fills), text in
// Liberation Sans at the font's pixel height, pictures copied pixel by pixel. The image can be
// read back pixel by pixel and saved as a PNG file. Main thread only.
#pragma once

#include <string>

#include "platform/gui/Graphiques.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

class TCanvasCairo : public TCanvas {
 public:
  // A white image of Largeur x Hauteur pixels.
  TCanvasCairo(int Largeur, int Hauteur);
  ~TCanvasCairo() override;
  TCanvasCairo(const TCanvasCairo&) = delete;
  TCanvasCairo& operator=(const TCanvasCairo&) = delete;

  // The colour (0x00BBGGRR) of a pixel in device coordinates; clNone outside the image.
  TColor LirePixel(int X, int Y);
  // Writes the image as a PNG file; false when it cannot.
  bool SauverPNG(const std::string& Chemin);
  int Largeur() const { return largeur_; }
  // Frees what cairo and the font library keep for the process (at the end of the tests, once no
  // canvas is left), so that the leak checker sees nothing of theirs.
  static void LibererCaches();
  int Hauteur() const { return hauteur_; }

 protected:
  void DoFillRect(const TRect& R) override;
  void DoFrameRect(const TRect& R) override;
  void DoRectangle(const TRect& R) override;
  void DoLine(TPoint De, TPoint A) override;
  void DoPixel(TPoint P, TColor Couleur) override;
  void DoTextOut(TPoint P, const std::string& Texte) override;
  void DoFocusRect(const TRect& R) override;
  void DoDraw(const TRect& R, const TBitmap& Image) override;
  void DoClip(const TRect* R) override;

 private:
  void Remplir(int x, int y, int w, int h, TColor Couleur);
  int largeur_, hauteur_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};
