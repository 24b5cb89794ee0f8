// Hour totals and quotas kept week by week over the 52 weeks of the school year and summed month by
// month, and the weekday arithmetic on dates that they and the calendar code use. Sums are computed
// in 64 bits and saturated to the 32-bit range; weeks and months outside their range read 0 and are
// not written.
#pragma once

#include <cstdint>

#include "core/arrays/ArrayOfInteger.h"
#include "core/values/DateTime.h"
#include "core/values/DomaineHebdomadaire.h"

// 52 weekly values, week n in element n - 1; all 0 at creation.
NV_ARRAY_CLASS_BEGIN(TFixedArrayOfValeurHebdomadaire, TFixedArrayOfInteger)
TFixedArrayOfValeurHebdomadaire() : TFixedArrayOfInteger(52, false) {}

static constexpr int32_t kNombreSemaines = 52;
// The value of week n, n taken modulo 128 first; 0 outside 1..52.
int32_t ValeurSemaine(int32_t n) const;
// Week n (modulo 128) takes Valeur; nothing outside 1..52.
void SetValeurSemaine(int32_t n, int32_t Valeur);
void Copier(const TFixedArrayOfValeurHebdomadaire& Autre);
// Weeks 1..52 of the set take Valeur, the others 0.
void Remplir(int32_t Valeur, const TypeDomaineHebdomadaire& Semaines);
// Adds the other array's value of each week of the set (saturated).
using Base::Ajouter;
void Ajouter(const TFixedArrayOfValeurHebdomadaire& Autre, const TypeDomaineHebdomadaire& Semaines);
// The saturated sum of the weeks 1..52 of the set.
int32_t Somme(const TypeDomaineHebdomadaire& Semaines) const;
// The weeks 1..52 of the set whose value is above 0.
TypeDomaineHebdomadaire SemainesNonNulles(const TypeDomaineHebdomadaire& Semaines) const;
NV_ARRAY_CLASS_END

// 13 monthly values, month m in element m - 1; month 1 is the month where the spreading starts and
// month 13 the same calendar month a year later. A month mask holds bit m for month m.
NV_ARRAY_CLASS_BEGIN(TFixedArrayOfValeurMensuelle, TFixedArrayOfInteger)
TFixedArrayOfValeurMensuelle() : TFixedArrayOfInteger(13, false) {}

static constexpr int32_t kNombreMois = 13;
int32_t ValeurMois(int32_t m) const;
void SetValeurMois(int32_t m, int32_t Valeur);
void Copier(const TFixedArrayOfValeurMensuelle& Autre);
// Spreads a weekly value over the months: every week of the set adds Valeur to the month of its
// day, the weeks counted from PremiereDate + Decalage. A negative offset, or a first date that is
// no date, leaves every month 0.
void Repartir(int32_t Valeur, const TypeDomaineHebdomadaire& Semaines, int32_t Decalage, TDateTime PremiereDate);
using Base::Ajouter;
void Ajouter(const TFixedArrayOfValeurMensuelle& Autre, uint16_t Masque);
int32_t Somme(uint16_t Masque) const;
NV_ARRAY_CLASS_END

// The monthly values whose spreading starts on a weekday.
NV_ARRAY_CLASS_BEGIN(TFixedArrayOfValeurMensuelleTZ, TFixedArrayOfValeurMensuelle)
TFixedArrayOfValeurMensuelleTZ() : TFixedArrayOfValeurMensuelle() {}
// Repartir with the offset -1 when SansJour, else the index of the weekday Jour.
void RepartirJour(int32_t Valeur, const TypeDomaineHebdomadaire& Semaines, bool SansJour, int32_t Jour,
                  TDateTime PremiereDate);
NV_ARRAY_CLASS_END

// Weekday arithmetic; days are ISO weekdays, 1 Monday to 7 Sunday.
class TJourTZ {
 public:
  TJourTZ() = delete;

  // The whole day of a date value (its day number since 30 December 1899). A value that is not a
  // finite number or lies outside years 1 to 9999 is no date: False.
  static bool JourDeDate(TDateTime Date, int64_t& Jour);
  // The ISO weekday of the date; 0 for no date.
  static int32_t JourDeLaSemaine(TDateTime Date);
  static int32_t IndiceJour(int32_t Jour) { return Jour - 1; }
  // The date of weekday Jour in the Monday-based week of Date; no date stays as it is.
  static TDateTime DateDuJour(int32_t Jour, TDateTime Date);
  static TDateTime DateDuJourDeLaSemaine(int32_t Jour, int32_t Semaine, TDateTime PremiereDate);
  // Shifts Jour by Decalage within Reference .. Reference + 6; Applique receives the shift applied.
  static int32_t DecalerJourDansLaSemaine(int32_t Jour, int32_t Decalage, int32_t Reference, int32_t& Applique);
};

namespace SupValeurHebdomadaire {
// A 64-bit value held to the signed 32-bit range.
int32_t Saturer(int64_t Valeur);
void Initialiser();
}  // namespace SupValeurHebdomadaire
