#include "platform/service/Systemd.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/values/ChaineUnicode.h"

namespace fs = std::filesystem;

namespace Systemd {

bool Notifier(const std::string& Etat) {
  const char* chemin = std::getenv("NOTIFY_SOCKET");
  if (chemin == nullptr || chemin[0] == '\0') return false;
  const std::string nom = chemin;
  if (nom[0] != '/' && nom[0] != '@') return false;
  sockaddr_un adresse{};
  adresse.sun_family = AF_UNIX;
  if (nom.size() >= sizeof(adresse.sun_path)) return false;
  std::memcpy(adresse.sun_path, nom.data(), nom.size());
  if (nom[0] == '@') adresse.sun_path[0] = '\0';  // abstract namespace
  const auto longueur = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + nom.size() + (nom[0] == '/' ? 1 : 0));
  const int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  const ssize_t envoye =
      ::sendto(s, Etat.data(), Etat.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&adresse), longueur);
  ::close(s);
  return envoye == static_cast<ssize_t>(Etat.size());
}

bool SousGestionnaire() {
  const char* chemin = std::getenv("NOTIFY_SOCKET");
  return chemin != nullptr && chemin[0] != '\0';
}

namespace {
IGestionnaireUnites* courant = nullptr;
}

IGestionnaireUnites& Gestionnaire() {
  static TUnitesSystemd machine("/");
  return courant != nullptr ? *courant : machine;
}

void DefinirGestionnaire(IGestionnaireUnites* Gestionnaire) { courant = Gestionnaire; }

}  // namespace Systemd

namespace {

constexpr const char* kSuffixe = ".service";
constexpr const char* kCleDescription = "X-Norvane-Description=";

// systemd accepts these characters in a unit name; anything else (a slash above all) is refused.
bool NomValide(const std::string& Nom) {
  if (Nom.empty() || Nom.size() > 200) return false;
  for (char c : Nom) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                    c == '-' || c == ':' || c == '.';
    if (!ok) return false;
  }
  return Nom != "." && Nom != "..";
}

std::string Utf8(const std::string& Texte) { return ChaineUnicode::VersUTF8(Texte, 1252); }

// A value on one line of a unit file: line breaks become blanks, "%" (a specifier) is doubled.
std::string Valeur(const std::string& Texte) {
  std::string r;
  for (char c : Utf8(Texte)) {
    if (c == '\r' || c == '\n') r += ' ';
    else if (c == '%') r += "%%";
    else r += c;
  }
  return r;
}

// Writes a whole file through a temporary one, with the given mode; false when anything fails.
bool EcrireFichier(const fs::path& Chemin, const std::string& Texte, mode_t Mode) {
  std::error_code ec;
  fs::create_directories(Chemin.parent_path(), ec);
  if (ec) return false;
  const fs::path temporaire = Chemin.string() + ".tmp";
  const int fd = ::open(temporaire.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, Mode);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, Mode) == 0;
  size_t fait = 0;
  while (ok && fait < Texte.size()) {
    const ssize_t n = ::write(fd, Texte.data() + fait, Texte.size() - fait);
    if (n <= 0) ok = false;
    else fait += static_cast<size_t>(n);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temporaire.c_str(), Chemin.c_str()) == 0;
  if (!ok) ::unlink(temporaire.c_str());
  return ok;
}

}  // namespace

TUnitesSystemd::TUnitesSystemd(std::string Racine) : racine_(std::move(Racine)) {}

std::string TUnitesSystemd::FichierUnite(const std::string& Nom) const {
  return (fs::path(racine_) / "etc/systemd/system" / (Nom + kSuffixe)).string();
}

std::string TUnitesSystemd::FichierLogin(const std::string& Nom) const {
  return (fs::path(racine_) / "etc/norvane" / (Nom + ".login")).string();
}

std::string TUnitesSystemd::MotCommande(const std::string& Mot) {
  std::string r = "\"";
  for (char c : Utf8(Mot)) {
    if (c == '\\' || c == '"') r += '\\';
    if (c == '%') r += '%';
    if (c == '$') r += '$';
    if (c == '\r' || c == '\n') c = ' ';
    r += c;
  }
  return r + "\"";
}

