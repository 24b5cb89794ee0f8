// The 42 record files in base order. The files whose own units exist hold their records as their
// layouts say; every other file holds, behind its identifier, its current stored record unchanged,
// searchable by identifier, until its own unit declares its record, orders and converters.
#pragma once

#include <array>

#include "base/fichiers/FichierSup.h"

namespace FichiersBase {

// The files at places 1..42 (index = place - 1).
const std::array<TFichierSup*, 42>& OrdreDeBase();

}  // namespace FichiersBase
