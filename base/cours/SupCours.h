// Courses (".CRS"): the teaching activities of the timetable. A course teaches one subject for a
// duration (in places of the weekly grid), placed at one place for a set of weeks; resources are
// attached to it by the course relations. A course may be split: its whole course (kind 0) keeps the
// common data and each fraction (kind 1) is a course of its own; a course that is not split is simple
// (kind 2).
//
// This unit holds the course file: its in-memory record, the twelve stored layouts (A to K and the
// current one, see CoursDispositions.h) read by one converter driven by a table of offsets, the
// writer of the current layout, the routines registered with the table registry, the verifier and the
// reads that the other units, the placement engine and the course port use. The changes of courses
// are requests of their own unit.
//
// Statuses: placed 1, 2 and 5; unplaced 0, 3 and 4 (a new course has 3). A placed course has a place
// and its sessions lie in its weeks; an unplaced one has the place none (PlaceAucune) and its
// sessions may lie anywhere in its potential weeks.
//
// Calls into units that are not built yet follow one rule. A step that only keeps another unit's
// state in step (the resources whose occupancy is stale, the retained flags of the visibility
// filters) does nothing until that state exists: the unit that builds it installs its routine
// (Etapes, SupFractionnementCours::RoutineCoursRetenu). Any other call (the placement engine through
// MoteurPlacement, the repair of a course type) raises ENonConstruit, before anything changes.
//
// Every routine works on the current course unless it takes a record number; those that move the
// table save and restore its position. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/VerificateurNetXi.h"
#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"
#include "core/values/DateTime.h"
#include "core/values/DomaineHebdomadaire.h"

// The in-memory course record, as the file's declaration lays it out (a test checks that both agree).
struct TypeEnregistrementCours {
  int32_t Identifiant;
  uint8_t Genre;   // 0 whole course, 1 fraction, 2 simple course
  uint8_t Statut;  // 0..5
  TypeDomaineHebdomadaire Semaines;              // where the sessions are placed
  TypeDomaineHebdomadaire SemainesPotentielles;  // where they may be placed
  TypeDomaineHebdomadaire SemainesRetenues;      // of a remembered placement; never stored
  uint8_t DansPeriode;     // in the user's displayed period; never stored
  uint8_t Extrait;         // in the current extraction; never stored
  uint8_t Retenu;          // passes the visibility filters; never stored
  uint8_t SeancesMobiles;  // the number of weeks counts sessions placed among the potential weeks
  uint8_t Compactage;      // flags of the compaction of like courses; 4: fractions not changed through it
  uint8_t ModePlace;       // 0 fixed, 1 variable, 2 variable with cumulable sessions
  uint8_t Libre1[3];
  uint32_t Place;  // first place in the grid; PlaceAucune for none
  uint32_t Duree;  // in places
  uint32_t NombreSemaines;
  uint32_t PlaceRetenue;  // never stored
  uint32_t Matiere;       // record number in ".MAT"
  uint32_t Ponderation;   // record number in ".PON"
  uint32_t Ponderation2;  // record number in ".PON"; the weighting of CFA mode
  uint32_t Typologie;     // record number in ".TYP"
  uint32_t Regroupement;  // record number in ".RGC", 0 for none
  int32_t ValeurPlacement;
  int32_t CorrectionPlacement;  // never stored
  int32_t Tri[5];               // never stored
  uint32_t ValeurCompactage;    // never stored
  uint32_t ValeurPortee;        // carried unchanged
  uint8_t AccesLimite;
  uint8_t Proprietaire[4];  // counted string of 3
  uint8_t Libre2[3];
  uint32_t Memo;  // record number in ".MCR", 0 for none
  uint32_t Effectif;
  uint8_t ModifiePar[4];  // counted string of 3
  TDateTime DateModification;
  uint32_t DerniereModification;  // the request code of the last change
  uint32_t Site;                  // record number in ".SIT", 0 for none
};
static_assert(sizeof(TypeEnregistrementCours) == 144);

// Accepts a course whose course type designates an existing ".TYP" record; reports any other with
// "Erreur sur le cours numero = " and its record number. Repairs nothing.
class TVerificateurCours : public TVerificateurNetXi {
  NV_DECLARE_CLASS(TVerificateurCours)
 public:
  using TVerificateurNetXi::TVerificateurNetXi;
  bool VerifierArticle(TErreur*& Erreur) override;
};

