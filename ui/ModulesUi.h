// The units of the desktop toolkit that start up and shut down, in unit order. The program runs
// them after the base streams' and before the web service's.
#pragma once

#include <span>

#include "core/objects/Modules.h"

std::span<const TModule> ModulesUi();
