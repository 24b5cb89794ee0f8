#include "net/services/Version.h"

#include "net/protocol/PetitBoutiste.h"

#include <algorithm>
#include <cstring>

namespace {

TypeNumerosVersion Numeros(const TypeVersion& V) { return {V.Majeur, V.Mineur, V.Release, V.Build}; }

// -1, 0 or 1: the first differing part among the first Parties parts.
int Comparer(const TypeNumerosVersion& A, const TypeNumerosVersion& B, int Parties) {
  for (int i = 0; i < std::min(Parties, 4); ++i)
    if (A[i] != B[i]) return A[i] < B[i] ? -1 : 1;
  return 0;
}

}  // namespace

std::array<uint8_t, TypeVersion::kTaille> TypeVersion::EnOctets() const {
  std::array<uint8_t, kTaille> o{};
  const size_t n = std::min<size_t>(Nom.size(), 255);
  o[0] = static_cast<uint8_t>(n);
  std::memcpy(o.data() + 1, Nom.data(), n);
  const uint32_t valeurs[4] = {Majeur, Mineur, Release, Build};
  for (int i = 0; i < 4; ++i) PetitBoutiste::EcrireCardinal(o.data() + 256 + 4 * i, valeurs[i]);
  return o;
}

TypeVersion TypeVersion::DepuisOctets(const std::array<uint8_t, kTaille>& o) {
  TypeVersion v;
  v.Nom.assign(reinterpret_cast<const char*>(o.data() + 1), o[0]);
  uint32_t* valeurs[4] = {&v.Majeur, &v.Mineur, &v.Release, &v.Build};
  for (int i = 0; i < 4; ++i) *valeurs[i] = PetitBoutiste::LireCardinal(o.data() + 256 + 4 * i);
  return v;
}

namespace Version {

bool EstInferieure(const TypeVersion& V, const TypeNumerosVersion& N, int DernierePartie) {
  return DernierePartie >= 0 && Comparer(Numeros(V), N, DernierePartie + 1) < 0;
}

bool EstInferieureA(const TypeVersion& V, uint32_t Majeur, uint32_t Mineur, uint32_t Release, uint32_t Build,
                    int NombreParties) {
  return EstInferieure(V, {Majeur, Mineur, Release, Build}, NombreParties - 1);
}

bool EstInferieureOuEgale(const TypeVersion& V, const TypeNumerosVersion& N, int DernierePartie) {
  return DernierePartie >= 0 && Comparer(Numeros(V), N, DernierePartie + 1) <= 0;
}

bool EstEgale(const TypeVersion& V, const TypeNumerosVersion& N, int DernierePartie) {
  return DernierePartie >= 0 && Comparer(Numeros(V), N, DernierePartie + 1) == 0;
}

bool EstEgaleA(const TypeVersion& V, uint32_t Majeur, uint32_t Mineur, uint32_t Release, uint32_t Build,
               int NombreParties) {
  return EstEgale(V, {Majeur, Mineur, Release, Build}, NombreParties - 1);
}

bool SontEgales(const TypeVersion& V1, const TypeVersion& V2, int NombreParties) {
  return EstEgale(V1, Numeros(V2), NombreParties - 1);
}

}  // namespace Version
