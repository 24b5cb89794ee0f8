#include "ui/Ressources.h"

#include <string>

#include "platform/gui/Fiches.h"
#include "platform/gui/Images.h"

namespace Ressources {
namespace {

const char* const kCurseurs[] = {
    nullptr,
    "CurseurDoubleClic",
    "CurseurClicDroit",
    "CurseurFlecheAvecPoigneeVersLeBas",
    "CurseurFlecheAvecPoigneeVersLeHaut",
    "CurseurFlecheAvecPoigneeDoubleVerticale",
    "CurseurFlecheAvecPoigneeVersLaDroite",
    "CurseurFlecheAvecPoigneeVersLaGauche",
    "CurseurFlecheAvecPoigneeDoubleHorizontale",
    "CurDeplacerFichier",
    "CurRangerFichier",
    "CurDetruireFichier",
    "CurSignalerAbsence",
    "CurSignalerRetard",
    "CurSignalerExclu",
    "CurseurSensInterdit",
    "CurseurPinceau",
    "CurseurPinceauBleu",
    "CurseurPinceauMagenta",
    "CurseurPinceauViolet",
    "CurseurPinceauBleuClair",
    "CurseurPinceauOrange",
    "CurseurPinceauRouge",
    "CurseurPinceauVert",
    "CurseurCliclong",
    nullptr,
    "CurseurCreationCours",
};

int32_t utilisateurs = 0;
bool charges = false;

}  // namespace

const char* NomCurseur(int Numero) {
  if (Numero < 0 || Numero >= static_cast<int>(std::size(kCurseurs))) return nullptr;
  return kCurseurs[Numero];
}

void ChargerCurseurs() {
  if (!charges) {
    for (int n = 1; n < static_cast<int>(std::size(kCurseurs)); ++n) {
      if (!kCurseurs[n]) continue;
      std::string octets;
      Screen().Cursors[n] = TCurseur{kCurseurs[n], Images::LireRessource(kCurseurs[n], octets)};
    }
    charges = true;
  }
  ++utilisateurs;
}

void LibererCurseurs() {
  if (utilisateurs > 0) --utilisateurs;
}

int32_t Utilisateurs() { return utilisateurs; }

}  // namespace Ressources
