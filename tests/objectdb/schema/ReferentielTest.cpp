// The schema registry's core: class nodes made with their parents and numbered, field lists with
// the ancestors' fields first, and the registration of tables per base up to the root.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "objectdb/articles/Article.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

namespace {

class TPersonne : public TArticle {
  NV_DECLARE_CLASS(TPersonne)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TPersonne, TArticle, kProprietes)

class TProfesseur : public TPersonne {
  NV_DECLARE_CLASS(TProfesseur)
 public:
  using TPersonne::TPersonne;
  static constexpr TInfoPropriete kProprietes[] = {{"Heures", "Integer", tkInteger, nullptr, 1, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TProfesseur, TPersonne, kProprietes)

class TSalle : public TArticle {
  NV_DECLARE_CLASS(TSalle)
 public:
  using TArticle::TArticle;
};
NV_DEFINE_CLASS(TSalle, TArticle)

class TBaseEcole : public TBase {
  NV_DECLARE_CLASS(TBaseEcole)
 public:
  using TBase::TBase;
};
NV_DEFINE_CLASS(TBaseEcole, TBase)

// Two classes that refer to each other, and one that refers to itself.
const TClass* ClasseRetour();
class TAller : public TArticle {
  NV_DECLARE_CLASS(TAller)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Retour", "TRetour", tkClass, [] { return ClasseRetour(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TAller, TArticle, kProprietes)

class TRetour : public TArticle {
  NV_DECLARE_CLASS(TRetour)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Aller", "TAller", tkClass, [] { return TAller::StaticClass(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TRetour, TArticle, kProprietes)
const TClass* ClasseRetour() { return TRetour::StaticClass(); }

const TClass* ClasseChainon();
class TChainon : public TArticle {
  NV_DECLARE_CLASS(TChainon)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Suivant", "TChainon", tkClass, [] { return ClasseChainon(); }, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TChainon, TArticle, kProprietes)
const TClass* ClasseChainon() { return TChainon::StaticClass(); }

std::string Libelles(TListeChampsPublies* liste) {
  std::string s;
  for (int32_t i = 0; i < liste->GetNombreElements(); ++i) s += (i ? "," : "") + liste->Champ(i)->Libelle;
  delete liste;
  return s;
}

const TypeBaseEtTable* Entree(const TClass* Classe, TBase* Base) { return TReferentiel::Noeud(Classe)->Entree(Base); }

}  // namespace

TEST(Referentiel, ASubclassListsItsParentsFieldsFirstAndAnUnknownClassNone) {
  ASSERT_TRUE(TReferentiel::EnregistrerClasse(TProfesseur::StaticClass()));
  TNoeudReferentiel* professeur = TReferentiel::Noeud(TProfesseur::StaticClass());
  TNoeudReferentiel* personne = TReferentiel::Noeud(TPersonne::StaticClass());
  ASSERT_NE(professeur, nullptr);
  EXPECT_EQ(professeur->Parent(), personne);
  EXPECT_EQ(personne->Parent(), TReferentielManager::Racine());
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TProfesseur::StaticClass())), "Nom,Heures");
  EXPECT_EQ(Libelles(professeur->ChampsPublies()), "Nom,Heures");
  EXPECT_EQ(professeur->ChampsPropres->GetNombreElements(), 1);
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TObject::StaticClass())), "");
  EXPECT_EQ(TReferentiel::InfosAcces(TProfesseur::StaticClass(), 1), nullptr);
  EXPECT_EQ(TReferentiel::InfosAcces(TProfesseur::StaticClass(), 5), nullptr);
  // Registering again makes nothing new.
  ASSERT_TRUE(TReferentiel::EnregistrerClasse(TProfesseur::StaticClass()));
  EXPECT_EQ(TReferentiel::Noeud(TProfesseur::StaticClass()), professeur);
}

