// Weekly quotas (".APP"): one record per teacher holding the share of its annual service due each of
// the 52 weeks of the school year, in hundredths of an hour. The quotas are kept in the record itself
// (nothing is created or freed per record); QuotasDe fills a weekly value array from them for the
// hour totals. The resource requests create, refill and delete a teacher's record through the
// requests here. Main thread only.
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
inline constexpr uint32_t kCodeCreerQuotitesProfesseursParDefaut = 0x80220000,
                          kCodeCreerQuotitesProfesseur = 0x80220100,
                          kCodeAffecterQuotitesDuProfesseur = 0x80220202,
                          kCodeSupprimerQuotitesProfesseur = 0x80220300;

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

// The default contents: one request without data; locally there are no default rows.
bool CreerQuotitesProfesseursParDefaut();

// Refills the quotas of the current teacher (the current resource). The server gets the teacher's
// identifier with Valeur (4 bytes) and its verdict is the result. Locally Valeur is not used: the
// teacher's quota record is created first when it has none (False when that fails), then the weeks
// that have a quota greater than 0 (weeks 1 to 52 when none has) get the teacher's annual service,
// divided (signed, toward zero) by 41 in CFA mode or 52 otherwise when contributions are annual; the
// other weeks get 0. True only when the record was changed. False, nothing sent, when the current
// resource is not a teacher. The refilled record is left current.
bool AffecterQuotitesDuProfesseur(int32_t Valeur);

// Deletes the current quota record (the server gets its identifier). False without a current record.
bool SupprimerQuotitesProfesseur();
// Deletes the quota record of a teacher (record number in ".RES") when it has one; True when it has
// none.
bool SupprimerQuotitesDuProfesseur(uint32_t Professeur);

// Makes the quota record of a teacher current: True when found; else the former current record is
// current again.
bool ChercherQuotitesDuProfesseur(uint32_t Professeur);
// The same for the current resource.
bool ChercherQuotitesDuProfesseurCourant();

}  // namespace SupQuotite
