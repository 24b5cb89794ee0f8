#include "platform/ui/FenetreAttente.h"

#include "platform/ui/VclDialogue.h"

TFenetreAttente::TFenetreAttente(TComponent* Owner) : TForm(Owner) {}

TFenetreAttente::~TFenetreAttente() {
  // A window freed while shown gives the others back.
  EnableTaskWindows(desactivees_);
}

void TFenetreAttente::VisibleChanged() {
  if (Visible()) {
    desactivees_ = DisableTaskWindows(this);
    const std::string ligne = TexteJournal();
    if (!ligne.empty()) VclDialogue::Ecrire(ligne);
  } else {
    const TListeFenetres l = std::move(desactivees_);
    desactivees_.clear();
    EnableTaskWindows(l);
  }
  TForm::VisibleChanged();
}
