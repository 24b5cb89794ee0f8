// Resource relations (".RLR"): which diploma a TD or an option belongs to, which classes a grouping
// holds, which rooms a room group holds (a relation from the group to each of its rooms, both of
// kind 5). The relations come with their own requests and containment walks; until then the reads
// below that need them raise ENonConstruit. Main thread only.
#pragma once

#include <cstdint>

#include "base/fichiers/FichierSup.h"

namespace SupRelationRessource {

inline constexpr int32_t kPlace = 22;
// Orders: 1 (kind 1, resource 1, kind 2, resource 2), unique; 2 (kind 2, resource 2, kind 1, resource 1).
inline constexpr int32_t kOrdreContenant = 1, kOrdreContenu = 2;

TFichierSup& Fichier();
// The in-memory offsets of the kinds and resources of a relation (first: the containing resource).
struct TypeChampsRelation {
  int32_t Genre1, Ressource1, Genre2, Ressource2;
};
const TypeChampsRelation& Champs();

// The record number of the diploma of a resource (a TD, an option), 0 when none.
uint32_t DiplomeDeLaRessource(uint32_t Ressource);

// The room group that holds a room (a relation from another room to it), 0 when none. The
// positions of ".RLR" and ".RES" are kept.
uint32_t GroupeDeSallesDeLaSalle(uint32_t Salle);
// The same for the current resource; 0 when it is not a room.
uint32_t GroupeDeSallesDeLaRessourceCourante();

}  // namespace SupRelationRessource
