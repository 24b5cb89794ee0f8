// Change notifications of the record files, the hooks that bracket the server's processing of a
// request, and the count of a base's record files on disk.
#pragma once

#include <cstdint>
#include <functional>

#include "net/NetXi.h"

namespace netmodif {

// Runs SurModification1 then SurModification2 of the table's entry, each when set, with the same
// three values; nothing while notifications are suspended or for a table number that is not
// registered.
void NotifierModification(TypeGenreModif Genre, int32_t NumeroTable, int32_t Identifiant);

// For each registered entry, the base's file name with the entry's extension in place of its own:
// the number of those files that exist (0 when nothing is registered).
int32_t CompterFichiersExistants();

// Run when the server begins and ends its processing of a request; do-nothing until the unit that
// registers the record files installs its own.
std::function<void()>& SurDebutRequete();
std::function<void()>& SurFinRequete();

void Initialiser();
void Finaliser();

}  // namespace netmodif
