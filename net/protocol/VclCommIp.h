// The base of the communication components (the TCP link to the data server, the UDP channel): packs
// messages into frames and hands them to the transport, cuts a connection's received bytes back into
// messages, and dispatches each message to the handler registered for its kind, within the kind's
// bounds on the data length, after adding it to the protocol trace.
//
// What a transport does with it:
// - sends through EnvoyerOctets (a kind-1 frame), applying ChiffrerTrame with its sending record;
// - after appending received bytes to a connection's queue (and re-arming its read), calls
//   TraiterReception with the connection's key; the component asks ReceptionDe for the queue, the
//   sender's socket address and the receiving record before each frame, never keeping them across a
//   handler (a handler may run a nested wait, during which the connection can go);
// - closes the link in TrameCorrompue: bytes that are not a frame leave the stream out of step, and
//   the frames behind them are lost, so the peer must reconnect rather than diverge silently.
// A handler that answers False stops the current pass; the frames already buffered are taken up again
// on the next turn of the main loop, not left until more bytes arrive.
// Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/GenresMessages.h"
#include "net/protocol/Trame.h"
#include "platform/loop/MainLoop.h"

// Causes of a disconnection (first byte of CM_DECONNEXION).
enum TypeModeDeconnexionApplicatif : uint8_t {
  MDA_Aucun = 0,
  MDA_Silencieux = 1,
  MDA_DeconnexionParAdministrateur = 2,
  MDA_ArretFonctionServeur = 3,
  MDA_VersionsIncompatibles = 4,
  MDA_AdresseIpInterdite = 5,
  MDA_AdresseIpInterditeACeTypeDeClient = 6,
  MDA_AdresseIpBlacklistee = 7,
};

// The data of CM_ENVOYER_MESSAGE: the kind of server message at 0, its text as a counted string of
// 255 characters at 24.
using TypeMessageStr = std::array<uint8_t, 288>;
// The host description this client sends (CM_ENVOYER_HOST), zero-filled then completed by RemplirHost.
using TypeEnvoiHostClient = std::array<uint8_t, 305>;

// A handler: the sender's socket address, the message's address, its kind, its data. True lets the
// receive pass go on with the next buffered message; False stops it for now.
using TTraitementMessage = std::function<bool(const TypeAdresseSocket& AdresseSocket, const TypeAdresseMessage& Adresse,
                                              uint32_t Id, const uint8_t* Donnees, uint32_t Taille)>;

struct TypeTraitementMessage {
  uint32_t Id = 0;
  std::string Nom;  // at most 50 characters
  uint32_t TailleMin = 0;
  uint32_t TailleMax = 0;
  TTraitementMessage Traitement;
};

class TCommunicationIp {
 public:
  // Registers the four kinds every component handles: CM_DEMANDER_HOST, CM_ENVOYER_HOST,
  // CM_DECONNEXION and CM_ENVOYER_MESSAGE.
  explicit TCommunicationIp(MainLoop& Boucle);
  virtual ~TCommunicationIp();
  TCommunicationIp(const TCommunicationIp&) = delete;
  TCommunicationIp& operator=(const TCommunicationIp&) = delete;

  // Adds a kind (name cut to 50 characters, bounds capped at 0xA00000); False, and the first
  // registration kept, when the kind is already registered.
  bool EnregistrerMessage(uint32_t Id, std::string_view Nom, uint32_t TailleMin, uint32_t TailleMax,
                          TTraitementMessage Traitement);
  // The same with the name and bounds of the protocol's table.
  bool EnregistrerMessage(uint32_t Id, TTraitementMessage Traitement);
  bool MessageEnregistre(uint32_t Id) const;

  // Sending: False when nothing was sent (data or compressed stream above the frame limit).
  bool EnvoyerMessage(const TypeAdresseMessage& Adresse, uint32_t Id, uint8_t Version = 0);
  bool EnvoyerMessageDonnees(const TypeAdresseMessage& Adresse, uint32_t Id, const void* Donnees, uint32_t Taille,
                             uint8_t Version = 0);
  // CM_ENVOYER_REQUETE: {0:u16, Code, Adresse, Valeur, Taille} then the argument.
  bool EnvoyerRequete(const TypeAdresseMessage& Adresse, uint32_t Code, uint32_t Valeur, const void* Donnees,
                      uint32_t Taille);
  // CM_ENVOYER_OrdreReseau: {0:u16, Adresse, NomOrdre (counted string of 40), Taille} then the order.
  bool EnvoyerOrdreReseau(const TypeAdresseMessage& Adresse, std::string_view NomOrdre, uint32_t Taille,
                          const void* Donnees);
  // CM_DECONNEXION: {Cause, 7 unused bytes, Parametre as a double}.
  bool EnvoyerDeconnexion(const TypeAdresseMessage& Adresse, uint8_t Cause, double Parametre);
  // The host exchange: asks for the peer's description; sends one; sends this client's own (zeroed,
  // then completed by RemplirHost).
  bool DemanderHost(const TypeAdresseMessage& Adresse);
  bool EnvoyerHost(const TypeAdresseMessage& Adresse, const TypeEnvoiHostClient& Host);
  bool RepondreHost(const TypeAdresseMessage& Adresse);

