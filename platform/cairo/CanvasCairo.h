// The canvas that really draws, over cairo: on a picture in memory (read back pixel by pixel, saved
// as a PNG file) or on the pages of a PDF document. The tests that look at what the windows paint use
// the picture; the PDF printer draws its pages on the document.
//
// Coordinates are device units: pixels of the picture, or dots of the document at the resolution it
// was opened with (a document of 600 dots per inch draws one inch as 600 units). The picture is drawn
// without antialiasing, so that lines and fills are pixel-exact; the document holds vector shapes and
// text with its fonts embedded.
//
// Faces are looked up through fontconfig ("Arial" resolves to Liberation Sans, "Times New Roman" to
// Liberation Serif); a face that fontconfig does not know is drawn in Liberation Sans, the face of the
// fixed text metrics that lay texts out. A text's top lies at the point given, its baseline one ascent
// below it (the fixed metrics' ascent in whole pixels on a picture, the face's own on a document).
// Main thread only.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/gui/Graphiques.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;
typedef struct _cairo_font_face cairo_font_face_t;

class TCanvasCairo : public TCanvas {
 public:
  // A white picture of Largeur x Hauteur pixels.
  TCanvasCairo(int Largeur, int Hauteur);
  // A PDF document written to Chemin, its first page Largeur x Hauteur dots at PointsParPouce dots per
  // inch; none when the file cannot be created. The file is complete once Terminer is called.
  static std::unique_ptr<TCanvasCairo> DocumentPDF(const std::string& Chemin, int Largeur, int Hauteur,
                                                   int PointsParPouce);
  ~TCanvasCairo() override;
  TCanvasCairo(const TCanvasCairo&) = delete;
  TCanvasCairo& operator=(const TCanvasCairo&) = delete;

  int Largeur() const { return largeur_; }
  int Hauteur() const { return hauteur_; }

  // Picture: the colour (0x00BBGGRR) of a pixel in device coordinates; clNone outside the picture or
  // on a document.
  TColor LirePixel(int X, int Y);
  // Picture: writes it as a PNG file; false when it cannot (or on a document).
  bool SauverPNG(const std::string& Chemin);

  // Document: ends the page drawn and starts the next one, of Largeur x Hauteur dots; the clip is
  // removed. False on a picture or once the document is finished.
  bool PageSuivante(int Largeur, int Hauteur);
  // Document: writes what is left and closes the file; true when every page reached the file. Drawing
  // afterwards does nothing. On a picture it does nothing and answers true.
  bool Terminer();

  // Frees what cairo and the font library keep for the process (at the end of the tests, once no
  // canvas is left), so that the leak checker sees nothing of theirs.
  static void LibererCaches();

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
  TCanvasCairo(cairo_surface_t* Surface, int Largeur, int Hauteur, double Echelle, bool Vectoriel);
  void Remplir(double x, double y, double w, double h, TColor Couleur);
  void Cadre(const TRect& R, double Epaisseur, TColor Couleur);
  void Arrondi(const TRect& R, double rx, double ry);
  void LigneTracee(TPoint De, TPoint A);
  void LignePixels(TPoint De, TPoint A);
  cairo_font_face_t* Face();

  int largeur_, hauteur_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  // A document draws vector shapes; a picture draws them pixel by pixel.
  bool vectoriel_;
  bool termine_ = false;
  // The faces already looked up, by name and style.
  std::map<std::pair<std::string, uint8_t>, cairo_font_face_t*> faces_;
};
