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
