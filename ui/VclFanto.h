// The ghost: a small borderless window, always on top, that follows the mouse while a list row is
// dragged, or shows a hint text below a list header cell as a balloon that sizes itself to its
// text. One ghost exists at a time, created when needed and freed when hidden. Also the three text
// drawing helpers of the lists and other controls. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/Fiches.h"

class TFantome : public TForm {
 public:
  static constexpr int kLargeur = 132;
  static constexpr int kHauteur = 23;

  // No border, no border icons, on top, 132 x 23 client pixels, placed by code, not scaled.
  explicit TFantome(TComponent* Owner);
  // The unit forgets a ghost freed by its owner.
  ~TFantome() override;

  // A hint balloon: the window takes the size of its text and is framed in the font's colour.
  bool Bulle() const { return bulle_; }
  void SetBulle(bool Valeur);
  // No frame around a plain (not balloon) text.
  bool SansCadre = false;

  // A balloon takes the size of its text, word-wrapped in its client width (text width + 6 by
  // height + 4), keeping its position; nothing while its caption is empty.
  void AjusterBulle();
  void Paint(TCanvas& C) override;

 protected:
  void TextChanged() override;
  void FontChanged() override;

 private:
  // The caption's extent, word-wrapped and centred vertically in the client width.
  TRect MesureBulle(TCanvas& C) const;
  bool bulle_ = false;
};

namespace VclFanto {

// The ghost, nil when none is shown.
TFantome* Fantome();
// The ghost, created (owned by the application) when none exists.
TFantome& CreerFantome();
// Places the ghost 3 pixels right of and below a screen point, held 3 pixels inside the desktop;
// with DansEcran, pushed back inside the desktop with 3-pixel margins on every side. Nothing without
// a ghost.
void PlacerFantome(TPoint Point, bool DansEcran);
// Places the ghost at Point, yellow with black text while Souris lies in (0, 0, Largeur, Hauteur),
// red with white text outside.
void PlacerFantomeLigne(TPoint Point, TPoint Souris, int Largeur, int Hauteur);
// Hides, frees and forgets the ghost; nothing without one.
void CacherFantome();

// Fills R with the brush and draws Texte word-wrapped and centred both ways, transparently; an
// inactive text is embossed (button highlight one pixel down and right, then button shadow).
void DessinerTexteCentre(TCanvas& Canvas, const TRect& R, const std::string& Texte, bool Actif);
// Fills R, narrows it by MargeX left and right and by MargeY at the top, and draws with DessinerTexte.
void DessinerTexteAvecMarges(TCanvas& Canvas, const TRect& R, int MargeX, int MargeY, const std::string& Texte,
                             uint32_t Format);
// Draws Texte transparently with the text-drawing flags of Format, never with accelerator prefixes,
// on one line unless word-breaking is asked. A centred text wider than R's width - 3 is drawn
// left-aligned in R narrowed by 3 pixels on each side.
void DessinerTexte(TCanvas& Canvas, const TRect& R, const std::string& Texte, uint32_t Format);

}  // namespace VclFanto
