// Shortcuts that start a program: desktop entries on the desktop or in the applications menu.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace BureauWindows {

// Locations: 0 the desktop, 1 the quick-launch folder, 2 the send-to folder, 3 the start menu (the
// applications menu). This platform has no quick-launch or send-to folder.
enum : uint8_t { kBureau = 0, kLancementRapide = 1, kEnvoyerVers = 2, kMenuDemarrer = 3 };
// Answers.
enum : uint8_t { kCree = 0, kErreurSysteme = 1, kDoublon = 2 };

// Creates the shortcut Nom (its last component after "/" or "\": "." , ".." or nothing answers
// kErreurSysteme) in the folder of Emplacement, in its sub-folder SousDossier when not empty (its
// last component likewise), starting Cible with the arguments Parametres in RepertoireTravail, with
// Description and the icon Icone. Nom, Parametres, SousDossier and Description are the system's
// texts; Cible, RepertoireTravail and Icone are paths of the file system. kDoublon when a shortcut
// of that name exists (left untouched); kErreurSysteme on any failure.
uint8_t CreerRaccourci(const std::string& Nom, const std::string& Cible, const std::vector<std::string>& Parametres,
                       const std::string& SousDossier, uint8_t Emplacement, const std::string& RepertoireTravail,
                       const std::string& Description, const std::string& Icone);

// The last component of a name after "/" or "\"; empty for ".", ".." or a name ending with one.
std::string DernierComposant(const std::string& Nom);

}  // namespace BureauWindows
