// The number counters of the base: for each record file, the highest permanent number given so far
// to one of its records (a memo's number, a site's number, ...). A record created here takes the
// counter plus one and raises the counter; a record read from a stored base or a received order
// raises the counter to its number when that is larger. The base parameter block carries the 42
// counters (the streams layer reads and writes them there); the record files keep them here, below
// the streams, so that every file unit reaches them. Main thread only.
#pragma once

#include <array>
#include <cstdint>

namespace CompteursNumeros {

inline constexpr int32_t kNombreCompteurs = 42;

// The slots: the counter order of the base parameter block, not the base order.
enum TypeCompteur : int32_t {
  kCIV, kPON, kCAL, kJRF, kMAD, kPAY, kLIE, kELE, kFMR, kSFM, kTYP, kMAT, kRLM, kCUR, kSTP, kSIT, kTSI,
  kRES, kPRT, kRFM, kRLR, kLPP, kRLP, kLCL, kRGC, kMCR, kCRS, kRLC, kRPC, kIRS, kICR, kMDL, kPAM, kRRU,
  kPRC, kAPP, kRRE, kLSL, kPSI, kRRM, kRCM, kRAP
};
static_assert(kRAP == kNombreCompteurs - 1);

std::array<uint32_t, kNombreCompteurs>& Compteurs();
// The number that a new record of the file takes: the counter plus one (the counter is not raised).
uint32_t Suivant(TypeCompteur Compteur);
// Raises the counter to Numero when Numero is larger.
void Relever(TypeCompteur Compteur, uint32_t Numero);

}  // namespace CompteursNumeros
