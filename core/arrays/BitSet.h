// A 32-bit word seen as a set of 0..31, and class methods that set, clear and test one bit of a
// caller-owned run of such words (the timetable base keeps flags for 16 384 x 32 items this way).
#pragma once

#include <cstdint>
#include <span>

#include "core/objects/ClasseNonInstanciable.h"

// A member of a BitSet: 0..31.
using TypeBitSetInterval = uint8_t;
// Member i is bit i (value 1 << i) of the word.
using BitSet = uint32_t;

class TMethodesBitSet : public TClasseNonInstanciable {
 public:
  // Bit `Bit` is bit Bit mod 32 of word Bit div 32. A bit whose word lies outside the run is
  // ignored (and reads as clear).
  static void Inclure(uint16_t Bit, std::span<BitSet> Mots);
  static void Exclure(uint16_t Bit, std::span<BitSet> Mots);
  static bool Contient(uint16_t Bit, std::span<const BitSet> Mots);
};
