#include "base/cours/SupFractionnementCours.h"

#include <algorithm>
#include <vector>

#include "base/SupFichiers.h"
#include "base/cours/SupCours.h"
#include "core/records/Xi.h"

namespace SupFractionnementCours {

namespace {

// The fractions linked to a whole course, by increasing record number.
std::vector<uint32_t> FractionsDe(uint32_t CoursEntier) {
  std::vector<uint32_t> fractions;
  TFichierSup& liens = Fichier();
  if (liens.Table == nullptr || CoursEntier == 0) return fractions;
  liens.EmpilerPosition();
  Article()->CoursEntier = CoursEntier;
  Article()->Fraction = 0;
  Xi::Chercher(liens.Table, kOrdreCoursEntier);
  while (Xi::XiStatut != Xi::kStatutAucun && Article()->CoursEntier == CoursEntier) {
    fractions.push_back(Article()->Fraction);
    if (!Xi::Suivant(liens.Table, kOrdreCoursEntier)) break;
  }
  liens.DepilerPosition();
  std::sort(fractions.begin(), fractions.end());
  return fractions;
}

// True when the link of that fraction to that whole course still exists.
bool LienExiste(uint32_t CoursEntier, uint32_t Fraction) { return CoursEntierDeLaFraction(Fraction) == CoursEntier; }

}  // namespace

TFichierSup& Fichier() { return *SupFichiers::Fichier(kPlace); }

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
  const TypeEnregistrementCours* c = SupCours::Article();
  if (c == nullptr) return false;
  if (c->Genre == SupCours::kCoursEntier) return true;
  if (c->Genre != SupCours::kFraction) return false;
  const uint32_t entier = CoursEntierDeLaFraction(Xi::NumeroCourant(SupCours::Fichier().Table));
  if (entier == 0) return false;
  const uint32_t courant = Xi::NumeroCourant(SupCours::Fichier().Table);
  if (Xi::AllerA(SupCours::Fichier().Table, entier)) return true;
  (void)Xi::AllerA(SupCours::Fichier().Table, courant);
  return false;
}

uint32_t NumeroCoursEntier() {
  const TypeEnregistrementCours* c = SupCours::Article();
  if (c == nullptr) return 0;
  const uint32_t courant = Xi::NumeroCourant(SupCours::Fichier().Table);
  return c->Genre == SupCours::kFraction ? CoursEntierDeLaFraction(courant) : courant;
}

bool PourChaqueFractionDuCours(const std::function<bool()>& Traitement, bool AvecCours) {
  void* cours = SupCours::Fichier().Table;
  if (cours == nullptr) return false;
  const uint32_t depart = Xi::NumeroCourant(cours);
  bool resultat = AvecCours && Traitement();
  if (!resultat)
    for (uint32_t fraction : FractionsDe(depart)) {
      if (!LienExiste(depart, fraction) || !Xi::AllerA(cours, fraction)) continue;
      if ((resultat = Traitement())) break;
    }
  (void)Xi::AllerA(cours, depart);
  return resultat;
}

std::function<void()>& RoutineCoursRetenu() {
  static std::function<void()> routine;
  return routine;
}

void ActualiserCoursRetenu() {
  if (RoutineCoursRetenu()) RoutineCoursRetenu()();
}

}  // namespace SupFractionnementCours
