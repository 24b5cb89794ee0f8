#include "base/eleves/SupFamille.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/SupParam.h"
#include "base/SupTraitement.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/eleves/SupSousFamille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SuppressionSelection.h"
#include "core/records/Xi.h"
#include "core/values/ChaineUnicode.h"
#include "net/NetClient.h"

namespace SupFamille {

namespace {

using E = TypeEnregistrementFamille;

// The conversions of the stored genre, oldest first: below 2.0.3, 2.0.86, 2.0.103, 4.0.3, 4.0.99;
// the last one is the current layout's.
constexpr std::size_t kEtapes = 6, kCourante = kEtapes - 1;
constexpr TypeVersionFormat kLimites[kCourante] = {{2, 0, 3, 0}, {2, 0, 86, 0}, {2, 0, 103, 0}, {4, 0, 3, 0},
                                                   {4, 0, 99, 0}};

// The genres of 4.0.3 to 4.0.98, top bit cleared; a value it does not know gives 0.
uint8_t GenreM(uint8_t Stocke) {
  static constexpr uint8_t kGenres[] = {0, 1, 2, 3, 1, 4, 1};
  const uint8_t v = Stocke & 0x7F;
  return v < std::size(kGenres) ? kGenres[v] : 0;
}

// Below 4.0.3: 3 was a diploma family and 4 a room family.
uint8_t GenreAncien(uint8_t Stocke) { return Stocke == 3 ? 2 : Stocke == 4 ? 4 : GenreM(Stocke); }

bool Convertir(std::size_t Etape, bool ModeCFA, uint8_t Stocke, const std::string& Nom, uint8_t& Genre,
               bool& RenommerCFA) {
  RenommerCFA = false;
  switch (Etape) {
    case 0:
      // The oldest bases knew three genres only; another value would name no file of records.
      if (Stocke != 0 && Stocke != 2 && Stocke != 5) return false;
      Genre = Stocke == 0 ? kGenreEnseignant : Stocke == 2 ? kGenreDiplome : kGenreSalle;
      return true;
    case 1:
    case 2:
      RenommerCFA = ModeCFA && ChaineUnicode::Minuscules1252(Nom) == (Etape == 1 ? "faf" : "cfa");
      [[fallthrough]];
    case 3:
      Genre = GenreAncien(Stocke);
      return true;
    case 4:
      Genre = GenreM(Stocke);
      return true;
    default:
      Genre = Stocke;
      return Stocke <= kGenreModule;
  }
}

template <std::size_t D>
bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  const std::string nom = FichierSup::LireChaineCourte(s + 1, 13);
  uint8_t genre = 0;
  bool renommer = false;
  if (!Convertir(D, SupParam::ModeCFA(), s[0], nom, genre, renommer)) return false;
  Article()->Genre = genre;
  FichierSup::EcrireChaineCourte(Article()->Nom, 13, renommer ? "CFA" : nom);
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  s[0] = Article()->Genre;
  FichierSup::CopierChaineCourte(s + 1, 13, Article()->Nom, 13);
  return true;
}

template <std::size_t... D>
std::vector<TypeDispositionStockee> Anciennes(std::index_sequence<D...>) {
  return {{kTailleStockee, kLimites[D], &Lire<D>}...};
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupFamille", ".FMR", 0x0B, kPlace, kTailleStockee, false,
      {Identifiant(), Octet("Genre", 0), Chaine("Nom", 13, 1)},
      {{true, {{"Genre", &Comparai::ComparerOctets}, "Nom"}}, {false, {"Identifiant"}}},
      &Lire<kCourante>, &Ecrire, nullptr, Anciennes(std::make_index_sequence<kCourante>())});
  return d;
}

void* Table() { return Fichier().Table; }

std::vector<uint32_t> FamillesDuGenre(uint8_t Genre) {
  if (!AllerAuDebutDuGenre(Genre)) return {};
  return Fichier().NumerosDepuisCle(kOrdreGenreNom, [Genre] { return Article()->Genre == Genre; });
}

}  // namespace

bool ConvertirGenre(const TypeVersionFormat& Version, bool ModeCFA, uint8_t Stocke, const std::string& Nom,
                    uint8_t& Genre, bool& RenommerCFA) {
  std::size_t etape = 0;
  while (etape < kCourante && !Version::EstInferieureA(Version, kLimites[etape])) ++etape;
  return Convertir(etape, ModeCFA, Stocke, Nom, Genre, RenommerCFA);
}

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &SupFamille::ContenuParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

// --- Housekeeping

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherFamilleParNumero(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerFamillesParDefaut(); }

// --- Reads

bool ChercherFamille(const std::string& Nom, uint8_t Genre) {
  if (Table() == nullptr) return false;
  Article()->Genre = Genre;
  FichierSup::EcrireChaineCourte(Article()->Nom, 13, Nom);
  return Xi::Trouver(Table(), kOrdreGenreNom);
}

