#include "base/sites/SupSite.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "objectdb/Traduction.h"

namespace SupSite {

namespace {

using E = TypeEnregistrementSite;

// Loading raises the site counter to the largest number read.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  CompteursNumeros::Relever(CompteursNumeros::kSIT, reinterpret_cast<E*>(f.Enregistrement())->NumeroSite);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupSite", ".SIT", 0x30, kPlace, kTailleStockee, false,
      {Identifiant(), Cardinal("NumeroSite", 0), Chaine("Nom", 30, 4), Entier("Couleur", 36)},
      {{true, {"NumeroSite"}}, {false, {"Identifiant"}}, {true, {"Nom"}}},
      &Lire,
  });
  return d;
}

void*& Ordres() {
  static void* table = nullptr;
  return table;
}
TypeEntreeOrdre* Entree() { return static_cast<TypeEntreeOrdre*>(Ordres()); }

bool EstInferieure(uint32_t a, uint32_t b, uint32_t c, uint32_t A, uint32_t B, uint32_t C) {
  if (a != A) return a < A;
  if (b != B) return b < B;
  return c < C;
}

bool Inserer(uint8_t Genre, uint8_t Element, uint32_t Ordre) {
  *Entree() = {Genre, Element, 1, 0, Ordre};
  return Xi::Inserer(Ordres());
}

// The record numbers of the entries of a kind, by order number. Collected before any change, since
// changing an order number moves the entry in the order walked.
std::vector<uint32_t> EntreesDuGenre(uint8_t Genre) {
  void* t = Ordres();
  std::vector<uint32_t> numeros;
  Entree()->Genre = Genre;
  Entree()->Ordre = 0;
  for (uint32_t position = Xi::Chercher(t, kOrdreGenreOrdre);
       position >= 1 && Xi::AllerAPosition(t, kOrdreGenreOrdre, position) && Entree()->Genre == Genre; ++position)
    numeros.push_back(Xi::NumeroCourant(t));
  return numeros;
}

// Item 2 of the kind takes order number 1 and the entries before it move down by one.
void Element2EnTete(uint8_t Genre) {
  for (uint32_t numero : EntreesDuGenre(Genre)) {
    if (!Xi::AllerA(Ordres(), numero)) continue;
    const bool element2 = Entree()->Element == 2;
    Entree()->Ordre = element2 ? 1 : Entree()->Ordre + 1;
    (void)Xi::Modifier(Ordres());
    if (element2) break;
  }
}

}  // namespace

void* TableDesOrdres() { return Ordres(); }

void LibererTableDesOrdres() {
  Xi::Detruire(Ordres());
  Ordres() = nullptr;
}

bool CreerTableDesOrdres() {
  LibererTableDesOrdres();
  void*& t = Ordres();
  Xi::Creer(t, 0, sizeof(TypeEntreeOrdre), 2);
  if (t == nullptr) return false;
  TypeEntreeOrdre* e = Entree();
  if (!Xi::DefinirOrdre(t, kOrdreGenreElement, 2, true) ||
      !Xi::DefinirColonne(t, kOrdreGenreElement, 1, &e->Genre, 1, &Comparai::ComparerOctets) ||
      !Xi::DefinirColonne(t, kOrdreGenreElement, 2, &e->Element, 1, &Comparai::ComparerOctets) ||
      !Xi::DefinirOrdre(t, kOrdreGenreOrdre, 2, false) ||
      !Xi::DefinirColonne(t, kOrdreGenreOrdre, 1, &e->Genre, 1, &Comparai::ComparerOctets) ||
      !Xi::DefinirColonne(t, kOrdreGenreOrdre, 2, &e->Ordre, 4, &Comparai::ComparerCardinal)) {
    LibererTableDesOrdres();
    return false;
  }
  return true;
}

bool CreerTableDesOrdresParDefaut() {
  if (!CreerTableDesOrdres()) return false;
  for (uint8_t genre : {0, 1, 2, 5}) {
    uint32_t a = 1, b = 9;
    for (uint8_t element = 0; element <= 7; ++element) {
      if ((genre == 0 && element == 1) || (genre == 5 && element == 3)) {
        --b;
      } else if (element == 4) {
        (void)Inserer(genre, element, a + 1);
        b = a;
        a += 2;
      } else if (element == 7) {
        (void)Inserer(genre, element, b);
      } else {
        (void)Inserer(genre, element, a++);
      }
    }
  }
  Element2EnTete(1);
  Element2EnTete(2);
  return true;
}

