// Columns: the registry of column classes by type name, and the value columns: a row's life, the
// absent value, comparisons with the instances' tolerances, searches over rows with holes, the text
// forms, and the exchanges with typed parameters and arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/DateTime.h"
#include "objectdb/arrays/ArrayOfChamp.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampBooleen.h"
#include "objectdb/columns/ChampCardinal.h"
#include "objectdb/columns/ChampDouble.h"
#include "objectdb/columns/ChampDuree.h"
#include "objectdb/columns/ChampInt64.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampInterface.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/columns/ChampReal.h"
#include "objectdb/columns/ChampSingle.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/columns/ChampTDateTime.h"
#include "objectdb/columns/ChampWideString.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/tables/CustomTable.h"

namespace {

constexpr int32_t kSans = static_cast<int32_t>(kAucuneLigne);

template <class C>
std::unique_ptr<C> Colonne(TCustomTable* Table = nullptr) {
  return std::make_unique<C>("Valeur", Table, std::vector<int32_t>{1024}, false);
}

// Counts the events a column publishes.
class TCompteur : public TObjetAbonne {
 public:
  int Recus = 0;
  bool Recevoir(TObject*, TypeEventId, TObject*) override {
    ++Recus;
    return true;
  }
};

// A column whose values compare, in mode 1, by their last decimal digit only: a mode under which
// the absent value 0 equals 10.
class TArrayOfModulo;
struct TModuloTraits : TArrayOfIntegerTraits {
  using Tableau = TArrayOfModulo;
  static int8_t ComparerElements(int32_t A, int32_t B, int32_t Mode, TObject* Parametre) {
    if (Mode == 1) return TArrayOfIntegerTraits::ComparerElements(A % 10, B % 10, 0, Parametre);
    return TArrayOfIntegerTraits::ComparerElements(A, B, 0, Parametre);
  }
};
NV_ARRAY_CLASS(TArrayOfModulo, TArrayTemplate<TModuloTraits>)
NV_DEFINE_ARRAY_CLASS(TArrayOfModulo)
struct TChampModuloTraits : TChampIntegerTraits {
  using Tableau = TArrayOfModulo;
  using TableauTraits = TModuloTraits;
  static std::vector<std::string> NomsDeType() { return {"Integer", "ChampModuloSeul"}; }
};
NV_CHAMP_CLASS(TChampModulo, TChampModuloTraits)
NV_DEFINE_CHAMP_CLASS(TChampModulo, TChampModuloTraits)

// A column class without type names.
struct TChampSansNomTraits : TChampIntegerTraits {
  static std::vector<std::string> NomsDeType() { return {}; }
};
NV_CHAMP_CLASS(TChampSansNom, TChampSansNomTraits)
NV_DEFINE_CHAMP_CLASS(TChampSansNom, TChampSansNomTraits)

class TArticleVideColonnes : public TArticle {
  NV_DECLARE_CLASS(TArticleVideColonnes)
 public:
  using TArticle::TArticle;
};
NV_DEFINE_CLASS(TArticleVideColonnes, TArticle)

}  // namespace

TEST(RegistreChamps, TypeNamesFindTheirColumnClassWhateverTheirCase) {
  const struct {
    const char* nom;
    TClasseChamp classe;
  } cas[] = {
      {"BOOLEAN", TChampBooleen::StaticClass()},      {"cardinal", TChampCardinal::StaticClass()},
      {"LongCard", TChampCardinal::StaticClass()},    {"uint32", TChampCardinal::StaticClass()},
      {"int32", TChampInteger::StaticClass()},        {"Int32", TChampInteger::StaticClass()},
      {"INT32", TChampInteger::StaticClass()},        {"typenumeroarticle", TChampInteger::StaticClass()},
      {"INT64", TChampInt64::StaticClass()},          {"single", TChampSingle::StaticClass()},
      {"DOUBLE", TChampDouble::StaticClass()},        {"real", TChampReal::StaticClass()},
      {"tdatetime", TChampTDateTime::StaticClass()},  {"TypeDureeStockee", TChampDuree::StaticClass()},
      {"String", TChampString::StaticClass()},        {"WIDESTRING", TChampWideString::StaticClass()},
      {"iinterface", TChampInterface::StaticClass()}, {"TObject", TChampObject::StaticClass()},
      // Names that are not registered, sorting before, between and after the registered ones.
      {"AAA", nullptr},                               {"Int33", nullptr},
      {"ZZZ", nullptr},                               {"", nullptr},
  };
  for (const auto& c : cas) EXPECT_EQ(CustomChamp::ClasseChampDeNom(c.nom), c.classe) << c.nom;
}

