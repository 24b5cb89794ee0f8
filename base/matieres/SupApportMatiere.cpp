#include "base/matieres/SupApportMatiere.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>

#include "base/EcrGlobale.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupModule.h"
#include "base/fichiers/SupRelationCursusModule.h"
#include "base/fichiers/SupTypologieCours.h"
#include "base/matieres/SupMatiere.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "base/ressources/SupRessource.h"
#include "core/objects/Erreur.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "net/NetClient.h"
#include "net/netmodif.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"

NV_DEFINE_CLASS(TVerificateurApportMatiere, TVerificateurNetXi)

namespace SupApportMatiere {

namespace {

using E = TypeEnregistrementApportMatiere;
using CodeEmpile = SupTraitement::TraitementEmpile;

constexpr int32_t kTYP = 11, kCUR = 14, kMDL = 15;
constexpr TypeVersionFormat kLimiteA = {2, 0, 65, 0}, kLimiteB = {4, 0, 99, 0};

int32_t Lire32(const uint8_t* s) {
  int32_t v;
  std::memcpy(&v, s, 4);
  return v;
}

void* Table() { return Fichier().Table; }
TFichierSup* FichierElement(uint8_t Genre) { return SupFichiers::Fichier(FichierDuGenre(Genre)); }
void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

int32_t CibleElement(const uint8_t* Enregistrement) {
  return FichierDuGenre(Enregistrement[offsetof(E, Genre)]);
}

// The course type of the contributions of the older layouts, which had none: the typology named
// "Cours" when it exists, else none.
uint32_t TypologieCours() {
  TFichierSup& typologies = SupTypologieCours::Fichier();
  if (typologies.Table == nullptr) return 0;
  typologies.EmpilerPosition();
  const uint32_t numero = SupTypologieCours::ChercherTypologieCours() ? Xi::NumeroCourant(typologies.Table) : 0;
  typologies.DepilerPosition();
  return numero;
}

// Subject and element by their identifiers; a missing one, or a genre above 2, drops the record.
bool LireReferences(int32_t Matiere, uint8_t Genre, int32_t Element) {
  E* e = Article();
  TFichierSup* elements = FichierElement(Genre);
  e->Genre = Genre;
  e->Matiere = SupMatiere::ArticleDeIdentifiant(Matiere);
  e->Element = elements == nullptr ? 0 : elements->NumeroDeIdentifiant(Element);
  return e->Matiere != 0 && e->Element != 0;
}

// Layout A (112 bytes): a resource's contribution, subject at 0, resource at 4, duration at 108.
bool LireA(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  Article()->Duree = Lire32(s + 108);
  Article()->Typologie = TypologieCours();
  return LireReferences(Lire32(s), kGenreRessource, Lire32(s + 4));
}

// Layout B (16 bytes): duration at 0, subject at 4, genre at 8, element at 12.
bool LireB(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  Article()->Duree = Lire32(s);
  Article()->Typologie = TypologieCours();
  return LireReferences(Lire32(s + 4), s[8], Lire32(s + 12));
}

// The current layout is the field table's; it holds curricula and modules only.
bool LireCourante(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  return DeclarationFichier::LireChamps(f, s, Genre) && Article()->Genre != kGenreRessource;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupApportMatiere", ".PAM", 0x16, kPlace, kTailleStockee, true,
      {Identifiant(), Entier("Duree", 0), Reference("Matiere", SupMatiere::kPlace, 4), Octet("Genre", 8),
       ReferenceSelon("Element", &CibleElement, 12), Reference("Typologie", kTYP, 16)},
      {{true, {"Genre", "Element", "Matiere", "Typologie"}}, {false, {"Identifiant"}}},
      &LireCourante, nullptr, nullptr,
      {{kTailleStockeeA, kLimiteA, &LireA}, {kTailleStockeeB, kLimiteB, &LireB}}});
  return d;
}

class TFichierApports final : public TFichierSup {
 public:
  TFichierApports() : TFichierSup(DescriptionFichier(), &SupApportMatiere::ContenuParDefaut) {}

 protected:
  TVerificateurNetXi* CreerVerificateur(int32_t NumeroTable) override {
    return new TVerificateurApportMatiere(NumeroTable);
  }
};

