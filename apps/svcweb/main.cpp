// The web service program: starts every unit through the module tables, carries out the command of
// its command line (usage, service install and removal, settings) or runs the application object
// (window mode, or service mode with "-svc") until a stop, then shuts the units down. The exit status
// is that of the command, or 1 when the application could not start (a second instance, for one).
#include <exception>
#include <iostream>

#include "base/ModulesBase.h"
#include "core/objects/Exceptions.h"
#include "core/objects/Modules.h"
#include "net/ModulesNet.h"
#include "objectdb/ModulesObjectdb.h"
#include "platform/ui/VclDialogue.h"
#include "service/ApplicationNorvane.h"
#include "service/LigneCommande.h"
#include "service/ModulesService.h"
#include "service/Noyau.h"
#include "streams/ModulesStreams.h"
#include "ui/ModulesUi.h"

int main(int argc, char** argv) {
  Noyau::DefinirLigneCommande(argc, argv);
  Modules::Demarrer({ModulesCore(), ModulesObjectdb(), ModulesNet(), ModulesBase(), ModulesStreams(), ModulesUi(), ModulesService()});
  int statut = 1;
  try {
    statut = LigneCommande::Executer(std::cin, std::cout);
    if (statut < 0) statut = InstanceApplication()->Lancer() ? 0 : 1;
  } catch (const EArretProgramme& e) {
    statut = e.Code();  // its reason was shown already
  } catch (const std::exception& e) {
    VclDialogue::Ecrire(e.what());
    statut = 1;
  }
  Modules::Arreter();
  return statut;
}
