#include "base/cours/SupVisibiliteCours.h"

#include <cstring>

#include "base/cours/SupCours.h"
#include "base/cours/SupFractionnementCours.h"
#include "core/records/Xi.h"

namespace SupVisibiliteCours {

namespace {

struct Etat {
  TypeDomaineHebdomadaire periode = TMethodesDomaine::Annee();
  bool fractionCommeCoursEntier = true;
};
Etat& LEtat() {
  static Etat etat;
  return etat;
}

bool DansPeriodeSansFraction(const TypeEnregistrementCours& c) {
  const TypeDomaineHebdomadaire& p = LEtat().periode;
  if (TMethodesDomaine::EstVide(c.SemainesPotentielles)) return true;
  if (SupCours::EstStatutPlace(c.Statut))
    return TMethodesDomaine::EstVide(c.Semaines) || TMethodesDomaine::SeRencontrent(c.Semaines, p);
  return TMethodesDomaine::SeRencontrent(c.SemainesPotentielles, p);
}

// The flag of the course in the buffer; a fraction reads its whole course from the table, the buffer
// being kept aside and put back.
bool DansPeriode(uint32_t Numero) {
  TypeEnregistrementCours* c = SupCours::Article();
  if (TMethodesDomaine::EstVide(c->SemainesPotentielles)) return true;
  if (c->Genre == SupCours::kFraction && LEtat().fractionCommeCoursEntier) {
    const uint32_t entier = SupFractionnementCours::CoursEntierDeLaFraction(Numero);
    if (entier != 0 && entier != Numero) {
      TypeEnregistrementCours copie;
      std::memcpy(&copie, c, sizeof copie);
      void* table = SupCours::Fichier().Table;
      const uint32_t courant = Xi::NumeroCourant(table);
      bool valeur = false, trouve = false;
      if (Xi::AllerA(table, entier)) {
        trouve = true;
        valeur = DansPeriodeSansFraction(*c);
      }
      (void)Xi::AllerA(table, courant);
      std::memcpy(c, &copie, sizeof copie);
      if (trouve) return valeur;
    }
  }
  return DansPeriodeSansFraction(*c);
}

}  // namespace

TypeDomaineHebdomadaire& Periode() { return LEtat().periode; }
bool& A16() { return LEtat().fractionCommeCoursEntier; }

void ActualiserCoursDansPeriode(uint32_t Numero) {
  if (SupCours::Article() == nullptr) return;
  SupCours::Article()->DansPeriode = DansPeriode(Numero);
}

void ActualiserDansPeriode(std::optional<bool> Valeur) {
  TypeEnregistrementCours* c = SupCours::Article();
  if (c == nullptr) return;
  void* table = SupCours::Fichier().Table;
  const uint8_t valeur = Valeur ? *Valeur : DansPeriode(Xi::NumeroCourant(table));
  if (c->DansPeriode == valeur) return;
  c->DansPeriode = valeur;
  (void)Xi::Modifier(table);
}

void ActualiserDansPeriodeDuCours() {
  if (SupCours::Article() == nullptr) return;
  SupCours::EmpilerPosition();
  const bool fraction = SupCours::Article()->Genre == SupCours::kFraction;
  if (!fraction || SupFractionnementCours::AllerAuCoursEntier()) {
    ActualiserDansPeriode();
    if (SupCours::Article()->Genre == SupCours::kCoursEntier) {
      const bool entier = SupCours::Article()->DansPeriode != 0;
      (void)SupFractionnementCours::PourChaqueFractionDuCours(
          [entier] {
            ActualiserDansPeriode(LEtat().fractionCommeCoursEntier ? std::optional<bool>(entier) : std::nullopt);
            return false;
          },
          false);
    }
  } else {
    ActualiserDansPeriode();  // a fraction without its whole course
  }
  SupCours::DepilerPosition();
}

void ActualiserTousLesCours() {
  void* table = SupCours::Fichier().Table;
  if (table == nullptr) return;
  SupCours::EmpilerPosition();
  for (bool encore = Xi::Premier(table, 0); encore; encore = Xi::Suivant(table, 0)) ActualiserDansPeriode();
  SupCours::DepilerPosition();
}

void Initialiser() { LEtat() = Etat{}; }

}  // namespace SupVisibiliteCours
