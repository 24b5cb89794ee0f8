// Group composition: the head-counts of the groupings, which follow the management by students and
// of head-counts.
#pragma once

namespace SupGroupe {

// Recomputes the head-count of every grouping. Not built yet: raises ENonConstruit.
void RecalculerEffectifsGroupements();

}  // namespace SupGroupe
