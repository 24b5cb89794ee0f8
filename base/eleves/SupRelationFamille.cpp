#include "base/eleves/SupRelationFamille.h"

#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/eleves/SupFamille.h"
#include "base/eleves/SupSousFamille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"

namespace SupRelationFamille {

namespace {

using E = TypeEnregistrementRelationFamille;

// Below 2.0.19 the subject assignments named no element.
constexpr TypeVersionFormat kLimiteElementMatiere = {2, 0, 19, 0};

void* Table() { return Fichier().Table; }

// The genre of a family (record number), 0xFF when it holds none; the family table's position kept.
uint8_t GenreDeLaFamille(uint32_t Famille) {
  TFichierSup& familles = SupFamille::Fichier();
  if (familles.Table == nullptr) return 0xFF;
  TPositionSauvee position(familles);
  return Xi::AllerA(familles.Table, Famille) ? SupFamille::Article()->Genre : 0xFF;
}

TFichierSup* FichierDeLaFamille(uint32_t Famille) {
  const int32_t place = FichierDuGenre(GenreDeLaFamille(Famille));
  return place == 0 ? nullptr : SupFichiers::Fichier(place);
}

// Old: the layout of the bases below 2.0.19, whose subject assignments load with no element.
template <bool Ancien>
bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  int32_t element, famille, rubrique;
  std::memcpy(&element, s, 4);
  std::memcpy(&famille, s + 4, 4);
  std::memcpy(&rubrique, s + 8, 4);
  const uint32_t numeroRubrique = SupSousFamille::Fichier().NumeroDeIdentifiant(rubrique);
  const uint32_t numeroFamille = SupFamille::Fichier().NumeroDeIdentifiant(famille);
  if (numeroRubrique == 0 || numeroFamille == 0) return false;
  uint32_t numeroElement = 0;
  if (!Ancien || GenreDeLaFamille(numeroFamille) != kGenreMatiere) {
    TFichierSup* elements = FichierDeLaFamille(numeroFamille);
    numeroElement = elements == nullptr ? 0 : elements->NumeroDeIdentifiant(element);
    if (numeroElement == 0) return false;
  }
  Article()->Element = numeroElement;
  Article()->Famille = numeroFamille;
  Article()->Rubrique = numeroRubrique;
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  TFichierSup* elements = FichierDeLaFamille(Article()->Famille);
  const int32_t element = elements == nullptr ? 0 : elements->IdentifiantDe(Article()->Element);
  const int32_t famille = SupFamille::Fichier().IdentifiantDe(Article()->Famille);
  const int32_t rubrique = SupSousFamille::Fichier().IdentifiantDe(Article()->Rubrique);
  std::memcpy(s, &element, 4);
  std::memcpy(s + 4, &famille, 4);
  std::memcpy(s + 8, &rubrique, 4);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupRelationFamille", ".RFM", 0x13, kPlace, kTailleStockee, false,
      {Identifiant(), ReferenceSelon("Element", [](const uint8_t* e) {
         uint32_t famille;
         std::memcpy(&famille, e + offsetof(E, Famille), 4);
         return FichierDuGenre(GenreDeLaFamille(famille));
       }, 0),
       Reference("Famille", SupFamille::kPlace, 4), Reference("Rubrique", SupSousFamille::kPlace, 8)},
      {{true, {"Element", "Famille", "Rubrique"}}, {false, {"Famille", "Element"}}, {false, {"Famille", "Rubrique"}},
       {false, {"Identifiant"}}},
      &Lire<false>, &Ecrire, nullptr, {{kTailleStockee, kLimiteElementMatiere, &Lire<true>}}});
  return d;
}

// The occupancy step of a subject whose headings changed: the current assignment's element, when
// its family classifies subjects.
void SignalerMatiere() {
  if (!Etapes().MatiereModifiee || Article() == nullptr) return;
  if (GenreDeLaFamille(Article()->Famille) == kGenreMatiere) Etapes().MatiereModifiee(Article()->Element);
}

class TFichierRelationsFamille final : public TFichierSup {
 public:
  TFichierRelationsFamille() : TFichierSup(DescriptionFichier(), &SupRelationFamille::ContenuParDefaut) {
    AvantOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      if (Genre == GM_Suppression) SignalerMatiere();
    };
    ApresOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      if (Genre != GM_Suppression) SignalerMatiere();
    };
    SurModification2 = [](TypeGenreModif, int32_t, int32_t) { SignalerMatiere(); };
  }
};

// Walks the records of an order from the buffer's key while Garder keeps them; position kept.
int32_t Parcourir(int32_t Ordre, const std::function<bool()>& Garder, const std::function<int32_t()>& Routine) {
  return Fichier().Visiter(Fichier().NumerosDepuisCle(Ordre, Garder), Routine);
}

}  // namespace

int32_t FichierDuGenre(uint8_t Genre) {
  static constexpr int32_t kFichiers[] = {12, 19, 19, 8, 19, 14, 15};  // .MAT .RES .RES .ELE .RES .CUR .MDL
  return Genre < std::size(kFichiers) ? kFichiers[Genre] : 0;
}

TypeEtapesRelationFamille& Etapes() {
  static TypeEtapesRelationFamille etapes;
  return etapes;
}

