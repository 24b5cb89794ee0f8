// The sequence of one order: positions, searches, insertions and removals against a plain sorted model.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/records/OrderTree.h"

namespace {

// Entries sorted by (key, number); the prefix is a coarse part of the key so that many searches
// fall back on the key itself.
struct Model {
  std::vector<uint32_t> keyOf = std::vector<uint32_t>(100000, 0);
  std::vector<uint32_t> sequence;  // numbers in order

  static uint64_t PrefixOf(uint32_t key) { return key >> 6; }
  bool Less(uint32_t a, uint32_t b) const { return keyOf[a] != keyOf[b] ? keyOf[a] < keyOf[b] : a < b; }

  auto Probe(uint32_t key, uint32_t number) const {
    return [this, key, number](uint64_t prefix, uint32_t entry) {
      if (prefix != PrefixOf(key)) return prefix < PrefixOf(key);
      if (keyOf[entry] != key) return keyOf[entry] < key;
      return entry < number;
    };
  }
  uint32_t LowerBound(uint32_t key, uint32_t number) const {
    return static_cast<uint32_t>(std::partition_point(sequence.begin(), sequence.end(),
                                                      [&](uint32_t e) {
                                                        return keyOf[e] != key ? keyOf[e] < key : e < number;
                                                      }) -
                                 sequence.begin()) +
           1;
  }
  uint32_t LowerBoundPrefix(uint64_t prefix) const {
    return static_cast<uint32_t>(std::partition_point(sequence.begin(), sequence.end(),
                                                      [&](uint32_t e) { return PrefixOf(keyOf[e]) < prefix; }) -
                                 sequence.begin()) +
           1;
  }
};

void ExpectSameSequence(OrderTree& tree, const Model& model) {
  ASSERT_TRUE(tree.CheckStructure());
  ASSERT_EQ(tree.Count(), model.sequence.size());
  for (uint32_t p = 1; p <= tree.Count(); ++p) ASSERT_EQ(tree.NumberAt(p), model.sequence[p - 1]) << p;
  for (uint32_t p = tree.Count(); p >= 1; --p) ASSERT_EQ(tree.NumberAt(p), model.sequence[p - 1]) << p;
}

}  // namespace

// Grows the tree to several levels with many equal keys, searches it, then empties it in random
// order so that every merge, refill and root collapse happens.
TEST(OrderTree, FollowsASortedModelThroughGrowthAndShrinking) {
  std::mt19937 random(12345);
  Model model;
  OrderTree tree;
  std::vector<uint32_t> present;
  uint32_t nextNumber = 1;
  auto insert = [&] {
    const uint32_t n = nextNumber++;
    model.keyOf[n] = static_cast<uint32_t>(random() % 3000);
    const uint32_t expected =
        static_cast<uint32_t>(std::lower_bound(model.sequence.begin(), model.sequence.end(), n,
                                               [&](uint32_t a, uint32_t b) { return model.Less(a, b); }) -
                              model.sequence.begin());
    model.sequence.insert(model.sequence.begin() + expected, n);
    ASSERT_EQ(tree.Insert(model.Probe(model.keyOf[n], n), Model::PrefixOf(model.keyOf[n]), n), expected + 1);
    present.push_back(n);
  };
  auto remove = [&] {
    const std::size_t i = random() % present.size();
    const uint32_t n = present[i];
    present[i] = present.back();
    present.pop_back();
    model.sequence.erase(std::find(model.sequence.begin(), model.sequence.end(), n));
    ASSERT_TRUE(tree.Remove(model.Probe(model.keyOf[n], n), n));
  };
  auto search = [&] {
    const uint32_t key = static_cast<uint32_t>(random() % 3100);
    ASSERT_EQ(tree.LowerBound(model.Probe(key, 0), 0), model.LowerBound(key, 0));
    // The search by prefix alone lands on the first entry of the prefix, and tells what it reached.
    const uint32_t byPrefix = tree.LowerBoundPrefix(Model::PrefixOf(key));
    ASSERT_EQ(byPrefix, model.LowerBoundPrefix(Model::PrefixOf(key)));
    uint32_t reached = 0;
    uint64_t reachedPrefix = 0;
    if (byPrefix <= tree.Count()) {
      ASSERT_TRUE(tree.LastReached(reached, reachedPrefix));
      ASSERT_EQ(reached, model.sequence[byPrefix - 1]);
      ASSERT_EQ(reachedPrefix, Model::PrefixOf(model.keyOf[reached]));
    }
    if (!present.empty()) {
      const uint32_t n = present[random() % present.size()];
      uint32_t position = tree.LowerBound(model.Probe(model.keyOf[n], n), n);
      ASSERT_EQ(tree.NumberAt(position), n);
      uint32_t hint = 0;
      ASSERT_TRUE(tree.LastReachedHolds(n, hint));
      ASSERT_EQ(hint, position);
    }
  };

  for (int i = 0; i < 20000; ++i) {
    if (random() % 4 != 0 || present.empty())
      insert();
    else
      remove();
    if (i % 50 == 0) search();
  }
  EXPECT_GE(tree.Height(), 2u);
  ExpectSameSequence(tree, model);
  uint32_t ignored;
  EXPECT_FALSE(tree.Remove(model.Probe(5, 99999), 99999));  // absent
  EXPECT_FALSE(tree.LastReachedHolds(99999, ignored));

  while (!present.empty()) {
    remove();
    if (present.size() % 997 == 0) ExpectSameSequence(tree, model);
  }
  ExpectSameSequence(tree, model);
  EXPECT_EQ(tree.Height(), 0u);
  EXPECT_EQ(tree.LowerBound(model.Probe(1, 0), 0), 1u);
  EXPECT_EQ(tree.LowerBoundPrefix(0), 1u);
  EXPECT_EQ(tree.NumberAt(1), 0u);
}
