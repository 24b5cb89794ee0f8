// The UDP channel of the client/server component, for finding the servers present on the local
// network. While it is open it broadcasts the client's presence every five seconds; every server
// that answers becomes a known server with a connection identifier of its own (never reused within a
// run), is asked for its host description (name, label, TCP port, version), and is forgotten after
// twenty seconds of silence, on its disconnection or when the channel closes. UDP frames are never
// enciphered. The data client of the web service never opens this channel.
// Main thread only.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "net/protocol/VCLBufferDynamique.h"
#include "net/protocol/VclCommIp.h"
#include "net/services/Version.h"
#include "net/transport/VclCommTcp.h"

namespace VclCommUdp {
inline constexpr const char* kPortServeurs = "49200";
inline constexpr size_t kTailleDatagramme = 10241;
inline constexpr uint32_t kTailleRechercheServeurs = 12;
// The host description of a server, and the older form without version.
inline constexpr uint32_t kTailleHost = 361;
inline constexpr uint32_t kTailleHostAncien = 360;
// An older server's description as the current form, with the version record of an unknown version
// (empty name, 7.0.0.0); nothing for other lengths.
bool HostActuel(const uint8_t* Donnees, uint32_t Taille, std::array<uint8_t, kTailleHost>& Host);
}  // namespace VclCommUdp

// One known server.
struct ServeurConnu {
  TypeAdresseSocket AdresseSocket{};
  uint32_t IdentConnexion = 0;
  uint16_t PortTcp = 0;
  std::string Libelle;  // at most 30 characters
  std::string Nom;      // at most 50 characters
  TBufferDynamique Reception, Envoi;
  std::unique_ptr<MainLoopTimer> Expiration;
  std::array<uint8_t, TypeVersion::kTaille> Version{};
  bool DescriptionRecue = false;
};

class TCommunicationUdp : public TCommunicationIp {
 public:
  explicit TCommunicationUdp(MainLoop& Boucle);
  ~TCommunicationUdp() override;

  std::string AdresseLocale = "0.0.0.0";
  std::string PortLocal = "0";
  // The servers' UDP port, and where a broadcast goes.
  std::string PortDistant;
  std::string AdresseDiffusion = "255.255.255.255";
  std::string GetPort() const { return PortDistant; }
  // The port the socket is bound to (0 when closed).
  uint16_t PortLie() const;
  int32_t CodeErreur() const { return codeErreur_; }

  TypeGenreProcess GenreApplication = GP_Client;
  std::string NomApplication;  // at most 10 characters

  // Broadcasts CM_RECHERCHER_SERVEURS {GenreApplication, NomApplication}.
  void AnnoncerPresence();

 protected:
  bool Ouvrir() override;
  // Closes the socket.
  void FermerSocket();
  // Writes one datagram; nothing when the socket is closed or the port unknown.
  void EnvoyerDatagramme(const TypeAdresseSocket& Destination, const std::string& Octets);
  TypeAdresseSocket Diffusion() const;
  // A datagram arrived (not one of this component's own).
  virtual void DatagrammeRecu(const TypeAdresseSocket& Expediteur, const uint8_t* Donnees, size_t Taille) = 0;

 private:
  struct Socket;
  void Recevoir(const std::shared_ptr<Socket>& S);
  bool EstPropre(const TypeAdresseSocket& Expediteur) const;
  void ErreurSocket(int32_t Code);

  std::shared_ptr<Socket> socket_;
  int32_t codeErreur_ = 0;
};

class TCommunicationUdpClient : public TCommunicationUdp {
 public:
  using Duree = MainLoop::Duration;

  explicit TCommunicationUdpClient(MainLoop& Boucle);
  ~TCommunicationUdpClient() override;

  Duree IntervallePresence = std::chrono::milliseconds(5000);
  Duree DelaiExpiration = std::chrono::milliseconds(20000);

  // Positions on the server of that socket address / identifier; False when unknown.
  bool ServeurDeAdresse(const TypeAdresseSocket& Adresse);
  bool ServeurDeIdent(uint32_t IdentConnexion);
  // The positioned server, nil when none.
  const ServeurConnu* Courant() const { return courant_; }
  // Forgets the positioned server.
  void OublierServeur();
  size_t NombreServeurs() const { return serveurs_.size(); }

  // Events.
  std::function<void(TCommunicationUdpClient* Sender)> SurChangementServeurs;
  // An unknown sender: True to take it as a server (True when not set).
  std::function<bool(TCommunicationUdpClient* Sender, const TypeAdresseSocket& Adresse)> SurRequeteConnexion;
  std::function<void(TCommunicationUdpClient* Sender, uint32_t IdentConnexion)> SurFinConnexion;
  // A server's host description (always the 361-byte form) and its socket address.
  std::function<bool(TCommunicationUdpClient* Sender, uint32_t IdentConnexion, const uint8_t* Host,
                     const TypeAdresseSocket& Expediteur)>
      SurReceptionHostServeur;

 protected:
  bool Ouvrir() override;
  bool Fermer(uint8_t Cause) override;
  void EnvoyerOctets(const TypeAdresseMessage& Adresse, const std::string& Trame) override;
  bool ReceptionDe(uint32_t Connexion, TypeReception& Reception) override;
  void TrameCorrompue(uint32_t Connexion) override;
  void DatagrammeRecu(const TypeAdresseSocket& Expediteur, const uint8_t* Donnees, size_t Taille) override;
  bool TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;
  bool TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override;

 private:
  ServeurConnu* Chercher(const TypeAdresseSocket& Adresse);
  void Changement();

  MainLoopTimer presence_;
  uint32_t prochainIdent_ = 1;
  // Known servers by identifier, and their identifiers by socket address (the order of sending).
  std::map<uint32_t, std::unique_ptr<ServeurConnu>> serveurs_;
  std::map<TypeAdresseSocket, uint32_t> parAdresse_;
  ServeurConnu* courant_ = nullptr;
  TypeSecurite securite_;  // both directions, always in clear
};
