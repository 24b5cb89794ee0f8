#include "base/eleves/SupSousFamille.h"

#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

#include "base/SupParam.h"
#include "base/SupTraitement.h"
#include "base/eleves/SupFamille.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SuppressionSelection.h"
#include "core/records/Xi.h"
#include "core/values/ChaineUnicode.h"
#include "net/NetClient.h"

namespace SupSousFamille {

namespace {

using E = TypeEnregistrementSousFamille;

// The readers: below 2.0.86, below 2.0.91, current; all of one layout.
constexpr std::size_t kLecteurs = 3, kCourant = kLecteurs - 1;
constexpr TypeVersionFormat kLimites[kCourant] = {{2, 0, 86, 0}, {2, 0, 91, 0}};

struct TypeRenommage {
  std::size_t Lecteur;
  const char* Ancien;  // lower case
  const char* Nouveau;
};
constexpr TypeRenommage kRenommages[] = {
    {0, "oui", "T1"},      {0, "non", "T2"},           {1, "faf (a1)", "T1"},
    {1, "activ. 2 (a2)", "T2"}, {1, "autre (a3)", "T3"},
};

constexpr const char* kReservees[] = {"T1", "T2", "T3", "A1", "A2"};

std::string Renommer(std::size_t Lecteur, const std::string& NomFamille, const std::string& Nom) {
  if (Lecteur >= kCourant || NomFamille != "CCCA") return Nom;
  const std::string minuscules = ChaineUnicode::Minuscules1252(Nom);
  for (const TypeRenommage& r : kRenommages)
    if (r.Lecteur == Lecteur && minuscules == r.Ancien) return r.Nouveau;
  return Nom;
}

template <std::size_t L>
bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  int32_t identifiant;
  std::memcpy(&identifiant, s, 4);
  TFichierSup& familles = SupFamille::Fichier();
  if (familles.Table == nullptr) return false;
  std::string nomFamille;
  uint32_t famille = 0;
  {
    TPositionSauvee position(familles);
    if (!SupFamille::ChercherFamilleParNumero(identifiant)) return false;
    famille = Xi::NumeroCourant(familles.Table);
    nomFamille = FichierSup::LireChaineCourte(SupFamille::Article()->Nom, 13);
  }
  Article()->Famille = famille;
  FichierSup::EcrireChaineCourte(Article()->Nom, 13, Renommer(L, nomFamille, FichierSup::LireChaineCourte(s + 4, 13)));
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  const int32_t famille = SupFamille::Fichier().IdentifiantDe(Article()->Famille);
  std::memcpy(s, &famille, 4);
  FichierSup::CopierChaineCourte(s + 4, 13, Article()->Nom, 13);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupSousFamille", ".SFM", 0x0C, kPlace, kTailleStockee, false,
      {Identifiant(), Reference("Famille", SupFamille::kPlace, 0), Chaine("Nom", 13, 4)},
      {{true, {"Famille", "Nom"}}, {false, {"Identifiant"}}},
      &Lire<kCourant>, &Ecrire, nullptr,
      {{kTailleStockee, kLimites[0], &Lire<0>}, {kTailleStockee, kLimites[1], &Lire<1>}}});
  return d;
}

void* Table() { return Fichier().Table; }

// Positions on the first heading of a family in order 1; True when it has one.
bool AllerAuDebutDeLaFamille(uint32_t Famille) {
  std::memset(Table(), 0, sizeof(E));
  Article()->Famille = Famille;
  (void)Xi::Chercher(Table(), kOrdreFamilleNom);
  return Xi::XiStatut != Xi::kStatutAucun && Article()->Famille == Famille;
}

}  // namespace

std::string NomLu(const TypeVersionFormat& Version, const std::string& NomFamille, const std::string& Nom) {
  std::size_t lecteur = 0;
  while (lecteur < kCourant && !Version::EstInferieureA(Version, kLimites[lecteur])) ++lecteur;
  return Renommer(lecteur, NomFamille, Nom);
}

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &SupSousFamille::ContenuParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

// --- Housekeeping

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerSousFamillesParDefaut(); }

// --- Requests

bool CreerSousFamillesParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerSousFamillesParDefaut, [] {
    if (!SupParam::ModeCFA() || SupFamille::Fichier().Table == nullptr) return;
    uint32_t cfa = 0;
    {
      TPositionSauvee position(SupFamille::Fichier());
      if (SupFamille::ChercherFamille("CFA", SupFamille::kGenreMatiere))
        cfa = Xi::NumeroCourant(SupFamille::Fichier().Table);
    }
    if (cfa == 0) return;
    for (const char* nom : kReservees) (void)CreerSousFamille(nom, cfa);
  });
}

bool CreerSousFamille(const std::string& Nom, uint32_t Famille) {
  TFichierSup& familles = SupFamille::Fichier();
  if (Table() == nullptr || familles.Table == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeCreerSousFamille);
  TPositionSauvee position(familles);
  if (!Xi::AllerA(familles.Table, Famille)) return false;
  uint8_t donnees[kTailleStockee] = {};
  const int32_t identifiant = familles.IdentifiantCourant();
  std::memcpy(donnees, &identifiant, 4);
  FichierSup::EcrireChaineCourte(donnees + 4, 13, Nom);
  return Fichier().Creer(kCodeCreerSousFamille, donnees, sizeof donnees, [&] {
    Article()->Famille = Famille;
    std::memcpy(Article()->Nom, donnees + 4, 14);
  });
}