std::string TUnitesSystemd::TexteUnite(const TDefinitionUnite& Unite, const std::string& FichierLogin) {
  std::string commande;
  for (size_t i = 0; i < Unite.Commande.size(); ++i) {
    if (i > 0) commande += ' ';
    commande += MotCommande(Unite.Commande[i]);
  }
  if (!FichierLogin.empty()) commande += ' ' + MotCommande("--login-file=" + FichierLogin);
  std::ostringstream u;
  u << "[Unit]\n"
    << "Description=" << Valeur(Unite.NomAffiche) << "\n"
    << kCleDescription << Valeur(Unite.Description) << "\n"
    << "After=network-online.target\n"
    << "Wants=network-online.target\n\n"
    << "[Service]\n"
    << "Type=notify\n"
    << "ExecStart=" << commande << "\n"
    << "KillSignal=SIGTERM\n"
    // A folder of the service's own under /run (RUNTIME_DIRECTORY), where its single-instance lock goes.
    << "RuntimeDirectory=" << Unite.Nom << "\n"
    << "RuntimeDirectoryMode=0700\n"
    << "Restart=on-failure\n\n"
    << "[Install]\n"
    << "WantedBy=multi-user.target\n";
  return u.str();
}

bool TUnitesSystemd::Creer(const TDefinitionUnite& Unite) {
  if (!NomValide(Unite.Nom) || Unite.Commande.empty()) return false;
  const fs::path unite = FichierUnite(Unite.Nom);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(unite, ec))) return false;
  const std::string login = Unite.Login.empty() ? std::string() : FichierLogin(Unite.Nom);
  if (!login.empty() && !EcrireFichier(login, Unite.Login, 0600)) return false;
  if (!EcrireFichier(unite, TexteUnite(Unite, login), 0644)) {
    if (!login.empty()) ::unlink(login.c_str());
    return false;
  }
  const fs::path lien = fs::path(racine_) / "etc/systemd/system/multi-user.target.wants" / (Unite.Nom + kSuffixe);
  fs::create_directories(lien.parent_path(), ec);
  fs::remove(lien, ec);
  fs::create_symlink(fs::path("/etc/systemd/system") / (Unite.Nom + kSuffixe), lien, ec);
  if (ec) {
    fs::remove(unite, ec);
    if (!login.empty()) ::unlink(login.c_str());
    return false;
  }
  return true;
}

bool TUnitesSystemd::Supprimer(const std::string& Nom) {
  if (!NomValide(Nom)) return false;
  std::error_code ec;
  if (!fs::remove(FichierUnite(Nom), ec) || ec) return false;
  fs::remove(fs::path(racine_) / "etc/systemd/system/multi-user.target.wants" / (Nom + kSuffixe), ec);
  fs::remove(FichierLogin(Nom), ec);
  return true;
}

uint32_t TUnitesSystemd::Etat(const std::string& Nom) {
  if (!NomValide(Nom)) return kServiceAbsent;
  std::error_code ec;
  if (!fs::exists(FichierUnite(Nom), ec)) return kServiceAbsent;
  const fs::path invocation = fs::path(racine_) / "run/systemd/units" / ("invocation:" + Nom + kSuffixe);
  return fs::exists(fs::symlink_status(invocation, ec)) ? kServiceLance : kServiceArrete;
}

std::vector<IGestionnaireUnites::TUniteListee> TUnitesSystemd::Lister() {
  std::vector<TUniteListee> liste;
  std::error_code ec;
  fs::directory_iterator it(fs::path(racine_) / "etc/systemd/system", ec);
  if (ec) return liste;
  std::vector<fs::path> fichiers;
  for (const auto& entree : it) {
    const auto& p = entree.path();
    if (p.extension() == kSuffixe && entree.is_regular_file(ec)) fichiers.push_back(p);
  }
  std::sort(fichiers.begin(), fichiers.end());
  for (const auto& p : fichiers) {
    std::ifstream f(p);
    TUniteListee u;
    u.Nom = p.stem().string();
    std::string ligne;
    for (int lignes = 0; lignes < 200 && std::getline(f, ligne); ++lignes) {
      if (ligne.rfind("Description=", 0) == 0) u.NomAffiche = ChaineUnicode::DepuisUTF8(ligne.substr(12), 1252);
      else if (ligne.rfind("ExecStart=", 0) == 0) u.Commande = ChaineUnicode::DepuisUTF8(ligne.substr(10), 1252);
    }
    liste.push_back(std::move(u));
  }
  return liste;
}
