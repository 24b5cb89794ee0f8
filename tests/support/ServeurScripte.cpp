#include "tests/support/ServeurScripte.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>

#include <cstring>
#include <deque>

#include "core/serial/Serialisation.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/transport/VclCommTcp.h"
#include "net/VclClient.h"
#include "net/utilisateurs/Login.h"

using boost::asio::ip::tcp;
using PetitBoutiste::EcrireCardinal;
using PetitBoutiste::LireCardinal;
using namespace GenresMessages;

struct TServeurScripte::Etat {
  explicit Etat(boost::asio::io_context& io) : accepteur(io) {}
  tcp::acceptor accepteur;
};

// One accepted connection: its socket, queues and security records, and the handshake's state.
struct TServeurScripte::Connexion {
  explicit Connexion(tcp::socket s) : socket(std::move(s)) {}
  tcp::socket socket;
  TServeurScripte* serveur = nullptr;
  uint32_t ident = 0;
  TBufferDynamique reception;
  std::deque<std::string> envois;
  bool ecriture = false;
  bool coupee = false;  // closes once what is queued has gone
  TypeSecurite securiteEnvoi, securiteReception;
  std::array<uint8_t, 65536> tampon{};
  // The handshake.
  const Compte* compte = nullptr;
  VclCommTcp::TypeTablePositions positions{};
  std::string secret;
};

namespace {

std::string ChaineComptee(std::string_view Texte, size_t Max) {
  const size_t n = std::min(Texte.size(), Max);
  std::string s(Max + 1, '\0');
  s[0] = static_cast<char>(n);
  std::memcpy(s.data() + 1, Texte.data(), n);
  return s;
}

std::string Octets(TBinaryFormatter& f) {
  return std::string(reinterpret_cast<const char*>(f.GetTampon()), f.GetTaille());
}

}  // namespace

TServeurScripte::TServeurScripte(MainLoop& Boucle)
    : TCommunicationIp(Boucle), etat_(std::make_unique<Etat>(Boucle.Context())) {
  // Every kind of the protocol reaches the script, whatever its length.
  for (const auto& genre : Tous())
    if (!MessageEnregistre(genre.Id))
      EnregistrerMessage(genre.Id, genre.Nom, 0, kToutes,
                         [this](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t id, const uint8_t* d,
                                uint32_t n) { return Traiter(a, id, d, n); });
}

TServeurScripte::~TServeurScripte() { Arreter(); }

void TServeurScripte::PreparerClient(TIeClient& Client) {
  Comptes.push_back({"ABC", "", "alice", "Secret", 1, AutoriseModif, LoginOk});
  Client.SetAdresseIpServeur("127.0.0.1");
  Client.SetPortTcpServeur(std::to_string(Demarrer()));
  Client.VersionProgramme = Version;
}

uint16_t TServeurScripte::Demarrer() {
  const tcp::endpoint point(boost::asio::ip::address_v4::loopback(), 0);
  etat_->accepteur.open(point.protocol());
  etat_->accepteur.set_option(tcp::acceptor::reuse_address(true));
  etat_->accepteur.bind(point);
  etat_->accepteur.listen();
  port_ = etat_->accepteur.local_endpoint().port();
  prochainIdent_ = PremierIdent;
  Accepter();
  return port_;
}

void TServeurScripte::Arreter() {
  boost::system::error_code ec;
  etat_->accepteur.close(ec);
  while (!connexions_.empty()) Fermer(connexions_.begin()->second);
}

void TServeurScripte::Accepter() {
  etat_->accepteur.async_accept([this](const boost::system::error_code& ec, tcp::socket s) {
    if (ec) return;  // closed
    auto c = std::make_shared<Connexion>(std::move(s));
    c->serveur = this;
    c->ident = prochainIdent_++;
    connexions_[c->ident] = c;
    courante_ = c;
    ++nombreConnexions_;
    Lire(c);
    if (AnnoncerALaConnexion) {
      uint8_t d[8] = {};
      EcrireCardinal(d + 4, c->ident);
      EnvoyerMessageDonnees({c->ident, 2}, CM_ENVOYER_IDENT_CONNEXION, d, sizeof d);
      const std::string host = HostServeur();
      EnvoyerMessageDonnees({c->ident, 2}, CM_ENVOYER_HOST, host.data(), static_cast<uint32_t>(host.size()));
    }
    Accepter();
  });
}

