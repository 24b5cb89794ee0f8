#include "base/ressources/SupStatut.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"

namespace SupStatut {

namespace {

using E = TypeEnregistrementStatut;

// Weeks 1 to 41: the domain of application of a new status.
constexpr int64_t kSemaines1A41 = ((int64_t{1} << 42) - 1) & ~int64_t{1};

// A status stored without a domain of application applies to weeks 1 to 41.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  TypeDomaineHebdomadaire& domaine = reinterpret_cast<E*>(f.Enregistrement())->Domaine;
  if (std::all_of(domaine.Octets.begin(), domaine.Octets.end(), [](uint8_t o) { return o == 0; }))
    for (std::size_t i = 0; i < 7; ++i) domaine.Octets[i] = static_cast<uint8_t>(kSemaines1A41 >> (8 * i));
  return true;
}

// Bases below 3.1.6 store the name at 0, the annual quota at 32, T1 at 36, T3 at 40 and the default
// byte at 44; bases below 5.0.3 store 68 bytes that begin the same way. The rest comes from the
// base parameter block's two status values and the defaults of a new status.
bool LireAvant316(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(e->Nom, 30, s, 30);
  std::memcpy(&e->QuotaAnnuel, s + 32, 4);
  std::memcpy(&e->T1, s + 36, 4);
  e->T2Forfait = 0;
  std::memcpy(&e->T3, s + 40, 4);
  e->ParDefaut = s[44] != 0 ? 1 : 0;
  e->MaxT1Semaine = 3500;
  e->MaxT1Cycle = SupStatutsAnciens::Valeurs().MaxT1Cycle;
  e->QuotaHebdomadaire = SupStatutsAnciens::Valeurs().QuotaHebdomadaire;
  for (std::size_t i = 0; i < 7; ++i) e->Domaine.Octets[i] = static_cast<uint8_t>(kSemaines1A41 >> (8 * i));
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupStatut", ".STP", 0x25, kPlace, kTailleStockee, false,
      {Identifiant(), Chaine("Nom", 30, 0), Entier("QuotaAnnuel", 32), Entier("T1", 36), Entier("T2Forfait", 40),
       Entier("T3", 44), Booleen("ParDefaut", 48), Entier("MaxT1Semaine", 52).Vaut(3500), Entier("MaxT1Cycle", 56),
       Entier("QuotaHebdomadaire", 60), Semaines("Domaine", 64).Vaut(kSemaines1A41)},
      {{false, {"Identifiant"}}, {true, {"Nom"}}, {false, {"ParDefaut"}}},
      &Lire,
      nullptr,
      nullptr,
      {{48, {3, 1, 6, 0}, &LireAvant316}, {68, {5, 0, 3, 0}, &LireAvant316}},
  });
  return d;
}

int64_t Restant(const E& e) { return int64_t{e.QuotaAnnuel} - e.T1 - e.T3 - e.T2Forfait; }

double Ratio(const E& e) { return e.T1 <= 0 ? 0.0 : static_cast<double>(Restant(e)) / e.T1; }

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerStatutsParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerStatutProfesseur(const std::string& Nom, int32_t Quotite, int32_t T1, int32_t T3) {
  uint8_t donnees[44] = {};
  FichierSup::EcrireChaineCourte(donnees, 30, Nom);
  std::memcpy(donnees + 32, &Quotite, 4);
  std::memcpy(donnees + 36, &T1, 4);
  std::memcpy(donnees + 40, &T3, 4);
  return Fichier().Creer(
      kCodeCreerStatutProfesseur, donnees, sizeof donnees,
      [&] {
        std::memcpy(Article()->Nom, donnees, sizeof Article()->Nom);
        Article()->QuotaAnnuel = Quotite;
        Article()->T1 = T1;
        Article()->T3 = T3;
      },
      true);
}

bool ModifierDefautStatutProfesseur(uint8_t Defaut) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || Xi::NumeroCourant(f.Table) == 0) return false;
  return f.Modifier(kCodeModifierDefautStatutProfesseur, &Defaut, 1, [Defaut] { Article()->ParDefaut = Defaut; });
}

