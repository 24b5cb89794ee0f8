#include "service/Noyau.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/values/ChaineUnicode.h"

namespace Noyau {
namespace {

std::vector<std::string>& Ligne() {
  static std::vector<std::string> ligne;
  return ligne;
}

std::string Minuscules(std::string Texte) {
  for (char& c : Texte)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return Texte;
}

std::string DossierVerrous() {
  if (const char* d = std::getenv("NORVANE_RUN_DIR"); d != nullptr && d[0] != '\0') return d;
  if (const char* d = std::getenv("XDG_RUNTIME_DIR"); d != nullptr && d[0] != '\0') return std::string(d) + "/norvane";
  return "/tmp/norvane-" + std::to_string(::getuid());
}

std::string FichierVerrou(const std::string& Titre) {
  const size_t p = Titre.find_last_of("/\\");
  std::string nom = p == std::string::npos ? Titre : Titre.substr(p + 1);
  if (nom.empty() || nom == "." || nom == "..") nom = "TApplication";
  return DossierVerrous() + "/" + ChaineUnicode::VersUTF8(nom, 1252) + ".lock";
}

}  // namespace

void DefinirLigneCommande(int argc, const char* const* argv) {
  auto& ligne = Ligne();
  ligne.clear();
  for (int i = 0; i < argc; ++i) ligne.push_back(ChaineUnicode::DepuisUTF8(argv[i], 1252));
}

std::string ParamStr(int I) {
  const auto& ligne = Ligne();
  return I >= 0 && static_cast<size_t>(I) < ligne.size() ? ligne[static_cast<size_t>(I)] : std::string();
}

int ParamCount() { return Ligne().empty() ? 0 : static_cast<int>(Ligne().size()) - 1; }

bool Commutateur(const std::string& Nom) {
  const auto& ligne = Ligne();
  for (size_t i = 1; i < ligne.size(); ++i) {
    const std::string& m = ligne[i];
    if (!m.empty() && (m[0] == '-' || m[0] == '/') && Minuscules(m.substr(1)) == Minuscules(Nom)) return true;
  }
  return false;
}

std::string Option(const std::string& Nom) {
  const std::string prefixe = "--" + Nom + "=";
  for (const auto& m : Ligne())
    if (m.rfind(prefixe, 0) == 0) return m.substr(prefixe.size());
  return {};
}

bool DejaLance(const std::string& Titre) {
  std::error_code ec;
  const std::string chemin = FichierVerrou(Titre);
  std::filesystem::create_directories(std::filesystem::path(chemin).parent_path(), ec);
  const int fd = ::open(chemin.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return errno == EACCES;  // another account's instance holds it
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool occupe = errno == EWOULDBLOCK;
    ::close(fd);
    return occupe;
  }
  // Held until the process ends: the descriptor is kept open on purpose.
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
  }
  return false;
}

long ProcessusTitulaire(const std::string& Titre) {
  const int fd = ::open(FichierVerrou(Titre).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return 0;
  char tampon[32] = {};
  const ssize_t n = ::read(fd, tampon, sizeof(tampon) - 1);
  ::close(fd);
  return n > 0 ? std::strtol(tampon, nullptr, 10) : 0;
}

}  // namespace Noyau
