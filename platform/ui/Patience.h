// The wait windows of long steps, headless: a step that would stand behind a wait window writes the
// window's text to the log (VclDialogue::Ecrire) and runs; a report that would wait for the user to
// close it is written and returns at once, so nothing waits for a user who is not there.
#pragma once

#include <functional>
#include <string>

namespace Patience {

// Runs Methode while "showing" Texte; an exception from Methode goes on to the caller.
void Patienter(const std::string& Texte, const std::function<void()>& Methode);

// A long text result titled Titre: Texte, then every line of Trace, then "Fin de traitement".
void AfficherCompteRendu(const std::string& Titre, const std::string& Texte, const std::string& Trace);

}  // namespace Patience
