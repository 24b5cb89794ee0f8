// The walks between courses and resources: from a resource to its courses and from a course to its
// resources, through the course relations. The walks come with the course relations; until then
// each walk raises ENonConstruit. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "core/values/DomaineHebdomadaire.h"

namespace SupParco {

// Calls Routine with the record number of each course of the current resource whose weeks meet
// Semaines, until it answers True; the result is that answer.
bool PourChaqueCoursDeLaRessource(const TypeDomaineHebdomadaire& Semaines, const std::function<bool(uint32_t)>& Routine);

}  // namespace SupParco
