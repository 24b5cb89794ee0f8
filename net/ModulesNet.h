// The units of the networking library that start up and shut down, in unit order. The program runs
// them after the core library's (Modules::Demarrer({ModulesCore(), ModulesNet()})).
#pragma once

#include <span>

#include "core/objects/Modules.h"

std::span<const TModule> ModulesNet();
