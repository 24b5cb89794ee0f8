// Modules (".MDL"): named blocks of teaching that curricula are made of. Curricula (".CUR") hold the
// same record.
#pragma once

#include <cstdint>
#include <vector>

#include "base/fichiers/FichierSup.h"

#pragma pack(push, 1)
struct TypeEnregistrementModuleCursus {
  int32_t Identifiant;
  uint8_t Libelle[31];  // counted string of 30
  uint8_t Code[21];     // counted string of 20
  uint8_t Affiche;      // 1 = shown; set whenever a record is loaded or created
  uint8_t Libre;
};
#pragma pack(pop)
static_assert(sizeof(TypeEnregistrementModuleCursus) == 58);

namespace ModuleCursus {

inline constexpr uint32_t kTailleStockee = 52;  // label at 0 (31 bytes), code at 31 (21 bytes)
inline constexpr int32_t kOrdreLibelle = 1, kOrdreIdentifiant = 2, kOrdreCode = 3, kOrdreAffichage = 4;

// The orders shared by both files.
std::vector<TypeOrdreFichier> Ordres();
// The current layout's converters.
bool Lire(TFichierSup& Fichier, const uint8_t* Stocke, TypeGenreModif Genre);
bool Ecrire(TFichierSup& Fichier, uint8_t* Stocke);

}  // namespace ModuleCursus

namespace SupModule {

TFichierSup& Fichier();
TypeEnregistrementModuleCursus* Article();

}  // namespace SupModule
