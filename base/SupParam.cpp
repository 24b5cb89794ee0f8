#include "base/SupParam.h"

#include <cstring>
#include <limits>

#include "base/EcrGlobale.h"
#include "base/SupGroupe.h"
#include "base/SupTraitement.h"
#include "base/SupValeurHebdomadaire.h"
#include "base/fichiers/FichierSup.h"
#include "base/fichiers/SupLiensPartie.h"
#include "net/NetBases.h"
#include "net/NetClient.h"

namespace SupParam {

namespace {

constexpr int32_t kCapaciteTexte = 255;

// How a value travels in its request.
enum class Envoi { Octet, Entier, Parametre };

IParametresBaseOrdres* gParametresBase = nullptr;

bool Local(bool Appliquer) { return Appliquer || !NetClient::PasserParServeur(); }

void Marquer() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

// The common steps of a setter of one number; `Apres` runs once the value is stored.
template <class T>
bool Modifier(uint32_t Code, T& Champ, T Valeur, bool Appliquer, Envoi Mode, bool Genre, void (*Apres)() = nullptr) {
  if (Champ == Valeur) return false;
  SupTraitement::TraitementEmpile code(Code);
  if (Local(Appliquer)) {
    Champ = Valeur;
    Marquer();
    if (Apres != nullptr) Apres();
    return true;
  }
  const int32_t v = static_cast<int32_t>(Valeur);
  switch (Mode) {
    case Envoi::Octet: {
      const uint8_t octet = static_cast<uint8_t>(Valeur);
      return NetClient::EnvoyerRequeteServeur(Code, 0, 1, &octet, Genre, nullptr);
    }
    case Envoi::Entier:
      return NetClient::EnvoyerRequeteServeur(Code, 0, 4, &v, Genre, nullptr);
    case Envoi::Parametre:
      break;
  }
  return NetClient::EnvoyerRequeteServeur(Code, v, 0, nullptr, Genre, nullptr);
}

std::string Couper(const std::string& Texte) { return Texte.substr(0, kCapaciteTexte); }

// A text travels as a counted string of 255 characters.
bool EnvoyerTexte(uint32_t Code, const std::string& Texte) {
  uint8_t donnees[kCapaciteTexte + 1] = {};
  FichierSup::EcrireChaineCourte(donnees, kCapaciteTexte, Texte);
  return NetClient::EnvoyerRequeteServeur(Code, 0, sizeof donnees, donnees, false, nullptr);
}

void ApresGestionParEleves() {
  SupGroupe::RecalculerEffectifsGroupements();
  if (Parametres().GestionParEleves == 0) SupLiensPartie::SupprimerLiensEntreDiplomes();
}

uint8_t LireOctet(const void* Donnees) { return *static_cast<const uint8_t*>(Donnees); }
int32_t LireEntier(const void* Donnees) {
  int32_t v = 0;
  std::memcpy(&v, Donnees, 4);
  return v;
}

// The orders routed to the base parameters object.
bool EstOrdreParametresBase(uint32_t Code) {
  switch (Code) {
    case 0x80010000: case 0x80010001: case 0x80010700: case 0x80010B00: case 0x80010C00: case 0x80010D00:
      return true;
    default:
      return false;
  }
}

bool AppliquerOrdre(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees) {
  if (EstOrdreParametresBase(Code))
    return gParametresBase != nullptr && gParametresBase->TraiterOrdre(Code, Taille, Donnees);
  const bool octet = Taille >= 1 && Donnees != nullptr;
  const bool entier = Taille >= 4 && Donnees != nullptr;
  switch (Code) {
    case kNomEtablissement:
    case kFichierRacineHTML: {
      if (!octet || Taille < 1 + LireOctet(Donnees)) return false;
      const std::string texte = FichierSup::LireChaineCourte(static_cast<const uint8_t*>(Donnees), kCapaciteTexte);
      if (Code == kNomEtablissement) ModifierNomEtablissement(texte, true);
      else ModifierFichierRacineHTML(texte, true);
      return true;
    }
    case kPlaceDemiJournee: ModifierPlaceDemiJournee(Parametre, true); return true;
    case kEspacementMinimumClasse: ModifierEspacementMinimumClasse(Parametre, true); return true;
    case kEspacementMinimumProfesseur: ModifierEspacementMinimumProfesseur(Parametre, true); return true;
    case kSupprimerJournauxInutiles:
      if (!octet) return false;
      SupprimerJournauxInutiles(LireOctet(Donnees), true);
      return true;
    default:
      break;
  }
  using Octet = bool (*)(uint8_t, bool);
  using Entier = bool (*)(int32_t, bool);
  struct { uint32_t Code; Octet ParOctet; Entier ParEntier; } constexpr kTable[] = {
      {kApportProfesseurAnnuel, ModifierApportProfesseurAnnuel, nullptr},
      {kApportProfesseurParDefaut, nullptr, ModifierApportProfesseurParDefaut},
      {kNbMoisProfesseurParDefaut, nullptr, ModifierNbMoisProfesseurParDefaut},
      {kT3MinHSProfesseur, nullptr, ModifierT3MinHSProfesseur},
      {kCycleT1Professeur, nullptr, ModifierCycleT1Professeur},
      {kSeuilHSSProfesseur, nullptr, ModifierSeuilHSSProfesseur},
      {kMaxHSSProfesseur, nullptr, ModifierMaxHSSProfesseur},
      {kSeuilHSAProfesseur, nullptr, ModifierSeuilHSAProfesseur},
      {kMaxHSAProfesseur, nullptr, ModifierMaxHSAProfesseur},
      {kAjoutSemainesRessourcesAutorise, ModifierAjoutSemainesRessourcesAutorise, nullptr},
      {kGestionParEleves, ModifierGestionParEleves, nullptr},
      {kGestionEffectif, ModifierGestionEffectif, nullptr},
      {kConserverTrace, ModifierConserverTrace, nullptr},
      {kJoursConservationJournal, nullptr, ModifierJoursConservationJournal},
  };
  for (const auto& e : kTable) {
    if (e.Code != Code) continue;
    if (e.ParOctet != nullptr) {
      if (!octet) return false;
      e.ParOctet(LireOctet(Donnees), true);
    } else {
      if (!entier) return false;
      e.ParEntier(LireEntier(Donnees), true);
    }
    return true;
  }
  return false;
}

}  // namespace

TypeParametresGeneraux& Parametres() {
  static TypeParametresGeneraux parametres;
  return parametres;
}

IParametresBaseOrdres*& ParametresBase() { return gParametresBase; }

bool ModifierNomEtablissement(const std::string& Valeur, bool Appliquer) {
  const std::string texte = Couper(Valeur);
  if (texte == Parametres().NomEtablissement) return false;
  SupTraitement::TraitementEmpile code(kNomEtablissement);
  if (!Local(Appliquer)) return EnvoyerTexte(kNomEtablissement, texte);
  Parametres().NomEtablissement = texte;
  Marquer();
  return true;
}

bool ModifierApportProfesseurAnnuel(uint8_t Valeur, bool Appliquer) {
  TypeParametresGeneraux& p = Parametres();
  if (p.ApportProfesseurAnnuel == Valeur) return false;
  SupTraitement::TraitementEmpile code(kApportProfesseurAnnuel);
  if (!Local(Appliquer)) return NetClient::EnvoyerRequeteServeur(kApportProfesseurAnnuel, 0, 1, &Valeur, false, nullptr);
  p.ApportProfesseurAnnuel = Valeur;
  // The default contribution follows: a weekly contribution becomes a year's, and back.
  const int64_t apport = Valeur != 0 ? int64_t{p.ApportProfesseurParDefaut} * 52 : p.ApportProfesseurParDefaut / 52;
  ModifierApportProfesseurParDefaut(SupValeurHebdomadaire::Saturer(apport), Appliquer);
  return true;
}

bool ModifierApportProfesseurParDefaut(int32_t Valeur, bool Appliquer) {
  return Modifier(kApportProfesseurParDefaut, Parametres().ApportProfesseurParDefaut, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierNbMoisProfesseurParDefaut(int32_t Valeur, bool Appliquer) {
  return Modifier(kNbMoisProfesseurParDefaut, Parametres().NbMoisProfesseurParDefaut, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierT3MinHSProfesseur(int32_t Valeur, bool Appliquer) {
  return Modifier(kT3MinHSProfesseur, Parametres().T3MinHSProfesseur, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierCycleT1Professeur(int32_t Valeur, bool Appliquer) {
  return Modifier(kCycleT1Professeur, Parametres().CycleT1Professeur, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierSeuilHSSProfesseur(int32_t Valeur, bool Appliquer) {
  return Modifier(kSeuilHSSProfesseur, Parametres().SeuilHSSProfesseur, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierMaxHSSProfesseur(int32_t Valeur, bool Appliquer) {
  return Modifier(kMaxHSSProfesseur, Parametres().MaxHSSProfesseur, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierSeuilHSAProfesseur(int32_t Valeur, bool Appliquer) {
  return Modifier(kSeuilHSAProfesseur, Parametres().SeuilHSAProfesseur, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierMaxHSAProfesseur(int32_t Valeur, bool Appliquer) {
  return Modifier(kMaxHSAProfesseur, Parametres().MaxHSAProfesseur, Valeur, Appliquer, Envoi::Entier, false);
}
bool ModifierPlaceDemiJournee(int32_t Valeur, bool Appliquer) {
  return Modifier(kPlaceDemiJournee, Parametres().PlaceDemiJournee, Valeur, Appliquer, Envoi::Parametre, false);
}
bool ModifierEspacementMinimumClasse(int32_t Valeur, bool Appliquer) {
  return Modifier(kEspacementMinimumClasse, Parametres().EspacementMinimumClasse, Valeur, Appliquer, Envoi::Parametre, false);
}
bool ModifierEspacementMinimumProfesseur(int32_t Valeur, bool Appliquer) {
  return Modifier(kEspacementMinimumProfesseur, Parametres().EspacementMinimumProfesseur, Valeur, Appliquer,
                  Envoi::Parametre, false);
}

bool ModifierFichierRacineHTML(const std::string& Valeur, bool Appliquer) {
  if (gParametresBase == nullptr) return false;
  const std::string texte = Couper(Valeur);
  if (texte == gParametresBase->FichierRacineHTML()) return false;
  SupTraitement::TraitementEmpile code(kFichierRacineHTML);
  if (!Local(Appliquer)) return EnvoyerTexte(kFichierRacineHTML, texte);
  gParametresBase->DefinirFichierRacineHTML(texte);
  Marquer();
  return true;
}

bool ModifierAjoutSemainesRessourcesAutorise(uint8_t Valeur, bool Appliquer) {
  return Modifier(kAjoutSemainesRessourcesAutorise, Parametres().AjoutSemainesRessourcesAutorise, Valeur, Appliquer,
                  Envoi::Octet, false, NetBases::ApresModificationLocale);
}
bool ModifierGestionParEleves(uint8_t Valeur, bool Appliquer) {
  return Modifier(kGestionParEleves, Parametres().GestionParEleves, Valeur, Appliquer, Envoi::Octet, true,
                  ApresGestionParEleves);
}
bool ModifierGestionEffectif(uint8_t Valeur, bool Appliquer) {
  return Modifier(kGestionEffectif, Parametres().GestionEffectif, Valeur, Appliquer, Envoi::Octet, true,
                  SupGroupe::RecalculerEffectifsGroupements);
}
bool ModifierConserverTrace(uint8_t Valeur, bool Appliquer) {
  return Modifier(kConserverTrace, Parametres().ConserverTrace, Valeur, Appliquer, Envoi::Octet, true);
}
bool ModifierJoursConservationJournal(int32_t Valeur, bool Appliquer) {
  return Modifier(kJoursConservationJournal, Parametres().JoursConservationJournal, Valeur, Appliquer, Envoi::Entier,
                  true);
}

bool SupprimerJournauxInutiles(uint8_t Valeur, bool Appliquer) {
  SupTraitement::TraitementEmpile code(kSupprimerJournauxInutiles);
  if (Local(Appliquer)) return true;
  return NetClient::EnvoyerRequeteServeur(kSupprimerJournauxInutiles, 0, 1, &Valeur, false, nullptr);
}

bool ExecuterOrdre(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees) {
  const bool resultat = Taille >= 0 && AppliquerOrdre(Code, Parametre, Taille, Donnees);
  NetBases::ApresModificationLocale();
  return resultat;
}

void InitialiserParametresParDefaut() {
  TypeParametresGeneraux& p = Parametres();
  TypeParametresGeneraux d;
  d.PlaceDemiJournee = p.PlaceDemiJournee;
  d.AjoutSemainesRessourcesAutorise = p.AjoutSemainesRessourcesAutorise;
  d.GestionParEleves = p.GestionParEleves;
  d.GestionEffectif = p.GestionEffectif;
  p = d;
  if (gParametresBase != nullptr) gParametresBase->ModifierActivationModulesEtCursus(0);
}

namespace {
bool& CFA() {
  static bool cfa = false;
  return cfa;
}
}  // namespace

bool ModeCFA() { return CFA(); }
void DefinirModeCFA(bool Valeur) { CFA() = Valeur; }

void Initialiser() {
  Parametres() = TypeParametresGeneraux{};
  InitialiserParametresParDefaut();
}

void Finaliser() { gParametresBase = nullptr; }

}  // namespace SupParam
