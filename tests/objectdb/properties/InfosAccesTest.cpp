// Computed fields: values found by following references forward and back along an access path,
// cached per row, stale after a change of a column the path reads, and controllers that leave the
// columns they listen to when they go.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfString.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/articles/Article.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"
#include "objectdb/tables/Table.h"

namespace {

class TVille : public TArticle {
  NV_DECLARE_CLASS(TVille)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TVille, TArticle, kProprietes)

class TEcole : public TArticle {
  NV_DECLARE_CLASS(TEcole)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Ville", "TVille", tkClass, [] { return TVille::StaticClass(); }, 0, true},
      {"NomVille", "String", tkLString, nullptr, 1, true},
      {"Eleves", "TObject", tkClass, nullptr, 2, true},
      {"NomsEleves", "TObject", tkClass, nullptr, 3, true},
      {"ElevesSaufLou", "TObject", tkClass, nullptr, 4, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TEcole, TArticle, kProprietes)

class TInscrit : public TArticle {
  NV_DECLARE_CLASS(TInscrit)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Ecole", "TEcole", tkClass, [] { return TEcole::StaticClass(); }, 1, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TInscrit, TArticle, kProprietes)

constexpr int32_t kVille = 0, kNomVille = 1, kEleves = 2, kNomsEleves = 3, kElevesSaufLou = 4;

// Keeps the pupils whose name is not "Lou".
class TFiltreSaufLou : public TCustomFiltreArticle {
 public:
  TFiltreSaufLou() : TCustomFiltreArticle(false, false) {}
  bool Accepter(TChampReference*) override {
    TArticle* article = GetArticle();
    return article != nullptr && article->GetChampString(0) != "Lou";
  }
};

// The paths of the school's computed fields, given for the life of the object (the registry is the
// process's: the other tests must not see them). Tables of the class live within that life.
struct Chemins {
  Chemins() {
    TReferentiel::EnregistrerClasse(TEcole::StaticClass());
    TReferentiel::EnregistrerClasse(TInscrit::StaticClass());
    auto chemin = [](std::vector<TypeItemInfoAcces> etapes) {
      auto* c = new TInfosAcces(32, true, false);
      for (const TypeItemInfoAcces& e : etapes) c->Ajouter(e);
      return c;
    };
    // The town's name, through the school's reference.
    Champ(kNomVille)->SetInfosAcces(chemin({{TEcole::StaticClass(), kVille, nullptr}, {TVille::StaticClass(), 0, nullptr}}));
    // The pupils that refer to the school.
    Champ(kEleves)->SetInfosAcces(chemin({{TInscrit::StaticClass(), 1, nullptr}}));
    // Their names.
    Champ(kNomsEleves)->SetInfosAcces(
        chemin({{TInscrit::StaticClass(), 1, nullptr}, {TInscrit::StaticClass(), 0, nullptr}}));
    // Those the filter accepts.
    Champ(kElevesSaufLou)->SetInfosAcces(chemin({{TInscrit::StaticClass(), 1, new TFiltreSaufLou}}));
  }
  ~Chemins() {
    for (int32_t c : {kNomVille, kEleves, kNomsEleves, kElevesSaufLou}) Champ(c)->SetInfosAcces(nullptr);
  }
  static TChampPublie* Champ(int32_t Numero) {
    return TReferentiel::Noeud(TEcole::StaticClass())->ChampsPropres->Champ(Numero);
  }
};

struct Ecoles {
  Chemins chemins;
  TBase base;
  std::unique_ptr<TTable> villes, ecoles, inscrits;

