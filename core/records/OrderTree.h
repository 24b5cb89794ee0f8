// The sequence of one sorted order of a record table: record numbers sorted by (key, record number).
// It is a B+tree whose inner nodes keep running totals of the entries under their children, so that
// the entries before a child are one read away and reaching the entry at
// a position, finding the position of a key, inserting and removing all cost O(log n), where a flat
// sorted array would move its whole tail on every insertion. Each entry carries a 64-bit prefix of
// its key, chosen by the table so that entries whose prefixes differ sort as their prefixes: most
// comparisons then never touch the record.
//
// The tree does not know keys: searches take a predicate `below(prefix, number)` that tells whether
// an entry sorts strictly before the probe. Record numbers are unique within one tree.
// Not synchronised: one thread uses a tree at a time.
#pragma once

#include <algorithm>
#include <cstdint>

class OrderTree {
 public:
  static constexpr uint32_t kLeafCapacity = 128;
  static constexpr uint32_t kInnerCapacity = 64;

  OrderTree();
  ~OrderTree();
  OrderTree(const OrderTree&) = delete;
  OrderTree& operator=(const OrderTree&) = delete;

  uint32_t Count() const { return count_; }

  // The number at a position, 1..Count. Reaching the position next to the last one reached (before
  // or after) costs O(1), so that walks in either direction are linear.
  uint32_t NumberAt(uint32_t position);

  // True, with its position, when the entry last reached (by NumberAt or LowerBound) is `number`
  // and the tree has not changed since.
  bool LastReachedHolds(uint32_t number, uint32_t& position) const;

  // The number and prefix of the entry last reached, when the tree has not changed since; False
  // otherwise (also after a search that went past the last entry).
  bool LastReached(uint32_t& number, uint64_t& prefix) const;

  // The position (1..Count + 1) of the first entry that is not below the probe. `probeNumber` is the
  // probe's record number (0 for none): when an entry with that number starts a subtree, the search
  // goes into that subtree, so that an entry's own probe finds it inside its leaf.
  template <class Below>
  uint32_t LowerBound(const Below& below, uint32_t probeNumber);

  // LowerBound for a probe known by its prefix alone, when equal prefixes mean equal keys and the
  // probe has no number: the first entry whose prefix is not below `prefix`. Each node is searched
  // without branches, so that no step of the search is mispredicted.
  uint32_t LowerBoundPrefix(uint64_t prefix);

  // The entry that LowerBoundPrefix reaches, its number and prefix, without its position: what a
  // search that only wants the record needs, for less work than counting the entries before it.
  // False when every entry is below. The last entry reached stays as it was.
  bool FirstNotBelowPrefix(uint64_t prefix, uint32_t& number, uint64_t& found) const;

  // Inserts an entry at its sorted place; returns its position.
  template <class Below>
  uint32_t Insert(const Below& below, uint64_t prefix, uint32_t number);

  // Removes the entry of `number`, found with a probe of its own key; False when it is not there.
  template <class Below>
  bool Remove(const Below& below, uint32_t number);

  // Removes the entry of `number` wherever it stands, walking the leaves: the way out when a
  // comparison routine that is not a consistent order made Remove miss it. False when absent.
  bool RemoveNumber(uint32_t number);

  // Empties the tree.
  void Clear();

  // Checks every structural invariant (counts, subtree minima, leaf chain, fill); for tests.
  bool CheckStructure() const;
  uint32_t Height() const { return height_; }

 private:
  struct Node {
    uint32_t size = 0;
  };
  // Unused prefix slots of a node hold the highest prefix, so that a search may run over every slot
  // with a fixed number of steps: no probe is above that value, so it never counts as below.
  static constexpr uint64_t kVacant = ~uint64_t{0};

  struct Leaf : Node {
    Leaf() { std::fill(prefix, prefix + kLeafCapacity, kVacant); }
    Leaf* prev = nullptr;
    Leaf* next = nullptr;
    uint64_t prefix[kLeafCapacity];
    uint32_t number[kLeafCapacity];
  };
  struct Inner : Node {
    Inner() { std::fill(minPrefix, minPrefix + kInnerCapacity, kVacant); }
    // Entries under the children before each child: first[i] is the offset, within this node's
    // entries, of child i's first entry; first[size] is the node's entry count.
    uint32_t first[kInnerCapacity + 1];
    uint32_t minNumber[kInnerCapacity];  // first entry under each child
    uint64_t minPrefix[kInnerCapacity];
    Node* child[kInnerCapacity];
  };
  struct Step {
    Inner* node;
    uint32_t index;
  };
  static constexpr int kMaxHeight = 24;
  struct Path {
    Step steps[kMaxHeight];
    int depth = 0;
  };

  template <class Below>
  static uint32_t ChooseChild(const Inner* in, const Below& below, uint32_t probeNumber);
  template <class Below>
  static uint32_t LeafLowerBound(const Leaf* leaf, const Below& below);
  template <class Below>
  Leaf* Descend(const Below& below, uint32_t probeNumber, Path& path, uint32_t& rank);

