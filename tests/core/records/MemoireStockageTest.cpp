// Sorted sets of 32-bit values, their block format, the memory helpers, and the pointer stores.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "core/records/Memoire.h"
#include "core/records/Stockage.h"

namespace {

// A set owned by a test, freed at the end of it.
struct Ensemble {
  TypeEnsembleMemoire e;
  Ensemble() { Memoire::Initialiser(e); }
  Ensemble(std::initializer_list<uint32_t> values) : Ensemble() {
    for (uint32_t v : values) Memoire::Inserer(v, e);
  }
  ~Ensemble() { Memoire::Liberer(e); }
  std::vector<uint32_t> Values() const { return {e.Elements, e.Elements + e.Nombre}; }
};

using V = std::vector<uint32_t>;

}  // namespace

TEST(Memoire, SearchOnAnEmptyOrUninitialisedSetReadsNoArray) {
  TypeEnsembleMemoire never;  // no array at all: a read would be caught by the address sanitizer
  uint32_t position = 99;
  EXPECT_FALSE(Memoire::Chercher(7, never, position));
  EXPECT_EQ(position, 1u);
  Ensemble empty;
  EXPECT_FALSE(Memoire::Chercher(7, empty.e, position));
  EXPECT_EQ(position, 1u);
}

TEST(Memoire, CapacityGrowsAndShrinksBySteps) {
  TypeEnsembleMemoire s;
  Memoire::Initialiser(s);
  EXPECT_EQ(s.Capacite, 5u);
  for (uint32_t v = 1; v <= 5; ++v) EXPECT_TRUE(Memoire::Inserer(v, s));
  EXPECT_EQ(s.Capacite, 5u);  // exactly full
  for (uint32_t v = 6; v <= 7; ++v) EXPECT_TRUE(Memoire::Inserer(v, s));
  EXPECT_EQ(s.Capacite, 10u);
  EXPECT_TRUE(Memoire::Supprimer(3, s));
  EXPECT_EQ(s.Nombre, 6u);
  EXPECT_EQ(s.Capacite, 10u);
  EXPECT_EQ(s.Elements[6], 0u);  // the entry given up is cleared
  EXPECT_TRUE(Memoire::Supprimer(7, s));
  EXPECT_EQ(s.Nombre, 5u);
  EXPECT_EQ(s.Capacite, 5u);
  for (uint32_t v : {1u, 2u, 4u, 5u, 6u}) EXPECT_TRUE(Memoire::Supprimer(v, s));
  EXPECT_EQ(s.Capacite, 0u);
  EXPECT_EQ(s.Elements, nullptr);
  EXPECT_FALSE(Memoire::Supprimer(1, s));
  EXPECT_TRUE(Memoire::Inserer(9, s));
  EXPECT_EQ(s.Capacite, 5u);
  Memoire::SupprimerA(0, s);  // outside 1..Nombre: nothing
  Memoire::SupprimerA(2, s);
  EXPECT_EQ(s.Nombre, 1u);
  Memoire::Liberer(s);
}

TEST(Memoire, InsertionKeepsUnsignedOrderWithoutDuplicates) {
  Ensemble s{2147483648u, 5, 2147483647u, 0xFFFFFFFFu, 0};
  EXPECT_EQ(s.Values(), (V{0, 5, 2147483647u, 2147483648u, 0xFFFFFFFFu}));
  EXPECT_FALSE(Memoire::Inserer(5, s.e));
  EXPECT_EQ(s.e.Nombre, 5u);
  EXPECT_EQ(Memoire::Rechercher(6, s.e), 3u);
  EXPECT_EQ(Memoire::Rechercher(0xFFFFFFFFu, s.e), 5u);
  EXPECT_TRUE(Memoire::Ajouter(5, s.e));  // appends a second copy, out of order
  EXPECT_EQ(s.Values(), (V{0, 5, 2147483647u, 2147483648u, 0xFFFFFFFFu, 5}));
  Memoire::Trier(s.e);
  EXPECT_EQ(s.Values(), (V{0, 5, 5, 2147483647u, 2147483648u, 0xFFFFFFFFu}));
}

