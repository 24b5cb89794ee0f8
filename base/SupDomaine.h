// The weeks of the courses that the connected user works on. Course changes (weeks, places,
// sessions) are confined to the working period: the weeks that the user displays less the weeks that
// the base locks. The period starts as the whole year (weeks 1 to 52); the per-user parameter
// stream sets it when it arrives. The period modification of courses is added to this unit with the
// requests that change the weeks of courses. Main thread only.
#pragma once

#include "core/values/DomaineHebdomadaire.h"

namespace SupDomaine {

// The process-wide working period.
TypeDomaineHebdomadaire& PeriodeDeTravail();

// Back to weeks 1 to 52.
void Initialiser();

}  // namespace SupDomaine