TEST(RegistreChamps, TheFirstClassRegisteredForANameKeepsItAndAClassWithoutNamesAddsNothing) {
  CustomChamp::EnregistrerClasseChamp(TChampModulo::StaticClass());
  CustomChamp::EnregistrerClasseChamp(TChampSansNom::StaticClass());
  EXPECT_EQ(CustomChamp::ClasseChampDeNom("INTEGER"), TChampInteger::StaticClass());
  EXPECT_EQ(CustomChamp::ClasseChampDeNom("champmoduloseul"), TChampModulo::StaticClass());
  EXPECT_EQ(CustomChamp::ClasseChampDeNom("TChampSansNom"), nullptr);
}

TEST(RegistreChamps, TheTypeNameOfAColumnIsItsClassFirstNameAsWritten) {
  std::string nom;
  Colonne<TChampInteger>()->NomDuType(nom);
  EXPECT_EQ(nom, "INTEGER");
  Colonne<TChampWideString>()->NomDuType(nom);
  EXPECT_EQ(nom, "WideString");
  Colonne<TChampSansNom>()->NomDuType(nom);
  EXPECT_EQ(nom, "");
}

TEST(Champ, ColumnsOfATransientTableShareEventIdMinusTwoOthersGetTheirOwn) {
  TCustomTable transitoire(TArticleVideColonnes::StaticClass(), nullptr, 1024, true);
  TCustomTable ordinaire(TArticleVideColonnes::StaticClass(), nullptr, 1024);
  EXPECT_EQ(Colonne<TChampInteger>(&transitoire)->EventId, -2);
  auto a = Colonne<TChampInteger>(&ordinaire);
  auto b = Colonne<TChampString>(&ordinaire);
  EXPECT_GE(a->EventId, 0);
  EXPECT_NE(a->EventId, b->EventId);
}

TEST(Champ, ANewRowHoldsTheAbsentValueAndFreeingARowPublishesEveryTime) {
  auto entiers = Colonne<TChampInteger>();
  auto textes = Colonne<TChampString>();
  auto objets = Colonne<TChampObject>();
  for (TCustomChamp* c : std::vector<TCustomChamp*>{entiers.get(), textes.get(), objets.get()}) {
    EXPECT_TRUE(c->LigneVide(3));
    c->InitialiserLigne(3);
    EXPECT_FALSE(c->LigneVide(3));
    EXPECT_TRUE(c->LigneVide(2));
    EXPECT_EQ(c->PremiereLigneVide(), 0);
    EXPECT_EQ(c->NombreValeurs(), 1);
  }
  EXPECT_EQ(entiers->GetValeur(3), 0);
  EXPECT_EQ(textes->GetValeur(3), "");
  EXPECT_EQ(objets->GetValeur(3), nullptr);

  TCompteur compteur;
  compteur.SAbonner(entiers.get(), {entiers->EventId});
  entiers->SetValeur(3, 12);
  EXPECT_EQ(compteur.Recus, 0);
  EXPECT_TRUE(entiers->LibererLigne(3));
  EXPECT_EQ(compteur.Recus, 1);
  EXPECT_TRUE(entiers->LigneVide(3));
  EXPECT_FALSE(entiers->LibererLigne(3));
  EXPECT_EQ(compteur.Recus, 2);
  compteur.SeDesabonner(entiers.get());
}

