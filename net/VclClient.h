// The client side of the link to the main database server. TIeClient knows the server's address
// and ports, opens the TCP channel, identifies the user through a three-step enciphered handshake
// that gives both sides a session key, logs in, fetches the server profiles and the user base, and
// forwards the server's answers as events. TIeClientDonnees is the data channel of the web service:
// it checks the server's version, keeps the server profile of the connection, and is the client
// through which requests go and orders come.
//
// The handshake, message by message (the data client's side):
//   -> CM_DEMANDER_IDENTIFICATION    16 position bytes, enciphered under "$code:login$"
//   <- CM_REPONDRE_IDENTIFICATION    extended identifier, status, the server's 16 bytes enciphered
//                                    under the authentication phrase (status 4: unknown login)
//   -> CM_DEMANDER_AUTHENTIFICATION  those bytes scattered by the positions, and a new nonce
//   <- CM_REPONDRE_AUTHENTIFICATION  status, the session key (status 3: wrong password); from here
//                                    on every frame is enciphered under the key
//   -> CM_ENVOYER_LOGIN              server profile of the connection, status asked for
//   <- CM_REPONDRE_LOGIN             status granted, result; an accepted login fetches the user
//                                    base before SurReponseLogin is raised
// An answer that does not decipher leaves the handshake where it is; DelaiPoigneeDeMain bounds the
// whole handshake, after which the link is closed.
// Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/NetClient.h"
#include "net/OrdresRecus.h"
#include "net/VclClientServeur.h"
#include "net/services/Version.h"

enum TypeStatutConnection : uint8_t {
  AutoriseModif = 0,
  AutoriseModifRestreinte = 1,
  AutoriseConsult = 2,
  DemandeModif = 3,
  DemandeModifRestreinte = 4,
  DemandeConsult = 5,
  NonAutorise = 6,
  DemandeInvite = 7,
  DemandeAdmin = 8,
  DemandeAutomatique = 9,
};

enum TypeResultatReponseLogin : uint8_t {
  LoginOk = 0,
  UtilisateurDejaLogue = 1,
  LoginDejaConnecte = 2,
  MotDePasseIncorrect = 3,
  LoginInconnu = 4,
  GroupeInconnu = 5,
  ConnexionInternetInterdite = 7,
  ConnexionRefusee = 8,
  ConnexionPointNetRefusee = 9,
};

// Layouts of the host records and of the handshake answers.
namespace FormatClient {
inline constexpr uint32_t kTailleHostServeur = 361;
inline constexpr uint32_t kHostNom = 0;          // counted string of 50
inline constexpr uint32_t kHostLibelle = 51;     // counted string of 30
inline constexpr uint32_t kHostPortTcp = 83;     // 16-bit
inline constexpr uint32_t kHostVersion = 85;     // 272-byte version record
inline constexpr uint32_t kHostProfilServeur = 357;  // 32-bit
inline constexpr uint32_t kHostClientNomMachine = 1;  // counted string of at most 31
inline constexpr uint32_t kNomMachineMax = 31;
inline constexpr uint32_t kIdentificationEtendu = 32;
inline constexpr uint32_t kIdentificationStatut = 36;
inline constexpr uint32_t kIdentificationBloc = 37;
inline constexpr uint32_t kIdentificationMinimum = 41;  // shorter answers are ignored
inline constexpr uint32_t kAuthentificationTaille = 52;
inline constexpr uint32_t kAuthentificationBloc = 56;
}  // namespace FormatClient

using TypeEnvoiHostServeur = std::array<uint8_t, FormatClient::kTailleHostServeur>;

class TIeClientDonnees;

namespace VclClient {
// Records the global data client, through which the record files send their requests (set by the
// web service when its network module is created).
void DefinirClientDonnees(TIeClientDonnees* Client);
}  // namespace VclClient

class TIeClient : public TIeClientServeur {
 public:
  explicit TIeClient(MainLoop& Boucle);
  ~TIeClient() override;

  // The channels' texts: the UDP server port ("49200"), the TCP server port ("49300") and address
  // ("127.0.0.1").
  std::string GetPortUdpServeur() const;
  void SetPortUdpServeur(const std::string& Valeur);
  std::string GetPortTcpServeur() const;
  void SetPortTcpServeur(const std::string& Valeur);
  std::string GetAdresseIpServeur() const;
  void SetAdresseIpServeur(const std::string& Valeur);

