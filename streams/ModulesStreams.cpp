#include "streams/ModulesStreams.h"

#include "streams/BlocParametresBase.h"
#include "streams/ParametresBase.h"
#include "streams/ProprietesImpressionGrille.h"
#include "streams/Registre.h"
#include "streams/SupToutesTables.h"

std::span<const TModule> ModulesStreams() {
  // The registry object is created by the application (Registre::InitialiserRegistre); the unit
  // only frees it at shut-down.
  static const TModule kTable[] = {
      {"Registre", nullptr, Registre::Finaliser},
      {"ParametresBase", ParametresBase::Initialiser, ParametresBase::Finaliser},
      {"BlocParametresBase", BlocParametresBase::Initialiser, BlocParametresBase::Finaliser},
      {"SupToutesTables", SupToutesTables::Initialiser, SupToutesTables::Finaliser},
      {"ProprietesImpressionGrille", nullptr, LibererToutesProprietesImpressionGrille},
  };
  return kTable;
}