TEST(Memoire, CompareCountsFirstThenValues) {
  struct Case {
    Ensemble *a, *b;
    int expected;
  };
  Ensemble nine{9}, oneTwo{1, 2}, oneThree{1, 3}, empty1, empty2;
  const Case cases[] = {
      {&nine, &oneTwo, -1}, {&oneThree, &oneTwo, 1}, {&oneTwo, &oneTwo, 0}, {&empty1, &empty2, 0}};
  for (const Case& c : cases) EXPECT_EQ(Memoire::Comparer(c.a->e, c.b->e), c.expected);
}

TEST(Memoire, UnionMergesIntoTheTarget) {
  Ensemble target{1, 4, 7}, source{2, 4};
  Memoire::Union(source.e, target.e);
  EXPECT_EQ(target.Values(), (V{1, 2, 4, 7}));
  EXPECT_EQ(target.e.Capacite, 5u);

  TypeEnsembleMemoire noArray;
  Memoire::Union(source.e, noArray);
  EXPECT_EQ(V(noArray.Elements, noArray.Elements + noArray.Nombre), (V{2, 4}));
  EXPECT_EQ(noArray.Capacite, source.e.Capacite);
  EXPECT_NE(noArray.Elements, source.e.Elements);
  Memoire::Liberer(noArray);

  // The capacity rises by steps to the sum of both counts, even when values are shared.
  Ensemble four{1, 2, 3, 4}, three{3, 9, 10};
  Memoire::Union(three.e, four.e);
  EXPECT_EQ(four.Values(), (V{1, 2, 3, 4, 9, 10}));
  EXPECT_EQ(four.e.Capacite, 10u);
}

TEST(Memoire, DifferenceAndIntersectionShrinkLikeSingleRemovals) {
  Ensemble target{1, 2, 3, 4, 5, 6, 7}, source{2, 4, 9};
  ASSERT_EQ(target.e.Capacite, 10u);
  Memoire::Difference(source.e, target.e);
  EXPECT_EQ(target.Values(), (V{1, 3, 5, 6, 7}));
  EXPECT_EQ(target.e.Capacite, 5u);  // reached 5 values = 10 - 5

  TypeEnsembleMemoire noArray;
  Memoire::Difference(source.e, noArray);
  EXPECT_EQ(noArray.Capacite, 5u);
  EXPECT_EQ(noArray.Nombre, 0u);
  Memoire::Liberer(noArray);

  Ensemble set{1, 2, 3}, other{2, 5}, empty;
  EXPECT_TRUE(Memoire::Intersection(set.e, other.e));
  EXPECT_EQ(set.Values(), (V{2}));
  EXPECT_FALSE(Memoire::Intersection(set.e, empty.e));
  EXPECT_EQ(set.e.Nombre, 0u);
  EXPECT_EQ(set.e.Capacite, 0u);
  EXPECT_EQ(set.e.Elements, nullptr);
}

TEST(Memoire, CopyIsIndependent) {
  Ensemble source{3, 1, 2};
  TypeEnsembleMemoire copy;
  Memoire::Copier(source.e, copy);
  Memoire::Inserer(0, copy);
  EXPECT_EQ(source.Values(), (V{1, 2, 3}));
  EXPECT_EQ(V(copy.Elements, copy.Elements + copy.Nombre), (V{0, 1, 2, 3}));
  Memoire::Liberer(copy);
}