TEST(Referentiel, NodesAreNumberedByDepthAndSiblingPositionAndOrderedByBranch) {
  TReferentiel::EnregistrerClasse(TProfesseur::StaticClass());
  TReferentiel::EnregistrerClasse(TSalle::StaticClass());
  TNoeudReferentiel* racine = TReferentielManager::Racine();
  TNoeudReferentiel* personne = TReferentiel::Noeud(TPersonne::StaticClass());
  TNoeudReferentiel* professeur = TReferentiel::Noeud(TProfesseur::StaticClass());
  TNoeudReferentiel* salle = TReferentiel::Noeud(TSalle::StaticClass());
  EXPECT_EQ(racine->Adresse(), "0");
  EXPECT_EQ(professeur->Niveau, 2);
  EXPECT_EQ(professeur->Adresse(), personne->Adresse() + ".0");
  EXPECT_EQ(racine->NoeudFils(0)->Adresse(), "0.0");
  ASSERT_LT(personne->Id, salle->Id);
  EXPECT_EQ(professeur->Comparer(salle), 1);
  EXPECT_EQ(salle->Comparer(professeur), -1);
  EXPECT_EQ(professeur->Comparer(personne), 0);
  std::string resume;
  professeur->TracerResume(resume);
  EXPECT_EQ(resume, "Classe = TProfesseur; Adresse = " + professeur->Adresse() + "; Nombre champs = 1; Nombre tables = 0");
}

TEST(Referentiel, ATableInABaseIsRecordedUpToTheRootAndFreeingItRemovesEveryEntry) {
  TBaseEcole base;
  {
    TCustomTable table(TProfesseur::StaticClass(), &base, 1024);
    ASSERT_NE(Entree(TProfesseur::StaticClass(), &base), nullptr);
    EXPECT_EQ(Entree(TProfesseur::StaticClass(), &base)->Table, &table);
    EXPECT_EQ(Entree(TPersonne::StaticClass(), &base)->Table, nullptr);
    EXPECT_NE(Entree(TArticle::StaticClass(), &base), nullptr);
    EXPECT_TRUE(TReferentiel::Noeud(TProfesseur::StaticClass())->ClassesDeBases->Contient(TBaseEcole::StaticClass()));
    EXPECT_EQ(TReferentielManager::Racine()->CompterTables(&base), 1);
  }
  EXPECT_EQ(Entree(TProfesseur::StaticClass(), &base), nullptr);
  EXPECT_EQ(Entree(TPersonne::StaticClass(), &base), nullptr);
  EXPECT_EQ(Entree(TArticle::StaticClass(), &base), nullptr);
}

TEST(Referentiel, ASecondTableOfAClassInTheSameBaseStaysOutAndItsEndLeavesTheFirstRegistered) {
  TBase base;
  TCustomTable premiere(TSalle::StaticClass(), &base, 1024);
  {
    TCustomTable seconde(TSalle::StaticClass(), &base, 1024);
    EXPECT_EQ(Entree(TSalle::StaticClass(), &base)->Table, &premiere);
    EXPECT_FALSE(TReferentiel::AjouterTable(&seconde));
  }
  ASSERT_NE(Entree(TSalle::StaticClass(), &base), nullptr);
  EXPECT_EQ(Entree(TSalle::StaticClass(), &base)->Table, &premiere);
  // A plain base's class is not recorded.
  EXPECT_FALSE(TReferentiel::Noeud(TSalle::StaticClass())->ClassesDeBases->Contient(TBase::StaticClass()));
}

TEST(Referentiel, ReferenceColumnsAreRecordedOncePerReferencedClass) {
  TReferentiel::EnregistrerClasse(TSalle::StaticClass());
  TChampInteger a("a", nullptr, {1024}, false), b("b", nullptr, {1024}, false);
  TReferentiel::AjouterChampReference(&a, TSalle::StaticClass());
  TReferentiel::AjouterChampReference(&b, TSalle::StaticClass());
  TReferentiel::AjouterChampReference(&a, TSalle::StaticClass());
  TArrayOfChamp* champs = TReferentiel::Noeud(TSalle::StaticClass())->ChampsReferencants;
  ASSERT_NE(champs, nullptr);
  EXPECT_EQ(champs->GetNombreElements(), 2);
  TReferentiel::RetirerChampReference(&a, TSalle::StaticClass());
  TReferentiel::RetirerChampReference(&b, TSalle::StaticClass());
  EXPECT_EQ(champs->GetNombreElements(), 0);
}

// ---------------------------------------------------------------------------------------------------
// Walks

