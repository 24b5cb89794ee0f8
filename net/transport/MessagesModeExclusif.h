// The exclusive-mode messages that the server sends (little-endian, exact lengths; any other length
// is ignored):
//   CM_MODE_EXCLUSIF_MODIFIE (212): 0 process kind (2 server, 3 client), 1 exclusive mode, 2 validate,
//     3 action, 4 requester's identifier (u32), 8 requester's information (counted string of 200),
//     209-211 unused
//   CM_VERROU_MODE_EXCLUSIF_MODIFIE (2): 0 process kind, 1 lock
//   CM_REPONDRE_DEM_MODE_EXCLUSIF, CM_REPONDRE_LIB_MODE_EXCLUSIF (1): the answer
// Booleans read from a byte are true when not zero.
#pragma once

#include <cstdint>
#include <string>

namespace MessagesModeExclusif {

inline constexpr uint32_t kLongueurModeModifie = 212;
inline constexpr uint32_t kLongueurVerrouModifie = 2;
inline constexpr uint32_t kLongueurReponse = 1;

struct TypeModeModifie {
  uint8_t GenreProc = 0;
  bool ModeExclusif = false;
  uint8_t Valider = 0;
  uint8_t Action = 0;
  uint32_t IdentDemandeur = 0;
  std::string InfosDemandeur;  // at most 200 characters
};
struct TypeVerrouModifie {
  uint8_t GenreProc = 0;
  bool Verrou = false;
};

[[nodiscard]] bool LireModeModifie(const uint8_t* Donnees, uint32_t Taille, TypeModeModifie& Message);
[[nodiscard]] bool LireVerrouModifie(const uint8_t* Donnees, uint32_t Taille, TypeVerrouModifie& Message);
// The data of CM_MODE_EXCLUSIF_MODIFIE, as the server writes it.
std::string EcrireModeModifie(const TypeModeModifie& Message);

}  // namespace MessagesModeExclusif
