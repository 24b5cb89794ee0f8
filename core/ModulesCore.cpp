#include "core/Modules.h"

std::span<const TModule> ModulesCore() {
  static const TModule kTable[] = {
      {"Modules", nullptr, nullptr},
  };
  return kTable;
}
