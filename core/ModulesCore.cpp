#include "core/Modules.h"

#include "core/ClasseFinalisable.h"
#include "core/Debug.h"

std::span<const TModule> ModulesCore() {
  static const TModule kTable[] = {
      {"ClasseFinalisable", nullptr, ClasseFinalisable::Finaliser},
      {"Debug", Debug::Initialiser, Debug::Finaliser},
  };
  return kTable;
}
