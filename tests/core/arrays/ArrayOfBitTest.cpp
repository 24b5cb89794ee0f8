// Bit sets, the bit vector behind the arrays' occupancy maps, and the comparison of objects.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfBit.h"
#include "core/arrays/BitSet.h"
#include "core/arrays/Comparable.h"

namespace {
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Bits written from bit 0 on the left ("101" sets bits 0 and 2).
void Poser(TArrayOfBit& b, const std::string& motif) {
  for (std::size_t i = 0; i < motif.size(); ++i)
    if (motif[i] == '1') b.Set(static_cast<int32_t>(i));
}
std::string Motif(const TArrayOfBit& b, int32_t jusqua) {
  std::string s;
  for (int32_t i = 0; i < jusqua; ++i) s += b.IsSet(i) ? '1' : '0';
  return s;
}
void Remplir(TArrayOfBit& b, int32_t de, int32_t a) {
  for (int32_t i = de; i <= a; ++i) b.Set(i);
}
}  // namespace

TEST(MethodesBitSet, SetClearAndTestBitsOfARunOfWords) {
  std::array<BitSet, 3> mots{};
  TMethodesBitSet::Inclure(0, mots);
  TMethodesBitSet::Inclure(33, mots);
  TMethodesBitSet::Inclure(95, mots);
  EXPECT_EQ(mots[0], 1u);
  EXPECT_EQ(mots[1], 2u);
  EXPECT_EQ(mots[2], 0x80000000u);
  EXPECT_TRUE(TMethodesBitSet::Contient(33, mots));
  TMethodesBitSet::Exclure(33, mots);
  EXPECT_FALSE(TMethodesBitSet::Contient(33, mots));
  // A bit whose word is not in the run is ignored.
  TMethodesBitSet::Inclure(96, mots);
  EXPECT_FALSE(TMethodesBitSet::Contient(96, mots));
  EXPECT_EQ(mots[0] + mots[1], 1u);
}

TEST(ArrayOfBit, NewVectorIsClearAndSearchesAreCapped) {
  TArrayOfBit b(40);
  EXPECT_EQ(b.NombreMots(), 2);
  EXPECT_EQ(b.PremierBitNul(), 0);
  EXPECT_EQ(b.DernierBitUn(), -1);
  EXPECT_EQ(b.PositionNiemeBitUn(1), 40);
  EXPECT_EQ(b.PositionNiemeBitUn(0), -1);
}

TEST(ArrayOfBit, CountsAndSearchesOnAFullVector) {
  TArrayOfBit b(40);
  Remplir(b, 0, 39);
  EXPECT_EQ(b.CompterBitsUn(0, 5), 6);
  EXPECT_EQ(b.CompterBitsUn(kMin, kMin), 40);
  EXPECT_EQ(b.PremierBitNul(), 40);
  EXPECT_EQ(b.DernierBitUn(), 39);
  EXPECT_EQ(b.PositionNiemeBitUn(33), 32);
  EXPECT_EQ(b.PositionNiemeBitUn(41), 40);
}

TEST(ArrayOfBit, CountingClampsBoundsOutsideTheVector) {
  TArrayOfBit b(40);
  Remplir(b, 0, 39);
  EXPECT_EQ(b.CompterBitsUn(-5, 1000), 40);
  EXPECT_EQ(b.CompterBitsUn(35, 100000), 5);
  EXPECT_EQ(b.CompterBitsUn(10, 5), 0);
  EXPECT_EQ(b.CompterBitsUn(0, -1), 0);
  TArrayOfBit vide(0);
  EXPECT_EQ(vide.CompterBitsUn(0, 10), 0);
}

TEST(ArrayOfBit, ShiftsInsideOneWord) {
  TArrayOfBit bas(32);
  Poser(bas, "101");
  bas.DecalerVersLeBas(2);
  EXPECT_EQ(Motif(bas, 4), "1000");
  TArrayOfBit haut(32);
  Poser(haut, "101");
  haut.DecalerVersLeHaut(1);
  EXPECT_EQ(Motif(haut, 4), "1001");
}

TEST(ArrayOfBit, ShiftsCarryBitsAcrossWords) {
  TArrayOfBit bas(64);
  Remplir(bas, 0, 4);
  Remplir(bas, 6, 15);
  bas.Set(32);
  bas.DecalerVersLeBas(5);
  TArrayOfBit attendu(64);
  Remplir(attendu, 0, 14);
  attendu.Set(31);
  EXPECT_EQ(Motif(bas, 64), Motif(attendu, 64));

  TArrayOfBit haut(64);
  Remplir(haut, 0, 15);
  haut.Set(31);
  haut.Set(32);
  haut.DecalerVersLeHaut(5);
  TArrayOfBit attendu2(64);
  Remplir(attendu2, 0, 4);
  Remplir(attendu2, 6, 16);
  attendu2.Set(32);
  attendu2.Set(33);
  EXPECT_EQ(Motif(haut, 64), Motif(attendu2, 64));
}

