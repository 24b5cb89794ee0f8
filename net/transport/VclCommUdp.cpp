#include "net/transport/VclCommUdp.h"

#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include <boost/asio/ip/udp.hpp>

#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "net/ip/IEIPAddress.h"
#include "net/protocol/PetitBoutiste.h"
#include "platform/ui/VclDialogue.h"

using boost::asio::ip::udp;
using namespace GenresMessages;

namespace {

TypeAdresseSocket AdresseSocketDe(const udp::endpoint& Point) {
  TypeAdresseSocket a{2, 0};
  a[2] = static_cast<uint8_t>(Point.port() >> 8);
  a[3] = static_cast<uint8_t>(Point.port());
  const auto octets = Point.address().to_v4().to_bytes();
  std::copy(octets.begin(), octets.end(), a.begin() + 4);
  return a;
}

udp::endpoint PointDe(const TypeAdresseSocket& a) {
  return {boost::asio::ip::address_v4({a[4], a[5], a[6], a[7]}), static_cast<uint16_t>(a[2] << 8 | a[3])};
}

// A port text: a number, or a service name resolved with "udp"; 0 when neither.
uint16_t Port(const std::string& Texte) {
  if (!Texte.empty() && std::all_of(Texte.begin(), Texte.end(), [](unsigned char c) { return std::isdigit(c); }))
    return static_cast<uint16_t>(std::stoul(Texte.substr(0, 5)));
  const servent* s = getservbyname(Texte.c_str(), "udp");
  return s != nullptr ? ntohs(static_cast<uint16_t>(s->s_port)) : 0;
}

std::string ChaineComptee(const uint8_t* p, size_t Max) {
  return std::string(reinterpret_cast<const char*>(p + 1), std::min<size_t>(p[0], Max));
}

}  // namespace

bool VclCommUdp::HostActuel(const uint8_t* Donnees, uint32_t Taille, std::array<uint8_t, kTailleHost>& Host) {
  if (Taille == kTailleHost) {
    std::memcpy(Host.data(), Donnees, kTailleHost);
    return true;
  }
  if (Taille != kTailleHostAncien) return false;
  Host.fill(0);
  std::memcpy(Host.data(), Donnees, 51);
  const uint8_t n = std::min<uint8_t>(Donnees[51], 30);
  Host[51] = n;
  std::memcpy(Host.data() + 52, Donnees + 52, n);
  Host[83] = Donnees[84];
  Host[84] = Donnees[85];
  const auto version = TypeVersion{"", 7, 0, 0, 0}.EnOctets();
  std::memcpy(Host.data() + 85, version.data(), version.size());
  return true;
}

// ---------------------------------------------------------------------------------------------------
// TCommunicationUdp

struct TCommunicationUdp::Socket {
  Socket(boost::asio::io_context& io, TCommunicationUdp* p) : socket(io), proprietaire(p) {}
  udp::socket socket;
  TCommunicationUdp* proprietaire;
  udp::endpoint expediteur;
  std::array<uint8_t, VclCommUdp::kTailleDatagramme> tampon;
};

TCommunicationUdp::TCommunicationUdp(MainLoop& Boucle) : TCommunicationIp(Boucle) {}

TCommunicationUdp::~TCommunicationUdp() { FermerSocket(); }

uint16_t TCommunicationUdp::PortLie() const {
  if (!socket_) return 0;
  boost::system::error_code ec;
  const auto point = socket_->socket.local_endpoint(ec);
  return ec ? 0 : point.port();
}

bool TCommunicationUdp::Ouvrir() {
  FermerSocket();
  codeErreur_ = 0;
  auto s = std::make_shared<Socket>(Boucle().Context(), this);
  boost::system::error_code ec;
  std::unique_ptr<TIPAddress> locale = TIPAddress::Parse(AdresseLocale);
  const uint16_t port = Port(PortLocal);
  if (!locale || (port == 0 && PortLocal != "0")) {
    ErreurSocket(EAI_NONAME);
    return false;
  }
  uint8_t octets[4];
  std::memcpy(octets, &locale->Adresse, 4);
  s->socket.open(udp::v4(), ec);
  if (!ec) s->socket.bind({boost::asio::ip::address_v4({octets[0], octets[1], octets[2], octets[3]}), port}, ec);
  if (ec) {
    ErreurSocket(ec.value());
    return false;
  }
  s->socket.set_option(boost::asio::socket_base::broadcast(true), ec);
  socket_ = s;
  Recevoir(s);
  return true;
}

void TCommunicationUdp::FermerSocket() {
  if (!socket_) return;
  socket_->proprietaire = nullptr;
  boost::system::error_code ec;
  socket_->socket.close(ec);
  socket_.reset();
}

void TCommunicationUdp::ErreurSocket(int32_t Code) {
  codeErreur_ = Code;
  std::string texte;
  if (Code == EADDRINUSE) {
    texte = Format("Impossible d'activer le port udp '%s' car il est utilisé par une autre application."_ansi, {PortLocal});
  } else if (Code == EAI_NONAME) {
    texte = Format("Résolution du port udp '%s' impossible. Vérifier la configuration réseau."_ansi, {PortLocal});
  } else {
    texte = "Une erreur réseau est survenue sur la communication UDP";
  }
  VclDialogue::AfficherMessage(true, texte, "", VclDialogue::kAlerte, VclDialogue::kOk, true);
}

