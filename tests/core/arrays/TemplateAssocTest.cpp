// The association template through its instances: default value as absence, slot reuse, release
// of owned values, walks, deferred removals.
#include <gtest/gtest.h>

#include <vector>

#include "core/arrays/AssociationCardinalObjet.h"
#include "core/arrays/AssociationStringClass.h"

namespace {
// An object that records its own destruction.
class TTemoin : public TObject {
 public:
  explicit TTemoin(std::vector<int>* journal, int id) : journal_(journal), id_(id) {}
  ~TTemoin() override { journal_->push_back(id_); }

 private:
  std::vector<int>* journal_;
  int id_;
};

// Non-unique keys over plain integers, to reach the rules that apply among equal keys.
struct TIntTraits {
  using Cle = int;
  using Valeur = int;
  static int ComparerCles(int a, int b) { return a < b ? -1 : a > b ? 1 : 0; }
  static int ComparerValeurs(int a, int b) { return a < b ? -1 : a > b ? 1 : 0; }
};
class TAssocInt : public TTemplateAssoc<TIntTraits> {
 public:
  TAssocInt(bool unique, bool doubleSens) : TTemplateAssoc(0, unique, false, doubleSens) {}
};
}  // namespace

TEST(Association, StoringTheDefaultValueRemovesTheKeyAndReleasesItsValue) {
  std::vector<int> freed;
  TAssociationCardinalObjet a(true, false);
  a.SetValeur(7, nullptr);  // absent key, default value: nothing
  EXPECT_EQ(a.EntreesVivantes(), 0);
  auto* o1 = new TTemoin(&freed, 1);
  a.SetValeur(7, o1);
  a.SetValeur(7, o1);  // same value: nothing, nothing released
  EXPECT_TRUE(freed.empty());
  auto* o2 = new TTemoin(&freed, 2);
  a.SetValeur(7, o2);  // replacing keeps the old value alive
  EXPECT_TRUE(freed.empty());
  EXPECT_EQ(a.GetValeur(7), o2);
  a.SetValeur(7, nullptr);
  EXPECT_EQ(freed, std::vector<int>{2});
  EXPECT_EQ(a.GetValeur(7), nullptr);
  delete o1;
}

TEST(Association, FreedSlotIsReusedBeforeTheArrayGrows) {
  TAssociationCardinalObjet a(false, false);
  TObject x, y, z;
  a.SetValeur(1, &x);
  a.SetValeur(2, &y);
  a.SetValeur(1, nullptr);
  EXPECT_EQ(a.EntreesLibres(), 1);
  a.SetValeur(3, &z);
  EXPECT_EQ(a.EntreesUtilisees(), 2);
  EXPECT_EQ(a.EntreesLibres(), 0);
  EXPECT_EQ(a.GetValeur(3), &z);
  EXPECT_EQ(a.NombreCles(), 2);
}

TEST(Association, SharedValueWithDoubleSensIsReleasedWithItsLastKey) {
  std::vector<int> freed;
  {
    TAssociationCardinalObjet a(true, true);
    auto* shared = new TTemoin(&freed, 1);
    a.SetValeur(10, shared);
    a.SetValeur(20, shared);
    a.SetValeur(30, new TTemoin(&freed, 3));
    a.SupprimerCle(10);
    EXPECT_TRUE(freed.empty());
    a.SupprimerCle(20);
    EXPECT_EQ(freed, std::vector<int>{1});

    auto* again = new TTemoin(&freed, 4);
    a.SetValeur(40, again);
    a.SetValeur(50, again);
  }  // Vider releases each distinct value once
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(freed, (std::vector<int>{1, 3, 4}));
}

TEST(Association, KeyWalksEndAndStartAgain) {
  TAssociationCardinalObjet a(false, false);
  uint32_t cle = 0;
  EXPECT_FALSE(a.PremiereCle(cle));
  TObject x;
  a.SetValeur(5, &x);
  a.SetValeur(3, &x);
  ASSERT_TRUE(a.PremiereCle(cle));
  EXPECT_EQ(cle, 3u);
  ASSERT_TRUE(a.CleSuivante(cle));
  EXPECT_EQ(cle, 5u);
  EXPECT_FALSE(a.CleSuivante(cle));
  ASSERT_TRUE(a.CleSuivante(cle));  // from -1: the first key again
  EXPECT_EQ(cle, 3u);

  int visited = 0;
  EXPECT_TRUE(a.Parcourir([&](const uint32_t& k, TObject* const&, void*) { ++visited; return k == 3; }, nullptr));
  EXPECT_EQ(visited, 1);
  TAssociationCardinalObjet empty(false, false);
  EXPECT_FALSE(empty.Parcourir([](const uint32_t&, TObject* const&, void*) { return true; }, nullptr));
}

TEST(Association, DeferredRemovalsCountOnlyRemovedEntries) {
  TAssociationCardinalObjet a(false, false);
  TObject x, y;
  a.SetValeur(1, &x);
  a.SetValeur(2, &y);
  a.SetValeur(3, &y);
  a.DiffererSuppression(1, nullptr);  // default value: removes the key whatever its value
  a.DiffererSuppression(2, &x);       // not the stored value: nothing
  a.DiffererSuppression(3, &y);       // exact pair
  EXPECT_EQ(a.AppliquerSuppressionsDifferees(), 2);
  EXPECT_EQ(a.GetValeur(2), &y);
  EXPECT_EQ(a.NombreCles(), 1);
  EXPECT_EQ(a.AppliquerSuppressionsDifferees(), 0);
}

TEST(Association, ValueWalkGivesDistinctValuesInOrder) {
  TAssocInt a(true, true);
  a.SetValeur(1, 30);
  a.SetValeur(2, 10);
  a.SetValeur(3, 30);
  a.SetValeur(4, 20);
  std::vector<int> values;
  int v = 0;
  for (bool ok = a.PremiereValeur(v); ok; ok = a.ValeurSuivante(v)) values.push_back(v);
  EXPECT_EQ(values, (std::vector<int>{10, 20, 30}));
  a.SetValeur(2, 40);  // replacing moves the entry in the value index
  values.clear();
  for (bool ok = a.PremiereValeur(v); ok; ok = a.ValeurSuivante(v)) values.push_back(v);
  EXPECT_EQ(values, (std::vector<int>{20, 30, 40}));
}

TEST(Association, StringKeysAreCaseSensitive) {
  TAssociationStringClass a(false, false);
  a.SetValeur("TErreur", TObject::StaticClass());
  EXPECT_EQ(a.GetValeur("TErreur"), TObject::StaticClass());
  EXPECT_EQ(a.GetValeur("terreur"), nullptr);
  a.SetValeur("TErr", TObject::StaticClass());
  std::string cle;
  ASSERT_TRUE(a.PremiereCle(cle));
  EXPECT_EQ(cle, "TErr");  // a prefix before the longer string
}