  static uint32_t ChildAt(const Inner* in, uint32_t offset);
  static void Shift(Inner* in, uint32_t after, int32_t delta);
  static Node* ChildForPrefix(const Inner* in, uint32_t level, uint64_t prefix, uint32_t& index);
  static void Vacate(Node* node, uint32_t level);
  static void CopyFirstEntry(const Node* node, uint32_t level, Inner* parent, uint32_t index);
  void SetCursor(Leaf* leaf, uint32_t index, uint32_t position);
  bool IsFull(const Node* node, uint32_t level) const;
  void SplitRoot();
  void SplitChild(Inner* parent, uint32_t index, uint32_t childLevel);
  void InsertIntoLeaf(Leaf* leaf, uint32_t index, uint64_t prefix, uint32_t number);
  void RefreshMinima(const Path& path, const Leaf* leaf);
  void EraseAndRebalance(Path& path, Leaf* leaf, uint32_t index);
  Leaf* SelectWithPath(uint32_t position, Path& path, uint32_t& index);
  void Rebalance(Inner* parent, uint32_t index, uint32_t childLevel);
  void Merge(Inner* parent, uint32_t left, uint32_t childLevel);
  void Redistribute(Inner* parent, uint32_t left, uint32_t childLevel);
  void CollapseRoot();
  void FreeNode(Node* node, uint32_t level);
  bool CheckNode(const Node* node, uint32_t level, bool isRoot, uint32_t& count, uint64_t& minPrefix,
                 uint32_t& minNumber, const Leaf*& previousLeaf) const;

  Node* root_;
  uint32_t height_ = 0;  // 0: the root is a leaf
  uint32_t count_ = 0;
  uint64_t version_ = 0;  // changes on every insertion and removal

  // The entry last reached, valid while version_ equals cursorVersion_.
  Leaf* cursorLeaf_ = nullptr;
  uint32_t cursorIndex_ = 0;
  uint32_t cursorPosition_ = 0;
  uint64_t cursorVersion_ = ~uint64_t{0};
};

// ---------------------------------------------------------------------------------------------------
// Searches: the only code that depends on the probe.

// The child to descend into: the last child whose first entry is not above the probe, i.e. the
// number of children after the first whose first entry is below the probe, moved one further when
// the next child starts with the probe's own number.
template <class Below>
uint32_t OrderTree::ChooseChild(const Inner* in, const Below& below, uint32_t probeNumber) {
  uint32_t lo = 1, hi = in->size;  // children [1, lo) are below, [hi, size) are not
  while (lo < hi) {
    const uint32_t mid = (lo + hi) / 2;
    if (below(in->minPrefix[mid], in->minNumber[mid]))
      lo = mid + 1;
    else
      hi = mid;
  }
  uint32_t chosen = lo - 1;
  if (probeNumber != 0 && lo < in->size && in->minNumber[lo] == probeNumber) chosen = lo;
  return chosen;
}

template <class Below>
uint32_t OrderTree::LeafLowerBound(const Leaf* leaf, const Below& below) {
  uint32_t lo = 0, hi = leaf->size;
  while (lo < hi) {
    const uint32_t mid = (lo + hi) / 2;
    if (below(leaf->prefix[mid], leaf->number[mid]))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

template <class Below>
OrderTree::Leaf* OrderTree::Descend(const Below& below, uint32_t probeNumber, Path& path, uint32_t& rank) {
  rank = 0;
  path.depth = 0;
  Node* node = root_;
  for (uint32_t level = height_; level > 0; --level) {
    auto* in = static_cast<Inner*>(node);
    const uint32_t c = ChooseChild(in, below, probeNumber);
    rank += in->first[c];
    path.steps[path.depth++] = {in, c};
    node = in->child[c];
  }
  return static_cast<Leaf*>(node);
}

template <class Below>
uint32_t OrderTree::LowerBound(const Below& below, uint32_t probeNumber) {
  Path path;
  uint32_t rank;
  Leaf* leaf = Descend(below, probeNumber, path, rank);
  const uint32_t index = LeafLowerBound(leaf, below);
  const uint32_t position = rank + index + 1;
  if (index < leaf->size)
    SetCursor(leaf, index, position);
  else if (leaf->next != nullptr)
    SetCursor(leaf->next, 0, position);
  return position;
}

template <class Below>
uint32_t OrderTree::Insert(const Below& below, uint64_t prefix, uint32_t number) {
  if (IsFull(root_, height_)) SplitRoot();
  Path path;
  uint32_t rank = 0;
  Node* node = root_;
  // Top-down: a full child is split before the descent enters it, so that no split ever has to
  // climb back up.
  for (uint32_t level = height_; level > 0; --level) {
    auto* in = static_cast<Inner*>(node);
    uint32_t c = ChooseChild(in, below, 0);
    if (IsFull(in->child[c], level - 1)) {
      SplitChild(in, c, level - 1);
      if (below(in->minPrefix[c + 1], in->minNumber[c + 1])) ++c;
    }
    rank += in->first[c];
    Shift(in, c, 1);
    path.steps[path.depth++] = {in, c};
    node = in->child[c];
  }
  auto* leaf = static_cast<Leaf*>(node);
  const uint32_t index = LeafLowerBound(leaf, below);
  InsertIntoLeaf(leaf, index, prefix, number);
  RefreshMinima(path, leaf);
  ++count_;
  ++version_;
  return rank + index + 1;
}

template <class Below>
bool OrderTree::Remove(const Below& below, uint32_t number) {
  Path path;
  uint32_t rank;
  Leaf* leaf = Descend(below, number, path, rank);
  const uint32_t index = LeafLowerBound(leaf, below);
  if (index >= leaf->size || leaf->number[index] != number) return false;
  EraseAndRebalance(path, leaf, index);
  return true;
}
