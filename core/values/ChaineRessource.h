// Resource strings: the system's built-in messages, each declared once with its name (the unit's
// name, an underscore and the identifier: "ChaineUnicode_RS_PageDeCodeInconnue_D"), a stable
// resource id and its built-in text (1252). They are read through the translation dictionary when
// one is installed, so that a language module can give them another text, and fall back to the
// built-in text. Every unit registers its strings at start-up; the registered strings also make the
// program's resource-string map ("DRC"), from which the dictionary learns every name, id and
// built-in text.
//
// Ids are given once, between 64720 and 65535, and never change or get reused: a language module
// and the map refer to them. Main thread only.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "core/values/Format.h"

struct TChaineRessource {
  std::string_view Nom;
  int32_t Id;
  std::string_view TexteIntegre;
};

namespace ChaineRessource {

inline constexpr int32_t kIdMinimal = 64720;
inline constexpr int32_t kIdMaximal = 65535;

// Registers the strings of a unit. A name or an id already registered by another string, or an id
// out of range, raises EConvertError: two strings would share a translation.
void Enregistrer(std::span<const TChaineRessource* const> Chaines);
// The registered string of an id, nil when none.
const TChaineRessource* ParId(int32_t Id);

// Who translates resource strings: answers False when it has no text for the string.
using TypeTraducteur = bool (*)(const TChaineRessource& Chaine, std::string& Texte);
void DefinirTraducteur(TypeTraducteur Traducteur);
// The translator in use (nil when none), so that a caller may put it back after another.
TypeTraducteur Traducteur();

// The text of a resource string: the translator's, else the built-in text.
std::string Charger(const TChaineRessource& Chaine);
// The text formatted with Arguments. A translation whose directives do not fit the arguments (a
// faulty language module) gives the built-in text formatted instead, so that no message is lost.
std::string ChargerFormate(const TChaineRessource& Chaine, std::initializer_list<TFormatArg> Arguments);

// The resource-string map of the registered strings, in id order, in 1252 with CR LF line ends: a
// comment block, one "#define <name> <id in five digits>" line per string, then "STRINGTABLE",
// "BEGIN", one line per string (TAB, name, comma, TAB, the text in double quotes with backslash
// escapes for CR, LF, double quote and backslash) and "END".
std::string TexteDRC();

}  // namespace ChaineRessource
