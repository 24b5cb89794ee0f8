#include "core/values/Mathematique.h"

#include <bit>
#include <cstdlib>

namespace {
// What a negative overflow stores: one above the "undefined" sentinel.
constexpr int32_t kDebordementNegatif = -0x7FFFFFFE;   // 0x80000002
constexpr int16_t kPetitDebordementNegatif = -0x7FFE;  // 0x8002
}  // namespace

bool TMethodesMathematique::AjouterSature(int32_t& Valeur, int32_t Ajout) {
  if (Valeur == EntierInfini || Valeur == EntierIndefini) return Valeur == EntierIndefini;
  if (Ajout == EntierInfini || Ajout == EntierIndefini) {
    Valeur = Ajout;
    return Ajout == EntierIndefini;
  }
  const int64_t somme = int64_t{Valeur} + Ajout;
  if (Valeur >= 0) {
    Valeur = (Ajout >= 0 && somme >= EntierInfini) ? EntierInfini : static_cast<int32_t>(somme);
    return false;
  }
  if (Ajout < 0 && somme <= EntierIndefini) {
    Valeur = kDebordementNegatif;
    return true;
  }
  Valeur = static_cast<int32_t>(somme);
  return false;
}

int32_t TMethodesMathematique::MultiplierSature(int32_t A, int32_t B) {
  if (A == 0) return 0;
  const int64_t a = std::llabs(A), b = std::llabs(B);
  if (int64_t{EntierInfini} / a > b) return static_cast<int32_t>(int64_t{A} * B);
  return ((A >= 0) == (B >= 0)) ? EntierInfini : EntierIndefini;
}

bool TMethodesMathematique::AjouterSature16(int16_t& Valeur, int16_t Ajout) {
  if (Ajout == PetitEntierInfini || Ajout == PetitEntierIndefini) Valeur = Ajout;
  if (Valeur == PetitEntierInfini || Valeur == PetitEntierIndefini) return Valeur == PetitEntierIndefini;
  const int32_t somme = int32_t{Valeur} + Ajout;
  if (Valeur >= 0) {
    Valeur = (Ajout >= 0 && somme >= PetitEntierInfini) ? PetitEntierInfini : static_cast<int16_t>(somme);
    return false;
  }
  if (Ajout < 0 && somme <= PetitEntierIndefini) {
    Valeur = kPetitDebordementNegatif;
    return true;
  }
  Valeur = static_cast<int16_t>(somme);
  return false;
}

int TMethodesMathematique::CompterBitsOctet(uint8_t Octet) { return std::popcount(Octet); }

int TMethodesMathematique::CompterBits(const void* Zone, int32_t NombreOctets) {
  const auto* octets = static_cast<const uint8_t*>(Zone);
  int total = 0;
  for (int32_t i = 0; i < NombreOctets; ++i) total += CompterBitsOctet(octets[i]);
  return total;
}

int32_t MulDiv(int32_t A, int32_t B, int32_t C) {
  if (C == 0) return -1;
  const int64_t produit = static_cast<int64_t>(A) * B;
  int64_t resultat = produit / C;
  const int64_t reste = produit % C;
  // The remainder is below |C|: doubling it cannot overflow.
  if (2 * std::llabs(reste) >= std::llabs(static_cast<int64_t>(C))) resultat += (produit < 0) == (C < 0) ? 1 : -1;
  if (resultat > INT32_MAX || resultat < INT32_MIN) return -1;
  return static_cast<int32_t>(resultat);
}
