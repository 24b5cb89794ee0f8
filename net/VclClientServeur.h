// The client/server component that every program of the system places on a form to talk to the
// others: it owns one UDP channel and one TCP channel, turns their low-level callbacks into events
// of its own, carries the synchronous exchange of network orders, and relays the changes of the user
// base to its owner. The data client derives from it and adds the server address, the login and the
// requests.
//
// The descendant creates the two channels and hands them over (DefinirCanalUdp, DefinirCanalTcp);
// the component then wires them (LierUdp, LierTcp, which descendants extend to register their own
// message kinds).
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/RequeteServeur.h"
#include "net/objets/OrdreReseau.h"
#include "net/transport/TransfertStream.h"
#include "net/transport/VclCommTcp.h"
#include "net/transport/VclCommUdp.h"
#include "net/utilisateurs/BaseUtilisateurs.h"

// The channels of Activer and Desactiver, as a set of bits.
inline constexpr uint8_t kCanalUdp = 1;
inline constexpr uint8_t kCanalTcp = 2;

class TIeClientServeur {
 public:
  explicit TIeClientServeur(MainLoop& Boucle);
  virtual ~TIeClientServeur();
  TIeClientServeur(const TIeClientServeur&) = delete;
  TIeClientServeur& operator=(const TIeClientServeur&) = delete;

  MainLoop& Boucle() { return boucle_; }
  TCommunicationUdpClient* CanalUdp() const { return udp_.get(); }
  TCommunicationTcpClient* CanalTcp() const { return tcp_.get(); }

  // Copied into the UDP channel (the one that announces them) whenever set; the name is cut to 10
  // characters.
  TypeGenreProcess GenreApplication() const { return genreApplication_; }
  void SetGenreApplication(TypeGenreProcess Genre);
  const std::string& NomApplication() const { return nomApplication_; }
  void SetNomApplication(std::string_view Nom);
  // The TCP channel's keep-alive switch.
  void SetKeepSocketTcpAlive(bool Valeur);

  // Bit 1 opens the UDP channel (a failure stops there), bit 2 the TCP channel (a failure closes the
  // UDP channel again). Answers True when every channel asked for is active.
  bool Activer(uint8_t Canaux);
  // An empty set means both. TCP closes, when UDP is asked for too, only once UDP is no longer active.
  void Desactiver(TypeModeDeconnexionApplicatif Raison, uint8_t Canaux, bool Forcer);
  bool TcpActif() const;
  bool EstActif() const;
  bool EstEnModeExclusif() const;

  // The server profile of the connection, from the server's host record.
  uint32_t IdentProfilServeur = 0;

