// The system print dialog: the user picks the printer, the pages, the copies and the printer's own
// settings. What the dialog is given and what it answers travel in one record; the dialog itself is
// a provider that the program (or a test) installs. Without a provider nobody is in front of the
// screen and the dialog is cancelled. The report library's print dialog and the toolkit's printer
// object both go through it. Main thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/gui/Spouleur.h"

namespace DialoguesImpression {

// Print ranges.
inline constexpr uint8_t kToutesLesPages = 0;
inline constexpr uint8_t kSelection = 1;
inline constexpr uint8_t kNumerosDePage = 2;

}  // namespace DialoguesImpression

// The dialog's record: filled by the caller, changed by the provider when the user accepts.
struct TDialogueImpression {
  // The chosen printer: its names and a copy of its device mode (none when its driver gives none).
  std::string Peripherique;
  std::string Pilote;
  std::string Port;
  std::optional<TDeviceMode> Mode;
  // The pages the user may pick from and the range picked (FromPage..ToPage with kNumerosDePage).
  int32_t MinPage = 0;
  int32_t MaxPage = 0;
  int32_t FromPage = 0;
  int32_t ToPage = 0;
  uint8_t Etendue = DialoguesImpression::kToutesLesPages;
  int32_t Copies = 1;
  bool Collate = false;
  bool PrintToFile = false;
  // What the dialog offers: the page-number and selection choices, print to file (shown, or shown
  // disabled), the warning when no printer is installed, the help button.
  bool PageNumbers = false;
  bool Selection = false;
  bool OffrirFichier = false;
  bool FichierDesactive = false;
  bool Avertissement = false;
  bool Aide = false;
};

// Who answers the dialog: true when the user accepted (the record then holds the choices), false
// when cancelled (the record is not looked at).
class IFournisseurDialogueImpression {
 public:
  virtual ~IFournisseurDialogueImpression() = default;
  virtual bool Executer(TDialogueImpression& Dialogue) = 0;
};

namespace DialoguesImpression {

// Nil removes the provider.
void DefinirFournisseur(IFournisseurDialogueImpression* Fournisseur);
IFournisseurDialogueImpression* Fournisseur();
// Runs the dialog: the provider's answer, false without one. The record is changed only when the
// answer is true.
bool Executer(TDialogueImpression& Dialogue);

}  // namespace DialoguesImpression
