// The program's command line: what the main window's commands do, for a server without a screen.
// Besides running the web service ("svcweb [base] [-svc] [--login-file=FILE]"), it prints its usage,
// installs and removes the service, and shows and changes the seven web-service settings with the
// settings page's own checks and messages. Every refusal is a message and a non-zero exit status.
#pragma once

#include <iosfwd>

#include "core/values/ChaineRessource.h"

namespace LigneCommande {

extern const TChaineRessource RS_Usage;
extern const TChaineRessource RS_OptionInconnue_S;
extern const TChaineRessource RS_ArgumentsManquants_S;
extern const TChaineRessource RS_ReglageInconnu_S;
extern const TChaineRessource RS_ValeurBooleenne_S;
extern const TChaineRessource RS_MotDePasseAbsent;
extern const TChaineRessource RS_NomBaseInvalide_S;

// Registers the unit's resource strings.
void Initialiser();

// Exit statuses besides 0.
enum : int { kEchec = 1, kUsage = 2 };

// Carries out the command of the command line (Noyau): answers its exit status, or -1 when the
// command line asks to run the web service. The usage and the settings are written to Sortie, the
// service's password read from the first line of Entree; messages go through the message dialog.
int Executer(std::istream& Entree, std::ostream& Sortie);

}  // namespace LigneCommande
