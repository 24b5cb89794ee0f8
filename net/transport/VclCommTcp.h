// The TCP link to the data server: the one channel of the login, the base streams, the modification
// requests and the modification orders. TCommunicationTcp adds to the communication base the request
// and network-order kinds, the socket error handling, the keep-alive timer and the exclusive-mode
// bookkeeping; TCommunicationTcpClient keeps exactly one outgoing connection to the configured server,
// its two byte queues, its two security records, the server's connection identifier, the synchronous
// exchanges and the senders of the client's own messages. Also here: the position table of the login
// handshake and the scattering of 16 key bytes into a 32-byte block by that table.
//
// The socket is a Boost.Asio socket on the main loop: connect, read, write, disconnect and error
// events all arrive on the main thread. Writes are non-blocking: what the socket does not take waits
// in the send queue, in order, for the next write event.
//
// Synchronous exchanges: each has its own answered flag and result. Only one exchange is unanswered
// at a time (a second one started inside the wait of the first waits for that answer before it
// sends), and an answer marks the exchange that is unanswered. A server that stays silent while an
// exchange waits (no byte at all for DelaiSilenceServeur) loses the link, which ends every wait with
// False; closing the link ends them the same way.
// Main thread only.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/protocol/VCLBufferDynamique.h"
#include "net/protocol/VclCommIp.h"
#include "net/services/Version.h"

namespace VclCommTcp {

// Where the data link goes when nothing else is configured: this machine.
inline constexpr const char* kAdresseParDefaut = "127.0.0.1";
inline constexpr const char* kPortParDefaut = "49300";

// Byte i holds a position 0..31 in its low 5 bits (the 16 positions are distinct) and random bits in
// its high 3 bits.
using TypeTablePositions = std::array<uint8_t, 16>;

// A new table: each position drawn uniformly among those not used yet.
TypeTablePositions CreerTablePositions();
// Bloc becomes 32 random bytes, then Bloc[Table[i] & 31] = Source[i] for i = 0..15.
void DisperserOctets(const uint8_t (&Source)[16], const TypeTablePositions& Table, uint8_t (&Bloc)[32]);
// The reverse: Source[i] = Bloc[Table[i] & 31].
void RassemblerOctets(const uint8_t (&Bloc)[32], const TypeTablePositions& Table, uint8_t (&Source)[16]);
// Taille bytes from the system's random source.
void OctetsAleatoires(uint8_t* Zone, int Taille);

// Sizes of the transport's fixed payloads.
inline constexpr uint32_t kTailleIdentConnexion = 8;
inline constexpr uint32_t kTailleTraitementLong = 202;
inline constexpr uint32_t kTailleLogin = 8;
// Writes are offered to the socket in pieces of at most this many bytes.
inline constexpr size_t kMorceauEcriture = 1024;
// A send queue beyond this closes the link.
inline constexpr size_t kFileEnvoiMaximale = 0xA00000;

}  // namespace VclCommTcp

// The kinds of process that take part in the system.
enum TypeGenreProcess : uint8_t {
  GP_Inconnu = 0,
  GP_Serveur = 2,
  GP_Client = 3,
  GP_ServeurHttp = 4,
  GP_Relais = 5,
  GP_ServiceWeb = 6,
};

enum TypeActionExclusive : uint8_t {
  AE_ChangementManuelMode = 0,
  AE_ChangementConnexion = 1,
  AE_CopieDeBase = 2,
  AE_FusionFichier = 3,
};

// Kinds of socket error (the socket library's error event).
enum class TypeErreurSocket : uint8_t { Generale, Envoi, Lecture, Connexion, Deconnexion, Acceptation };

enum TypeGenreStream : uint8_t { StreamBase = 0, StreamInfosUtilisateur = 1 };

// The first record is the sending one, the second the receiving one.
using TypeSecurites = std::array<TypeSecurite, 2>;
// The record of CM_TRAITEMENT_LONG_MODIFIE, handed on whole.
using TypeEtatTraitementLong = std::array<uint8_t, VclCommTcp::kTailleTraitementLong>;

class TCommunicationTcp : public TCommunicationIp {
 public:
  using Duree = MainLoop::Duration;

  explicit TCommunicationTcp(MainLoop& Boucle);
  ~TCommunicationTcp() override;

  // Whether the keep-alive timer runs while connected; its interval (60 s).
  bool KeepSocketTcpAlive = false;
  Duree IntervallePresence = std::chrono::milliseconds(60000);

  int32_t CodeErreur() const { return codeErreur_; }
  TypeErreurSocket ErreurEvenement() const { return erreurEvenement_; }

