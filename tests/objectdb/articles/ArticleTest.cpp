// Articles: handles, the typed accessors and the refusal of a stale article's setters, Assigner by
// mode, the error trees of Creer, Modifier and Supprimer, references and the article comparison.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/objects/Erreur.h"
#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/tables/CustomTable.h"
#include "tests/objectdb/articles/TableEssai.h"

namespace {

class TPlante : public TArticle {
  NV_DECLARE_CLASS(TPlante)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Hauteur", "Integer", tkInteger, nullptr, 1, true},
  };
  std::string Nom() const { return GetChampString(0); }
  int32_t Hauteur() const { return GetChampInteger(1); }
};
NV_DEFINE_PUBLISHED_CLASS(TPlante, TArticle, kProprietes)

class TArbuste : public TPlante {
  NV_DECLARE_CLASS(TArbuste)
 public:
  using TPlante::TPlante;
};
NV_DEFINE_CLASS(TArbuste, TPlante)

struct Fixture {
  TTableEssai table{TPlante::StaticClass(), nullptr, 64};

  int32_t Ligne(const std::string& nom, int32_t hauteur) {
    int32_t l = -1;
    EXPECT_TRUE(table.AllouerLigne(l));
    static_cast<TChampString*>(table.GetChamp(0))->SetValeur(l, nom);
    static_cast<TChampInteger*>(table.GetChamp(1))->SetValeur(l, hauteur);
    return l;
  }
};

std::string Message(TErreur* e) { return e == nullptr ? "<nil>" : e->Message; }
std::string MessageFils(TErreur* e) {
  return e == nullptr || e->NombreFils() != 1 ? "<pas un fils>" : static_cast<TErreur*>(e->Fils(0))->Message;
}

}  // namespace

TEST(Article, HandlesFollowEachOtherAndComeRoundInsteadOfOverflowing) {
  TPlante a, b;
  EXPECT_EQ(b.Handle, a.Handle + 1);
  EXPECT_GT(a.Handle, 0);
  const int32_t max = std::numeric_limits<int32_t>::max();
  const std::pair<int32_t, int32_t> cas[] = {{0, 1}, {41, 42}, {max - 1, max}, {max, 1}};
  for (const auto& [dernier, suivant] : cas) EXPECT_EQ(Article::HandleSuivant(dernier), suivant) << dernier;
}

TEST(Article, AccessorsReadAndWriteTheRowAndRefuseAColumnOfAnotherType) {
  Fixture f;
  TPlante p(&f.table, MA_Reference, f.Ligne("if", 300) + 1);
  EXPECT_EQ(p.Nom(), "if");
  p.SetChampInteger(1, 250);
  EXPECT_EQ(p.Hauteur(), 250);
  EXPECT_THROW(p.GetChampInteger(0), EInvalidCast);
  EXPECT_THROW(p.SetChampString(1, "x"), EInvalidCast);
  EXPECT_THROW(p.GetChampCardinal(7), EInvalidCast);
}

// A setter on an article whose row is gone used to write at row 0x7FFFFFFF and grow the column to
// billions of slots.
TEST(Article, SettersRefuseAnArticleThatIsNoLongerValid) {
  Fixture f;
  const int32_t l = f.Ligne("buis", 40);
  auto* hauteurs = static_cast<TChampInteger*>(f.table.GetChamp(1));
  const int32_t capacite = hauteurs->Valeurs->GetNombreTotalElements();
  TPlante invalide(&f.table, MA_Table, l + 1);
  invalide.Invalider();
  TPlante ligneLiberee(&f.table, MA_Reference, f.Ligne("houx", 2) + 1);
  ASSERT_TRUE(f.table.LibererLigne(static_cast<int32_t>(ligneLiberee.IndiceArticle) + 1));
  TPlante sansTable;
  for (TPlante* p : {&invalide, &ligneLiberee, &sansTable}) {
    EXPECT_FALSE(p->EstValide());
    EXPECT_THROW(p->SetChampInteger(1, 5), EArticleInvalide);
    EXPECT_THROW(p->SetChampString(0, "x"), EArticleInvalide);
  }
  EXPECT_EQ(hauteurs->Valeurs->GetNombreTotalElements(), capacite);
  EXPECT_EQ(hauteurs->GetValeur(l), 40);
}