TEST(Memoire, BlockFormatRoundTrip) {
  Ensemble s{1, 0x01020304u};
  std::size_t size = 0;
  void* block = nullptr;
  Memoire::VersTampon(s.e, size, block);
  ASSERT_EQ(size, 12u);
  const unsigned char expected[] = {2, 0, 0, 0, 1, 0, 0, 0, 4, 3, 2, 1};
  EXPECT_EQ(std::memcmp(block, expected, size), 0);

  TypeEnsembleMemoire back;
  EXPECT_EQ(Memoire::DepuisTampon(block, size, back), static_cast<unsigned char*>(block) + 12);
  EXPECT_EQ(Memoire::Comparer(back, s.e), 0);
  Memoire::Liberer(back);
  Memoire::Desallouer(block, size);
  EXPECT_EQ(block, nullptr);

  Ensemble empty;
  Memoire::VersTampon(empty.e, size, block);
  ASSERT_EQ(size, 4u);
  EXPECT_EQ(std::memcmp(block, "\0\0\0\0", 4), 0);
  EXPECT_EQ(Memoire::DepuisTampon(block, size, back), static_cast<unsigned char*>(block) + 4);
  EXPECT_EQ(back.Capacite, 5u);
  EXPECT_EQ(back.Nombre, 0u);
  Memoire::Liberer(back);
  Memoire::Desallouer(block, size);

  // Seven values: the capacity that seven appends reach.
  unsigned char seven[4 + 28] = {7};
  EXPECT_NE(Memoire::DepuisTampon(seven, sizeof seven, back), nullptr);
  EXPECT_EQ(back.Capacite, 10u);
  Memoire::Liberer(back);
}

TEST(Memoire, BlockAnnouncingMoreValuesThanItHoldsIsRefused) {
  const unsigned char lying[] = {3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};  // says 3, holds 2
  const unsigned char huge[] = {0xFF, 0xFF, 0xFF, 0xFF};
  TypeEnsembleMemoire untouched;
  EXPECT_EQ(Memoire::DepuisTampon(lying, sizeof lying, untouched), nullptr);
  EXPECT_EQ(Memoire::DepuisTampon(huge, sizeof huge, untouched), nullptr);
  EXPECT_EQ(Memoire::DepuisTampon(lying, 3, untouched), nullptr);
  EXPECT_EQ(Memoire::DepuisTampon(nullptr, 0, untouched), nullptr);
  EXPECT_EQ(untouched.Elements, nullptr);
  EXPECT_EQ(untouched.Capacite, 0u);
}

TEST(Memoire, MemoryHelpers) {
  EXPECT_EQ(Memoire::Allouer(0), nullptr);
  void* block = Memoire::Allouer(8);
  EXPECT_EQ(std::memcmp(block, "\0\0\0\0\0\0\0\0", 8), 0);
  std::memcpy(block, "abcdefgh", 8);
  Memoire::Reallouer(block, 8, 4);
  EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
  Memoire::Reallouer(block, 4, 6);
  EXPECT_EQ(std::memcmp(block, "abcd\0\0", 6), 0);
  EXPECT_EQ(Memoire::Reallouer(block, 6, 0), nullptr);
  EXPECT_EQ(block, nullptr);
}

TEST(Stockage, FirstInFirstOutAndLastInFirstOut) {
  auto item = [](intptr_t i) { return reinterpret_cast<void*>(i); };
  TStockage fifo(false);
  for (intptr_t i = 1; i <= 11; ++i) fifo.Ajouter(item(i));
  EXPECT_EQ(fifo.NombreBlocs(), 2);
  EXPECT_EQ(fifo.Extraire(), item(1));
  EXPECT_EQ(fifo.NombreBlocs(), 1);
  for (intptr_t i = 2; i <= 11; ++i) EXPECT_EQ(fifo.Extraire(), item(i));
  EXPECT_FALSE(fifo.NonVide());
  EXPECT_EQ(fifo.NombreBlocs(), 0);
  EXPECT_EQ(fifo.Extraire(), nullptr);
  EXPECT_EQ(fifo.Nombre(), 0);

  TPile pile;
  EXPECT_TRUE(pile.DernierEntrePremierSorti());
  for (intptr_t i = 1; i <= 11; ++i) pile.Ajouter(item(i));
  EXPECT_EQ(pile.Extraire(), item(11));
  EXPECT_EQ(pile.NombreBlocs(), 1);
  EXPECT_EQ(pile.ClassName(), "TPile");
  EXPECT_TRUE(pile.InheritsFrom(TStockage::StaticClass()));

  TStockage* made = TStockage::CreateMode(false);
  EXPECT_FALSE(made->DernierEntrePremierSorti());
  delete made;
}
