#include "base/fichiers/SupLiensPartie.h"

#include "core/objects/Exceptions.h"

namespace SupLiensPartie {

void SupprimerLiensEntreDiplomes() {
  throw ENonConstruit("SupLiensPartie.SupprimerLienCourant: the part links between classes are not built yet");
}

}  // namespace SupLiensPartie
