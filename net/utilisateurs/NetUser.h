// The login dialog: asks a user code and a password and checks them against the user base, up to
// three attempts. The web service asks it before the window may be closed or its settings changed.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/ControleEdition.h"
#include "platform/gui/Fiches.h"

// The code edit and the password edit: Enter moves on (to the password, then to OK) instead of
// being typed; leaving the edit upper-cases its text.
class TChampLogin : public TEdit {
 public:
  using TEdit::TEdit;
  TWinControl* Suivant = nullptr;
  uint32_t CodesDialogue() const override { return TEdit::CodesDialogue() | DLGC_WANTALLKEYS; }
  void KeyDown(int& Touche, uint8_t Shift) override;
  void KeyPress(char& Caractere) override;
  void DoExit() override;
};

class TPasswordDlg : public TForm {
 public:
  explicit TPasswordDlg(TComponent* Owner);

  TLabel* Label2;
  TChampLogin* EditLogin;
  TLabel* Label1;
  TChampLogin* EditMotDePasse;
  TBitBtn* CancelBtn;
  TBitBtn* OKBtn;
  // The code is locked (shown, not editable).
  bool Verrouille = false;

  // Locks the code edit on Code: lowered, in the button-face colour, disabled.
  void VerrouillerCode(const std::string& Code);
  // The captions from the dictionary, the password emptied, the focus on the first edit that takes it.
  void FormShow(TComponent* Sender);
  // Both edits upper-cased.
  void OKBtnClick(TComponent* Sender);
};

namespace NetUser {

// The identifier of the accepted user; 0 when the dialog was cancelled or three attempts failed.
// Login pre-fills the code (the last accepted code when empty); Verrouiller locks it. Titre, or the
// program's connection caption, is the dialog's caption until it is shown.
uint32_t SaisirLogin(const std::string& Titre, const std::string& Login, bool Verrouiller);

// The last accepted user code ("SPR" at start-up).
std::string& DernierCodeAccepte();

}  // namespace NetUser