void TServeurScripte::Lire(const std::shared_ptr<Connexion>& C) {
  C->socket.async_read_some(boost::asio::buffer(C->tampon), [C](const boost::system::error_code& ec, size_t n) {
    TServeurScripte* s = C->serveur;
    if (s == nullptr) return;
    if (ec) {
      s->Fermer(C);
      return;
    }
    if (C->coupee) return;
    C->reception.Ajouter(C->tampon.data(), n);
    s->Lire(C);
    s->courante_ = C;
    s->TraiterReception(C->ident);
  });
}

void TServeurScripte::Ecrire(const std::shared_ptr<Connexion>& C) {
  if (C->ecriture || C->envois.empty() || C->serveur == nullptr) return;
  C->ecriture = true;
  boost::asio::async_write(C->socket, boost::asio::buffer(C->envois.front()),
                           [C](const boost::system::error_code& ec, size_t) {
                             C->ecriture = false;
                             if (C->serveur == nullptr) return;
                             if (ec) {
                               C->serveur->Fermer(C);
                               return;
                             }
                             C->envois.pop_front();
                             if (C->envois.empty() && C->coupee) {
                               C->serveur->Fermer(C);
                               return;
                             }
                             C->serveur->Ecrire(C);
                           });
}

void TServeurScripte::Fermer(std::shared_ptr<Connexion> C) {
  C->serveur = nullptr;
  boost::system::error_code ec;
  C->socket.shutdown(tcp::socket::shutdown_both, ec);
  C->socket.close(ec);
  connexions_.erase(C->ident);
  if (courante_ == C) courante_.reset();
}

bool TServeurScripte::Connecte() const { return courante_ != nullptr; }
uint32_t TServeurScripte::IdentCourant() const { return courante_ ? courante_->ident : 0; }

// What is queued still goes out first: a test that sends then cuts means both.
void TServeurScripte::Couper() {
  if (!courante_) return;
  auto c = courante_;
  courante_.reset();
  if (c->envois.empty()) {
    Fermer(c);
  } else {
    c->coupee = true;
  }
}

bool TServeurScripte::Envoyer(uint32_t Id, const std::string& Donnees) {
  if (!courante_) return false;
  return EnvoyerMessageDonnees({courante_->ident, 2}, Id, Donnees.data(), static_cast<uint32_t>(Donnees.size()));
}

void TServeurScripte::EnvoyerBrut(const std::string& Octets) {
  if (!courante_) return;
  courante_->envois.push_back(Octets);
  Ecrire(courante_);
}

void TServeurScripte::EnvoyerOctets(const TypeAdresseMessage& Adresse, const std::string& Trame) {
  auto it = connexions_.find(Adresse.IdentConnexion);
  if (it == connexions_.end()) return;
  std::string t = Trame;
  if (!ChiffrerTrame(it->second->securiteEnvoi, t)) return;
  it->second->envois.push_back(std::move(t));
  Ecrire(it->second);
}

bool TServeurScripte::ReceptionDe(uint32_t Connexion, TypeReception& Reception) {
  auto it = connexions_.find(Connexion);
  if (it == connexions_.end()) return false;
  Reception.File = &it->second->reception;
  Reception.Securite = it->second->securiteReception;
  dernierChiffre_ = Reception.Securite.Mode == Trame::kModeChiffre;
  return true;
}

void TServeurScripte::TrameCorrompue(uint32_t Connexion) {
  auto it = connexions_.find(Connexion);
  if (it != connexions_.end()) Fermer(it->second);
}

void TServeurScripte::SurReceptionTrame(const TypeAdresseMessage&, uint32_t Id) {
  Recus.push_back({Id, {}, dernierChiffre_ && Id != 0});
}

std::vector<uint32_t> TServeurScripte::Genres() const {
  std::vector<uint32_t> g;
  for (const auto& r : Recus) g.push_back(r.Id);
  return g;
}

std::string TServeurScripte::Dernier(uint32_t Id) const {
  for (auto it = Recus.rbegin(); it != Recus.rend(); ++it)
    if (it->Id == Id) return it->Donnees;
  return {};
}

