#include "core/arrays/ArrayOfBit.h"

#include <algorithm>
#include <bit>
#include <limits>

NV_DEFINE_CLASS(TArrayOfBit, TObject)

namespace {
constexpr BitSet kTousUn = ~BitSet{0};
constexpr int32_t kMinEntier = std::numeric_limits<int32_t>::min();

// Bits 0 .. b - 1 set (b in 0..32).
constexpr BitSet MasqueBas(int32_t b) { return b >= 32 ? kTousUn : static_cast<BitSet>((uint64_t{1} << b) - 1); }
}  // namespace

TArrayOfBit::TArrayOfBit(int32_t NombreBits) { SetNombreBits(NombreBits); }

void TArrayOfBit::SetNombreBits(int32_t N) {
  if (N < 0) N = 0;
  const int32_t mots = static_cast<int32_t>((static_cast<int64_t>(N) + 31) / 32);
  if (mots != nombreMots_) {
    mots_.resize(static_cast<std::size_t>(mots), 0);
    nombreMots_ = mots;
  }
  nombreBits_ = N;
  ++version_;
}

int32_t TArrayOfBit::PremierBitNul() const {
  for (int32_t w = 0; w < nombreMots_; ++w) {
    const BitSet mot = mots_[static_cast<std::size_t>(w)];
    if (mot != kTousUn) return std::min(w * 32 + std::countr_one(mot), nombreBits_);
  }
  return std::min(nombreMots_ * 32, nombreBits_);
}

int32_t TArrayOfBit::DernierBitUn() const {
  for (int32_t w = nombreMots_ - 1; w >= 0; --w) {
    const BitSet mot = mots_[static_cast<std::size_t>(w)];
    if (mot != 0) return w * 32 + 31 - std::countl_zero(mot);
  }
  return -1;
}

int32_t TArrayOfBit::SelectionDansMot(BitSet Mot, int32_t N) const {
  for (int32_t k = 1; k < N; ++k) Mot &= Mot - 1;
  return std::countr_zero(Mot);
}

const std::vector<int32_t>* TArrayOfBit::Rangs() const {
  if (versionRangs_ == version_) return &rangs_;
  // The first query after a change walks the words; a second one builds the directory.
  if (versionDemandee_ != version_) {
    versionDemandee_ = version_;
    return nullptr;
  }
  rangs_.resize(static_cast<std::size_t>(nombreMots_) + 1);
  int32_t total = 0;
  for (int32_t w = 0; w < nombreMots_; ++w) {
    rangs_[static_cast<std::size_t>(w)] = total;
    total += std::popcount(mots_[static_cast<std::size_t>(w)]);
  }
  rangs_[static_cast<std::size_t>(nombreMots_)] = total;
  versionRangs_ = version_;
  return &rangs_;
}

int32_t TArrayOfBit::PositionNiemeBitUn(int32_t N) const {
  if (N < 1) return -1;
  if (const std::vector<int32_t>* rangs = Rangs()) {
    if (N > rangs->back()) return nombreBits_;
    // The word holding the N-th set bit: the last word whose prefix count is below N.
    auto it = std::lower_bound(rangs->begin(), rangs->end(), N);
    const int32_t w = static_cast<int32_t>(it - rangs->begin()) - 1;
    const int32_t reste = N - (*rangs)[static_cast<std::size_t>(w)];
    return std::min(w * 32 + SelectionDansMot(mots_[static_cast<std::size_t>(w)], reste), nombreBits_);
  }
  for (int32_t w = 0; w < nombreMots_; ++w) {
    const BitSet mot = mots_[static_cast<std::size_t>(w)];
    const int32_t compte = std::popcount(mot);
    if (compte >= N) return std::min(w * 32 + SelectionDansMot(mot, N), nombreBits_);
    N -= compte;
  }
  return nombreBits_;
}

int32_t TArrayOfBit::PositionNiemeBitNulApres(int32_t N, int32_t Position) const {
  const int64_t debut = static_cast<int64_t>(Position) + 1;
  if (N <= 0 || debut < 0 || debut >= nombreBits_) return -1;
  const int32_t dernier = nombreBits_ - 1;
  for (int32_t w = static_cast<int32_t>(debut / 32); w <= dernier / 32; ++w) {
    // Clear bits of the word that lie in the range, as set bits of `nuls`.
    BitSet nuls = ~mots_[static_cast<std::size_t>(w)];
    if (w == debut / 32) nuls &= ~MasqueBas(static_cast<int32_t>(debut % 32));
    if (w == dernier / 32) nuls &= MasqueBas(dernier % 32 + 1);
    const int32_t compte = std::popcount(nuls);
    if (compte >= N) return w * 32 + SelectionDansMot(nuls, N);
    N -= compte;
  }
  return -1;
}

void TArrayOfBit::DecalerVersLeBas(int32_t X) {
  if (nombreMots_ == 0 || X < 0 || X / 32 >= nombreMots_) return;
  const std::size_t w = static_cast<std::size_t>(X / 32);
  const std::size_t fin = static_cast<std::size_t>(nombreMots_);
  const BitSet retenue = w + 1 < fin ? (mots_[w + 1] & 1u) : 0u;
  for (std::size_t k = w + 1; k < fin; ++k) {
    const BitSet suivant = k + 1 < fin ? (mots_[k + 1] & 1u) : 0u;
    mots_[k] = (mots_[k] >> 1) | (suivant << 31);
  }
  const int32_t b = X % 32;
  const uint64_t mot = mots_[w];
  const BitSet bas = static_cast<BitSet>(mot) & MasqueBas(b);
  const BitSet haut = static_cast<BitSet>((mot >> (b + 1)) << b);
  mots_[w] = (bas | haut | (retenue << 31));
  ++version_;
}

void TArrayOfBit::DecalerVersLeHaut(int32_t X) {
  if (nombreMots_ == 0 || X < 0 || X / 32 >= nombreMots_) return;
  const std::size_t w = static_cast<std::size_t>(X / 32);
  for (std::size_t k = static_cast<std::size_t>(nombreMots_) - 1; k > w; --k)
    mots_[k] = (mots_[k] << 1) | (mots_[k - 1] >> 31);
  const int32_t b = X % 32;
  const uint64_t mot = mots_[w];
  const BitSet bas = static_cast<BitSet>(mot) & MasqueBas(b);
  const BitSet haut = static_cast<BitSet>((mot >> b) << (b + 1));
  mots_[w] = bas | haut;
  ++version_;
}

int32_t TArrayOfBit::CompterBitsUn(int32_t De, int32_t A) const {
  if (nombreMots_ == 0) return 0;
  if (De == kMinEntier) De = 0;
  if (A == kMinEntier) A = nombreBits_ - 1;
  De = std::max(De, 0);
  A = std::min(A, nombreBits_ - 1);
  if (A < De) return 0;
  const std::vector<int32_t>* rangs = Rangs();
  // Set bits below a position (0 .. nombreBits_).
  auto rang = [this, rangs](int32_t p) {
    const int32_t w = p / 32;
    int32_t total = 0;
    if (rangs != nullptr) {
      total = (*rangs)[static_cast<std::size_t>(w)];
    } else {
      for (int32_t k = 0; k < w; ++k) total += std::popcount(mots_[static_cast<std::size_t>(k)]);
    }
    if (p % 32 != 0) total += std::popcount(mots_[static_cast<std::size_t>(w)] & MasqueBas(p % 32));
    return total;
  };
  return rang(A + 1) - rang(De);
}

