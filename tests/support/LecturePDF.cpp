#include "tests/support/LecturePDF.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace LecturePDF {

namespace {

// The path quoted for the shell.
std::string Cite(const std::string& s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

std::string Attribut(const std::string& Ligne, const std::string& Nom) {
  const std::string cle = Nom + "=\"";
  const size_t p = Ligne.find(cle);
  if (p == std::string::npos) return {};
  const size_t debut = p + cle.size();
  return Ligne.substr(debut, Ligne.find('"', debut) - debut);
}

// The text of an XHTML word with its few entities decoded.
std::string Decode(std::string s) {
  const std::pair<const char*, const char*> entites[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& [e, c] : entites)
    for (size_t p; (p = s.find(e)) != std::string::npos;) s.replace(p, std::string(e).size(), c);
  return s;
}

}  // namespace

std::string NouveauDossier(const std::string& Prefixe) {
  std::string modele = (std::filesystem::temp_directory_path() / (Prefixe + "XXXXXX")).string();
  return ::mkdtemp(modele.data()) != nullptr ? modele : std::string();
}

std::string Sortie(const std::string& Commande) {
  std::string r;
  FILE* f = popen(Commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  for (size_t n; (n = fread(tampon, 1, sizeof tampon, f)) > 0;) r.append(tampon, n);
  pclose(f);
  return r;
}

std::string Info(const std::string& Chemin, const std::string& Cle) {
  std::istringstream lignes(Sortie("pdfinfo " + Cite(Chemin) + " 2>/dev/null"));
  for (std::string l; std::getline(lignes, l);)
    if (l.rfind(Cle + ":", 0) == 0) {
      const size_t debut = l.find_first_not_of(' ', Cle.size() + 1);
      return debut == std::string::npos ? std::string() : l.substr(debut);
    }
  return {};
}

std::vector<TMot> Mots(const std::string& Chemin, int Page) {
  const std::string p = std::to_string(Page);
  std::istringstream lignes(Sortie("pdftotext -bbox -f " + p + " -l " + p + " " + Cite(Chemin) + " - 2>/dev/null"));
  std::vector<TMot> mots;
  for (std::string l; std::getline(lignes, l);) {
    if (l.find("<word ") == std::string::npos) continue;
    TMot m;
    m.XMin = std::stod(Attribut(l, "xMin"));
    m.YMin = std::stod(Attribut(l, "yMin"));
    m.XMax = std::stod(Attribut(l, "xMax"));
    m.YMax = std::stod(Attribut(l, "yMax"));
    const size_t debut = l.find('>') + 1;
    m.Texte = Decode(l.substr(debut, l.rfind("</word>") - debut));
    mots.push_back(std::move(m));
  }
  return mots;
}

std::string Polices(const std::string& Chemin) { return Sortie("pdffonts " + Cite(Chemin) + " 2>/dev/null"); }

std::string VersPNG(const std::string& Chemin, int Page, int PointsParPouce) {
  const std::string p = std::to_string(Page);
  Sortie("pdftoppm -png -singlefile -r " + std::to_string(PointsParPouce) + " -f " + p + " -l " + p + " " +
         Cite(Chemin) + " " + Cite(Chemin + "-" + p) + " 2>/dev/null");
  const std::string png = Chemin + "-" + p + ".png";
  return std::filesystem::exists(png) ? png : std::string();
}

}  // namespace LecturePDF