bool TServeurScripte::TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage& a, const uint8_t* d,
                                         uint32_t n) {
  return Traiter(a, CM_ENVOYER_HOST, d, n);
}
bool TServeurScripte::TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage& a, const uint8_t* d,
                                         uint32_t n) {
  return Traiter(a, CM_DECONNEXION, d, n);
}
bool TServeurScripte::TraiterEnvoyerMessage(const TypeAdresseSocket&, const TypeAdresseMessage& a, const uint8_t* d,
                                            uint32_t n) {
  return Traiter(a, CM_ENVOYER_MESSAGE, d, n);
}
bool TServeurScripte::TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage& a, const uint8_t* d,
                                          uint32_t n) {
  return Traiter(a, CM_DEMANDER_HOST, d, n);
}

std::string TServeurScripte::HostServeur() const {
  std::string h(361, '\0');
  std::string nom = ChaineComptee(NomHote, 50), libelle = ChaineComptee(Libelle, 30);
  std::memcpy(h.data(), nom.data(), nom.size());
  std::memcpy(h.data() + 51, libelle.data(), libelle.size());
  h[83] = static_cast<char>(PortTcpAnnonce & 0xFF);
  h[84] = static_cast<char>(PortTcpAnnonce >> 8);
  const auto version = Version.EnOctets();
  std::memcpy(h.data() + 85, version.data(), version.size());
  EcrireCardinal(reinterpret_cast<uint8_t*>(h.data()) + 357, IdentProfilServeur);
  return h;
}

// The script's handling of one message of the current connection.
bool TServeurScripte::Traiter(const TypeAdresseMessage&, uint32_t Id, const uint8_t* Donnees, uint32_t Taille) {
  const std::string donnees(reinterpret_cast<const char*>(Donnees), Taille);
  if (!Recus.empty() && Recus.back().Id == Id) Recus.back().Donnees = donnees;
  if (!courante_) return false;
  if (Id == CouperA) {
    Couper();
    return false;
  }
  if (Muets.count(Id) != 0) return true;
  if (auto it = Traitements.find(Id); it != Traitements.end()) {
    TypeMessageRecu m{Id, {courante_->ident, 2}, donnees};
    it->second(*this, m);
    return courante_ != nullptr;
  }
  switch (Id) {
    case CM_DEMANDER_PROFILS_SRV:
      for (const auto& p : ProfilsServeurs) Envoyer(CM_ENVOYER_PROFIL_SRV, std::string(reinterpret_cast<const char*>(p.Octets), sizeof p.Octets));
      Envoyer(CM_FIN_ENVOI_PROFILS_SRV);
      break;
    case CM_DEMANDER_IDENTIFICATION:
      Identification(donnees);
      break;
    case CM_DEMANDER_AUTHENTIFICATION:
      Authentification(donnees);
      break;
    case CM_ENVOYER_LOGIN:
      if (courante_->compte != nullptr && Taille == 8) {
        const char d[2] = {static_cast<char>(courante_->compte->StatutAccorde), static_cast<char>(courante_->compte->Resultat)};
        Envoyer(CM_REPONDRE_LOGIN, std::string(d, 2));
      }
      break;
    case CM_DEMANDER_INFOS_UTILISATEURS:
      for (const auto& [genre, d] : BaseUtilisateurs) Envoyer(genre, d);
      Envoyer(CM_FIN_ENVOI_INFOS_UTILISATEURS);
      break;
    case CM_FIN_LOGIN:
      // The client speaks in clear again.
      courante_->securiteEnvoi = courante_->securiteReception = TypeSecurite{};
      break;
    default:
      break;
  }
  return courante_ != nullptr;
}

// Step 1: the account whose identification phrase deciphers the position table; status 4 when none
// does. Otherwise a secret of 16 bytes, enciphered under the account's authentication phrase.
void TServeurScripte::Identification(const std::string& Donnees) {
  Connexion& c = *courante_;
  c.compte = nullptr;
  TClassCryptageClientServeur chiffreur;
  for (const auto& compte : Comptes) {
    chiffreur.PhraseSecrete = CryptageClientServeur::PhraseIdentification(compte.Code, compte.Login);
    std::string positions;
    if (chiffreur.Dechiffrer(Donnees, positions) && positions.size() == 16) {
      c.compte = &compte;
      std::memcpy(c.positions.data(), positions.data(), 16);
      break;
    }
  }
  std::string reponse(32, '\0');
  reponse.append(4, '\0');
  if (c.compte == nullptr) {
    reponse += '\x04';
    reponse += chiffreur.Chiffrer("inconnu");
  } else {
    EcrireCardinal(reinterpret_cast<uint8_t*>(reponse.data()) + 32, c.compte->IdentEtendu);
    reponse += '\0';
    c.secret.assign(16, '\0');
    VclCommTcp::OctetsAleatoires(reinterpret_cast<uint8_t*>(c.secret.data()), 16);
    chiffreur.PhraseSecrete = CryptageClientServeur::PhraseAuthentification(
        c.compte->Code, c.compte->MotDePasseApplication, c.compte->Login, c.compte->MotDePasse);
    reponse += chiffreur.Chiffrer(c.secret);
  }
  reponse.append(2, '\0');
  Envoyer(CM_REPONDRE_IDENTIFICATION, reponse);
}

