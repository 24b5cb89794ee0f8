#include "core/arrays/BitSet.h"

namespace {
constexpr BitSet Masque(uint16_t Bit) { return BitSet{1} << (Bit % 32); }
}  // namespace

void TMethodesBitSet::Inclure(uint16_t Bit, std::span<BitSet> Mots) {
  const std::size_t mot = Bit / 32;
  if (mot < Mots.size()) Mots[mot] |= Masque(Bit);
}

void TMethodesBitSet::Exclure(uint16_t Bit, std::span<BitSet> Mots) {
  const std::size_t mot = Bit / 32;
  if (mot < Mots.size()) Mots[mot] &= ~Masque(Bit);
}

bool TMethodesBitSet::Contient(uint16_t Bit, std::span<const BitSet> Mots) {
  const std::size_t mot = Bit / 32;
  return mot < Mots.size() && (Mots[mot] & Masque(Bit)) != 0;
}
