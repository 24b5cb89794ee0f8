#include "base/ressources/SupRelationRessourceMatiere.h"

#include <cstring>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Xi.h"
#include "net/netmodif.h"

namespace SupRelationRessourceMatiere {

namespace {

using E = TypeEnregistrementRelationRessourceMatiere;

constexpr int32_t kMAT = 12;  // subjects, in the base order
// The stored relation: kind at 0, 3 unused, the resource's identifier at 4, the subject's at 8.
constexpr int32_t kStockeGenre = 0, kStockeRessource = 4, kStockeMatiere = 8;

bool GenreAccepte(uint8_t Genre) {
  return Genre == SupRessource::kEnseignant || Genre == SupRessource::kDiplome || Genre == SupRessource::kTD ||
         Genre == SupRessource::kOption;
}

bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  E* e = Article();
  e->Genre = s[kStockeGenre];
  int32_t ressource, matiere;
  std::memcpy(&ressource, s + kStockeRessource, 4);
  std::memcpy(&matiere, s + kStockeMatiere, 4);
  // A relation of a kind that has no subjects, or naming a resource that does not exist, is refused.
  // A stored 0 names no resource: it is what a relation whose resource is not of its kind is written
  // as, and it reads back the same.
  if (!GenreAccepte(e->Genre)) return false;
  if (ressource != 0 && SupRessource::Fichier().NumeroDeIdentifiant(ressource) == 0) return false;
  e->Ressource = ressource == 0 ? 0 : SupRessource::RessourceDeLIdentifiant(ressource, e->Genre);
  e->Matiere = SupFichiers::Fichier(kMAT)->NumeroDeIdentifiant(matiere);
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  const E* e = Article();
  s[kStockeGenre] = e->Genre;
  const int32_t ressource = SupRessource::IdentifiantDe(e->Ressource);
  const int32_t matiere = e->Matiere == 0 ? 0 : SupFichiers::Fichier(kMAT)->IdentifiantDe(e->Matiere);
  std::memcpy(s + kStockeRessource, &ressource, 4);
  std::memcpy(s + kStockeMatiere, &matiere, 4);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupRelationRessourceMatiere", ".RRM", 0x33, kPlace, kTailleStockee, false,
      {Identifiant(), Octet("Genre", kStockeGenre), Reference("Ressource", SupRessource::kPlace, kStockeRessource),
       Reference("Matiere", kMAT, kStockeMatiere, TypeSiAbsente::Aucune)},
      {{false, {"Identifiant"}}, {true, {"Genre", "Ressource", "Matiere"}}, {false, {"Matiere", "Genre", "Ressource"}},
       {false, {"Genre", "Matiere"}}},
      &Lire, &Ecrire});
  return d;
}

// Deletes locally every relation that Garder keeps.
template <class F>
uint32_t SupprimerSi(F Garder) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  std::vector<uint32_t> numeros;
  const uint32_t courant = Xi::NumeroCourant(f.Table);
  for (bool encore = Xi::Premier(f.Table, 0); encore; encore = Xi::Suivant(f.Table, 0))
    if (Garder(*Article())) numeros.push_back(Xi::NumeroCourant(f.Table));
  uint32_t supprimees = 0;
  for (uint32_t n : numeros) {
    if (!Xi::AllerA(f.Table, n)) continue;
    netmodif::NotifierModification(GM_Suppression, f.NumeroTable(), f.IdentifiantCourant());
    if (Xi::Supprimer(f.Table)) ++supprimees;
  }
  if (!Xi::AllerA(f.Table, courant)) std::memset(f.Table, 0, sizeof(E));
  if (supprimees > 0) EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales());
  return supprimees;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerRelationsRessourceMatiereParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

void ViderArticle() { Fichier().ViderArticle(); }

bool CreerRelationsRessourceMatiereParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerRelationsParDefaut); }

bool CreerRelationRessourceMatiere(uint32_t Ressource, uint32_t Matiere, uint8_t Genre) {
  if (!SupRessource::RessourceExiste(Ressource)) return false;
  uint8_t donnees[kTailleStockee] = {};
  donnees[kStockeGenre] = Genre;
  const int32_t ressource = SupRessource::IdentifiantDe(Ressource);
  const int32_t matiere = SupFichiers::Fichier(kMAT)->IdentifiantDe(Matiere);
  std::memcpy(donnees + kStockeRessource, &ressource, 4);
  std::memcpy(donnees + kStockeMatiere, &matiere, 4);
  return Fichier().Creer(
      kCodeCreerRelation, donnees, sizeof donnees,
      [&] {
        E* e = Article();
        e->Genre = Genre;
        e->Ressource = Ressource;
        e->Matiere = Matiere;
      },
      true);
}

bool SupprimerRelationRessourceMatiere() { return Fichier().Supprimer(kCodeSupprimerRelation); }

bool CreerRelationLocale() { return Fichier().InsererLocalement(); }

bool ChercherRelation(uint8_t Genre, uint32_t Ressource, uint32_t Matiere) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return false;
  E* e = Article();
  e->Genre = Genre;
  e->Ressource = Ressource;
  e->Matiere = Matiere;
  return Xi::Trouver(f.Table, kOrdreRelation);
}

uint32_t SupprimerRelationsDeLaRessource(uint32_t Ressource) {
  if (Ressource == 0) return 0;
  return SupprimerSi([Ressource](const E& e) { return e.Ressource == Ressource; });
}

uint32_t SupprimerRelationsDeLaMatiere(uint32_t Matiere) {
  if (Matiere == 0) return 0;
  return SupprimerSi([Matiere](const E& e) { return e.Matiere == Matiere; });
}

}  // namespace SupRelationRessourceMatiere
