#include "core/Modules.h"

#include "core/ClasseFinalisable.h"
#include "core/Debug.h"
#include "core/Journal.h"

std::span<const TModule> ModulesCore() {
  static const TModule kTable[] = {
      {"ClasseFinalisable", nullptr, ClasseFinalisable::Finaliser},
      {"Debug", Debug::Initialiser, Debug::Finaliser},
      {"Journal", Journal::Initialiser, nullptr},
  };
  return kTable;
}
