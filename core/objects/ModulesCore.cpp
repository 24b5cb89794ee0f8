#include "core/objects/Modules.h"

#include "core/objects/Arbre.h"
#include "core/arrays/ArrayOfBooleen.h"
#include "core/arrays/ArrayOfCardinal.h"
#include "core/arrays/ArrayOfClasses.h"
#include "core/arrays/ArrayOfDouble.h"
#include "core/arrays/ArrayOfInt64.h"
#include "core/arrays/ArrayOfInteger.h"
#include "core/arrays/ArrayOfReal.h"
#include "core/arrays/ArrayOfSingle.h"
#include "core/arrays/ArrayOfString.h"
#include "core/arrays/ArrayOfTDateTime.h"
#include "core/arrays/ArrayOfTObject.h"
#include "core/arrays/ArrayOfWideString.h"
#include "core/objects/ClasseFinalisable.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Codage.h"
#include "core/records/Comparai.h"
#include "core/diagnostics/Debug.h"
#include "core/objects/Erreur.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/records/Memoire.h"
#include "core/diagnostics/Journal.h"
#include "core/values/NombreAleatoire.h"
#include "core/objects/ObjetEvent.h"
#include "core/objects/ServiceNorvane.h"
#include "core/records/Stockage.h"
#include "core/values/Times.h"
#include "core/objects/Verification.h"

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
      {"ChaineUnicode", ChaineUnicode::Initialiser, nullptr},
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
