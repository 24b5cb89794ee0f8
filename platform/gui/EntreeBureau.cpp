#include "platform/gui/EntreeBureau.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace EntreeBureau {

namespace {

// The characters an argument of Exec may not hold outside double quotes.
constexpr std::string_view kReserves = " \t\n\r\"'\\><~|&;$*?#()`";
// The characters that take a backslash inside double quotes.
constexpr std::string_view kEchappesEntreGuillemets = "\"`$\\";

bool Controle(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The escapes of every string value.
std::string EchapperValeur(std::string_view Texte) {
  std::string v;
  for (size_t i = 0; i < Texte.size(); ++i) {
    const char c = Texte[i];
    if (c == '\\') v += "\\\\";
    else if (c == '\n') v += "\\n";
    else if (c == '\t') v += "\\t";
    else if (c == '\r') v += "\\r";
    else if (c == ' ' && i == 0) v += "\\s";  // a reader drops the blanks after "="
    else v += c;
  }
  return v;
}

std::string SansControles(std::string_view Texte) {
  std::string v;
  for (char c : Texte)
    if (!Controle(c)) v += c;
  return v;
}

// A value that no control character may reach except those its escapes write.
std::optional<std::string> ValeurSure(std::string_view Texte) {
  for (char c : Texte)
    if (Controle(c) && c != '\t' && c != '\n' && c != '\r') return std::nullopt;
  return EchapperValeur(Texte);
}

std::string Environnement(const char* Nom) {
  const char* v = std::getenv(Nom);
  return v ? v : "";
}

// XDG_DESKTOP_DIR of the user's user-dirs.dirs: "$HOME/..." or an absolute path between double
// quotes, backslashes escaping the next character.
std::optional<std::string> DossierBureauUtilisateur(const std::string& Home) {
  std::string config = Environnement("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = Home + "/.config";
  std::ifstream in(config + "/user-dirs.dirs");
  std::string ligne;
  std::optional<std::string> trouve;
  while (std::getline(in, ligne)) {
    constexpr std::string_view kCle = "XDG_DESKTOP_DIR=\"";
    const size_t debut = ligne.find_first_not_of(" \t");
    if (debut == std::string::npos || ligne.compare(debut, kCle.size(), kCle) != 0) continue;
    std::string valeur;
    bool ferme = false;
    for (size_t i = debut + kCle.size(); i < ligne.size(); ++i) {
      if (ligne[i] == '\\' && i + 1 < ligne.size()) valeur += ligne[++i];
      else if (ligne[i] == '"') {
        ferme = true;
        break;
      } else valeur += ligne[i];
    }
    if (!ferme) continue;
    if (valeur == "$HOME" || valeur.starts_with("$HOME/")) valeur = Home + valeur.substr(5);
    if (!valeur.empty() && valeur[0] == '/') trouve = valeur;
  }
  return trouve;
}

}  // namespace

std::optional<std::string> DossierEmplacement(uint8_t Emplacement) {
  const std::string home = Environnement("HOME");
  if (Emplacement == kBureau) {
    if (home.empty() || home[0] != '/') return std::nullopt;
    if (std::optional<std::string> d = DossierBureauUtilisateur(home)) return d;
    return home + "/Desktop";
  }
  if (Emplacement == kMenuApplications) {
    const std::string donnees = Environnement("XDG_DATA_HOME");
    if (!donnees.empty() && donnees[0] == '/') return donnees + "/applications";
    if (home.empty() || home[0] != '/') return std::nullopt;
    return home + "/.local/share/applications";
  }
  return std::nullopt;
}

std::optional<std::string> ValeurExec(const std::vector<std::string>& Commande) {
  std::string ligne;
  for (const std::string& argument : Commande) {
    if (!ligne.empty()) ligne += ' ';
    for (char c : argument)
      if (Controle(c) && c != '\t' && c != '\n' && c != '\r') return std::nullopt;
    const bool guillemets = argument.empty() || argument.find_first_of(kReserves) != std::string::npos;
    if (guillemets) ligne += '"';
    for (char c : argument) {
      if (guillemets && kEchappesEntreGuillemets.find(c) != std::string_view::npos) ligne += '\\';
      ligne += c;
      if (c == '%') ligne += '%';
    }
    if (guillemets) ligne += '"';
  }
  return EchapperValeur(ligne);
}

std::optional<std::vector<std::string>> LireExec(const std::string& Valeur) {
  // The string layer first.
  std::string ligne;
  for (size_t i = 0; i < Valeur.size(); ++i) {
    if (Valeur[i] != '\\') {
      ligne += Valeur[i];
      continue;
    }
    if (++i == Valeur.size()) return std::nullopt;
    switch (Valeur[i]) {
      case '\\': ligne += '\\'; break;
      case 'n': ligne += '\n'; break;
      case 't': ligne += '\t'; break;
      case 'r': ligne += '\r'; break;
      case 's': ligne += ' '; break;
      default: return std::nullopt;
    }
  }
  // Then the arguments.
  std::vector<std::string> arguments;
  size_t i = 0;
  while (i < ligne.size()) {
    if (ligne[i] == ' ') {
      ++i;
      continue;
    }
    std::string argument;
    if (ligne[i] == '"') {
      for (++i;; ++i) {
        if (i == ligne.size()) return std::nullopt;
        const char c = ligne[i];
        if (c == '"') break;
        if (c == '\\') {
          if (++i == ligne.size() || kEchappesEntreGuillemets.find(ligne[i]) == std::string_view::npos)
            return std::nullopt;
          argument += ligne[i];
        } else if (c == '%') {
          if (++i == ligne.size() || ligne[i] != '%') return std::nullopt;
          argument += '%';
        } else {
          argument += c;
        }
      }
      ++i;
      if (i < ligne.size() && ligne[i] != ' ') return std::nullopt;
    } else {
      for (; i < ligne.size() && ligne[i] != ' '; ++i) {
        const char c = ligne[i];
        if (kReserves.find(c) != std::string_view::npos) return std::nullopt;
        if (c == '%') {
          if (++i == ligne.size() || ligne[i] != '%') return std::nullopt;
        }
        argument += c;
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::optional<std::string> Contenu(const TEntree& Entree) {
  const std::optional<std::string> exec = ValeurExec(Entree.Commande);
  const std::optional<std::string> dossier = ValeurSure(Entree.DossierTravail);
  const std::optional<std::string> icone = ValeurSure(Entree.Icone);
  if (!exec || !dossier || !icone) return std::nullopt;
  std::string texte = "[Desktop Entry]\nType=Application\n";
  texte += "Name=" + EchapperValeur(SansControles(Entree.Nom)) + "\n";
  if (!Entree.Commentaire.empty()) texte += "Comment=" + EchapperValeur(SansControles(Entree.Commentaire)) + "\n";
  texte += "Exec=" + *exec + "\n";
  if (!Entree.DossierTravail.empty()) texte += "Path=" + *dossier + "\n";
  if (!Entree.Icone.empty()) texte += "Icon=" + *icone + "\n";
  return texte;
}

uint8_t Ecrire(const std::string& Dossier, const std::string& NomFichier, const TEntree& Entree) {
  if (NomFichier.empty() || NomFichier == "." || NomFichier == ".." || NomFichier.find('/') != std::string::npos ||
      NomFichier.find('\0') != std::string::npos || Dossier.empty() || Dossier.find('\0') != std::string::npos)
    return kErreurSysteme;
  const std::optional<std::string> contenu = Contenu(Entree);
  if (!contenu) return kErreurSysteme;
  std::error_code erreur;
  std::filesystem::create_directories(Dossier, erreur);
  if (erreur) return kErreurSysteme;
  const std::string chemin = Dossier + "/" + NomFichier + ".desktop";
  const int fd = ::open(chemin.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0755);
  if (fd < 0) return errno == EEXIST ? kExisteDeja : kErreurSysteme;
  bool ok = ::fchmod(fd, 0755) == 0;
  for (size_t ecrit = 0; ok && ecrit < contenu->size();) {
    const ssize_t n = ::write(fd, contenu->data() + ecrit, contenu->size() - ecrit);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else ecrit += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) {
    ::unlink(chemin.c_str());
    return kErreurSysteme;
  }
  return kCreee;
}

}  // namespace EntreeBureau
