#include "base/fichiers/ModulesCursusRequetes.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "base/SupTraitement.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupModule.h"
#include "base/fichiers/SupRelationCursusModule.h"
#include "base/matieres/SupApportMatiere.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"

namespace {

using E = TypeEnregistrementModuleCursus;
namespace PAM = SupApportMatiere;
namespace RCM = SupRelationCursusModule;

struct TypeCodes {
  uint32_t ParDefaut, Creer, Libelle, Code, Supprimer;
  uint8_t GenreApport;   // of their subject contributions
  uint8_t GenreFamille;  // of the families whose headings they are given
};
constexpr TypeCodes kModule{0x80340000, 0x80340101, 0x80340201, 0x80340202, 0x80340300, PAM::kGenreModule, 6};
constexpr TypeCodes kCursus{0x80100000, 0x80100100, 0x80100201, 0x80100202, 0x80100300, PAM::kGenreCursus, 5};
constexpr uint32_t kCodeRelationParDefaut = 0x80350000, kCodeCreerRelation = 0x80350100,
                   kCodeSupprimerRelation = 0x80350303, kCodeSupprimerRelationsDeCursus = 0x80350301;

E* Article(TFichierSup& f) { return reinterpret_cast<E*>(f.Enregistrement()); }

bool Creer(TFichierSup& f, const TypeCodes& c, const std::string& Libelle, const std::string& Code) {
  if (!SupDroitFonctionnel::DroitCreerModulesCursus() || f.Table == nullptr) return false;
  uint8_t stocke[ModuleCursus::kTailleStockee] = {};
  FichierSup::EcrireChaineCourte(stocke, 30, Libelle);
  FichierSup::EcrireChaineCourte(stocke + 31, 20, Code);
  return f.Creer(c.Creer, stocke, sizeof stocke, [&] {
    std::memcpy(Article(f)->Libelle, stocke, 31);
    std::memcpy(Article(f)->Code, stocke + 31, 21);
    Article(f)->Affiche = 1;
  });
}

// Writes a label (31 bytes) or a code (21 bytes) of the current record; a refused local change
// leaves the record as it was.
bool ModifierChaine(TFichierSup& f, uint32_t Code, uint8_t* (*Champ)(E&), int32_t Capacite, const std::string& Texte) {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus() || f.Table == nullptr || Xi::NumeroCourant(f.Table) == 0)
    return false;
  uint8_t valeur[31] = {};
  FichierSup::EcrireChaineCourte(valeur, Capacite, Texte);
  const uint32_t numero = Xi::NumeroCourant(f.Table);
  const bool fait = f.Modifier(Code, valeur, Capacite + 1, [&] {
    std::memcpy(Champ(*Article(f)), valeur, static_cast<std::size_t>(Capacite) + 1);
  });
  if (!fait && !NetClient::PasserParServeur()) (void)Xi::AllerA(f.Table, numero);
  return fait;
}
uint8_t* Libelle(E& e) { return e.Libelle; }
uint8_t* Code(E& e) { return e.Code; }

// Deletes the current module or curriculum once `Refuse` allows it; locally its contributions, its
// `Autres` dependants and its headings go first.
bool Supprimer(TFichierSup& f, const TypeCodes& c, bool (*Refuse)(), void (*Autres)(uint32_t)) {
  if (!SupDroitFonctionnel::DroitSupprimerModulesCursus() || f.Table == nullptr) return false;
  f.EmpilerPosition();
  if (!f.DepilerPosition() || Refuse()) return false;
  const uint32_t numero = Xi::NumeroCourant(f.Table);
  return f.Supprimer(c.Supprimer, [&] {
    (void)PAM::SupprimerApportsDeLElement(numero, c.GenreApport);
    if (Autres != nullptr) Autres(numero);
    SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(numero, c.GenreFamille);
  });
}

