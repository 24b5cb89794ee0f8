#include "service/Noyau.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
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
  // systemd may name several folders, separated by ":"; the unit names one.
  if (const char* d = std::getenv("RUNTIME_DIRECTORY"); d != nullptr && d[0] != '\0') {
    const std::string dossiers = d;
    return dossiers.substr(0, dossiers.find(':'));
  }
  if (const char* d = std::getenv("XDG_RUNTIME_DIR"); d != nullptr && d[0] != '\0') return std::string(d) + "/norvane";
  return "/tmp/norvane-" + std::to_string(::getuid());
}

std::string NomVerrou(const std::string& Titre) {
  const size_t p = Titre.find_last_of("/\\");
  std::string nom = p == std::string::npos ? Titre : Titre.substr(p + 1);
  if (nom.empty() || nom == "." || nom == "..") nom = "TApplication";
  return ChaineUnicode::VersUTF8(nom, 1252) + ".lock";
}

// A 1252 literal as a text that concatenates.
std::string A(std::string_view Texte) { return std::string(Texte); }

// A folder path as the messages show it (1252).
std::string Affiche(const std::string& Chemin) { return ChaineUnicode::DepuisUTF8(Chemin, 1252); }

[[noreturn]] void Refuser(const std::string& Dossier, const std::string& Raison) {
  throw Exception(std::string(A("Le dossier d'exécution "_ansi)) + Affiche(Dossier) + " " + Raison);
}

std::string Systeme(int Erreur) { return ChaineUnicode::DepuisUTF8(std::strerror(Erreur), 1252); }

// Opens the run folder, walking its path one component at a time without following any link (a
// link planted anywhere in the path would send the lock elsewhere), making the last component when
// Creer and it is missing. Then checks that it is this account's and writable by it alone. -1 when
// it is missing and not to be made.
int OuvrirDossierVerrous(bool Creer) {
  const std::string dossier = DossierVerrous();
  std::vector<std::string> parties;
  for (size_t debut = 0; debut <= dossier.size();) {
    const size_t fin = std::min(dossier.find('/', debut), dossier.size());
    if (fin > debut) parties.push_back(dossier.substr(debut, fin - debut));
    debut = fin + 1;
  }
  int fd = ::open(dossier.starts_with("/") ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Refuser(dossier, A("ne peut pas être ouvert : "_ansi) + Systeme(errno));
  for (size_t i = 0; i < parties.size(); ++i) {
    const bool dernier = i + 1 == parties.size();
    int suivant = ::openat(fd, parties[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (suivant < 0 && errno == ENOENT && dernier && Creer) {
      if (::mkdirat(fd, parties[i].c_str(), 0700) != 0 && errno != EEXIST) {
        const int e = errno;
        ::close(fd);
        Refuser(dossier, A("ne peut pas être créé : "_ansi) + Systeme(e));
      }
      suivant = ::openat(fd, parties[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    const int e = errno;
    if (suivant < 0) {
      struct stat st {};
      const bool lien = ::fstatat(fd, parties[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
      ::close(fd);
      if (e == ENOENT && !Creer) return -1;
      if (lien) Refuser(dossier, A("est atteint par un lien symbolique ("_ansi) + Affiche(parties[i]) + A(") : refusé"_ansi));
      Refuser(dossier, A("ne peut pas être ouvert : "_ansi) + Systeme(e));
    }
    ::close(fd);
    fd = suivant;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int e = errno;
    ::close(fd);
    Refuser(dossier, A("ne peut pas être lu : "_ansi) + Systeme(e));
  }
  if (st.st_uid != ::geteuid()) {
    ::close(fd);
    Refuser(dossier, A("appartient à un autre compte (uid "_ansi) + std::to_string(st.st_uid) +
                         A(") : le verrou d'instance unique n'y est pas pris"_ansi));
  }
  if ((st.st_mode & 022) != 0) {
    ::close(fd);
    Refuser(dossier, A("peut être modifié par d'autres comptes : le verrou d'instance unique n'y est pas pris"_ansi));
  }
  return fd;
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

bool EstCommutateur(const std::string& Mot) { return !Mot.empty() && (Mot[0] == '-' || Mot[0] == '/'); }

std::string ParametreBase() {
  for (int i = 1; i <= ParamCount(); ++i)
    if (!EstCommutateur(ParamStr(i))) return ParamStr(i);
  return {};
}

bool DejaLance(const std::string& Titre) {
  const int dossier = OuvrirDossierVerrous(true);
  const std::string nom = NomVerrou(Titre);
  const int fd = ::openat(dossier, nom.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  const int e = errno;
  ::close(dossier);
  if (fd < 0) Refuser(DossierVerrous(), A("ne donne pas son verrou "_ansi) + Affiche(nom) + " : " + Systeme(e));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int erreur = errno;
    ::close(fd);
    if (erreur == EWOULDBLOCK) return true;
    Refuser(DossierVerrous(), A("ne donne pas son verrou "_ansi) + Affiche(nom) + " : " + Systeme(erreur));
  }
  // Held until the process ends: the descriptor is kept open on purpose.
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
  }
  return false;
}

long ProcessusTitulaire(const std::string& Titre) {
  int dossier = -1;
  try {
    dossier = OuvrirDossierVerrous(false);
  } catch (const Exception&) {
    return 0;
  }
  if (dossier < 0) return 0;
  const int fd = ::openat(dossier, NomVerrou(Titre).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  ::close(dossier);
  if (fd < 0) return 0;
  char tampon[32] = {};
  const ssize_t n = ::read(fd, tampon, sizeof(tampon) - 1);
  ::close(fd);
  return n > 0 ? std::strtol(tampon, nullptr, 10) : 0;
}

}  // namespace Noyau
