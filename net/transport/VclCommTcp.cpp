#include "net/transport/VclCommTcp.h"

#include <openssl/rand.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <netdb.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "core/objects/Exceptions.h"
#include "core/values/Format.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/ip/IEIPAddress.h"
#include "net/protocol/PetitBoutiste.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"

using boost::asio::ip::tcp;
using PetitBoutiste::EcrireCardinal;
using PetitBoutiste::LireCardinal;
using namespace GenresMessages;

namespace VclCommTcp {

void OctetsAleatoires(uint8_t* Zone, int Taille) {
  if (RAND_bytes(Zone, Taille) != 1) throw Exception("RAND_bytes");
}

namespace {

// Uniform in 0..Borne (Borne < 256), by rejection.
uint8_t Tirer(uint8_t Borne) {
  const unsigned etendue = Borne + 1u;
  const unsigned limite = 256 - 256 % etendue;
  for (;;) {
    uint8_t b;
    OctetsAleatoires(&b, 1);
    if (b < limite) return static_cast<uint8_t>(b % etendue);
  }
}

}  // namespace

TypeTablePositions CreerTablePositions() {
  TypeTablePositions table{};
  bool utilisee[32] = {};
  for (int i = 0; i < 16; ++i) {
    int rang = Tirer(static_cast<uint8_t>(31 - i));
    int position = 0;
    for (;; ++position) {
      if (utilisee[position]) continue;
      if (rang-- == 0) break;
    }
    utilisee[position] = true;
    uint8_t hauts;
    OctetsAleatoires(&hauts, 1);
    table[i] = static_cast<uint8_t>(position | (hauts & 0xE0));
  }
  return table;
}

void DisperserOctets(const uint8_t (&Source)[16], const TypeTablePositions& Table, uint8_t (&Bloc)[32]) {
  OctetsAleatoires(Bloc, 32);
  for (int i = 0; i < 16; ++i) Bloc[Table[i] & 31] = Source[i];
}

void RassemblerOctets(const uint8_t (&Bloc)[32], const TypeTablePositions& Table, uint8_t (&Source)[16]) {
  for (int i = 0; i < 16; ++i) Source[i] = Bloc[Table[i] & 31];
}

}  // namespace VclCommTcp

