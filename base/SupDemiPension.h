// The lunch service of the base: whether it is active, its span of places within the day, the length
// of one service and the resource kinds it concerns. The values are changed by requests; the server's
// order comes back through TraiterOrdre.
#pragma once

#include <cstdint>

namespace SupDemiPension {

inline constexpr uint32_t kActivation = 0x80030000;
inline constexpr uint32_t kDebut = 0x80030001;
inline constexpr uint32_t kFin = 0x80030002;
inline constexpr uint32_t kDureeService = 0x80030003;
inline constexpr uint32_t kGenresRessources = 0x80030004;
// Teachers, diplomas, TDs and options.
inline constexpr uint8_t kGenresParDefaut = 29;

struct TypeDemiPension {
  uint8_t ActivationDemiPension = 0;
  uint32_t DebutDemiPension = 0;
  uint32_t FinDemiPension = 0;
  uint32_t DureeServiceDemiPension = 0;
  uint8_t GenresRessourcesDemiPension = 0;
};

TypeDemiPension& DemiPension();

// Each setter: an unchanged value answers False; with Appliquer (an order) or in exclusive mode the
// value is stored (True); otherwise the request is sent and the verdict answered.
bool ModifierActivationDemiPension(uint8_t Valeur, bool Appliquer);
bool ModifierDebutDemiPension(uint32_t Valeur, bool Appliquer);
bool ModifierFinDemiPension(uint32_t Valeur, bool Appliquer);
bool ModifierDureeServiceDemiPension(uint32_t Valeur, bool Appliquer);
// Also switches the service on for a non-empty set and off for an empty one.
bool ModifierGenresRessourcesDemiPension(uint8_t Valeur, bool Appliquer);

// Applies an order (Taille bytes of Donnees); a code that takes its value from the data needs one
// byte. Another code, or missing data, answers False and changes nothing.
bool TraiterOrdre(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees);
// Brings the values back inside the grid; without Garder every value is reset for the grid.
void AjusterDemiPension(bool Garder);

void Initialiser();

}  // namespace SupDemiPension
