// Translation of dictionary keys into the texts of the loaded language module. A key is the unit's
// name followed by an identifier; keys match without regard to case; a key that the module lacks
// gives an empty text. Only the dictionary itself lives here: the language module's loader fills it
// through DefinirTexte.
#pragma once

#include <string>
#include <string_view>

namespace Traduction {

// The text of a key, empty when the dictionary lacks it.
std::string Traduire(std::string_view Cle);
// Gives a key its text (the loader of the language module; tests). An empty text removes the key.
void DefinirTexte(std::string_view Cle, std::string_view Texte);
// Empties the dictionary.
void Vider();

}  // namespace Traduction
