#include "streams/ModulesStreams.h"

#include "streams/ParametresBase.h"
#include "streams/Registre.h"

std::span<const TModule> ModulesStreams() {
  // The registry object is created by the application (Registre::InitialiserRegistre); the unit
  // only frees it at shut-down.
  static const TModule kTable[] = {
      {"Registre", nullptr, Registre::Finaliser},
      {"ParametresBase", ParametresBase::Initialiser, ParametresBase::Finaliser},
  };
  return kTable;
}
