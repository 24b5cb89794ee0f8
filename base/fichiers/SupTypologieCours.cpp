#include "base/fichiers/SupTypologieCours.h"

#include <array>
#include <cstddef>
#include <cstring>

#include "base/SupParametresGrille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "core/values/Collation.h"
#include "objectdb/Traduction.h"

namespace SupTypologieCours {

namespace {

using E = TypeEnregistrementTypologie;

// Stored: the name at 0 (14 bytes), two unused bytes, the colour at 16, the duration at 20 and the
// structure at 24 (the last two from 4.0.99 on).
constexpr int32_t kStockeCouleur = 16;

int32_t PlacesParHeure() { return SupParametresGrille::Parametres().PlacesParHeure; }

void Defauts(uint8_t* e) { reinterpret_cast<E*>(e)->Duree = PlacesParHeure(); }

// The colour and later fields did not exist yet: a typology of an old base is a lecture.
bool LireNom(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(e->Nom, 13, s, 13);
  if (e->Nom[0] == 0) FichierSup::EcrireChaineCourte(e->Nom, 13, "Cours");
  e->Couleur = kCouleurParDefaut;
  e->Duree = PlacesParHeure();
  e->Structure = 1;
  return true;
}

bool LireNomCouleur(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(e->Nom, 13, s, 13);
  std::memcpy(&e->Couleur, s + kStockeCouleur, 4);
  e->Duree = PlacesParHeure();
  e->Structure = 1;
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupTypologieCours", ".TYP", 0x0D, 11, kTailleStockee, false,
      {Identifiant(), Cardinal("Couleur", kStockeCouleur).Vaut(kCouleurParDefaut), Chaine("Nom", 13, 0),
       Entier("Duree", 20), Octet("Structure", 24)},
      {{true, {"Nom"}}, {false, {"Identifiant"}}},
      nullptr, nullptr, &Defauts,
      {{14, {2, 0, 12, 0}, &LireNom}, {20, {4, 0, 99, 0}, &LireNomCouleur}},
  });
  return d;
}

// The typology of that name (case ignored) made current; the buffer holds the name otherwise.
bool ChercherNom(const char* Nom) {
  if (Fichier().Table == nullptr) return false;
  FichierSup::EcrireChaineCourte(Article()->Nom, 13, Nom);
  return Xi::Trouver(Fichier().Table, kOrdreNom);
}

bool EstNomStandard(const std::string& Nom) {
  static const std::array<const char*, 5> kNoms = {"Cours", "Aucun", "TD", "TP", "Option"};
  for (const char* n : kNoms)
    if (Nom == n) return true;
  return false;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerTypologiesCoursParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerTypologieCours(const std::string& Nom, uint8_t Structure) {
  const std::string nom = Nom.substr(0, 13);
  if (nom.empty()) return false;
  TFichierSup& f = Fichier();
  if (f.Table != nullptr && Xi::Nombre(f.Table) > 1 &&
      Collation::Compare(nom, Traduction::Traduire("SupAffTypologieCoursParDefaut"), true) == 0)
    return false;
  // Laid out as the record in memory; what the server does not read stays zero.
  uint8_t donnees[sizeof(E)] = {};
  FichierSup::EcrireChaineCourte(donnees + offsetof(E, Nom), 13, nom);
  donnees[offsetof(E, Structure)] = Structure;
  return f.Creer(kCodeCreerTypologieCours, donnees, sizeof donnees, [&] {
    FichierSup::EcrireChaineCourte(Article()->Nom, 13, nom);
    Article()->Structure = Structure;
  }, false, [&] {
    // The standard typologies keep the grid's hour; the others take the duration of "Aucun".
    if (EstNomStandard(nom)) return;
    const int32_t duree = DureeTypologieParDefaut();
    Article()->Duree = duree;
    (void)Xi::Modifier(f.Table);
  });
}

bool CreerTypologiesCoursParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerTypologiesCoursParDefaut, [] {
    (void)CreerTypologieCours("Aucun", 0);
    (void)CreerTypologieCours("Cours", 1);
    (void)CreerTypologieCours("TD", 2);
    (void)CreerTypologieCours("TP", 2);
    (void)CreerTypologieCours("Option", 3);
  });
}

std::string NomTypologieCours(uint32_t NumeroArticle) {
  return Fichier().ChaineDe(NumeroArticle, offsetof(E, Nom), 13);
}

uint32_t TypologieParDefaut() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  const uint32_t numero = ChercherNom("Aucun") ? Xi::NumeroCourant(f.Table) : 0;
  f.DepilerPosition();
  return numero;
}

bool ChercherTypologieCours() { return ChercherNom("Cours"); }

int32_t DureeTypologieParDefaut() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  const int32_t duree = ChercherNom("Aucun") ? Article()->Duree : 0;
  f.DepilerPosition();
  return duree;
}

uint8_t StructureTypologie(uint32_t NumeroArticle) {
  if (!Fichier().Existe(NumeroArticle)) return 1;
  return static_cast<uint8_t>(Fichier().ValeurDe(NumeroArticle, offsetof(E, Structure)) & 0xFF);
}

}  // namespace SupTypologieCours
