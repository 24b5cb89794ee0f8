#include "platform/gui/DialoguesImpression.h"

namespace DialoguesImpression {

namespace {
IFournisseurDialogueImpression* gFournisseur = nullptr;
}  // namespace

void DefinirFournisseur(IFournisseurDialogueImpression* Fournisseur) { gFournisseur = Fournisseur; }
IFournisseurDialogueImpression* Fournisseur() { return gFournisseur; }

bool Executer(TDialogueImpression& Dialogue) {
  if (gFournisseur == nullptr) return false;
  // The provider works on a copy, so that a cancelled dialog leaves the caller's record untouched.
  TDialogueImpression copie = Dialogue;
  if (!gFournisseur->Executer(copie)) return false;
  Dialogue = std::move(copie);
  return true;
}

}  // namespace DialoguesImpression