TFichierSup& Fichier() {
  static TFichierRelationsFamille fichier;
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
bool ContenuParDefaut() { return CreerRelationsFamilleParDefaut(); }

// --- Walks

int32_t PourChaqueRubriqueDeLElementDuGenre(uint8_t Genre, const std::function<int32_t()>& Routine) {
  const int32_t place = FichierDuGenre(Genre);
  TFichierSup* elements = place == 0 ? nullptr : SupFichiers::Fichier(place);
  if (Table() == nullptr || elements == nullptr || elements->Table == nullptr) return 0;
  const uint32_t element = Xi::NumeroCourant(elements->Table);
  if (element == 0) return 0;
  std::memset(Table(), 0, sizeof(E));
  Article()->Element = element;
  return Parcourir(
      kOrdreElement, [element] { return Article()->Element == element; },
      [&]() -> int32_t {
        if (GenreDeLaFamille(Article()->Famille) != Genre) return 0;
        if (!Xi::AllerA(SupSousFamille::Fichier().Table, Article()->Rubrique) ||
            !Xi::AllerA(SupFamille::Fichier().Table, Article()->Famille))
          return 0;
        return Routine();
      });
}

int32_t PourChaqueRelationDeLaFamilleCourante(const std::function<int32_t()>& Routine) {
  void* familles = SupFamille::Fichier().Table;
  if (Table() == nullptr || familles == nullptr) return 0;
  const uint32_t famille = Xi::NumeroCourant(familles);
  if (famille == 0) return 0;
  std::memset(Table(), 0, sizeof(E));
  Article()->Famille = famille;
  return Parcourir(kOrdreFamilleRubrique, [famille] { return Article()->Famille == famille; }, Routine);
}

int32_t PourChaqueRelationDeLaRubriqueCourante(const std::function<int32_t()>& Routine) {
  void* rubriques = SupSousFamille::Fichier().Table;
  if (Table() == nullptr || rubriques == nullptr) return 0;
  const uint32_t rubrique = Xi::NumeroCourant(rubriques);
  if (rubrique == 0) return 0;
  const uint32_t famille = SupSousFamille::Article()->Famille;
  std::memset(Table(), 0, sizeof(E));
  Article()->Famille = famille;
  Article()->Rubrique = rubrique;
  return Parcourir(
      kOrdreFamilleRubrique,
      [famille, rubrique] { return Article()->Famille == famille && Article()->Rubrique == rubrique; }, Routine);
}

// --- Requests

bool CreerRelationsFamilleParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerRelationsFamilleParDefaut); }

bool CreerRelationFamille(uint32_t Rubrique, uint32_t Element) {
  TFichierSup& rubriques = SupSousFamille::Fichier();
  if (Table() == nullptr || rubriques.Table == nullptr) return false;
  // The heading and the element must exist: an assignment of neither would be refused by every
  // reader of the file.
  uint32_t famille = 0;
  int32_t identifiantRubrique = 0;
  {
    TPositionSauvee position(rubriques);
    if (!Xi::AllerA(rubriques.Table, Rubrique)) return false;
    famille = SupSousFamille::Article()->Famille;
    identifiantRubrique = rubriques.IdentifiantCourant();
  }
  TFichierSup* elements = FichierDeLaFamille(famille);
  if (elements == nullptr || !elements->Existe(Element)) return false;
  {
    TPositionSauvee position(Fichier());
    std::memset(Table(), 0, sizeof(E));
    Article()->Famille = famille;
    Article()->Element = Element;
    if (Xi::Trouver(Table(), kOrdreFamilleElement)) return false;
  }
  TPositionSauvee position(rubriques);
  int32_t donnees[2] = {elements->IdentifiantDe(Element), identifiantRubrique};
  return Fichier().Creer(kCodeCreerRelationFamille, donnees, sizeof donnees, [&] {
    Article()->Element = Element;
    Article()->Famille = famille;
    Article()->Rubrique = Rubrique;
  });
}

bool SupprimerRelationFamille() {
  if (Table() != nullptr) (void)Fichier().Supprimer(kCodeSupprimerRelationFamille);
  return false;
}

bool EnleverRubriqueDeLElement(uint32_t Famille, uint32_t Element) {
  if (Table() == nullptr) return false;
  TPositionSauvee position(Fichier());
  std::memset(Table(), 0, sizeof(E));
  Article()->Famille = Famille;
  Article()->Element = Element;
  if (Xi::Trouver(Table(), kOrdreFamilleElement)) (void)SupprimerRelationFamille();
  return false;
}

void SupprimerRelationsFamilleElementDuGenre(uint32_t Element, uint8_t Genre) {
  if (Table() == nullptr) return;
  SupTraitement::TraitementEmpile code(kCodeSupprimerRelationsFamilleElementDuGenre);
  const int32_t place = FichierDuGenre(Genre);
  TFichierSup* elements = place == 0 ? nullptr : SupFichiers::Fichier(place);
  if (NetClient::PasserParServeur()) {
    uint8_t donnees[8] = {Genre};
    const int32_t identifiant = elements == nullptr ? 0 : elements->IdentifiantDe(Element);
    std::memcpy(donnees + 4, &identifiant, 4);
    (void)NetClient::EnvoyerRequeteServeur(kCodeSupprimerRelationsFamilleElementDuGenre, 0, sizeof donnees, donnees,
                                           false, nullptr);
    return;
  }
  if (elements == nullptr || !elements->Existe(Element)) return;
  TPositionSauvee position(*elements);
  if (!Xi::AllerA(elements->Table, Element)) return;
  (void)PourChaqueRubriqueDeLElementDuGenre(Genre, [] {
    (void)SupprimerRelationFamille();
    return 0;
  });
}

}  // namespace SupRelationFamille
