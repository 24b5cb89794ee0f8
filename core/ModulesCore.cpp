#include "core/Modules.h"

#include "core/Arbre.h"
#include "core/ClasseFinalisable.h"
#include "core/Codage.h"
#include "core/Comparai.h"
#include "core/Debug.h"
#include "core/Erreur.h"
#include "core/GestionnaireNomsDeClasse.h"
#include "core/Memoire.h"
#include "core/Journal.h"
#include "core/NombreAleatoire.h"
#include "core/ObjetEvent.h"
#include "core/ServiceNorvane.h"
#include "core/Stockage.h"
#include "core/Times.h"
#include "core/Verification.h"

std::span<const TModule> ModulesCore() {
  static const TModule kTable[] = {
      {"ClasseFinalisable", nullptr, ClasseFinalisable::Finaliser},
      {"Comparai", Comparai::Initialiser, nullptr},
      {"Memoire", static_cast<void (*)()>(Memoire::Initialiser), nullptr},
      {"Stockage", Stockage::Initialiser, nullptr},
      {"ObjetEvent", ObjetEvent::Initialiser, ObjetEvent::Finaliser},
      {"GestionnaireNomsDeClasse", GestionnaireNomsDeClasse::Initialiser, nullptr},
      {"ServiceNorvane", ServiceNorvane::Initialiser, nullptr},
      {"Arbre", Arbre::Initialiser, nullptr},
      {"Erreur", Erreur::Initialiser, nullptr},
      {"Verification", Verification::Initialiser, nullptr},
      {"Times", Times::Initialiser, nullptr},
      {"NombreAleatoire", NombreAleatoire::Initialiser, nullptr},
      {"Codage", Codage::Initialiser, nullptr},
      {"Debug", Debug::Initialiser, Debug::Finaliser},
      {"Journal", Journal::Initialiser, nullptr},
  };
  return kTable;
}
