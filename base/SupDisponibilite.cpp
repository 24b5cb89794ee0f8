#include "base/SupDisponibilite.h"

namespace SupDisponibilite {

int32_t& ModeDAcces() {
  static int32_t mode = kModeModification;
  return mode;
}

int32_t& AncienModeDAcces() {
  static int32_t mode = kModeModification;
  return mode;
}

}  // namespace SupDisponibilite
