// The units of the report library, in start-up order; the program (and the test main) runs them
// after the core library's: Modules::Demarrer({ModulesCore(), ..., ModulesReports()}).
#pragma once

#include <span>

#include "core/objects/Modules.h"

std::span<const TModule> ModulesReports();
