// Resource relations (".RLR"): which diploma a TD or an option belongs to, which classes a grouping
// holds. The relations come with their own requests and containment walks; until then the reads
// below raise ENonConstruit. Main thread only.
#pragma once

#include <cstdint>

namespace SupRelationRessource {

// The record number of the diploma of a resource (a TD, an option), 0 when none.
uint32_t DiplomeDeLaRessource(uint32_t Ressource);

}  // namespace SupRelationRessource
