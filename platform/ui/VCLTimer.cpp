#include "platform/ui/VCLTimer.h"

void TAppelRoutine::CommeMethode(TypeMethodeXi& Methode) {
  Methode.Objet = this;
  Methode.Routine = [](void* Objet, intptr_t Argument) {
    const TypeFonctionXi r = static_cast<TAppelRoutine*>(Objet)->routine_;
    return r ? r(Argument) : false;
  };
}

namespace VCLTimer {

bool ToujoursVrai(intptr_t) { return true; }

bool Compter(intptr_t Compteur) {
  auto* n = reinterpret_cast<int32_t*>(Compteur);
  if (n) ++*n;
  return false;
}

}  // namespace VCLTimer
