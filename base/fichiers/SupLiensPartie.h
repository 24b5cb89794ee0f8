// Part links between classes (TD and option links that join classes).
#pragma once

namespace SupLiensPartie {

// Deletes every TD/option link that joins two diplomas (once management by students is off). Not
// built yet: raises ENonConstruit.
void SupprimerLiensEntreDiplomes();

}  // namespace SupLiensPartie
