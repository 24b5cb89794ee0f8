#include "base/SupDemiPension.h"

#include <algorithm>

#include "base/EcrGlobale.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "net/NetBases.h"
#include "net/NetClient.h"

namespace SupDemiPension {

namespace {

template <class T>
bool Modifier(uint32_t Code, T& Champ, T Valeur, bool Appliquer, bool ParDonnees) {
  if (Champ == Valeur) return false;
  SupTraitement::TraitementEmpile code(Code);
  if (Appliquer || !NetClient::PasserParServeur()) {
    Champ = Valeur;
    if (Code == kGenresRessources) DemiPension().ActivationDemiPension = Valeur != 0 ? 1 : 0;
    NetBases::ApresModificationLocale();
    EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
    return true;
  }
  if (ParDonnees) {
    const uint8_t octet = static_cast<uint8_t>(Valeur);
    return NetClient::EnvoyerRequeteServeur(Code, 0, 1, &octet, false, nullptr);
  }
  return NetClient::EnvoyerRequeteServeur(Code, static_cast<int32_t>(Valeur), 0, nullptr, false, nullptr);
}

}  // namespace

TypeDemiPension& DemiPension() {
  static TypeDemiPension demiPension;
  return demiPension;
}

bool ModifierActivationDemiPension(uint8_t Valeur, bool Appliquer) {
  return Modifier(kActivation, DemiPension().ActivationDemiPension, Valeur, Appliquer, true);
}
bool ModifierDebutDemiPension(uint32_t Valeur, bool Appliquer) {
  return Modifier(kDebut, DemiPension().DebutDemiPension, Valeur, Appliquer, false);
}
bool ModifierFinDemiPension(uint32_t Valeur, bool Appliquer) {
  return Modifier(kFin, DemiPension().FinDemiPension, Valeur, Appliquer, false);
}
bool ModifierDureeServiceDemiPension(uint32_t Valeur, bool Appliquer) {
  return Modifier(kDureeService, DemiPension().DureeServiceDemiPension, Valeur, Appliquer, false);
}
bool ModifierGenresRessourcesDemiPension(uint8_t Valeur, bool Appliquer) {
  return Modifier(kGenresRessources, DemiPension().GenresRessourcesDemiPension, Valeur, Appliquer, true);
}

bool TraiterOrdre(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees) {
  const auto place = static_cast<uint32_t>(Parametre);
  switch (Code) {
    case kActivation:
    case kGenresRessources: {
      if (Donnees == nullptr || Taille < 1) return false;
      const uint8_t octet = *static_cast<const uint8_t*>(Donnees);
      if (Code == kActivation) ModifierActivationDemiPension(octet, true);
      else ModifierGenresRessourcesDemiPension(octet, true);
      return true;
    }
    case kDebut: ModifierDebutDemiPension(place, true); return true;
    case kFin: ModifierFinDemiPension(place, true); return true;
    case kDureeService: ModifierDureeServiceDemiPension(place, true); return true;
    default: return false;
  }
}

void AjusterDemiPension(bool Garder) {
  TypeDemiPension& d = DemiPension();
  const TypeParametresGrille& g = SupParametresGrille::Parametres();
  // A grid without places per day or per hour must not give an empty span or a division by 0.
  const uint32_t p = static_cast<uint32_t>(std::max(0, g.PlacesParJour));
  const uint32_t h = static_cast<uint32_t>(std::max(1, g.PlacesParHeure));
  if (!Garder) d.ActivationDemiPension = 0;
  if (p < 2) {
    d.DebutDemiPension = 0;
    d.FinDemiPension = p;
    d.DureeServiceDemiPension = p;
  } else {
    const uint32_t moitie = p / 2;
    if (!Garder || d.DebutDemiPension == 0 || d.DebutDemiPension > p - 2)
      d.DebutDemiPension = h < moitie ? moitie - h : moitie;
    if (!Garder || d.FinDemiPension <= d.DebutDemiPension || d.FinDemiPension >= p) {
      uint32_t fin = moitie + h;
      if (fin <= d.DebutDemiPension) fin = d.DebutDemiPension + h;
      if (fin >= p) fin = d.DebutDemiPension + 1;
      d.FinDemiPension = fin;
    }
    const uint32_t etendue = d.FinDemiPension - d.DebutDemiPension;
    if (!Garder || d.DureeServiceDemiPension == 0 || d.DureeServiceDemiPension > etendue) {
      uint32_t duree = h > etendue ? etendue / 2 : h;
      d.DureeServiceDemiPension = duree == 0 ? 1 : duree;
    }
  }
  if (!Garder) d.GenresRessourcesDemiPension = kGenresParDefaut;
}

void Initialiser() { DemiPension() = TypeDemiPension{}; }

}  // namespace SupDemiPension
