#include "service/EcrSvcWPrincipal.h"

#include <charconv>

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

void TFicheSvcWPrincipal::LireParametres() {
  auto& r = RegistreWindows;
  // A stored value that the fields would refuse keeps the current one: the server never starts on a
  // port or with a limit that the settings page could not have saved.
  const int32_t port = r.LireEntierUtilisateur("PortIp", static_cast<int32_t>(PortIp));
  if (port >= 1 && port < 65536) PortIp = static_cast<uint32_t>(port);
  edPortIp = std::to_string(PortIp);
  RPCLiteral = r.LireEntierUtilisateur("RPCLiteral", RPCLiteral ? 1 : 0) != 0;
  const int32_t taille = r.LireEntierUtilisateur("TailleLimite", static_cast<int32_t>(TailleLimite));
  if (taille > 0) TailleLimite = static_cast<uint32_t>(taille);
  edTailleLimite = std::to_string(TailleLimite);
  AppliquerTailleLimite = r.LireEntierUtilisateur("AppliquerTailleLimite", AppliquerTailleLimite ? 1 : 0) != 0;
  DiffererTraitementSoap = r.LireEntierUtilisateur("DiffererTraitementSoap", DiffererTraitementSoap ? 1 : 0) != 0;
  DiffererErreur401 = r.LireEntierUtilisateur("DiffererErreur401", DiffererErreur401 ? 1 : 0) != 0;
  UniquementTypesSimples = r.LireEntierUtilisateur("UniquementTypesSimples", UniquementTypesSimples ? 1 : 0) != 0;
}

void TFicheSvcWPrincipal::EcrireParametres() {
  auto& r = RegistreWindows;
  r.EcrireEntierUtilisateur("PortIp", static_cast<int32_t>(PortIp));
  r.EcrireEntierUtilisateur("RPCLiteral", RPCLiteral ? 1 : 0);
  r.EcrireEntierUtilisateur("AppliquerTailleLimite", AppliquerTailleLimite ? 1 : 0);
  r.EcrireEntierUtilisateur("TailleLimite", static_cast<int32_t>(TailleLimite));
  r.EcrireEntierUtilisateur("DiffererTraitementSoap", DiffererTraitementSoap ? 1 : 0);
  r.EcrireEntierUtilisateur("DiffererErreur401", DiffererErreur401 ? 1 : 0);
  r.EcrireEntierUtilisateur("UniquementTypesSimples", UniquementTypesSimples ? 1 : 0);
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
  NomBase = Noyau::ParamStr(1).substr(0, 32);
}

void TFicheSvcWPrincipal::FormClose() {
  if (ServeurActif) ArreterServeurHttp();
  if (ValiderParametres()) EcrireParametres();
}
