// The custom colours of the colour dialog as name=value text ("ColorA" to "ColorP"), which the
// per-user stream keeps, and two trace hooks around named operations, which do nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A name=value list: one "Name=Value" line per entry; names are compared without case and the
// first line of a name holds its value.
using TListeNomsValeurs = std::vector<std::string>;

namespace Traces {

using TCouleursPersonnalisees = std::array<int32_t, 16>;

// The value of Nom in Liste, empty when missing.
std::string Valeur(const TListeNomsValeurs& Liste, const std::string& Nom);

// For i = 0 to 15 reads "Color" + ('A' + i) as hexadecimal (one to eight digits, read as a 32-bit
// value); an empty, missing or unreadable value gives -1.
void LireCouleursPersonnalisees(const TListeNomsValeurs& Valeurs, TCouleursPersonnalisees& Couleurs);
// "ColorA" to "ColorP", each the 32-bit value in lowercase hexadecimal, six digits at least
// (255: "0000ff"; -1: "ffffffff").
TListeNomsValeurs EcrireCouleursPersonnalisees(const TCouleursPersonnalisees& Couleurs);

void DebutTrace(const std::string& Nom, int32_t Niveau);
void FinTrace(const std::string& Nom, int32_t Niveau);

}  // namespace Traces
