// The connection settings panel: the address and TCP port of the data server and the button that
// starts the connection. The connection screen lends it a container (AfficherParametresConnexion),
// refreshes it whenever the client state changes and takes it back (MasquerParametresConnexion),
// which saves the settings. The panel reaches the network-client module and the connection screen
// through IConnexionParametresClient, which the web service installs; the address and port it shows
// and changes are those of the data client, never a copy of its own. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/ControlesChoix.h"
#include "platform/gui/Fiches.h"
#include "ui/VCLBtns.h"
#include "ui/vclpanel.h"

class TIeClient;

// What the panel asks of the network-client module and of the connection screen.
class IConnexionParametresClient {
 public:
  virtual ~IConnexionParametresClient() = default;
  // The data client, whose AdresseIpServeur and PortTcpServeur the panel shows and changes.
  virtual TIeClient& ClientDonnees() = 0;
  // The connection mode (2: the direct connection to a data server).
  virtual uint8_t ModeConnexion() = 0;
  virtual void DefinirModeConnexion(uint8_t Mode) = 0;
  // Saves the connection settings (mode, address and port).
  virtual void SauverParametresConnexion() = 0;
  // Clears the flag telling that the server refused this client.
  virtual void EffacerRefus() = 0;
  // Moves the connection screen to a client state (2 starts the connection).
  virtual void SetEtatClient(int32_t Etat) = 0;
};

// A panel that raises OnClick when the left button is released over it.
class TPanneauCliquable : public TVokPanel {
 public:
  using TVokPanel::TVokPanel;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
};

class TFicheParametresClient : public TForm {
 public:
  explicit TFicheParametresClient(TComponent* Owner);

  TVokPanel* PanelPrincipal;
  TVokPanel* PanelTitreListe;
  TLabel* LabelCommentaire;
  TVokSpeedButton* BtnConnecter;
  TGroupBox* GBConnexionServeur;
  TRadioButton* RBConnexionAuServeur;
  TLabel* LabelSaisirParametresServeur;
  TLabel* LabelAdresseIpServeur;
  TPanneauCliquable* PanelSaisieAdresseIpServeur;
  TLabel* LabelDeuxPoints;
  TLabel* LabelPortTcpServeur;
  TPanneauCliquable* PanelSaisiePortTcpServeur;
  TVokPanel* PanelAideConnexionServeur;
  TLabel* LabelAideConnexionServeur;

  // Sets the texts of the controls from the dictionary.
  void FormCreate(TComponent* Sender);
  void RBRechercheUDPOuTCPClick(TComponent* Sender);
  void PanelSaisieAdresseIPServeurClick(TComponent* Sender);
  void PanelSaisiePortClick(TComponent* Sender);
  void BtnConnecterClick(TComponent* Sender);
};

namespace EcrParametresClient {

// The tag of the server's port panel (the address panel has 1).
inline constexpr int kTagPortTcpServeur = 3;

// Installs the network-client module's side (nil: none; the panel then raises ENonConstruit).
void DefinirConnexion(IConnexionParametresClient* Connexion);

// The address as the panel stores it: blanks removed; four groups of 1 to 3 decimal digits, each at
// most 255, in decimal without leading zeros; another text the address parser accepts in the parsed
// address's dotted form; any other text as typed (a host name).
std::string NormaliserAdresse(const std::string& Saisie);

// Shows the panel in Conteneur (nothing when it is shown already).
void AfficherParametresConnexion(TVokPanel* Conteneur);
// Saves the settings, takes the panel back and defers the form's destruction.
void MasquerParametresConnexion();
// Refreshes the controls while the panel is shown.
void ActualiserParametresConnexion();

// The form (nil when none) and whether the panel is shown.
TFicheParametresClient* FicheCourante();
bool Affiche();

}  // namespace EcrParametresClient
