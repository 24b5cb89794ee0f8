// The units of the web-service library that start and stop with the program, in start-up order.
#pragma once

#include <span>

#include "core/objects/Modules.h"

std::span<const TModule> ModulesService();
