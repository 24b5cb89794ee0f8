// Desktop entries: the launchers a Linux desktop shows on the desktop or in its applications menu.
// An entry is a UTF-8 file "<name>.desktop" of group "[Desktop Entry]" with Type=Application, Name,
// Comment, Exec (the command line, each argument quoted as desktop entries quote them), Path (the
// working folder) and Icon; it is written exclusively (an existing file is left untouched) with mode
// 0755. Every text given here is UTF-8. Main thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace EntreeBureau {

// Locations: the desktop folder, and the user's applications menu.
enum : uint8_t { kBureau = 0, kMenuApplications = 3 };
// Answers of Ecrire.
enum : uint8_t { kCreee = 0, kErreurSysteme = 1, kExisteDeja = 2 };

struct TEntree {
  std::string Nom;
  std::string Commentaire;
  // The program, then its arguments.
  std::vector<std::string> Commande;
  std::string DossierTravail;
  std::string Icone;
};

// The folder of a location: for the desktop, XDG_DESKTOP_DIR of the user's user-dirs.dirs, else
// $HOME/Desktop; for the menu, $XDG_DATA_HOME/applications, else $HOME/.local/share/applications.
// Nothing for another location, or without a home folder.
std::optional<std::string> DossierEmplacement(uint8_t Emplacement);

// The Exec value of a command: each argument left bare, or between double quotes when it is empty
// or holds a reserved character (with a backslash before '"', '`', '$' and '\'), '%' doubled; then
// the value escaped as every string value is (backslash, tab, line feed, carriage return). Nothing
// when an argument holds another control character, which no value may carry.
std::optional<std::string> ValeurExec(const std::vector<std::string>& Commande);
// Reads an Exec value back into its arguments as a desktop does; nothing when it is malformed
// (an open quote, a field code, a lone backslash).
std::optional<std::vector<std::string>> LireExec(const std::string& Valeur);
// The bytes of the entry (lines ended by LF); control characters leave Name and Comment. Nothing
// when the command, the folder or the icon cannot be written.
std::optional<std::string> Contenu(const TEntree& Entree);

// Writes Dossier/<NomFichier>.desktop, making the folder when missing. NomFichier must be a plain
// file name (no "/", not "." or ".."). kExisteDeja when a file of that name exists (left as it
// was), kErreurSysteme when anything fails (nothing is left behind).
uint8_t Ecrire(const std::string& Dossier, const std::string& NomFichier, const TEntree& Entree);

}  // namespace EntreeBureau