bool SupprimerNumero(TFichierSup& f, uint32_t Numero, bool (*SupprimerCourant)()) {
  if (f.Table == nullptr || !f.Existe(Numero)) return false;
  f.EmpilerPosition();
  try {
    if (Xi::AllerA(f.Table, Numero)) (void)SupprimerCourant();
  } catch (...) {
    f.DepilerPosition();
    throw;
  }
  f.DepilerPosition();
  return !f.Existe(Numero);
}

void SupprimerTableau(const TypeEnsembleMemoire& Selection, bool (*SupprimerNumero)(uint32_t)) {
  const std::vector<uint32_t> numeros(Selection.Elements, Selection.Elements + Selection.Nombre);
  for (uint32_t n : numeros) (void)SupprimerNumero(n);
}

// Sums of durations are taken on 64 bits and held to the 32-bit range.
int32_t Borner(int64_t Total) {
  return static_cast<int32_t>(std::clamp<int64_t>(Total, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int64_t TotalApports(uint32_t Element, uint8_t Genre) {
  int64_t total = 0;
  (void)PAM::PourChaqueApportDeLElement(Element, Genre, [&] {
    total += PAM::Article()->Duree;
    return 0;
  });
  return total;
}

// The (subject, course type) pairs of an element's contributions.
std::set<std::pair<uint32_t, uint32_t>> Enseignements(uint32_t Element, uint8_t Genre) {
  std::set<std::pair<uint32_t, uint32_t>> paires;
  (void)PAM::PourChaqueApportDeLElement(Element, Genre, [&] {
    paires.emplace(PAM::Article()->Matiere, PAM::Article()->Typologie);
    return 0;
  });
  return paires;
}

// Deletes the current relation, locally the period relations of its module's contributions first.
bool SupprimerRelationCourante() {
  TFichierSup& f = RCM::Fichier();
  if (f.Table == nullptr) return false;
  const uint32_t numero = Xi::NumeroCourant(f.Table);
  if (!f.Existe(numero)) return false;
  (void)f.Supprimer(kCodeSupprimerRelation, [] {
    (void)PAM::PourChaqueApportDeLElement(RCM::Article()->Module, PAM::kGenreModule, [] {
      (void)SupRelationApportPeriode::SupprimerRelationsDeLApport(Xi::NumeroCourant(PAM::Fichier().Table));
      return 0;
    });
  });
  return !f.Existe(numero);
}

bool SupprimerRelationsDeCursus(uint32_t Cursus) {
  TFichierSup& f = RCM::Fichier();
  const int32_t identifiant = SupCursus::Fichier().IdentifiantDe(Cursus);
  if (f.Table == nullptr || !SupCursus::Fichier().Existe(Cursus)) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerRelationsDeCursus);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerRelationsDeCursus, 0, 4, &identifiant, false, nullptr);
  (void)RCM::PourChaqueModuleDuCursusDonne(Cursus, [] {
    (void)SupprimerRelationCourante();
    return false;
  });
  return true;
}

bool ModuleRefuse() { return SupModule::ModuleDansUnCursus(); }
bool CursusRefuse() { return SupCursus::CursusDUnDiplome(); }
void RelationsDuCursus(uint32_t Cursus) { (void)SupprimerRelationsDeCursus(Cursus); }

}  // namespace

namespace SupModule {

bool ContenuParDefaut() { return Fichier().ContenuParDefaut(kModule.ParDefaut); }
bool CreerModuleAvecCode(const std::string& Libelle, const std::string& Code) {
  return Creer(Fichier(), kModule, Libelle, Code);
}
bool ModifierLibelleModule(const std::string& L) { return ModifierChaine(Fichier(), kModule.Libelle, &Libelle, 30, L); }
bool ModifierCodeModule(const std::string& C) { return ModifierChaine(Fichier(), kModule.Code, &Code, 20, C); }
bool SupprimerModule() { return Supprimer(Fichier(), kModule, &ModuleRefuse, nullptr); }
bool SupprimerModuleNumero(uint32_t Module) { return SupprimerNumero(Fichier(), Module, &SupprimerModule); }
void SupprimerTableauDeModules(const TypeEnsembleMemoire& Selection) {
  SupprimerTableau(Selection, &SupprimerModuleNumero);
}

bool ModuleDansUnCursus() {
  return Fichier().Table != nullptr && RCM::PourChaqueCursusDuModule([] { return true; });
}

int32_t TotalApportsDuModule() {
  if (Fichier().Table == nullptr) return 0;
  return Borner(TotalApports(Xi::NumeroCourant(Fichier().Table), PAM::kGenreModule));
}

}  // namespace SupModule

