// Pictures by resource name. The system's pictures are PNG files stored as named resources of the
// program's module (and packed into the language module too); a picture is looked up in the
// resource module of the program (the language module once one is installed, else the program
// itself) and decoded. A missing or undecodable picture gives an empty bitmap. Main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/gui/Graphiques.h"

namespace Images {

// Decodes PNG bytes (any colour type and depth). Pixels less than half opaque take the picture's
// TransparentColor and make it Transparent; the others are blended over white. False, with
// Image empty, for anything that is not a whole, valid PNG, or a picture over 4096 x 4096.
[[nodiscard]] bool DecoderPNG(std::string_view Octets, TBitmap& Image);
// The named resource of the program's resource module, false when missing.
[[nodiscard]] bool LireRessource(std::string_view Nom, std::string& Contenu);
// The named picture, empty when missing or undecodable.
TBitmap ImageParNom(std::string_view Nom);

}  // namespace Images
