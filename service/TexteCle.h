// The texts of the service that the language module holds, asked for by their dictionary key. A key
// that the dictionary lacks (no language module is loaded yet) gives the key itself, so that every
// refusal still carries a clear, stable text instead of an empty one.
#pragma once

#include <string>
#include <string_view>

// The translation of a dictionary key ("EcrSvcWPrincipalErreur403"), or the key when it has none.
std::string TexteCle(std::string_view cle);
