// The texts of the service that the language module holds, asked for by their dictionary key. A key
// that the dictionary lacks (no language module is loaded yet) gives the key itself, so that every
// refusal still carries a clear, stable text instead of an empty one.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/values/Format.h"

// The translation of a dictionary key ("EcrSvcWPrincipalErreur403"), or the key when it has none.
std::string TexteCle(std::string_view cle);
// The translation formatted with Arguments. A module's text whose directives do not fit the
// arguments ("%s" where a number comes) gives the text without translation instead, formatted the
// same way, so that an answer is never lost to a faulty module.
std::string TexteCleFormate(std::string_view cle, std::initializer_list<TFormatArg> Arguments);