namespace SupCursus {

bool ContenuParDefaut() { return Fichier().ContenuParDefaut(kCursus.ParDefaut); }
bool CreerCursus(const std::string& Libelle, const std::string& Code) {
  return Creer(Fichier(), kCursus, Libelle, Code);
}
bool ModifierLibelleCursus(const std::string& L) { return ModifierChaine(Fichier(), kCursus.Libelle, &Libelle, 30, L); }
bool ModifierCodeCursus(const std::string& C) { return ModifierChaine(Fichier(), kCursus.Code, &Code, 20, C); }
bool SupprimerCursus() { return Supprimer(Fichier(), kCursus, &CursusRefuse, &RelationsDuCursus); }
bool SupprimerCursusNumero(uint32_t Cursus) { return SupprimerNumero(Fichier(), Cursus, &SupprimerCursus); }
void SupprimerTableauDeCursus(const TypeEnsembleMemoire& Selection) {
  SupprimerTableau(Selection, &SupprimerCursusNumero);
}

bool CursusDUnDiplome() {
  return Fichier().Table != nullptr && SupRessource::PourChaqueDiplomeDuCursus([] { return 1; }) != 0;
}

int32_t TotalApportsDuCursus() {
  if (Fichier().Table == nullptr) return 0;
  const uint32_t cursus = Xi::NumeroCourant(Fichier().Table);
  int64_t total = 0;
  (void)RCM::PourChaqueModuleDuCursus([&] {
    total += TotalApports(RCM::Article()->Module, PAM::kGenreModule);
    return false;
  });
  return Borner(total + TotalApports(cursus, PAM::kGenreCursus));
}

}  // namespace SupCursus

namespace SupRelationCursusModule {

bool ContenuParDefaut() { return Fichier().ContenuParDefaut(kCodeRelationParDefaut); }

bool ModuleEnConflitAvecCursus(uint32_t Cursus, uint32_t Module) {
  const auto module = Enseignements(Module, PAM::kGenreModule);
  const auto partage = [&module](const std::set<std::pair<uint32_t, uint32_t>>& autres) {
    for (const auto& p : autres)
      if (module.count(p) != 0) return true;
    return false;
  };
  return PourChaqueModuleDuCursusDonne(Cursus,
                                       [&] {
                                         const uint32_t autre = Article()->Module;
                                         return autre != Module && partage(Enseignements(autre, PAM::kGenreModule));
                                       }) ||
         partage(Enseignements(Cursus, PAM::kGenreCursus));
}

bool CreerRelationCursusModule(uint32_t Cursus, uint32_t Module) {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus() || Fichier().Table == nullptr) return false;
  const int32_t cursus = SupCursus::Fichier().IdentifiantDe(Cursus);
  const int32_t module = SupModule::Fichier().IdentifiantDe(Module);
  if (!SupCursus::Fichier().Existe(Cursus) || !SupModule::Fichier().Existe(Module)) return false;
  if (!NetClient::PasserParServeur() && ModuleEnConflitAvecCursus(Cursus, Module)) return false;
  const int32_t donnees[2] = {cursus, module};
  return Fichier().Creer(
      kCodeCreerRelation, donnees, sizeof donnees,
      [&] {
        Article()->Cursus = Cursus;
        Article()->Module = Module;
      },
      true);
}

bool SupprimerRelationCursusModule() {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus()) return false;
  return SupprimerRelationCourante();
}

bool SupprimerRelationCursusModuleDeCursus(uint32_t Cursus) {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus()) return false;
  return SupprimerRelationsDeCursus(Cursus);
}

}  // namespace SupRelationCursusModule
