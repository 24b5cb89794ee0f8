#include "base/SupOption.h"

#include <cstring>

#include "base/EcrGlobale.h"
#include "base/SupTraitement.h"
#include "net/NetClient.h"

namespace SupOption {

const char* const kNomsOptions[kNombreOptions] = {
    nullptr,
    "SupBouclFavoriserDHLibres",
    "SupBouclPenaliserTrousProfesseur",
    "SupBouclPenaliserTrousClasse",
    "SupBouclFavoriserJourneesLibres",
    "SupBouclLaisserTrousDH",
    "SupBouclFavoriserVoeuxRessource",
    "SupBouclFavoriserVoeuxCours",
    "SupBouclRepartirMatieres",
};

TypeOptions& Options() {
  static TypeOptions options = kOptionsParDefaut;
  return options;
}

void OptionsParDefaut() { Options() = kOptionsParDefaut; }

bool MettreOptionsParDefaut(bool Appliquer) {
  SupTraitement::TraitementEmpile code(kMettreParDefaut);
  if (Appliquer || !NetClient::PasserParServeur()) {
    OptionsParDefaut();
    EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
    return true;
  }
  return NetClient::EnvoyerRequeteServeur(kMettreParDefaut, 0, 0, nullptr, false, nullptr);
}

bool ModifierOption(uint8_t Index, int32_t Valeur, bool Appliquer) {
  if (Index >= kNombreOptions || Options()[Index] == Valeur) return false;
  SupTraitement::TraitementEmpile code(kModifierOption);
  if (Appliquer || !NetClient::PasserParServeur()) {
    Options()[Index] = Valeur;
    EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
    return true;
  }
  uint8_t donnees[8] = {};
  donnees[0] = Index;
  std::memcpy(donnees + 4, &Valeur, 4);
  return NetClient::EnvoyerRequeteServeur(kModifierOption, 0, sizeof donnees, donnees, false, nullptr);
}

bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees) {
  if (Code == kMettreParDefaut) {
    MettreOptionsParDefaut(true);
    return true;
  }
  if (Code != kModifierOption || Donnees == nullptr || Taille < 8) return false;
  const auto* d = static_cast<const uint8_t*>(Donnees);
  if (d[0] >= kNombreOptions) return false;
  int32_t valeur = 0;
  std::memcpy(&valeur, d + 4, 4);
  ModifierOption(d[0], valeur, true);
  return true;
}

void Initialiser() { OptionsParDefaut(); }

}  // namespace SupOption