  // Nothing (False) when already active; SurRequeteActivation may refuse; the active flag takes the
  // result of Ouvrir; SurActivation when it became active. Answers the active flag.
  bool Activer();
  // Nothing (False) when not active; unless Force, SurRequeteDesactivation may refuse; then
  // Fermer(Cause); SurDesactivation when it became inactive. Answers True when inactive.
  bool Desactiver(uint8_t Cause, bool Force);
  bool Actif() const { return actif_; }

  enum class TypeFinReception {
    Attente,     // every complete frame was handled; an incomplete one waits for more bytes
    Reprise,     // a handler answered False: the rest is taken up on the next turn
    Fermeture,   // a corrupt frame: the queue was emptied and TrameCorrompue called
    SansConnexion  // the connection is gone
  };
  // Reads and dispatches every complete message buffered on that connection.
  TypeFinReception TraiterReception(uint32_t Connexion);
  // Runs the hook, then, for a registered kind other than 0 whose data length lies within its bounds,
  // traces the message and calls its handler: the handler's answer (False when it raised). Any other
  // message is ignored: True.
  bool DistribuerMessage(const TypeAdresseSocket& AdresseSocket, const TypeAdresseMessage& Adresse, uint32_t Id,
                         const uint8_t* Donnees, uint32_t Taille);

  // Events (all optional).
  std::function<bool(TCommunicationIp* Sender)> SurRequeteActivation;
  std::function<bool(TCommunicationIp* Sender)> SurRequeteDesactivation;
  std::function<void(TCommunicationIp* Sender)> SurActivation;
  std::function<void(TCommunicationIp* Sender)> SurDesactivation;
  std::function<void(TCommunicationIp* Sender, uint32_t IdentConnexion, TypeEnvoiHostClient& Host)> RemplirHost;
  std::function<bool(const TypeMessageStr& Message)> OnReceptionMessage;

 protected:
  // What the transport keeps for a connection it receives on.
  struct TypeReception {
    TBufferDynamique* File = nullptr;
    TypeAdresseSocket AdresseSocket{};
    TypeSecurite Securite;
  };
  // The connection's receiving side, looked up afresh before every frame; False when it is gone.
  // The base class has no connection.
  virtual bool ReceptionDe(uint32_t Connexion, TypeReception& Reception);
  // A corrupt frame arrived on the connection (its queue is already empty). The base class closes
  // the component without a disconnection message.
  virtual void TrameCorrompue(uint32_t Connexion);
  // Run for every received message before dispatch.
  virtual void SurReceptionTrame(const TypeAdresseMessage&, uint32_t /*Id*/) {}
  // The transport's send of a kind-1 frame; nothing here.
  virtual void EnvoyerOctets(const TypeAdresseMessage& /*Adresse*/, const std::string& /*Trame*/) {}
  // Handlers of the four base kinds. CM_ENVOYER_MESSAGE goes to OnReceptionMessage and, when nobody
  // takes it, to the message dialog (title "VclCommIpMessageDuServeur", the text at offset 24); it
  // answers True. The other three depend on what a connection is, so each transport has its own.
  virtual bool TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) = 0;
  virtual bool TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) = 0;
  virtual bool TraiterEnvoyerMessage(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t);
  virtual bool TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) = 0;
  // Opens the transport: here only True.
  virtual bool Ouvrir() { return true; }
  // Closes the transport: here sends CM_DECONNEXION {Cause, 0} to the default address when Cause is
  // not 0, and answers True.
  virtual bool Fermer(uint8_t Cause);
  virtual TypeAdresseMessage AdresseParDefaut() const { return {0, 0}; }

  // The frame as a security record sends it (a kind-2 frame in mode 2); False when too long.
  [[nodiscard]] bool ChiffrerTrame(const TypeSecurite& Securite, std::string& Trame);
  MainLoop& Boucle() { return boucle_; }

 private:
  MainLoop& boucle_;
  std::map<uint32_t, TypeTraitementMessage> traitements_;
  TClassCryptageClientServeur chiffreurEnvoi_;
  TClassCryptageClientServeur chiffreurReception_;
  bool actif_ = false;
  // Lets a resumption posted on the loop find out that the component is gone.
  std::shared_ptr<int> vie_ = std::make_shared<int>(0);
};

namespace VclCommIp {
// The text of a server message (the counted string at offset 24).
std::string TexteMessage(const TypeMessageStr& Message);
}  // namespace VclCommIp
