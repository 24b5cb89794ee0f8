#include "base/SupValeurHebdomadaire.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/objects/GestionnaireNomsDeClasse.h"

NV_DEFINE_ARRAY_CLASS(TFixedArrayOfValeurHebdomadaire)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfValeurMensuelle)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfValeurMensuelleTZ)

int32_t SupValeurHebdomadaire::Saturer(int64_t Valeur) {
  return static_cast<int32_t>(std::clamp<int64_t>(Valeur, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

using SupValeurHebdomadaire::Saturer;

// ---- weekly values -------------------------------------------------------------------------------

int32_t TFixedArrayOfValeurHebdomadaire::ValeurSemaine(int32_t n) const {
  n &= 127;
  if (n < 1 || n > kNombreSemaines) return 0;
  return GetElement(n - 1);
}

void TFixedArrayOfValeurHebdomadaire::SetValeurSemaine(int32_t n, int32_t Valeur) {
  n &= 127;
  if (n < 1 || n > kNombreSemaines) return;
  SetElement(n - 1, Valeur);
}

void TFixedArrayOfValeurHebdomadaire::Copier(const TFixedArrayOfValeurHebdomadaire& Autre) {
  for (int32_t n = 1; n <= kNombreSemaines; ++n) SetValeurSemaine(n, Autre.ValeurSemaine(n));
}

void TFixedArrayOfValeurHebdomadaire::Remplir(int32_t Valeur, const TypeDomaineHebdomadaire& Semaines) {
  for (int32_t n = 1; n <= kNombreSemaines; ++n) SetValeurSemaine(n, Semaines.Contient(n) ? Valeur : 0);
}

void TFixedArrayOfValeurHebdomadaire::Ajouter(const TFixedArrayOfValeurHebdomadaire& Autre,
                                              const TypeDomaineHebdomadaire& Semaines) {
  for (int32_t n = 1; n <= kNombreSemaines; ++n)
    if (Semaines.Contient(n))
      SetValeurSemaine(n, Saturer(int64_t{ValeurSemaine(n)} + Autre.ValeurSemaine(n)));
}

int32_t TFixedArrayOfValeurHebdomadaire::Somme(const TypeDomaineHebdomadaire& Semaines) const {
  int64_t somme = 0;
  for (int32_t n = 1; n <= kNombreSemaines; ++n)
    if (Semaines.Contient(n)) somme += ValeurSemaine(n);
  return Saturer(somme);
}

TypeDomaineHebdomadaire TFixedArrayOfValeurHebdomadaire::SemainesNonNulles(const TypeDomaineHebdomadaire& Semaines) const {
  TypeDomaineHebdomadaire resultat;
  for (int32_t n = 1; n <= kNombreSemaines; ++n)
    if (Semaines.Contient(n) && ValeurSemaine(n) > 0) resultat.Inclure(n);
  return resultat;
}

// ---- monthly values ------------------------------------------------------------------------------

int32_t TFixedArrayOfValeurMensuelle::ValeurMois(int32_t m) const {
  if (m < 1 || m > kNombreMois) return 0;
  return GetElement(m - 1);
}

void TFixedArrayOfValeurMensuelle::SetValeurMois(int32_t m, int32_t Valeur) {
  if (m < 1 || m > kNombreMois) return;
  SetElement(m - 1, Valeur);
}

void TFixedArrayOfValeurMensuelle::Copier(const TFixedArrayOfValeurMensuelle& Autre) {
  for (int32_t m = 1; m <= kNombreMois; ++m) SetValeurMois(m, Autre.ValeurMois(m));
}

void TFixedArrayOfValeurMensuelle::Repartir(int32_t Valeur, const TypeDomaineHebdomadaire& Semaines, int32_t Decalage,
                                            TDateTime PremiereDate) {
  for (int32_t m = 1; m <= kNombreMois; ++m) SetValeurMois(m, 0);
  int64_t jour = 0;
  if (Decalage < 0 || !TJourTZ::JourDeDate(PremiereDate, jour)) return;
  jour += Decalage;
  int y0 = 0;
  unsigned m0 = 0, d = 0;
  DateTime::DecodeDate(static_cast<TDateTime>(jour), y0, m0, d);
  for (int32_t semaine = 1; semaine <= TFixedArrayOfValeurHebdomadaire::kNombreSemaines; ++semaine, jour += 7) {
    if (!Semaines.Contient(semaine)) continue;
    int y = 0;
    unsigned m = 0;
    DateTime::DecodeDate(static_cast<TDateTime>(jour), y, m, d);
    int32_t mois = (y - y0) * 12 + static_cast<int32_t>(m) - static_cast<int32_t>(m0) + 1;
    if (semaine == TFixedArrayOfValeurHebdomadaire::kNombreSemaines && mois == 1) mois = 13;
    SetValeurMois(mois, Saturer(int64_t{ValeurMois(mois)} + Valeur));
  }
}

void TFixedArrayOfValeurMensuelle::Ajouter(const TFixedArrayOfValeurMensuelle& Autre, uint16_t Masque) {
  for (int32_t m = 1; m <= kNombreMois; ++m)
    if ((Masque >> m) & 1) SetValeurMois(m, Saturer(int64_t{ValeurMois(m)} + Autre.ValeurMois(m)));
}

int32_t TFixedArrayOfValeurMensuelle::Somme(uint16_t Masque) const {
  int64_t somme = 0;
  for (int32_t m = 1; m <= kNombreMois; ++m)
    if ((Masque >> m) & 1) somme += ValeurMois(m);
  return Saturer(somme);
}

void TFixedArrayOfValeurMensuelleTZ::RepartirJour(int32_t Valeur, const TypeDomaineHebdomadaire& Semaines, bool SansJour,
                                                  int32_t Jour, TDateTime PremiereDate) {
  Repartir(Valeur, Semaines, SansJour ? -1 : TJourTZ::IndiceJour(Jour), PremiereDate);
}

// ---- weekdays ------------------------------------------------------------------------------------

bool TJourTZ::JourDeDate(TDateTime Date, int64_t& Jour) {
  // 1 January of year 1 and 31 December 9999, as day numbers.
  constexpr double kPremierJour = -693593.0;
  constexpr double kDernierJour = 2958465.0;
  if (!std::isfinite(Date)) return false;
  const double jour = std::floor(Date);
  if (jour < kPremierJour || jour > kDernierJour) return false;
  Jour = static_cast<int64_t>(jour);
  return true;
}

int32_t TJourTZ::JourDeLaSemaine(TDateTime Date) {
  int64_t jour = 0;
  if (!JourDeDate(Date, jour)) return 0;
  // Day 0, 30 December 1899, was a Saturday (6).
  return static_cast<int32_t>(((jour + 5) % 7 + 7) % 7) + 1;
}

TDateTime TJourTZ::DateDuJour(int32_t Jour, TDateTime Date) {
  const int32_t w = JourDeLaSemaine(Date);
  if (w == 0) return Date;
  return Date + (static_cast<double>(Jour) - w);
}

TDateTime TJourTZ::DateDuJourDeLaSemaine(int32_t Jour, int32_t Semaine, TDateTime PremiereDate) {
  return DateDuJour(Jour, PremiereDate) + 7.0 * (static_cast<double>(Semaine) - 1);
}

int32_t TJourTZ::DecalerJourDansLaSemaine(int32_t Jour, int32_t Decalage, int32_t Reference, int32_t& Applique) {
  const int64_t haut = int64_t{Reference} + 6 - Jour;
  const int64_t bas = int64_t{Reference} - Jour;
  int64_t applique = 0;
  // The cut may turn the shift around: a day already past the last one of the week comes back to it.
  if (Decalage > 0) applique = std::min<int64_t>(Decalage, haut);
  else if (Decalage < 0) applique = std::max<int64_t>(Decalage, bas);
  Applique = static_cast<int32_t>(applique);
  return Saturer(Jour + applique);
}

void SupValeurHebdomadaire::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfValeurHebdomadaire::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfValeurMensuelle::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfValeurMensuelleTZ::StaticClass());
}
