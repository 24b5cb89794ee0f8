// Course splitting (".RPC"): each record links one fraction to its whole course. A whole course
// (kind 0) keeps the common data of a split course; each fraction (kind 1) is a course of its own.
// This unit answers the questions about a split course (its whole course, its fractions, their weeks
// and statuses), holds the requests that link and unlink fractions, and keeps the retained flag of
// the courses of a split course consistent: a split course is retained when one of its fractions is.
//
// Every routine works on the current course of the course file and saves and restores the position
// of ".RPC". Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"
#include "core/values/DomaineHebdomadaire.h"

// As the file's declaration lays the record out.
struct TypeLienFractionnement {
  int32_t Identifiant;
  uint32_t CoursEntier;  // record number in ".CRS"
  uint32_t Fraction;     // record number in ".CRS"
};
static_assert(sizeof(TypeLienFractionnement) == 12);

namespace SupFractionnementCours {

inline constexpr int32_t kPlace = 30;
inline constexpr int32_t kOrdreCoursEntier = 2;  // (whole course, fraction)
inline constexpr int32_t kOrdreFraction = 3;     // fraction, unique
inline constexpr uint32_t kCodeCreerParDefaut = 0x801B0000, kCodeCreerLien = 0x801B0100,
                          kCodeSupprimerLien = 0x801B0300, kCodeSupprimerLiensDuCours = 0x801B0303;

TFichierSup& Fichier();
TypeLienFractionnement* Article();

// The whole course of a fraction (its record number), 0 when the fraction has no link.
uint32_t CoursEntierDeLaFraction(uint32_t Fraction);

// A whole course: True at once. A fraction: makes its whole course current and answers True, or
// False with the course table unchanged when it has no link. A simple course: False.
bool AllerAuCoursEntier();
// The current course itself unless it is a fraction; for a fraction its whole course, 0 without link.
uint32_t NumeroCoursEntier();
// With AvecCours, Traitement on the current course first; then on each fraction of the current
// course (collected first, by increasing record number) whose link and record still exist, with the
// fraction current. Stops at the first True, which it answers. The course current at the start is
// current again at the end.
bool PourChaqueFractionDuCours(const std::function<bool()>& Traitement, bool AvecCours);

// For a whole course: makes its first fraction (by record number) current; False when it has none.
bool AllerALaPremiereFraction();
// For a fraction: Traitement on each fraction of its whole course in link order, the current one only
// with AvecElleMeme, until one answers True; the fraction is current again at the end. False at once
// for a course that is not a fraction.
bool PourChaqueAutreFraction(const std::function<bool()>& Traitement, bool AvecElleMeme);
int32_t NombreFractionsDuCours();
// Fractions placed (status 1, 2 or 5), respectively not placed (0, 3 or 4).
int32_t NombreFractionsPlacees();
int32_t NombreFractionsNonPlacees();
// For a whole course: adds to Ensemble each fraction whose status is in Etats (bit s for status s)
// and whose potential weeks meet Semaines; True when Ensemble is not empty afterwards. False at once
// for another kind.
bool FractionsSelonEtats(TypeEnsembleMemoire& Ensemble, uint8_t Etats, const TypeDomaineHebdomadaire& Semaines);
// The weeks of the placed fractions of the current course, respectively of the other fractions of
// the current fraction's whole course.
void SemainesPlaceesDesFractions(TypeDomaineHebdomadaire& Semaines);
void SemainesPlaceesDesAutresFractions(TypeDomaineHebdomadaire& Semaines);
// The weeks, the potential weeks and the number of weeks of the current course's whole course; empty
// or 0 when there is none.
void SemainesDuCoursEntier(TypeDomaineHebdomadaire& Semaines);
void DomaineDuCoursEntier(TypeDomaineHebdomadaire& Semaines);
uint32_t NombreSemainesDuCoursEntier();
// The sum of the numbers of weeks of the other fractions of the current fraction's whole course.
uint32_t NombreSemainesDesAutresFractions();
// Routine with each link current, first the links whose whole course is the current course, then the
// current course's own link as a fraction, until one answers non-zero: that answer, else 0.
int32_t PourChaqueLienDuCours(const std::function<int32_t()>& Routine);

// The visibility filter of the current course (its subject, its resources). The unit that builds the
// filters installs it; until then every course passes.
std::function<bool()>& RoutineCoursRetenu();
bool CoursRetenu();
// Refreshes the retained flag of the current course: a simple course its own; a whole course and its
// fractions, True when one fraction passes the filter (the whole course itself is not tested). A
// record is rewritten only when its flag changes; nothing is notified.
void ActualiserCoursRetenu();
// Adds the current course's record number to Ensemble unless it is a fraction; False.
bool AjouterCoursAEnsemble(TypeEnsembleMemoire& Ensemble);

// --- Requests
// Links a fraction (kind 1) to a whole course (kind 0), both by record number; nothing is sent for a
// record that does not exist. True when the new link exists.
bool CreerLienFractionnement(uint32_t CoursEntier, uint32_t Fraction);
// Deletes the current link; False (a routine for PourChaqueLienDuCours).
int32_t SupprimerLienFractionnement();
// Deletes every link of the current course: its fractions' as a whole course, its own as a fraction.
bool SupprimerLiensDuCours();
// The same for the course of that record number (the position kept); False when it does not exist.
bool SupprimerLiensDuCoursNumero(uint32_t Cours);
bool CreerFractionnementsParDefaut();

}  // namespace SupFractionnementCours
