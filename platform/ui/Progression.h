// The progress window shown while a stream is received from the server: one progress bar whose
// window caption is the text. At most one exists. Not modal: while shown it disables the other
// windows. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/ui/FenetreAttente.h"

class TFicheProgression : public TFenetreAttente {
 public:
  explicit TFicheProgression(TComponent* Proprietaire);
  // A window freed with its owner is forgotten.
  ~TFicheProgression() override;
  TProgressBar* BarreDeProgression;
  // Widens the window to the caption's width + 16 when narrower.
  void Elargir(const std::string& Texte);

 protected:
  void VisibleChanged() override;
};

namespace Progression {

// Creates, shows and updates the window owned by Proprietaire with Texte as caption, unless it
// exists.
void AfficherProgression(TForm* Proprietaire, const std::string& Texte);
// Without a window: nothing unless Creer, which creates it on the application's main form. A
// non-empty Texte that differs becomes the caption (widening a visible window). The bar gets
// Maximum, and the smaller of Position and Maximum.
void MettreAJourProgression(const std::string& Texte, int32_t Position, int32_t Maximum, bool Creer);
// Hides, frees and forgets the window.
void MasquerProgression();
// The window, or nil.
TFicheProgression* Fiche();

}  // namespace Progression
