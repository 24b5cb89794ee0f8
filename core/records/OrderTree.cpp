#include "core/records/OrderTree.h"

#include <algorithm>
#include <cstring>

namespace {

// Below this fill a node that is not the root is merged with, or refilled from, a sibling.
constexpr uint32_t MinFill(uint32_t level) {
  return (level == 0 ? OrderTree::kLeafCapacity : OrderTree::kInnerCapacity) / 4;
}

constexpr uint32_t Capacity(uint32_t level) {
  return level == 0 ? OrderTree::kLeafCapacity : OrderTree::kInnerCapacity;
}

template <class T>
void MoveEntries(T* array, uint32_t from, uint32_t to, uint32_t n) {
  std::memmove(array + to, array + from, n * sizeof(T));
}

}  // namespace

OrderTree::OrderTree() : root_(new Leaf) {}

OrderTree::~OrderTree() { FreeNode(root_, height_); }

void OrderTree::FreeNode(Node* node, uint32_t level) {
  if (level == 0) {
    delete static_cast<Leaf*>(node);
    return;
  }
  auto* in = static_cast<Inner*>(node);
  for (uint32_t i = 0; i < in->size; ++i) FreeNode(in->child[i], level - 1);
  delete in;
}

void OrderTree::Clear() {
  FreeNode(root_, height_);
  root_ = new Leaf;
  height_ = 0;
  count_ = 0;
  ++version_;
}

// The child that holds the entry at an offset (0-based) within the node's entries.
uint32_t OrderTree::ChildAt(const Inner* in, uint32_t offset) {
  return static_cast<uint32_t>(std::upper_bound(in->first + 1, in->first + in->size, offset) - in->first) - 1;
}

// Child `after` gained (or lost) entries: the children after it start that much further.
void OrderTree::Shift(Inner* in, uint32_t after, int32_t delta) {
  for (uint32_t i = after + 1; i <= in->size; ++i) in->first[i] += static_cast<uint32_t>(delta);
}

void OrderTree::SetCursor(Leaf* leaf, uint32_t index, uint32_t position) {
  cursorLeaf_ = leaf;
  cursorIndex_ = index;
  cursorPosition_ = position;
  cursorVersion_ = version_;
}

bool OrderTree::LastReachedHolds(uint32_t number, uint32_t& position) const {
  if (cursorVersion_ != version_ || cursorLeaf_ == nullptr) return false;
  if (cursorLeaf_->number[cursorIndex_] != number) return false;
  position = cursorPosition_;
  return true;
}

namespace {

// Narrows a run of N sorted values to the one after the last below `key` (or the first), one step a
// halving: the steps are fixed at compile time and each chooses by a conditional move instead of a
// branch, so that no step is mispredicted and each costs a few instructions.
template <uint32_t N>
const uint64_t* Narrow(const uint64_t* base, uint64_t key) {
  if constexpr (N > 1) {
    constexpr uint32_t half = N / 2;
    base = base[half] < key ? base + half : base;
    return Narrow<N - half>(base, key);
  } else {
    return base;
  }
}

// How many of the N sorted values are below `key`. It runs over every slot of a node: the vacant
// ones never count.
template <uint32_t N>
uint32_t CountBelow(const uint64_t* values, uint64_t key) {
  const uint64_t* base = Narrow<N>(values, key);
  return static_cast<uint32_t>(base - values) + (*base < key ? 1u : 0u);
}

void Prefetch(const void* zone, std::size_t taille) {
  const char* p = static_cast<const char*>(zone);
  for (std::size_t offset = 0; offset < taille; offset += 64) __builtin_prefetch(p + offset);
}

}  // namespace

// The child of an inner node to descend into for a prefix; every line of that child's search is
// asked for at once, instead of one dependent miss per step of its search: an inner node's keys, a
// leaf's keys and numbers (the number found is read right after).
OrderTree::Node* OrderTree::ChildForPrefix(const Inner* in, uint32_t level, uint64_t prefix, uint32_t& index) {
  // The last child whose first entry is not above the probe: children 1.. whose first entry is
  // below it come before.
  index = CountBelow<kInnerCapacity - 1>(in->minPrefix + 1, prefix);
  Node* child = in->child[index];
  if (level > 1) {
    Prefetch(static_cast<Inner*>(child)->minPrefix, kInnerCapacity * sizeof(uint64_t));
  } else {
    Prefetch(static_cast<Leaf*>(child)->prefix, kLeafCapacity * sizeof(uint64_t));
    Prefetch(static_cast<Leaf*>(child)->number, kLeafCapacity * sizeof(uint32_t));
  }
  return child;
}

