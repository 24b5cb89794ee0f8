#include "core/objects/Modules.h"

#include <vector>

namespace {
std::vector<const TModule*>& Demarres() {
  static std::vector<const TModule*> started;
  return started;
}
}  // namespace

void Modules::Demarrer(std::initializer_list<std::span<const TModule>> tables) {
  for (auto table : tables)
    for (const TModule& m : table) {
      if (m.Initialiser) m.Initialiser();
      Demarres().push_back(&m);
    }
}

void Modules::Arreter() {
  auto& started = Demarres();
  while (!started.empty()) {
    const TModule* m = started.back();
    started.pop_back();
    if (m->Finaliser) m->Finaliser();
  }
}
