// The platform's single-line edit control: a text of at most MaxLength characters (0: no limit),
// a caret and a selection. Characters typed replace the selection; Backspace (character 8) and
// Delete remove the selection or the character before or after the caret; Left, Right, Home and
// End move the caret, and extend the selection with Shift. Texts are Windows-1252, one byte a
// character. Main thread only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gui/ControlesStandard.h"

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* Owner);

  const std::string& Text() const { return Caption(); }
  // Cut to MaxLength; the caret goes after the last character, no selection.
  void SetText(std::string Valeur);
  int MaxLength() const { return maxLength_; }
  // A shorter limit cuts the text.
  void SetMaxLength(int Valeur);

  // The selection: its start (the caret when nothing is selected) and its length.
  int SelStart() const { return std::min(caret_, ancre_); }
  int SelLength() const { return std::abs(caret_ - ancre_); }
  // The caret's position (0 .. length of the text).
  int Caret() const { return caret_; }
  // Moves the caret there (held inside the text) and empties the selection.
  void SetSelStart(int Valeur);
  // Selects Valeur characters from SelStart (held inside the text).
  void SetSelLength(int Valeur);
  void SelectAll();
  std::string SelText() const { return Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength())); }
  // Puts Texte in place of the selection, as typing would (within MaxLength), the caret after it.
  void SetSelText(const std::string& Texte) { Remplacer(Texte); }

  TBorderStyle BorderStyle = TBorderStyle::bsSingle;
  // When set, each character is shown as this one (a password).
  char PasswordChar = 0;
  // The text area's inset from the left and right edges (inside the border), in pixels.
  int Marge = 1;
  TNotifyEvent OnChange;

  void KeyDown(int& Touche, uint8_t Shift) override;
  void KeyPress(char& Caractere) override;
  uint32_t CodesDialogue() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void Paint(TCanvas& C) override;

 private:
  // Puts Texte in place of the selection (cut to what MaxLength leaves room for).
  void Remplacer(const std::string& Texte);
  void Changer(std::string Valeur);
  int Longueur() const { return static_cast<int>(Text().size()); }
  int maxLength_ = 0;
  int caret_ = 0;
  int ancre_ = 0;
};