uint32_t OrderTree::LowerBoundPrefix(uint64_t prefix) {
  uint32_t rank = 0;
  Node* node = root_;
  for (uint32_t level = height_; level > 0; --level) {
    auto* in = static_cast<Inner*>(node);
    uint32_t index;
    node = ChildForPrefix(in, level, prefix, index);
    rank += in->first[index];
  }
  auto* leaf = static_cast<Leaf*>(node);
  const uint32_t index = CountBelow<kLeafCapacity>(leaf->prefix, prefix);
  const uint32_t position = rank + index + 1;
  if (index < leaf->size)
    SetCursor(leaf, index, position);
  else if (leaf->next != nullptr)
    SetCursor(leaf->next, 0, position);
  return position;
}

bool OrderTree::FirstNotBelowPrefix(uint64_t prefix, uint32_t& number, uint64_t& found) const {
  Node* node = root_;
  for (uint32_t level = height_; level > 0; --level) {
    uint32_t index;
    node = ChildForPrefix(static_cast<Inner*>(node), level, prefix, index);
  }
  const Leaf* leaf = static_cast<Leaf*>(node);
  uint32_t index = CountBelow<kLeafCapacity>(leaf->prefix, prefix);
  if (index == leaf->size) {
    if (leaf->next == nullptr) return false;
    leaf = leaf->next;
    index = 0;
  }
  number = leaf->number[index];
  found = leaf->prefix[index];
  return true;
}

bool OrderTree::LastReached(uint32_t& number, uint64_t& prefix) const {
  if (cursorVersion_ != version_ || cursorLeaf_ == nullptr || cursorIndex_ >= cursorLeaf_->size) return false;
  number = cursorLeaf_->number[cursorIndex_];
  prefix = cursorLeaf_->prefix[cursorIndex_];
  return true;
}

uint32_t OrderTree::NumberAt(uint32_t position) {
  if (position < 1 || position > count_) return 0;
  if (cursorVersion_ == version_ && cursorLeaf_ != nullptr) {
    const int64_t index = int64_t{cursorIndex_} + int64_t{position} - int64_t{cursorPosition_};
    Leaf* leaf = cursorLeaf_;
    if (index >= 0 && index < int64_t{leaf->size}) {
      SetCursor(leaf, static_cast<uint32_t>(index), position);
      return leaf->number[index];
    }
    if (index == int64_t{leaf->size} && leaf->next != nullptr) {
      SetCursor(leaf->next, 0, position);
      return leaf->next->number[0];
    }
    if (index == -1 && leaf->prev != nullptr) {
      SetCursor(leaf->prev, leaf->prev->size - 1, position);
      return leaf->prev->number[leaf->prev->size - 1];
    }
  }
  // Select by the counts: descend into the child that holds the position.
  uint32_t remaining = position - 1;
  Node* node = root_;
  for (uint32_t level = height_; level > 0; --level) {
    auto* in = static_cast<Inner*>(node);
    const uint32_t c = ChildAt(in, remaining);
    remaining -= in->first[c];
    node = in->child[c];
  }
  auto* leaf = static_cast<Leaf*>(node);
  SetCursor(leaf, remaining, position);
  return leaf->number[remaining];
}

OrderTree::Leaf* OrderTree::SelectWithPath(uint32_t position, Path& path, uint32_t& index) {
  uint32_t remaining = position - 1;
  path.depth = 0;
  Node* node = root_;
  for (uint32_t level = height_; level > 0; --level) {
    auto* in = static_cast<Inner*>(node);
    const uint32_t c = ChildAt(in, remaining);
    remaining -= in->first[c];
    path.steps[path.depth++] = {in, c};
    node = in->child[c];
  }
  index = remaining;
  return static_cast<Leaf*>(node);
}

bool OrderTree::RemoveNumber(uint32_t number) {
  Node* node = root_;
  for (uint32_t level = height_; level > 0; --level) node = static_cast<Inner*>(node)->child[0];
  uint32_t before = 0;
  for (auto* leaf = static_cast<Leaf*>(node); leaf != nullptr; before += leaf->size, leaf = leaf->next) {
    for (uint32_t i = 0; i < leaf->size; ++i) {
      if (leaf->number[i] != number) continue;
      Path path;
      uint32_t index;
      Leaf* found = SelectWithPath(before + i + 1, path, index);
      EraseAndRebalance(path, found, index);
      return true;
    }
  }
  return false;
}