// Makes the contribution (Genre, Element, Matiere, TypeCours) current; not found, the former
// current record is current again.
bool Trouver(uint8_t Genre, uint32_t Element, uint32_t Matiere, uint32_t TypeCours) {
  E* e = Article();
  e->Genre = Genre;
  e->Element = Element;
  e->Matiere = Matiere;
  e->Typologie = TypeCours;
  return Xi::Trouver(Table(), kOrdreElement);
}

// The contributions of an element, in order 1.
std::vector<uint32_t> ApportsDeLElement(uint32_t Element, uint8_t Genre) {
  E* e = Article();
  e->Genre = Genre;
  e->Element = Element;
  e->Matiere = e->Typologie = 0;
  return Fichier().NumerosDepuisCle(kOrdreElement, [=] { return e->Genre == Genre && e->Element == Element; });
}

// The contributions of a subject, in record-number order.
std::vector<uint32_t> ApportsDeLaMatiere(uint32_t Matiere) {
  std::vector<uint32_t> numeros;
  if (Matiere == 0) return numeros;
  EmpilerPosition();
  for (bool encore = Xi::Premier(Table(), 0); encore; encore = Xi::Suivant(Table(), 0))
    if (Article()->Matiere == Matiere) numeros.push_back(Xi::NumeroCourant(Table()));
  DepilerPosition();
  return numeros;
}

// Deletes the current contribution, its period relations first when local; no right is tested.
// True when the record that was current no longer exists.
bool SupprimerCourant() {
  if (Table() == nullptr) return false;
  const uint32_t numero = Xi::NumeroCourant(Table());
  if (!Fichier().Existe(numero)) return false;
  (void)Fichier().Supprimer(kCodeSupprimer,
                            [numero] { (void)SupRelationApportPeriode::SupprimerRelationsDeLApport(numero); });
  return !Fichier().Existe(numero);
}

// Locally, deletes each contribution of the list through SupprimerCourant.
void SupprimerLocalement(const std::vector<uint32_t>& Numeros) {
  (void)Fichier().Visiter(Numeros, [] {
    (void)SupprimerCourant();
    return 0;
  });
}

// Sends a bulk deletion, or deletes the contributions locally.
bool SupprimerPlusieurs(uint32_t Code, const void* Donnees, int32_t Taille,
                        const std::function<std::vector<uint32_t>()>& Apports) {
  if (Table() == nullptr) return false;
  CodeEmpile code(Code);
  if (NetClient::PasserParServeur()) return NetClient::EnvoyerRequeteServeur(Code, 0, Taille, Donnees, false, nullptr);
  SupprimerLocalement(Apports());
  return true;
}

// The request of a new contribution.
void DonneesAjout(uint8_t (&Donnees)[kTailleAjout], int32_t Duree, uint32_t Matiere, uint32_t Element,
                  uint32_t TypeCours, uint8_t Genre) {
  const int32_t matiere = SupMatiere::IdentifiantDe(Matiere);
  const int32_t typologie = TypeCours == 0 ? 0 : SupTypologieCours::Fichier().IdentifiantDe(TypeCours);
  const int32_t element = FichierElement(Genre)->IdentifiantDe(Element);
  std::memset(Donnees, 0, kTailleAjout);
  std::memcpy(Donnees, &Duree, 4);
  std::memcpy(Donnees + 4, &matiere, 4);
  std::memcpy(Donnees + 8, &typologie, 4);
  std::memcpy(Donnees + 12, &element, 4);
  Donnees[16] = Genre;
}

// Locally: an identical contribution grows, else a new one is inserted when no curriculum it
// concerns receives the subject with that course type already.
bool AjouterLocalement(int32_t Duree, uint32_t Matiere, uint32_t Element, uint32_t TypeCours, uint8_t Genre) {
  if (Trouver(Genre, Element, Matiere, TypeCours)) {
    const int64_t somme = int64_t{Article()->Duree} + Duree;
    if (Duree == 0 || somme > std::numeric_limits<int32_t>::max() || somme < std::numeric_limits<int32_t>::min())
      return false;
    Article()->Duree = static_cast<int32_t>(somme);
    if (!Xi::Modifier(Table())) return false;
    netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
    MarquerBase();
    return true;
  }
  if (ApportExisteDansCursus(Matiere, TypeCours, CursusConcernes(Genre, Element))) return false;
  ViderArticle();
  E* e = Article();
  e->Duree = Duree;
  e->Matiere = Matiere;
  e->Genre = Genre;
  e->Element = Element;
  e->Typologie = TypeCours;
  return Fichier().InsererLocalement();
}

