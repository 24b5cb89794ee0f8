// Weekly quotas (".APP"): one record per teacher holding the share of its annual service due each of
// the 52 weeks of the school year, in hundredths of an hour. The quotas are kept in the record itself
// (nothing is created or freed per record); QuotasDe fills a weekly value array from them for the
// hour totals. The quota requests come with the statuses and quotas. Main thread only.
#pragma once

#include <cstdint>

#include "base/SupValeurHebdomadaire.h"
#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementQuotite {
  int32_t Identifiant;
  uint32_t Enseignant;  // record number in ".RES", unique
  int32_t Quotas[52];   // week n in element n - 1
};
static_assert(sizeof(TypeEnregistrementQuotite) == 216);

namespace SupQuotite {

inline constexpr int32_t kPlace = 36;
inline constexpr uint32_t kTailleStockee = 212;
inline constexpr int32_t kOrdreEnseignant = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCodeCreerQuotitesProfesseur = 0x80220100;

TFichierSup& Fichier();
TypeEnregistrementQuotite* Article();

// The weekly quotas of a record: Quotas takes week n's quota in its week n.
void QuotasDe(const TypeEnregistrementQuotite& Quotite, TFixedArrayOfValeurHebdomadaire& Quotas);

// Clears the current-record buffer and fills its quotas for a teacher (record number in ".RES"; 0,
// or a record that holds no teacher, for none), after asking for annual contributions (a request of
// its own unless they already are annual).
// - CFA mode: the weeks of the teacher's status (the default status when the teacher or its status
//   does not exist) get its annual service (the default status's annual quota without a teacher),
//   divided by the number of those weeks when contributions are annual; no status: every week 0.
// - Otherwise: weeks 1 to 52 get the teacher's annual service (the base's default contribution
//   without a teacher), divided by 52 when contributions are annual.
// Divisions are signed, toward zero. The positions of the statuses and resources are kept.
void ValeursHebdomadairesQuotite(uint32_t Professeur);

// Creates the quota record of a teacher (record number in ".RES"): the server gets the teacher's
// identifier and the new record is made current; locally its quotas are computed as above. False,
// nothing sent, when the record number holds no teacher; True only when the new record is current.
// The resources' position is kept.
bool CreerQuotitesProfesseur(uint32_t Professeur);

}  // namespace SupQuotite