bool OrderTree::IsFull(const Node* node, uint32_t level) const { return node->size == Capacity(level); }

// Marks the prefix slots of a node from its size on as vacant, after it lost entries.
void OrderTree::Vacate(Node* node, uint32_t level) {
  uint64_t* prefixes = level == 0 ? static_cast<Leaf*>(node)->prefix : static_cast<Inner*>(node)->minPrefix;
  std::fill(prefixes + node->size, prefixes + Capacity(level), kVacant);
}

// Records the first entry of `node` (at `level`) as the first entry of child `index` of `parent`.
void OrderTree::CopyFirstEntry(const Node* node, uint32_t level, Inner* parent, uint32_t index) {
  if (level == 0) {
    auto* leaf = static_cast<const Leaf*>(node);
    parent->minPrefix[index] = leaf->prefix[0];
    parent->minNumber[index] = leaf->number[0];
  } else {
    auto* in = static_cast<const Inner*>(node);
    parent->minPrefix[index] = in->minPrefix[0];
    parent->minNumber[index] = in->minNumber[0];
  }
}

void OrderTree::SplitRoot() {
  auto* root = new Inner;
  root->size = 1;
  root->child[0] = root_;
  root->first[0] = 0;
  root->first[1] = count_;
  CopyFirstEntry(root_, height_, root, 0);
  root_ = root;
  ++height_;
  SplitChild(root, 0, height_ - 1);
}

// Moves the upper half of a full child into a new sibling placed right after it.
void OrderTree::SplitChild(Inner* parent, uint32_t index, uint32_t childLevel) {
  Node* left = parent->child[index];
  const uint32_t keep = left->size / 2, moved = left->size - keep;
  Node* right;
  uint32_t leftCount;
  if (childLevel == 0) {
    auto* l = static_cast<Leaf*>(left);
    auto* r = new Leaf;
    std::memcpy(r->prefix, l->prefix + keep, moved * sizeof(uint64_t));
    std::memcpy(r->number, l->number + keep, moved * sizeof(uint32_t));
    r->next = l->next;
    if (r->next != nullptr) r->next->prev = r;
    r->prev = l;
    l->next = r;
    leftCount = keep;
    right = r;
  } else {
    auto* l = static_cast<Inner*>(left);
    auto* r = new Inner;
    leftCount = l->first[keep];
    for (uint32_t i = 0; i <= moved; ++i) r->first[i] = l->first[keep + i] - leftCount;
    std::memcpy(r->minNumber, l->minNumber + keep, moved * sizeof(uint32_t));
    std::memcpy(r->minPrefix, l->minPrefix + keep, moved * sizeof(uint64_t));
    std::memcpy(r->child, l->child + keep, moved * sizeof(Node*));
    right = r;
  }
  left->size = keep;
  right->size = moved;
  Vacate(left, childLevel);

  const uint32_t tail = parent->size - index - 1;
  MoveEntries(parent->first, index + 1, index + 2, tail + 1);
  MoveEntries(parent->minNumber, index + 1, index + 2, tail);
  MoveEntries(parent->minPrefix, index + 1, index + 2, tail);
  MoveEntries(parent->child, index + 1, index + 2, tail);
  ++parent->size;
  parent->child[index + 1] = right;
  parent->first[index + 1] = parent->first[index] + leftCount;
  CopyFirstEntry(right, childLevel, parent, index + 1);
}

void OrderTree::InsertIntoLeaf(Leaf* leaf, uint32_t index, uint64_t prefix, uint32_t number) {
  const uint32_t tail = leaf->size - index;
  MoveEntries(leaf->prefix, index, index + 1, tail);
  MoveEntries(leaf->number, index, index + 1, tail);
  leaf->prefix[index] = prefix;
  leaf->number[index] = number;
  ++leaf->size;
}

// Copies the first entry of each node of the path into its parent's record of it, bottom up.
void OrderTree::RefreshMinima(const Path& path, const Leaf* leaf) {
  const Node* child = leaf;
  uint32_t level = 0;
  for (int d = path.depth - 1; d >= 0; --d, ++level) {
    const Step& step = path.steps[d];
    if (child->size > 0) CopyFirstEntry(child, level, step.node, step.index);
    child = step.node;
  }
}

