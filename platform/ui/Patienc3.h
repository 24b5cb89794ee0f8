// The count-down wait window of the long operations of the timetable base (recomputations,
// reclassing of courses, deletions in bulk): a picture, the operation's text and the number of
// items that remain. The caller creates it with the translated text, sets the counter to the number
// of items and the step (1 in most operations), shows and updates it only when there is more than
// one item, decrements it once per item processed, and hides and frees it at the end, also on
// failure. The figure on the screen is repainted only when the counter reaches a multiple of the
// step, and always at 0. Not modal: while shown it disables the other windows. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/ui/FenetreAttente.h"

class TPatienceCompteur : public TFenetreAttente {
 public:
  TPatienceCompteur(TComponent* Proprietaire, const std::string& Texte);

  // Stores the value, writes it into Compteur and repaints the label at once.
  void InitialiserCompteur(uint32_t Valeur);
  // Stores the step unless it is 0.
  void DefinirPas(uint32_t Pas);
  // Above 0: 1 less, written into Compteur, the label repainted when the new value is a multiple
  // of the step. At 0 nothing happens.
  void Decrementer();
  uint32_t Valeur() const { return compteur_; }
  uint32_t Pas() const { return pas_; }

  TPanel* Panel1;
  TImage* Image1;
  TLabel* Texte;
  TLabel* Compteur;

 protected:
  std::string TexteJournal() const override { return Texte->Caption(); }

 private:
  uint32_t compteur_ = 0;
  uint32_t pas_ = 10;
};

namespace Patienc3 {
// Unit start: loads the shared "PATIENCE2" bitmap; unit end: frees it.
void Initialiser();
void Finaliser();
const TBitmap& Image();
}  // namespace Patienc3
