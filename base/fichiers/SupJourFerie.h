// Public holidays (".JRF"): periods of whole days, from a start date to an end date, both included.
// The hour totals deduct them from the working days of the weeks they count.
#pragma once

#include <cstdint>

#include "base/JoursOuvres.h"
#include "base/fichiers/FichierSup.h"
#include "core/values/DateTime.h"
#include "core/values/DomaineHebdomadaire.h"

// The dates lie on their natural alignment, so that they can be read in place.
struct TypeEnregistrementJourFerie {
  int32_t Identifiant;
  int32_t Inutilise;
  double Debut;
  double Fin;
};
static_assert(sizeof(TypeEnregistrementJourFerie) == 24);

namespace SupJourFerie {

inline constexpr uint32_t kTailleStockee = 16;
inline constexpr uint32_t kTailleStockeeUnJour = 8;  // bases older than 2.0.14: one day per holiday
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreDebut = 2, kOrdreFin = 3;
inline constexpr uint32_t kCodeSupprimerHorsDates = 0x80090500;  // "CM_SUPPRIMER_JOURS_FERIES_HORS_DATES"

TFichierSup& Fichier();
TypeEnregistrementJourFerie* Article();

// Keeps only the holidays inside the year: those wholly outside are deleted, those across a bound are
// cut to it. A holiday whose start cannot move to the first date, because another holiday starts
// there, is left as it is. True without anything pushed when the table does not exist.
bool SupprimerJoursFeriesHorsDates(TDateTime PremiereDate, TDateTime DerniereDate);
// Whether the day of the date lies in a holiday (whole days compared); False for no date.
bool EstJourFerie(TDateTime Date);
// The weeks of Semaines (1..52) whose weekday Jour is a holiday.
void SemainesFeriees(int32_t Jour, const TypeDomaineHebdomadaire& Semaines, TypeDomaineHebdomadaire& Resultat,
                     TDateTime PremiereDate);
// The number of such weeks; 0 when Jour is not a working day of JoursOuvres.
int32_t NombreSemainesFeriees(int32_t Jour, const TypeDomaineHebdomadaire& Semaines, const TJoursOuvres& JoursOuvres,
                              TDateTime PremiereDate);
// The working days of the weeks of Semaines, up to the last date, that fall in a holiday, each day
// counted once; at most the weeks times the working days. Working days are the base's; with none
// (no base parameters) days 1 to 6.
int32_t NombreJoursFeries(const TypeDomaineHebdomadaire& Semaines, TDateTime PremiereDate, TDateTime DerniereDate);

}  // namespace SupJourFerie