bool AllerAuDebutDuGenre(uint8_t Genre) {
  if (Table() == nullptr) return false;
  std::memset(Table(), 0, sizeof(E));
  Article()->Genre = Genre;
  (void)Xi::Chercher(Table(), kOrdreGenreNom);
  return Xi::XiStatut != Xi::kStatutAucun && Article()->Genre == Genre;
}

bool EstFamilleCFA() {
  return SupParam::ModeCFA() && Article() != nullptr && FichierSup::LireChaineCourte(Article()->Nom, 13) == "CFA";
}

// The walks keep the position whatever GarderPosition says.
int32_t PourChaqueFamille(const std::function<int32_t()>& Routine, bool) {
  return Fichier().Visiter(Fichier().NumerosDepuisCle(0, [] { return true; }), Routine);
}

int32_t PourChaqueFamilleDuGenre(uint8_t Genre, const std::function<int32_t()>& Routine, bool) {
  if (Table() == nullptr) return 0;
  TPositionSauvee position(Fichier());
  return Fichier().Visiter(FamillesDuGenre(Genre), Routine);
}

uint32_t NombreDeFamillesDuGenre(uint8_t Genre) {
  if (Table() == nullptr) return 0;
  TPositionSauvee position(Fichier());
  return static_cast<uint32_t>(FamillesDuGenre(Genre).size());
}

uint32_t RangDeLaFamille() {
  if (Table() == nullptr || Xi::NumeroCourant(Table()) == 0) return 1;
  TPositionSauvee position(Fichier());
  const uint32_t rang = Xi::Position(Table(), kOrdreGenreNom);
  if (!AllerAuDebutDuGenre(Article()->Genre)) return 1;
  return rang - Xi::Position(Table(), kOrdreGenreNom) + 1;
}

// --- Requests

bool CreerFamillesParDefaut() {
  return Fichier().ContenuParDefaut(kCodeCreerFamillesParDefaut, [] {
    if (!SupParam::ModeCFA()) return;
    if (ChercherFamille("CCCA", kGenreMatiere)) {
      TypeEnregistrementFamille famille = *Article();
      FichierSup::EcrireChaineCourte(famille.Nom, 13, "CFA");
      (void)ModifierFamille(famille);
    } else {
      (void)CreerFamille(kGenreMatiere, "CFA");
    }
  });
}

bool CreerFamille(uint8_t Genre, const std::string& Nom) {
  if (Table() == nullptr) return false;
  uint8_t donnees[kTailleStockee] = {Genre};
  FichierSup::EcrireChaineCourte(donnees + 1, 13, Nom);
  return Fichier().Creer(kCodeCreerFamille, donnees, sizeof donnees, [&] {
    Article()->Genre = Genre;
    std::memcpy(Article()->Nom, donnees + 1, 14);
  });
}

bool ModifierFamille(const TypeEnregistrementFamille& Famille) {
  if (Table() == nullptr) return false;
  uint8_t donnees[kTailleStockee] = {Famille.Genre};
  FichierSup::CopierChaineCourte(donnees + 1, 13, Famille.Nom, 13);
  return Fichier().Modifier(kCodeModifierFamille, donnees, sizeof donnees, [&] {
    Article()->Genre = donnees[0];
    std::memcpy(Article()->Nom, donnees + 1, 14);
  });
}

bool ModifierNomFamille(const std::string& Nom) {
  if (Table() == nullptr) return false;
  uint8_t nom[14];
  FichierSup::EcrireChaineCourte(nom, 13, Nom);
  return Fichier().Modifier(kCodeModifierNomFamille, nom, sizeof nom,
                            [&] { std::memcpy(Article()->Nom, nom, sizeof nom); });
}

bool SupprimerFamille() {
  if (Table() == nullptr || EstFamilleCFA()) return false;
  (void)Fichier().Supprimer(kCodeSupprimerFamille, [] {
    (void)SupRelationFamille::PourChaqueRelationDeLaFamilleCourante([] {
      (void)SupRelationFamille::SupprimerRelationFamille();
      return 0;
    });
    (void)SupSousFamille::PourChaqueSousFamilleDeLaFamille([] { return SupSousFamille::SupprimerSousFamille(); },
                                                           true);
  });
  return false;
}

bool SupprimerFamilleParNumero(uint32_t NumeroArticle) {
  if (Table() == nullptr) return false;
  TPositionSauvee position(Fichier());
  if (!Xi::AllerA(Table(), NumeroArticle)) return false;
  (void)SupprimerFamille();
  return !Fichier().Existe(NumeroArticle);
}

bool SupprimerTableauFamilles(TypeEnsembleMemoire& Ensemble) {
  if (Ensemble.Nombre == 0 || Table() == nullptr) return true;
  SupTraitement::TraitementEmpile code(kCodeSupprimerTableauFamilles);
  TPositionSauvee position(Fichier());
  if (NetClient::PasserParServeur())
    return SuppressionSelection::EnvoyerSelection(Fichier(), kCodeSupprimerTableauFamilles, Ensemble);
  return SuppressionSelection::SupprimerLocalement(Fichier(), Ensemble, &SupprimerFamilleParNumero, true);
}

}  // namespace SupFamille