namespace {

std::set<TObject*> Ensemble(TObjectList* liste) {
  std::set<TObject*> s;
  for (int i = 0; i < liste->Count(); ++i) s.insert(liste->Items(i));
  delete liste;
  return s;
}

// Stops the walk at the first table.
class TArreterAuPremier : public TCustomTraiterInstance {
 public:
  bool Traiter(TObject* Instance) override {
    Vue = Instance;
    return true;
  }
  TObject* Vue = nullptr;
};

}  // namespace

TEST(Referentiel, TheTableWalkOfABaseFindsItsTablesAndWithoutBaseEveryTableOfEveryEntry) {
  TBaseEcole ecole, autre;
  TCustomTable personnes(TPersonne::StaticClass(), &ecole, 16);
  TCustomTable salles(TSalle::StaticClass(), &ecole, 16);
  TCustomTable sallesAutre(TSalle::StaticClass(), &autre, 16);
  TCustomTable sallesSansBase(TSalle::StaticClass(), nullptr, 16);

  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TArticle::StaticClass(), &ecole)),
            (std::set<TObject*>{&personnes, &salles}));
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TSalle::StaticClass(), &autre)), (std::set<TObject*>{&sallesAutre}));
  // Without a base: every table of the class, the one without base (its first entry) included.
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TSalle::StaticClass(), nullptr)),
            (std::set<TObject*>{&salles, &sallesAutre, &sallesSansBase}));
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TProfesseur::StaticClass(), &ecole)), std::set<TObject*>{});
  EXPECT_EQ(Ensemble(TReferentiel::TablesDeClasse(TObject::StaticClass(), &ecole)), std::set<TObject*>{});

  TArreterAuPremier arret;
  arret.DesinscrireRamasseMiettes();
  EXPECT_EQ(TReferentiel::TraiterTables(&arret, &autre), 1);
  EXPECT_EQ(arret.Vue, &sallesAutre);
}

TEST(Referentiel, DeletingTheTablesOfABaseFreesThemAndLeavesTheOtherBasesTables) {
  TBaseEcole ecole;
  new TCustomTable(TProfesseur::StaticClass(), &ecole, 16);
  new TCustomTable(TSalle::StaticClass(), &ecole, 16);
  TCustomTable sansBase(TSalle::StaticClass(), nullptr, 16);
  ASSERT_EQ(TReferentielManager::Racine()->CompterTables(&ecole), 2);

  EXPECT_TRUE(TReferentiel::SupprimerTables(&ecole));
  EXPECT_EQ(TReferentielManager::Racine()->CompterTables(&ecole), 0);
  EXPECT_EQ(Entree(TArticle::StaticClass(), &ecole), nullptr);
  EXPECT_EQ(Entree(TSalle::StaticClass(), nullptr)->Table, &sansBase);
}

TEST(Referentiel, ClassesReferringToEachOtherOrToThemselvesGetOneNodeEach) {
  // The referenced class is made first; a class already being made is not made again.
  TReferentiel::EnregistrerClasse(TAller::StaticClass());
  TReferentiel::EnregistrerClasse(TChainon::StaticClass());
  TNoeudReferentiel* aller = TReferentiel::Noeud(TAller::StaticClass());
  TNoeudReferentiel* retour = TReferentiel::Noeud(TRetour::StaticClass());
  ASSERT_NE(aller, nullptr);
  ASSERT_NE(retour, nullptr);
  EXPECT_EQ(aller->ChampsPropres->GetNombreElements(), 1);
  EXPECT_EQ(retour->ChampsPropres->GetNombreElements(), 1);
  EXPECT_EQ(retour->Comparer(aller), 1);
  EXPECT_EQ(Libelles(TReferentiel::ChampsPublies(TChainon::StaticClass())), "Suivant");
  EXPECT_FALSE(TReferentielManager::EnCours(TAller::StaticClass()));
  // Tables of them refer to each other's class.
  TCustomTable allers(TAller::StaticClass(), nullptr, 16), retours(TRetour::StaticClass(), nullptr, 16);
  TCustomTable chainons(TChainon::StaticClass(), nullptr, 16);
  EXPECT_TRUE(TReferentiel::Noeud(TChainon::StaticClass())->ChampsReferencants->Contient(chainons.GetChamp(0)));
}
