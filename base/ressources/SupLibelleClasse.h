// Class labels (".LCL"): the long label of a diploma, TD or option. A change of a diploma's label
// needs the right to change classes, of a TD's or an option's the right to change groups.
#pragma once

#include <cstdint>
#include <string>

#include "base/ressources/FichierLibelle.h"

namespace SupLibelleClasse {

inline constexpr int32_t kPlace = 25;
inline constexpr uint32_t kCodeCreerLibellesClasseParDefaut = 0x80170000;
inline constexpr uint32_t kCodeAffecterLibelleClasse = 0x80170100;
inline constexpr uint32_t kCodeSupprimerLibelleClasse = 0x80170300;

TFichierLibelle& Fichier();
TypeEnregistrementLibelle* Article();

bool CreerLibellesClasseParDefaut();
bool AffecterLibelleClasseALaRessource(uint32_t Ressource, const std::string& Libelle);
bool SupprimerLibelleClasseDeLaRessource(uint32_t Ressource);
bool ChercherLibelleDeLaRessourceCourante();
void LibelleClasseDeLaRessource(std::string& Libelle);

}  // namespace SupLibelleClasse
