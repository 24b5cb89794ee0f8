// The 42 record files in base order. The files whose own units exist declare their records there;
// every other file is declared here by its field table: its in-memory record, its current stored
// layout and its orders, read and written by the generic converters (resources add the words whose
// meaning their kind gives). Older stored layouts come with each file's own unit.
#pragma once

#include <array>

#include "base/fichiers/FichierSup.h"

namespace FichiersBase {

// The files at places 1..42 (index = place - 1).
const std::array<TFichierSup*, 42>& OrdreDeBase();

}  // namespace FichiersBase
