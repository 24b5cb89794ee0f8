#include "core/Modules.h"

#include "core/Arbre.h"
#include "core/ArrayOfBooleen.h"
#include "core/ArrayOfCardinal.h"
#include "core/ArrayOfClasses.h"
#include "core/ArrayOfDouble.h"
#include "core/ArrayOfInt64.h"
#include "core/ArrayOfInteger.h"
#include "core/ArrayOfReal.h"
#include "core/ArrayOfSingle.h"
#include "core/ArrayOfString.h"
#include "core/ArrayOfTDateTime.h"
#include "core/ArrayOfTObject.h"
#include "core/ArrayOfWideString.h"
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
      {"ArrayOfTObject", ArrayOfTObject::Initialiser, nullptr},
      {"ArrayOfCardinal", ArrayOfCardinal::Initialiser, nullptr},
      {"ArrayOfClasses", ArrayOfClasses::Initialiser, nullptr},
      {"ArrayOfInteger", ArrayOfInteger::Initialiser, nullptr},
      {"ArrayOfBooleen", ArrayOfBooleen::Initialiser, nullptr},
      {"ArrayOfDouble", ArrayOfDouble::Initialiser, nullptr},
      {"ArrayOfInt64", ArrayOfInt64::Initialiser, nullptr},
      {"ArrayOfReal", ArrayOfReal::Initialiser, nullptr},
      {"ArrayOfSingle", ArrayOfSingle::Initialiser, nullptr},
      {"ArrayOfString", ArrayOfString::Initialiser, nullptr},
      {"ArrayOfTDateTime", ArrayOfTDateTime::Initialiser, nullptr},
      {"ArrayOfWideString", ArrayOfWideString::Initialiser, nullptr},
      {"NombreAleatoire", NombreAleatoire::Initialiser, nullptr},
      {"Codage", Codage::Initialiser, nullptr},
      {"Debug", Debug::Initialiser, Debug::Finaliser},
      {"Journal", Journal::Initialiser, nullptr},
  };
  return kTable;
}
