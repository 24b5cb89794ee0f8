// Four-part version records (major, minor, release, build) and their comparisons. The record travels
// and is stored as 272 bytes: the product name as a counted string of 255 characters, then the four
// numbers as unsigned 32-bit little-endian values. Comparisons look at the numbers only, as unsigned
// values, part 0 (major) first; the name is never compared.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct TypeVersion {
  static constexpr size_t kTaille = 272;

  std::string Nom;  // at most 255 characters
  uint32_t Majeur = 0;
  uint32_t Mineur = 0;
  uint32_t Release = 0;
  uint32_t Build = 0;

  std::array<uint8_t, kTaille> EnOctets() const;
  static TypeVersion DepuisOctets(const std::array<uint8_t, kTaille>& Octets);
};

using TypeNumerosVersion = std::array<uint32_t, 4>;

namespace Version {

// Strictly lower than Numeros on parts 0..DernierePartie (a part above 3 counts as 3); False for a
// negative DernierePartie.
bool EstInferieure(const TypeVersion& V, const TypeNumerosVersion& Numeros, int DernierePartie);
// The same on the first NombreParties parts (1..4); 0 or less gives False.
bool EstInferieureA(const TypeVersion& V, uint32_t Majeur, uint32_t Mineur, uint32_t Release, uint32_t Build,
                    int NombreParties);
// Lower or equal on parts 0..DernierePartie; False for a negative DernierePartie.
bool EstInferieureOuEgale(const TypeVersion& V, const TypeNumerosVersion& Numeros, int DernierePartie);
// Equal on parts 0..DernierePartie; False for a negative DernierePartie.
bool EstEgale(const TypeVersion& V, const TypeNumerosVersion& Numeros, int DernierePartie);
// Equal on the first NombreParties parts; 0 or less gives False.
bool EstEgaleA(const TypeVersion& V, uint32_t Majeur, uint32_t Mineur, uint32_t Release, uint32_t Build,
               int NombreParties);
// The two records equal on their first NombreParties parts; 0 or less gives False.
bool SontEgales(const TypeVersion& V1, const TypeVersion& V2, int NombreParties);

}  // namespace Version
