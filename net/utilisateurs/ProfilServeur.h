// The server profiles known to the client: searches by identifier and name, and a profile's name.
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
}  // namespace ProfilServeur