void TCommunicationUdp::Recevoir(const std::shared_ptr<Socket>& S) {
  S->socket.async_receive_from(boost::asio::buffer(S->tampon), S->expediteur,
                               [S](const boost::system::error_code& ec, size_t n) {
                                 TCommunicationUdp* self = S->proprietaire;
                                 if (self == nullptr || ec == boost::asio::error::operation_aborted) return;
                                 const TypeAdresseSocket expediteur = AdresseSocketDe(S->expediteur);
                                 // The datagram leaves the buffer before the next read, which a
                                 // handler's nested wait needs, may fill it.
                                 const std::vector<uint8_t> datagramme(S->tampon.begin(), S->tampon.begin() + static_cast<long>(n));
                                 self->Recevoir(S);
                                 if (ec || n == 0 || self->EstPropre(expediteur)) return;
                                 self->DatagrammeRecu(expediteur, datagramme.data(), datagramme.size());
                               });
}

// This machine's own datagram: one of its addresses and the socket's own port.
bool TCommunicationUdp::EstPropre(const TypeAdresseSocket& Expediteur) const {
  const uint16_t port = static_cast<uint16_t>(Expediteur[2] << 8 | Expediteur[3]);
  if (port != PortLie()) return false;
  ifaddrs* liste = nullptr;
  if (getifaddrs(&liste) != 0) return false;
  bool propre = false;
  for (ifaddrs* i = liste; i != nullptr && !propre; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
    propre = std::memcmp(&in->sin_addr, Expediteur.data() + 4, 4) == 0;
  }
  freeifaddrs(liste);
  return propre;
}

TypeAdresseSocket TCommunicationUdp::Diffusion() const {
  TypeAdresseSocket a{2, 0};
  const uint16_t port = Port(PortDistant);
  a[2] = static_cast<uint8_t>(port >> 8);
  a[3] = static_cast<uint8_t>(port);
  std::unique_ptr<TIPAddress> ip = TIPAddress::Parse(AdresseDiffusion);
  if (ip) std::memcpy(a.data() + 4, &ip->Adresse, 4);
  return a;
}

void TCommunicationUdp::EnvoyerDatagramme(const TypeAdresseSocket& Destination, const std::string& Octets) {
  if (!socket_ || (Destination[2] == 0 && Destination[3] == 0)) return;
  boost::system::error_code ec;
  socket_->socket.send_to(boost::asio::buffer(Octets), PointDe(Destination), 0, ec);
}

void TCommunicationUdp::AnnoncerPresence() {
  uint8_t d[VclCommUdp::kTailleRechercheServeurs] = {};
  d[0] = GenreApplication;
  const size_t n = std::min<size_t>(NomApplication.size(), 10);
  d[1] = static_cast<uint8_t>(n);
  std::memcpy(d + 2, NomApplication.data(), n);
  EnvoyerMessageDonnees({0, 5}, CM_RECHERCHER_SERVEURS, d, sizeof d);
}

// ---------------------------------------------------------------------------------------------------
// TCommunicationUdpClient

TCommunicationUdpClient::TCommunicationUdpClient(MainLoop& Boucle)
    : TCommunicationUdp(Boucle), presence_(Boucle, [this] { AnnoncerPresence(); }) {
  PortDistant = VclCommUdp::kPortServeurs;
  EnregistrerMessage(CM_SIGNALER_PRESENCE, [](auto&&...) { return true; });
}

TCommunicationUdpClient::~TCommunicationUdpClient() {
  SurChangementServeurs = nullptr;
  SurFinConnexion = nullptr;
  SurDesactivation = nullptr;
  if (Actif()) Desactiver(MDA_Aucun, true);
}

bool TCommunicationUdpClient::Ouvrir() {
  serveurs_.clear();
  parAdresse_.clear();
  courant_ = nullptr;
  if (!TCommunicationUdp::Ouvrir()) return false;
  presence_.Start(IntervallePresence);
  AnnoncerPresence();
  return true;
}

bool TCommunicationUdpClient::Fermer(uint8_t Cause) {
  presence_.Stop();
  if (Cause != MDA_Aucun) EnvoyerDeconnexion({0, 0}, Cause, 0);
  FermerSocket();
  const auto serveurs = std::move(serveurs_);
  serveurs_.clear();
  parAdresse_.clear();
  courant_ = nullptr;
  for (const auto& [ident, s] : serveurs)
    if (SurFinConnexion) SurFinConnexion(this, ident);
  Changement();
  return true;
}

void TCommunicationUdpClient::Changement() {
  if (SurChangementServeurs) SurChangementServeurs(this);
}

ServeurConnu* TCommunicationUdpClient::Chercher(const TypeAdresseSocket& Adresse) {
  auto it = parAdresse_.find(Adresse);
  return it == parAdresse_.end() ? nullptr : serveurs_.at(it->second).get();
}

