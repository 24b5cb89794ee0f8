// The column-store table: columns made from the article class's fields, the failures of creation,
// the reuse order of freed rows, every error code and its text, the copy of an article's values, the
// row texts, and the structure copy.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "objectdb/arrays/ArrayOfBaseEtTable.h"
#include "objectdb/arrays/ArrayOfReferenceArticle.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampBooleen.h"
#include "objectdb/columns/ChampDouble.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampInterface.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

namespace {

class TEleve : public TArticle {
  NV_DECLARE_CLASS(TEleve)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Age", "Integer", tkInteger, nullptr, 1, true},
      {"Moyenne", "Double", tkFloat, nullptr, 2, true},
      {"Present", "Boolean", tkEnumeration, nullptr, 3, true},
      {"Dossier", "TObject", tkClass, [] { return TObject::StaticClass(); }, 4, true},
      {"Lien", "IInterface", tkInterface, nullptr, 5, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TEleve, TArticle, kProprietes)

class TSansChamp : public TArticle {
  NV_DECLARE_CLASS(TSansChamp)
 public:
  using TArticle::TArticle;
};
NV_DEFINE_CLASS(TSansChamp, TArticle)

// Its second field has a type that no column class stores.
class TCouleurInconnue : public TArticle {
  NV_DECLARE_CLASS(TCouleurInconnue)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Couleur", "TCouleur", tkEnumeration, nullptr, 1, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TCouleurInconnue, TArticle, kProprietes)

// Its field refers to another article class: a reference column.
class TAvecReference : public TArticle {
  NV_DECLARE_CLASS(TAvecReference)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Eleve", "TEleve", tkClass, [] { return TEleve::StaticClass(); }, 1, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TAvecReference, TArticle, kProprietes)

TChampString* Noms(TCustomTable& t) { return static_cast<TChampString*>(t.GetChamp(0)); }
TChampInteger* Ages(TCustomTable& t) { return static_cast<TChampInteger*>(t.GetChamp(1)); }

int32_t Allouer(TCustomTable& t) {
  int32_t ligne = -1;
  EXPECT_TRUE(t.AllouerLigne(ligne));
  return ligne;
}

// A row of TEleve with a name and an age.
int32_t Eleve(TCustomTable& t, const std::string& nom, int32_t age) {
  const int32_t l = Allouer(t);
  Noms(t)->SetValeur(l, nom);
  Ages(t)->SetValeur(l, age);
  return l;
}

std::string TexteErreur(TCustomTable& t) {
  std::string texte;
  t.TexteErreur(texte);
  return texte;
}

}  // namespace

TEST(CustomTable, EachPublishedFieldGetsTheColumnOfItsTypeInFieldOrder) {
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  const TClass* attendues[] = {TChampString::StaticClass(), TChampInteger::StaticClass(),
                               TChampDouble::StaticClass(), TChampBooleen::StaticClass(),
                               TChampObject::StaticClass(), TChampInterface::StaticClass()};
  ASSERT_EQ(t.NombreChamps(), 6);
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(t.GetChamp(i)->ClassType(), attendues[i]) << i;
    EXPECT_EQ(t.GetChamp(i)->NumeroChamp, i);
    EXPECT_EQ(t.GetChamp(i)->Table, &t);
  }
  EXPECT_EQ(t.GetChamp(1)->Nom, "Age");
  EXPECT_EQ(t.PremierChamp, t.GetChamp(0));
  EXPECT_EQ(t.GetChamp(6), nullptr);
  EXPECT_EQ(t.GetChamp(-1), nullptr);
  EXPECT_EQ(t.DerniereErreur, 0);
}

TEST(CustomTable, AFieldOfAnUnstoredTypeFailsTheCreationByNameAndLeavesNoTable) {
  try {
    TCustomTable t(TCouleurInconnue::StaticClass(), nullptr, 1024);
    FAIL() << "the table was made";
  } catch (const EStructureTable& e) {
    EXPECT_EQ(e.Message(), "Table de 'TCouleurInconnue' : aucune classe de champ pour la propriété 'Couleur' de type "
                           "'TCOULEUR'"_ansi);
  }
  TNoeudReferentiel* noeud = TReferentiel::Noeud(TCouleurInconnue::StaticClass());
  ASSERT_NE(noeud, nullptr);
  EXPECT_EQ(noeud->BasesEtTables->GetNombreElements(), 0);
  // A field of an article class is stored by a reference column.
  TCustomTable avecReference(TAvecReference::StaticClass(), nullptr, 1024);
  EXPECT_EQ(avecReference.GetChamp(1)->ClassType(), TChampReference::StaticClass());
}

TEST(CustomTable, TheLastFreedRowIsReusedFirstThenTheRowRangeGrows) {
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Eleve(t, "e" + std::to_string(i), i), i);
  ASSERT_TRUE(t.LibererLigne(3 + 1));
  ASSERT_TRUE(t.LibererLigne(7 + 1));
  EXPECT_EQ(t.NombreArticles, 8);
  EXPECT_FALSE(t.LigneExiste(3));
  EXPECT_TRUE(t.GetChamp(5)->LigneVide(7));
  EXPECT_EQ(Allouer(t), 7);
  EXPECT_EQ(Allouer(t), 3);
  EXPECT_EQ(t.NombreArticles, 10);
  EXPECT_EQ(Allouer(t), 10);
  // A reused row starts from the absent values, not the freed row's.
  EXPECT_EQ(Noms(t)->GetValeur(3), "");
  EXPECT_EQ(Ages(t)->GetValeur(7), 0);
}

TEST(CustomTable, FailuresSetTheirCodeAndTextWhichOutliveLaterSuccesses) {
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  const int32_t l = Eleve(t, "a", 1);
  ASSERT_TRUE(t.SupprimerLigne(l + 1));
  EXPECT_FALSE(t.LibererLigne(l + 1));
  EXPECT_EQ(t.DerniereErreur, -1);
  EXPECT_EQ(TexteErreur(t), "CustomTable : Article inexistant");
  Eleve(t, "b", 2);
  EXPECT_EQ(TexteErreur(t), "CustomTable : Article inexistant");

  TArticle article;
  article.Table = &t;
  article.IndiceArticle = 0;
  t.DerniereErreur = 0;
  EXPECT_FALSE(t.AssignerLigne(&article, 5));
  EXPECT_EQ(t.DerniereErreur, -1);
  t.DerniereErreur = 0;
  EXPECT_FALSE(t.AssignerLigneTransitoire(&article, 5));
  EXPECT_EQ(t.DerniereErreur, -1);
  t.DerniereErreur = 0;
  EXPECT_FALSE(t.DetruireReferencants(5));
  EXPECT_EQ(t.DerniereErreur, -1);
  // A row in use that nothing designates: nothing to do.
  EXPECT_TRUE(t.DetruireReferencants(0));

  // Numbers and articles that designate no row.
  for (int32_t numero : {0, -1, std::numeric_limits<int32_t>::min()}) {
    t.DerniereErreur = 0;
    EXPECT_FALSE(t.LibererLigne(numero)) << numero;
    EXPECT_EQ(t.DerniereErreur, -1);
  }
  TArticle sansLigne;
  sansLigne.Table = &t;
  t.DerniereErreur = 0;
  EXPECT_FALSE(t.SupprimerArticle(&sansLigne));
  EXPECT_EQ(t.DerniereErreur, -1);
  TArticle sansTable;
  EXPECT_FALSE(t.AssignerLigne(&sansTable, 0));
  EXPECT_EQ(t.DerniereErreur, -6);
  EXPECT_EQ(TexteErreur(t), "CustomTable : Assignation impossible");

  // The row range is full when the next row would be 0x7FFFFFFF.
  t.NombreArticles = 0x7FFFFFFF;
  int32_t ligne = 0;
  EXPECT_FALSE(t.AllouerLigne(ligne));
  EXPECT_EQ(t.DerniereErreur, -7);
  EXPECT_EQ(TexteErreur(t), "CustomTable : Table pleine");
  t.NombreArticles = 1;
}

TEST(CustomTable, EveryErrorCodeHasItsFixedText) {
  TCustomTable t(TSansChamp::StaticClass(), nullptr, 1024);
  const struct {
    int32_t code;
    std::string texte;
  } cas[] = {
      {0, ""},
      {-1, "CustomTable : Article inexistant"},
      {-2, std::string("Table : Création d'un doublon"_ansi)},
      {-3, "Table : Erreur sur indexation"},
      {-4, "Table : Index non existant"},
      {-5, "CustomTable : Suppression article impossible"},
      {-6, "CustomTable : Assignation impossible"},
      {-7, "CustomTable : Table pleine"},
      {-8, "TableDeTransitoires : Pas de champ original"},
      {-9, "TableDeTransitoires : Pas d'article original"},
      {-10, ""},
      {1, ""},
  };
  for (const auto& c : cas) {
    t.DerniereErreur = c.code;
    EXPECT_EQ(TexteErreur(t), c.texte) << c.code;
  }
}

TEST(CustomTable, AClassWithoutFieldsHasNoColumnAndNoRowInUse) {
  TCustomTable t(TSansChamp::StaticClass(), nullptr, 1024);
  EXPECT_EQ(t.NombreChamps(), 0);
  EXPECT_EQ(t.PremierChamp, nullptr);
  const int32_t l = Allouer(t);
  EXPECT_FALSE(t.LigneExiste(l));
  EXPECT_FALSE(t.LibererLigne(l + 1));
  std::string texte;
  t.TexteResume(texte);
  EXPECT_EQ(texte, "Table de 'TSansChamp' (1 élément(s))"_ansi);
}

TEST(CustomTable, AnArticlesValuesAreCopiedIntoARowAndComparedColumnByColumn) {
  TCustomTable source(TEleve::StaticClass(), nullptr, 1024);
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  const int32_t ls = Eleve(source, "Zoe", 12);
  static_cast<TChampDouble*>(source.GetChamp(2))->SetValeur(ls, 14.5);
  const int32_t l = Eleve(t, "Zoe", 11);
  TArticle article;
  article.Table = &source;
  article.IndiceArticle = static_cast<uint32_t>(ls);
  EXPECT_EQ(t.ComparerArticle(l, &article), 1);  // the article's 12 against the row's 11
  ASSERT_TRUE(t.AssignerLigne(&article, l));
  EXPECT_EQ(Ages(t)->GetValeur(l), 12);
  EXPECT_EQ(static_cast<TChampDouble*>(t.GetChamp(2))->GetValeur(l), 14.5);
  EXPECT_EQ(t.ComparerArticle(l, &article), 0);
  Noms(t)->SetValeur(l, "Abel");
  EXPECT_EQ(t.ComparerArticle(l, &article), 1);
  ASSERT_TRUE(t.ModifierLigne(l + 1, &article));
  EXPECT_EQ(Noms(t)->GetValeur(l), "Zoe");

  TypeReferenceArticle reference;
  t.ReferenceLigne(l, reference);
  EXPECT_EQ(reference.Table, &t);
  EXPECT_EQ(reference.IndiceArticle, static_cast<uint32_t>(l));
  EXPECT_EQ(t.VerifierReferences(l), nullptr);

  TArticle supprime;
  supprime.Table = &t;
  supprime.IndiceArticle = static_cast<uint32_t>(l);
  EXPECT_TRUE(t.SupprimerArticle(&supprime));
  EXPECT_FALSE(t.LigneExiste(l));
}

TEST(CustomTable, RowTextsJoinTheColumnValuesAndFollowTheTraceSwitch) {
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  const int32_t l = Eleve(t, "Zoe", 12);
  std::string texte;
  t.TexteArticle(l, texte);
  EXPECT_EQ(texte, "Zoe | 12 | 0 | False | objet | IInterface");
  t.TracerArticle(l, texte, nullptr);
  EXPECT_EQ(texte,
            "TEleve\r\n  Nom = Zoe\r\n  Age = 12\r\n  Moyenne = 0\r\n  Present = False\r\n  Dossier = objet\r\n"
            "  Lien = IInterface\r\n");
  t.TexteArticle(l + 1, texte);
  EXPECT_EQ(texte, "");
  t.TexteResume(texte);
  EXPECT_EQ(texte, "Table de 'TEleve' (1 élément(s))"_ansi);

  // An article reference reads its text through the table.
  TMethodesReferenceArticle::ElementEnTexte({nullptr, static_cast<uint32_t>(l), &t}, texte);
  EXPECT_EQ(texte, "Zoe | 12 | 0 | False | objet | IInterface");

  InterfaceOf<ITracable>(&t)->SetTraceActive(false);
  t.TexteArticle(l, texte);
  EXPECT_EQ(texte, "");
  t.TexteResume(texte);
  EXPECT_EQ(texte, "");
}

TEST(CustomTable, ReferencesCompareByTheColumnTheParameterNames) {
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  const int32_t jeune = Eleve(t, "Zoe", 9);
  const int32_t age = Eleve(t, "Abel", 15);
  TypeReferenceArticle a{nullptr, static_cast<uint32_t>(jeune), &t}, b{nullptr, static_cast<uint32_t>(age), &t};
  TParametreInteger colonne("colonne", false);
  colonne.SetValeur(0);
  EXPECT_EQ(TMethodesReferenceArticle::ComparerElements(a, b, 0, &colonne), 1);  // Zoe after Abel
  colonne.SetValeur(1);
  EXPECT_EQ(TMethodesReferenceArticle::ComparerElements(a, b, 0, &colonne), -1);  // 9 before 15
  colonne.SetValeur(9);
  EXPECT_THROW(TMethodesReferenceArticle::ComparerElements(a, b, 0, &colonne), EInvalidCast);
}

TEST(CustomTable, AStructureCopyHoldsTheSameRowsAndFreeRowsIndependently) {
  TCustomTable source(TEleve::StaticClass(), nullptr, 1024);
  for (int i = 0; i < 5; ++i) Eleve(source, "e" + std::to_string(i), i * 10);
  ASSERT_TRUE(source.LibererLigne(2 + 1));
  std::unique_ptr<TCustomTable> copie(static_cast<TCustomTable*>(TCustomTable::StaticClass()->NewBlank()));
  copie->AssignerStructure(&source, nullptr, nullptr);
  ASSERT_EQ(copie->NombreChamps(), 6);
  EXPECT_EQ(copie->ClasseArticle, TEleve::StaticClass());
  EXPECT_EQ(copie->NombreArticles, 4);
  EXPECT_EQ(copie->PremierChamp, copie->GetChamp(0));
  EXPECT_EQ(copie->GetChamp(1)->Table, copie.get());
  EXPECT_EQ(copie->GetChamp(1)->Nom, "Age");
  EXPECT_EQ(Ages(*copie)->GetValeur(4), 40);
  EXPECT_FALSE(copie->LigneExiste(2));
  Ages(*copie)->SetValeur(4, 41);
  EXPECT_EQ(Ages(source)->GetValeur(4), 40);
  EXPECT_EQ(Allouer(*copie), 2);
  EXPECT_FALSE(source.LigneExiste(2));
}

TEST(ArrayOfBaseEtTable, EntriesOrderByBaseAndTraceTheTableAsClassOfArticleClass) {
  TCustomTable t(TEleve::StaticClass(), nullptr, 1024);
  TBase* b1 = reinterpret_cast<TBase*>(uintptr_t{0x1000});
  TBase* b2 = reinterpret_cast<TBase*>(uintptr_t{0x2000});
  EXPECT_EQ(TArrayOfBaseEtTableTraits::ComparerElements({b1, &t}, {b2, nullptr}, 0, nullptr), -1);
  EXPECT_EQ(TArrayOfBaseEtTableTraits::ComparerElements({b2, &t}, {b2, nullptr}, 0, nullptr), 0);
  std::string texte;
  TArrayOfBaseEtTableTraits::TracerElement({nullptr, &t}, false, texte, nullptr);
  EXPECT_EQ(texte, "TypeBaseEtTable\r\n  Base = NIL\r\n  Table = TCustomTable de TEleve\r\n");
  TArrayOfBaseEtTableTraits::TracerElement({nullptr, nullptr}, false, texte, nullptr);
  EXPECT_EQ(texte, "TypeBaseEtTable\r\n  Base = NIL\r\n  Table = NIL\r\n");
}

// A table whose own check finds something: the verifiable face reports it under the caller's error.
class TTableVerifiee : public TCustomTable {
 public:
  using TCustomTable::TCustomTable;
  int Verifications = 0;
  void Verifier(TypeOptionsVerification, TErreur*& Erreur) override {
    ++Verifications;
    if (Erreur == nullptr) Erreur = new TErreur("trouve");
  }
};

TEST(CustomTable, TheVerifiableInterfaceVerifiesThroughTheTablesOwnCheck) {
  TTableVerifiee t(TSansChamp::StaticClass(), nullptr, 1024);
  IVerifiable* verifiable = InterfaceOf<IVerifiable>(&t);
  ASSERT_NE(verifiable, nullptr);
  EXPECT_EQ(verifiable, InterfaceOf<IVerifiable>(&t));  // made once
  TErreur* erreur = nullptr;
  verifiable->Verifier(OptionsVerificationParDefaut, erreur);
  EXPECT_EQ(t.Verifications, 1);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "trouve");
  TCustomTable simple(TSansChamp::StaticClass(), nullptr, 1024);
  TErreur* rien = nullptr;
  InterfaceOf<IVerifiable>(&simple)->Verifier(OptionsVerificationParDefaut, rien);
  EXPECT_EQ(rien, nullptr);
}
