// Course groupings (".RGC"): names that courses refer to (a course holds a grouping's record number,
// 0 for none).
#pragma once

#include <cstdint>

#include "base/fichiers/FichierSup.h"

#pragma pack(push, 1)
struct TypeEnregistrementRegroupementCours {
  int32_t Identifiant;
  uint8_t Nom[9];  // counted string of 8
};
#pragma pack(pop)
static_assert(sizeof(TypeEnregistrementRegroupementCours) == 13);

namespace SupRegroupementCours {

inline constexpr uint32_t kTailleStockee = 9;
inline constexpr int32_t kOrdreNom = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCodeCreerParDefaut = 0x80180000;  // "CM_CREER_REGROUPEMENTS_COURS_PAR_DEFAUT"

TFichierSup& Fichier();
TypeEnregistrementRegroupementCours* Article();
// The server creates the default groupings; locally there is nothing to create.
bool CreerRegroupementsCoursParDefaut();

}  // namespace SupRegroupementCours
