#include "base/SupParco.h"

#include "core/objects/Exceptions.h"

namespace SupParco {

bool PourChaqueCoursDeLaRessource(const TypeDomaineHebdomadaire&, const std::function<bool(uint32_t)>&) {
  throw ENonConstruit("SupParco.PourChaqueCoursDeLaRessource: the walks between courses and resources are not built yet");
}

}  // namespace SupParco