void OrderTree::EraseAndRebalance(Path& path, Leaf* leaf, uint32_t index) {
  const uint32_t tail = leaf->size - index - 1;
  MoveEntries(leaf->prefix, index + 1, index, tail);
  MoveEntries(leaf->number, index + 1, index, tail);
  --leaf->size;
  leaf->prefix[leaf->size] = kVacant;
  --count_;
  ++version_;
  for (int d = 0; d < path.depth; ++d) Shift(path.steps[d].node, path.steps[d].index, -1);

  Node* node = leaf;
  uint32_t level = 0;
  for (int d = path.depth - 1; d >= 0; --d, ++level) {
    Inner* parent = path.steps[d].node;
    const uint32_t c = path.steps[d].index;
    if (node->size > 0) CopyFirstEntry(node, level, parent, c);
    if (node->size < MinFill(level)) Rebalance(parent, c, level);
    node = parent;
  }
  CollapseRoot();
}

void OrderTree::Rebalance(Inner* parent, uint32_t index, uint32_t childLevel) {
  if (parent->size < 2) return;  // only the root can have a single child; it collapses afterwards
  const uint32_t left = index > 0 ? index - 1 : index;
  const uint32_t combined = parent->child[left]->size + parent->child[left + 1]->size;
  if (combined <= Capacity(childLevel) * 3 / 4)
    Merge(parent, left, childLevel);
  else
    Redistribute(parent, left, childLevel);
}

// Moves every entry of the child after `left` into `left` and drops the emptied child.
void OrderTree::Merge(Inner* parent, uint32_t left, uint32_t childLevel) {
  Node* l = parent->child[left];
  Node* r = parent->child[left + 1];
  const uint32_t at = l->size, moved = r->size;
  if (childLevel == 0) {
    auto* ll = static_cast<Leaf*>(l);
    auto* rl = static_cast<Leaf*>(r);
    std::memcpy(ll->prefix + at, rl->prefix, moved * sizeof(uint64_t));
    std::memcpy(ll->number + at, rl->number, moved * sizeof(uint32_t));
    ll->next = rl->next;
    if (ll->next != nullptr) ll->next->prev = ll;
  } else {
    auto* li = static_cast<Inner*>(l);
    auto* ri = static_cast<Inner*>(r);
    for (uint32_t i = 1; i <= moved; ++i) li->first[at + i] = li->first[at] + ri->first[i];
    std::memcpy(li->minNumber + at, ri->minNumber, moved * sizeof(uint32_t));
    std::memcpy(li->minPrefix + at, ri->minPrefix, moved * sizeof(uint64_t));
    std::memcpy(li->child + at, ri->child, moved * sizeof(Node*));
  }
  l->size = at + moved;
  CopyFirstEntry(l, childLevel, parent, left);

  const uint32_t tail = parent->size - left - 2;
  MoveEntries(parent->first, left + 2, left + 1, tail + 1);
  MoveEntries(parent->minNumber, left + 2, left + 1, tail);
  MoveEntries(parent->minPrefix, left + 2, left + 1, tail);
  MoveEntries(parent->child, left + 2, left + 1, tail);
  --parent->size;
  parent->minPrefix[parent->size] = kVacant;
  if (childLevel == 0)
    delete static_cast<Leaf*>(r);
  else
    delete static_cast<Inner*>(r);
}