bool TCommunicationUdpClient::ServeurDeAdresse(const TypeAdresseSocket& Adresse) {
  ServeurConnu* s = Chercher(Adresse);
  if (s != nullptr) courant_ = s;
  return s != nullptr;
}

bool TCommunicationUdpClient::ServeurDeIdent(uint32_t IdentConnexion) {
  auto it = serveurs_.find(IdentConnexion);
  if (it != serveurs_.end()) courant_ = it->second.get();
  return it != serveurs_.end();
}

void TCommunicationUdpClient::OublierServeur() {
  if (courant_ == nullptr) return;
  const uint32_t ident = courant_->IdentConnexion;
  if (SurFinConnexion) SurFinConnexion(this, ident);
  parAdresse_.erase(courant_->AdresseSocket);
  // The expiry timer may be the one running this: its state outlives the call.
  std::unique_ptr<ServeurConnu> perdu = std::move(serveurs_[ident]);
  serveurs_.erase(ident);
  courant_ = nullptr;
  Changement();
}

void TCommunicationUdpClient::DatagrammeRecu(const TypeAdresseSocket& Expediteur, const uint8_t* Donnees, size_t Taille) {
  ServeurConnu* s = Chercher(Expediteur);
  if (s != nullptr) {
    s->Expiration->Start(DelaiExpiration);
  } else {
    if (SurRequeteConnexion && !SurRequeteConnexion(this, Expediteur)) return;
    auto nouveau = std::make_unique<ServeurConnu>();
    nouveau->AdresseSocket = Expediteur;
    nouveau->IdentConnexion = prochainIdent_++;
    const uint32_t ident = nouveau->IdentConnexion;
    nouveau->Expiration = std::make_unique<MainLoopTimer>(Boucle(), [this, ident] {
      if (ServeurDeIdent(ident)) OublierServeur();
    });
    nouveau->Expiration->Start(DelaiExpiration);
    s = nouveau.get();
    serveurs_[ident] = std::move(nouveau);
    parAdresse_[Expediteur] = ident;
    Changement();
    DemanderHost({ident, 2});
    if (Chercher(Expediteur) != s) return;  // forgotten meanwhile
  }
  s->Reception.Ajouter(Donnees, Taille);
  TraiterReception(s->IdentConnexion);
}

bool TCommunicationUdpClient::ReceptionDe(uint32_t Connexion, TypeReception& Reception) {
  auto it = serveurs_.find(Connexion);
  if (it == serveurs_.end() || !Actif()) return false;
  Reception.File = &it->second->Reception;
  Reception.AdresseSocket = it->second->AdresseSocket;
  Reception.Securite = securite_;
  return true;
}

// A datagram that is not a frame: only that server's queue is dropped.
void TCommunicationUdpClient::TrameCorrompue(uint32_t) {}

void TCommunicationUdpClient::EnvoyerOctets(const TypeAdresseMessage& Adresse, const std::string& Trame) {
  std::string trame = Trame;
  if (!ChiffrerTrame(securite_, trame)) return;
  switch (Adresse.GenreAdresse) {
    case 0:
      for (const auto& [adresse, ident] : parAdresse_) EnvoyerDatagramme(adresse, trame);
      break;
    case 2:
      if (auto it = serveurs_.find(Adresse.IdentConnexion); it != serveurs_.end())
        EnvoyerDatagramme(it->second->AdresseSocket, trame);
      break;
    case 5:
      EnvoyerDatagramme(Diffusion(), trame);
      break;
    default:
      break;
  }
}

bool TCommunicationUdpClient::TraiterDemanderHost(const TypeAdresseSocket& Expediteur, const TypeAdresseMessage&,
                                                  const uint8_t*, uint32_t) {
  if (ServeurConnu* s = Chercher(Expediteur)) RepondreHost({s->IdentConnexion, 2});
  return true;
}

bool TCommunicationUdpClient::TraiterEnvoyerHost(const TypeAdresseSocket& Expediteur, const TypeAdresseMessage& Adresse,
                                                 const uint8_t* Donnees, uint32_t Taille) {
  ServeurConnu* s = Chercher(Expediteur);
  std::array<uint8_t, VclCommUdp::kTailleHost> host;
  if (s == nullptr || !VclCommUdp::HostActuel(Donnees, Taille, host)) return true;
  s->Nom = ChaineComptee(host.data(), 50);
  s->Libelle = ChaineComptee(host.data() + 51, 30);
  s->PortTcp = static_cast<uint16_t>(host[83] | host[84] << 8);
  std::memcpy(s->Version.data(), host.data() + 85, s->Version.size());
  s->DescriptionRecue = true;
  const bool resultat =
      SurReceptionHostServeur ? SurReceptionHostServeur(this, Adresse.IdentConnexion, host.data(), Expediteur) : true;
  Changement();
  return resultat;
}

bool TCommunicationUdpClient::TraiterDeconnexion(const TypeAdresseSocket& Expediteur, const TypeAdresseMessage&,
                                                 const uint8_t*, uint32_t) {
  if (ServeurDeAdresse(Expediteur)) OublierServeur();
  return false;
}
