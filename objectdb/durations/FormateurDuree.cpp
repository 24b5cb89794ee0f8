#include "objectdb/durations/FormateurDuree.h"

#include <charconv>
#include <cmath>
#include <cctype>
#include <limits>

#include "core/values/Ansi1252.h"
#include "core/values/ChaineRessource.h"
#include "core/values/Format.h"

NV_DEFINE_ABSTRACT_CLASS(TCustomFormateurDuree, TObject)
NV_DEFINE_CLASS(TFormateurDureePourDebogage, TCustomFormateurDuree)
NV_DEFINE_CLASS(TErreurChaineEnDuree, TErreur)

namespace {

const TChaineRessource RS_ErreurChaineEnDuree_S{"FormateurDuree_RS_ErreurChaineEnDuree_S", 65534,
                                                "Impossible de convertir en durée la chaîne \"%s\"."_ansi};

// Durations within this distance of 0 are written "0".
constexpr double kToleranceZero = 1e-12;

struct Unite {
  double facteur;
  const char* singulier;
  const char* pluriel;
};
constexpr Unite kUnites[] = {
    {1, "jour", "jours"},
    {24, "heure", "heures"},
    {60, "minute", "minutes"},
    {60, "seconde", "secondes"},
    {1000, "milli-seconde", "milli-secondes"},
};

}  // namespace

std::string FormateurDuree::NombreEnTexte(double Valeur) {
  auto ecrit = [Valeur](int chiffres) {
    std::string s = FloatToStrGeneral(Valeur, chiffres);
    for (char& c : s)
      if (c == FormatSettingsFixes.DecimalSeparator) c = '.';
    return s;
  };
  std::string s = ecrit(15);
  // Rounded to 15 digits, the largest doubles pass the largest double and would no longer read:
  // those are written with the 17 digits that always give the value back.
  double relu = 0;
  if (std::isfinite(Valeur) && !TexteEnNombre(s, relu)) s = ecrit(17);
  return s;
}

bool FormateurDuree::TexteEnNombre(const std::string& Texte, double& Valeur) {
  // Sign, digits with at most one ".", an optional exponent; nothing else.
  std::size_t i = 0;
  const std::size_t n = Texte.size();
  if (i < n && (Texte[i] == '+' || Texte[i] == '-')) ++i;
  const std::size_t debut = i;
  bool chiffres = false;
  while (i < n && std::isdigit(static_cast<unsigned char>(Texte[i]))) { ++i; chiffres = true; }
  if (i < n && Texte[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(Texte[i]))) { ++i; chiffres = true; }
  }
  if (!chiffres) return false;
  if (i < n && (Texte[i] == 'e' || Texte[i] == 'E')) {
    ++i;
    if (i < n && (Texte[i] == '+' || Texte[i] == '-')) ++i;
    if (i >= n || !std::isdigit(static_cast<unsigned char>(Texte[i]))) return false;
    while (i < n && std::isdigit(static_cast<unsigned char>(Texte[i]))) ++i;
  }
  if (i != n) return false;
  // from_chars takes no leading "+": the sign is applied here. A value beyond the range of a
  // double is not a duration.
  double v = 0;
  auto [end, ec] = std::from_chars(Texte.data() + debut, Texte.data() + n, v, std::chars_format::general);
  if (ec != std::errc() || end != Texte.data() + n) return false;
  Valeur = Texte[0] == '-' ? -v : v;
  return true;
}

void TFormateurDureePourDebogage::DureeEnTexte(double Duree, std::string& Texte) {
  if (std::isnan(Duree)) { Texte = "NAN"; return; }
  if (std::isinf(Duree)) { Texte = Duree > 0 ? "+ infini" : "- infini"; return; }
  if (std::fabs(Duree) <= kToleranceZero) { Texte = "0"; return; }
  Texte = FormateurDuree::NombreEnTexte(Duree) + " soit";
  double x = Duree;
  if (x < 0) {
    Texte += "- ";
    x = -x;
  }
  for (const Unite& u : kUnites) {
    x *= u.facteur;
    const double entier = std::trunc(x);
    x -= entier;
    if (entier == 1) Texte += std::string(" 1 ") + u.singulier;
    else if (entier >= 2) Texte += " " + Format("%.0f", {entier}) + " " + u.pluriel;
  }
}

TErreur* TFormateurDureePourDebogage::TexteEnDuree(const std::string& Texte, double& Duree) {
  if (Texte == "NAN") { Duree = std::numeric_limits<double>::quiet_NaN(); return nullptr; }
  if (Texte == "+ infini") { Duree = std::numeric_limits<double>::infinity(); return nullptr; }
  if (Texte == "- infini") { Duree = -std::numeric_limits<double>::infinity(); return nullptr; }
  const std::string nombre = Texte.substr(0, Texte.find(' '));
  if (FormateurDuree::TexteEnNombre(nombre, Duree)) return nullptr;
  Duree = std::numeric_limits<double>::quiet_NaN();
  return new TErreurChaineEnDuree(Texte, "");
}

TErreurChaineEnDuree::TErreurChaineEnDuree(const std::string& Chaine, const std::string& Complement)
    : TErreur(Format(ChaineRessource::Charger(RS_ErreurChaineEnDuree_S), {Chaine}) + (Complement.empty() ? "" : " " + Complement)) {}

void FormateurDuree::Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_ErreurChaineEnDuree_S};
  ChaineRessource::Enregistrer(kChaines);
}
