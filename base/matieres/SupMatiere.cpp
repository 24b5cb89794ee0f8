#include "base/matieres/SupMatiere.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/EmballageSelection.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/cours/SupCours.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/matieres/SupApportMatiere.h"
#include "base/matieres/SupRelationMatieres.h"
#include "base/ressources/SupRelationRessourceMatiere.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "net/NetClient.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"
#include "platform/ui/Patienc3.h"

namespace SupMatiere {

namespace {

using E = TypeEnregistrementMatiere;
using FichierSup::CopierChaineCourte;

// The stored record.
namespace S {
constexpr int32_t Code = 0, IdentifiantExterne = 17, Libelle = 98, NomComplet = 129, Couleur = 196,
                  Coefficient = 200, MaxHeuresJour = 204, MaxHeuresSemaine = 208, OctetPorte = 216,
                  Proprietaire = 217, NumeroMatiere = 224;
}  // namespace S

bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif Genre) {
  E* e = Article();
  // The fields never stored keep their values on a change; a creation (and loading) starts from
  // extracted 0, retained 1, sort value 0.
  const int32_t identifiant = e->Identifiant;
  const uint8_t extrait = Genre == GM_Creation ? 0 : e->Extrait;
  const uint8_t retenu = Genre == GM_Creation ? 1 : e->Retenu;
  const int32_t tri = Genre == GM_Creation ? 0 : e->ValeurTri;
  std::memset(static_cast<void*>(e), 0, sizeof(E));
  e->Identifiant = identifiant;
  e->Extrait = extrait;
  e->Retenu = retenu;
  e->ValeurTri = tri;
  CopierChaineCourte(e->Code, 16, s + S::Code, 16);
  CopierChaineCourte(e->IdentifiantExterne, 80, s + S::IdentifiantExterne, 80);
  CopierChaineCourte(e->Libelle, 30, s + S::Libelle, 30);
  CopierChaineCourte(e->NomComplet, 65, s + S::NomComplet, 65);
  std::memcpy(&e->Couleur, s + S::Couleur, 4);
  std::memcpy(&e->Coefficient, s + S::Coefficient, 4);
  std::memcpy(&e->MaxHeuresJour, s + S::MaxHeuresJour, 4);
  std::memcpy(&e->MaxHeuresSemaine, s + S::MaxHeuresSemaine, 4);
  e->OctetPorte = s[S::OctetPorte];
  CopierChaineCourte(e->Proprietaire, 3, s + S::Proprietaire, 3);
  std::memcpy(&e->NumeroMatiere, s + S::NumeroMatiere, 4);
  CompteursNumeros::Relever(CompteursNumeros::kMAT, e->NumeroMatiere);
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  const E* e = Article();
  CopierChaineCourte(s + S::Code, 16, e->Code, 16);
  CopierChaineCourte(s + S::IdentifiantExterne, 80, e->IdentifiantExterne, 80);
  CopierChaineCourte(s + S::Libelle, 30, e->Libelle, 30);
  CopierChaineCourte(s + S::NomComplet, 65, e->NomComplet, 65);
  std::memcpy(s + S::Couleur, &e->Couleur, 4);
  std::memcpy(s + S::Coefficient, &e->Coefficient, 4);
  std::memcpy(s + S::MaxHeuresJour, &e->MaxHeuresJour, 4);
  std::memcpy(s + S::MaxHeuresSemaine, &e->MaxHeuresSemaine, 4);
  s[S::OctetPorte] = e->OctetPorte;
  CopierChaineCourte(s + S::Proprietaire, 3, e->Proprietaire, 3);
  std::memcpy(s + S::NumeroMatiere, &e->NumeroMatiere, 4);
  return true;
}

using namespace Champ;
// clang-format off
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupMatiere", ".MAT", 0x0E, kPlace, kTailleStockee, false,
      {Identifiant(), Chaine("IdentifiantExterne", 80, 17), Chaine("Code", 16, 0), Chaine("Libelle", 30, 98),
       Chaine("NomComplet", 65, 129), Entier("Coefficient", 200), Entier("MaxHeuresJour", 204),
       Entier("MaxHeuresSemaine", 208), Cardinal("Couleur", 196).Vaut(kCouleurNouvelle), Entier("ValeurTri"),
       Octet("OctetPorte", 216), Booleen("Extrait"), Booleen("Retenu").Vaut(1), Chaine("Proprietaire", 3, 217),
       Cardinal("NumeroMatiere", 224)},
      {{true, {"Libelle", "Code"}}, {false, {"Code", "Libelle"}},
       {false, {Decroissant("Retenu"), Decroissant("Extrait"), "ValeurTri", "Libelle"}}, {false, {"Identifiant"}},
       {false, {"ValeurTri"}}, {false, {"NomComplet"}}, {true, {{"NumeroMatiere", &Comparai::ComparerCardinal}}},
       {false, {Decroissant("Retenu"), "Libelle", "Code"}}, {false, {"IdentifiantExterne"}}},
      &Lire, &Ecrire});
  return d;
}
// clang-format on

