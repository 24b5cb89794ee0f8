// The web service program. The service's start-up, connection and SOAP ports are not built yet:
// for now the program starts and stops every unit of the core library through the module table
// and says so.
#include <cstdio>

#include "core/Modules.h"

int main() {
  Modules::Demarrer({ModulesCore()});
  std::printf("Core library started (%zu units). The web service itself is not built yet.\n",
              ModulesCore().size());
  Modules::Arreter();
  return 0;
}
