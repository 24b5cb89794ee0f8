#include "platform/gui/DialoguesSaisie.h"

namespace {

DialoguesSaisie::TFournisseurPolice& Police() {
  static DialoguesSaisie::TFournisseurPolice f;
  return f;
}

DialoguesSaisie::TFournisseurSaisie& Saisie() {
  static DialoguesSaisie::TFournisseurSaisie f;
  return f;
}

}  // namespace

void DialoguesSaisie::DefinirFournisseurPolice(TFournisseurPolice Fournisseur) { Police() = std::move(Fournisseur); }
void DialoguesSaisie::DefinirFournisseurSaisie(TFournisseurSaisie Fournisseur) { Saisie() = std::move(Fournisseur); }

bool TFontDialog::Execute() {
  if (!Police()) return false;
  TFont choix = Font;
  if (!Police()(choix)) return false;
  Font = choix;
  return true;
}

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) {
  if (!Saisie()) return false;
  std::string saisi = Value;
  if (!Saisie()(Caption, Prompt, saisi)) return false;
  Value = std::move(saisi);
  return true;
}

std::string InputBox(const std::string& Caption, const std::string& Prompt, const std::string& Default) {
  std::string valeur = Default;
  return InputQuery(Caption, Prompt, valeur) ? valeur : Default;
}
