#include "service/EcrSvcWPrincipal.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <charconv>
#include <utility>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "platform/ui/VclDialogue.h"
#include "service/Noyau.h"
#include "service/TexteCle.h"

namespace {

// A whole decimal number of the field (blanks around it allowed), or false.
bool LireNombre(const std::string& Champ, int64_t& Valeur) {
  const size_t debut = Champ.find_first_not_of(' ');
  const size_t fin = Champ.find_last_not_of(' ');
  if (debut == std::string::npos) return false;
  const char* d = Champ.data() + debut;
  const char* f = Champ.data() + fin + 1;
  const auto r = std::from_chars(d, f, Valeur);
  return r.ec == std::errc() && r.ptr == f;
}

}  // namespace

TFicheSvcWPrincipal::TFicheSvcWPrincipal(boost::asio::io_context& Io, const TFicheNetClient* NetClient)
    : Frontal(Io, NetClient) {
  RegistreWindows.Racine = kRacineParametres;
}

const TChaineRessource EcrSvcWPrincipal::RS_ParametresIllisibles_S{
    "EcrSvcWPrincipal_RS_ParametresIllisibles_S", 65216,
    "Les réglages du service web ne peuvent pas être lus (%s) : les valeurs par défaut s'appliquent et les "
    "réglages ne seront pas enregistrés. Déplacez ce fichier pour repartir de réglages neufs."_ansi};
const TChaineRessource EcrSvcWPrincipal::RS_ParametresNonEnregistres_S{
    "EcrSvcWPrincipal_RS_ParametresNonEnregistres_S", 65217,
    "Les réglages du service web n'ont pas pu être enregistrés : %s"_ansi};

void EcrSvcWPrincipal::Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_ParametresIllisibles_S, &RS_ParametresNonEnregistres_S};
  ChaineRessource::Enregistrer(kChaines);
}

void TFicheSvcWPrincipal::SignalerErreurRegistre(const TChaineRessource& Texte) {
  if (registreSignale_) return;
  registreSignale_ = true;
  const std::string& detail = RegistreWindows.DetailErreur();
  VclDialogue::AfficherMessage(true, ChaineRessource::ChargerFormate(Texte, {detail.empty() ? RegistreWindows.TexteErreur() : detail}), "",
                               VclDialogue::kAlerte, VclDialogue::kOk, true);
}

void TFicheSvcWPrincipal::LireParametres() {
  auto& r = RegistreWindows;
  // A hive that cannot be read (a damaged file) leaves every setting at its default, which must not
  // then be saved over it: said once, and nothing is written.
  RegistreIllisible = false;
  (void)r.LireEntierUtilisateur("PortIp", 0);
  if (r.Erreur() && !r.DetailErreur().empty()) {
    RegistreIllisible = true;
    SignalerErreurRegistre(EcrSvcWPrincipal::RS_ParametresIllisibles_S);
  }
  // A stored value that the fields would refuse keeps the current one: the server never starts on a
  // port or with a limit that the settings page could not have saved.
  const int32_t port = r.LireEntierUtilisateur("PortIp", static_cast<int32_t>(PortIp));
  if (port >= 1 && port < 65536) PortIp = static_cast<uint32_t>(port);
  edPortIp = std::to_string(PortIp);
  ActualiserUrlDocumentWsdl();
  RPCLiteral = r.LireEntierUtilisateur("RPCLiteral", RPCLiteral ? 1 : 0) != 0;
  const int32_t taille = r.LireEntierUtilisateur("TailleLimite", static_cast<int32_t>(TailleLimite));
  if (taille > 0) TailleLimite = static_cast<uint32_t>(taille);
  edTailleLimite = std::to_string(TailleLimite);
  AppliquerTailleLimite = r.LireEntierUtilisateur("AppliquerTailleLimite", AppliquerTailleLimite ? 1 : 0) != 0;
  DiffererTraitementSoap = r.LireEntierUtilisateur("DiffererTraitementSoap", DiffererTraitementSoap ? 1 : 0) != 0;
  DiffererErreur401 = r.LireEntierUtilisateur("DiffererErreur401", DiffererErreur401 ? 1 : 0) != 0;
  UniquementTypesSimples = r.LireEntierUtilisateur("UniquementTypesSimples", UniquementTypesSimples ? 1 : 0) != 0;
}

