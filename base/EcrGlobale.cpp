#include "base/EcrGlobale.h"

#include "base/SupDisponibilite.h"
#include "net/NetClient.h"

TFicheGlobales::TFicheGlobales() : TComponent(nullptr) {
  SetName("FicheGlobales");
  FichierVok.SetName("FichierVok");
  FichierCFG.SetName("FichierCFG");
  FichierEXP.SetName("FichierEXP");
  FichierResCal.SetName("FichierResCal");
  FichierVok.OnCharge = [this](TComponent*) { FichierVokCharge(&FichierVok); };
  FichierVok.OnModifie = [this](TComponent*) { FichierVokNomFichier(&FichierVok); };
  FichierVok.OnNomFichier = [this](TComponent*) { FichierVokNomFichier(&FichierVok); };
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
