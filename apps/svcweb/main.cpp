// The web service program: starts every unit through the module tables, runs the application object
// (window mode, or service mode with "-svc") until a stop, then shuts the units down. The exit status
// is 1 when the application could not start (a second instance, for one).
#include "base/ModulesBase.h"
#include "core/objects/Modules.h"
#include "net/ModulesNet.h"
#include "objectdb/ModulesObjectdb.h"
#include "service/ApplicationNorvane.h"
#include "service/ModulesService.h"
#include "service/Noyau.h"
#include "streams/ModulesStreams.h"
#include "ui/ModulesUi.h"

int main(int argc, char** argv) {
  Noyau::DefinirLigneCommande(argc, argv);
  Modules::Demarrer({ModulesCore(), ModulesObjectdb(), ModulesNet(), ModulesBase(), ModulesStreams(), ModulesUi(), ModulesService()});
  const bool lance = InstanceApplication()->Lancer();
  Modules::Arreter();
  return lance ? 0 : 1;
}