void CompleterVisibilite() {
  if (Etapes().CompleterVisibilite) Etapes().CompleterVisibilite();
}
void SupprimerVisibilite() {
  if (Etapes().SupprimerVisibilite) Etapes().SupprimerVisibilite();
}

class TFichierMatieres final : public TFichierSup {
 public:
  TFichierMatieres() : TFichierSup(DescriptionFichier(), &SupMatiere::ContenuParDefaut) {
    AvantOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      if (Genre == GM_Suppression) SupprimerVisibilite();
    };
    ApresOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      if (Genre == GM_Creation) CompleterVisibilite();
    };
    SurModification1 = [](TypeGenreModif Genre, int32_t, int32_t) {
      if (Genre == GM_Suppression) SupprimerVisibilite();
    };
    SurModification2 = [](TypeGenreModif Genre, int32_t, int32_t) {
      if (Genre == GM_Creation) CompleterVisibilite();
    };
  }
};

void* Table() { return Fichier().Table; }

// Makes a record number current again after a search that found nothing.
void Revenir(uint32_t Numero) {
  if (!Xi::AllerA(Table(), Numero)) std::memset(Table(), 0, sizeof(E));
}

// A translated text, or its French text when the translation is empty.
std::string TexteOuDefaut(std::string_view Cle, std::string_view Defaut) {
  std::string texte = Traduction::Traduire(Cle);
  return texte.empty() ? std::string(Defaut) : texte;
}

// Sends or applies a change of the current subject; a change refused locally leaves the buffer as
// the table holds the record.
bool Modifier(uint32_t Code, const void* Valeur, int32_t Taille, const std::function<void()>& Ecrire) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  if (Fichier().Modifier(Code, Valeur, Taille, Ecrire)) return true;
  if (courant != 0) Revenir(courant);
  return false;
}

// A text field of Capacite characters: cut, sent as a counted string of Capacite + 1 bytes;
// nothing when unchanged.
bool ModifierTexte(uint32_t Code, uint8_t* Champ, int32_t Capacite, const std::string& Texte) {
  if (!SupDroitFonctionnel::DroitModifierMatieres() || Table() == nullptr) return false;
  std::vector<uint8_t> valeur(static_cast<std::size_t>(Capacite) + 1);
  FichierSup::EcrireChaineCourte(valeur.data(), Capacite, Texte);
  if (std::memcmp(valeur.data(), Champ, valeur.size()) == 0) return true;
  return Modifier(Code, valeur.data(), Capacite + 1, [&] { std::memcpy(Champ, valeur.data(), valeur.size()); });
}

bool ModifierEntier(uint32_t Code, int32_t* Champ, int32_t Valeur) {
  if (!SupDroitFonctionnel::DroitModifierMatieres()) return false;
  return Modifier(Code, &Valeur, 4, [&] { *Champ = Valeur; });
}

