// The program's version record and its text, shown in captions, sent to the data server and
// answered by the administration port.
#pragma once

#include <cstdint>
#include <string>

#include "net/Version.h"

namespace SupVersion {

// The program's own version: "TEMPRAVO" 5.0.6.1.
void InitialiserVersion(TypeVersion& Version);

// The version text: the product name (AvecNom), then the kind word (AvecGenre: kind 0 or 6 the web
// service, 2 controller, 3 server, 4 client, 5 network, translated) or a blank, then NombreParties
// numbers (at most 4): the major as "2006" for 4 and "2007" for 5, the minor after " - " from
// major 4 on and after "." below, then "." release and "." build. A major shown as a plain number
// is followed by the minor at least.
void TexteVersion(const TypeVersion& Version, int32_t NombreParties, bool AvecGenre, int32_t Genre, bool AvecNom,
                  std::string& Texte);

}  // namespace SupVersion
