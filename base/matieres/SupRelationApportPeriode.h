// Contribution-period relations (".RAP"): a class (diploma, TD or option) follows a subject
// contribution, optionally over a period of a calendar, and may be checked. A class has at most one
// relation with a contribution. A relation whose calendar is deleted loses its calendar and period.
//
// The file is verified and registers no order or change routines. The routines that move a table to
// look something up keep its position. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/VerificateurNetXi.h"
#include "base/fichiers/FichierSup.h"

// The in-memory record, as the file's declaration lays it out (a test checks that both agree).
struct TypeEnregistrementRelationApportPeriode {
  int32_t Identifiant;
  uint32_t Classe;      // record number in ".RES": a diploma, a TD or an option
  uint32_t Apport;      // record number in ".PAM"
  uint32_t Calendrier;  // record number in ".CAL", 0 for none
  uint32_t Periode;     // period of the calendar, 0 without a calendar
  uint8_t Coche;
  uint8_t Libre[3];
};
static_assert(sizeof(TypeEnregistrementRelationApportPeriode) == 24);

// A relation fails, with "Erreur sur la RelationApportPeriode numero = " and its record number, when
// its class is missing or not a diploma, TD or option; when its contribution is missing; when it
// names a calendar that does not exist; or when it is checked and its class is a diploma, an option
// whose contribution's course type is not of structure 3, or a TD whose contribution's course type is
// not of structure 2. Repairs nothing.
class TVerificateurRelationApportPeriode : public TVerificateurNetXi {
  NV_DECLARE_CLASS(TVerificateurRelationApportPeriode)
 public:
  using TVerificateurNetXi::TVerificateurNetXi;
  bool VerifierArticle(TErreur*& Erreur) override;
};

namespace SupRelationApportPeriode {

inline constexpr int32_t kPlace = 42;
inline constexpr uint32_t kTailleStockee = 20;
// Order 2 (class, contribution) is unique.
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreClasseApport = 2, kOrdreClasse = 3, kOrdreApport = 4,
                         kOrdreCalendrier = 5;
inline constexpr uint32_t kCodeCreerParDefaut = 0x80360000, kCodeCreerCochee = 0x80360101,
                          kCodeSupprimer = 0x80360300, kCodeSupprimerDeLaClasse = 0x80360301,
                          kCodeSupprimerDeLApport = 0x80360302;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementRelationApportPeriode* Article();

// --- Housekeeping
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: order 1.
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t InscrireFichier();
// Default contents: the request alone; there are no default relations.
bool ContenuParDefaut();
bool CreerRelationsApportPeriodeParDefaut();

// --- Requests
// Relates a class to a contribution without a calendar, checked or not; when the pair exists, sets
// the checked mark of its relation. Both must exist (False, nothing sent, otherwise). Through the
// server the verdict, the relation then current; locally True when inserted or changed.
bool CreerRelationCochee(uint32_t Classe, uint32_t Apport, bool Coche);
// Deletes the current relation: through the server the verdict; locally True when deleted.
bool SupprimerRelation();
// Deletes every relation of a class, respectively of a contribution (locally each one through
// SupprimerRelation). Through the server the verdict; locally True.
bool SupprimerRelationsDeLaClasse(uint32_t Classe);
bool SupprimerRelationsDeLApport(uint32_t Apport);
// The same for the current contribution of ".PAM"; a walk routine: answers 0.
int32_t SupprimerRelationsDeLApportCourant();

// --- Here only, without a request or a notification
// Sets calendar and period of the current relation to 0, updates it and marks the base modified.
bool EffacerCalendrier();
// EffacerCalendrier on every relation of that calendar, so that a deleted calendar leaves its freed
// record number nowhere: called after a calendar deletion is received. The number of relations
// changed; the position is kept.
uint32_t EffacerCalendrierDesRelations(uint32_t Calendrier);

// --- Reads
// Calls Routine with each relation of the current class of ".RES" (order 3), respectively of the
// current contribution (order 4), current, until one answers non-zero: that answer, else 0. The
// relations are collected first; the position is kept.
int32_t PourChaqueRelationDeLaClasseCourante(const std::function<int32_t()>& Routine);
int32_t PourChaqueRelationDeLApportCourant(const std::function<int32_t()>& Routine);

}  // namespace SupRelationApportPeriode
