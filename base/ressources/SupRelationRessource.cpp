#include "base/ressources/SupRelationRessource.h"

#include "core/objects/Exceptions.h"

namespace SupRelationRessource {

uint32_t DiplomeDeLaRessource(uint32_t) {
  throw ENonConstruit("SupRelationRessource.DiplomeDeLaRessource: the resource relations are not built yet");
}

}  // namespace SupRelationRessource
