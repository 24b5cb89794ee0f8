// The dimensions of the weekly grid: places per day, days, hours per day and what follows from them.
// They hold the start-up values until the base parameter block of a base replaces them.
#pragma once

#include <cstdint>

struct TypeParametresGrille {
  int32_t PlacesParJour = 20;
  int32_t NombreJours = 1;
  int32_t HeuresParJour = 10;
  int32_t PlacesParHeure = 2;
  int32_t PlacesParHeureAffichage = 2;  // the copy the grid's display reads
  int32_t DernierePlaceDuJour = 19;
  int32_t DernierJour = 0;
  int32_t NombrePlaces = 20;
  int32_t DernierePlace = 19;
  int32_t MotsPlaces = 0;        // 32-bit words of a bit set of all places: total div 32
  int32_t MotsPlacesPlusUn = 1;  // and that number plus 1
};

// The grid that a base was stored with, when it differs from the grid it is loaded with: the places
// of its courses and time slots are then moved to the new grid while the base is read. Inactive
// unless set; the base parameter block carries no such grid today.
struct TypeAncienneGrille {
  bool Active = false;
  int32_t PlacesParHeure = 0;  // Q
  int32_t PlacesParJour = 0;   // Dold
  uint8_t JoursOuvres = 0;     // bit d for day d (1 Monday .. 7 Sunday)
};

namespace SupParametresGrille {

TypeAncienneGrille& AncienneGrille();

// The most places of a day that the blocks sized by the grid hold (the hour labels hold one more).
inline constexpr int32_t kMaxPlacesParJour = 144;

TypeParametresGrille& Parametres();
// Sets the three dimensions and recomputes the others (a base's parameter block does this).
void Definir(int32_t PlacesParJour, int32_t NombreJours, int32_t HeuresParJour);
// Back to the start-up values.
void Initialiser();

}  // namespace SupParametresGrille
