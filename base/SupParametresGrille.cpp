#include "base/SupParametresGrille.h"

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
  p.NombrePlaces = PlacesParJour * NombreJours;
  p.DernierePlace = p.NombrePlaces - 1;
  p.MotsPlaces = p.NombrePlaces / 32;
  p.MotsPlacesPlusUn = p.MotsPlaces + 1;
}

void Initialiser() { Definir(20, 1, 10); }

}  // namespace SupParametresGrille
