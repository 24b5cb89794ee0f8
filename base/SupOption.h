// The nine integer options of the connected user that weight the placement engine. They travel in
// the per-user parameter stream; changing one is a request whose order comes back through TraiterOrdre.
#pragma once

#include <array>
#include <cstdint>

namespace SupOption {

inline constexpr uint32_t kMettreParDefaut = 0x80050000;  // "CM_METTRE_OPTIONS_PAR_DEFAUT"
inline constexpr uint32_t kModifierOption = 0x80050001;   // "CM_MODIFIER_OPTION"
inline constexpr int32_t kNombreOptions = 9;

using TypeOptions = std::array<int32_t, kNombreOptions>;
inline constexpr TypeOptions kOptionsParDefaut = {10, 30, -10, -10, 50, 0, 15, 50, -10};
// The translation keys of the options (none for option 0).
extern const char* const kNomsOptions[kNombreOptions];

TypeOptions& Options();
// Copies the defaults into the block: no request, no mark.
void OptionsParDefaut();
// Back to the defaults through the request pattern (no test for unchanged values).
bool MettreOptionsParDefaut(bool Appliquer);
// An index above 8 is refused (False); an unchanged value answers False.
bool ModifierOption(uint8_t Index, int32_t Valeur, bool Appliquer);
// Applies an order (Taille bytes of Donnees); a change needs its 8 bytes and a valid index.
bool TraiterOrdre(uint32_t Code, int32_t Taille, const void* Donnees);

void Initialiser();

}  // namespace SupOption
