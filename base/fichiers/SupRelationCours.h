// Course relations (".RLC"): which resources (teachers, groupings, classes, rooms) take part in which
// course, and in which weeks. One record links one resource to one course for a set of weeks, its
// presence. A room group may appear more than once in a course; the rank of a relation among those of
// the same resource in the same course (by increasing record number) is meaningful, and the fractions
// of a split course hold the relation of the same rank as their whole course.
//
// This unit holds the file (record, stored layout, orders, registered routines), the relation
// requests, the walker TParcoursRelationsCours over a private copy of some relations, and the walks
// and reads that the other units, the placement engine and the ports use. Walk routines take one
// pointer-sized argument and stop the walk when they answer True, which the walk then answers.
// Positions are saved and restored unless an operation says it makes a record current. Main thread
// only.
#pragma once

#include <array>
#include <cstdint>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"
#include "core/records/Xi.h"
#include "core/values/DomaineHebdomadaire.h"

struct TypeEnregistrementRelationCours {
  int32_t Identifiant;
  uint32_t Ressource;  // record number in ".RES"
  uint32_t Cours;      // record number in ".CRS"
  uint8_t Genre;       // the resource's kind, so that order 2 sorts a course's resources by kind
  TypeDomaineHebdomadaire Semaines;  // the presence of the resource in the course
};
static_assert(sizeof(TypeEnregistrementRelationCours) == 20);

namespace SupRelationCours {

inline constexpr int32_t kPlace = 29;
inline constexpr uint32_t kTailleStockee = 16;
inline constexpr int32_t kOrdreRessourceCours = 1, kOrdreCoursGenre = 2, kOrdreIdentifiant = 3;
inline constexpr uint32_t kCodeCreerParDefaut = 0x801A0000, kCodeAjouterRessource = 0x801A0100,
                          kCodeDupliquer = 0x801A0102, kCodeModifierPresence = 0x801A0200,
                          kCodeSupprimerRelation = 0x801A0300, kCodeSupprimerRessourcesDuCours = 0x801A0302,
                          kCodeRetirerRessource = 0x801A0500;
inline constexpr int32_t kTailleAjout = 24, kTailleDuplication = 16, kTailleRetrait = 24;

using TypeRoutineRelation = TypeFonctionXi;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementRelationCours* Article();

// --- Housekeeping
void ViderArticle();
bool CreerTable();
// Creates a table of relations with the file's three orders, order 2 unique or not (a former table is
// not freed); False when the engine refuses.
bool CreerTableRelations(void*& Table, bool Unique);
void LibererTable();
// The file's search routine: order 3.
bool ChercherParIdentifiant(int32_t Identifiant);
void EmpilerPosition();
void DepilerPosition();
// Request 0x801A0000 alone: there are no default relations.
bool CreerRelationsParDefaut();
int32_t InscrireFichier();

// A walk over a private copy of some relations. The copy's identifier field holds the relation's
// record number in ".RLC".
class TParcoursRelationsCours {
 public:
  TParcoursRelationsCours();
  ~TParcoursRelationsCours();
  TParcoursRelationsCours(const TParcoursRelationsCours&) = delete;
  TParcoursRelationsCours& operator=(const TParcoursRelationsCours&) = delete;

  // Copies the relations of a course (order 2), respectively of a resource in a course (order 1).
  void AjouterRelationsDuCours(uint32_t Cours);
  void AjouterRelationsRessourceCours(uint32_t Ressource, uint32_t Cours);
  // Calls the routine for each copied relation in the private order, the relation current in ".RLC";
  // stops at the first True, which it answers. A relation that no longer exists answers ValeurEchec.
  bool Parcourir(int32_t Ordre);
  uint32_t Nombre() const;

  bool AllerARelation = true;      // make each visited relation current in ".RLC"
  bool SauverRelation = true;      // save and restore the ".RLC" position around each visit
  bool SauverRessource = true;     // save and restore the ".RES" position
  bool SauverCours = true;         // save and restore the ".CRS" position
  bool SansFiltre = true;          // no week filter
  bool AllerARessource = false;    // make the relation's resource current
  bool AllerACours = false;        // make the relation's course current
  TypeDomaineHebdomadaire Filtre = TMethodesDomaine::Annee();
  bool AvecSemainesVides = false;  // relations without weeks pass the filter
  bool ValeurEchec = false;
  TypeRoutineRelation Routine = nullptr;
  intptr_t Donnee = 0;

