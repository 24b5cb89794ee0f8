// Weightings (".PON"): the coefficients applied when the hours of a course are counted, in units of
// 1/36000 (36000 is the weighting 1 and the file's default row). Bases older than 3.0.21 may hold
// them on another scale, which the first stored record tells.
#pragma once

#include <cstdint>

#include "base/fichiers/FichierSup.h"

#pragma pack(push, 1)
struct TypeEnregistrementPonderation {
  int32_t Identifiant;
  uint32_t Valeur;
};
#pragma pack(pop)
static_assert(sizeof(TypeEnregistrementPonderation) == 8);

namespace SupPonderation {

inline constexpr uint32_t kTailleStockee = 4;
inline constexpr int32_t kOrdreValeur = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kUn = 36000;  // the weighting 1
inline constexpr uint32_t kCodeCreerPonderationsParDefaut = 0x80070000;
inline constexpr uint32_t kCodeCreerPonderation = 0x80070100;

TFichierSup& Fichier();
TypeEnregistrementPonderation* Article();
bool CreerPonderation(uint32_t Valeur);
// Locally, on an empty file only: 36000 first, then the twenty values from 0 to 72000.
bool CreerPonderationsParDefaut();
// The record number of the weighting 36000, 0 when none; the position is kept.
uint32_t PonderationParDefaut();
// Makes the weighting 36000 current; True when found.
bool ChercherPonderationParDefaut();

}  // namespace SupPonderation