// --- What the local deletion of a subject removes before the subject.

// Deletes the subject's courses, whole: collected first (course order 2), then each one that still
// exists. Course position kept.
void SupprimerCoursDeLaMatiere(uint32_t Matiere) {
  TFichierSup& cours = SupCours::Fichier();
  if (cours.Table == nullptr) return;
  SupCours::Article()->Matiere = Matiere;
  const std::vector<uint32_t> numeros =
      cours.NumerosDepuisCle(SupCours::kOrdreMatiere, [Matiere] { return SupCours::Article()->Matiere == Matiere; });
  (void)cours.Visiter(numeros, [] {
    (void)SupCours::SupprimerCoursCourant(1, 34, false);
    return 0;
  });
}

// Locally, the records that refer to the subject, those whose deletion is not built yet first so
// that they raise before anything changes.
void SupprimerDependantsNonConstruits(uint32_t Matiere) {
  SupprimerCoursDeLaMatiere(Matiere);
}
void SupprimerDependants(uint32_t Matiere) {
  (void)SupRelationMatieres::SupprimerRelationsMatieresDeMatiere(Matiere);
  (void)SupApportMatiere::SupprimerApportsDeLaMatiere(Matiere);
  (void)SupRelationRessourceMatiere::SupprimerRelationsDeLaMatiere(Matiere);
  SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(Matiere, SupRelationFamille::kGenreMatiere);
}

// Through the server: the packed selection; an accepted answer is the packed selection of the
// subjects not deleted, read within the bytes answered. An answer that does not read leaves in the
// selection the subjects that still exist.
void SupprimerTableauParServeur(TypeEnsembleMemoire& Selection) {
  void* bloc = nullptr;
  std::size_t taille = 0;
  EmballageSelection::EmballerSelection(Selection, Table(), bloc, taille);
  std::vector<uint8_t> reponse(Memoire::kTailleEnteteTampon + 4 * std::size_t{Selection.Nombre}, 0);
  const bool accepte = NetClient::EnvoyerRequeteServeur(kCodeSupprimerTableau, 0, static_cast<int32_t>(taille), bloc,
                                                        false, reponse.data(), static_cast<int32_t>(reponse.size()));
  Memoire::Desallouer(bloc, taille);
  if (!accepte) return;
  TypeEnsembleMemoire restants{};
  if (EmballageSelection::DeballerSelection(reponse.data(), reponse.size(), Table(), kPlace - 1, restants) == nullptr) {
    for (uint32_t i = 0; i < Selection.Nombre; ++i)
      if (Fichier().Existe(Selection.Elements[i])) (void)Memoire::Ajouter(Selection.Elements[i], restants);
  }
  Memoire::Liberer(Selection);
  Selection = restants;
}

// Locally: each subject deleted in turn, put back when it was not; a deletion that raises puts back
// the subjects not yet done before the exception goes on.
void SupprimerTableauLocalement(TypeEnsembleMemoire& Selection) {
  TypeEnsembleMemoire copie{};
  Memoire::Copier(Selection, copie);
  Memoire::Reinitialiser(Selection);
  std::unique_ptr<TPatienceCompteur> patience;
  if (copie.Nombre > 1) {
    patience = std::make_unique<TPatienceCompteur>(nullptr, Traduction::Traduire("SupConstTraitement_en_cours_...7"));
    patience->InitialiserCompteur(copie.Nombre);
    patience->DefinirPas(1);
    patience->Show();
  }
  uint32_t i = 0;
  try {
    for (; i < copie.Nombre; ++i) {
      if (!SupprimerMatiereParNumero(copie.Elements[i])) (void)Memoire::Inserer(copie.Elements[i], Selection);
      if (patience) patience->Decrementer();
    }
  } catch (...) {
    for (; i < copie.Nombre; ++i) (void)Memoire::Inserer(copie.Elements[i], Selection);
    Memoire::Liberer(copie);
    throw;
  }
  Memoire::Liberer(copie);
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierMatieres fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

TypeEtapesMatiere& Etapes() {
  static TypeEtapesMatiere etapes;
  return etapes;
}

// --- Housekeeping

void ViderArticle() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return;
  f.ViderArticle();
  E* e = Article();
  e->Extrait = 1;
  e->Retenu = 1;
  e->Couleur = kCouleurNouvelle;
  FichierSup::EcrireChaineCourte(e->Proprietaire, 3, ChaineUnicode::Majuscules1252(Utilisateur::CodeUtilisateurCourant()));
}

bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerMatieresParDefaut(); }
bool CreerMatieresParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerParDefaut, [] { (void)CreerMatiere("", ""); });
}

bool CreerMatiere(const std::string& Code, const std::string& Libelle) {
  if (!SupDroitFonctionnel::DroitCreerMatieres() || Table() == nullptr) return false;
  uint8_t donnees[48] = {};
  FichierSup::EcrireChaineCourte(donnees, 16, Code);
  FichierSup::EcrireChaineCourte(donnees + 17, 30, Libelle);
  const bool local = !NetClient::PasserParServeur();
  const uint32_t numero = CompteursNumeros::Suivant(CompteursNumeros::kMAT);
  const bool cree = Fichier().Creer(
      kCodeCreerMatiere, donnees, sizeof donnees,
      [&] {
        ViderArticle();
        std::memcpy(Article()->Code, donnees, 17);
        std::memcpy(Article()->Libelle, donnees + 17, 31);
        Article()->NumeroMatiere = numero;
      },
      false, [&] { CompteursNumeros::Relever(CompteursNumeros::kMAT, numero); });
  if (cree && local) {
    const uint32_t matiere = Xi::NumeroCourant(Table());
    (void)SupRelationMatieres::CreerRelationMatieres(matiere, matiere);
  }
  return cree;
}

// --- Reads

bool AllerAMatiereParDefaut() {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  E* e = Article();
  e->Libelle[0] = 0;
  e->Code[0] = 0;
  if (Xi::Trouver(Table(), kOrdreUnique)) return true;
  Revenir(courant);
  return false;
}

uint32_t MatiereParDefaut() {
  if (Table() == nullptr) return 0;
  EmpilerPosition();
  const uint32_t numero = AllerAMatiereParDefaut() ? Xi::NumeroCourant(Table()) : 0;
  DepilerPosition();
  return numero;
}

std::string TexteMatiereAPreciser() {
  return TexteOuDefaut("SupMatiereMatiereAPreciser", "Matière à preciser"_ansi);
}
std::string TexteReservationSalles() {
  return TexteOuDefaut("SupMatiereRéservationSalles"_ansi, "Réservation de salles"_ansi);
}

bool EstMatiereParDefaut() {
  const E* e = Article();
  if (e == nullptr || e->Code[0] != 0) return false;
  const std::string libelle = FichierSup::LireChaineCourte(e->Libelle, 30);
  return libelle.empty() || libelle == TexteReservationSalles() || libelle == TexteMatiereAPreciser();
}

int32_t IdentifiantDe(uint32_t Matiere) { return Matiere == 0 ? 0 : Fichier().IdentifiantDe(Matiere); }

uint32_t ArticleDeIdentifiant(int32_t Identifiant) { return Fichier().NumeroDeIdentifiant(Identifiant); }

bool ChercherMatiereParNumero(uint32_t Numero) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  Article()->NumeroMatiere = Numero;
  if (Xi::Trouver(Table(), kOrdreNumero)) return true;
  Revenir(courant);
  return false;
}

bool ChercherMatiereParIdentifiantExterne(const std::string& Texte) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  FichierSup::EcrireChaineCourte(Article()->IdentifiantExterne, 80, Texte);
  if (Xi::Trouver(Table(), kOrdreIdentifiantExterne)) return true;
  Revenir(courant);
  return false;
}