// Sends the copy in the current stored layout with the current contribution's identifier.
bool ModifierParServeur(const E& Copie) {
  const E courant = *Article();
  const int32_t identifiant = courant.Identifiant;
  *Article() = Copie;
  uint8_t stocke[kTailleStockee];
  const bool ecrit = Fichier().EcrireArticleStocke(stocke, identifiant, GM_Modification);
  *Article() = courant;
  return ecrit && NetClient::EnvoyerRequeteServeur(kCodeModifier, identifiant, kTailleStockee, stocke, false, nullptr);
}

bool ModifierLocalement(const E& Copie) {
  // The current contribution as the table holds it.
  EmpilerPosition();
  DepilerPosition();
  if (Xi::XiStatut != Xi::kStatutEgal) return false;
  const E ancien = *Article();
  const uint32_t numero = Xi::NumeroCourant(Table());
  if ((Copie.Matiere != ancien.Matiere || Copie.Typologie != ancien.Typologie) &&
      ApportExisteDansCursus(Copie.Matiere, Copie.Typologie, CursusConcernes(Copie.Genre, Copie.Element)))
    return false;
  // Another contribution with the new key would refuse the write: refused before anything changes.
  const bool autre = Trouver(Copie.Genre, Copie.Element, Copie.Matiere, Copie.Typologie) &&
                     Xi::NumeroCourant(Table()) != numero;
  if (!Xi::AllerA(Table(), numero) || autre) return false;
  // Allowed: a course type of another structure no longer fits the period relations' checked marks.
  if (Copie.Typologie != ancien.Typologie &&
      SupTypologieCours::StructureTypologie(Copie.Typologie) != SupTypologieCours::StructureTypologie(ancien.Typologie)) {
    (void)SupRelationApportPeriode::SupprimerRelationsDeLApport(numero);
    if (!Xi::AllerA(Table(), numero)) return false;
  }
  *Article() = Copie;
  Article()->Identifiant = ancien.Identifiant;
  if (!Xi::Modifier(Table())) {
    (void)Xi::AllerA(Table(), numero);
    return false;
  }
  netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), ancien.Identifiant);
  MarquerBase();
  return true;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierApports fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

int32_t FichierDuGenre(uint8_t Genre) {
  switch (Genre) {
    case kGenreCursus:
      return kCUR;
    case kGenreRessource:
      return SupRessource::kPlace;
    case kGenreModule:
      return kMDL;
    default:
      return 0;
  }
}

// --- Housekeeping

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerApportsMatiereParDefaut(); }
bool CreerApportsMatiereParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }

// --- Requests

bool AjouterApportMatiere(int32_t Duree, uint32_t Matiere, uint32_t Element, uint32_t TypeCours, uint8_t Genre) {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus() || Table() == nullptr) return false;
  // Only curricula and modules: a resource's contribution would be dropped at the next load.
  if (Genre != kGenreCursus && Genre != kGenreModule) return false;
  CodeEmpile code(kCodeAjouter);
  if (!SupMatiere::Fichier().Existe(Matiere) || !FichierElement(Genre)->Existe(Element)) return false;
  if (NetClient::PasserParServeur()) {
    uint8_t donnees[kTailleAjout];
    DonneesAjout(donnees, Duree, Matiere, Element, TypeCours, Genre);
    int32_t identifiant = 0;
    if (!NetClient::EnvoyerRequeteServeur(kCodeAjouter, 0, kTailleAjout, donnees, false, &identifiant,
                                          sizeof identifiant))
      return false;
    (void)ChercherParIdentifiant(identifiant);
    return true;
  }
  return AjouterLocalement(Duree, Matiere, Element, TypeCours, Genre);
}

bool ModifierApportMatiere(const E& Apport) {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus() || Table() == nullptr) return false;
  const E copie = Apport;  // Apport may be the buffer itself
  CodeEmpile code(kCodeModifier);
  return NetClient::PasserParServeur() ? ModifierParServeur(copie) : ModifierLocalement(copie);
}

bool ModifierMatiereApport(uint32_t Matiere) {
  if (Table() == nullptr) return false;
  E copie = *Article();
  copie.Matiere = Matiere;
  return ModifierApportMatiere(copie);
}

