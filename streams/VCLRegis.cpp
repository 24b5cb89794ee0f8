#include "streams/VCLRegis.h"

#include "core/values/Format.h"

namespace VCLRegis {

bool Lire(TRegistryHive Ruche, const std::string& Chemin, const std::string& Nom, TRegistryValue& Valeur,
          TEtatErreur& Etat) {
  Etat = {};
  TRegistryValue lue = Valeur;
  switch (Registry::Current().Read(Ruche, Chemin, Nom, lue, Etat.Detail)) {
    case TRegistryStatus::Ok:
      Valeur = std::move(lue);
      return true;
    case TRegistryStatus::KeyMissing:
    case TRegistryStatus::Failed:
      Etat.Texte = Format("OpenKey failed for path \"%s\"", {Chemin});
      break;
    case TRegistryStatus::ValueMissing:
    case TRegistryStatus::WrongKind:
      Etat.Texte = Format("Key \"%s\" not found in path \"%s\"", {Nom, Chemin});
      break;
  }
  Etat.Erreur = true;
  return false;
}

void Ecrire(TRegistryHive Ruche, const std::string& Chemin, const std::string& Nom, const TRegistryValue& Valeur,
            TEtatErreur& Etat) {
  Etat = {};
  switch (Registry::Current().Write(Ruche, Chemin, Nom, Valeur, Etat.Detail)) {
    case TRegistryStatus::Ok:
      return;
    case TRegistryStatus::KeyMissing:
      Etat.Texte = Format("CreateKey failed for path \"%s\"", {Chemin});
      break;
    default:
      Etat.Texte = Format("RegSetValueEx failed for path \"%s\" key \"%s\"", {Chemin, Nom});
      break;
  }
  Etat.Erreur = true;
}

}  // namespace VCLRegis

namespace {
constexpr size_t kLongueurChaineMaximale = 255;
}  // namespace

std::string TRegistre::LireChaineDe(TRegistryHive Ruche, const std::string& Nom, const std::string& Defaut) {
  TRegistryValue valeur = VCLRegis::Chaine({});
  return VCLRegis::Lire(Ruche, Racine, Nom, valeur, etat_) ? valeur.Text.substr(0, kLongueurChaineMaximale) : Defaut;
}

int32_t TRegistre::LireEntierDe(TRegistryHive Ruche, const std::string& Nom, int32_t Defaut) {
  TRegistryValue valeur = VCLRegis::Entier(0);
  return VCLRegis::Lire(Ruche, Racine, Nom, valeur, etat_) ? static_cast<int32_t>(valeur.Number) : Defaut;
}

std::string TRegistre::LireChaineMachine(const std::string& Nom, const std::string& Defaut) {
  return LireChaineDe(TRegistryHive::Machine, Nom, Defaut);
}
std::string TRegistre::LireChaineUtilisateur(const std::string& Nom, const std::string& Defaut) {
  return LireChaineDe(TRegistryHive::User, Nom, Defaut);
}
int32_t TRegistre::LireEntierMachine(const std::string& Nom, int32_t Defaut) {
  return LireEntierDe(TRegistryHive::Machine, Nom, Defaut);
}
int32_t TRegistre::LireEntierUtilisateur(const std::string& Nom, int32_t Defaut) {
  return LireEntierDe(TRegistryHive::User, Nom, Defaut);
}

void TRegistre::EcrireChaineMachine(const std::string& Nom, const std::string& Valeur) {
  VCLRegis::Ecrire(TRegistryHive::Machine, Racine, Nom, VCLRegis::Chaine(Valeur), etat_);
}
void TRegistre::EcrireChaineUtilisateur(const std::string& Nom, const std::string& Valeur) {
  VCLRegis::Ecrire(TRegistryHive::User, Racine, Nom, VCLRegis::Chaine(Valeur), etat_);
}
void TRegistre::EcrireEntierMachine(const std::string& Nom, int32_t Valeur) {
  VCLRegis::Ecrire(TRegistryHive::Machine, Racine, Nom, VCLRegis::Entier(Valeur), etat_);
}
void TRegistre::EcrireEntierUtilisateur(const std::string& Nom, int32_t Valeur) {
  VCLRegis::Ecrire(TRegistryHive::User, Racine, Nom, VCLRegis::Entier(Valeur), etat_);
}

void TRegistre::LireChaine(const std::string& Nom, const std::string& Defaut, std::string& Valeur, int32_t Priorite) {
  etat_ = {};
  if (Priorite == 0)
    Valeur = LireChaineUtilisateur(Nom, LireChaineMachine(Nom, Defaut));
  else if (Priorite == 1)
    Valeur = LireChaineMachine(Nom, LireChaineUtilisateur(Nom, Defaut));
  else
    Valeur = Defaut;
}

int32_t TRegistre::LireEntier(const std::string& Nom, int32_t Defaut, int32_t Priorite) {
  etat_ = {};
  if (Priorite == 0) return LireEntierUtilisateur(Nom, LireEntierMachine(Nom, Defaut));
  if (Priorite == 1) return LireEntierMachine(Nom, LireEntierUtilisateur(Nom, Defaut));
  return Defaut;
}

// A failure of the user hive's write stays reported when the machine hive's write succeeds.
void TRegistre::EcrireDansLesDeux(const std::string& Nom, const TRegistryValue& Valeur) {
  VCLRegis::Ecrire(TRegistryHive::User, Racine, Nom, Valeur, etat_);
  VCLRegis::TEtatErreur utilisateur = etat_;
  VCLRegis::Ecrire(TRegistryHive::Machine, Racine, Nom, Valeur, etat_);
  if (utilisateur.Erreur && !etat_.Erreur) etat_ = std::move(utilisateur);
}

void TRegistre::EcrireChaine(const std::string& Nom, const std::string& Valeur) {
  EcrireDansLesDeux(Nom, VCLRegis::Chaine(Valeur));
}

void TRegistre::EcrireEntier(const std::string& Nom, int32_t Valeur) { EcrireDansLesDeux(Nom, VCLRegis::Entier(Valeur)); }