TEST(Champ, AbsentMeansHoldingTheTypesAbsentValueWhateverAnEarlierComparisonLeft) {
  auto c = Colonne<TChampInteger>();
  c->InitialiserLigne(0);
  c->InitialiserLigne(1);
  c->SetValeur(1, 7);
  EXPECT_TRUE(c->ValeurAbsente(0));
  EXPECT_FALSE(c->ValeurAbsente(1));
  EXPECT_FALSE(c->ValeurAbsente(2));  // an empty row is not absent

  auto m = Colonne<TChampModulo>();
  m->InitialiserLigne(0);
  m->SetValeur(0, 10);
  EXPECT_EQ(m->ComparerValeur(0, 0, 1, nullptr), 0);  // equal by the last digit
  EXPECT_FALSE(m->ValeurAbsente(0));                  // still 10, not 0
  EXPECT_EQ(m->ComparerValeur(0, 0, 0, nullptr), -1);
}

TEST(Champ, ComparisonsFollowTheInstancesTolerancesAndAnEmptyRowAnswers254) {
  auto d = Colonne<TChampDouble>();
  auto r = Colonne<TChampReal>();
  auto s = Colonne<TChampSingle>();
  d->InitialiserLigne(0);
  r->InitialiserLigne(0);
  s->InitialiserLigne(0);
  d->SetValeur(0, 1.0);
  r->SetValeur(0, 1.0);
  s->SetValeur(0, 1.0f);
  EXPECT_EQ(d->ComparerValeur(1.0000000001, 0, 0, nullptr), 0);
  EXPECT_EQ(r->ComparerValeur(1.0000000001, 0, 0, nullptr), 1);
  EXPECT_EQ(r->ComparerValeur(1.0 + 5e-13, 0, 0, nullptr), 0);
  EXPECT_EQ(s->ComparerValeur(1.5f, 0, 0, nullptr), 1);
  EXPECT_EQ(d->ComparerValeur(0.5, 0, 0, nullptr), -1);
  EXPECT_EQ(static_cast<uint8_t>(d->ComparerValeur(1.0, 1, 0, nullptr)), 254);

  auto t = Colonne<TChampString>();
  t->InitialiserLigne(0);
  t->SetValeur(0, "abc");
  EXPECT_EQ(t->ComparerValeur("ABC", 0, 0, nullptr), 0);
  EXPECT_EQ(t->ComparerValeur("ABD", 0, 0, nullptr), 1);

  auto b = Colonne<TChampBooleen>();
  b->InitialiserLigne(0);
  EXPECT_EQ(b->ComparerValeur(true, 0, 0, nullptr), 1);  // False before True

  auto u = Colonne<TChampCardinal>();
  u->InitialiserLigne(0);
  u->SetValeur(0, 0x80000000u);
  EXPECT_EQ(u->ComparerValeur(1, 0, 0, nullptr), -1);  // unsigned order
}

TEST(Champ, RowComparisonAndCopyTakeTheOtherColumnsValueAndRefuseAnotherClass) {
  auto a = Colonne<TChampInteger>();
  auto b = Colonne<TChampInteger>();
  a->InitialiserLigne(4);
  a->SetValeur(4, 9);
  b->InitialiserLigne(0);
  b->SetValeur(0, 5);
  EXPECT_EQ(b->ComparerLignes(a.get(), 4, 0, 0, nullptr), 1);
  TCompteur compteur;
  compteur.SAbonner(b.get(), {b->EventId});
  b->CopierValeur(a.get(), 4, 0);
  EXPECT_EQ(b->GetValeur(0), 9);
  EXPECT_EQ(compteur.Recus, 1);
  compteur.SeDesabonner(b.get());
  auto autre = Colonne<TChampInt64>();
  EXPECT_THROW(b->ComparerLignes(autre.get(), 0, 0, 0, nullptr), EInvalidCast);
  EXPECT_THROW(b->CopierValeur(autre.get(), 0, 0), EInvalidCast);
}

