#include "platform/ui/AttenteReponseServeur.h"

namespace FenetresTaches {

namespace {
int desactivations = 0;
}

TDesactivation::TDesactivation() { ++desactivations; }
TDesactivation::~TDesactivation() { --desactivations; }
bool Actives() { return desactivations == 0; }

}  // namespace FenetresTaches
