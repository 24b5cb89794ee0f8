// Resources (".RES"): everything a course can use, in one table: teachers, groupings of classes,
// diplomas (classes), TDs, options and rooms. A kind byte tells them apart, and three words of the
// record (MotA, MotB, MotC) and the teacher's fields mean what the kind says:
//
//   kind             MotA                     MotB                        MotC
//   0 teacher        civility (".CIV")        status (".STP")             annual service
//   5 room           number of rooms          limited-access byte         site (".SIT")
//   1-4 grouping,    calendar (".CAL"; 1 is   curriculum (".CUR";         links managed from the
//   classes          the default calendar)    0 for none)                 students (0 or 1)
//
// A room whose number of rooms is above 1 is a room group. The resource of a kind whose name and
// code are both empty is that kind's default resource. Fields a kind does not have are 0 after
// every read, creation and change; a kind above 5 has no kind words and no teacher fields.
//
// This unit holds the file (its record, stored layout, orders and registered routines), the
// defaults of a new resource and the reads that the other files, the placement engine and the
// SOAP ports use; the changes of resources are requests of their own. Routines that take a record
// number keep the table's position. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"
#include "core/values/DomaineHebdomadaire.h"

// The in-memory resource record, as the file's declaration lays it out (a test checks that both agree).
struct TypeEnregistrementRessource {
  int32_t Identifiant;
  uint8_t IdentifiantExterne[81];  // counted string of 80: the key outside systems give it
  uint8_t Code[17];                // counted string of 16
  uint8_t Nom[31];                 // counted string of 30
  uint8_t Libre1[3];
  int32_t NumeroPartition;  // TD and option: the number of their diploma's partition
  int32_t Occupation;       // annual occupancy; never stored (the hour totals compute it)
  int32_t Occupation2;      // never stored
  int32_t MaxHeuresJour;    // in places
  int32_t MaxHeuresSemaine;
  int32_t EffectifSaisi;    // a room's capacity
  int32_t EffectifCalcule;  // the students placed in it
  uint8_t HorsDecompte;     // excluded from hour counts: TDs and options only
  TypeDomaineHebdomadaire Semaines;
  uint8_t Proprietaire[4];   // counted string of 3
  uint32_t NumeroRessource;  // unique in the file
  uint8_t Genre;
  uint8_t Libre2[3];
  uint32_t MotA, MotB, MotC;
  // The teacher's service breakdown (0 for the other kinds).
  int32_t QuotaT1;
  int32_t MaxT1Semaine;
  int32_t MaxT1Cycle;
  int32_t QuotaT2;
  int32_t QuotaT3;
  int32_t NombreMois;
  int32_t ValeurPortee;  // carried unchanged
  uint8_t OctetPorte;    // carried unchanged
  uint8_t Libre3[3];
  int32_t Total1, Total2;  // the teacher's hour totals; never stored
  // The teacher's own fields (empty for the other kinds).
  uint8_t MotDePasse[31];
  uint8_t Prenom[31];
  uint8_t Mail[51];
  uint8_t NomJeuneFille[31];
  uint8_t Adresse1[61];
  uint8_t Adresse2[61];
  uint8_t CodePostal[6];
  uint32_t Ville;  // record number in ".LIE", 0 for none
  uint8_t Telephone[21];
  uint8_t Portable[21];
  uint8_t Libre4[6];
  double DateNaissance;
};
static_assert(sizeof(TypeEnregistrementRessource) == 568);

