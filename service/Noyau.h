// The program's command line, kept once at start-up for every unit that reads it, and the guard that
// lets one instance of the program run at a time.
#pragma once

#include <string>
#include <vector>

namespace Noyau {

// Keeps the command line; its words are taken as UTF-8 and held as 1252 texts.
void DefinirLigneCommande(int argc, const char* const* argv);
// Parameter I (0: the program), empty past the end; ParamCount: the number after the program.
std::string ParamStr(int I);
int ParamCount();
// Whether a switch ("-" or "/" and the name, case ignored) stands anywhere on the command line.
bool Commutateur(const std::string& Nom);
// The value of an option "--Nom=valeur", empty when absent.
std::string Option(const std::string& Nom);

// The single-instance guard: takes the lock file named after Titre's file-name part (the whole
// title when it holds no "/" or "\") in the run folder (NORVANE_RUN_DIR, else XDG_RUNTIME_DIR's
// "norvane", else "/tmp/norvane-<uid>"). True when another live process holds it: this instance
// must not run. False when this process holds it now, for its whole life (the lock goes with the
// process, so a crash never leaves a stale lock behind). A lock that cannot be had for another
// reason (a folder that cannot be made) lets the program run: the guard never keeps it from starting.
bool DejaLance(const std::string& Titre);
// The process that holds the lock of Titre, 0 when unknown.
long ProcessusTitulaire(const std::string& Titre);

}  // namespace Noyau
