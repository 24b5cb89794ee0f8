// Teacher statuses (".STP"): a category of teacher with its annual quota split into teaching time
// T1, a flat T2 and other time T3, and its weekly limits. One status is the base's default one,
// which a new teacher takes. This unit holds the file, its requests, the default statuses and the
// reads the teachers and the weekly quotas use.
//
// Service values count hundredths of an hour. The remaining service of a status is annual quota -
// T1 - T3 - flat T2; its T2 ratio is the remaining service divided by T1, 0 when T1 is 0 or less.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/values/DomaineHebdomadaire.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementStatut {
  int32_t Identifiant;
  uint8_t Nom[31];  // counted string of 30, unique
  uint8_t Libre1;
  int32_t QuotaAnnuel;
  int32_t T1;
  int32_t T2Forfait;
  int32_t T3;
  uint8_t ParDefaut;  // 1 for the base's default status
  uint8_t Libre2[3];
  int32_t MaxT1Semaine;
  int32_t MaxT1Cycle;
  int32_t QuotaHebdomadaire;
  TypeDomaineHebdomadaire Domaine;  // the weeks of application
  uint8_t Libre3;
};
static_assert(sizeof(TypeEnregistrementStatut) == 76);

namespace SupStatut {

inline constexpr int32_t kPlace = 16;
inline constexpr uint32_t kTailleStockee = 72;
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreNom = 2, kOrdreParDefaut = 3;
// The ratio whose nearest status a teacher without a known status takes (x 10000).
inline constexpr double kRatioParDefaut = 4887.0;
inline constexpr uint32_t kCodeCreerStatutProfesseur = 0x80250100, kCodeModifierDefautStatutProfesseur = 0x80250205;

TFichierSup& Fichier();
TypeEnregistrementStatut* Article();

// --- Requests. Through the server each sends its data and the verdict is the result; locally
// (exclusive mode) the table changes, the change is notified and the base marked modified.
// Creates a status (name cut to 30): the server gets 44 bytes (the name as a counted string of 30,
// then at 32 the annual quota, T1 and T3) and the new status is current when it is found; locally
// it takes the defaults of a new status. A name another status has (case ignored) fails locally.
bool CreerStatutProfesseur(const std::string& Nom, int32_t Quotite, int32_t T1, int32_t T3);
// The default byte of the current status (1 byte with the status's identifier). False, nothing sent,
// without a current status.
bool ModifierDefautStatutProfesseur(uint8_t Defaut);
// The same on the status at that record number; False, nothing sent, when it holds none. Position
// kept.
bool ModifierDefautStatutProfesseurNumero(uint32_t Numero, uint8_t Defaut);
// Makes the status at that record number the default one: the current default status (if any) gets
// 0, then that one 1, two requests. False, nothing sent, for 0 or a record number that holds no
// status; False, the second request not sent, when the first fails. Position kept.
bool DefinirStatutParDefaut(uint32_t Numero);
// DefinirStatutParDefaut of the status nearest to Cible (False when none lies nearer than Cible).
bool DefinirStatutParDefautLePlusProche(double Cible);
// The default contents: six statuses, each its own creation request, then, when none is the default,
// the one nearest to kRatioParDefaut ("PEG") made the default. True when every request succeeded.
bool CreerStatutsParDefaut();

// Makes the default status current: True when one exists; else the former current record is
// current again.
bool ChercherStatutParDefaut();
// The record number of the status whose T2 ratio x 10000 lies nearest to Cible, counting only
// statuses closer than Cible itself; ties keep the lower record number; 0 when none. Position kept.
uint32_t ChercherStatutLePlusProche(double Cible);

// Calls Routine with each status current, in record-number order, until it answers non-zero; the
// result is that answer, else 0. The statuses are those of the start of the walk; the position is
// kept.
int32_t PourChaqueStatut(const std::function<int32_t()>& Routine);

// Of the current status (0 without a table).
int32_t ServiceRestant();
double RatioT2();
// N x the T2 ratio, rounded to the nearest integer (ties to even), within the 32-bit range.
int32_t T2Arrondi(int32_t N);

}  // namespace SupStatut

namespace SupStatutsAnciens {
// The maximum T1 per cycle and the weekly quota that bases below 3.1.6 carry for their teacher
// statuses in their base parameter block, which sets them when it is read; 0 when it held none.
// A status read in the layouts of those bases takes them.
struct TypeStatutsAnciens {
  int32_t MaxT1Cycle = 0;
  int32_t QuotaHebdomadaire = 0;
};
TypeStatutsAnciens& Valeurs();
}  // namespace SupStatutsAnciens
