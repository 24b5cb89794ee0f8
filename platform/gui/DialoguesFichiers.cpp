#include "platform/gui/DialoguesFichiers.h"

namespace DialoguesFichiers {

namespace {
IFournisseurDialoguesFichiers* gFournisseur = nullptr;

// Whether the last path component has an extension.
bool AUneExtension(const std::string& Nom) {
  const size_t barre = Nom.find_last_of("/\\");
  const size_t point = Nom.find_last_of('.');
  return point != std::string::npos && (barre == std::string::npos || point > barre) && point + 1 < Nom.size();
}
}  // namespace

void DefinirFournisseur(IFournisseurDialoguesFichiers* Fournisseur) { gFournisseur = Fournisseur; }
IFournisseurDialoguesFichiers* Fournisseur() { return gFournisseur; }

bool Executer(TDialogueFichier& Dialogue) {
  if (gFournisseur == nullptr) return false;
  TDialogueFichier copie = Dialogue;
  if (!gFournisseur->Executer(copie)) return false;
  if (!copie.FileName.empty() && !copie.DefaultExt.empty() && !AUneExtension(copie.FileName))
    copie.FileName += "." + copie.DefaultExt;
  Dialogue = std::move(copie);
  return true;
}

}  // namespace DialoguesFichiers

bool TOpenDialog::Execute() {
  TDialogueFichier d;
  d.Type = TTypeDialogueFichier::Ouvrir;
  d.Title = Title;
  d.Filter = Filter;
  d.FilterIndex = FilterIndex;
  d.DefaultExt = DefaultExt;
  d.FileName = FileName;
  d.FileMustExist = FileMustExist;
  if (!DialoguesFichiers::Executer(d)) return false;
  FileName = d.FileName;
  FilterIndex = d.FilterIndex;
  return true;
}

bool TSaveDialog::Execute() {
  TDialogueFichier d;
  d.Type = TTypeDialogueFichier::Enregistrer;
  d.Title = Title;
  d.Filter = Filter;
  d.FilterIndex = FilterIndex;
  d.DefaultExt = DefaultExt;
  d.FileName = FileName;
  d.OverwritePrompt = OverwritePrompt;
  if (!DialoguesFichiers::Executer(d)) return false;
  FileName = d.FileName;
  FilterIndex = d.FilterIndex;
  return true;
}
