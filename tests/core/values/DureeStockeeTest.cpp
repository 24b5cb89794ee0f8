// Duration comparison (tolerance, infinities, NaN), and copying stored durations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/values/DureeStockee.h"

using namespace DureeStockee;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

TypeDureeStockee D(double v) { return TypeDureeStockee{v, nullptr}; }
}  // namespace

TEST(DureeComparer, ToleranceInfinitiesAndNaNGiveAnAntisymmetricOrder) {
  struct Cas { double a, b; int attendu; };
  const Cas cas[] = {
      {1.0, 1.0 + 1e-13, 0},
      {1.0, 1.0 + 2e-12, -1},
      {0.0, 5e-13, 0},      // the absolute floor of the tolerance
      {0.0, 2e-12, -1},
      {1e6, 1e6 + 1e-7, 0},  // relative tolerance for large values
      {1e6, 1e6 + 1e-5, -1},
      {kInf, kInf, 0},
      {-kInf, -kInf, 0},
      {-kInf, kInf, -1},
      {kInf, 1e308, 1},
      {kNaN, kNaN, 0},
      {kNaN, -kInf, -1},
      {0.0, kNaN, 1},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(DureeComparer(D(c.a), D(c.b)), c.attendu) << c.a << " vs " << c.b;
    EXPECT_EQ(Comparer(D(c.b), D(c.a)), -c.attendu) << c.b << " vs " << c.a;
    EXPECT_EQ(DureeComparerValeur(D(c.a), c.b), c.attendu) << c.a << " vs " << c.b;
  }
  EXPECT_TRUE(DureeEgaleA(D(kInf), kInf));
  EXPECT_TRUE(DureeEgaleA(D(kNaN), kNaN));
  EXPECT_TRUE(DureeSuperieureA(D(2.0), 1.0));
  EXPECT_FALSE(DureeSuperieureA(D(1.0), 1.0 + 1e-13));
}

TEST(DureeComparer, SortsAnArrayHoldingInfinitiesAndNaN) {
  std::vector<TypeDureeStockee> v = {D(kInf), D(1.0), D(kNaN), D(-kInf), D(kInf), D(kNaN), D(0.0), D(-2.5)};
  std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return Comparer(a, b) < 0; });
  EXPECT_TRUE(std::isnan(v[0].Valeur));
  EXPECT_TRUE(std::isnan(v[1].Valeur));
  const double attendu[] = {-kInf, -2.5, 0.0, 1.0, kInf, kInf};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(v[i + 2].Valeur, attendu[i]) << i;
}

TEST(DureeStockee, InfiniteUndefinedMultiplyAndCopies) {
  EXPECT_TRUE(DureeEstInfinie(kInf));
  EXPECT_TRUE(DureeEstInfinie(-kInf));
  EXPECT_FALSE(DureeEstInfinie(kNaN));
  EXPECT_TRUE(DureeEstIndefinie(kNaN));
  EXPECT_FALSE(DureeEstIndefinie(1e300));
  EXPECT_EQ(DureeMultiplier(1.5, 3), 4.5);
  EXPECT_EQ(Multiplier(D(0.25), 1), 0.25);

  // Any object stands for the carried reference; only its identity matters here.
  int marqueur = 0;
  auto* reference = reinterpret_cast<IInterface*>(&marqueur);
  TypeDureeStockee cible{9.0, reference};
  DureeInitialiser(cible, 2.0);
  EXPECT_EQ(DureeValeur(cible), 2.0);
  EXPECT_EQ(cible.Reference, reference);
  CopierValeur(D(3.0), cible);
  EXPECT_EQ(cible.Valeur, 3.0);
  EXPECT_EQ(cible.Reference, reference);
  Copier(D(4.0), cible);
  EXPECT_EQ(cible.Valeur, 4.0);
  EXPECT_EQ(cible.Reference, nullptr);
}