bool TFicheSvcWPrincipal::EcrireParametres() {
  if (RegistreIllisible) return false;
  auto& r = RegistreWindows;
  const std::pair<const char*, int32_t> valeurs[] = {
      {"PortIp", static_cast<int32_t>(PortIp)},
      {"RPCLiteral", RPCLiteral ? 1 : 0},
      {"AppliquerTailleLimite", AppliquerTailleLimite ? 1 : 0},
      {"TailleLimite", static_cast<int32_t>(TailleLimite)},
      {"DiffererTraitementSoap", DiffererTraitementSoap ? 1 : 0},
      {"DiffererErreur401", DiffererErreur401 ? 1 : 0},
      {"UniquementTypesSimples", UniquementTypesSimples ? 1 : 0},
  };
  for (const auto& [nom, valeur] : valeurs) {
    r.EcrireEntierUtilisateur(nom, valeur);
    if (r.Erreur()) {
      SignalerErreurRegistre(EcrSvcWPrincipal::RS_ParametresNonEnregistres_S);
      return false;
    }
  }
  return true;
}

std::string TFicheSvcWPrincipal::PremiereAdresseIp() {
  std::string adresse = "127.0.0.1";
  ifaddrs* liste = nullptr;
  if (::getifaddrs(&liste) != 0) return adresse;
  for (ifaddrs* i = liste; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_LOOPBACK) ||
        !(i->ifa_flags & IFF_UP))
      continue;
    char texte[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr, texte, sizeof texte)) {
      adresse = texte;
      break;
    }
  }
  ::freeifaddrs(liste);
  return adresse;
}

void TFicheSvcWPrincipal::ActualiserUrlDocumentWsdl() {
  EditUrlDocumentWsdl = Format("http://%s:%d", {PremiereAdresseIp(), PortIp});
}

bool TFicheSvcWPrincipal::ValiderPort() {
  int64_t valeur = 0;
  // Port 0 would listen on a port that the system picks and nobody can find.
  const bool valide = LireNombre(edPortIp, valeur) && valeur >= 1 && valeur < 65536;
  if (valide) PortIp = static_cast<uint32_t>(valeur);
  else VclDialogue::AfficherMessage(true, TexteCle("EcrSvcWPrincipalPortIpInvalide"), "", 0, VclDialogue::kOk, true);
  edPortIp = std::to_string(PortIp);
  return valide;
}

bool TFicheSvcWPrincipal::ValiderTailleLimite() {
  int64_t valeur = 0;
  const bool valide = LireNombre(edTailleLimite, valeur) && valeur > 0 && valeur <= INT32_MAX;
  if (valide) TailleLimite = static_cast<uint32_t>(valeur);
  else
    VclDialogue::AfficherMessage(true, TexteCle("EcrSvcWPrincipalTailleLimiteInvalide"), "", 0, VclDialogue::kOk, true);
  edTailleLimite = std::to_string(TailleLimite);
  return valide;
}

bool TFicheSvcWPrincipal::ValiderParametres() {
  if (PageCourante != 2) return true;
  return ValiderPort() && ValiderTailleLimite();
}

void TFicheSvcWPrincipal::DemarrerServeurHttp() {
  if (!DroitGererServiceWeb) {
    VclDialogue::AfficherMessage(true, TexteCle("SupRessourceSuppressionImpossibleDroitUtilisateur"), "", 3,
                                 VclDialogue::kOk, true);
    return;
  }
  if (!ValiderParametres()) return;
  EcrireParametres();
  Frontal.Parametres = {PortIp,        RPCLiteral,          TailleLimite,          AppliquerTailleLimite,
                        DiffererTraitementSoap, DiffererErreur401, UniquementTypesSimples};
  Frontal.DemarrerServeurHttp();
  ServeurActif = Frontal.ServeurHttp.Actif();
}

void TFicheSvcWPrincipal::ArreterServeurHttp() {
  Frontal.ArreterServeurHttp();
  ServeurActif = false;
}

bool TFicheSvcWPrincipal::TraiterMessagesEnAttente() {
  bool done = true;
  if (ServeurActif) Frontal.TraiterMessagesEnAttente(done);
  return !done;
}

void TFicheSvcWPrincipal::FormCreate() {
  PageCourante = 0;
  LireParametres();
  NomBase = Noyau::ParametreBase().substr(0, 32);
}

void TFicheSvcWPrincipal::FormClose() {
  if (ServeurActif) ArreterServeurHttp();
  if (ValiderParametres()) EcrireParametres();
}
