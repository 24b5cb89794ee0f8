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
// Whether a word of the command line is a switch or an option (it begins with "-" or "/").
bool EstCommutateur(const std::string& Mot);
// The base (server profile) name: the first parameter that is not a switch, empty when none. A
// switch is never taken as the base ("svcweb -svc" serves no base called "-svc").
std::string ParametreBase();
// The value of an option "--Nom=valeur", empty when absent.
std::string Option(const std::string& Nom);

// The single-instance guard: takes the lock file named after Titre's file-name part (the whole
// title when it holds no "/" or "\") in the run folder: NORVANE_RUN_DIR, else the service's runtime
// folder (RUNTIME_DIRECTORY, which systemd makes for the unit's RuntimeDirectory=), else
// XDG_RUNTIME_DIR's "norvane", else "/tmp/norvane-<uid>". The folder is made (0700) when missing; it
// must belong to this account, be writable by it alone and be reached through no symbolic link, so
// that no other account can hold the lock or send it elsewhere. True when another live process
// holds the lock: this instance must not run. False when this process holds it now, for its whole
// life (the lock goes with the process, so a crash never leaves a stale lock behind). A folder or a
// lock that cannot be had raises Exception with the real reason.
bool DejaLance(const std::string& Titre);
// The process that holds the lock of Titre, 0 when unknown.
long ProcessusTitulaire(const std::string& Titre);

}  // namespace Noyau
