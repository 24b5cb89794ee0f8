// Calendars (".CAL"): named week patterns, each a year's weeks and four period week sets, that the
// classes and groupings refer to. The calendar of record number 1 is the base's default calendar. The
// connected user's remembered calendar (a per-user value) is cleared when the calendar it names is
// deleted by a received order, and the subject contribution relations naming it lose it.
//
// The unit also holds the rules that place the sessions of a course in the weeks (one place for all
// sessions or one per session; fixed or mobile weeks) and the detachment of sessions into a new
// course. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/values/DomaineHebdomadaire.h"

struct TypeEnregistrementCalendrier {
  int32_t Identifiant;
  uint8_t Libelle[11];  // counted string of 10 characters; unique
  TypeDomaineHebdomadaire SemainesAnnee;
  std::array<TypeDomaineHebdomadaire, 4> SemainesPeriodes;
  uint8_t ZonePortee[64];  // carried between stored and in-memory records, never read
  uint8_t OctetPorte;      // likewise
};
static_assert(sizeof(TypeEnregistrementCalendrier) == 116);

namespace SupCalendrier {

inline constexpr int32_t kPlace = 3;
inline constexpr uint32_t kTailleStockee = 111;
inline constexpr int32_t kOrdreLibelle = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCodeCreerParDefaut = 0x80080000, kCodeCreerCalendrier = 0x80080100;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementCalendrier* Article();

// --- Housekeeping
// A cleared calendar: no label, weeks 1-52, the quarters 1-13, 14-26, 27-39 and 40-52.
void ViderArticle();
bool CreerTable();
void LibererTable();
// On order 2.
bool ChercherParIdentifiant(int32_t Identifiant);
void EmpilerPosition();
void DepilerPosition();
int32_t InscrireFichier();

// --- Requests
// Request 0x80080000: in exclusive mode one calendar with an empty label is created locally.
bool CreerCalendriersParDefaut();
// Runs CreerCalendriersParDefaut.
bool ContenuParDefaut();
// Request 0x80080100: a calendar labelled Libelle (cut to 10 characters) copied from the calendar
// Modele (a record number; 0: a cleared calendar). False when Modele names no calendar. Locally the
// copy gets identifier 0 and a label another calendar has is refused; through the server the new
// calendar is made current on acceptance, the former current calendar again on refusal.
bool CreerCalendrier(const std::string& Libelle, uint32_t Modele);

}  // namespace SupCalendrier

// --- Session placement of the current course. The place mode is 0 (fixed place), 1 (variable place)
// or 2 (variable place with cumulable sessions); mobile sessions 1 when the number of weeks says how
// many sessions the course has, placed in weeks chosen among its potential weeks.
namespace SupCalendrier {

inline constexpr uint32_t kCodeFractionnement = 0x80190207, kCodeModificationMobilite = 0x80190214,
                          kCodeModifStatutPlace = 0x8019021B, kCodeDetacherSeances = 0x80190402;

// Place mode not 0.
bool PlaceVariable();
// The same rule under its other name.
inline bool SeancesMobiles() { return PlaceVariable(); }
// Mobile sessions, plus 1 with place mode 2: 0, 1 or 2.
uint8_t PlacementSeances();
// The PlacementSeances values (bit v for value v) the course may be given; never its own.
uint8_t PlacementsSeancesPermis();
// Whether the pair may be set.
bool ChangementPlacementPossible(bool PlaceVariable, uint8_t Seances);

// The SOAP value 0..4 of a pair and back; False for a value outside 0..4 or a pair with no value.
bool ValeurSoap(bool PlaceVariable, uint8_t Seances, int32_t& Valeur);
bool PaireDeValeurSoap(int32_t Valeur, bool& PlaceVariable, uint8_t& Seances);

// Request 0x8019021B (2 bytes). False without the right to change courses, for a fraction or a pair
// that may not be set; an unchanged pair answers True and sends nothing.
bool ModifierPlacementSeancesCours(bool PlaceVariable, uint8_t Seances);
// Request 0x80190207 (1 byte).
bool ModifierPlaceVariable(bool PlaceVariable);
// Request 0x80190214 (1 byte).
bool ModifierMobiliteSeances(uint8_t Seances);
// Whether Nombre sessions of those weeks can be detached.
bool DetachementPossible(const TypeDomaineHebdomadaire& Semaines, uint32_t Nombre);
// Request 0x80190402. Through the server the answer's two identifiers become record numbers in
// Resultat (0 when none) and the result is False: the server's orders bring the new course.
bool DetacherSeances(const TypeDomaineHebdomadaire& Semaines, uint32_t Nombre, std::array<uint32_t, 2>& Resultat);

}  // namespace SupCalendrier