  // The keep-alive: an empty message of kind 0 to the server. Nothing here.
  virtual void EnvoyerPresence() {}
  // CM_REPONDRE_REQUETE with the given data; CM_REPONDRE_OrdreReseau with its header.
  bool EnvoyerReponseRequete(const TypeAdresseMessage& Adresse, const void* Donnees, uint32_t Taille);
  bool EnvoyerReponseOrdreReseau(const TypeAdresseMessage& Adresse, std::string_view NomOrdre, uint32_t Taille,
                                 const void* Donnees);

  // Exclusive mode: GP_Client changes this client's flag, GP_Serveur the server's; any other kind
  // nothing (False). True when the stored value changed; then raises the matching event with the
  // details stored below.
  bool ChangerModeExclusif(bool Valeur, TypeGenreProcess GenreProc, uint32_t IdentConnexion);
  bool ChangerVerrouModeExclusif(bool Valeur, TypeGenreProcess GenreProc, uint32_t IdentConnexion);
  bool ModeExclusif() const { return modeExclusif_; }
  bool VerrouModeExclusif() const { return verrouModeExclusif_; }
  bool ModeExclusifServeur() const { return modeExclusifServeur_; }
  bool VerrouModeExclusifServeur() const { return verrouModeExclusifServeur_; }
  // The details of the last exclusive-mode change, stored before ChangerModeExclusif.
  struct TypeDetailsExclusif {
    uint8_t Valider = 0;
    TypeActionExclusive Action = AE_ChangementManuelMode;
    uint32_t IdentDemandeur = 0;
    std::string InfosDemandeur;  // at most 200 characters
  };
  TypeDetailsExclusif DetailsExclusif;

  // Events.
  std::function<void(TCommunicationTcp* Sender, uint32_t IdentConnexion, uint8_t Cause, double Parametre)>
      OnDeconnexionApplicatif;
  std::function<void(TCommunicationTcp* Sender, uint32_t IdentConnexion, uint32_t Requete, uint32_t Valeur,
                     const uint8_t* Parametre, uint32_t Taille)>
      ExecuterRequete;
  std::function<void(TCommunicationTcp* Sender, uint32_t IdentConnexion, const std::string& NomOrdre,
                     const uint8_t* Parametre, uint32_t Taille)>
      ExecuterOrdreReseau;
  std::function<void(uint32_t IdentConnexion, const uint8_t* Parametre, uint32_t Taille)> OnReceptionReponseRequete;
  std::function<void(uint32_t IdentConnexion, const std::string& NomOrdre, const uint8_t* Parametre, uint32_t Taille)>
      OnReceptionReponseOrdre;
  // Replaces the timed message of a socket error; ErrorCode may be changed.
  std::function<void(TCommunicationTcp* Sender, TypeErreurSocket Genre, int32_t& ErrorCode)> SurErreurSocket;
  std::function<void(TCommunicationTcp* Sender, bool ModeExclusif, TypeGenreProcess GenreProc, uint32_t IdentConnexion,
                     const TypeDetailsExclusif& Details)>
      SurChangementModeExclusif;
  std::function<void(TCommunicationTcp* Sender, bool Verrou, TypeGenreProcess GenreProc, uint32_t IdentConnexion)>
      SurChangementVerrouModeExclusif;

 protected:
  // Writes a block to the connection: straight to the socket while nothing waits in the send queue
  // (pieces of 1024 bytes), the rest (or all of it, when the queue is not empty) to the queue. A
  // queue beyond 0xA00000 bytes closes the link.
  void EnvoyerSurSocket(const std::string& Zone);
  // The socket's error event: stores the error; then tells SurErreurSocket, which decides, or loses
  // the link (unless it was a send error) and shows a timed message.
  void ErreurSocket(TypeErreurSocket Genre, int32_t Code);
  // The client's socket operations behind EnvoyerSurSocket.
  virtual bool Connecte() const { return false; }
  // Writes what the socket takes now; the count, or -1 on a socket error (reported already).
  virtual long EcrireSocket(const uint8_t*, size_t) { return -1; }
  virtual TBufferDynamique* FileEnvoi() { return nullptr; }
  // Asks for a write event when the socket can take more.
  virtual void AttendreEcriture() {}
  // Drops the socket and runs the link-lost steps.
  virtual void PerdreLiaison() {}
  virtual std::string NomHoteDistant() const { return {}; }

  // Stops the keep-alive timer; starts it again when it should run.
  void ArreterPresence();
  void RelancerPresence();
  void SetModeExclusif(bool Valeur) { modeExclusif_ = Valeur; }
  // A connection made clears the last error.
  void EffacerCodeErreur() { codeErreur_ = 0; }
  void SetModeExclusifServeur(bool Valeur) { modeExclusifServeur_ = Valeur; }