TEST(Champ, SearchesSkipEmptyRowsWithoutShiftingTheRowsFound) {
  auto c = Colonne<TChampString>();
  const char* valeurs[] = {"x", "y", "X", "x", "z", "x"};
  for (int32_t l = 0; l < 6; ++l) {
    c->InitialiserLigne(l);
    c->SetValeur(l, valeurs[l]);
  }
  ASSERT_TRUE(c->LibererLigne(3));
  int32_t ligne = 0;
  std::vector<int32_t> trouves;
  for (int32_t depuis = kSans; c->Chercher("x", ligne, depuis); depuis = ligne) trouves.push_back(ligne);
  EXPECT_EQ(trouves, (std::vector<int32_t>{0, 2, 5}));
  EXPECT_EQ(ligne, kSans);
  trouves.clear();
  for (int32_t avant = kSans; c->ChercherDernier("x", ligne, avant); avant = ligne) trouves.push_back(ligne);
  EXPECT_EQ(trouves, (std::vector<int32_t>{5, 2, 0}));
  EXPECT_EQ(ligne, kSans);
  EXPECT_FALSE(c->Chercher("absent", ligne, kSans));
  EXPECT_EQ(ligne, kSans);
}

TEST(Champ, ValuesReadAsTheirTextForms) {
  auto texte = [](TCustomChamp& c) {
    std::string t;
    c.TexteValeur(0, t);
    return t;
  };
  auto booleen = Colonne<TChampBooleen>();
  auto cardinal = Colonne<TChampCardinal>();
  auto entier = Colonne<TChampInteger>();
  auto grand = Colonne<TChampInt64>();
  auto simple = Colonne<TChampSingle>();
  auto dbl = Colonne<TChampDouble>();
  auto reel = Colonne<TChampReal>();
  auto date = Colonne<TChampTDateTime>();
  auto date2 = Colonne<TChampTDateTime>();
  auto chaine = Colonne<TChampString>();
  auto large = Colonne<TChampWideString>();
  auto interface = Colonne<TChampInterface>();
  auto objet = Colonne<TChampObject>();
  std::vector<TCustomChamp*> toutes{booleen.get(), cardinal.get(), entier.get(), grand.get(),  simple.get(),
                                    dbl.get(),     reel.get(),     date.get(),   date2.get(),  chaine.get(),
                                    large.get(),   interface.get(), objet.get()};
  for (TCustomChamp* c : toutes) c->InitialiserLigne(0);
  EXPECT_EQ(texte(*booleen), "False");
  EXPECT_EQ(texte(*objet), "objet");
  EXPECT_EQ(texte(*interface), "IInterface");
  booleen->SetValeur(0, true);
  cardinal->SetValeur(0, 0xFFFFFFFFu);
  entier->SetValeur(0, -5);
  grand->SetValeur(0, -9000000000LL);
  simple->SetValeur(0, 0.1f);
  dbl->SetValeur(0, 1.0 / 3);
  reel->SetValeur(0, 2.5);
  date->SetValeur(0, DateTime::EncodeDate(2024, 3, 5));
  date2->SetValeur(0, DateTime::EncodeDate(2024, 3, 5) + DateTime::EncodeTime(8, 30, 0, 0));
  chaine->SetValeur(0, "abc");
  large->SetValeur(0, u"\u20AC");
  const char* attendus[] = {"True",       "4294967295",        "-5",          "-9000000000",         "0.100000001490116",
                            "0.333333333333333", "2.5",        "05/03/2024",  "05/03/2024 08:30:00", "abc",
                            "\x80",       "IInterface",        "objet"};
  for (std::size_t i = 0; i < toutes.size(); ++i) EXPECT_EQ(texte(*toutes[i]), attendus[i]) << toutes[i]->ClassName();
}

