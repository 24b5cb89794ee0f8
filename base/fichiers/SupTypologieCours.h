// Course typologies (".TYP"): the kinds of teaching (lecture, tutorial, practical work, option), each
// with a colour, a default duration in places of the grid and a structure. Courses hold one and fall
// back on the typology named "Aucun".
#pragma once

#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementTypologie {
  int32_t Identifiant;
  uint32_t Couleur;
  uint8_t Nom[14];  // counted string of 13
  uint8_t Libre[2];
  int32_t Duree;  // places of the grid
  uint8_t Structure;
  uint8_t Fin[3];
};
static_assert(sizeof(TypeEnregistrementTypologie) == 32);

namespace SupTypologieCours {

inline constexpr uint32_t kTailleStockee = 28;
inline constexpr int32_t kOrdreNom = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kCouleurParDefaut = 0xFF00000F;  // the system colour of button faces
inline constexpr uint32_t kCodeCreerTypologiesCoursParDefaut = 0x800D0000;
inline constexpr uint32_t kCodeCreerTypologieCours = 0x800D0100;

TFichierSup& Fichier();
TypeEnregistrementTypologie* Article();
// The name is cut to 13 characters; an empty name, or the displayed name of the default typology
// once the file holds two typologies or more, is refused before anything is sent.
bool CreerTypologieCours(const std::string& Nom, uint8_t Structure);
// "Aucun" (structure 0), "Cours" (1), "TD" (2), "TP" (2), "Option" (3), each a creation of its own.
bool CreerTypologiesCoursParDefaut();
std::string NomTypologieCours(uint32_t NumeroArticle);
// The record number of "Aucun" (case ignored), 0 when none; the position is kept.
uint32_t TypologieParDefaut();
// Makes "Cours" (case ignored) current; True when found.
bool ChercherTypologieCours();
// The duration of "Aucun", 0 when none; the position is kept.
int32_t DureeTypologieParDefaut();
// The structure of a typology, 1 when the record number holds none.
uint8_t StructureTypologie(uint32_t NumeroArticle);

}  // namespace SupTypologieCours
