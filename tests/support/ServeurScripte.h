// A data server for the tests: it listens on loopback, on the test's own main loop, and answers the
// client's messages from a script that the test fills: its identity and host record at connection,
// the server profiles, the enciphered handshake against a list of accounts, the login verdict and
// the user base. A test can silence a kind (no answer, ever), cut the link when a kind arrives, send
// anything at any time, or take a kind over with a handler of its own. Everything received is kept
// in order for the test to check.
//
// The server runs its handlers on the same thread as the client: it never waits, so a client's
// synchronous wait sees the server's answers arrive inside it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "net/protocol/VclCommIp.h"
#include "net/services/Version.h"
#include "net/utilisateurs/BaseUtilisateurs.h"

class TIeClient;

class TServeurScripte : public TCommunicationIp {
 public:
  explicit TServeurScripte(MainLoop& Boucle);
  ~TServeurScripte() override;

  // Listens on 127.0.0.1, on a free port: the port.
  uint16_t Demarrer();
  // Closes the listening socket and every connection.
  void Arreter();
  uint16_t Port() const { return port_; }
  // Starts listening and points the client at this server (address, port, program version), with the
  // account ("ABC", no application password, "alice", "Secret") that may change the base.
  void PreparerClient(TIeClient& Client);

  // --- The script.
  struct Compte {
    std::string Code, MotDePasseApplication, Login, MotDePasse;
    uint32_t IdentEtendu = 77;
    uint8_t StatutAccorde = 0;  // TypeStatutConnection granted at login
    uint8_t Resultat = 0;       // TypeResultatReponseLogin of the login
  };
  std::vector<Compte> Comptes;
  // At connection: the identifier given to the connection, then the host record (unless cleared).
  bool AnnoncerALaConnexion = true;
  uint32_t PremierIdent = 100;  // connections are numbered from here
  TypeVersion Version{"Serveur de test", 5, 0, 6, 9};
  std::string NomHote = "serveur";
  std::string Libelle = "Serveur de test";
  uint16_t PortTcpAnnonce = 49300;
  uint32_t IdentProfilServeur = 1;
  // Sent in answer to CM_DEMANDER_PROFILS_SRV, then the end marker.
  std::vector<TypeProfilServeur> ProfilsServeurs;
  // Sent in answer to CM_DEMANDER_INFOS_UTILISATEURS (kind, data), then the end marker.
  std::vector<std::pair<uint32_t, std::string>> BaseUtilisateurs;
  // The authentication is refused with status 3 even when the password is right.
  bool RefuserAuthentification = false;
  // Kinds that are never answered.
  std::set<uint32_t> Muets;
  // When this kind arrives the connection is cut, without answer.
  uint32_t CouperA = 0xFFFFFFFF;
  // Kinds taken over: the handler runs instead of the script's own handling.
  using TypeTraitement = std::function<void(TServeurScripte& Serveur, const TypeMessageRecu& Message)>;
  std::map<uint32_t, TypeTraitement> Traitements;

  // --- What happened.
  struct Recu {
    uint32_t Id;
    std::string Donnees;
    bool Chiffre;  // arrived under the session cipher
  };
  std::vector<Recu> Recus;  // every frame, keep-alives (kind 0) included
  std::vector<uint32_t> Genres() const;
  // The last data received of a kind (empty when none).
  std::string Dernier(uint32_t Id) const;
  int NombreConnexions() const { return nombreConnexions_; }
  bool Connecte() const;
  // The session key given at the last accepted authentication.
  const std::string& CleSession() const { return cleSession_; }

  // --- Acting on the current connection (the last accepted one).
  uint32_t IdentCourant() const;
  bool Envoyer(uint32_t Id, const std::string& Donnees = {});
  // Bytes as they are, frames or not.
  void EnvoyerBrut(const std::string& Octets);
  void Couper();
  // The host record (361 bytes) of the script.
  std::string HostServeur() const;

  // Coded forms of the user base, as the server sends them.
  static std::string UtilisateurCrypte(uint32_t Ident, const std::string& Nom, const std::string& Code,
                                       const std::string& Login, const std::string& MotDePasse,
                                       const std::string& Texte = "", bool Administrateur = false);
  static std::string GroupeCrypte(uint32_t Ident, const std::string& Nom, uint16_t Genre,
                                  std::initializer_list<int> Droits);
  static std::string AffectationOctets(uint32_t Ident, uint32_t ProfilServeur, uint32_t ProfilUtilisateur,
                                       uint32_t Utilisateur);

 protected:
  bool ReceptionDe(uint32_t Connexion, TypeReception& Reception) override;
  void TrameCorrompue(uint32_t Connexion) override;
  void SurReceptionTrame(const TypeAdresseMessage&, uint32_t Id) override;
  void EnvoyerOctets(const TypeAdresseMessage& Adresse, const std::string& Trame) override;
  bool TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterEnvoyerMessage(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;

 private:
  struct Connexion;
  void Accepter();
  void Lire(const std::shared_ptr<Connexion>& C);
  void Ecrire(const std::shared_ptr<Connexion>& C);
  void Fermer(std::shared_ptr<Connexion> C);
  bool Traiter(const TypeAdresseMessage& Adresse, uint32_t Id, const uint8_t* Donnees, uint32_t Taille);
  void Identification(const std::string& Donnees);
  void Authentification(const std::string& Donnees);

  struct Etat;
  std::unique_ptr<Etat> etat_;
  std::map<uint32_t, std::shared_ptr<Connexion>> connexions_;
  std::shared_ptr<Connexion> courante_;
  uint16_t port_ = 0;
  int nombreConnexions_ = 0;
  uint32_t prochainIdent_ = 0;
  std::string cleSession_;
  bool dernierChiffre_ = false;
};