TEST(Champ, ValuesGoToAndComeFromParametersAndArraysOfTheSameType) {
  auto c = Colonne<TChampString>();
  c->InitialiserLigne(2);
  c->SetValeur(2, "deux");
  TParametreString p("p", false);
  c->EcrireValeur(2, &p);
  EXPECT_EQ(p.GetValeur(), "deux");
  p.SetValeur("trois");
  c->LireValeur(2, &p);
  EXPECT_EQ(c->GetValeur(2), "trois");
  TParametreInteger autre("autre", false);
  EXPECT_THROW(c->EcrireValeur(2, &autre), EInvalidCast);

  std::unique_ptr<TCustomArray> tableau(c->CreerTableauValeurs(3));
  auto* chaines = dynamic_cast<TArrayOfString*>(tableau.get());
  ASSERT_NE(chaines, nullptr);
  EXPECT_EQ(chaines->GetNombreElements(), 3);
  c->AjouterValeurATableau(2, chaines, 1);
  c->AjouterValeurATableau(2, chaines, 7);
  EXPECT_EQ(chaines->GetNombreElements(), 4);
  EXPECT_EQ(chaines->GetElement(0), "");
  EXPECT_EQ(chaines->GetElement(1), "trois");
  EXPECT_EQ(chaines->GetElement(3), "trois");
  TArrayOfInteger entiers(32, true, false);
  EXPECT_THROW(c->AjouterValeurATableau(2, &entiers, 0), EInvalidCast);
}

TEST(Champ, TheTraceIsTheClassBlockHoldingTheValueArray) {
  auto c = Colonne<TChampInteger>();
  c->InitialiserLigne(0);
  c->SetValeur(0, 42);
  std::string texte;
  c->Tracer(false, nullptr, texte);
  EXPECT_EQ(texte.rfind("TChampInteger\r\n", 0), 0u) << texte;
  EXPECT_NE(texte.find("Valeur = 42"), std::string::npos) << texte;
  ITracable* tracable = InterfaceOf<ITracable>(c.get());
  ASSERT_NE(tracable, nullptr);
  tracable->SetTraceActive(false);
  c->Tracer(false, nullptr, texte);
  EXPECT_EQ(texte, "");
}

TEST(ArrayOfChamp, ColumnsCompareByNameInMode0ByAddressInMode1AndCopyOnlyWithAnAssignmentParameter) {
  auto a = Colonne<TChampInteger>();
  auto b = Colonne<TChampString>();
  a->Nom = "age";
  b->Nom = "AGE";
  EXPECT_EQ(TArrayOfChampTraits::ComparerElements(a.get(), b.get(), 0, nullptr), 0);
  b->Nom = "Nom";
  EXPECT_EQ(TArrayOfChampTraits::ComparerElements(a.get(), b.get(), 0, nullptr), -1);
  const int8_t parAdresse = reinterpret_cast<uintptr_t>(a.get()) < reinterpret_cast<uintptr_t>(b.get()) ? -1 : 1;
  EXPECT_EQ(TArrayOfChampTraits::ComparerElements(a.get(), b.get(), 1, nullptr), parAdresse);
  EXPECT_EQ(TArrayOfChampTraits::ComparerElements(a.get(), b.get(), 2, nullptr), 0);
  TCustomChamp* copie = nullptr;
  TParametreInteger autre("autre", false);
  EXPECT_THROW(TArrayOfChampTraits::CopierElement(a.get(), copie, &autre), EInvalidCast);
  EXPECT_EQ(copie, nullptr);
}

TEST(Champ, AComputedValueIsStoredAndItsRowNoLongerNeedsComputing) {
  auto c = Colonne<TChampInteger>();
  EXPECT_TRUE(c->LigneACalculer(2));
  c->EnregistrerCalcul(2, 17);
  c->EnregistrerCalcul(2, 18);
  EXPECT_EQ(c->GetValeur(2), 18);
  EXPECT_FALSE(c->LigneACalculer(2));
  EXPECT_TRUE(c->LigneACalculer(3));
  EXPECT_EQ(c->LignesCalculees->GetNombreElements(), 1);
}
