#include "base/ModulesBase.h"

#include "base/EcrGlobale.h"
#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"

std::span<const TModule> ModulesBase() {
  static const TModule kTable[] = {
      {"SupTraitement", SupTraitement::Initialiser, SupTraitement::Finaliser},
      {"SupParametresGrille", SupParametresGrille::Initialiser, nullptr},
      {"SupFichiers", SupFichiers::Initialiser, SupFichiers::Finaliser},
      {"EcrGlobale", EcrGlobale::Initialiser, EcrGlobale::Finaliser},
  };
  return kTable;
}