bool ModifierNomSousFamille(const std::string& Nom) {
  if (Table() == nullptr) return false;
  uint8_t nom[14];
  FichierSup::EcrireChaineCourte(nom, 13, Nom);
  return Fichier().Modifier(kCodeModifierNomSousFamille, nom, sizeof nom,
                            [&] { std::memcpy(Article()->Nom, nom, sizeof nom); });
}

bool SupprimerSousFamille() {
  if (Table() == nullptr || EstSousFamilleReservee()) return false;
  const bool accepte = Fichier().Supprimer(kCodeSupprimerSousFamille, [] {
    (void)SupRelationFamille::PourChaqueRelationDeLaRubriqueCourante([] {
      (void)SupRelationFamille::SupprimerRelationFamille();
      return 0;
    });
  });
  // Locally False whatever happened, so that a walk deleting heading after heading goes on.
  return NetClient::PasserParServeur() && accepte;
}

bool SupprimerSousFamilleNumero(uint32_t NumeroArticle) {
  if (Table() == nullptr) return false;
  TPositionSauvee position(Fichier());
  if (!Xi::AllerA(Table(), NumeroArticle)) return false;
  (void)SupprimerSousFamille();
  return !Fichier().Existe(NumeroArticle);
}

bool SupprimerTableauSousFamilles(TypeEnsembleMemoire& Ensemble) {
  if (Ensemble.Nombre == 0 || Table() == nullptr) return true;
  SupTraitement::TraitementEmpile code(kCodeSupprimerTableauSousFamilles);
  TPositionSauvee position(Fichier());
  if (NetClient::PasserParServeur())
    return SuppressionSelection::EnvoyerSelection(Fichier(), kCodeSupprimerTableauSousFamilles, Ensemble);
  return SuppressionSelection::SupprimerLocalement(Fichier(), Ensemble, &SupprimerSousFamilleNumero, true);
}

// --- Reads

bool EstSousFamilleReservee() {
  if (!SupParam::ModeCFA() || Table() == nullptr || Xi::NumeroCourant(Table()) == 0) return false;
  TFichierSup& familles = SupFamille::Fichier();
  if (familles.Table == nullptr) return false;
  TPositionSauvee position(familles);
  if (!Xi::AllerA(familles.Table, Article()->Famille) || !SupFamille::EstFamilleCFA()) return false;
  const std::string nom = FichierSup::LireChaineCourte(Article()->Nom, 13);
  for (const char* r : kReservees)
    if (nom == r) return true;
  return false;
}

bool PourChaqueSousFamilleDeLaFamille(const std::function<bool()>& Traitement, bool Sauver) {
  void* familles = SupFamille::Fichier().Table;
  if (Table() == nullptr || familles == nullptr) return false;
  const uint32_t famille = Xi::NumeroCourant(familles);
  if (Sauver) EmpilerPosition();
  bool reponse = false;
  uint32_t courant = famille != 0 && AllerAuDebutDeLaFamille(famille) ? Xi::NumeroCourant(Table()) : 0;
  while (courant != 0 && !reponse) {
    // The next heading is noted first: the treatment may delete the current one.
    const uint32_t position = Xi::PositionDeNumero(Table(), courant, kOrdreFamilleNom);
    const uint32_t suivant = Xi::NumeroAPosition(Table(), position + 1, kOrdreFamilleNom);
    if (Xi::AllerA(Table(), courant)) reponse = Traitement();
    if (reponse) break;
    courant = suivant != 0 && Xi::AllerA(Table(), suivant) && Article()->Famille == famille ? suivant : 0;
  }
  if (Sauver) DepilerPosition();
  return reponse;
}

uint32_t NombreSousFamilles(uint32_t Famille) {
  TFichierSup& familles = SupFamille::Fichier();
  if (Table() == nullptr || familles.Table == nullptr) return 0;
  TPositionSauvee position(familles);
  if (!Xi::AllerA(familles.Table, Famille)) return 0;
  uint32_t nombre = 0;
  (void)PourChaqueSousFamilleDeLaFamille(
      [&] {
        ++nombre;
        return false;
      },
      true);
  return nombre;
}

uint32_t RangSousFamille(uint32_t NumeroArticle) {
  if (Table() == nullptr) return 0;
  TPositionSauvee position(Fichier());
  if (!Xi::AllerA(Table(), NumeroArticle)) return 0;
  const uint32_t rang = Xi::PositionDeNumero(Table(), NumeroArticle, kOrdreFamilleNom);
  const uint32_t famille = Article()->Famille;
  if (!AllerAuDebutDeLaFamille(famille)) return 0;
  return rang - Xi::Position(Table(), kOrdreFamilleNom) + 1;
}

}  // namespace SupSousFamille
