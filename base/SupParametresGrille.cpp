#include "base/SupParametresGrille.h"

#include <algorithm>
#include <limits>

namespace SupParametresGrille {

TypeParametresGrille& Parametres() {
  static TypeParametresGrille parametres;
  return parametres;
}

void Definir(int32_t PlacesParJour, int32_t NombreJours, int32_t HeuresParJour) {
  TypeParametresGrille& p = Parametres();
  p.PlacesParJour = PlacesParJour;
  p.NombreJours = NombreJours;
  p.HeuresParJour = HeuresParJour;
  p.PlacesParHeure = HeuresParJour > 0 ? PlacesParJour / HeuresParJour : 0;
  p.PlacesParHeureAffichage = p.PlacesParHeure;
  p.DernierePlaceDuJour = PlacesParJour - 1;
  p.DernierJour = NombreJours - 1;
  // Words of a received base: the product is held to the 32-bit range instead of overflowing.
  p.NombrePlaces = static_cast<int32_t>(std::clamp<int64_t>(int64_t{PlacesParJour} * NombreJours,
                                                             std::numeric_limits<int32_t>::min() / 2,
                                                             std::numeric_limits<int32_t>::max() / 2));
  p.DernierePlace = p.NombrePlaces - 1;
  p.MotsPlaces = p.NombrePlaces / 32;
  p.MotsPlacesPlusUn = p.MotsPlaces + 1;
}

TypeAncienneGrille& AncienneGrille() {
  static TypeAncienneGrille grille;
  return grille;
}

void Initialiser() {
  Definir(20, 1, 10);
  AncienneGrille() = {};
}

}  // namespace SupParametresGrille
