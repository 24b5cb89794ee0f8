#include "net/ModulesNet.h"

#include "net/FichierEnregistrements.h"

std::span<const TModule> ModulesNet() {
  static const TModule kTable[] = {
      {"FichierEnregistrements", FichierEnregistrements::Initialiser, FichierEnregistrements::Finaliser},
  };
  return kTable;
}
