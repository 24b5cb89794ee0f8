#include "net/ModulesNet.h"

#include "net/FichierEnregistrements.h"
#include "net/ip/IEIPEndPoint.h"
#include "net/protocol/VclProtocole.h"

std::span<const TModule> ModulesNet() {
  static const TModule kTable[] = {
      {"FichierEnregistrements", FichierEnregistrements::Initialiser, FichierEnregistrements::Finaliser},
      {"VclProtocole", VclProtocole::Initialiser, VclProtocole::Finaliser},
      {"IEIPEndPoint", IEIPEndPoint::Initialiser, nullptr},
  };
  return kTable;
}
