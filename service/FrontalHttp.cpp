#include "service/FrontalHttp.h"

#include <algorithm>
#include <cstdlib>

#include "platform/soap/EnveloppeSoap.h"
#include "service/DocumentWsdl.h"
#include "service/SupSvcWImplementations.h"
#include "service/TexteCle.h"

namespace {

// Trims the characters at or below the blank, as the credential and action checks do.
std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

bool EgauxSansCasse(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool Chiffre(char c) { return c >= '0' && c <= '9'; }
bool Hexa(char c) { return Chiffre(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool Lettre(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A Host header that may go into the WSDL: a host name (letters, digits, ".", "-" and "_", which
// container and machine names hold) or an IPv4 address, or an IPv6 address in brackets, then an
// optional port.
bool HoteValide(std::string_view h) {
  if (h.empty() || h.size() > 260) return false;
  size_t finHote;
  if (h.front() == '[') {
    finHote = h.find(']');
    if (finHote == std::string_view::npos || finHote < 2) return false;
    for (char c : h.substr(1, finHote - 1))
      if (!(Hexa(c) || c == ':' || c == '.')) return false;
    ++finHote;
  } else {
    finHote = std::min(h.find(':'), h.size());
    if (finHote == 0) return false;
    for (char c : h.substr(0, finHote))
      if (!(Lettre(c) || Chiffre(c) || c == '.' || c == '-' || c == '_')) return false;
  }
  std::string_view port = h.substr(finHote);
  if (port.empty()) return true;
  if (port.front() != ':' || port.size() < 2 || port.size() > 6) return false;
  uint32_t n = 0;
  for (char c : port.substr(1)) {
    if (!Chiffre(c)) return false;
    n = n * 10 + static_cast<uint32_t>(c - '0');
  }
  return n <= 65535;
}

}  // namespace

// ---- answers ----

void TSvcWConnexion::RepondreErreur(std::string_view statut, std::string_view texte) {
  Statut = std::atoi(std::string(statut.substr(0, 3)).c_str());
  EnvoyerReponse(Version() + " " + std::string(statut) +
                     "\r\nContent-Type: text/plain; charset=iso-8859-1\r\nContent-Length: " +
                     std::to_string(texte.size() + 2) + "\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n" +
                     std::string(texte) + "\r\n",
                 false);
}

void TSvcWConnexion::Repondre401(int keepAliveSecondes) {
  std::string texte = TexteCle("EcrSvcWPrincipalErreur401");
  std::string entete = Version() + " 401 Unauthorized\r\nContent-Type: text/plain; charset=iso-8859-1\r\n" +
                       "Content-Length: " + std::to_string(texte.size() + 2) + "\r\n";
  if (keepAliveSecondes != 0) {
    entete += "Connection: keep-alive\r\nProxy-Connection: keep-alive\r\nKeep-Alive: " +
              std::to_string(keepAliveSecondes) + "\r\n";
  } else {
    entete += "Connection: Close\r\nProxy-Connection: Close\r\n";
    Statut = 401;
  }
  entete += "WWW-Authenticate: Basic Realm=TzSvcW\r\n\r\n";
  Erreur401Differee = false;
  EnvoyerReponse(entete + texte + "\r\n", keepAliveSecondes != 0);
}

void TSvcWConnexion::Repondre403() { RepondreErreur("403 Forbidden", TexteCle("EcrSvcWPrincipalErreur403")); }

void TSvcWConnexion::Repondre413(uint64_t limiteKo) {
  RepondreErreur("413 Request Entity Too Large", TexteCleFormate("EcrSvcWPrincipalErreur413_D", {limiteKo}));
}

void TSvcWConnexion::Repondre500() {
  RepondreErreur("500 Internal Server Error", TexteCle("EcrSvcWPrincipalErreur500"));
}

void TSvcWConnexion::Repondre501() { RepondreErreur("501 Not Implemented", TexteCle("EcrSvcWPrincipalErreur501")); }

void TSvcWConnexion::RepondreHtml(std::string_view texte) {
  Statut = 200;
  EnvoyerReponse(Version() + " 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\nContent-Length: " +
                     std::to_string(texte.size()) + "\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n" +
                     std::string(texte),
                 false);
}

void TSvcWConnexion::RepondreXml(std::string_view texte) {
  Statut = 200;
  EnvoyerReponse(Version() + " 200 OK\r\nContent-Type: text/xml; charset=iso-8859-1\r\nContent-Length: " +
                     std::to_string(texte.size()) + "\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n" +
                     std::string(texte),
                 false);
}

void TSvcWConnexion::RepondreWsdl(std::string_view texte) {
  std::string hote(Trim(EnTete("Host")));
  if (!HoteValide(hote)) {
    std::string adresse = AdresseLocale();
    if (adresse.find(':') != std::string::npos) adresse = "[" + adresse + "]";
    hote = adresse + ":" + std::to_string(PortLocal());
  }
  RepondreXml(DocumentWsdl::RemplacerRequestHost(texte, hote));
}

// ---- the front end ----

TFrontalHttp::TFrontalHttp(boost::asio::io_context& io, const TFicheNetClient* netClient)
    : ServeurHttp(io), netClient_(netClient) {
  ServeurHttp.ClasseClient = [] { return std::make_shared<TSvcWConnexion>(); };
  ServeurHttp.OnGetDocument = [this](TConnexionHttp& c, DrapeauxDocument& d) {
    TraiterGetDocument(static_cast<TSvcWConnexion&>(c), d);
  };
  ServeurHttp.OnPostDocument = [this](TConnexionHttp& c, DrapeauxDocument& d) {
    TraiterPostDocument(static_cast<TSvcWConnexion&>(c), d);
  };
  ServeurHttp.OnPostedData = [this](TConnexionHttp& c, std::string_view donnees, bool fin) {
    TraiterPostedData(static_cast<TSvcWConnexion&>(c), donnees, fin);
  };
  ServeurHttp.OnCorpsTropLong = [this](TConnexionHttp& c) {
    auto& client = static_cast<TSvcWConnexion&>(c);
    if (client.Erreur401Differee) return client.Repondre401(0);
    client.Repondre413(Parametres.AppliquerTailleLimite ? Parametres.TailleLimite : kPlafondCorps / 1024);
  };
}

void TFrontalHttp::DemarrerServeurHttp() {
  SupSvcWImplementations::EnregistrerServicesWeb(SupSvcWImplementations::kEncodage,
                                                  Parametres.RPCLiteral ? kOptionsSoapLitteral : kOptionsSoapEncode);
  wsdlEncode_ = DocumentWsdl::PreparerDocument(DocumentWsdl::GenererWsdlEncode(
      RegistreInvocables(), RegistreTypesRemotables(), SupSvcWImplementations::kNamespaceTypes));
  wsdlLitteral_ = DocumentWsdl::DeriverWsdlLitteral(wsdlEncode_);
  wsdlEnService_ = Parametres.RPCLiteral ? wsdlLitteral_ : wsdlEncode_;
  if (Parametres.PortIp > 65535) throw EServeurHttp("Invalid port " + std::to_string(Parametres.PortIp));
  ServeurHttp.Port = static_cast<uint16_t>(Parametres.PortIp);
  ServeurHttp.Ecouter();
}

void TFrontalHttp::ArreterServeurHttp() { ServeurHttp.Arreter(); }

void TFrontalHttp::TraiterGetDocument(TSvcWConnexion& client, DrapeauxDocument& drapeaux) {
  drapeaux.RepondSoiMeme = true;
  const std::string& chemin = client.Chemin();
  if (EgauxSansCasse(chemin, "/wsdl")) client.RepondreWsdl(wsdlEnService_);
  else if (EgauxSansCasse(chemin, "/manuel")) client.RepondreHtml(Documents.Manuel);
  else if (EgauxSansCasse(chemin, "/appels")) client.RepondreHtml(Documents.Appels);
  else client.RepondreHtml(Documents.Accueil);
}

void TFrontalHttp::TraiterPostDocument(TSvcWConnexion& client, DrapeauxDocument& drapeaux) {
  drapeaux.RepondSoiMeme = true;
  std::optional<uint64_t> longueur = client.ContentLength();
  client.Erreur401Differee = !client.AEnTete("Authorization");
  if (client.Erreur401Differee) {
    // Without credential the body is only drained, and never beyond the hard limit.
    if (Parametres.DiffererErreur401 && longueur.value_or(0) <= kPlafondCorps) {
      client.LimiteCorps = kPlafondCorps;
      client.Corps.clear();
      drapeaux.AccepteDonnees = true;
    } else {
      client.Repondre401(0);
    }
    return;
  }
  if (!netClient_ || netClient_->CredentielAttendu().empty()) return client.Repondre500();
  if (!CredentielValide(client.EnTete("Authorization"), netClient_->CredentielAttendu())) return client.Repondre403();
  uint64_t limite = kPlafondCorps;
  uint64_t limiteKo = kPlafondCorps / 1024;
  if (Parametres.AppliquerTailleLimite && uint64_t{Parametres.TailleLimite} * 1024 < limite) {
    limite = uint64_t{Parametres.TailleLimite} * 1024;
    limiteKo = Parametres.TailleLimite;
  }
  if (longueur && *longueur > limite) return client.Repondre413(limiteKo);
  if (!client.AEnTete("SOAPAction")) return client.Repondre501();
  drapeaux.AccepteDonnees = true;
  std::string_view action = Trim(client.EnTete("SOAPAction"));
  if (action.size() >= 2 && action.front() == '"' && action.back() == '"') action = action.substr(1, action.size() - 2);
  client.ActionSoap = action;
  client.Corps.clear();
  client.LimiteCorps = limite;
}

void TFrontalHttp::TraiterPostedData(TSvcWConnexion& client, std::string_view donnees, bool fin) {
  if (!client.Erreur401Differee) {
    uint64_t attendu = client.ContentLength().value_or(client.LimiteCorps);
    uint64_t restant = attendu > client.Corps.size() ? attendu - client.Corps.size() : 0;
    client.Corps.append(donnees.substr(0, static_cast<size_t>(std::min<uint64_t>(restant, donnees.size()))));
  }
  if (!fin) return;
  if (ChangerEtatConnexion(client, kRequeteComplete) && !Parametres.DiffererTraitementSoap) TraiterMessageSoap(client);
}

bool TFrontalHttp::ChangerEtatConnexion(TSvcWConnexion& client, uint8_t nouvelEtat) {
  std::lock_guard<std::mutex> verrou(sectionCritique_);
  bool permis = nouvelEtat == client.EtatRequete + 1 ||
                (client.EtatRequete == kRequeteRepondue && nouvelEtat == kRequeteInactive);
  if (permis && !client.Erreur401Differee) {
    if (nouvelEtat == kRequeteEnCours) {
      if (requeteSoapEnCours_) permis = false;
      else requeteSoapEnCours_ = true;
    } else if (nouvelEtat == kRequeteRepondue) {
      requeteSoapEnCours_ = false;
    }
  }
  if (permis) client.EtatRequete = nouvelEtat;
  return permis;
}

bool TFrontalHttp::TraiterMessageSoap(TSvcWConnexion& client) {
  if (!ChangerEtatConnexion(client, kRequeteEnCours)) return false;
  if (client.Erreur401Differee) {
    ChangerEtatConnexion(client, kRequeteRepondue);
    int keepAlive = client.LingerTimeout;
    client.Repondre401(keepAlive);
    if (keepAlive != 0) ChangerEtatConnexion(client, kRequeteInactive);
    return true;
  }
  std::string reponse;
  std::string echec;
  bool echoue = false;
  // The body is given up to the dispatch: what the caller sent is not kept past its answer.
  std::string corps = std::move(client.Corps);
  client.Corps.clear();
  try {
    invocateurSoap_.Dispatcher("/soap", client.ActionSoap, corps, reponse,
                               EnveloppeSoap::CharsetDe(client.EnTete("Content-Type")));
  } catch (const std::exception& e) {
    echoue = true;
    echec = e.what();
  } catch (...) {
    echoue = true;
    echec = "Unknown failure";
  }
  ChangerEtatConnexion(client, kRequeteRepondue);
  if (echoue) {
    client.RepondreXml(EnveloppeFaute(echec));
  } else {
    if (Parametres.UniquementTypesSimples) reponse = SupSvcWImplementations::RemplacerTypesParTypesDeBase(reponse);
    client.RepondreXml(reponse);
  }
  return true;
}

void TFrontalHttp::TraiterMessagesEnAttente(bool& done) {
  // Only a complete request can start; answering sends asynchronously, so the list stays as it is
  // during the walk.
  for (const auto& c : ServeurHttp.Connexions()) {
    auto& client = static_cast<TSvcWConnexion&>(*c);
    if (client.EtatRequete == kRequeteComplete && TraiterMessageSoap(client)) {
      done = false;
      return;
    }
  }
}

std::string TFrontalHttp::EnveloppeFaute(std::string_view message) {
  std::string s =
      "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
      "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" >\r\n"
      "  <soapenv:Body>\r\n"
      "    <soapenv:Fault>\r\n"
      "      <faultcode>soapenv:Server</faultcode>\r\n"
      "      <faultstring>";
  EnveloppeSoap::EchapperTexte(s, message);
  s +=
      "</faultstring>\r\n"
      "    </soapenv:Fault>\r\n"
      "  </soapenv:Body>\r\n"
      "</soapenv:Envelope>\r\n";
  return s;
}

bool TFrontalHttp::CredentielValide(std::string_view recu, std::string_view attendu) {
  recu = Trim(recu);
  size_t blancRecu = recu.find(' ');
  size_t blancAttendu = attendu.find(' ');
  if (blancRecu == std::string_view::npos || blancAttendu == std::string_view::npos) return false;
  if (!EgauxSansCasse(recu.substr(0, blancRecu), attendu.substr(0, blancAttendu))) return false;
  std::string_view jeton = recu.substr(blancRecu + 1);
  while (!jeton.empty() && jeton.front() == ' ') jeton.remove_prefix(1);
  std::string_view jetonAttendu = attendu.substr(blancAttendu + 1);
  // Every byte of the expected token is compared, whatever the first difference.
  unsigned difference = jeton.size() == jetonAttendu.size() ? 0 : 1;
  for (size_t i = 0; i < jetonAttendu.size(); ++i)
    difference |= static_cast<unsigned char>(jetonAttendu[i]) ^
                  static_cast<unsigned char>(i < jeton.size() ? jeton[i] : 0);
  return difference == 0;
}