// Step 3: the secret must come back at the places of the position table; then the session key goes
// out under the authentication phrase and both directions switch to it.
void TServeurScripte::Authentification(const std::string& Donnees) {
  Connexion& c = *courante_;
  std::string reponse(56, '\0');
  if (c.compte == nullptr) return;
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = CryptageClientServeur::PhraseAuthentification(
      c.compte->Code, c.compte->MotDePasseApplication, c.compte->Login, c.compte->MotDePasse);
  std::string clair;
  bool bon = chiffreur.Dechiffrer(Donnees, clair) && clair.size() == 48;
  if (bon) {
    uint8_t bloc[32], rendu[16];
    std::memcpy(bloc, clair.data(), 32);
    VclCommTcp::RassemblerOctets(bloc, c.positions, rendu);
    bon = std::memcmp(rendu, c.secret.data(), 16) == 0;
  }
  if (!bon || RefuserAuthentification) {
    reponse[0] = 3;
    reponse.append(3, '\0');
    Envoyer(CM_REPONDRE_AUTHENTIFICATION, reponse);
    return;
  }
  cleSession_.assign(16, '\0');
  VclCommTcp::OctetsAleatoires(reinterpret_cast<uint8_t*>(cleSession_.data()), 16);
  const std::string bloc = chiffreur.Chiffrer(cleSession_);
  EcrireCardinal(reinterpret_cast<uint8_t*>(reponse.data()) + 52, static_cast<uint32_t>(bloc.size()));
  reponse += bloc;
  Envoyer(CM_REPONDRE_AUTHENTIFICATION, reponse);
  c.securiteEnvoi = c.securiteReception = TypeSecurite{Trame::kModeChiffre, cleSession_};
}

std::string TServeurScripte::UtilisateurCrypte(uint32_t Ident, const std::string& Nom, const std::string& Code,
                                               const std::string& Login, const std::string& MotDePasse,
                                               const std::string& Texte, bool Administrateur) {
  TBinaryFormatter f(nullptr);
  f.EcrireCardinal(Ident);
  f.EcrireChaine(TLogin(Nom).GetCode());
  f.EcrireChaine(TLogin(Code).GetCode());
  f.EcrireChaine(TLogin(Login).GetCode());
  f.EcrireChaine(TMotDePasse(MotDePasse).GetCode());
  f.EcrireBooleen(true);
  f.EcrireChaine(Texte);
  f.EcrireBooleen(Administrateur);
  return Octets(f);
}

std::string TServeurScripte::GroupeCrypte(uint32_t Ident, const std::string& Nom, uint16_t Genre,
                                          std::initializer_list<int> Droits) {
  TBinaryFormatter f(nullptr);
  f.EcrireCardinal(Ident);
  f.EcrireChaine(TLogin(Nom).GetCode());
  f.EcrireWord(Genre);
  uint8_t octets[256] = {};
  for (int d : Droits) octets[d] = 1;
  f.EcrireTampon(octets, 256);
  return Octets(f);
}

std::string TServeurScripte::AffectationOctets(uint32_t Ident, uint32_t ProfilServeur, uint32_t ProfilUtilisateur,
                                               uint32_t Utilisateur) {
  std::string o(kTailleAffectation, '\0');
  auto* p = reinterpret_cast<uint8_t*>(o.data());
  EcrireCardinal(p, Ident);
  EcrireCardinal(p + 4, ProfilServeur);
  EcrireCardinal(p + 8, ProfilUtilisateur);
  EcrireCardinal(p + 12, Utilisateur);
  return o;
}