bool ModifierDefautStatutProfesseurNumero(uint32_t Numero, uint8_t Defaut) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  f.EmpilerPosition();
  const bool resultat = Numero != 0 && Xi::AllerA(f.Table, Numero) && ModifierDefautStatutProfesseur(Defaut);
  f.DepilerPosition();
  return resultat;
}

bool DefinirStatutParDefaut(uint32_t Numero) {
  TFichierSup& f = Fichier();
  if (Numero == 0 || !f.Existe(Numero)) return false;
  f.EmpilerPosition();
  bool resultat = true;
  if (ChercherStatutParDefaut()) resultat = ModifierDefautStatutProfesseur(0);
  resultat = resultat && ModifierDefautStatutProfesseurNumero(Numero, 1);
  f.DepilerPosition();
  return resultat;
}

bool DefinirStatutParDefautLePlusProche(double Cible) {
  return DefinirStatutParDefaut(ChercherStatutLePlusProche(Cible));
}

bool CreerStatutsParDefaut() {
  struct Defaut {
    std::string_view Nom;
    int32_t T1;
  };
  static constexpr Defaut kDefauts[] = {{"PEG", 84000},
                                        {"PETT", 84000},
                                        {"PEPTP électricité"_ansi, 88200},
                                        {"PEPTP autre", 92400},
                                        {"Formateur EPS", 92400},
                                        {"Educateur sportif", 92400}};
  bool resultat = true;
  for (const Defaut& d : kDefauts)
    resultat = CreerStatutProfesseur(std::string(d.Nom), 143500, d.T1, 18450) && resultat;
  TFichierSup& f = Fichier();
  f.EmpilerPosition();
  const bool defautExiste = ChercherStatutParDefaut();
  f.DepilerPosition();
  if (!defautExiste) resultat = DefinirStatutParDefautLePlusProche(kRatioParDefaut) && resultat;
  return resultat;
}

bool ChercherStatutParDefaut() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  Article()->ParDefaut = 1;
  // Not found, the former current record is current again (its buffer included).
  return Xi::Trouver(f.Table, kOrdreParDefaut);
}

uint32_t ChercherStatutLePlusProche(double Cible) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  double meilleur = Cible;
  uint32_t resultat = 0;
  for (bool encore = Xi::Premier(f.Table, 0); encore; encore = Xi::Suivant(f.Table, 0)) {
    const double d = std::fabs(Ratio(*Article()) * 10000.0 - Cible);
    if (d < meilleur) {
      meilleur = d;
      resultat = Xi::NumeroCourant(f.Table);
      if (d == 0.0) break;
    }
  }
  f.DepilerPosition();
  return resultat;
}

int32_t PourChaqueStatut(const std::function<int32_t()>& Routine) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  std::vector<uint32_t> numeros;
  f.EmpilerPosition();
  for (bool encore = Xi::Premier(f.Table, 0); encore; encore = Xi::Suivant(f.Table, 0))
    numeros.push_back(Xi::NumeroCourant(f.Table));
  int32_t resultat = 0;
  for (uint32_t numero : numeros)
    if (Xi::AllerA(f.Table, numero) && (resultat = Routine()) != 0) break;
  f.DepilerPosition();
  return resultat;
}

int32_t ServiceRestant() {
  if (Article() == nullptr) return 0;
  return static_cast<int32_t>(
      std::clamp<int64_t>(Restant(*Article()), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

double RatioT2() { return Article() == nullptr ? 0.0 : Ratio(*Article()); }

int32_t T2Arrondi(int32_t N) {
  const double x = static_cast<double>(N) * RatioT2();
  double entier = std::floor(x);
  const double reste = x - entier;
  if (reste > 0.5 || (reste == 0.5 && std::fmod(entier, 2.0) != 0.0)) entier += 1.0;
  constexpr double kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
  if (!(entier >= kMin)) return std::numeric_limits<int32_t>::min();
  if (entier > kMax) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(entier);
}

}  // namespace SupStatut

namespace SupStatutsAnciens {
TypeStatutsAnciens& Valeurs() {
  static TypeStatutsAnciens valeurs;
  return valeurs;
}
}  // namespace SupStatutsAnciens