TEST(ArrayOfBit, NthClearBitAfterAPosition) {
  TArrayOfBit b(40);
  Poser(b, "1101");
  EXPECT_EQ(b.PositionNiemeBitNulApres(1, -1), 2);
  EXPECT_EQ(b.PositionNiemeBitNulApres(2, -1), 4);
  EXPECT_EQ(b.PositionNiemeBitNulApres(1, 39), -1);
  EXPECT_EQ(b.PositionNiemeBitNulApres(1, 38), 39);
  EXPECT_EQ(b.PositionNiemeBitNulApres(0, 0), -1);
  EXPECT_EQ(b.PositionNiemeBitNulApres(1, -2), -1);
  // Only bits below NombreBits count: 40 bits hold 36 clear bits after position 3.
  EXPECT_EQ(b.PositionNiemeBitNulApres(36, 3), 39);
  EXPECT_EQ(b.PositionNiemeBitNulApres(37, 3), -1);
}

TEST(ArrayOfBit, ReducingTheCountKeepsTheWordsAndTheirBits) {
  TArrayOfBit b(64);
  Remplir(b, 40, 63);
  b.SetNombreBits(40);
  EXPECT_EQ(b.NombreMots(), 2);
  EXPECT_TRUE(b.IsSet(40) && b.IsSet(63));
  // Searches stay within the count.
  EXPECT_EQ(b.PositionNiemeBitUn(1), 40);
  EXPECT_EQ(b.CompterBitsUn(kMin, kMin), 0);
  b.SetNombreBits(100);
  EXPECT_EQ(b.NombreMots(), 4);
  EXPECT_FALSE(b.IsSet(64));
}

// The searches answer the same whether they walk the words or use the rank directory that
// repeated queries build, however the map changes in between.
TEST(ArrayOfBit, RepeatedQueriesAgreeWithAPlainWalk) {
  std::mt19937 alea(7);
  TArrayOfBit b(1000);
  std::vector<bool> modele(1000, false);
  for (int tour = 0; tour < 300; ++tour) {
    const int32_t i = static_cast<int32_t>(alea() % 1000);
    if (alea() % 3 == 0) {
      b.Clear(i);
      modele[static_cast<std::size_t>(i)] = false;
    } else {
      b.Set(i);
      modele[static_cast<std::size_t>(i)] = true;
    }
    for (int repetition = 0; repetition < 3; ++repetition) {
      const int32_t n = static_cast<int32_t>(alea() % 700) + 1;
      int32_t attendu = 1000, compte = 0;
      for (int32_t k = 0; k < 1000; ++k)
        if (modele[static_cast<std::size_t>(k)] && ++compte == n) {
          attendu = k;
          break;
        }
      ASSERT_EQ(b.PositionNiemeBitUn(n), attendu) << "tour " << tour;
      const int32_t de = static_cast<int32_t>(alea() % 1000), a = static_cast<int32_t>(alea() % 1000);
      int32_t total = 0;
      for (int32_t k = de; k <= a; ++k) total += modele[static_cast<std::size_t>(k)];
      ASSERT_EQ(b.CompterBitsUn(de, a), total);
    }
  }
}

namespace {
class TValeurComparable : public TCustomComparable {
 public:
  explicit TValeurComparable(int v) : valeur(v) {}
  int32_t Comparer(TObject* Autre, int32_t Mode) override {
    const int a = valeur, b = static_cast<TValeurComparable*>(Autre)->valeur;
    const int r = a < b ? -1 : a > b ? 1 : 0;
    return Mode == 1 ? -r : r;
  }
  int valeur;
};
}  // namespace

TEST(CustomComparable, ComparableObjectsUseTheirOrderOthersTheirAddresses) {
  TValeurComparable deux(2), cinq(5);
  EXPECT_EQ(TCustomComparable::Comparer(&cinq, &deux, 0), 1);
  EXPECT_EQ(TCustomComparable::Comparer(&cinq, &deux, 1), -1);  // the mode reaches the object
  EXPECT_EQ(TCustomComparable::Comparer(&deux, &deux, 0), 0);

  TObject paire[2];
  EXPECT_EQ(TCustomComparable::Comparer(&paire[0], &paire[1], 0), -1);
  EXPECT_EQ(TCustomComparable::Comparer(&paire[1], &paire[0], 0), 1);
  EXPECT_EQ(TCustomComparable::Comparer(&paire[0], &paire[0], 0), 0);
  EXPECT_EQ(TCustomComparable::Comparer(nullptr, nullptr, 0), 0);
  // One side without the interface: addresses decide.
  const int attendu = reinterpret_cast<uintptr_t>(&deux) < reinterpret_cast<uintptr_t>(&paire[0]) ? -1 : 1;
  EXPECT_EQ(TCustomComparable::Comparer(&deux, &paire[0], 0), attendu);
}
