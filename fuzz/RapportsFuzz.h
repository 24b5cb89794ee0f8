// What the report library's fuzz targets share: the units of every library up to the settings,
// then the report library's own, started once per process however many targets it holds.
#pragma once

#include "core/objects/Modules.h"
#include "fuzz/FuzzSupport.h"
#include "reports/ModulesReports.h"

namespace Fuzz {

inline void DemarrerRapports() {
  static const bool demarre = [] {
    Demarrer();
    Modules::Demarrer({ModulesReports()});
    return true;
  }();
  (void)demarre;
}

}  // namespace Fuzz
