// The system's one message box. Messages are queued, then shown one at a time, oldest first; a
// message asked for while the queue is being shown (from a timer, a network event or the log's
// writer) only queues and answers 2, and the loop already running shows it next.
//
// Showing a message first writes it to the program's log as one line ("caption : title : text",
// the text cut at 2,000 characters), then hands it to the way of showing one message. Without the
// toolkit linked that way answers at once with the button a user would most likely press (the
// default button; a timed message closes itself with 1). The toolkit installs its own, which
// builds the message window and shows it modally; under the production modal driver it gives the
// same answers before any loop runs, so a waiting message never blocks the program, in window mode
// or in service mode. Whatever happens while a message is shown, the record is dropped and the
// showing flag cleared. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/values/ChaineRessource.h"

class TControl;

namespace VclDialogue {

// The caption words of the kinds of message, resource strings that a language module translates.
extern const TChaineRessource RS_SVokMsgDlgInformation;
extern const TChaineRessource RS_SVokMsgDlgConfirmation;
extern const TChaineRessource RS_SVokMsgDlgConseil;
extern const TChaineRessource RS_SVokMsgDlgAideFenetre;
extern const TChaineRessource RS_SVokMsgDlgAlerte;
// Registers the unit's resource strings.
void Initialiser();

// Kinds of message (Genre) and button sets (Boutons) that show buttons.
enum : uint8_t { kInformationOuConfirmation = 0, kConfirmation = 1, kConseil = 2, kInformation = 3, kAide = 4, kAlerte = 5 };
enum : uint8_t { kOuiNon = 3, kOuiAnnuler = 5, kOuiNonAnnuler = 7, kOk = 8, kOkAnnuler = 12, kOuiNonTous = 195 };
// Modal results.
enum : int32_t { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7, mrNoToAll = 9, mrYesToAll = 10 };

// A pending message. Controle, when set, is shown in the window instead of the title and text.
struct TypeMessageEnAttente {
  std::string Texte;
  std::string Titre;  // at most 255 characters
  uint8_t Genre = 0;
  uint8_t Boutons = 0;
  TControl* Controle = nullptr;
  int32_t DelaiMs = 0;  // 0: no time limit
  int32_t Numero = 0;   // 1 for the first message queued
};

// The way of showing one message: answers its modal result. Nil restores the log-only answer.
using TypeAfficheurMessage = int32_t (*)(const TypeMessageEnAttente& Message);
void DefinirAfficheur(TypeAfficheurMessage Afficheur);

// The log line of a message, the text cut at 2,000 characters.
std::string LigneJournal(const TypeMessageEnAttente& Message);

// The beginning of every caption (the application sets it to the product name at start-up).
void DefinirNomProgramme(const std::string& Nom);
const std::string& NomProgramme();

// Where shown messages go: one 1252 line each. By default a line on the standard error (the
// service's journal under systemd), converted to UTF-8. An empty writer restores the default.
using TSortie = std::function<void(const std::string& Ligne)>;
void DefinirSortie(TSortie Sortie);
// Writes one line where messages go (the wait windows' texts go there too).
void Ecrire(const std::string& Ligne);

// The caption of a kind: NomProgramme, " - " and the kind's word (its resource string); empty above
// kind 5.
std::string Legende(uint8_t Genre, uint8_t Boutons);
// The answer of the default button of a set (Enter); 2 for a set that shows no button.
int32_t ReponseParDefaut(uint8_t Boutons);

// Non-interactive: nothing is queued or shown; 1 when Boutons holds OK (8), else 6. Otherwise the
// message is queued; with Attendre the queue is shown at once and the answer is the last shown
// message's, without it the answer is 2 and the message waits for the next showing.
int32_t AfficherMessage(bool Interactif, const std::string& Texte, const std::string& Titre, uint8_t Genre,
                        uint8_t Boutons, bool Attendre);
// The same with a control shown in the window instead of the title and text (nil: none).
int32_t AfficherMessage(bool Interactif, const std::string& Texte, const std::string& Titre, uint8_t Genre,
                        uint8_t Boutons, TControl* Controle, bool Attendre);
// Queues a message that closes itself after DelaiMs milliseconds (its answer is 1); with Afficher
// shows the queue at once.
void AfficherMessageTemporise(const std::string& Texte, const std::string& Titre, int32_t DelaiMs, uint8_t Genre,
                              uint8_t Boutons, bool Afficher);
// True while the queue is being shown.
bool MessageEnCours();
// Messages queued and not shown yet.
int32_t MessagesEnAttente();

}  // namespace VclDialogue
