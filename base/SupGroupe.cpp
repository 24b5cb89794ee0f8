#include "base/SupGroupe.h"

#include "core/objects/Exceptions.h"

namespace SupGroupe {

void RecalculerEffectifsGroupements() {
  throw ENonConstruit("SupGroupe.RecalculerEffectifGroupe: the group composition is not built yet");
}

}  // namespace SupGroupe
