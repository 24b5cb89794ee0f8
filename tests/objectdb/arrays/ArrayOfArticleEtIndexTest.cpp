// The article and index arrays: indexes unique by name whatever the case and copied for another
// table, articles ordered by serial number in mode 1, and the article class of the empty access item.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/arrays/ArrayOfItemInfoAcces.h"
#include "objectdb/arrays/ArrayOfArticle.h"
#include "objectdb/arrays/ArrayOfIndex.h"
#include "objectdb/tables/CustomTable.h"

namespace {
class TPiece : public TArticle {
  NV_DECLARE_CLASS(TPiece)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Numero", "Integer", tkInteger, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TPiece, TArticle, kProprietes)
}  // namespace

TEST(ArrayOfIndex, NamesAreUniqueWithoutRegardToCaseAndACopyBindsToTheDestinationTable) {
  TCustomTable source(TPiece::StaticClass(), nullptr, 16), destination(TPiece::StaticClass(), nullptr, 16);
  TIndex b("IDX_B", &source, std::vector<TypeDefinitionCle>{{0, false, 0}}, ruiSansRegle);
  TIndex a("idx_a", &source, std::vector<TypeDefinitionCle>{{0, true, 0}}, ruiCleUnique);
  TIndex a2("IDX_A", &source, std::vector<TypeDefinitionCle>{}, ruiSansRegle);
  TArrayOfIndex indexes(32, true, false);
  indexes.SetAvecDoublons(false);
  indexes.SetToujoursTrie(true);
  EXPECT_GE(indexes.Ajouter(&b), 0);
  EXPECT_GE(indexes.Ajouter(&a), 0);
  EXPECT_EQ(indexes.Ajouter(&a2), -1);
  ASSERT_EQ(indexes.GetNombreElements(), 2);
  EXPECT_EQ(indexes.GetElement(0), &a);

  TArrayOfIndex copie(32, true, false);
  copie.Assigner(&indexes, new TParametreAssignationIndex(nullptr, nullptr, &source, &destination));
  ASSERT_EQ(copie.GetNombreElements(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    TIndex* x = copie.GetElement(i);
    EXPECT_EQ(x->Table, &destination);
    EXPECT_EQ(x->Cles[0].Champ, destination.GetChamp(0));
    EXPECT_EQ(x->Nom, indexes.GetElement(i)->Nom);
  }
  EXPECT_EQ(copie.GetElement(0)->RegleUnicite, ruiCleUnique);
  for (int32_t i = 0; i < 2; ++i) delete copie.GetElement(i);
  EXPECT_THROW(copie.Assigner(&indexes, nullptr), EInvalidCast);
}

TEST(ArrayOfArticle, ModeOneOrdersBySerialNumberAndACopyHoldsNoArticle) {
  TPiece premier, second;
  TArrayOfArticle articles(32, true, false);
  articles.SetModeComparaison(1);
  articles.SetToujoursTrie(true);
  articles.Ajouter(&second);
  articles.Ajouter(&premier);
  int32_t indice = -1;
  EXPECT_TRUE(articles.Chercher(&second, indice, -1));
  EXPECT_EQ(indice, 1);
  EXPECT_EQ(articles.GetElement(0), &premier);
  TArrayOfArticle copie(32, true, false);
  copie.Assigner(&articles, nullptr);
  for (int32_t i = 0; i < copie.GetNombreElements(); ++i) EXPECT_EQ(copie.GetElement(i), nullptr);
}

TEST(ArrayOfItemInfoAcces, TheEmptyItemDesignatesTheArticleRootClass) {
  EXPECT_EQ(TArrayOfItemInfoAccesTraits::ElementVide().ClasseArticle, TArticle::StaticClass());
  EXPECT_EQ(TArrayOfItemInfoAccesTraits::ElementVide().NumeroChamp, 2147483647);
}
