// The message window of the system's one message box (the queue lives in platform/ui/VclDialogue):
// a window built for each message from the panels of a hidden template window, coloured by the
// kind of message, with its picture, its title and text (scrolled when taller than 418 pixels) or
// a control of the caller, its buttons placed from the right, and a timer that closes a timed
// message with 1. The toolkit's start-up installs AfficherFenetreMessage as the queue's way of
// showing one message. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gui/Fiches.h"
#include "platform/ui/VCLTimer.h"
#include "platform/ui/VclDialogue.h"
#include "ui/VCLBtns.h"
#include "ui/vclpanel.h"

// The hidden template whose panels every message window borrows, by name.
class TVokMessageJPEG : public TForm {
 public:
  explicit TVokMessageJPEG(TComponent* Owner);

  TVokPanel* PanelPourLesImages;
  TImage* ImageInformationND;
  TImage* ImageConfirmationND;
  TImage* ImageAideND;
  TVokPanel* PanelTitreTexteScrollbar;
  TVokPanel* PanelTitreEtTexte;
  TLabel* LabelTitre;
  TLabel* LabelTexte;
  TScrollBar* ScrollBarTitreEtTexte;
  TVokPanel* PanelPourLesBoutons;
  TVokSpeedButton* BoutonMDBYes;
  TVokSpeedButton* BoutonMDBNo;
  TVokSpeedButton* BoutonMDBCancel;
  TVokSpeedButton* BoutonMDBOk;
  TVokSpeedButton* BoutonMDBYesToAll;
  TVokSpeedButton* BoutonMDBNoToAll;
  // The running offset of button placement, from the right edge.
  int Decalage = 0;

  // Shows Bouton at left = button panel width - offset - button width - 4; the offset grows by the
  // button's width + 4.
  void PlacerBouton(TVokSpeedButton* Bouton);
  // Scrolls the title and text: the inner panel's top becomes minus the position.
  void ScrollBarTitreEtTexteChange(TComponent* Sender);
};

// The window shown for one message.
class TVokMessageForm : public TForm {
 public:
  TVokMessageForm(TComponent* Owner, uint8_t Boutons, int32_t DelaiMs);
  // Sets the modal result to 1 (the display time has passed).
  void FermerSurDelai(TComponent* Sender);
  // Without a user: 1 for a timed message, else the default button of the set (2 without one).
  int32_t ReponseSansUtilisateur() const override;
  uint8_t Boutons() const { return boutons_; }
  int32_t DelaiMs() const { return delaiMs_; }
  TVokTimer* Minuterie = nullptr;

 private:
  uint8_t boutons_;
  int32_t delaiMs_;
};

namespace VclDialogue {

// The template, created at the toolkit's start-up (nil before and after).
TVokMessageJPEG* ModeleMessage();
// The colour of a kind (window, picture panel and button panel).
TColor CouleurGenre(uint8_t Genre);
// Builds the window of a message (the template's panels, or the message's control, moved into it).
TVokMessageForm* CreerFicheMessage(const TypeMessageEnAttente& Message);
// Shows one message modally and answers its result; the panels and the control go back where they
// were and the window is freed, also when the modal loop raises.
int32_t AfficherFenetreMessage(const TypeMessageEnAttente& Message);

// Start-up: the template, the button captions and the way of showing a message; end: undone.
void InitialiserFenetres();
void FinaliserFenetres();

}  // namespace VclDialogue
