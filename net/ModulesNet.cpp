#include "net/ModulesNet.h"

#include "net/FichierEnregistrements.h"
#include "net/ip/IEIPEndPoint.h"
#include "net/protocol/VclProtocole.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "net/NetXi.h"
#include "net/netmodif.h"
#include "net/objets/ObjetReseau.h"
#include "net/objets/OrdreReseau.h"
#include "net/objets/ParametreObjetReseau.h"
#include "net/objets/ParametrePublie.h"
#include "net/objets/ParametrePublieReseau.h"
#include "net/objets/Serialisable.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/Login.h"
#include "net/utilisateurs/OrdreUtilisateur.h"
#include "net/utilisateurs/Utilisateur.h"

std::span<const TModule> ModulesNet() {
  static const TModule kTable[] = {
      {"FichierEnregistrements", FichierEnregistrements::Initialiser, FichierEnregistrements::Finaliser},
      {"VclProtocole", VclProtocole::Initialiser, VclProtocole::Finaliser},
      {"IEIPEndPoint", IEIPEndPoint::Initialiser, nullptr},
      {"ObjetReseau", ObjetReseau::Initialiser, ObjetReseau::Finaliser},
      {"ParametrePublie", ParametrePublie::Initialiser, nullptr},
      {"Serialisable", Serialisable::Initialiser, nullptr},
      {"ParametrePublieReseau", ParametrePublieReseau::Initialiser, nullptr},
      {"ParametreObjetReseau", ParametreObjetReseau::Initialiser, nullptr},
      {"OrdreReseau", OrdreReseau::Initialiser, nullptr},
      {"NetBases", NetBases::Initialiser, NetBases::Finaliser},
      {"NetXi", NetXi::Initialiser, NetXi::Finaliser},
      {"netmodif", netmodif::Initialiser, netmodif::Finaliser},
      {"NetClient", NetClient::Initialiser, NetClient::Finaliser},
      {"Login", Login::Initialiser, nullptr},
      {"BaseUtilisateurs", BaseUtilisateurs::Initialiser, BaseUtilisateurs::Finaliser},
      {"Utilisateur", Utilisateur::Initialiser, nullptr},
      {"OrdreUtilisateur", OrdreUtilisateur::Initialiser, OrdreUtilisateur::Finaliser},
  };
  return kTable;
}
