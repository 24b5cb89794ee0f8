#include "base/cours/SupFractionnementCours.h"

#include <algorithm>
#include <vector>

#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/cours/SupCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"

namespace SupFractionnementCours {

namespace {

using C = TypeEnregistrementCours;

void* Cours() { return SupCours::Fichier().Table; }
uint32_t CoursCourant() { return Cours() != nullptr ? Xi::NumeroCourant(Cours()) : 0; }

bool EstPlace(uint8_t Statut) { return Statut == 1 || Statut == 2 || Statut == 5; }

// The fractions linked to a whole course, by increasing record number.
std::vector<uint32_t> FractionsDe(uint32_t CoursEntier) {
  TFichierSup& liens = Fichier();
  if (liens.Table == nullptr || CoursEntier == 0) return {};
  Article()->CoursEntier = CoursEntier;
  Article()->Fraction = 0;
  std::vector<uint32_t> fractions;
  for (uint32_t lien : liens.NumerosDepuisCle(kOrdreCoursEntier, [=] { return Article()->CoursEntier == CoursEntier; }))
    fractions.push_back(liens.ValeurDe(lien, offsetof(TypeLienFractionnement, Fraction)));
  std::sort(fractions.begin(), fractions.end());
  return fractions;
}

// True when the link of that fraction to that whole course still exists.
bool LienExiste(uint32_t CoursEntier, uint32_t Fraction) { return CoursEntierDeLaFraction(Fraction) == CoursEntier; }

// Traitement with each course of the list current (those that still exist); the course that was
// current is current again at the end.
bool ParcourirCours(const std::vector<uint32_t>& Liste, const std::function<bool()>& Traitement) {
  const uint32_t depart = CoursCourant();
  bool resultat = false;
  for (uint32_t n : Liste)
    if (Xi::AllerA(Cours(), n) && (resultat = Traitement())) break;
  (void)Xi::AllerA(Cours(), depart);
  return resultat;
}

// The other fractions of the current fraction's whole course (the fraction itself with AvecElleMeme).
std::vector<uint32_t> AutresFractions(bool AvecElleMeme) {
  const C* c = SupCours::Article();
  if (c == nullptr || c->Genre != SupCours::kFraction) return {};
  const uint32_t courant = CoursCourant();
  std::vector<uint32_t> autres = FractionsDe(CoursEntierDeLaFraction(courant));
  if (!AvecElleMeme) autres.erase(std::remove(autres.begin(), autres.end(), courant), autres.end());
  return autres;
}

// A value read from the current course's whole course (the position kept); Defaut when there is none.
template <typename T>
T DuCoursEntier(T (*Lire)(const C&), T Defaut) {
  if (Cours() == nullptr) return Defaut;
  const uint32_t entier = NumeroCoursEntier();
  if (entier == 0) return Defaut;
  SupCours::Fichier().EmpilerPosition();
  const T valeur = Xi::AllerA(Cours(), entier) ? Lire(*SupCours::Article()) : Defaut;
  SupCours::Fichier().DepilerPosition();
  return valeur;
}

TypeDomaineHebdomadaire Union(const TypeDomaineHebdomadaire& a, const TypeDomaineHebdomadaire& b) {
  TypeDomaineHebdomadaire u;
  for (std::size_t i = 0; i < u.Octets.size(); ++i) u.Octets[i] = a.Octets[i] | b.Octets[i];
  return u;
}
bool Rencontre(const TypeDomaineHebdomadaire& a, const TypeDomaineHebdomadaire& b) {
  for (std::size_t i = 0; i < a.Octets.size(); ++i)
    if ((a.Octets[i] & b.Octets[i]) != 0) return true;
  return false;
}

// A Traitement that adds the weeks of the current course, when placed, to Semaines.
std::function<bool()> AjouterSemainesPlacees(TypeDomaineHebdomadaire& Semaines) {
  return [&Semaines] {
    if (EstPlace(SupCours::Article()->Statut)) Semaines = Union(Semaines, SupCours::Article()->Semaines);
    return false;
  };
}

// Writes the retained flag of the current course; rewrites the record only when it changes.
void EcrireRetenu(bool Valeur) {
  C* c = SupCours::Article();
  if ((c->Retenu != 0) == Valeur) return;
  c->Retenu = Valeur;
  (void)Xi::Modifier(Cours());
}

// After a received order other than a deletion, the retained flag of the link's split course.
void ApresOrdre(uint8_t*, void*, int32_t, TypeGenreModif Genre) {
  if (Genre == GM_Suppression || Cours() == nullptr) return;
  SupCours::Fichier().EmpilerPosition();
  if (Xi::AllerA(Cours(), Article()->CoursEntier)) ActualiserCoursRetenu();
  SupCours::Fichier().DepilerPosition();
}

void SurModification(TypeGenreModif, int32_t, int32_t) {}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire(
      {"SupFractionnementCours",
       ".RPC",
       0x1B,
       kPlace,
       8,
       false,
       {Identifiant(), Reference("CoursEntier", SupCours::kPlace, 0), Reference("Fraction", SupCours::kPlace, 4)},
       {{false, {"Identifiant"}}, {false, {"CoursEntier", "Fraction"}}, {true, {"Fraction"}}}});
  return d;
}

class TFichierFractionnement final : public TFichierSup {
 public:
  TFichierFractionnement() : TFichierSup(DescriptionFichier(), &CreerFractionnementsParDefaut) {
    TFichierSup::ApresOrdre = &SupFractionnementCours::ApresOrdre;
    SurModification2 = &SurModification;
  }
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierFractionnement fichier;
  return fichier;
}

TypeLienFractionnement* Article() { return reinterpret_cast<TypeLienFractionnement*>(Fichier().Enregistrement()); }

uint32_t CoursEntierDeLaFraction(uint32_t Fraction) {
  TFichierSup& liens = Fichier();
  if (liens.Table == nullptr || Fraction == 0) return 0;
  liens.EmpilerPosition();
  Article()->Fraction = Fraction;
  const uint32_t entier = Xi::Trouver(liens.Table, kOrdreFraction) ? Article()->CoursEntier : 0;
  liens.DepilerPosition();
  return entier;
}

bool AllerAuCoursEntier() {
  const C* c = SupCours::Article();
  if (c == nullptr) return false;
  if (c->Genre == SupCours::kCoursEntier) return true;
  if (c->Genre != SupCours::kFraction) return false;
  const uint32_t courant = CoursCourant();
  const uint32_t entier = CoursEntierDeLaFraction(courant);
  if (entier == 0) return false;
  if (Xi::AllerA(Cours(), entier)) return true;
  (void)Xi::AllerA(Cours(), courant);
  return false;
}

uint32_t NumeroCoursEntier() {
  const C* c = SupCours::Article();
  if (c == nullptr) return 0;
  const uint32_t courant = CoursCourant();
  return c->Genre == SupCours::kFraction ? CoursEntierDeLaFraction(courant) : courant;
}

bool PourChaqueFractionDuCours(const std::function<bool()>& Traitement, bool AvecCours) {
  if (Cours() == nullptr) return false;
  const uint32_t depart = CoursCourant();
  bool resultat = AvecCours && Traitement();
  if (!resultat)
    for (uint32_t fraction : FractionsDe(depart)) {
      if (!LienExiste(depart, fraction) || !Xi::AllerA(Cours(), fraction)) continue;
      if ((resultat = Traitement())) break;
    }
  (void)Xi::AllerA(Cours(), depart);
  return resultat;
}

bool AllerALaPremiereFraction() {
  const C* c = SupCours::Article();
  if (c == nullptr || c->Genre != SupCours::kCoursEntier) return false;
  for (uint32_t fraction : FractionsDe(CoursCourant()))
    if (Xi::AllerA(Cours(), fraction)) return true;
  return false;
}

bool PourChaqueAutreFraction(const std::function<bool()>& Traitement, bool AvecElleMeme) {
  return ParcourirCours(AutresFractions(AvecElleMeme), Traitement);
}

int32_t NombreFractionsDuCours() { return static_cast<int32_t>(FractionsDe(CoursCourant()).size()); }

int32_t NombreFractionsPlacees() {
  int32_t n = 0;
  (void)PourChaqueFractionDuCours([&] { return (n += EstPlace(SupCours::Article()->Statut)), false; }, false);
  return n;
}

int32_t NombreFractionsNonPlacees() {
  int32_t n = 0;
  (void)PourChaqueFractionDuCours([&] { return (n += !EstPlace(SupCours::Article()->Statut)), false; }, false);
  return n;
}

bool FractionsSelonEtats(TypeEnsembleMemoire& Ensemble, uint8_t Etats, const TypeDomaineHebdomadaire& Semaines) {
  const C* c = SupCours::Article();
  if (c == nullptr || c->Genre != SupCours::kCoursEntier) return false;
  (void)PourChaqueFractionDuCours(
      [&] {
        const C& f = *SupCours::Article();
        if (f.Statut < 8 && ((Etats >> f.Statut) & 1) != 0 && Rencontre(f.SemainesPotentielles, Semaines))
          (void)Memoire::Inserer(CoursCourant(), Ensemble);
        return false;
      },
      false);
  return Ensemble.Nombre != 0;
}

void SemainesPlaceesDesFractions(TypeDomaineHebdomadaire& Semaines) {
  Semaines = {};
  (void)PourChaqueFractionDuCours(AjouterSemainesPlacees(Semaines), false);
}

void SemainesPlaceesDesAutresFractions(TypeDomaineHebdomadaire& Semaines) {
  Semaines = {};
  (void)PourChaqueAutreFraction(AjouterSemainesPlacees(Semaines), false);
}

void SemainesDuCoursEntier(TypeDomaineHebdomadaire& Semaines) {
  Semaines = DuCoursEntier<TypeDomaineHebdomadaire>([](const C& c) { return c.Semaines; }, {});
}

void DomaineDuCoursEntier(TypeDomaineHebdomadaire& Semaines) {
  Semaines = DuCoursEntier<TypeDomaineHebdomadaire>([](const C& c) { return c.SemainesPotentielles; }, {});
}

uint32_t NombreSemainesDuCoursEntier() {
  return DuCoursEntier<uint32_t>([](const C& c) { return c.NombreSemaines; }, 0);
}

uint32_t NombreSemainesDesAutresFractions() {
  uint32_t n = 0;
  (void)PourChaqueAutreFraction([&] { return (n += SupCours::Article()->NombreSemaines), false; }, false);
  return n;
}

int32_t PourChaqueLienDuCours(const std::function<int32_t()>& Routine) {
  TFichierSup& liens = Fichier();
  const uint32_t cours = CoursCourant();
  if (liens.Table == nullptr || cours == 0) return 0;
  Article()->CoursEntier = cours;
  Article()->Fraction = 0;
  std::vector<uint32_t> numeros =
      liens.NumerosDepuisCle(kOrdreCoursEntier, [cours] { return Article()->CoursEntier == cours; });
  Article()->Fraction = cours;
  const std::vector<uint32_t> propre =
      liens.NumerosDepuisCle(kOrdreFraction, [cours] { return Article()->Fraction == cours; });
  numeros.insert(numeros.end(), propre.begin(), propre.end());
  SupCours::Fichier().EmpilerPosition();
  int32_t resultat = 0;
  try {
    resultat = liens.Visiter(numeros, Routine);
  } catch (...) {
    SupCours::Fichier().DepilerPosition();
    throw;
  }
  SupCours::Fichier().DepilerPosition();
  return resultat;
}

std::function<bool()>& RoutineCoursRetenu() {
  static std::function<bool()> routine;
  return routine;
}

bool CoursRetenu() { return !RoutineCoursRetenu() || RoutineCoursRetenu()(); }

void ActualiserCoursRetenu() {
  const C* c = SupCours::Article();
  if (c == nullptr || CoursCourant() == 0) return;
  SupCours::Fichier().EmpilerPosition();
  if (c->Genre == SupCours::kCoursSimple) {
    EcrireRetenu(CoursRetenu());
  } else if (AllerAuCoursEntier()) {
    bool retenu = false;
    (void)PourChaqueFractionDuCours([&] { return retenu = CoursRetenu(); }, false);
    (void)PourChaqueFractionDuCours(
        [retenu] {
          EcrireRetenu(retenu);
          return false;
        },
        true);
  }
  SupCours::Fichier().DepilerPosition();
}

bool AjouterCoursAEnsemble(TypeEnsembleMemoire& Ensemble) {
  const C* c = SupCours::Article();
  if (c != nullptr && c->Genre != SupCours::kFraction && CoursCourant() != 0)
    (void)Memoire::Inserer(CoursCourant(), Ensemble);
  return false;
}

// --- Requests

bool CreerLienFractionnement(uint32_t CoursEntier, uint32_t Fraction) {
  TFichierSup& cours = SupCours::Fichier();
  if (Fichier().Table == nullptr || cours.Table == nullptr) return false;
  const auto genre = [&cours](uint32_t n) {
    return cours.Existe(n) ? static_cast<int32_t>(cours.ValeurDe(n, offsetof(C, Genre)) & 0xFF) : -1;
  };
  const int32_t identifiants[2] = {cours.IdentifiantDe(CoursEntier), cours.IdentifiantDe(Fraction)};
  if (NetClient::PasserParServeur()
          ? genre(CoursEntier) < 0 || genre(Fraction) < 0
          : genre(CoursEntier) != SupCours::kCoursEntier || genre(Fraction) != SupCours::kFraction)
    return false;
  return Fichier().Creer(kCodeCreerLien, identifiants, sizeof identifiants, [&] {
    Article()->CoursEntier = CoursEntier;
    Article()->Fraction = Fraction;
  });
}

int32_t SupprimerLienFractionnement() {
  (void)Fichier().Supprimer(kCodeSupprimerLien);
  return 0;
}

bool SupprimerLiensDuCours() {
  TFichierSup& cours = SupCours::Fichier();
  if (Fichier().Table == nullptr || CoursCourant() == 0) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerLiensDuCours);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerLiensDuCours, cours.IdentifiantCourant(), 0, nullptr, false,
                                            nullptr);
  (void)PourChaqueLienDuCours(&SupprimerLienFractionnement);
  return true;
}

bool SupprimerLiensDuCoursNumero(uint32_t Cours) {
  TFichierSup& cours = SupCours::Fichier();
  if (cours.Table == nullptr || !cours.Existe(Cours)) return false;
  cours.EmpilerPosition();
  const bool resultat = Xi::AllerA(cours.Table, Cours) && SupprimerLiensDuCours();
  cours.DepilerPosition();
  return resultat;
}

bool CreerFractionnementsParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }

}  // namespace SupFractionnementCours