// --- Changes

bool ModifierCodeMatiere(const std::string& Code) {
  return Article() != nullptr && ModifierTexte(kCodeModifierCode, Article()->Code, 16, Code);
}
bool ModifierLibelleMatiere(const std::string& Libelle) {
  return Article() != nullptr && ModifierTexte(kCodeModifierLibelle, Article()->Libelle, 30, Libelle);
}
bool ModifierNomCompletMatiere(const std::string& Nom) {
  return Article() != nullptr && ModifierTexte(kCodeModifierNomComplet, Article()->NomComplet, 65, Nom);
}

bool ModifierIdentifiantMatiere(const std::string& Texte) {
  if (!SupDroitFonctionnel::DroitModifierMatieres() || Table() == nullptr) return false;
  const std::string texte = Texte.substr(0, 80);
  if (!texte.empty()) {
    EmpilerPosition();
    const bool pris = ChercherMatiereParIdentifiantExterne(texte);
    DepilerPosition();
    if (pris) return false;
  }
  return ModifierTexte(kCodeModifierIdentifiant, Article()->IdentifiantExterne, 80, texte);
}

bool ModifierCoeffCCCAMatiere(int32_t Valeur) {
  return Article() != nullptr && ModifierEntier(kCodeModifierCoefficient, &Article()->Coefficient, Valeur);
}
bool ModifierMaxHeuresJourMatiere(int32_t Valeur) {
  return Article() != nullptr && ModifierEntier(kCodeModifierMaxHeuresJour, &Article()->MaxHeuresJour, Valeur);
}
bool ModifierMaxHeuresHebdoMatiere(int32_t Valeur) {
  return Article() != nullptr && ModifierEntier(kCodeModifierMaxHeuresHebdo, &Article()->MaxHeuresSemaine, Valeur);
}

bool ModifierProprietaireMatiere(const std::string& Code) {
  if (!SupDroitFonctionnel::DroitModifierMatieres() || Table() == nullptr) return false;
  uint8_t valeur[4];
  FichierSup::EcrireChaineCourte(valeur, 3, ChaineUnicode::Majuscules1252(Code.substr(0, 3)));
  return Modifier(kCodeModifierProprietaire, valeur, 4, [&] { std::memcpy(Article()->Proprietaire, valeur, 4); });
}

// --- Deletions

bool SupprimerMatiere() {
  if (!SupDroitFonctionnel::DroitSupprimerMatieres() || Table() == nullptr) return false;
  // The subject as the table holds it.
  EmpilerPosition();
  DepilerPosition();
  const uint32_t matiere = Xi::NumeroCourant(Table());
  if (Xi::XiStatut != Xi::kStatutEgal || EstMatiereParDefaut()) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerMatiere);
  if (NetClient::PasserParServeur()) return Fichier().Supprimer(kCodeSupprimerMatiere);
  SupprimerDependantsNonConstruits(matiere);
  (void)Fichier().Supprimer(kCodeSupprimerMatiere, [matiere] { SupprimerDependants(matiere); });
  return !Fichier().Existe(matiere);
}

bool SupprimerMatiereParNumero(uint32_t Matiere) {
  if (Table() == nullptr) return false;
  EmpilerPosition();
  bool supprimee = false;
  try {
    supprimee = Xi::AllerA(Table(), Matiere) && SupprimerMatiere();
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
  return supprimee;
}

void SupprimerTableauMatieres(TypeEnsembleMemoire& Selection) {
  if (Table() == nullptr || Selection.Nombre == 0) return;
  SupTraitement::TraitementEmpile code(kCodeSupprimerTableau);
  EmpilerPosition();
  try {
    if (NetClient::PasserParServeur()) SupprimerTableauParServeur(Selection);
    else SupprimerTableauLocalement(Selection);
  } catch (...) {
    DepilerPosition();
    throw;
  }
  DepilerPosition();
}

}  // namespace SupMatiere
