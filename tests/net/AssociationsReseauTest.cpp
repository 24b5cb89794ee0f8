// The networking layer's associations: GUID keys ordered as two signed 64-bit halves, owned
// objects, and classes whose absent value is the root object class.
#include <gtest/gtest.h>

#include "net/AssociationClasseClasse.h"
#include "net/AssociationIdentifiantObject.h"

namespace {
class TCompte : public TObject {
 public:
  explicit TCompte(int* freed) : freed_(freed) {}
  ~TCompte() override { ++*freed_; }

 private:
  int* freed_;
};
}  // namespace

TEST(AssociationIdentifiantObject, GuidOrderIsSignedFirstHalfThenSecond) {
  int freed = 0;
  {
    TAssociationIdentifiantObject a(true, false);
    // The first half is D1..D3 in memory order, read little-endian: its sign is the top bit of D3.
    constexpr TGUID negative = MakeGUID("{00000001-0000-8000-0000-000000000000}");
    constexpr TGUID small = MakeGUID("{00000002-0000-0000-0000-000000000000}");
    constexpr TGUID secondHalf = MakeGUID("{00000002-0000-0000-0000-000000000001}");
    a.SetValeur(secondHalf, new TCompte(&freed));
    a.SetValeur(small, new TCompte(&freed));
    a.SetValeur(negative, new TCompte(&freed));
    TGUID k;
    ASSERT_TRUE(a.PremiereCle(k));
    EXPECT_EQ(k, negative);
    ASSERT_TRUE(a.CleSuivante(k));
    EXPECT_EQ(k, small);
    ASSERT_TRUE(a.CleSuivante(k));
    EXPECT_EQ(k, secondHalf);
    a.SetValeur(small, nullptr);
    EXPECT_EQ(freed, 1);
  }
  EXPECT_EQ(freed, 3);
}

TEST(AssociationClasseClasse, AbsentClassAnswersTheRootClass) {
  TAssociationClasseClasse a;
  EXPECT_EQ(a.GetValeur(TObjetInterfacable::StaticClass()), TObject::StaticClass());
  a.SetValeur(TObjetInterfacable::StaticClass(), TObjectList::StaticClass());
  EXPECT_EQ(a.GetValeur(TObjetInterfacable::StaticClass()), TObjectList::StaticClass());
  a.SetValeur(TObjetInterfacable::StaticClass(), TObject::StaticClass());  // the default: removed
  EXPECT_EQ(a.EntreesVivantes(), 0);
}
