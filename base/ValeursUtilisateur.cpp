#include "base/ValeursUtilisateur.h"

namespace ValeursUtilisateur {

TypeValeursUtilisateur& Valeurs() {
  static TypeValeursUtilisateur valeurs;
  return valeurs;
}

void Initialiser() { Valeurs() = TypeValeursUtilisateur{}; }

}  // namespace ValeursUtilisateur
