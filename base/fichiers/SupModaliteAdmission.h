// Admission modalities of students (".MAD").
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementModalite {
  int32_t Identifiant;
  uint8_t Nom[61];  // counted string of 60
  uint8_t Fin[3];
};
static_assert(sizeof(TypeEnregistrementModalite) == 68);

namespace SupModaliteAdmission {

inline constexpr uint32_t kTailleStockee = 61;
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreNom = 2;
inline constexpr uint32_t kCodeCreerModalitesParDefaut = 0x802E0000;
inline constexpr uint32_t kCodeCreerModalite = 0x802E0100;

TFichierSup& Fichier();
TypeEnregistrementModalite* Article();
bool CreerModalite(const std::string& Nom);
// The default contents: nothing to insert.
bool CreerModalitesParDefaut();
std::string NomModalite(uint32_t NumeroArticle);

}  // namespace SupModaliteAdmission