bool ModifierDureeApport(int32_t Duree) {
  if (Table() == nullptr) return false;
  E copie = *Article();
  copie.Duree = Duree;
  return ModifierApportMatiere(copie);
}

bool SupprimerApportMatiere() {
  if (!SupDroitFonctionnel::DroitModifierModulesCursus()) return false;
  return SupprimerCourant();
}

bool SupprimerApportsDeLaMatiere(uint32_t Matiere) {
  const int32_t identifiant = SupMatiere::IdentifiantDe(Matiere);
  return SupprimerPlusieurs(kCodeSupprimerDeMatiere, &identifiant, 4, [Matiere] { return ApportsDeLaMatiere(Matiere); });
}

bool SupprimerApportsDeLElement(uint32_t Element, uint8_t Genre) {
  TFichierSup* elements = FichierElement(Genre);
  uint8_t donnees[8] = {Genre};
  const int32_t identifiant = elements == nullptr ? 0 : elements->IdentifiantDe(Element);
  std::memcpy(donnees + 4, &identifiant, 4);
  return SupprimerPlusieurs(kCodeSupprimerDeLElement, donnees, sizeof donnees,
                            [=] { return ApportsDeLElement(Element, Genre); });
}

// --- Reads

int32_t PourChaqueApportDeLElement(uint32_t Element, uint8_t Genre, const std::function<int32_t()>& Routine) {
  if (Table() == nullptr) return 0;
  return Fichier().Visiter(ApportsDeLElement(Element, Genre), Routine);
}

int32_t PourChaqueApportDeLaMatiereCourante(const std::function<int32_t()>& Routine) {
  TFichierSup& matieres = SupMatiere::Fichier();
  if (Table() == nullptr || matieres.Table == nullptr) return 0;
  const uint32_t matiere = Xi::NumeroCourant(matieres.Table);
  if (matiere == 0) return 0;
  return Fichier().Visiter(ApportsDeLaMatiere(matiere), Routine);
}

bool ApportExisteDansCursus(uint32_t Matiere, uint32_t TypeCours, const std::vector<uint32_t>& Cursus) {
  if (Table() == nullptr || !SupMatiere::Fichier().Existe(Matiere) || !SupTypologieCours::Fichier().Existe(TypeCours))
    return false;
  EmpilerPosition();
  bool existe = false;
  for (uint32_t cursus : Cursus) {
    existe = Trouver(kGenreCursus, cursus, Matiere, TypeCours) ||
             SupRelationCursusModule::PourChaqueModuleDuCursusDonne(cursus, [&] {
               return Trouver(kGenreModule, SupRelationCursusModule::Article()->Module, Matiere, TypeCours);
             });
    if (existe) break;
  }
  DepilerPosition();
  return existe;
}

std::vector<uint32_t> CursusConcernes(uint8_t Genre, uint32_t Element) {
  if (Genre == kGenreCursus) return {Element};
  std::vector<uint32_t> cursus;
  TFichierSup& modules = SupModule::Fichier();
  if (Genre != kGenreModule || modules.Table == nullptr) return cursus;
  modules.EmpilerPosition();
  if (Xi::AllerA(modules.Table, Element))
    (void)SupRelationCursusModule::PourChaqueCursusDuModule([&] {
      cursus.push_back(SupRelationCursusModule::Article()->Cursus);
      return false;
    });
  modules.DepilerPosition();
  return cursus;
}

}  // namespace SupApportMatiere

bool TVerificateurApportMatiere::VerifierArticle(TErreur*& Erreur) {
  using namespace SupApportMatiere;
  Erreur = nullptr;
  const E* e = Article();
  const bool sain = e != nullptr && SupMatiere::Fichier().Existe(e->Matiere) &&
                    SupTypologieCours::Fichier().Existe(e->Typologie) &&
                    SupTypologieCours::StructureTypologie(e->Typologie) != 0 &&
                    (e->Genre == kGenreCursus || e->Genre == kGenreModule) && FichierElement(e->Genre)->Existe(e->Element);
  if (sain) return true;
  Erreur = new TErreur(std::string("Erreur sur l apport matière numero = "_ansi) +
                       std::to_string(Xi::NumeroCourant(Fichier().Table)));
  return false;
}
