// The units of the timetable-base library that start up and shut down, in unit order. The program
// runs them after the networking library's.
#pragma once

#include <span>

#include "core/objects/Modules.h"

std::span<const TModule> ModulesBase();
