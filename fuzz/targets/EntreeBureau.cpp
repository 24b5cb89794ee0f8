// Desktop shortcuts of server profiles, whose names come from the server: the entry is written in
// the desktop folder (or the sub-folder asked for) and nowhere else, or not at all, and its Exec
// reads back into the program and the profile's name. Input: the profile's name (a length byte and
// its bytes), a byte whose bit 0 asks for a sub-folder, then the sub-folder's name.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/values/ChaineUnicode.h"
#include "fuzz/FuzzSupport.h"
#include "net/utilisateurs/BureauWindows.h"
#include "platform/gui/EntreeBureau.h"

namespace fs = std::filesystem;

namespace {

// The home folder of the runs, made once and emptied after each run.
const fs::path& Home() {
  static const fs::path home = [] {
    std::string modele = (fs::temp_directory_path() / "fuzz-bureauXXXXXX").string();
    Fuzz::Verifier(::mkdtemp(modele.data()) != nullptr, "a temporary home folder can be made");
    ::setenv("HOME", modele.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
    return fs::path(modele);
  }();
  return home;
}

std::string UTF8(const std::string& Texte) { return ChaineUnicode::VersUTF8(Texte, ChaineUnicode::CP_WINDOWS_1252); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const std::string nom = octets.Texte(64);
  const std::string sous = (octets.Octet() & 1) ? octets.Texte(32) : std::string();
  const fs::path& home = Home();

  const uint8_t resultat =
      BureauWindows::CreerRaccourci(nom, "/opt/svcweb", {nom}, sous, BureauWindows::kBureau, "", "Lance " + nom, "");
  std::vector<fs::path> fichiers;
  for (const auto& e : fs::recursive_directory_iterator(home))
    if (!e.is_directory()) fichiers.push_back(e.path());
  Fuzz::Verifier(resultat != BureauWindows::kDoublon, "an empty folder holds no duplicate");
  if (resultat == BureauWindows::kCree) {
    fs::path dossier = home / "Desktop";
    if (!sous.empty()) dossier /= UTF8(BureauWindows::DernierComposant(sous));
    const fs::path attendu = dossier / (UTF8(BureauWindows::DernierComposant(nom)) + ".desktop");
    Fuzz::Verifier(fichiers.size() == 1 && fichiers[0] == attendu, "the entry is the one file, in its folder");
    std::ifstream in(attendu, std::ios::binary);
    const std::string texte{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const size_t exec = texte.find("\nExec=");
    Fuzz::Verifier(exec != std::string::npos, "the entry has an Exec line");
    const size_t debut = exec + 6;
    const auto arguments = EntreeBureau::LireExec(texte.substr(debut, texte.find('\n', debut) - debut));
    Fuzz::Verifier(arguments && *arguments == std::vector<std::string>{"/opt/svcweb", UTF8(nom)},
                   "Exec reads back into the program and the profile's name");
    size_t lignes = 0;
    for (char c : texte) {
      Fuzz::Verifier(static_cast<unsigned char>(c) >= 0x20 || c == '\n', "no control character but line ends");
      lignes += c == '\n';
    }
    Fuzz::Verifier(lignes == 5, "five lines: group, type, name, comment, command");
  } else {
    Fuzz::Verifier(fichiers.empty(), "a refused entry leaves nothing behind");
  }
  for (const auto& e : fs::directory_iterator(home)) fs::remove_all(e.path());
  return 0;
}
