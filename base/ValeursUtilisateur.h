// The connected user's own values that the record files read: the user's settings arrive with the
// per-user parameter stream, which fills this holder; until then (and for a new user) each value
// is its default. Main thread only.
#pragma once

#include <cstdint>

namespace ValeursUtilisateur {

struct TypeValeursUtilisateur {
  int32_t EffectifDiplomeParDefaut = 0;  // the entered head-count of a new diploma
  int32_t CapaciteSalleParDefaut = 0;    // the capacity of a new room
  uint32_t Calendrier = 0;               // the remembered calendar: record number in ".CAL", 0 for none
};

TypeValeursUtilisateur& Valeurs();

// Back to the defaults.
void Initialiser();

}  // namespace ValeursUtilisateur