 private:
  void Copier(int32_t Ordre, uint32_t Ressource, uint32_t Cours);
  void* table_ = nullptr;
};

// --- Requests. In exclusive mode the file is changed locally; otherwise the server is asked.
// Adds a relation (record numbers). Through the server the new relation is current on acceptance.
// Locally: both records must exist; a resource other than a room group must not be in the course
// already; the weeks are Semaines, within the course's weeks unless it has mobile sessions, and
// must not be empty.
bool AjouterRessourceAuCours(uint32_t Cours, uint32_t Ressource, const TypeDomaineHebdomadaire& Semaines);
// Changes the presence weeks of the current relation (needs the right to change courses). Locally
// weeks outside a fixed course's weeks (or no weeks for a course with mobile sessions) delete it.
bool ModifierPresenceRessource(const TypeDomaineHebdomadaire& Semaines);
// Deletes the current relation; for a whole course with AussiFractions also the relation of the same
// resource and rank in each fraction. A whole course gets its compaction state recomputed. True when
// the server accepted, respectively when the relation was deleted.
bool SupprimerRelation(bool AussiFractions);
// Notifies the deletion of the current relation and deletes it; True.
bool SupprimerRelationCourante();
bool SupprimerRelationParNumero(uint32_t Relation, bool AussiFractions);
void SupprimerRelationsDeLEnsemble(const TypeEnsembleMemoire& Ensemble, bool AussiFractions);
// Deletes every relation of the current course.
bool SupprimerRessourcesDuCours(bool AussiFractions);
// Takes a resource out of a course for the weeks of Semaines within the working period: through the
// server the verdict; locally every relation of the resource in the course loses those weeks, one
// left without weeks is deleted, and the result is True when something changed.
bool RetirerRessourceDuCours(uint32_t Cours, uint32_t Ressource, const TypeDomaineHebdomadaire& Semaines);
// The same for the current course and the current resource.
bool RetirerRessourceCourante(const TypeDomaineHebdomadaire& Semaines);
// Gives the target course the resources of the source course over Semaines, reusing the target's own
// relations first and deleting those left over. With SansSallesInaccessibles the rooms the connected
// user may not access are skipped.
bool DupliquerRessourcesDuCours(uint32_t Source, uint32_t Cible, const TypeDomaineHebdomadaire& Semaines,
                                bool SansSallesInaccessibles);
// Trims the current course's relations to its weeks: a relation partly outside gets the
// intersection, one wholly outside is deleted.
void ActualiserPresencesDuCours();

// --- Walks and reads
// Each relation of the course in order 2 (by kind, then resource), the relation current.
bool PourChaqueRelationDuCours(uint32_t Cours, TypeRoutineRelation Routine, intptr_t Donnee, bool SauverPosition);
bool PourChaqueRessourceDuCoursCourant(TypeRoutineRelation Routine, intptr_t Donnee, bool SauverPosition);
// Each relation of the resource in the course, by increasing record number.
bool PourChaqueRelationRessourceCours(uint32_t Ressource, uint32_t Cours, TypeRoutineRelation Routine,
                                      bool SauverPosition, intptr_t Donnee);
bool PourChaqueRelationDeLaRessourceCourante(uint32_t Cours, TypeRoutineRelation Routine, intptr_t Donnee,
                                             bool SauverPosition);
uint32_t NombreOccurrencesRessourceDansCours(uint32_t Cours, uint32_t Ressource);
// Fills Ensemble (sorted) with the record numbers of the relations between them.
void RelationsRessourceCours(uint32_t Ressource, uint32_t Cours, TypeEnsembleMemoire& Ensemble);
// Makes the Rang-th (1-based, by increasing record number) relation between them current; False,
// nothing moved, when Rang is 0 or there are fewer.
bool AllerARelationDansCours(uint32_t Cours, uint32_t Ressource, uint32_t Rang);
// The rank of the current relation among the relations of its resource in its course; 0 without one.
uint32_t RangRelationDansCours();
// Makes current the relation of the current relation's resource and rank in the current course,
// respectively in the given course; False, nothing moved, when there is none.
bool AllerARelationHomologue();
bool AllerARelationHomologueDansCours(uint32_t Cours);
// For the current resource (not a grouping): one of its relations in the course meets the given weeks
// within the course's effective weeks.
bool RessourcePresenteDansCours(uint32_t Cours, const TypeDomaineHebdomadaire& Semaines);
// The current resource (not a grouping) has a relation with the current course whose weeks meet the
// course's weeks (any relation for a course with mobile sessions).
bool RessourceCouranteDansCoursCourant();
// The number of distinct diplomas, TDs and options of the course.
uint32_t NombreClassesDuCours(uint32_t Cours);
// The number of distinct resources of the current course that are not groupings; without mobile
// sessions only the relations that meet its weeks count.
uint32_t NombreRessourcesDuCours();
// For each week 1 to 52 (index 0 to 51): the relations of the current course of kind 5 whose resource
// is the room or the room group that holds it, and which hold that week.
void OccupationsSalleParSemaine(uint32_t Salle, std::array<uint32_t, 52>& Occupations);
// Adds the current course's resources to the set; False (a walk routine over courses).
bool AjouterRessourcesDuCours(TypeEnsembleMemoire& Ensemble);

}  // namespace SupRelationCours
