// The server-profile list: the data server's active server profiles (the plannings it offers) in a
// named-column list of three columns (the profile's name, the file name of its base, the codes of
// its administrators), with a button that creates the profile's desktop shortcut and one that
// connects to it. The connection screen lends the list's panel to its container and passes the
// routine that connects to the chosen profile. Also the entry points of the user-administration
// panels, which this system does not have. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"
#include "ui/vclliste.h"
#include "ui/vclpanel.h"

// Called with the chosen profile's identifier.
using TSurSelectionProfil = std::function<void(uint32_t Ident)>;

class TFicheListeSimpleProfilsServeur : public TForm {
 public:
  explicit TFicheListeSimpleProfilsServeur(TComponent* Owner);
  ~TFicheListeSimpleProfilsServeur() override;

  TVokPanel* PanelPrincipal;
  TVokPanel* PanelListe;
  TVokPanel* PanelTitreListe;
  TVokStringList* ListeProfils;
  TVokPanel* PanelBoutons;
  TBitBtn* BtnCreerRaccourci;
  TBitBtn* BtnLancerServeur;

  void FormCreate();
  bool ListeProfilsSurAcceder(TListCoord Cellule);
  void ListeProfilsSurSauverPointeurs();
  void ListeProfilsSurRestaurerPointeurs();
  void ListeProfilsSurSelection();
  void ListeProfilsMouseMove(uint8_t Shift, int X, int Y);
  void ListeProfilsDblClick();
  void PanelBoutonsPreResize();
  void PanelListePostResize();
  void BtnCreerRaccourciClick();
  void BtnLancerServeurClick();

 private:
  void DessinerEntete(TVokStringList* Liste, int32_t Col, TRect Rect);
  void DessinerDonnee(TVokStringList* Liste, int32_t Col, TRect Rect);
  // Positions the list table on the record of the first selected row; false when none.
  bool AllerASelection();
};

namespace ListeSimpleProfilsServeur {

// Shows the list in Conteneur, its title in Couleur; SurSelection receives the chosen profile.
// Nothing when the server-profile table does not exist or the list is already shown.
void AfficherListeProfilsServeur(TVokPanel* Conteneur, TColor Couleur, TSurSelectionProfil SurSelection);
void MasquerListeProfilsServeur();
// Rebuilds the list table from the active profiles; only while the list is shown.
void ActualiserListeProfilsServeur();

// The form (nil when none) and whether the list is shown.
TFicheListeSimpleProfilsServeur* Fiche();
bool Affichee();
// The list table: the identifier of the profile at a 1-based row, 0 when none.
uint32_t IdentALaLigne(int32_t Ligne);
int32_t NombreLignes();

void Finaliser();

}  // namespace ListeSimpleProfilsServeur

// The codes of the users, the super user aside, who may administer the current server profile, in
// the user table's order 1, separated by ", ".
void TexteAdministrateursProfilServeur(std::string& Texte);

// The user-administration panels: this system has none, so each returns at once.
void FermerPanneauUtilisateurs();
void ActualiserPanneauUtilisateurs();
void FermerPanneauAffectations();
void ActualiserPanneauAffectations();