 private:
  bool TraiterEnvoyerRequete(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille);
  bool TraiterEnvoyerOrdreReseau(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille);
  bool TraiterRepondreOrdreReseau(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille);

  MainLoopTimer presence_;
  int32_t codeErreur_ = 0;
  TypeErreurSocket erreurEvenement_ = TypeErreurSocket::Generale;
  bool modeExclusif_ = false;
  bool verrouModeExclusif_ = false;
  bool modeExclusifServeur_ = false;
  bool verrouModeExclusifServeur_ = false;
};

class TCommunicationTcpClient : public TCommunicationTcp {
 public:
  explicit TCommunicationTcpClient(MainLoop& Boucle);
  ~TCommunicationTcpClient() override;

  // The server's address (blanks are ignored in a dotted address; any other text is a host name) and
  // port (a number, or a service name resolved with "tcp").
  std::string AdresseServeur = VclCommTcp::kAdresseParDefaut;
  std::string PortServeur = "0";
  std::string GetPort() const { return PortServeur; }

  // How long a connection may take to open, and how long the server may stay silent while an
  // exchange waits for its answer, before the link is closed.
  Duree DelaiConnexion = std::chrono::seconds(30);
  Duree DelaiSilenceServeur = std::chrono::seconds(120);

  uint32_t IdentServeur() const { return identServeur_; }
  bool EstConnecte() const { return Connecte(); }

  // The pair of security records, read and replaced whole (the login installs its session key so).
  const TypeSecurites& Securites() const { return securites_; }
  void DefinirSecurites(const TypeSecurites& S) { securites_ = S; }

  // --- Synchronous exchanges.
  // Sends one message and waits for its answer (Delai in ms, 0: none but the silence of the server);
  // the exchange's own result: True when a handler marked it OK, False when marked failed, when the
  // link closed, on the time-out or when the application ends.
  bool EnvoyerEtAttendre(const TypeAdresseMessage& Adresse, uint32_t Id, const void* Donnees, uint32_t Taille,
                         uint32_t Delai);
  bool EnvoyerEtAttendre(const TypeAdresseMessage& Adresse, uint32_t Id, uint32_t Delai) {
    return EnvoyerEtAttendre(Adresse, Id, nullptr, 0, Delai);
  }
  // The same for any sending: Envoyer sends the message (False: nothing was sent, nothing waits).
  bool Echanger(const std::function<bool()>& Envoyer, uint32_t Delai);
  // Marks the unanswered exchange (nothing when none waits).
  void ReponseOk();
  void ReponseEchec();
  // True when no exchange waits for its answer.
  bool ReponseRecue() const;

  // --- Senders of the client's own messages; Ident 0 addresses the server.
  void EnvoyerPresence() override;
  // CM_DEMANDER_IDENTIFICATION: a new position table, enciphered under "$code:login$".
  bool DemanderIdentification(uint32_t Ident, std::string_view CodeApplication, std::string_view Login);
  // CM_DEMANDER_AUTHENTIFICATION: the 32-byte block and 16 new random bytes (the nonce), enciphered
  // under the authentication phrase.
  bool DemanderAuthentification(uint32_t Ident, const uint8_t (&Bloc32)[32], std::string_view CodeApplication,
                                std::string_view MotDePasseApplication, std::string_view Login,
                                std::string_view MotDePasse);
  // CM_ENVOYER_LOGIN: Valeur at 0, Octet at 4, three zero bytes.
  bool EnvoyerLogin(uint32_t Valeur, uint32_t Ident, uint8_t Octet);
  // CM_FIN_LOGIN; then both exclusive-mode flags are cleared.
  bool FinLogin(uint32_t Ident);
  // The synchronous asks (no time-out of their own): the answer flag is set by the component when
  // the end marker arrives; the user base's preparation is the component's.
  bool DemanderProfilsServeurs();
  bool DemanderInfosUtilisateurs();
  bool EnvoyerEtatBase(const TypeAdresseMessage& Adresse, uint8_t Etat);
  // CM_DEMANDER_STREAM (one byte); for the whole base first sets TransfertEnCours and raises
  // SurDebutTransfert.
  bool DemanderStream(const TypeAdresseMessage& Adresse, TypeGenreStream Genre);
  // End of a transfer: raises SurFinTransfert and clears TransfertEnCours.
  void FinTransfert();
  bool TransfertEnCours() const { return transfertEnCours_; }

