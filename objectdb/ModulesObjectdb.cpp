#include "objectdb/ModulesObjectdb.h"

#include "objectdb/ArrayOfDuree.h"

std::span<const TModule> ModulesObjectdb() {
  static const TModule kTable[] = {
      {"ArrayOfDuree", ArrayOfDuree::Initialiser, nullptr},
  };
  return kTable;
}