bool LireTableDesOrdres(TStream& Flux, uint32_t Majeure, uint32_t Mineure, uint32_t Revision) {
  if (Ordres() == nullptr) return false;
  int32_t nombre = 0, taille = 0;
  bool valide = Flux.Read(&nombre, 4) == 4;
  if (valide && !EstInferieure(Majeure, Mineure, Revision, 3, 0, 11))
    valide = Flux.Read(&taille, 4) == 4 && taille == static_cast<int32_t>(sizeof(TypeEntreeOrdre));
  if (valide && nombre == 0) valide = CreerTableDesOrdresParDefaut();
  for (; valide && nombre > 0; --nombre) {
    TypeEntreeOrdre lue;
    valide = Flux.Read(&lue, sizeof lue) == static_cast<int64_t>(sizeof lue);
    if (!valide) break;
    *Entree() = lue;
    valide = Xi::Inserer(Ordres());
  }
  // Older streams lack items 6 and then 7, and kind 2's item 2, which comes first.
  if (EstInferieure(Majeure, Mineure, Revision, 3, 1, 99))
    for (auto [genre, ordre] : {std::pair<uint8_t, uint32_t>{0, 6}, {1, 7}, {2, 6}, {5, 6}}) (void)Inserer(genre, 6, ordre);
  if (EstInferieure(Majeure, Mineure, Revision, 4, 0, 99)) {
    for (auto [genre, ordre] : {std::pair<uint8_t, uint32_t>{0, 7}, {1, 8}, {2, 7}, {5, 7}}) (void)Inserer(genre, 7, ordre);
    for (uint32_t numero : EntreesDuGenre(2)) {
      if (!Xi::AllerA(Ordres(), numero)) continue;
      ++Entree()->Ordre;
      (void)Xi::Modifier(Ordres());
    }
    (void)Inserer(2, 2, 1);
    Element2EnTete(1);
  }
  return valide;
}

bool EcrireTableDesOrdres(TStream& Flux) {
  void* t = Ordres();
  const int32_t entete[2] = {t != nullptr ? static_cast<int32_t>(Xi::Nombre(t)) : 0,
                             static_cast<int32_t>(sizeof(TypeEntreeOrdre))};
  if (Flux.Write(entete, 8) != 8) return false;
  if (t == nullptr) return true;
  Xi::SauverPosition(t);
  bool ok = true;
  for (bool encore = Xi::Premier(t, kOrdreGenreOrdre); encore && ok; encore = Xi::Suivant(t, kOrdreGenreOrdre))
    ok = Flux.Write(Entree(), sizeof(TypeEntreeOrdre)) == static_cast<int64_t>(sizeof(TypeEntreeOrdre));
  Xi::RestaurerPosition(t);
  return ok;
}

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier());
  return fichier;
}

TypeEnregistrementSite* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

std::string NomSiteParDefaut() {
  std::string nom = Traduction::Traduire("SupEtatNomSiteDefaut");
  if (nom.size() > 30) nom.resize(30);
  return nom;
}

uint32_t SiteParDefaut() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  f.EmpilerPosition();
  FichierSup::EcrireChaineCourte(Article()->Nom, 30, NomSiteParDefaut());
  const uint32_t site = Xi::Trouver(f.Table, kOrdreNom) ? Xi::NumeroCourant(f.Table) : 0;
  f.DepilerPosition();
  return site;
}

uint32_t NumeroDe(uint32_t Site) { return Fichier().ValeurDe(Site, offsetof(E, NumeroSite)); }

uint32_t ArticleDeNumero(uint32_t NumeroSite) { return Fichier().NumeroDeCle(kOrdreNumero, NumeroSite); }

bool NumeroExiste(uint32_t NumeroSite) { return ArticleDeNumero(NumeroSite) != 0; }

bool Existe(uint32_t Site) { return Fichier().Existe(Site); }

bool EstSiteParDefaut() {
  if (Article() == nullptr) return false;
  uint8_t nom[31];
  FichierSup::EcrireChaineCourte(nom, 30, NomSiteParDefaut());
  return Comparai::ComparerChaineCourte(Article()->Nom, nom, 31) == 0;
}

}  // namespace SupSite
