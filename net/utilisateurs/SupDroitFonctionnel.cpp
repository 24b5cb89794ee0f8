#include "net/utilisateurs/SupDroitFonctionnel.h"

#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/utilisateurs/Utilisateur.h"

namespace SupDroitFonctionnel {
namespace {

TypeEnsembleDroits Plage(std::initializer_list<std::pair<int, int>> plages) {
  TypeEnsembleDroits e{};
  for (auto [de, a] : plages)
    for (int b = de; b <= a; ++b) Ajouter(e, b);
  return e;
}

TypeEnsembleDroits Inter(TypeEnsembleDroits a, const TypeEnsembleDroits& b) {
  for (std::size_t i = 0; i < a.size(); ++i) a[i] &= b[i];
  return a;
}

bool Droit(int Octet) {
  TypeDroits d;
  DroitsCourants(d);
  return d[static_cast<std::size_t>(Octet)] != 0;
}

}  // namespace

bool Contient(const TypeEnsembleDroits& E, int Bit) {
  return Bit >= 0 && Bit < 256 && (E[static_cast<std::size_t>(Bit / 8)] >> (Bit % 8) & 1) != 0;
}
void Ajouter(TypeEnsembleDroits& E, int Bit) {
  if (Bit >= 0 && Bit < 256) E[static_cast<std::size_t>(Bit / 8)] |= static_cast<uint8_t>(1u << (Bit % 8));
}

TypeEnsembleDroits MasqueModification() { return Plage({{1, 33}, {50, 54}}); }
TypeEnsembleDroits MasqueConsultation() { return Plage({{50, 54}, {100, 103}}); }
TypeEnsembleDroits EnsembleComplet() { return Plage({{1, 255}}); }

void Completer(TypeEnsembleDroits& E) {
  if (Contient(E, 54)) return;
  for (int b = 6; b <= 23; ++b) Ajouter(E, b);
  for (int b : {26, 30, 31, 32, 54, 103}) Ajouter(E, b);
  if (Contient(E, 1)) {
    Ajouter(E, 27);
    Ajouter(E, 33);
  }
  if (Contient(E, 2)) {
    Ajouter(E, 24);
    Ajouter(E, 25);
  }
}

bool ConstruireDroits(TypeEnsembleDroits Ensemble, TypeDroits& Droits) {
  Droits.fill(0);
  Completer(Ensemble);
  for (std::size_t i = 0; i < Droits.size(); ++i) Droits[i] = Contient(Ensemble, kBits[i]) ? 1 : 0;
  return Droits[34] != 0;
}

void DroitsDuProfilCourant(TypeDroits& Droits) {
  const TypeGroupeUtilisateurs* g = BaseUtilisateurs::GroupesUtilisateurs();
  TypeEnsembleDroits e = g == nullptr ? EnsembleComplet() : g->Droits;
  // The completion adds the rights of a set written before the detailed rights existed; the mask
  // comes after it, so that it also limits what the completion added.
  Completer(e);
  const bool modification = g == nullptr || g->Genre == kGenreAdministration || g->Genre == kGenreModification;
  (void)ConstruireDroits(Inter(e, modification ? MasqueModification() : MasqueConsultation()), Droits);
}

void DroitsUtilisateurConnecte(TypeDroits& Droits) {
  const TypeUtilisateur* u = BaseUtilisateurs::Utilisateurs();
  Droits.fill(0);
  if (u == nullptr || Xi::NumeroCourant(u) == 0) return;  // nobody: no right
  void* groupes = BaseUtilisateurs::GroupesUtilisateurs();
  Xi::SauverPosition(groupes);
  // The super user holds the group named like the administration group, whatever the server profile.
  if (BaseUtilisateurs::UtilisateurAffecteAuProfilServeur(u->Identifiant, Utilisateur::IdentProfilServeurConnexion())) {
    DroitsDuProfilCourant(Droits);
  } else {
    (void)ConstruireDroits(MasqueModification(), Droits);
  }
  (void)Xi::RestaurerPosition(groupes);
}

void DroitsCourants(TypeDroits& Droits) {
  Droits.fill(0);
  const std::string& code = Utilisateur::CodeUtilisateurCourant();
  void* utilisateurs = BaseUtilisateurs::Utilisateurs();
  if (code.empty() || utilisateurs == nullptr) return;  // nobody is logged in: every right is denied
  Xi::SauverPosition(utilisateurs);
  if (Utilisateur::ChercherUtilisateurParCode(code))
    DroitsUtilisateurConnecte(Droits);
  else
    (void)ConstruireDroits(MasqueConsultation(), Droits);
  (void)Xi::RestaurerPosition(utilisateurs);
}

bool DroitSallesCoursInaccessibles() { return Droit(4); }
bool DroitCreerMatieres() { return Droit(12); }
bool DroitSupprimerMatieres() { return Droit(13); }
bool DroitModifierMatieres() { return Droit(14); }
bool DroitCreerEnseignants() { return Droit(15); }
bool DroitSupprimerEnseignants() { return Droit(16); }
bool DroitModifierEnseignants() { return Droit(17); }
bool DroitCreerClasses() { return Droit(18); }
bool DroitSupprimerClasses() { return Droit(19); }
bool DroitModifierClasses() { return Droit(20); }
bool DroitCreerGroupes() { return Droit(21); }
bool DroitSupprimerGroupes() { return Droit(22); }
bool DroitModifierGroupes() { return Droit(23); }
bool DroitCreerEleves() { return Droit(24); }
bool DroitSupprimerEleves() { return Droit(25); }
bool DroitModifierEleves() { return Droit(26); }
bool DroitCreerSalles() { return Droit(27); }
bool DroitSupprimerSalles() { return Droit(28); }
bool DroitModifierSalles() { return Droit(29); }
bool DroitCreerCours() { return Droit(30); }
bool DroitSupprimerCours() { return Droit(31); }
bool DroitModifierCours() { return Droit(32); }
bool DroitGererServiceWeb() { return Droit(35); }
bool DroitCreerModulesCursus() { return Droit(38); }
bool DroitSupprimerModulesCursus() { return Droit(39); }
bool DroitModifierModulesCursus() { return Droit(40); }

TypeAccesLimite& AccesLimite() {
  static TypeAccesLimite acces;
  return acces;
}

namespace {
const TypeAccesLimite& AccesInstalle() {
  const TypeAccesLimite& a = AccesLimite();
  if (!a.CoursCourantInaccessible || !a.RessourceCouranteEstSalle || !a.SalleCouranteInaccessible ||
      !a.AllerARessource || !a.EmpilerPositionRessource || !a.DepilerPositionRessource)
    throw ENonConstruit("SupDroitFonctionnel: the limited access of courses and rooms is not built yet");
  return a;
}
}  // namespace

bool AccesSalleEtCoursCourants() {
  const TypeAccesLimite& a = AccesInstalle();
  if (a.RessourceCouranteEstSalle())
    return !a.SalleCouranteInaccessible() && (DroitSallesCoursInaccessibles() || !a.CoursCourantInaccessible());
  return !a.CoursCourantInaccessible();
}

bool AccesCoursOuSalleCourants() {
  const TypeAccesLimite& a = AccesInstalle();
  if (a.RessourceCouranteEstSalle())
    return !a.CoursCourantInaccessible() || (!a.SalleCouranteInaccessible() && DroitSallesCoursInaccessibles());
  return !a.CoursCourantInaccessible();
}

bool RessourceInaccessible(uint32_t Numero) {
  const TypeAccesLimite& a = AccesInstalle();
  a.EmpilerPositionRessource();
  bool inaccessible = false;
  try {
    inaccessible = a.AllerARessource(Numero) && !AccesSalleEtCoursCourants();
  } catch (...) {
    a.DepilerPositionRessource();
    throw;
  }
  a.DepilerPositionRessource();
  return inaccessible;
}

}  // namespace SupDroitFonctionnel
