// The texts of the service that the language module holds, asked for by their dictionary key. Until
// the dictionary is linked in, a key's text is the key itself: every refusal still carries a clear,
// stable text, and the call sites already name the key the dictionary will translate.
#pragma once

#include <string>
#include <string_view>

// The text of a dictionary key ("EcrSvcWPrincipalErreur403"). Translated once the dictionary exists.
std::string TexteCle(std::string_view cle);
