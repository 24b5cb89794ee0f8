// The general parameters of the base that are not records: establishment name, teacher contributions
// and hour thresholds, spacing rules, head-count management, journal keeping. Each has a setter that
// changes it locally (an order from the server, or exclusive mode) or sends the request to the server;
// the server's broadcast order comes back through ExecuterOrdre. The parameters of the same table code
// held by the base parameters object are reached through IParametresBaseOrdres.
#pragma once

#include <cstdint>
#include <string>

struct TypeParametresGeneraux {
  std::string NomEtablissement;  // at most 255 characters
  uint8_t ApportProfesseurAnnuel = 1;
  int32_t ApportProfesseurParDefaut = 0;
  int32_t NbMoisProfesseurParDefaut = 12;
  int32_t T3MinHSProfesseur = 18450;
  int32_t CycleT1Professeur = 3;
  int32_t SeuilHSSProfesseur = 3500;
  int32_t MaxHSSProfesseur = 300;
  int32_t SeuilHSAProfesseur = 143500;
  int32_t MaxHSAProfesseur = 13000;
  int32_t PlaceDemiJournee = 0;  // not reset by the defaults
  int32_t EspacementMinimumClasse = 0;
  int32_t EspacementMinimumProfesseur = 0;
  uint8_t AjoutSemainesRessourcesAutorise = 0;  // not reset
  uint8_t GestionParEleves = 0;                 // not reset
  uint8_t GestionEffectif = 0;                  // not reset
  uint8_t ConserverTrace = 0;
  int32_t JoursConservationJournal = 5;
  // The two flags of the base parameter block that no request changes; the second is read by the
  // placement engine's evaluation of places.
  uint8_t Drapeau1 = 1;
  uint8_t Drapeau2 = 1;
};

// What the general parameters need of the base parameters object, which the streams layer installs.
class IParametresBaseOrdres {
 public:
  virtual ~IParametresBaseOrdres() = default;
  // Applies an order of the parameters that the object holds; False for another code.
  virtual bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees) = 0;
  virtual const std::string& FichierRacineHTML() const = 0;
  virtual void DefinirFichierRacineHTML(const std::string& Nom) = 0;
  virtual void ModifierActivationModulesEtCursus(uint8_t Valeur) = 0;
};

namespace SupParam {

inline constexpr uint32_t kNomEtablissement = 0x80010002;
inline constexpr uint32_t kApportProfesseurAnnuel = 0x80010200;
inline constexpr uint32_t kApportProfesseurParDefaut = 0x80010201;
inline constexpr uint32_t kNbMoisProfesseurParDefaut = 0x80010203;
inline constexpr uint32_t kT3MinHSProfesseur = 0x80010207;
inline constexpr uint32_t kCycleT1Professeur = 0x80010208;
inline constexpr uint32_t kSeuilHSSProfesseur = 0x80010209;
inline constexpr uint32_t kMaxHSSProfesseur = 0x8001020A;
inline constexpr uint32_t kSeuilHSAProfesseur = 0x8001020B;
inline constexpr uint32_t kMaxHSAProfesseur = 0x8001020C;
inline constexpr uint32_t kPlaceDemiJournee = 0x80010300;
inline constexpr uint32_t kEspacementMinimumClasse = 0x80010301;
inline constexpr uint32_t kEspacementMinimumProfesseur = 0x80010302;
inline constexpr uint32_t kFichierRacineHTML = 0x80010400;
inline constexpr uint32_t kAjoutSemainesRessourcesAutorise = 0x80010401;
inline constexpr uint32_t kGestionParEleves = 0x80010500;
inline constexpr uint32_t kGestionEffectif = 0x80010600;
inline constexpr uint32_t kConserverTrace = 0x80010800;
inline constexpr uint32_t kJoursConservationJournal = 0x80010900;
inline constexpr uint32_t kSupprimerJournauxInutiles = 0x80010A00;

// The process-wide values.
TypeParametresGeneraux& Parametres();
// The base parameters object; nil until the streams layer installs it.
IParametresBaseOrdres*& ParametresBase();

// Each setter: an unchanged value answers False and sends nothing; with Appliquer (an order) or in
// exclusive mode the value is stored and the base marked modified (True); otherwise the request is
// sent and the server's verdict answered.
bool ModifierNomEtablissement(const std::string& Valeur, bool Appliquer);
bool ModifierApportProfesseurAnnuel(uint8_t Valeur, bool Appliquer);
bool ModifierApportProfesseurParDefaut(int32_t Valeur, bool Appliquer);
bool ModifierNbMoisProfesseurParDefaut(int32_t Valeur, bool Appliquer);
bool ModifierT3MinHSProfesseur(int32_t Valeur, bool Appliquer);
bool ModifierCycleT1Professeur(int32_t Valeur, bool Appliquer);
bool ModifierSeuilHSSProfesseur(int32_t Valeur, bool Appliquer);
bool ModifierMaxHSSProfesseur(int32_t Valeur, bool Appliquer);
bool ModifierSeuilHSAProfesseur(int32_t Valeur, bool Appliquer);
bool ModifierMaxHSAProfesseur(int32_t Valeur, bool Appliquer);
bool ModifierPlaceDemiJournee(int32_t Valeur, bool Appliquer);
bool ModifierEspacementMinimumClasse(int32_t Valeur, bool Appliquer);
bool ModifierEspacementMinimumProfesseur(int32_t Valeur, bool Appliquer);
bool ModifierFichierRacineHTML(const std::string& Valeur, bool Appliquer);
bool ModifierAjoutSemainesRessourcesAutorise(uint8_t Valeur, bool Appliquer);
bool ModifierGestionParEleves(uint8_t Valeur, bool Appliquer);
bool ModifierGestionEffectif(uint8_t Valeur, bool Appliquer);
bool ModifierConserverTrace(uint8_t Valeur, bool Appliquer);
bool ModifierJoursConservationJournal(int32_t Valeur, bool Appliquer);
// An action without a stored value: locally it does nothing but answer True.
bool SupprimerJournauxInutiles(uint8_t Valeur, bool Appliquer);

// Applies an order of the general parameters (Taille bytes of Donnees). Data shorter than the code's
// value answers False and changes nothing.
bool ExecuterOrdre(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees);
// The defaults of a new base; the values marked "not reset" keep what they hold.
void InitialiserParametresParDefaut();

// CFA mode: a configuration of the whole process, fixed before a base loads and off unless set.
// The course and resource files read their older layouts by it (a CFA base's only weighting is its
// second weighting).
bool ModeCFA();
void DefinirModeCFA(bool Valeur);

void Initialiser();
void Finaliser();

}  // namespace SupParam
