#include "base/EcrGlobale.h"

#include "base/SupDisponibilite.h"
#include "net/NetClient.h"

void TFichier::SetNom(const std::string& Nom) {
  nom_ = Nom;
  if (OnNomFichier) OnNomFichier(this);
}

void TFichier::SetModifie(bool Valeur) {
  modifie_ = Valeur;
  if (OnModifie) OnModifie(this);
}

void TFichier::SetCharge(bool Valeur) {
  charge_ = Valeur;
  if (OnCharge) OnCharge(this);
}

TFicheGlobales::TFicheGlobales() {
  FichierVok.OnCharge = [this](TFichier* f) { FichierVokCharge(f); };
  FichierVok.OnModifie = [this](TFichier* f) { FichierVokNomFichier(f); };
  FichierVok.OnNomFichier = [this](TFichier* f) { FichierVokNomFichier(f); };
}

void TFicheGlobales::FichierVokCharge(TFichier* Sender) {
  if (SurBaseChargee) SurBaseChargee(Sender);
}

void TFicheGlobales::FichierVokNomFichier(TFichier* Sender) {
  if (SurNomOuModification) SurNomOuModification(Sender);
}

namespace EcrGlobale {

TFicheGlobales*& FicheGlobales() {
  static TFicheGlobales* fiche = nullptr;
  return fiche;
}

void MarquerBaseModifiee(TFicheGlobales* Fiche) {
  if (Fiche == nullptr || SupDisponibilite::ModeDAcces() == SupDisponibilite::kModeConsultation) return;
  if (!NetClient::PasserParServeur()) Fiche->FichierVok.SetModifie(true);
}

void SignalerModification() { MarquerBaseModifiee(FicheGlobales()); }

void Initialiser() { NetClient::ApresOrdreModif() = SignalerModification; }
void Finaliser() { NetClient::ApresOrdreModif() = nullptr; }

}  // namespace EcrGlobale
