// Course splitting (".RPC"): each record links one fraction to its whole course. A whole course
// (kind 0) keeps the common data of a split course; each fraction (kind 1) is a course of its own.
// This unit answers the questions about a split course that the course file and the extraction
// flags need: its whole course and the walk over its fractions. The requests that split courses,
// and the other questions, come with the splitting of courses.
//
// Every routine works on the current course of the course file and saves and restores the position
// of ".RPC". Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/fichiers/FichierSup.h"

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

// Refreshes the retained flag of the current course, its whole course and its fractions (the
// visibility filters of subjects and resources). The filters do not exist yet: until the unit that
// builds them installs its routine in RoutineCoursRetenu, every course keeps the retained flag it
// has (1, as loaded), and this does nothing.
void ActualiserCoursRetenu();
std::function<void()>& RoutineCoursRetenu();

}  // namespace SupFractionnementCours
