// The units of the base streams, parameters and settings library that start up and shut down, in
// unit order. The program runs them after the networking library's.
#pragma once

#include <span>

#include "core/objects/Modules.h"

std::span<const TModule> ModulesStreams();
