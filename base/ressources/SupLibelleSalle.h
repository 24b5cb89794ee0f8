// Room labels (".LSL"): the long label of a room. A change needs the right to change rooms.
#pragma once

#include <cstdint>
#include <string>

#include "base/ressources/FichierLibelle.h"

namespace SupLibelleSalle {

inline constexpr int32_t kPlace = 38;
inline constexpr uint32_t kCodeCreerLibellesSalleParDefaut = 0x802C0000;
inline constexpr uint32_t kCodeAffecterLibelleSalle = 0x802C0100;
inline constexpr uint32_t kCodeSupprimerLibelleSalle = 0x802C0300;

TFichierLibelle& Fichier();
TypeEnregistrementLibelle* Article();

bool CreerLibellesSalleParDefaut();
bool AffecterLibelleSalleALaRessource(uint32_t Ressource, const std::string& Libelle);
bool SupprimerLibelleSalleDeLaRessource(uint32_t Ressource);
bool ChercherLibelleDeLaRessourceCourante();
void LibelleSalleDeLaRessource(std::string& Libelle);

}  // namespace SupLibelleSalle