namespace {

// The translation key of each kind of socket error.
const char* CleErreur(TypeErreurSocket Genre) {
  switch (Genre) {
    case TypeErreurSocket::Generale: return "VclCommTcpErreurGenerale";
    case TypeErreurSocket::Envoi: return "VclCommTcpErreurEnvoi";
    case TypeErreurSocket::Lecture: return "VclCommTcpErreurLecture";
    case TypeErreurSocket::Connexion: return "VclCommTcpErreurConnexion";
    case TypeErreurSocket::Deconnexion: return "VclCommTcpErreurFermetureConnexion";
    case TypeErreurSocket::Acceptation: return "VclCommTcpErreurAcceptationConnexion";
  }
  return "VclCommTcpErreurInconnue";
}

std::string ChaineComptee(const uint8_t* p, size_t Max) { return std::string(reinterpret_cast<const char*>(p + 1), std::min<size_t>(p[0], Max)); }

bool EstNombre(const std::string& Texte) {
  return !Texte.empty() && std::all_of(Texte.begin(), Texte.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// TCommunicationTcp

TCommunicationTcp::TCommunicationTcp(MainLoop& Boucle)
    : TCommunicationIp(Boucle), presence_(Boucle, [this] { EnvoyerPresence(); }) {
  EnregistrerMessage(CM_ENVOYER_REQUETE, [this](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t,
                                                const uint8_t* d, uint32_t n) { return TraiterEnvoyerRequete(a, d, n); });
  EnregistrerMessage(CM_ENVOYER_OrdreReseau,
                     [this](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t, const uint8_t* d,
                            uint32_t n) { return TraiterEnvoyerOrdreReseau(a, d, n); });
  EnregistrerMessage(CM_REPONDRE_REQUETE, [this](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t,
                                                 const uint8_t* d, uint32_t n) {
    if (!OnReceptionReponseRequete) throw Exception("TCommunicationTcp: OnReceptionReponseRequete is not set");
    OnReceptionReponseRequete(a.IdentConnexion, d, n);
    return true;
  });
  EnregistrerMessage(CM_REPONDRE_OrdreReseau,
                     [this](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t, const uint8_t* d,
                            uint32_t n) { return TraiterRepondreOrdreReseau(a, d, n); });
}

TCommunicationTcp::~TCommunicationTcp() = default;

// A request whose declared argument runs past the message is ignored.
bool TCommunicationTcp::TraiterEnvoyerRequete(const TypeAdresseMessage& Adresse, const uint8_t* Donnees,
                                              uint32_t Taille) {
  const uint32_t taille = LireCardinal(Donnees + 15);
  if (taille > Taille - 19) return true;
  if (ExecuterRequete)
    ExecuterRequete(this, Adresse.IdentConnexion, LireCardinal(Donnees + 2), LireCardinal(Donnees + 11), Donnees + 19,
                    taille);
  return true;
}

bool TCommunicationTcp::TraiterEnvoyerOrdreReseau(const TypeAdresseMessage& Adresse, const uint8_t* Donnees,
                                                  uint32_t Taille) {
  const uint32_t taille = LireCardinal(Donnees + 48);
  if (taille > Taille - 52) return true;
  if (ExecuterOrdreReseau) ExecuterOrdreReseau(this, Adresse.IdentConnexion, ChaineComptee(Donnees + 7, 40), Donnees + 52, taille);
  return true;
}

bool TCommunicationTcp::TraiterRepondreOrdreReseau(const TypeAdresseMessage& Adresse, const uint8_t* Donnees,
                                                   uint32_t Taille) {
  const uint32_t taille = LireCardinal(Donnees + 41);
  if (taille > Taille - 45) return true;
  if (OnReceptionReponseOrdre) OnReceptionReponseOrdre(Adresse.IdentConnexion, ChaineComptee(Donnees, 40), Donnees + 45, taille);
  return true;
}

bool TCommunicationTcp::EnvoyerReponseRequete(const TypeAdresseMessage& Adresse, const void* Donnees, uint32_t Taille) {
  return EnvoyerMessageDonnees(Adresse, CM_REPONDRE_REQUETE, Donnees, Taille);
}

bool TCommunicationTcp::EnvoyerReponseOrdreReseau(const TypeAdresseMessage& Adresse, std::string_view NomOrdre,
                                                  uint32_t Taille, const void* Donnees) {
  if (Taille > Trame::kTailleMaximale) return false;
  std::string d(45 + size_t(Taille), '\0');
  auto* p = reinterpret_cast<uint8_t*>(d.data());
  const size_t n = std::min<size_t>(NomOrdre.size(), 40);
  p[0] = static_cast<uint8_t>(n);
  std::memcpy(p + 1, NomOrdre.data(), n);
  EcrireCardinal(p + 41, Taille);
  if (Taille > 0) std::memcpy(p + 45, Donnees, Taille);
  return EnvoyerMessageDonnees(Adresse, CM_REPONDRE_OrdreReseau, d.data(), static_cast<uint32_t>(d.size()));
}

bool TCommunicationTcp::ChangerModeExclusif(bool Valeur, TypeGenreProcess GenreProc, uint32_t IdentConnexion) {
  bool* drapeau = GenreProc == GP_Serveur ? &modeExclusifServeur_ : GenreProc == GP_Client ? &modeExclusif_ : nullptr;
  if (drapeau == nullptr || *drapeau == Valeur) return false;
  *drapeau = Valeur;
  if (SurChangementModeExclusif) SurChangementModeExclusif(this, Valeur, GenreProc, IdentConnexion, DetailsExclusif);
  return true;
}

bool TCommunicationTcp::ChangerVerrouModeExclusif(bool Valeur, TypeGenreProcess GenreProc, uint32_t IdentConnexion) {
  bool* drapeau =
      GenreProc == GP_Serveur ? &verrouModeExclusifServeur_ : GenreProc == GP_Client ? &verrouModeExclusif_ : nullptr;
  if (drapeau == nullptr || *drapeau == Valeur) return false;
  *drapeau = Valeur;
  if (SurChangementVerrouModeExclusif) SurChangementVerrouModeExclusif(this, Valeur, GenreProc, IdentConnexion);
  return true;
}

void TCommunicationTcp::ArreterPresence() { presence_.Stop(); }

void TCommunicationTcp::RelancerPresence() {
  if (KeepSocketTcpAlive && Connecte()) presence_.Start(IntervallePresence);
}

void TCommunicationTcp::EnvoyerSurSocket(const std::string& Zone) {
  ArreterPresence();
  TBufferDynamique* file = FileEnvoi();
  if (file == nullptr) return;
  const auto* p = reinterpret_cast<const uint8_t*>(Zone.data());
  size_t fait = 0;
  if (file->EstVide()) {
    while (fait < Zone.size()) {
      const size_t morceau = std::min(Zone.size() - fait, VclCommTcp::kMorceauEcriture);
      const long pris = EcrireSocket(p + fait, morceau);
      if (pris < 0) return;  // a socket error (already reported) drops the rest of this block
      fait += static_cast<size_t>(pris);
      if (static_cast<size_t>(pris) < morceau) break;
    }
  }
  if (fait < Zone.size()) {
    file->Ajouter(p + fait, Zone.size() - fait);
    if (file->Disponible() > VclCommTcp::kFileEnvoiMaximale) {
      Desactiver(MDA_Aucun, false);
      return;
    }
    AttendreEcriture();
  }
  RelancerPresence();
}

void TCommunicationTcp::ErreurSocket(TypeErreurSocket Genre, int32_t Code) {
  codeErreur_ = Code;
  erreurEvenement_ = Genre;
  const std::string hote = NomHoteDistant();
  // A handler of the owner's decides what becomes of the link.
  int32_t code = Code;
  if (SurErreurSocket) {
    SurErreurSocket(this, Genre, code);
    return;
  }
  // Otherwise a socket in error is of no more use (a failed send excepted): the link goes first.
  if (Genre != TypeErreurSocket::Envoi) PerdreLiaison();
  if (Genre == TypeErreurSocket::Deconnexion) return;
  const std::string texte = Format(Traduction::Traduire("VclCommTcpErreurReseauFormat"),
                                   {Traduction::Traduire(CleErreur(Genre)), hote}) +
                            "\r\n" + Traduction::Traduire("VclTcpIpV");
  // Shown at once: queued behind nothing else, it would wait for another message to be seen.
  VclDialogue::AfficherMessageTemporise(texte, "", 5000, 0, 0, true);
}

// ---------------------------------------------------------------------------------------------------
// TCommunicationTcpClient

// One opening of the socket. The completion handlers hold it; Proprietaire is cleared when the link
// is dropped, so that a late completion does nothing.
struct TCommunicationTcpClient::Liaison {
  Liaison(boost::asio::io_context& io, TCommunicationTcpClient* p, uint32_t c)
      : socket(io), resolveur(io), delai(io), proprietaire(p), cle(c) {}
  tcp::socket socket;
  tcp::resolver resolveur;
  boost::asio::steady_timer delai;
  TCommunicationTcpClient* proprietaire;
  uint32_t cle;
  bool connecte = false;
  bool ecritureAttendue = false;
  TypeAdresseSocket adresse{};
  std::string nomHote;
  std::array<uint8_t, 65536> tampon;
};

namespace {
uint32_t prochaineCle = 1;
}

TCommunicationTcpClient::TCommunicationTcpClient(MainLoop& Boucle) : TCommunicationTcp(Boucle) {
  auto enregistrer = [this](uint32_t Id, std::function<bool(const TypeAdresseMessage&, const uint8_t*, uint32_t)> f) {
    EnregistrerMessage(Id, [f = std::move(f)](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t,
                                              const uint8_t* d, uint32_t n) { return f(a, d, n); });
  };
  enregistrer(CM_ENVOYER_INFOS_VERSION, [this](const TypeAdresseMessage&, const uint8_t* d, uint32_t) {
    std::memcpy(versionServeur_.data(), d, versionServeur_.size());
    ReponseOk();
    return true;
  });
  enregistrer(CM_ENVOYER_IDENT_CONNEXION,
              [this](const TypeAdresseMessage& a, const uint8_t* d, uint32_t) { return TraiterIdentConnexion(a, d); });
  enregistrer(CM_DEBUT_REQUETE, [this](const TypeAdresseMessage& a, const uint8_t*, uint32_t) {
    if (SurDebutRequeteServeur) SurDebutRequeteServeur(this, a);
    return true;
  });
  enregistrer(CM_FIN_REQUETE, [this](const TypeAdresseMessage& a, const uint8_t*, uint32_t) {
    if (SurFinRequeteServeur) SurFinRequeteServeur(this, a);
    return true;
  });
  enregistrer(CM_REPONDRE_ORDRE_UTIL,
              [this](const TypeAdresseMessage& a, const uint8_t* d, uint32_t) { return TraiterRepondreOrdreUtil(a, d); });
  enregistrer(CM_REPONDRE_TRAITEMENT_LONG, [this](const TypeAdresseMessage&, const uint8_t* d, uint32_t) {
    reponseTraitementLong_ = d[0];
    ReponseOk();
    return true;
  });
  enregistrer(CM_TRAITEMENT_LONG_MODIFIE, [this](const TypeAdresseMessage&, const uint8_t* d, uint32_t) {
    TypeEtatTraitementLong etat;
    std::memcpy(etat.data(), d, etat.size());
    if (SurTraitementLongModifie) SurTraitementLongModifie(this, etat);
    return true;
  });
}

TCommunicationTcpClient::~TCommunicationTcpClient() {
  // The owner is being told nothing more: it may be going too.
  SurDeconnexion = nullptr;
  SurDesactivation = nullptr;
  SurErreurSocket = nullptr;
  if (Actif()) Desactiver(MDA_Aucun, true);
  Lacher();
}

bool TCommunicationTcpClient::Connecte() const { return liaison_ && liaison_->connecte; }

bool TCommunicationTcpClient::Ouvrir() {
  identServeur_ = 0;
  // What a former connection left in the queues never goes ahead of this one's bytes.
  fileEnvoi_.Vider();
  fileReception_.Vider();
  try {
    auto L = std::make_shared<Liaison>(Boucle().Context(), this, prochaineCle++);
    liaison_ = L;
    std::string sansBlancs;
    for (char c : AdresseServeur)
      if (c != ' ') sansBlancs += c;
    std::unique_ptr<TIPAddress> ip = TIPAddress::Parse(sansBlancs);
    L->nomHote = ip ? sansBlancs : AdresseServeur;
    L->delai.expires_after(DelaiConnexion);
    L->delai.async_wait([L](const boost::system::error_code& ec) {
      if (ec || L->proprietaire == nullptr || L->connecte) return;
      L->proprietaire->ErreurSocket(TypeErreurSocket::Connexion, ETIMEDOUT);
    });
    auto connecter = [L](const boost::system::error_code& ec, const tcp::endpoint&) {
      if (L->proprietaire == nullptr || ec == boost::asio::error::operation_aborted) return;
      if (ec) {
        L->proprietaire->ErreurSocket(TypeErreurSocket::Connexion, ec.value());
        return;
      }
      L->proprietaire->Connexion(L);
    };
    if (ip) {
      uint16_t port = 0;
      if (EstNombre(PortServeur)) {
        port = static_cast<uint16_t>(std::stoul(PortServeur.substr(0, 5)));
      } else {
        const servent* s = getservbyname(PortServeur.c_str(), "tcp");
        if (s == nullptr) throw Exception("service inconnu : " + PortServeur);
        port = ntohs(static_cast<uint16_t>(s->s_port));
      }
      uint8_t octets[4];
      std::memcpy(octets, &ip->Adresse, 4);
      const tcp::endpoint point(boost::asio::ip::address_v4({octets[0], octets[1], octets[2], octets[3]}), port);
      std::vector<tcp::endpoint> points{point};
      boost::asio::async_connect(L->socket, points, connecter);
    } else {
      L->resolveur.async_resolve(AdresseServeur, PortServeur,
                                 [L, connecter](const boost::system::error_code& ec, tcp::resolver::results_type r) {
                                   if (L->proprietaire == nullptr || ec == boost::asio::error::operation_aborted) return;
                                   if (ec) {
                                     L->proprietaire->ErreurSocket(TypeErreurSocket::Connexion, ec.value());
                                     return;
                                   }
                                   boost::asio::async_connect(L->socket, r, connecter);
                                 });
    }
    return true;
  } catch (...) {
    if (liaison_) liaison_->proprietaire = nullptr;
    liaison_.reset();
    return false;
  }
}

void TCommunicationTcpClient::Connexion(const std::shared_ptr<Liaison>& L) {
  L->delai.cancel();
  boost::system::error_code ec;
  L->socket.non_blocking(true, ec);
  L->socket.set_option(boost::asio::socket_base::keep_alive(false), ec);
  L->socket.set_option(tcp::no_delay(true), ec);
  const tcp::endpoint distant = L->socket.remote_endpoint(ec);
  if (!ec) {
    L->adresse = {2, 0};
    const uint16_t port = distant.port();
    L->adresse[2] = static_cast<uint8_t>(port >> 8);
    L->adresse[3] = static_cast<uint8_t>(port);
    const auto octets = distant.address().to_v4().to_bytes();
    std::copy(octets.begin(), octets.end(), L->adresse.begin() + 4);
  }
  L->connecte = true;
  EffacerCodeErreur();
  derniereReception_ = std::chrono::steady_clock::now();
  Lire(L);
  if (SurConnexion) SurConnexion(this, identServeur_, 0);
  if (liaison_ != L) return;
  RelancerPresence();
  if (!fileEnvoi_.EstVide()) EcritureProchaine();
}

void TCommunicationTcpClient::Lire(const std::shared_ptr<Liaison>& L) {
  L->socket.async_read_some(boost::asio::buffer(L->tampon), [L](const boost::system::error_code& ec, size_t n) {
    TCommunicationTcpClient* self = L->proprietaire;
    if (self == nullptr || ec == boost::asio::error::operation_aborted) return;
    if (ec == boost::asio::error::eof || ec == boost::asio::error::connection_reset) {
      self->PerdreLiaison();
      return;
    }
    if (ec) {
      self->ErreurSocket(TypeErreurSocket::Lecture, ec.value());
      return;
    }
    self->ArreterPresence();
    self->fileReception_.Ajouter(L->tampon.data(), n);
    self->derniereReception_ = std::chrono::steady_clock::now();
    self->RelancerPresence();
    // The next read first: a handler may wait for an answer that only that read can bring.
    self->Lire(L);
    self->TraiterReception(L->cle);
  });
}

bool TCommunicationTcpClient::ReceptionDe(uint32_t Connexion, TypeReception& Reception) {
  if (!liaison_ || liaison_->cle != Connexion || !liaison_->connecte) return false;
  Reception.File = &fileReception_;
  Reception.AdresseSocket = liaison_->adresse;
  Reception.Securite = securites_[1];
  return true;
}

long TCommunicationTcpClient::EcrireSocket(const uint8_t* Zone, size_t Taille) {
  if (!Connecte()) return 0;
  boost::system::error_code ec;
  const size_t n = liaison_->socket.write_some(boost::asio::buffer(Zone, Taille), ec);
  if (ec == boost::asio::error::would_block || ec == boost::asio::error::try_again) return 0;
  if (ec) {
    ErreurSocket(TypeErreurSocket::Envoi, ec.value());
    return -1;
  }
  return static_cast<long>(n);
}

void TCommunicationTcpClient::AttendreEcriture() {
  if (!Connecte() || liaison_->ecritureAttendue) return;
  liaison_->ecritureAttendue = true;
  auto L = liaison_;
  L->socket.async_wait(tcp::socket::wait_write, [L](const boost::system::error_code& ec) {
    L->ecritureAttendue = false;
    if (ec || L->proprietaire == nullptr) return;
    L->proprietaire->EcritureProchaine();
  });
}

// The socket can take more: the send queue goes out in pieces of 1024 bytes until it refuses.
void TCommunicationTcpClient::EcritureProchaine() {
  ArreterPresence();
  uint8_t morceau[VclCommTcp::kMorceauEcriture];
  while (!fileEnvoi_.EstVide() && Connecte()) {
    const size_t n = std::min(fileEnvoi_.Disponible(), sizeof morceau);
    fileEnvoi_.Marquer();
    if (!fileEnvoi_.Lire(morceau, n)) break;
    fileEnvoi_.RevenirMarque();
    const long pris = EcrireSocket(morceau, n);
    if (pris < 0) return;
    if (pris > 0 && fileEnvoi_.Lire(morceau, static_cast<size_t>(pris))) fileEnvoi_.ValiderLecture();
    if (static_cast<size_t>(pris) < n) break;
  }
  if (!fileEnvoi_.EstVide()) AttendreEcriture();
  RelancerPresence();
}

std::string TCommunicationTcpClient::NomHoteDistant() const { return liaison_ ? liaison_->nomHote : std::string(); }

void TCommunicationTcpClient::EnvoyerOctets(const TypeAdresseMessage& Adresse, const std::string& Trame) {
  // Closed, there is nowhere to send to (the next opening would drop it anyway); while the
  // connection is being made, the send queue keeps it for the connect event.
  if (Adresse.GenreAdresse != 2 || !Actif()) return;
  std::string trame = Trame;
  if (!ChiffrerTrame(securites_[0], trame)) return;
  EnvoyerSurSocket(trame);
}

// Drops the socket and ends every wait with False; True when it was connected.
bool TCommunicationTcpClient::Lacher() {
  ArreterPresence();
  bool etaitConnecte = false;
  if (liaison_) {
    etaitConnecte = liaison_->connecte;
    liaison_->proprietaire = nullptr;
    boost::system::error_code ec;
    liaison_->socket.shutdown(tcp::socket::shutdown_both, ec);
    liaison_->socket.close(ec);
    liaison_->delai.cancel();
    liaison_.reset();
  }
  while (!ReponseRecue()) ReponseEchec();
  return etaitConnecte;
}

// The socket's disconnect event: the component closes, then the owner is told (once per connection).
void TCommunicationTcpClient::PerdreLiaison() {
  if (!liaison_) return;
  if (Actif()) Desactiver(MDA_Aucun, false);
  // Also when the owner refused to close: the socket is dead all the same.
  if (Lacher() && SurDeconnexion) SurDeconnexion(this, identServeur_, 0);
}

bool TCommunicationTcpClient::Fermer(uint8_t Cause) {
  if (Cause != MDA_Aucun && Connecte()) {
    EnvoyerDeconnexion(AdresseParDefaut(), Cause, 0);
    (void)Boucle().WaitUntil([this] { return fileEnvoi_.EstVide() || !Connecte(); }, std::chrono::milliseconds(100));
  }
  SetModeExclusif(false);
  securites_ = TypeSecurites{};
  if (Lacher() && SurDeconnexion) SurDeconnexion(this, identServeur_, 0);
  return true;
}

// --- Synchronous exchanges

void TCommunicationTcpClient::Marquer(bool Resultat) {
  for (auto& e : echanges_)
    if (!e->Repondu) {
      e->Repondu = true;
      e->Resultat = Resultat;
      return;
    }
}

void TCommunicationTcpClient::ReponseOk() { Marquer(true); }
void TCommunicationTcpClient::ReponseEchec() { Marquer(false); }

bool TCommunicationTcpClient::ReponseRecue() const {
  return std::none_of(echanges_.begin(), echanges_.end(), [](auto& e) { return !e->Repondu; });
}

void TCommunicationTcpClient::AttendreReponse(const std::shared_ptr<Echange>& E, uint32_t Delai) {
  using Horloge = std::chrono::steady_clock;
  const auto debut = Horloge::now();
  while (!E->Repondu) {
    const auto silence = std::max(debut, derniereReception_) + DelaiSilenceServeur;
    const auto limite = Delai > 0 ? std::min(silence, debut + std::chrono::milliseconds(Delai)) : silence;
    const auto maintenant = Horloge::now();
    if (maintenant >= limite) {
      if (Delai > 0 && limite < silence) {
        // The exchange's own time-out: it fails, the link stays.
        E->Repondu = true;
        E->Resultat = false;
      } else {
        // The server has said nothing for too long: it is taken as gone.
        PerdreLiaison();
        E->Repondu = true;
      }
      return;
    }
    if (Boucle().WaitUntil([&E] { return E->Repondu; }, limite - maintenant) == MainLoop::WaitResult::Stopped) {
      E->Repondu = true;
      E->Resultat = false;
      return;
    }
  }
}

bool TCommunicationTcpClient::EnvoyerEtAttendre(const TypeAdresseMessage& Adresse, uint32_t Id, const void* Donnees,
                                                uint32_t Taille, uint32_t Delai) {
  return Echanger([&] { return EnvoyerMessageDonnees(Adresse, Id, Donnees, Taille); }, Delai);
}

bool TCommunicationTcpClient::Echanger(const std::function<bool()>& Envoyer, uint32_t Delai) {
  // An exchange already waiting is answered first: the server answers in order.
  while (!ReponseRecue()) {
    std::shared_ptr<Echange> autre;
    for (auto& e : echanges_)
      if (!e->Repondu) autre = e;
    AttendreReponse(autre, 0);
    if (Boucle().StopRequested()) return false;
  }
  if (!Connecte()) return false;
  auto echange = std::make_shared<Echange>();
  echanges_.push_back(echange);
  if (Envoyer()) {
    AttendreReponse(echange, Delai);
  } else {
    echange->Repondu = true;
  }
  echanges_.erase(std::find(echanges_.begin(), echanges_.end(), echange));
  return echange->Resultat;
}

// --- Senders

void TCommunicationTcpClient::EnvoyerPresence() { EnvoyerMessage({identServeur_, 2}, 0); }

bool TCommunicationTcpClient::DemanderIdentification(uint32_t Ident, std::string_view CodeApplication,
                                                     std::string_view Login) {
  positions_ = VclCommTcp::CreerTablePositions();
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = CryptageClientServeur::PhraseIdentification(CodeApplication, Login);
  const std::string bloc =
      chiffreur.Chiffrer(std::string_view(reinterpret_cast<const char*>(positions_.data()), positions_.size()));
  return EnvoyerMessageDonnees(Adresse(Ident), CM_DEMANDER_IDENTIFICATION, bloc.data(),
                               static_cast<uint32_t>(bloc.size()));
}

bool TCommunicationTcpClient::DemanderAuthentification(uint32_t Ident, const uint8_t (&Bloc32)[32],
                                                       std::string_view CodeApplication,
                                                       std::string_view MotDePasseApplication, std::string_view Login,
                                                       std::string_view MotDePasse) {
  VclCommTcp::OctetsAleatoires(nonce_.data(), static_cast<int>(nonce_.size()));
  std::string clair(reinterpret_cast<const char*>(Bloc32), 32);
  clair.append(reinterpret_cast<const char*>(nonce_.data()), nonce_.size());
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete =
      CryptageClientServeur::PhraseAuthentification(CodeApplication, MotDePasseApplication, Login, MotDePasse);
  const std::string bloc = chiffreur.Chiffrer(clair);
  return EnvoyerMessageDonnees(Adresse(Ident), CM_DEMANDER_AUTHENTIFICATION, bloc.data(),
                               static_cast<uint32_t>(bloc.size()));
}

bool TCommunicationTcpClient::EnvoyerLogin(uint32_t Valeur, uint32_t Ident, uint8_t Octet) {
  uint8_t d[VclCommTcp::kTailleLogin] = {};
  EcrireCardinal(d, Valeur);
  d[4] = Octet;
  return EnvoyerMessageDonnees(Adresse(Ident), CM_ENVOYER_LOGIN, d, sizeof d);
}

bool TCommunicationTcpClient::FinLogin(uint32_t Ident) {
  const bool envoye = EnvoyerMessage(Adresse(Ident), CM_FIN_LOGIN);
  SetModeExclusif(false);
  SetModeExclusifServeur(false);
  return envoye;
}

bool TCommunicationTcpClient::DemanderProfilsServeurs() {
  return EnvoyerEtAttendre(AdresseParDefaut(), CM_DEMANDER_PROFILS_SRV, 0);
}

bool TCommunicationTcpClient::DemanderInfosUtilisateurs() {
  return EnvoyerEtAttendre(AdresseParDefaut(), CM_DEMANDER_INFOS_UTILISATEURS, 0);
}

bool TCommunicationTcpClient::EnvoyerEtatBase(const TypeAdresseMessage& Adresse, uint8_t Etat) {
  return EnvoyerEtAttendre(Adresse, CM_ENVOYER_ETAT_BASE, &Etat, 1, 0);
}

bool TCommunicationTcpClient::DemanderStream(const TypeAdresseMessage& Adresse, TypeGenreStream Genre) {
  if (Genre == StreamBase) {
    transfertEnCours_ = true;
    if (SurDebutTransfert) SurDebutTransfert(this);
  }
  const uint8_t genre = Genre;
  return EnvoyerMessageDonnees(Adresse, CM_DEMANDER_STREAM, &genre, 1);
}

void TCommunicationTcpClient::FinTransfert() {
  if (SurFinTransfert) SurFinTransfert(this);
  transfertEnCours_ = false;
}

// --- Handlers

bool TCommunicationTcpClient::TraiterIdentConnexion(const TypeAdresseMessage& Adresse, const uint8_t* Donnees) {
  const uint32_t valeur1 = LireCardinal(Donnees);
  const uint32_t valeur2 = LireCardinal(Donnees + 4);
  if (valeur1 == 0 && valeur2 == identServeur_) return true;
  if (valeur1 == 0) identServeur_ = Adresse.IdentConnexion;
  if (SurIdentConnexion) SurIdentConnexion(valeur1, valeur2);
  if (SurCommunicationPrete) SurCommunicationPrete(this, valeur2);
  if (valeur1 == 0) RepondreHost({identServeur_, 2});
  return true;
}

bool TCommunicationTcpClient::TraiterRepondreOrdreUtil(const TypeAdresseMessage& Adresse, const uint8_t* Donnees) {
  reponseOrdreUtilOctet_ = Donnees[0];
  reponseOrdreUtilValeur_ = LireCardinal(Donnees + 1);
  ReponseOk();
  if (SurReponseOrdreUtilisateur)
    SurReponseOrdreUtilisateur(Adresse.IdentConnexion, reponseOrdreUtilOctet_, reponseOrdreUtilValeur_);
  return true;
}

bool TCommunicationTcpClient::TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*,
                                                  uint32_t) {
  RepondreHost({identServeur_, 2});
  return true;
}

bool TCommunicationTcpClient::TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage& Adresse,
                                                 const uint8_t* Donnees, uint32_t Taille) {
  if (Taille != 361) return true;
  return SurReceptionHostServeur ? SurReceptionHostServeur(this, Adresse.IdentConnexion, Donnees) : true;
}

bool TCommunicationTcpClient::TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage& Adresse,
                                                 const uint8_t* Donnees, uint32_t) {
  double parametre;
  std::memcpy(&parametre, Donnees + 8, 8);
  if (OnDeconnexionApplicatif) OnDeconnexionApplicatif(this, Adresse.IdentConnexion, Donnees[0], parametre);
  return false;
}
