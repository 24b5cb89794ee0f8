// The server profiles known to the client: searches by identifier and name, a profile's name, and
// the desktop shortcut that starts the program for a profile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ProfilServeur {
// False when the table does not exist or holds no such profile; positions the table otherwise.
bool ChercherProfilServeur(uint32_t Ident);
bool ChercherProfilServeurParNom(std::string_view Nom);
// The profile's name, empty when unknown; the table's position is restored.
void NomProfilServeur(uint32_t Ident, std::string& Nom);
// When the profile exists: a desktop shortcut that starts this program with the profile's name as its
// argument, then a message that tells how it went (created, system error, duplicate). The table's
// position is restored.
void CreerRaccourciProfilServeur(uint32_t Ident);
}  // namespace ProfilServeur
