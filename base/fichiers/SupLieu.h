// Places (".LIE"): towns, each optionally in a country of ".PAY".
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementLieu {
  int32_t Identifiant;
  uint32_t Pays;    // record number in ".PAY", 0 for none
  uint8_t Nom[31];  // counted string of 30
  uint8_t Libre;
};
static_assert(sizeof(TypeEnregistrementLieu) == 40);

namespace SupLieu {

inline constexpr uint32_t kTailleStockee = 36;
inline constexpr int32_t kOrdrePays = 1, kOrdreIdentifiant = 2, kOrdreNom = 3;
inline constexpr uint32_t kCodeCreerLieuxParDefaut = 0x80290000;
inline constexpr uint32_t kCodeCreerLieu = 0x80290001;

TFichierSup& Fichier();
TypeEnregistrementLieu* Article();
// Creation request (the server gets the name as a counted string of 30); as a client the result is
// the server's verdict alone.
bool CreerLieu(const std::string& Nom);
// The default contents: nothing to insert.
bool CreerLieuxParDefaut();
// Inserts the buffer; when inserted, notifies the creation and marks the base modified.
bool InsererLieu();
std::string NomLieu(uint32_t NumeroArticle);
inline uint32_t LieuParDefaut() { return 0; }

}  // namespace SupLieu
