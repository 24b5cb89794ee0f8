// The state of the open base that the network side shares with the readers of the base streams.
#pragma once

#include <string>

namespace NetBases {

// The full file name of the open base, as the whole-base stream or the opening of a base gives it.
inline std::string NomFichierBase;

}  // namespace NetBases
