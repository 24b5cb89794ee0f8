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

// Entries whose prefix is the highest value sort last like any other, and a search for that prefix
// finds the first of them, across leaves.
TEST(OrderTree, HighestPrefixIsAnOrdinaryValue) {
  constexpr uint64_t kHighest = ~uint64_t{0};
  OrderTree tree;
  const auto byPrefixThenNumber = [](uint64_t prefix, uint32_t number) {
    return [prefix, number](uint64_t p, uint32_t n) { return p != prefix ? p < prefix : n < number; };
  };
  // 300 entries below, then 300 with the highest prefix, inserted interleaved.
  for (uint32_t n = 1; n <= 600; ++n) {
    const uint64_t prefix = n % 2 == 0 ? kHighest : n;
    tree.Insert(byPrefixThenNumber(prefix, n), prefix, n);
  }
  ASSERT_TRUE(tree.CheckStructure());
  ASSERT_GE(tree.Height(), 1u);
  EXPECT_EQ(tree.LowerBoundPrefix(kHighest), 301u);
  EXPECT_EQ(tree.NumberAt(301), 2u);
  EXPECT_EQ(tree.LowerBoundPrefix(kHighest - 1), 301u);
  EXPECT_EQ(tree.LowerBoundPrefix(599), 300u);
  uint32_t number = 0;
  uint64_t found = 0;
  ASSERT_TRUE(tree.FirstNotBelowPrefix(kHighest, number, found));
  EXPECT_EQ(number, 2u);
  EXPECT_EQ(found, kHighest);
  ASSERT_TRUE(tree.FirstNotBelowPrefix(600, number, found));
  EXPECT_EQ(found, kHighest);
  ASSERT_TRUE(tree.FirstNotBelowPrefix(0, number, found));
  EXPECT_EQ(number, 1u);
  // Removing every entry below leaves the highest ones alone, still found first.
  for (uint32_t n = 1; n <= 600; n += 2) ASSERT_TRUE(tree.Remove(byPrefixThenNumber(n, n), n));
  ASSERT_TRUE(tree.CheckStructure());
  EXPECT_EQ(tree.LowerBoundPrefix(kHighest), 1u);
  EXPECT_EQ(tree.NumberAt(300), 600u);
}

// Draining two ranges of keys out of a wide tree empties inner nodes next to full ones, so that
// entries move between inner nodes in both directions; every running total must follow.
TEST(OrderTree, InnerNodesRefillFromTheirNeighbours) {
  constexpr uint32_t kEntries = 60000;
  const auto keyOf = [](uint32_t n) { return (n * 7919u) % kEntries; };
  const auto probe = [&](uint32_t n) {
    return [key = keyOf(n)](uint64_t prefix, uint32_t) { return prefix < key; };
  };
  std::mt19937 random(99);
  std::vector<uint32_t> numbers(kEntries);
  for (uint32_t i = 0; i < kEntries; ++i) numbers[i] = i + 1;
  std::shuffle(numbers.begin(), numbers.end(), random);
  OrderTree tree;
  for (uint32_t n : numbers) tree.Insert(probe(n), keyOf(n), n);
  ASSERT_TRUE(tree.CheckStructure());
  ASSERT_EQ(tree.Height(), 2u);

  std::vector<uint32_t> drained, kept;
  for (uint32_t n : numbers) {
    const uint32_t key = keyOf(n);
    (key < 15000 || (key >= 30000 && key < 45000) ? drained : kept).push_back(n);
  }
  for (std::size_t i = 0; i < drained.size(); ++i) {
    ASSERT_TRUE(tree.Remove(probe(drained[i]), drained[i]));
    if (i % 1000 == 0) {
      ASSERT_TRUE(tree.CheckStructure()) << i;
    }
  }
  ASSERT_TRUE(tree.CheckStructure());
  std::sort(kept.begin(), kept.end(), [&](uint32_t a, uint32_t b) { return keyOf(a) < keyOf(b); });
  ASSERT_EQ(tree.Count(), kept.size());
  for (uint32_t p = 1; p <= tree.Count(); p += 37) ASSERT_EQ(tree.NumberAt(p), kept[p - 1]) << p;
  for (uint32_t p = tree.Count(); p >= 1; p -= std::min(p, 41u)) ASSERT_EQ(tree.NumberAt(p), kept[p - 1]) << p;
  for (std::size_t i = 0; i < kept.size(); i += 53)
    ASSERT_EQ(tree.LowerBoundPrefix(keyOf(kept[i])), i + 1) << i;
}
