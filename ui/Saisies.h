// The in-place entry field: a single-line edit opened over a rectangle of a window, which waits in
// a nested loop of the application until the user validates or abandons it. One entry is open at a
// time; the lower layers reach it through SaisieEnCours (installed when the unit starts).
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/ControleEdition.h"

// The key that ended an entry.
enum class TypeToucheDeValidation : uint8_t {
  tvAucune, tvRetour, tvTabulationAvant, tvTabulationArriere, tvFlecheHaut, tvFlecheBas, tvDebut, tvFin,
  tvPageHaut, tvPageBas, tvFlecheGauche, tvFlecheDroite
};

// Called on every key pressed in the field: AuDebut and AuFin tell whether the caret stands
// before the first or after the last character with nothing selected. True ends the entry as
// validated by a key, with ToucheFinale saying which.
using TRoutineTouche =
    std::function<bool(int Key, uint8_t Shift, bool AuDebut, TypeToucheDeValidation& ToucheFinale, bool AuFin)>;

// The end flags of the open entry.
enum : uint8_t {
  fsValidee = 0x1,
  fsAbandonnee = 0x2,
  fsExceptionAffichee = 0x4,
  fsParTouche = 0x8,
  fsEnQuittant = 0x10,
};

class TChampsSaisieSimple : public TEdit {
 public:
  explicit TChampsSaisieSimple(TComponent* Owner);
  ~TChampsSaisieSimple() override;

  TRoutineTouche Routine;
  bool Obligatoire = false;
  // 5: decimal digits only; any other value: free text.
  uint8_t TypeDonnee = 0;
  // Kept for the callers; the field does not use it.
  uint8_t Option = 0;
  TypeToucheDeValidation ToucheFinale = TypeToucheDeValidation::tvAucune;

  void KeyDown(int& Touche, uint8_t Shift) override;
  void KeyPress(char& Caractere) override;
  bool DialogKey(int Touche, uint8_t Shift) override;
  uint32_t CodesDialogue() const override { return TEdit::CodesDialogue() | DLGC_WANTTAB | DLGC_WANTALLKEYS; }
  void DoExit() override;

 private:
  bool VideObligatoire() const { return Obligatoire && Text().empty(); }
};

class TVokCustomList;

namespace Saisies {

// Opens an entry over the cell (Col, Row) of a list, borderless, in the list's font in black, and
// waits as EditerZone does.
bool EditerCellule(TVokCustomList* Liste, uint8_t TypeDonnee, int32_t Col, int32_t Row, uint16_t Longueur,
                   uint8_t Option, bool Obligatoire, TRoutineTouche Routine, TypeToucheDeValidation& ToucheFinale,
                   std::string& Texte);

// Opens an entry over Rect of Parent (the parent's font, Longueur held to 1..255 characters,
// Obligatoire nonzero: required) starting from Texte, and waits until it ends. True when it was
// validated: Texte then holds the entry. ToucheFinale is the key that ended it. When an entry is
// already open, that one is ended (validated) and no other opens: false.
bool EditerZone(TWinControl* Parent, uint8_t TypeDonnee, const TRect& Rect, uint16_t Longueur, uint8_t Option,
                uint8_t Obligatoire, bool AvecBordure, TRoutineTouche Routine, TypeToucheDeValidation& ToucheFinale,
                std::string& Texte);
// Ends the open entry, abandoned or validated as by leaving the field; whether one was open.
bool TerminerSaisie(bool Abandonner);
// Whether an entry field is open and visible.
bool EntreeEnCours();
// The end flags of the open (or last) entry.
uint8_t Drapeaux();
// The default key routine: Enter validates (tvRetour).
bool TouchePourValiderParDefaut(int Key, uint8_t Shift, bool AuDebut, TypeToucheDeValidation& ToucheFinale,
                                bool AuFin);

void Initialiser();
void Finaliser();

}  // namespace Saisies
