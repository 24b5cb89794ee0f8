// The schema registry's core: class nodes made with their parents and numbered, field lists with
// the ancestors' fields first, and the registration of tables per base up to the root.
#include <gtest/gtest.h>

#include <memory>
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
