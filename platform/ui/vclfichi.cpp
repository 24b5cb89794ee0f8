#include "platform/ui/vclfichi.h"

TFichier::TFichier(TComponent* Owner) : TComponent(Owner) {}

TFichier::~TFichier() {
  charge_ = modifie_ = active_ = Consulte = false;
}

void TFichier::SetCharge(bool Valeur) {
  if (Valeur != charge_) {
    charge_ = Valeur;
    Lever(OnCharge, this);
  }
  if (!Valeur) SetModifie(false);
}

void TFichier::SetModifie(bool Valeur) {
  if (Valeur == modifie_) return;
  modifie_ = Valeur;
  Lever(OnModifie, this);
}

void TFichier::SetActive(bool Valeur) {
  if (Valeur == active_) return;
  active_ = Valeur;
  Lever(OnActivation, this);
}

void TFichier::SetNomFichier(const std::string& Valeur) {
  if (Valeur == nomFichier_) return;
  nomFichier_ = Valeur;
  Lever(OnNomFichier, this);
}

void TFichier::SetRepertoire(const std::string& Valeur) {
  std::string texte = Valeur;
  const bool racine = texte.size() == 3 && texte[2] == '\\';
  if (!texte.empty() && !racine && texte.back() == '\\') texte.pop_back();
  if (repertoire_ && *repertoire_ == texte) return;
  repertoire_ = std::make_unique<std::string>(std::move(texte));
  Lever(OnNomFichier, this);
}
