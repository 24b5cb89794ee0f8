// The relations between a partition and a resource (".RLP") of bases older than 3.0.0, before TDs and
// options named their partition themselves. They are read and carried, never changed; the file's
// default contents move them into the resources. Also the walks over the partitions of a resource.
// Main thread only.
#pragma once

#include <cstdint>

#include "base/fichiers/FichierSup.h"
#include "base/ressources/SupPartition.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementRelationPartition {
  int32_t Identifiant;
  uint32_t Partition;  // record number in ".PRT"
  uint32_t Ressource;  // record number in ".RES"
};
static_assert(sizeof(TypeEnregistrementRelationPartition) == 12);

namespace SupRelationPartition {

inline constexpr int32_t kPlace = 24;

TFichierSup& Fichier();
TypeEnregistrementRelationPartition* Article();
// Default contents, for a base older than 3.0.0 only: each relation gives its partition's number to
// its resource and is deleted, nothing notified.
bool ContenuParDefaut();

// The partitions of the current resource: a diploma's, default one included, by name; a TD's or an
// option's own partition when it exists; nothing for another kind. The position of ".PRT" is kept.
bool PourChaquePartitionDeLaRessource(const SupPartition::TypeTraitement& Traitement);
// The same for the resource of that record number (the position of ".RES" is kept); False when it
// does not exist or is not a diploma, a TD or an option.
bool PourChaquePartitionDeLaRessourceNumero(uint32_t Ressource, const SupPartition::TypeTraitement& Traitement);

}  // namespace SupRelationPartition
