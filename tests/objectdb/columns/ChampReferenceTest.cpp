// The reference column: the column a field of an article class gets, the null reference stored
// exactly, the integrity rule, the reference index and its search, the reset of the rows that
// designate an article (with and without an index), and the table's check of a row.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/tables/CustomTable.h"

namespace {

class TCible : public TArticle {
  NV_DECLARE_CLASS(TCible)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TCible, TArticle, kProprietes)

class TLien : public TArticle {
  NV_DECLARE_CLASS(TLien)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Cible", "TCible", tkClass, [] { return TCible::StaticClass(); }, 1, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TLien, TArticle, kProprietes)

struct Fixture {
  TCustomTable cibles{TCible::StaticClass(), nullptr, 16};
  TCustomTable liens{TLien::StaticClass(), nullptr, 16};

  Fixture() {
    for (int i = 0; i < 10; ++i) {
      int32_t l;
      EXPECT_TRUE(cibles.AllouerLigne(l));
      EXPECT_TRUE(liens.AllouerLigne(l));
    }
  }
  TChampReference* Colonne() { return static_cast<TChampReference*>(liens.GetChamp(1)); }
  TypeReferenceArticle Cible(uint32_t ligne) { return {nullptr, ligne, &cibles}; }
};

TypeReferenceArticle Valeur(TChampReference* c, int32_t ligne) {
  TypeReferenceArticle r;
  c->Reference(ligne, r);
  return r;
}

}  // namespace

TEST(ChampReference, AFieldOfAnArticleClassIsAnIndexedNullableColumnNamedAfterItsClass) {
  Fixture f;
  TChampReference* c = f.Colonne();
  EXPECT_TRUE(c->EstReference());
  EXPECT_EQ(c->ClasseReferencee, TCible::StaticClass());
  EXPECT_NE(c->Index, nullptr);
  EXPECT_TRUE(c->ReferenceNulle);
  EXPECT_EQ(c->RegleSuppressionReference, RSR_ValeurParDefaut);
  std::string nom;
  c->NomDuType(nom);
  EXPECT_EQ(nom, "TCible");
  // A fresh row holds the null reference.
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(Valeur(c, 0)));
}

TEST(ChampReference, APartlyNullReferenceIsStoredAsTheNullReference) {
  Fixture f;
  TChampReference* c = f.Colonne();
  c->SetReference(5, nullptr, 3);
  EXPECT_EQ(Valeur(c, 3).IndiceArticle, kAucuneLigne);
  EXPECT_EQ(Valeur(c, 3).Table, nullptr);
  c->SetReference(kAucuneLigne, &f.cibles, 4);
  EXPECT_EQ(Valeur(c, 4).Table, nullptr);
  TArticle cible(&f.cibles, MA_Reference, 3);
  c->SetArticle(&cible, 5);
  EXPECT_TRUE(ReferenceArticle::MemeArticle(Valeur(c, 5), f.Cible(2)));
  c->SetArticle(nullptr, 5);
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(Valeur(c, 5)));
}

TEST(ChampReference, TheIntegrityRuleFollowsNullPermissionAndTheDeletionRule) {
  Fixture f;
  struct Cas {
    bool nulle;
    TypeRegleSuppressionReference regle;
    bool accepteNulle, accepteCible;
  };
  const Cas cas[] = {
      {true, RSR_Suppression, true, true},
      {false, RSR_Suppression, false, true},
      {false, RSR_SuppressionInterdite, false, true},
      {true, RSR_ValeurParDefaut, true, true},
      // No class names a default article: such a column accepts nothing.
      {false, RSR_ValeurParDefaut, false, false},
  };
  for (const Cas& c : cas) {
    TChampReference colonne("Cible", &f.liens, TCible::StaticClass(), 16, c.nulle, c.regle, false);
    EXPECT_EQ(colonne.ReferenceAutorisee(ReferenceArticle::ReferenceArticleNulle), c.accepteNulle) << int(c.regle);
    EXPECT_EQ(colonne.ReferenceAutorisee(f.Cible(1)), c.accepteCible) << int(c.regle);
  }
}

TEST(ChampReference, TheIndexFindsTheRowsDesignatingAnArticleFirstToLast) {
  Fixture f;
  TChampReference* c = f.Colonne();
  for (int32_t ligne : {6, 2, 9}) c->SetReference(4, &f.cibles, ligne);
  c->SetReference(1, &f.cibles, 0);
  int32_t position;
  bool trouve;
  ASSERT_EQ(c->Index->ChercherReference(f.Cible(4), position, trouve), kIndexTrouve);
  EXPECT_TRUE(trouve);
  EXPECT_EQ(c->Index->LigneDePosition(position), 2u);
  EXPECT_EQ(c->Index->LigneDePosition(position + 1), 6u);
  EXPECT_EQ(c->Index->LigneDePosition(position + 2), 9u);
  EXPECT_EQ(c->Index->ChercherReference(f.Cible(3), position, trouve), kIndexAvant);
  EXPECT_FALSE(trouve);
  TCustomTable autre(TCible::StaticClass(), nullptr, 16);
  TypeReferenceArticle loin{nullptr, 0, &f.cibles < &autre ? &autre : &f.cibles};
  loin.IndiceArticle = 1000;
  EXPECT_EQ(c->Index->ChercherReference(loin, position, trouve), kIndexApresDernier);
  EXPECT_EQ(position, static_cast<int32_t>(kAucuneLigne));
}

TEST(ChampReference, AnnulerReferencesResetsEveryDesignatingRowOnceWithOrWithoutAnIndex) {
  for (bool indexee : {true, false}) {
    Fixture f;
    TChampReference colonne("Cible", &f.liens, TCible::StaticClass(), 16, true, RSR_ValeurParDefaut, indexee);
    for (int32_t ligne = 0; ligne < 10; ++ligne) colonne.SetReference(ligne == 2 || ligne == 7 ? 4 : 1, &f.cibles, ligne);
    EXPECT_TRUE(colonne.AnnulerReferences(f.Cible(4))) << indexee;
    for (int32_t ligne = 0; ligne < 10; ++ligne)
      EXPECT_EQ(ReferenceArticle::EstReferenceNulle(Valeur(&colonne, ligne)), ligne == 2 || ligne == 7) << ligne;
    EXPECT_FALSE(colonne.AnnulerReferences(f.Cible(4))) << indexee;
    EXPECT_FALSE(colonne.AnnulerReferences(ReferenceArticle::ReferenceArticleNulle)) << indexee;
    if (indexee) {
      EXPECT_EQ(colonne.Index->NombreTriees() + colonne.Index->NombreATrier(), 10);
    }
  }
}

TEST(ChampReference, ARowWhoseNullReferenceIsRefusedLeavesTheIndexAndFailsTheTablesCheck) {
  Fixture f;
  TChampReference colonne("Cible", &f.liens, TCible::StaticClass(), 16, false, RSR_Suppression, true);
  colonne.SetReference(3, &f.cibles, 0);
  EXPECT_EQ(colonne.Index->NombreTriees(), 1);
  colonne.SetReference(kAucuneLigne, nullptr, 0);
  EXPECT_EQ(colonne.Index->NombreTriees() + colonne.Index->NombreATrier(), 0);
  EXPECT_FALSE(colonne.IndexerLigne(0));

  // The table checks its own columns: the field's column accepts null, so a row passes.
  EXPECT_EQ(f.liens.VerifierReferences(0), nullptr);
}
