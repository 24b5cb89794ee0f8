// Countries (".PAY"): code, name and nationality; students refer to them.
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementPays {
  int32_t Identifiant;
  uint8_t Code[4];          // counted string of 3
  uint8_t Nom[31];          // counted string of 30
  uint8_t Nationalite[31];  // counted string of 30
  uint8_t Fin[2];
};
static_assert(sizeof(TypeEnregistrementPays) == 72);

namespace SupPays {

inline constexpr uint32_t kTailleStockee = 66;
inline constexpr int32_t kOrdreIdentifiant = 1, kOrdreCode = 2, kOrdreNom = 3, kOrdreNationalite = 4;
inline constexpr uint32_t kCodeCreerPaysParDefaut = 0x80280000;
inline constexpr uint32_t kCodeCreerPays = 0x80280100;

TFichierSup& Fichier();
TypeEnregistrementPays* Article();
// Creation request: the server gets the stored record built from the arguments.
bool CreerPays(const std::string& Nom, const std::string& Nationalite, const std::string& Code);
// The default contents: nothing to insert.
bool CreerPaysParDefaut();
// The nationality of a country; empty when no record has that number.
std::string NationaliteDe(uint32_t NumeroArticle);
inline uint32_t PaysParDefaut() { return 0; }

}  // namespace SupPays
