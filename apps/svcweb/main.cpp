// The web service program. The service's start-up, connection and SOAP ports are not built yet:
// for now the program starts and stops every unit of the core, object-database, networking,
// timetable-base and settings libraries through the module tables and says so.
#include <cstdio>

#include "core/objects/Modules.h"
#include "base/ModulesBase.h"
#include "net/ModulesNet.h"
#include "objectdb/ModulesObjectdb.h"
#include "streams/ModulesStreams.h"

int main() {
  Modules::Demarrer({ModulesCore(), ModulesObjectdb(), ModulesNet(), ModulesBase(), ModulesStreams()});
  std::printf("Core, object-database, networking, timetable-base and settings libraries started (%zu units). The web service itself is not built yet.\n",
              ModulesCore().size() + ModulesObjectdb().size() + ModulesNet().size() + ModulesBase().size() +
                  ModulesStreams().size());
  Modules::Arreter();
  return 0;
}
