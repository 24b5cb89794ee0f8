// Student memberships (".RRE"): which students belong to which diplomas, TDs and options. The file
// is declared with the base's other files; its requests come with the memberships themselves.
#pragma once

#include <cstdint>

namespace SupRelationRessourceEleve {

// Walk routine: removes the current membership with the two bytes Option and Valeur of its
// deletion request; answers 0. Not built yet: raises ENonConstruit.
int32_t SupprimerRelationCourante(uint8_t Option, uint8_t Valeur);

}  // namespace SupRelationRessourceEleve
