// Translation of dictionary keys into the texts of the loaded language module. The language module
// and its dictionary are not built yet: asking for a translation raises ENotBuiltYet.
#pragma once

#include <string>

namespace Traduction {

// The text of a dictionary key in the loaded language module; empty when the module lacks the key.
void TraduireCle(const std::string& Cle, std::string& Texte);

}  // namespace Traduction