namespace SupRessource {

inline constexpr int32_t kPlace = 19;
inline constexpr uint32_t kTailleStockee = 560;
inline constexpr uint8_t kEnseignant = 0, kGroupement = 1, kDiplome = 2, kTD = 3, kOption = 4, kSalle = 5;
inline constexpr uint8_t kGenreAucun = 0xFF;  // the kind of a record number that holds no resource
inline constexpr uint32_t kCalendrierParDefaut = 1;
inline constexpr int32_t kOrdreUnique = 1, kOrdreCode = 2, kOrdreIdentifiant = 3, kOrdrePrenom = 4, kOrdreMail = 5,
                         kOrdreNumero = 6, kOrdreNom = 7, kOrdrePartition = 8, kOrdreGenreNom = 9,
                         kOrdreGenreIdentifiant = 10, kOrdreGenre = 11, kOrdreGenreCode = 12,
                         kOrdreIdentifiantExterne = 13, kOrdreGenreIdentifiantExterne = 14;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementRessource* Article();

// Steps that keep state of other units in step with the resources. That state does not exist yet:
// each step does nothing until the unit that builds it installs it.
struct TypeEtapesRessource {
  // Adds a resource (record number) to the resources whose occupancy must be computed again.
  std::function<void(uint32_t Ressource)> OccupationPerimee;
  // Computes the annual occupancy (and a teacher's totals) of the current resource again.
  std::function<void()> RecalculerOccupation;
  // Creates / deletes the per-user visibility entry of the current resource.
  std::function<void()> CreerVisibilite;
  std::function<void()> SupprimerVisibilite;
};
TypeEtapesRessource& Etapes();

// --- Housekeeping
// Zero-fills the buffer and gives it the defaults of a new resource of that kind.
void ViderArticle(uint8_t Genre);
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: order 3.
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t IdentifiantDe(uint32_t NumeroArticle);
int32_t InscrireFichier();
// The default resources are created by the resource requests; not built yet: raises ENonConstruit.
bool ContenuParDefaut();
bool CreerRessourcesParDefaut();

// --- Reads
// Makes the kind's default resource current (tests its name only); not found, the former current
// record is current again.
bool ChercherRessourceParDefaut(uint8_t Genre);
// The record number of the kind's resource with an empty name, 0 when none.
uint32_t RessourceParDefautDuGenre(uint8_t Genre);
// Makes the kind's default resource current, else its first resource in name order; False, the
// former current record current again, when the kind has none.
bool AllerAuPremierDuGenre(uint8_t Genre);
bool EstRessourceParDefaut();
// Found: current, True; else the former current record is current again.
bool ChercherParGenreEtIdentifiant(int32_t Identifiant, uint8_t Genre);
// The record number of the resource of that identifier and kind, for kinds 0, 2, 3 and 4 only; 0
// otherwise and when absent.
uint32_t RessourceDeLIdentifiant(int32_t Identifiant, uint8_t Genre);
bool ChercherRessourceParNumero(uint32_t Numero);
bool ChercherParGenreEtIdentifiantExterne(uint8_t Genre, const std::string& Identifiant);
// The kind of a record number; kGenreAucun when it holds no resource.
uint8_t GenreDeLaRessource(uint32_t NumeroArticle);
uint8_t GenreDuNumeroDeRessource(uint32_t NumeroArticle);
bool RessourceExiste(uint32_t NumeroArticle);
bool EstGroupeDeSalles();
// The head-count of the current resource: teachers and rooms their entered head-count; groupings
// and classes their computed head-count when the base manages head-counts by students (always for a
// grouping) and either manages head-counts or nothing was entered; else the entered one.
int32_t Effectif();
bool RessourceCouranteDansEnsemble(const TypeEnsembleMemoire& Ensemble);

// Walks: Routine is called with each resource current until it answers non-zero; the result is that
// answer, else 0. The position is kept.
using TypeRoutineRessource = std::function<int32_t()>;
// Every resource in record-number order.
int32_t PourChaqueRessource(const TypeRoutineRessource& Routine);
// The resources of one kind in name order, its default resource skipped.
int32_t PourChaqueRessourceDuGenre(uint8_t Genre, const TypeRoutineRessource& Routine);
// The diplomas whose curriculum is the current record of ".CUR", in order 1.
int32_t PourChaqueDiplomeDuCursus(const TypeRoutineRessource& Routine);
// The named TDs of a diploma (through the resource relations, not built yet: raises ENonConstruit).
int32_t PourChaqueTDDuDiplome(uint32_t Diplome, const TypeRoutineRessource& Routine);
int32_t PourChaqueTDDuDiplomeCourant(const TypeRoutineRessource& Routine);
// The rooms of a site (record number in ".SIT").
int32_t PourChaqueSalleDuSite(uint32_t Site, const TypeRoutineRessource& Routine);
int32_t AjouterRessourceCourante(TypeEnsembleMemoire& Ensemble);
int32_t AjouterRessourceCouranteSiClasse(TypeEnsembleMemoire& Ensemble);
int32_t AjouterRessourceCouranteSiDiplome(TypeEnsembleMemoire& Ensemble);

// --- Texts of the current resource's hour values (places, minutes, hundredths of an hour).
// ModeDecimal gives decimal hours ("1,50"); else hours and minutes joined by Unite. SansZero leaves
// no leading zero on the hours.
void TexteMaxHeuresJour(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte);
void TexteMaxHeuresHebdo(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte);
// A simple room: its percentage ("%3d %"); a room group: its count of rooms ("%2d"); the others their
// occupancy in minutes.
void TexteOccupationAnnuelle(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte);
// A teacher's annual service; "-" for none.
void TexteApportAnnuel(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte);
// A teacher's weighted hours: the first teacher total less the annual occupancy.
void TextePonderation(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte);
// The name of the calendar; the translation of "SupConstDéfaut2" for the default calendar.
void TexteCalendrier(std::string& Texte);

// --- The courses of the current resource
// Adds the record numbers of the courses of the current resource over weeks 1 to 52 to Ensemble.
void CollecterCoursDeLaRessource(TypeEnsembleMemoire& Ensemble);
// Has the courses of the current resource recomputed after a room changed site; the recomputation
// comes with the course requests: raises ENonConstruit until then.
void RecalculerCoursDeLaRessource();

}  // namespace SupRessource
