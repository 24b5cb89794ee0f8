#include "net/ModulesNet.h"

#include "net/FichierEnregistrements.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "net/NetXi.h"
#include "net/netmodif.h"

std::span<const TModule> ModulesNet() {
  static const TModule kTable[] = {
      {"FichierEnregistrements", FichierEnregistrements::Initialiser, FichierEnregistrements::Finaliser},
      {"NetBases", NetBases::Initialiser, NetBases::Finaliser},
      {"NetXi", NetXi::Initialiser, NetXi::Finaliser},
      {"netmodif", netmodif::Initialiser, netmodif::Finaliser},
      {"NetClient", NetClient::Initialiser, NetClient::Finaliser},
  };
  return kTable;
}