  // When a server answers on UDP, connect to it by TCP at once.
  bool ConnexionTcpAutomatique = true;
  // The status asked for at login.
  TypeStatutConnection StatutDemande = DemandeModif;
  // The program's own version record, which the server's must match on its first three parts (a
  // program without one compares a zero record).
  TypeVersion VersionProgramme;
  // How long the handshake may take, from the identification to the login's answer.
  MainLoop::Duration DelaiPoigneeDeMain = std::chrono::seconds(30);

  uint32_t IdentServeur() const;
  uint32_t IdentEtendu() const { return identEtendu_; }

  // Stores the identity (empty passwords become the no-password sentinel) and starts the handshake
  // with Destinataire (0: the server).
  void Identifier(uint32_t Destinataire, std::string_view CodeApplication, std::string_view MotDePasseApplication,
                  std::string_view Login, std::string_view MotDePasse);
  // Empties the server-profile table, asks for the profiles and waits for the end marker; False when
  // the link went first.
  bool DemanderProfilsServeurs();
  // Asks for the user base and waits for it; the users, user profiles and assignments not received
  // again are then deleted (not when the ask failed: nothing is known then).
  bool DemanderInfosUtilisateurs();
  void EnvoyerLogin(uint32_t Destinataire);
  bool EnvoyerEtatBase(uint8_t Etat);
  // CM_FIN_LOGIN; both exclusive-mode flags cleared.
  virtual void Deconnecter(uint32_t Destinataire);
  // OnVerifierVersionServeur when set; otherwise the first three parts of VersionProgramme.
  bool VerifierVersionServeur(const TypeVersion& Version);
  // CM_DEMANDER_STREAM; asking for the whole base first starts holding the orders that arrive.
  bool DemanderStream(TypeGenreStream Genre);
  // True unless the server has put this client in exclusive mode.
  bool PasserParServeur() const { return !EstEnModeExclusif(); }
  // Sends one modification request and waits for the verdict (see RequeteServeur): False at once
  // while another exchange of the component waits; at most TailleReponse answer bytes go to
  // Reponse. A request not answered within DelaiRequete closes the link.
  bool EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees,
                               bool AfficherAttente, void* Reponse, int32_t TailleReponse);
  MainLoop::Duration DelaiRequete = RequeteServeur::kDelaiParDefaut;

  // --- Events.
  std::function<bool(const TypeVersion& VersionServeur)> OnVerifierVersionServeur;
  std::function<void(TIeClient* Sender)> SurChangementServeursPresents;
  std::function<void(uint32_t IdentConnexion, uint32_t IdentEtendu, TypeStatutConnection Statut,
                     TypeResultatReponseLogin Resultat)>
      SurReponseLogin;
  std::function<void(TIeClient* Sender, uint32_t IdentConnexion, TypeEnvoiHostClient& Host)> RemplirHost;
  std::function<bool(TIeClient* Sender, uint32_t IdentConnexion, const TypeEnvoiHostServeur& Host)>
      SurReceptionHostServeur;
  std::function<void(TIeClient* Sender)> TraiterDebutRequete, TraiterFinRequete;
  std::function<void(TIeClient* Sender, const TypeEtatTraitementLong& Etat)> SurModificationTraitementLong;
  std::function<void(TIeClient* Sender)> OnChangementUtilisateur, OnChangementGroupeUtilisateurs;
  // A modification order (its bytes), after holding; a user-base order, after it was applied.
  using TOnReceptionOrdreModif = std::function<void(TIeClient* Sender, const uint8_t* Parametre, uint32_t Taille)>;
  TOnReceptionOrdreModif TraiterOrdreModif, TraiterOrdreModifUtilisateur;
  std::function<void(TIeClient* Sender, bool Retour)> SurReponseDemandeModeExclusif, SurReponseLiberationModeExclusif;
  // Around every request sent; AfficherAttente asks for the wait window.
  std::function<void(TIeClient* Sender, bool AfficherAttente)> OnPreRequeteAuServeur, OnPostRequeteAuServeur;

 protected:
  // Which channel a host record came by.
  enum class TypeCanal { Udp, Tcp };
  virtual bool HostServeurRecu(TypeCanal Canal, uint32_t IdentConnexion, const TypeEnvoiHostServeur& Host,
                               const TypeAdresseSocket& Expediteur);
  virtual void PreparerHostClient(uint32_t IdentConnexion, TypeEnvoiHostClient& Host);
  virtual void IdentificationRecue(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille);
  virtual void AuthentificationRecue(const TypeAdresseMessage& Adresse, const uint8_t* Donnees, uint32_t Taille);
  virtual void ReponseLoginRecue(const TypeAdresseMessage& Adresse, const uint8_t* Donnees);
  virtual void DebutTraitementServeur();
  virtual void FinTraitementServeur();
  virtual void MemoriserIdentite(uint32_t Destinataire, std::string_view CodeApplication,
                                 std::string_view MotDePasseApplication, std::string_view Login,
                                 std::string_view MotDePasse);
  void LierUdp() override;
  void LierTcp() override;
  void Reinitialiser() override;
  bool PeutEnvoyerStream(TypeGenreStream Genre) override;
  void StreamBienRecu(TypeGenreStream Genre) override;
  void StreamRefuse(TypeGenreStream Genre) override;
  // Received orders: raises TraiterOrdreModif. Holding orders during a base transfer: nothing here.
  virtual void OrdreModifRecu(const uint8_t* Ordre, uint32_t Taille);
  virtual void DebutRetenueOrdres() {}
  virtual void FinRetenueOrdres() {}
  // The exclusive-mode messages: the mode and its lock go to the TCP channel, the answers to the
  // events.
  virtual void DemandeModeExclusifRepondue(bool Retour);
  virtual void LiberationModeExclusifRepondue(bool Retour);
  virtual void ModeExclusifModifie(uint32_t IdentConnexion, const uint8_t* Donnees, uint32_t Taille);
  virtual void VerrouModeExclusifModifie(uint32_t IdentConnexion, const uint8_t* Donnees, uint32_t Taille);
  void DeconnexionServeur(uint32_t IdentConnexion, uint32_t IdentConnexionServeur) override;

  // The handshake's end, whatever it was: its time-out stops.
  void FinPoigneeDeMain();
  // Registers the orders' and the exclusive mode's kinds on the TCP channel.
  void LierOrdresEtModeExclusif();

 private:
  void EnvoyerIdentification(uint32_t Destinataire);
  void ReponseLogin(uint32_t IdentConnexion, uint32_t IdentEtendu, TypeStatutConnection Statut,
                    TypeResultatReponseLogin Resultat);

  // The identity kept for the handshake and reused on reconnection.
  std::string codeApplication_, motDePasseApplication_, login_, motDePasse_;
  uint32_t identEtendu_ = 0;
  MainLoopTimer poigneeDeMain_;
};

