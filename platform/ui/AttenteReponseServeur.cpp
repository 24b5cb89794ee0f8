#include "platform/ui/AttenteReponseServeur.h"

namespace FenetresTaches {

namespace {
int desactivations = 0;
}

TDesactivation::TDesactivation() : desactivees_(DisableTaskWindows(nullptr)) { ++desactivations; }
TDesactivation::~TDesactivation() {
  --desactivations;
  EnableTaskWindows(desactivees_);
}
bool Actives() { return desactivations == 0; }

}  // namespace FenetresTaches

TAttenteReponseServeur::TAttenteReponseServeur(std::string Caption, TComponent* Proprietaire)
    : TFenetreAttente(Proprietaire) {
  SetName(kNom);
  SetBorderStyle(TFormBorderStyle::bsNone);
  BorderIcons = 0;
  SetBounds(0, 0, kLargeur, kHauteur);
  Position = TPosition::poMainFormCenter;
  SetCaption(Caption);
  Texte = new TLabel(this);
  Texte->SetName("Texte");
  Texte->SetAutoSize(false);
  Texte->SetAlignment(TAlignment::taCenter);
  Texte->Layout = TTextLayout::tlCenter;
  Texte->SetAlign(TAlign::alClient);
  Texte->SetCaption(std::move(Caption));
  Texte->SetParent(this);
}
