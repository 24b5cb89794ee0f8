// The displayed-period flag of courses: whether a course lies in the weeks that the connected user
// displays. The period and the setting that gives a fraction the flag of its whole course are the
// user's; they hold their start-up values (weeks 1 to 52, the setting on) until the per-user
// parameter stream sets them, after which every course's flag is recomputed.
//
// The rule: a course without potential weeks is in the period; a fraction takes its whole course's
// flag when the setting says so; a placed course is in it when its weeks are empty or meet the
// period; an unplaced course when its potential weeks meet the period. Main thread only.
#pragma once

#include <cstdint>
#include <optional>

#include "core/values/DomaineHebdomadaire.h"

namespace SupVisibiliteCours {

// The displayed period.
TypeDomaineHebdomadaire& Periode();
// The user's setting A16: a fraction takes the flag of its whole course.
bool& A16();

// Computes the flag of the course in the current-record buffer (no write to the table). Numero is
// the course's record number, 0 for a course not yet in the table (it has no whole course yet).
void ActualiserCoursDansPeriode(uint32_t Numero);
// Sets the flag of the current course to Valeur, or computes it, then rewrites the course (no
// notification).
void ActualiserDansPeriode(std::optional<bool> Valeur = std::nullopt);
// For the current course's whole course (the course itself unless it is a fraction), then for each
// fraction of a whole course, with the whole course's flag when the setting says so. Position restored.
void ActualiserDansPeriodeDuCours();
// Recomputes the flag of every course (once the user's period has arrived). Position restored.
void ActualiserTousLesCours();

// Back to the start-up values.
void Initialiser();

}  // namespace SupVisibiliteCours
