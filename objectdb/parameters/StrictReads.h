// Typed reads from a formatter that must come whole: a value cut short raises the read error of the
// formatters (EReadError), so that a reader of the object database never keeps half a value.
#pragma once

#include <cstdint>
#include <string>

#include "core/serial/Serialisation.h"

namespace StrictReads {

// A text starts with its 4-byte length; the plain formatter takes a length cut short for an empty
// text, so these two check that the length is there first.
std::string LireChaine(IFormateur* Formateur);
std::u16string LireChaineLarge(IFormateur* Formateur);
int32_t LireEntier(IFormateur* Formateur);
uint32_t LireCardinal(IFormateur* Formateur);
int64_t LireInt64(IFormateur* Formateur);
bool LireBooleen(IFormateur* Formateur);
double LireDouble(IFormateur* Formateur);

}  // namespace StrictReads
