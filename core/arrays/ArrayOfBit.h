// A growable vector of bits. Every contiguous typed array keeps one as its occupancy map (bit i set
// = slot i holds an element) and asks it to count its elements, to find the slot of the n-th
// element, to find empty slots and to shift slots up and down.
#pragma once

#include <cstdint>
#include <vector>

#include "core/arrays/BitSet.h"
#include "core/objects/ClassDescriptor.h"

class TArrayOfBit : public TObject {
  NV_DECLARE_CLASS(TArrayOfBit)
 public:
  // NombreBits bits, all clear.
  explicit TArrayOfBit(int32_t NombreBits);
  explicit TArrayOfBit(TBlank b) : TObject(b) {}

  int32_t NombreBits() const { return nombreBits_; }
  int32_t NombreMots() const { return nombreMots_; }
  // Sets the bit count; the words are reallocated only when their count ceil(N / 32) changes
  // (added words are clear; kept words keep their bits, also those at or above N).
  void SetNombreBits(int32_t N);

  // The first clear bit, capped at NombreBits (NombreBits when every bit is set).
  int32_t PremierBitNul() const;
  // The last set bit, -1 when there is none.
  int32_t DernierBitUn() const;
  // The N-th set bit, N counted from 1: -1 when N < 1, NombreBits when fewer than N bits are set.
  int32_t PositionNiemeBitUn(int32_t N) const;
  // The N-th clear bit strictly after Position among the bits below NombreBits; -1 when N <= 0,
  // when Position + 1 lies outside 0 .. NombreBits - 1, or when there are fewer than N such bits.
  int32_t PositionNiemeBitNulApres(int32_t N, int32_t Position) const;
  // Removes bit X: every bit above it moves down one place; the top bit of the last word clears.
  void DecalerVersLeBas(int32_t X);
  // Inserts a clear bit at X: X and every bit above it move up; the top bit of the last word is lost.
  void DecalerVersLeHaut(int32_t X);
  // The number of set bits in De .. A. The smallest 32-bit value stands for 0 as De and for
  // NombreBits - 1 as A; bounds are clamped to the bits the vector holds.
  int32_t CompterBitsUn(int32_t De, int32_t A) const;

  // Single-bit access for the owner of the map; positions outside the words are ignored.
  // Inline: the typed arrays test and set a bit on every store.
  // A negative bit becomes a huge unsigned one, past every map.
  bool IsSet(int32_t Bit) const {
    const auto b = static_cast<uint32_t>(Bit);
    if ((b >> 5) >= static_cast<uint32_t>(nombreMots_)) return false;
    return (mots_[b >> 5] >> (b & 31u)) & 1u;
  }
  void Set(int32_t Bit) {
    const auto b = static_cast<uint32_t>(Bit);
    if ((b >> 5) >= static_cast<uint32_t>(nombreMots_)) return;
    mots_[b >> 5] |= BitSet{1} << (b & 31u);
    ++version_;
  }
  // Sets the bit; true when it was clear (and so the map changed).
  bool SetIfClear(int32_t Bit) {
    const auto b = static_cast<uint32_t>(Bit);
    if ((b >> 5) >= static_cast<uint32_t>(nombreMots_)) return false;
    BitSet& mot = mots_[b >> 5];
    const BitSet masque = BitSet{1} << (b & 31u);
    if (mot & masque) return false;
    mot |= masque;
    ++version_;
    return true;
  }
  void Clear(int32_t Bit) {
    const auto b = static_cast<uint32_t>(Bit);
    if ((b >> 5) >= static_cast<uint32_t>(nombreMots_)) return;
    mots_[b >> 5] &= ~(BitSet{1} << (b & 31u));
    ++version_;
  }
  // Changes on every modification of a bit or of the size: owners compare it to know whether
  // something they derived from the map still holds.
  uint64_t Version() const { return version_; }

 private:
  // Prefix counts of set bits per word, built on demand when the map is queried repeatedly
  // without changes, so that translations by rank cost a binary search instead of a walk.
  const std::vector<int32_t>* Rangs() const;
  int32_t SelectionDansMot(BitSet Mot, int32_t N) const;

  std::vector<BitSet> mots_;
  int32_t nombreBits_ = 0;
  int32_t nombreMots_ = 0;
  uint64_t version_ = 0;
  mutable std::vector<int32_t> rangs_;
  mutable uint64_t versionRangs_ = ~uint64_t{0};
  mutable uint64_t versionDemandee_ = ~uint64_t{0};
};