// Evens out two neighbouring children.
void OrderTree::Redistribute(Inner* parent, uint32_t left, uint32_t childLevel) {
  Node* l = parent->child[left];
  Node* r = parent->child[left + 1];
  const uint32_t total = l->size + r->size, target = total / 2;
  uint32_t movedCount;
  if (childLevel == 0) {
    auto* ll = static_cast<Leaf*>(l);
    auto* rl = static_cast<Leaf*>(r);
    if (l->size < target) {
      const uint32_t k = target - l->size;
      std::memcpy(ll->prefix + l->size, rl->prefix, k * sizeof(uint64_t));
      std::memcpy(ll->number + l->size, rl->number, k * sizeof(uint32_t));
      MoveEntries(rl->prefix, k, 0, r->size - k);
      MoveEntries(rl->number, k, 0, r->size - k);
    } else {
      const uint32_t k = l->size - target;
      MoveEntries(rl->prefix, 0, k, r->size);
      MoveEntries(rl->number, 0, k, r->size);
      std::memcpy(rl->prefix, ll->prefix + target, k * sizeof(uint64_t));
      std::memcpy(rl->number, ll->number + target, k * sizeof(uint32_t));
    }
    movedCount = target;  // leaf counts are sizes
  } else {
    auto* li = static_cast<Inner*>(l);
    auto* ri = static_cast<Inner*>(r);
    if (l->size < target) {
      const uint32_t k = target - l->size;
      for (uint32_t i = 1; i <= k; ++i) li->first[l->size + i] = li->first[l->size] + ri->first[i];
      const uint32_t gone = ri->first[k];
      for (uint32_t i = 0; i <= r->size - k; ++i) ri->first[i] = ri->first[k + i] - gone;
      std::memcpy(li->minNumber + l->size, ri->minNumber, k * sizeof(uint32_t));
      std::memcpy(li->minPrefix + l->size, ri->minPrefix, k * sizeof(uint64_t));
      std::memcpy(li->child + l->size, ri->child, k * sizeof(Node*));
      MoveEntries(ri->minNumber, k, 0, r->size - k);
      MoveEntries(ri->minPrefix, k, 0, r->size - k);
      MoveEntries(ri->child, k, 0, r->size - k);
    } else {
      const uint32_t k = l->size - target;
      const uint32_t come = li->first[l->size] - li->first[target];
      for (uint32_t i = r->size + 1; i-- > 0;) ri->first[i + k] = ri->first[i] + come;
      for (uint32_t i = 0; i < k; ++i) ri->first[i] = li->first[target + i] - li->first[target];
      MoveEntries(ri->minNumber, 0, k, r->size);
      MoveEntries(ri->minPrefix, 0, k, r->size);
      MoveEntries(ri->child, 0, k, r->size);
      std::memcpy(ri->minNumber, li->minNumber + target, k * sizeof(uint32_t));
      std::memcpy(ri->minPrefix, li->minPrefix + target, k * sizeof(uint64_t));
      std::memcpy(ri->child, li->child + target, k * sizeof(Node*));
    }
    movedCount = li->first[target];
  }
  l->size = target;
  r->size = total - target;
  Vacate(l, childLevel);
  Vacate(r, childLevel);
  parent->first[left + 1] = parent->first[left] + movedCount;
  CopyFirstEntry(l, childLevel, parent, left);
  CopyFirstEntry(r, childLevel, parent, left + 1);
}

void OrderTree::CollapseRoot() {
  while (height_ > 0 && root_->size == 1) {
    auto* old = static_cast<Inner*>(root_);
    root_ = old->child[0];
    delete old;
    --height_;
  }
}

bool OrderTree::CheckNode(const Node* node, uint32_t level, bool isRoot, uint32_t& count, uint64_t& minPrefix,
                          uint32_t& minNumber, const Leaf*& previousLeaf) const {
  if (node->size > Capacity(level)) return false;
  if (!isRoot && node->size < MinFill(level)) return false;
  const uint64_t* prefixes = level == 0 ? static_cast<const Leaf*>(node)->prefix : static_cast<const Inner*>(node)->minPrefix;
  if (!std::all_of(prefixes + node->size, prefixes + Capacity(level), [](uint64_t p) { return p == kVacant; }))
    return false;
  if (level == 0) {
    auto* leaf = static_cast<const Leaf*>(node);
    if (leaf->prev != previousLeaf) return false;
    if (previousLeaf != nullptr && previousLeaf->next != leaf) return false;
    previousLeaf = leaf;
    count = leaf->size;
    if (leaf->size > 0) {
      minPrefix = leaf->prefix[0];
      minNumber = leaf->number[0];
    }
    return true;
  }
  auto* in = static_cast<const Inner*>(node);
  if (in->size == 0 || (isRoot && in->size < 2) || in->first[0] != 0) return false;
  count = 0;
  for (uint32_t i = 0; i < in->size; ++i) {
    uint32_t childCount = 0, childNumber = 0;
    uint64_t childPrefix = 0;
    if (!CheckNode(in->child[i], level - 1, false, childCount, childPrefix, childNumber, previousLeaf))
      return false;
    if (childCount != in->first[i + 1] - in->first[i] || childPrefix != in->minPrefix[i] || childNumber != in->minNumber[i])
      return false;
    count += childCount;
  }
  minPrefix = in->minPrefix[0];
  minNumber = in->minNumber[0];
  return true;
}

bool OrderTree::CheckStructure() const {
  uint32_t count = 0, minNumber = 0;
  uint64_t minPrefix = 0;
  const Leaf* previousLeaf = nullptr;
  if (height_ >= static_cast<uint32_t>(kMaxHeight)) return false;
  if (!CheckNode(root_, height_, true, count, minPrefix, minNumber, previousLeaf)) return false;
  return count == count_ && (previousLeaf == nullptr || previousLeaf->next == nullptr);
}