  Ecoles() {
    villes = std::make_unique<TTable>(TVille::StaticClass(), &base, true, 16);
    ecoles = std::make_unique<TTable>(TEcole::StaticClass(), &base, true, 16);
    inscrits = std::make_unique<TTable>(TInscrit::StaticClass(), &base, true, 16);
    for (const char* nom : {"Lyon", "Nantes"}) Nom(*villes, Ligne(*villes), nom);
    for (int i = 0; i < 2; ++i) Ligne(*ecoles);
    static_cast<TChampReference*>(ecoles->GetChamp(kVille))->SetReference(1, villes.get(), 0);  // school 1: none
    for (const char* nom : {"Ana", "Lou", "Zoe", "Max"}) Nom(*inscrits, Ligne(*inscrits), nom);
    auto* ecole = static_cast<TChampReference*>(inscrits->GetChamp(1));
    for (int32_t i : {0, 1, 3}) ecole->SetReference(0, ecoles.get(), i);
    ecole->SetReference(1, ecoles.get(), 2);
  }
  static int32_t Ligne(TCustomTable& t) {
    int32_t l = -1;
    EXPECT_TRUE(t.AllouerLigne(l));
    return l;
  }
  static void Nom(TCustomTable& t, int32_t l, const std::string& nom) {
    static_cast<TChampString*>(t.GetChamp(0))->SetValeur(l, nom);
  }
  TChampString* NomVille() { return static_cast<TChampString*>(ecoles->GetChamp(kNomVille)); }
  TChampObject* Objet(int32_t colonne) { return static_cast<TChampObject*>(ecoles->GetChamp(colonne)); }
};

// Counts the notifications it receives.
class TCompteur : public TObjetAbonne {
 public:
  bool Recevoir(TObject*, TypeEventId, TObject*) override {
    ++Nombre;
    return true;
  }
  int Nombre = 0;
};

}  // namespace

TEST(InfosAcces, AForwardPathReadsTheReferencedArticlesColumnAndNothingForANullReference) {
  Ecoles e;
  EXPECT_TRUE(e.NomVille()->EstCalcule());
  EXPECT_FALSE(e.ecoles->GetChamp(kVille)->EstCalcule());
  EXPECT_EQ(e.NomVille()->GetValeur(0), "Nantes");
  EXPECT_EQ(e.NomVille()->GetValeur(1), "");
  std::string texte;
  e.NomVille()->TexteValeur(0, texte);
  EXPECT_EQ(texte, "Nantes");
}

TEST(InfosAcces, AValueIsComputedOnceAndAgainAfterAChangeOfAColumnOnThePath) {
  Ecoles e;
  ASSERT_EQ(e.NomVille()->GetValeur(0), "Nantes");
  EXPECT_FALSE(e.NomVille()->LigneACalculer(0));
  EXPECT_FALSE(e.NomVille()->CalculsPerimes());
  // A store that publishes nothing leaves the cached value.
  Ecoles::Nom(*e.villes, 1, "Rennes");
  EXPECT_EQ(e.NomVille()->GetValeur(0), "Nantes");
  // A row copy publishes: the values go stale and are computed again.
  auto* noms = static_cast<TChampString*>(e.villes->GetChamp(0));
  noms->CopierValeur(noms, 0, 1);
  EXPECT_TRUE(e.NomVille()->CalculsPerimes());
  EXPECT_EQ(e.NomVille()->GetValeur(0), "Lyon");
  EXPECT_FALSE(e.NomVille()->CalculsPerimes());
  // So does a freed row: nothing is reached any more.
  ASSERT_TRUE(e.villes->LibererLigne(2));
  EXPECT_EQ(e.NomVille()->GetValeur(0), "");
}

TEST(InfosAcces, ABackwardStepGathersTheArticlesReferringToTheCurrentOne) {
  Ecoles e;
  auto* eleves = dynamic_cast<TListeArticles*>(e.Objet(kEleves)->GetValeur(0));
  ASSERT_NE(eleves, nullptr);
  std::set<uint32_t> lignes;
  for (int32_t i = 0; i < eleves->GetNombreElements(); ++i) {
    EXPECT_EQ(eleves->GetElement(i).Table, e.inscrits.get());
    lignes.insert(eleves->GetElement(i).IndiceArticle);
  }
  EXPECT_EQ(lignes, (std::set<uint32_t>{0, 1, 3}));
  auto* saufLou = dynamic_cast<TListeArticles*>(e.Objet(kElevesSaufLou)->GetValeur(0));
  ASSERT_NE(saufLou, nullptr);
  EXPECT_EQ(saufLou->GetNombreElements(), 2);
  for (int32_t i = 0; i < saufLou->GetNombreElements(); ++i) EXPECT_NE(saufLou->GetElement(i).IndiceArticle, 1u);
  // Through a last step on a value column, the reached articles' values.
  auto* noms = dynamic_cast<TArrayOfString*>(e.Objet(kNomsEleves)->GetValeur(0));
  ASSERT_NE(noms, nullptr);
  std::multiset<std::string> valeurs;
  for (int32_t i = 0; i < noms->GetNombreElements(); ++i) valeurs.insert(noms->GetElement(i));
  EXPECT_EQ(valeurs, (std::multiset<std::string>{"Ana", "Lou", "Max"}));
  EXPECT_EQ(e.Objet(kEleves)->GetValeur(1), e.Objet(kEleves)->GetValeur(1));
  auto* seul = dynamic_cast<TListeArticles*>(e.Objet(kEleves)->GetValeur(1));
  ASSERT_NE(seul, nullptr);
  EXPECT_EQ(seul->GetNombreElements(), 1);
  // A pupil changes school and the column says so: the lists are computed again, the old ones freed.
  auto* ecole = static_cast<TChampReference*>(e.inscrits->GetChamp(1));
  ecole->SetReference(1, e.ecoles.get(), 3);
  ecole->Notifier(ecole->EventId, nullptr);
  auto* apres = dynamic_cast<TListeArticles*>(e.Objet(kEleves)->GetValeur(1));
  ASSERT_NE(apres, nullptr);
  EXPECT_EQ(apres->GetNombreElements(), 2);
  EXPECT_EQ(dynamic_cast<TArrayOfString*>(e.Objet(kNomsEleves)->GetValeur(0))->GetNombreElements(), 2);
}

TEST(InfosAcces, TheControllerLetsOtherSubscribersHearAndLeavesTheColumnsWhenFreed) {
  Ecoles e;
  auto* noms = static_cast<TChampString*>(e.villes->GetChamp(0));
  ASSERT_EQ(e.NomVille()->GetValeur(0), "Nantes");
  TCompteur compteur;
  noms->Abonner(&compteur, {noms->EventId});
  noms->CopierValeur(noms, 0, 1);
  EXPECT_EQ(compteur.Nombre, 1);
  EXPECT_TRUE(e.NomVille()->CalculsPerimes());
  // The schools' table goes with its controllers; the towns' column is still notified safely.
  e.ecoles.reset();
  EXPECT_EQ(noms->NombreAbonnes(), 1);
  noms->CopierValeur(noms, 1, 0);
  EXPECT_EQ(compteur.Nombre, 2);
  noms->Desabonner(&compteur);
}

namespace {
// A table whose rows designate no article, as a transient row without origin does.
class TTableSansOrigine : public TCustomTable {
 public:
  using TCustomTable::TCustomTable;
  void ReferenceLigne(int32_t, TypeReferenceArticle& Reference) override {
    Reference = ReferenceArticle::ReferenceArticleNulle;
  }
};
}  // namespace

TEST(InfosAcces, ARowThatDesignatesNoArticleKeepsItsOwnValue) {
  Chemins chemins;
  TTableSansOrigine ecoles(TEcole::StaticClass(), nullptr, 16);
  const int32_t l = Ecoles::Ligne(ecoles);
  auto* nomVille = static_cast<TChampString*>(ecoles.GetChamp(kNomVille));
  EXPECT_EQ(nomVille->GetValeur(l), "");
  nomVille->SetValeur(l, "Brest");
  EXPECT_EQ(nomVille->GetValeur(l), "Brest");
}

TEST(InfosAcces, ATransientCopyReadsItsOriginsValueAndOneWithoutOriginItsOwn) {
  Ecoles e;
  TArticle* copie = TArticle::CreerTransitoire(TEcole::StaticClass(), e.ecoles.get(), 1);
  ASSERT_NE(copie, nullptr);
  EXPECT_EQ(copie->GetChampString(kNomVille), "Nantes");
  TArticle* neuf = TArticle::CreerTransitoire(TEcole::StaticClass(), nullptr, static_cast<int32_t>(kAucuneLigne));
  ASSERT_NE(neuf, nullptr);
  EXPECT_EQ(neuf->GetChampString(kNomVille), "");
  neuf->SetChampString(kNomVille, "Brest");
  EXPECT_EQ(neuf->GetChampString(kNomVille), "Brest");
  copie->RestituerTransitoire();
  neuf->RestituerTransitoire();
}

TEST(InfosAcces, AnIndexOnAComputedColumnPlacesItsRowsAgainWhenTheValuesGoStale) {
  Ecoles e;
  const auto troisieme = static_cast<uint32_t>(Ecoles::Ligne(*e.ecoles));
  static_cast<TChampReference*>(e.ecoles->GetChamp(kVille))->SetReference(0, e.villes.get(), static_cast<int32_t>(troisieme));
  TIndex parVille("ParVille", e.ecoles.get(), std::vector<TypeDefinitionCle>{{kNomVille, false, 0}}, ruiSansRegle);
  auto ordre = [&] {
    std::vector<uint32_t> lignes;
    for (int32_t p = 1; p <= 3; ++p) lignes.push_back(parVille.LigneDePosition(p));
    return lignes;
  };
  EXPECT_EQ(ordre(), (std::vector<uint32_t>{1, troisieme, 0}));  // "", "Lyon", "Nantes"
  auto* noms = static_cast<TChampString*>(e.villes->GetChamp(0));
  Ecoles::Nom(*e.villes, 1, "Angers");
  noms->CopierValeur(noms, 1, 1);  // publishes the change
  EXPECT_EQ(ordre(), (std::vector<uint32_t>{1, 0, troisieme}));  // "", "Angers", "Lyon"
}
