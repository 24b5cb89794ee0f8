// Line breaks of texts: the translation dictionary normalises every text it loads to one
// convention, and the connection screens join message lines with CR LF. Five conventions exist,
// from plain CR LF to the HTML tag and the escaped "\n" of resource texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum TypeRetourChariot : uint8_t {
  RC_CRLF = 0,
  RC_LF = 1,
  RC_CR = 2,
  RC_BR = 3,
  RC_AntiSlashN = 4,
};

namespace RetourChariot {

// The short name of a convention: CR LF, LF, CR, the two letters "BR", or backslash n.
// (For RC_BR this is not the tag that ConvertirRetoursChariot writes.) Empty for an unknown mode.
std::string_view ChaineRetourChariot(TypeRetourChariot mode);

// The text with every line break (CR LF, a lone CR or a lone LF, read left to right) written in
// the mode's form: CR LF, LF, CR, "<BR/>" or backslash n. An unknown mode leaves the text as it is.
std::string ConvertirRetoursChariot(std::string_view texte, TypeRetourChariot mode);

}  // namespace RetourChariot
