#include "core/Modules.h"

#include "core/ClasseFinalisable.h"

std::span<const TModule> ModulesCore() {
  static const TModule kTable[] = {
      {"ClasseFinalisable", nullptr, ClasseFinalisable::Finaliser},
  };
  return kTable;
}