// The data channel of the web service: the client through which every request is sent and every
// order received.
class TIeClientDonnees : public TIeClient, public IClientDonnees {
 public:
  explicit TIeClientDonnees(MainLoop& Boucle);
  // No longer the global data client once gone.
  ~TIeClientDonnees() override;

  void Deconnecter(uint32_t Destinataire) override;

  // IClientDonnees.
  bool PasserParServeur() override { return TIeClient::PasserParServeur(); }
  bool EnvoyerRequeteSynchrone(uint32_t Code, int32_t Parametre, int32_t Taille, const void* Donnees,
                               bool AfficherAttente, void* Reponse, int32_t TailleReponse) override {
    return TIeClient::EnvoyerRequeteSynchrone(Code, Parametre, Taille, Donnees, AfficherAttente, Reponse,
                                              TailleReponse);
  }
  // How many orders wait for the end of the base transfer.
  std::size_t OrdresRetenus() const { return retenus_.Nombre(); }

 protected:
  bool FinEnvoiProfilsServeurs() override;
  bool FinEnvoiInfosUtilisateurs() override;
  void DeconnexionApplicatifRecue(uint32_t IdentConnexion, uint8_t Cause, double Parametre) override;
  bool HostServeurRecu(TypeCanal Canal, uint32_t IdentConnexion, const TypeEnvoiHostServeur& Host,
                       const TypeAdresseSocket& Expediteur) override;
  void PreparerHostClient(uint32_t IdentConnexion, TypeEnvoiHostClient& Host) override;
  void MemoriserIdentite(uint32_t Destinataire, std::string_view CodeApplication,
                         std::string_view MotDePasseApplication, std::string_view Login,
                         std::string_view MotDePasse) override;
  void TcpDesactive() override;
  void OrdreModifRecu(const uint8_t* Ordre, uint32_t Taille) override;
  void DebutRetenueOrdres() override;
  void FinRetenueOrdres() override;

 private:
  TOrdresRetenus retenus_;
};
