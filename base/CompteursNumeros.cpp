#include "base/CompteursNumeros.h"

namespace CompteursNumeros {

std::array<uint32_t, kNombreCompteurs>& Compteurs() {
  static std::array<uint32_t, kNombreCompteurs> compteurs{};
  return compteurs;
}

uint32_t Suivant(TypeCompteur Compteur) { return Compteurs()[static_cast<std::size_t>(Compteur)] + 1; }

void Relever(TypeCompteur Compteur, uint32_t Numero) {
  uint32_t& c = Compteurs()[static_cast<std::size_t>(Compteur)];
  if (Numero > c) c = Numero;
}

}  // namespace CompteursNumeros
