// Article references, the texts of the database core's enumerations and of column sets, and the
// arrays of references.
#include <gtest/gtest.h>

#include <memory>

#include "core/objects/Exceptions.h"
#include "objectdb/arrays/ArrayOfReferenceArticle.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/properties/TypeDBNoyau.h"

namespace {
// Stand-ins for tables: only their addresses matter here.
int tables[2];
TCustomTable* Table(int i) { return reinterpret_cast<TCustomTable*>(&tables[i]); }

TypeEnsembleOctets Ensemble(std::initializer_list<int> Membres) {
  TypeEnsembleOctets e{};
  for (int n : Membres) e[static_cast<std::size_t>(n / 8)] |= static_cast<uint8_t>(1u << (n % 8));
  return e;
}
}  // namespace

TEST(ReferenceArticle, ANoRowOrANoTableReferenceIsNull) {
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(ReferenceArticle::ReferenceArticleNulle));
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle({nullptr, 5, nullptr}));
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle({nullptr, 0x7FFFFFFF, Table(0)}));
  EXPECT_FALSE(ReferenceArticle::EstReferenceNulle({nullptr, 0, Table(0)}));
  EXPECT_FALSE(ReferenceArticle::EstReferenceNulle({nullptr, 0xFFFFFFFF, Table(0)}));
  EXPECT_EQ(TypeReferenceArticle{}.IndiceArticle, 0x7FFFFFFFu);
}

TEST(TypeDBNoyau, EnumerationTextsAndUnknownValues) {
  const struct {
    void (*texte)(uint8_t, std::string&);
    std::vector<std::string> noms;
  } cas[] = {
      {TChaineType::TexteEtatIndex, {"EI_Valide", "EI_EnChargement", "EI_Detruite"}},
      {TChaineType::TexteRegleUnicite, {"ruiSansRegle", "ruiCleUnique", "ruiCleUniqueSiNonNulle"}},
      {TChaineType::TexteRegleSuppressionReference, {"RSR_Suppression", "RSR_SuppressionInterdite", "RSR_ValeurParDefaut"}},
  };
  for (const auto& c : cas) {
    std::string texte;
    for (uint8_t v = 0; v < 3; ++v) {
      c.texte(v, texte);
      EXPECT_EQ(texte, c.noms[v]);
    }
    for (uint8_t v : {3, 255}) {
      c.texte(v, texte);
      EXPECT_EQ(texte, "Inconnu");
    }
  }
}

TEST(TypeDBNoyau, SetTextsWriteRunsOfTwoOrMoreAsFirstDotDotLast) {
  TypeEnsembleOctets plein;
  plein.fill(0xFF);
  const struct {
    TypeEnsembleOctets ensemble;
    const char* texte;
  } cas[] = {
      {Ensemble({}), "[]"},
      {Ensemble({3}), "[3]"},
      {Ensemble({0, 1, 2, 5, 7, 8}), "[0..2,5,7..8]"},
      {Ensemble({254, 255}), "[254..255]"},
      {Ensemble({255}), "[255]"},
      {Ensemble({0, 255}), "[0,255]"},
      {Ensemble({7, 8, 9, 15, 16}), "[7..9,15..16]"},
      {plein, "[0..255]"},
  };
  for (const auto& c : cas) {
    std::string texte;
    TChaineType::TexteEnsemble(c.ensemble, texte);
    EXPECT_EQ(texte, c.texte);
  }
}

TEST(ArrayOfReferenceArticle, SortsByTableThenByUnsignedRow) {
  TArrayOfReferenceArticle a(8, true, false);
  a.SetAvecDoublons(false);
  a.SetToujoursTrie(true);
  TCustomTable* t0 = Table(0) < Table(1) ? Table(0) : Table(1);
  TCustomTable* t1 = Table(0) < Table(1) ? Table(1) : Table(0);
  for (auto r : {TypeReferenceArticle{nullptr, 0x80000000u, t0}, TypeReferenceArticle{nullptr, 2, t1},
                 TypeReferenceArticle{nullptr, 7, t0}, TypeReferenceArticle{nullptr, 0, t1}})
    EXPECT_GE(a.Ajouter(r), 0);
  EXPECT_EQ(a.Ajouter({nullptr, 7, t0}), -1);  // the same article, whatever the interface field
  std::vector<std::pair<TCustomTable*, uint32_t>> ordre;
  for (int32_t i = 0; i < a.GetNombreElements(); ++i) ordre.emplace_back(a.GetElement(i).Table, a.GetElement(i).IndiceArticle);
  EXPECT_EQ(ordre, (std::vector<std::pair<TCustomTable*, uint32_t>>{{t0, 7}, {t0, 0x80000000u}, {t1, 0}, {t1, 2}}));
}

TEST(ArrayOfReferenceArticle, ReferencesDoNotTravelInStreams) {
  TArrayOfReferenceArticle a(4, false, false);
  a.SetElementPosition({nullptr, 3, Table(0)}, 2);
  TBinaryFormatter f;
  a.Ecrire(&f, nullptr);
  f.SetPosition(0);
  TArrayOfReferenceArticle lu(4, false, false);
  lu.Lire(&f, nullptr);
  EXPECT_TRUE(lu.PositionVide(0));
  EXPECT_FALSE(lu.PositionVide(2));
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(lu.GetElementPosition(2)));
  EXPECT_EQ(f.GetPosition(), f.GetTaille());
}

// A comparison parameter that is not a column number, and a copy parameter that is not a column
// copy's, are refused.
TEST(ArrayOfReferenceArticle, BadParametersOfComparisonAndCopyAreRefused) {
  TypeReferenceArticle a{nullptr, 1, Table(0)}, b{nullptr, 2, Table(0)};
  TParametreInteger colonne("colonne", false);
  TArrayOfReferenceArticle autre(4, false, false);
  EXPECT_THROW(TMethodesReferenceArticle::ComparerElements(a, b, 0, &autre), EInvalidCast);
  TypeReferenceArticle copie;
  EXPECT_THROW(TMethodesReferenceArticle::CopierElement(a, copie, &colonne), EInvalidCast);
  std::string texte = "x";
  TMethodesReferenceArticle::ElementEnTexte(ReferenceArticle::ReferenceArticleNulle, texte);
  EXPECT_EQ(texte, "");
  TMethodesReferenceArticle::TracerElement(ReferenceArticle::ReferenceArticleNulle, true, texte, nullptr);
  EXPECT_EQ(texte, "");
}
