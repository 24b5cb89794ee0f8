#include "base/ModulesBase.h"

#include "base/EcrGlobale.h"
#include "base/SupDemiPension.h"
#include "base/SupLibelleHeure.h"
#include "base/SupOption.h"
#include "base/SupFichiers.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/SupDomaine.h"
#include "base/SupMAJRessource.h"
#include "base/SupParco.h"
#include "base/SupValeurHebdomadaire.h"
#include "base/cours/SupVisibiliteCours.h"
#include "base/ValeursUtilisateur.h"

std::span<const TModule> ModulesBase() {
  static const TModule kTable[] = {
      {"SupTraitement", SupTraitement::Initialiser, SupTraitement::Finaliser},
      {"SupParametresGrille", SupParametresGrille::Initialiser, nullptr},
      {"SupFichiers", SupFichiers::Initialiser, SupFichiers::Finaliser},
      {"EcrGlobale", EcrGlobale::Initialiser, EcrGlobale::Finaliser},
      {"SupValeurHebdomadaire", SupValeurHebdomadaire::Initialiser, nullptr},
      {"SupParam", SupParam::Initialiser, SupParam::Finaliser},
      {"SupDemiPension", SupDemiPension::Initialiser, nullptr},
      {"SupLibelleHeure", SupLibelleHeure::Initialiser, SupLibelleHeure::Finaliser},
      {"SupOption", SupOption::Initialiser, nullptr},
      {"SupDomaine", SupDomaine::Initialiser, nullptr},
      {"SupMAJRessource", SupMAJRessource::Initialiser, SupMAJRessource::Finaliser},
      {"SupParco", SupParco::Initialiser, nullptr},
      {"SupVisibiliteCours", SupVisibiliteCours::Initialiser, nullptr},
      {"ValeursUtilisateur", ValeursUtilisateur::Initialiser, nullptr},
  };
  return kTable;
}