namespace SupCours {

inline constexpr int32_t kPlace = 28;
inline constexpr uint32_t kTailleStockee = 102;
inline constexpr uint8_t kCoursEntier = 0, kFraction = 1, kCoursSimple = 2;
inline constexpr uint8_t kStatutNouveau = 3;
inline constexpr uint8_t kCompactageFractionsSeparees = 4;
inline constexpr uint32_t kDerniereModificationInconnue = 0x800100FF;
inline constexpr uint32_t kCodeCreerCoursParDefaut = 0x80190000;
// Orders: 1 counting by category, 2 subject, 3 sort values (declared only), 4 identifier, 5 place,
// 6 last modified by, 7 kind.
inline constexpr int32_t kOrdreCompte = 1, kOrdreMatiere = 2, kOrdreTri = 3, kOrdreIdentifiant = 4,
                         kOrdrePlace = 5, kOrdreModifiePar = 6, kOrdreGenre = 7;

TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementCours* Article();

// The place none: the grid's total number of places, set for each base before its courses load.
uint32_t& PlaceAucune();

// Steps that keep state of other units in step with the courses. That state does not exist yet:
// each step does nothing until the unit that builds its state installs it.
struct TypeEtapesCours {
  // Adds every resource of the current course to the resources whose occupancy must be recomputed.
  std::function<void()> AjouterRessourcesDuCours;
};
TypeEtapesCours& Etapes();

// --- Housekeeping
bool CreerTable();
// The file's search routine: order 4.
bool ChercherCoursParNumero(int32_t Identifiant);
void EmpilerPosition();
void DepilerPosition();
bool ContenuParDefaut();
// Request 0x80190000 without data; there are no default courses.
bool CreerCoursParDefaut();
int32_t InscrireFichier();
void FermerBase();

// --- Reads
bool EstStatutPlace(uint8_t Statut);
// The weeks when the status is placed, else the potential weeks.
TypeDomaineHebdomadaire SemainesEffectives();
// The status of higher priority (0, 3, 2, 5, 1, 4 from the highest; a status above 5 ranks lowest);
// on equal priority EtatB.
uint8_t EtatPrioritaire(uint8_t EtatA, uint8_t EtatB);
// Gives the whole course of the current course the status of highest priority among its fractions
// (folded from 4), written and notified when it changes. Position restored.
void ActualiserEtatCoursFractionne();
// [0] retained, in period and extracted; [1] retained and in period; [2] retained; [3] all; over the
// courses that are not whole courses.
void CompterCours(std::array<uint32_t, 4>& Compte);
// The memo's text: mode 0 as stored; any other mode turns each line break (CR LF, CR, LF) into a blank.
std::string TexteMemo(int32_t Mode);
// Sets the memo of the current course (the caller updates the course afterwards): an empty text
// deletes it, another text changes or creates it.
void EcrireMemo(const std::string& Texte);
uint32_t SiteDuCours();
// Calls Routine with every course of that site current, until it answers True.
bool PourChaqueCoursDuSite(uint32_t Site, const std::function<bool()>& Routine);
bool CoursRetenuEtExtrait();
bool FractionPlacee();
bool FractionPlaceeSouple();
bool CoursDeLaMatiereCourante();
bool FractionsDeMemeMatiere();
void AjouterCoursSansSite(TypeEnsembleMemoire& Selection);
void AjouterCoursCourant(TypeEnsembleMemoire& Selection);
void AjouterCoursCourantEnFin(TypeEnsembleMemoire& Selection);
// Adds the current course when it is unplaced, or when one of its weeks puts the day of its place
// between Debut and Fin (both included), counted from the base's first date.
void AjouterCoursEntreDates(TypeEnsembleMemoire& Selection, TDateTime Debut, TDateTime Fin);
// False when the course type designates an existing ".TYP" record. With Reparer an invalid type is
// set to the default one by the course-type request, which comes with the course changes: until then
// the repair raises ENonConstruit before anything changes.
bool TypeCoursInvalide(bool Reparer);
// The longest duration the course could take at its place, extending it before (AvantLaPlace) or
// after it, over its weeks in the working period, through the placement engine (ENonConstruit while
// the engine is not installed and a placed course needs it).
int32_t DureeMaximale(bool AvantLaPlace, bool Tous);

// The rooms whose occupancy a change of the current course's placement affects become stale: for a
// placed course, or always with Toujours, every resource of the course is added to the resources
// whose occupancy must be recomputed. Semaines are the weeks the change concerns (the rooms linked
// through room groups are refreshed over them once the room groups are built).
void ActualiserGroupesDeSalles(const TypeDomaineHebdomadaire& Semaines, bool Toujours);
// The same for every course of the list (record numbers), each over its own weeks; position kept.
void ActualiserGroupesDeSallesDesCours(const TypeEnsembleMemoire& Liste, bool Toujours);

// --- Changes of courses (the course requests, not built yet)
// Deletes the current course: CoursEntier 1 deletes a whole course with its fractions, Options are
// the deletion flags, PeriodeEntiere deletes it over every week rather than the working period.
// Raises ENonConstruit until the course requests are built.
bool SupprimerCoursCourant(int32_t CoursEntier, int32_t Options, bool PeriodeEntiere);

// --- Moving a course to another grid while a base stored with another grid is read.
struct TypeGrilleConversion {
  int32_t PlacesParHeure;  // Q (old) or P (new)
  int32_t PlacesParJour;   // Dold or D
  uint8_t JoursOuvres;     // bit d for day d
};
struct TypeCoursConverti {
  uint8_t Statut;
  uint32_t Duree;
  uint32_t PlaceRetenue;  // in the new grid; the new grid's none when the place cannot be kept
};
// The course's status, duration and place in the old grid give its status, duration and remembered
// place in the new one. A zero divisor or a place outside the old grid unplaces the course.
// NouvelleAucune is the new grid's place none.
TypeCoursConverti ConvertirGrille(uint8_t Statut, uint32_t Place, uint32_t Duree, const TypeGrilleConversion& Ancienne,
                                  const TypeGrilleConversion& Nouvelle, uint32_t NouvelleAucune);

}  // namespace SupCours
