#include "base/eleves/SupRelationRessourceEleve.h"

#include "core/objects/Exceptions.h"

namespace SupRelationRessourceEleve {

int32_t SupprimerRelationCourante(uint8_t, uint8_t) {
  throw ENonConstruit("SupRelationRessourceEleve.SupprimerRelationCourante: the student memberships are not built yet");
}

}  // namespace SupRelationRessourceEleve