  // Sends the order as a request (CM_ENVOYER_OrdreReseau) and waits for the answer, whose values
  // land in the order: the order's error, or an error of its own when no answer came. While another
  // exchange of the component is under way: nothing is sent, no error.
  TErreur* EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre);
  // Sends the order without waiting.
  void EnvoyerOrdreReseau(TOrdreReseau* Ordre);
  // The protocol trace window.
  void AfficherTraceProtocole();
  // True while a synchronous exchange of the component is under way (requests and orders share it).
  bool Occupe() const { return occupe_; }

  // Read and written straight through to the channels (both exist once the descendant is built):
  // the server's text messages on each channel, and the TCP channel's socket-error event.
  std::function<bool(const TypeMessageStr& Message)>& SurReceptionMessageUdp() { return udp_->OnReceptionMessage; }
  std::function<bool(const TypeMessageStr& Message)>& SurReceptionMessageTcp() { return tcp_->OnReceptionMessage; }
  decltype(TCommunicationTcp::SurErreurSocket)& SurErreurSocketTcp() { return tcp_->SurErreurSocket; }

  // --- Events.
  std::function<bool(TIeClientServeur* Sender)> SurRequeteActivationUdp, SurRequeteDesactivationUdp,
      SurRequeteActivationTcp, SurRequeteDesactivationTcp;
  std::function<void(TIeClientServeur* Sender)> SurActivationUdp, SurDesactivationUdp, SurActivationTcp,
      SurDesactivationTcp;
  std::function<void(TIeClientServeur* Sender, uint32_t IdentConnexion, uint32_t IdentConnexionServeur)>
      SurConnexionServeur, SurDeconnexionServeur;
  std::function<void(TIeClientServeur* Sender, uint32_t Ident)> SurCommunicationPrete;
  using TOnModificationBaseUtilisateurs = std::function<void(TypeGenreModif Genre, uint32_t Ident)>;
  TOnModificationBaseUtilisateurs SurChangementUtilisateurs, SurChangementGroupesUtilisateurs,
      SurChangementProfilsServeurs, SurChangementAffectationsUtilisateurs;
  std::function<void(TIeClientServeur* Sender, bool ModeExclusif, TypeGenreProcess GenreProc, uint32_t IdentConnexion,
                     const TCommunicationTcp::TypeDetailsExclusif& Details)>
      SurChangementModeExclusif;
  std::function<void(TIeClientServeur* Sender, bool Verrou, TypeGenreProcess GenreProc, uint32_t IdentConnexion)>
      SurChangementVerrouModeExclusif;
  std::function<void(TIeClientServeur* Sender, uint32_t IdentConnexion, uint8_t Cause, double Parametre)>
      DeconnexionApplicatif;
  std::function<void(TIeClientServeur* Sender, uint32_t IdentConnexion, uint32_t Requete, uint32_t Valeur,
                     const uint8_t* Parametre, uint32_t Taille)>
      ExecuterRequete;
  // Streams: the content of a stream the server asks for is written to Flux (True when written);
  // a stream received is read from Flux (positioned at 0; an exception from the reader makes the
  // stream corrupt: the link is closed); a stream asked for was refused (Flux nil).
  using TOnStreamEvent =
      std::function<bool(TIeClientServeur* Sender, TStream* Flux, TypeGenreStream Genre, const TypeCodeUtilisateur& Code)>;
  TOnStreamEvent SurPreparerStream, SurLireStream, SurStreamRefuse;
  std::function<void(TIeClientServeur* Sender, TypeGenreStream Genre, uint32_t Position, uint32_t Taille)>
      SurProgressionStream;

 protected:
  // The descendant's constructor creates the channels and hands them over.
  void DefinirCanalUdp(std::unique_ptr<TCommunicationUdpClient> Canal);
  void DefinirCanalTcp(std::unique_ptr<TCommunicationTcpClient> Canal);

  // Virtual operations, each raising its event or doing what is said.
  virtual void TcpDesactive();
  virtual void ProfilsServeursModifies(TypeGenreModif Genre, uint32_t Ident);
  virtual bool FinEnvoiProfilsServeurs() { return true; }
  virtual void UtilisateursModifies(TypeGenreModif Genre, uint32_t Ident);
  virtual bool FinEnvoiInfosUtilisateurs() { return true; }
  virtual void GroupesModifies(TypeGenreModif Genre, uint32_t Ident);
  virtual void AffectationsModifiees(TypeGenreModif Genre, uint32_t Ident);
  virtual void LierUdp();
  virtual void LierTcp();
  virtual void ConnexionServeur(uint32_t IdentConnexion, uint32_t IdentConnexionServeur);
  virtual void DeconnexionServeur(uint32_t IdentConnexion, uint32_t IdentConnexionServeur);
  virtual void DeconnexionApplicatifRecue(uint32_t IdentConnexion, uint8_t Cause, double Parametre);
  virtual void CommunicationPrete(uint32_t Ident);
  virtual void RequeteRecue(uint32_t IdentConnexion, uint32_t Requete, uint32_t Valeur, const uint8_t* Parametre,
                            uint32_t Taille);
  // A network order of the server: executed here, answered with its results. An unknown class is
  // ignored.
  virtual void OrdreReseauRecu(uint32_t IdentConnexion, const std::string& NomOrdre, const uint8_t* Parametre,
                               uint32_t Taille);
  virtual void ReponseOrdreReseauRecue(uint32_t IdentConnexion, const std::string& NomOrdre, const uint8_t* Parametre,
                                       uint32_t Taille);
  // The local and server ports of both channels to "0".
  virtual void Reinitialiser();
  // A stream received: raises SurLireStream (True when unset).
  virtual bool LireStream(TStream& Flux, TypeGenreStream Genre);
  // A stream received has been read: the user information ends the base transfer.
  virtual void StreamBienRecu(TypeGenreStream Genre);
  // A stream asked for was refused: raises SurStreamRefuse.
  virtual void StreamRefuse(TypeGenreStream Genre);
  // Whether this component serves that kind of stream: not here.
  virtual bool PeutEnvoyerStream(TypeGenreStream) { return false; }
  // The answer to this client's request (CM_REPONDRE_REQUETE).
  virtual void ReponseRequeteRecue(const uint8_t* Donnees, uint32_t Taille);
  // The stream transfer and the state of the request waiting for its answer.
  TransfertStream::TTransfertStream& Transfert() { return transfert_; }
  TEchangeSynchrone& EchangeRequete() { return echangeRequete_; }

  // Wires the stream kinds and the request answers on the TCP channel.
  void LierStreamsEtRequetes();
  // Ends a synchronous exchange of the component and marks the TCP channel's answer.
  void MarquerReponse(bool Resultat);
  void SetOccupe(bool Valeur) { occupe_ = Valeur; }

 private:
  friend struct AccesClientServeur;
  MainLoop& boucle_;
  std::unique_ptr<TCommunicationUdpClient> udp_;
  std::unique_ptr<TCommunicationTcpClient> tcp_;
  TypeGenreProcess genreApplication_ = GP_Client;
  std::string nomApplication_;
  bool occupe_ = false;
  std::string reponseOrdre_;  // the serialised answer of the network order in progress
  bool reponseOrdreRecue_ = false;
  TransfertStream::TTransfertStream transfert_;
  TEchangeSynchrone echangeRequete_;
};