  // What the handshake senders keep.
  const VclCommTcp::TypeTablePositions& TablePositions() const { return positions_; }
  const std::array<uint8_t, 16>& Nonce() const { return nonce_; }

  // Answers kept from the server.
  uint8_t ReponseOrdreUtilOctet() const { return reponseOrdreUtilOctet_; }
  uint32_t ReponseOrdreUtilValeur() const { return reponseOrdreUtilValeur_; }
  uint8_t ReponseTraitementLong() const { return reponseTraitementLong_; }
  const std::array<uint8_t, TypeVersion::kTaille>& VersionServeur() const { return versionServeur_; }

  // Events.
  std::function<void(TCommunicationTcpClient* Sender, uint32_t IdentConnexion, uint32_t IdentConnexionServeur)>
      SurConnexion;
  std::function<void(TCommunicationTcpClient* Sender, uint32_t IdentConnexion, uint32_t IdentConnexionServeur)>
      SurDeconnexion;
  std::function<void(TCommunicationTcpClient* Sender, uint32_t Ident)> SurCommunicationPrete;
  std::function<void(uint32_t Valeur1, uint32_t Valeur2)> SurIdentConnexion;
  std::function<void(uint32_t IdentConnexion, uint8_t Octet, uint32_t Valeur)> SurReponseOrdreUtilisateur;
  std::function<void(TCommunicationTcpClient* Sender, const TypeAdresseMessage& Adresse)> SurDebutRequeteServeur;
  std::function<void(TCommunicationTcpClient* Sender, const TypeAdresseMessage& Adresse)> SurFinRequeteServeur;
  std::function<void(TCommunicationTcpClient* Sender, const TypeEtatTraitementLong& Etat)> SurTraitementLongModifie;
  std::function<void(TCommunicationTcpClient* Sender)> SurDebutTransfert;
  std::function<void(TCommunicationTcpClient* Sender)> SurFinTransfert;
  // A server's host description (361 bytes); the handler's answer goes back to the receive pass.
  std::function<bool(TCommunicationTcpClient* Sender, uint32_t IdentConnexion, const uint8_t* Host)>
      SurReceptionHostServeur;

 protected:
  bool Ouvrir() override;
  bool Fermer(uint8_t Cause) override;
  TypeAdresseMessage AdresseParDefaut() const override { return {identServeur_, 2}; }
  void EnvoyerOctets(const TypeAdresseMessage& Adresse, const std::string& Trame) override;
  bool ReceptionDe(uint32_t Connexion, TypeReception& Reception) override;
  bool TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;

  bool Connecte() const override;
  long EcrireSocket(const uint8_t* Zone, size_t Taille) override;
  TBufferDynamique* FileEnvoi() override { return &fileEnvoi_; }
  void AttendreEcriture() override;
  void PerdreLiaison() override;
  std::string NomHoteDistant() const override;

 private:
  struct Liaison;
  struct Echange {
    bool Repondu = false;
    bool Resultat = false;
  };

  TypeAdresseMessage Adresse(uint32_t Ident) const { return {Ident != 0 ? Ident : identServeur_, 2}; }
  // The socket's events.
  void Connexion(const std::shared_ptr<Liaison>& L);
  void Lire(const std::shared_ptr<Liaison>& L);
  void EcritureProchaine();
  void Marquer(bool Resultat);
  bool Lacher();
  // Waits until the exchange is answered; the silence of the server beyond DelaiSilenceServeur, or
  // Delai (ms) when not 0, ends it.
  void AttendreReponse(const std::shared_ptr<Echange>& E, uint32_t Delai);
  bool Silencieux() const;

  bool TraiterIdentConnexion(const TypeAdresseMessage& Adresse, const uint8_t* Donnees);
  bool TraiterRepondreOrdreUtil(const TypeAdresseMessage& Adresse, const uint8_t* Donnees);

  std::shared_ptr<Liaison> liaison_;
  TBufferDynamique fileEnvoi_;
  TBufferDynamique fileReception_;
  TypeSecurites securites_;
  uint32_t identServeur_ = 0;
  std::vector<std::shared_ptr<Echange>> echanges_;  // the exchanges waiting, oldest first
  std::chrono::steady_clock::time_point derniereReception_;
  VclCommTcp::TypeTablePositions positions_{};
  std::array<uint8_t, 16> nonce_{};
  bool transfertEnCours_ = false;
  uint8_t reponseOrdreUtilOctet_ = 0;
  uint32_t reponseOrdreUtilValeur_ = 0;
  uint8_t reponseTraitementLong_ = 0;
  std::array<uint8_t, TypeVersion::kTaille> versionServeur_{};
};