TEST(Article, AssignerCopiesIntoATableArticleRepointsAReferenceAndRefusesInvalidOnes) {
  Fixture f;
  const int32_t l1 = f.Ligne("chene", 2000), l2 = f.Ligne("saule", 800);
  TPlante ligne1(&f.table, MA_Table, l1 + 1), ligne2(&f.table, MA_Reference, l2 + 1);
  TPlante memeLigne(&f.table, MA_Reference, l1 + 1);

  EXPECT_TRUE(ligne1.Assigner(&ligne1));
  EXPECT_TRUE(memeLigne.Assigner(&ligne1));  // same row: nothing to copy

  TPlante reference(&f.table, MA_Reference, l1 + 1);
  EXPECT_TRUE(reference.Assigner(&ligne2));
  EXPECT_EQ(reference.IndiceArticle, static_cast<uint32_t>(l2));
  EXPECT_EQ(ligne1.Nom(), "chene");  // a reference copies nothing

  EXPECT_TRUE(ligne1.Assigner(&ligne2));
  EXPECT_EQ(ligne1.Nom(), "saule");
  EXPECT_EQ(ligne1.Hauteur(), 800);
  EXPECT_EQ(ligne1.IndiceArticle, static_cast<uint32_t>(l1));

  TPlante invalide;
  EXPECT_FALSE(ligne1.Assigner(&invalide));
  EXPECT_FALSE(invalide.Assigner(&ligne1));
  EXPECT_FALSE(ligne1.Assigner(nullptr));
}

TEST(Article, CreerDesignatesTheNewRowOrAnswersTheTablesReason) {
  Fixture f;
  TPlante modele(&f.table, MA_Reference, f.Ligne("if", 300) + 1);
  EXPECT_EQ(Message(modele.Creer(&f.table)), "<nil>");
  EXPECT_EQ(modele.IndiceArticle, 1u);
  EXPECT_EQ(modele.Nom(), "if");
  EXPECT_EQ(f.table.NombreArticles, 2);

  f.table.Refus = TCustomTable::kDoublon;
  TErreur* e = modele.Creer(&f.table);
  EXPECT_EQ(Message(e), "TPlante.Creer : Impossible de créer l'article"_ansi);
  EXPECT_EQ(MessageFils(e), "Table : Création d'un doublon"_ansi);
  EXPECT_EQ(modele.IndiceArticle, 1u);  // still its row
  EXPECT_EQ(modele.Table, &f.table);
}

TEST(Article, ModifierWithoutSourceLeavesARowArticleAsItIsAndAFailedAssignIsOneError) {
  Fixture f;
  TPlante p(&f.table, MA_Table, f.Ligne("if", 300) + 1);
  EXPECT_EQ(Message(p.Modifier(nullptr)), "<nil>");
  EXPECT_EQ(p.Nom(), "if");
  TPlante invalide;
  TErreur* e = p.Modifier(&invalide);
  EXPECT_EQ(Message(e), "TArticle.Modifier : Impossible d'assigner l'article");
  EXPECT_EQ(e->NombreFils(), 0);
}

TEST(Article, SupprimerLeavesTheArticleWithoutRowOrAnswersWhyNot) {
  Fixture f;
  TPlante p(&f.table, MA_Table, f.Ligne("if", 300) + 1);
  TypeReferenceArticle reference;
  p.GetReference(reference);
  EXPECT_EQ(reference.Table, &f.table);
  EXPECT_EQ(reference.IndiceArticle, 0u);

  EXPECT_EQ(Message(p.Supprimer()), "<nil>");
  EXPECT_FALSE(p.EstValide());
  EXPECT_EQ(p.IndiceArticle, kAucuneLigne);
  p.GetReference(reference);
  EXPECT_EQ(reference.Table, nullptr);
  EXPECT_EQ(f.table.NombreArticles, 0);

  TPlante parti(&f.table, MA_Reference, 1);  // the row deleted above
  TErreur* e = parti.Supprimer();
  EXPECT_EQ(Message(e), "TPlante.Supprimer : Impossible de supprimer l'article");
  EXPECT_EQ(MessageFils(e), "CustomTable : Article inexistant");
}

TEST(Article, ArticlesCompareByTheirRowsValuesOrByTheOtherClassNameFirst) {
  Fixture f;
  TPlante a(&f.table, MA_Reference, f.Ligne("a", 1) + 1), b(&f.table, MA_Reference, f.Ligne("b", 1) + 1);
  TPlante a2(&f.table, MA_Reference, f.Ligne("a", 1) + 1);
  EXPECT_EQ(Article::ComparerArticles(&a, &a), 0);
  EXPECT_EQ(Article::ComparerArticles(&a, &a2), 0);
  EXPECT_NE(Article::ComparerArticles(&a, &b), 0);
  EXPECT_EQ(Article::ComparerArticles(&a, &b), -Article::ComparerArticles(&b, &a));
  // TArbuste against TPlante: "TPlante" compared with "TArbuste" is after it.
  TArbuste arbuste;
  EXPECT_EQ(Article::ComparerArticles(&arbuste, &a), 1);
  EXPECT_EQ(Article::ComparerArticles(&a, &arbuste), -1);
}

TEST(Article, ATransientIsMadeInItsClasssTransientTableOnly) {
  Fixture f;
  // A base constructor cannot see the class being built: the transient table is given, never guessed.
  EXPECT_THROW(TPlante(&f.table, MA_Transitoire, 1), EInvalidCast);
  EXPECT_THROW(TArticle::Nouveau(TCustomTable::StaticClass(), &f.table, MA_Table, 1), EInvalidCast);
}
