// Integer arithmetic that saturates at sentinel values instead of wrapping, and bit counting.
// The placement engine sums place values with it (32-bit totals, 16-bit per-week values); the
// week-set arrays count set bits with it.
#pragma once

#include <cstdint>

// Sentinels of the saturating arithmetic: plus infinity and "undefined" absorb every addition.
inline constexpr int32_t EntierInfini = 0x7FFFFFFF;
inline constexpr int32_t EntierIndefini = -0x7FFFFFFF;  // 0x80000001
inline constexpr int16_t PetitEntierInfini = 0x7FFF;
inline constexpr int16_t PetitEntierIndefini = -0x7FFF;  // 0x8001

class TMethodesMathematique {
 public:
  TMethodesMathematique() = delete;

  // Valeur += Ajout, saturating. True when the result is undefined or the sum overflowed below
  // (then Valeur holds 0x80000002, not a sentinel). A sum reaching 2147483647 becomes EntierInfini.
  static bool AjouterSature(int32_t& Valeur, int32_t Ajout);
  // A x B; on overflow EntierInfini when the signs agree (0 counts as positive), else
  // EntierIndefini. The overflow test is strict: |B| equal to 2147483647 div |A| saturates.
  static int32_t MultiplierSature(int32_t A, int32_t B);
  // The 16-bit addition; unlike the 32-bit one, a sentinel addend replaces even a sentinel value.
  // A sum falling to -32767 or below stores 0x8002 (-32766) and answers True.
  static bool AjouterSature16(int16_t& Valeur, int16_t Ajout);

  static int CompterBitsOctet(uint8_t Octet);
  // Set bits of NombreOctets bytes from Zone (0 when NombreOctets is not positive).
  static int CompterBits(const void* Zone, int32_t NombreOctets);
};

// The platform's MulDiv: A x B / C computed on 64 bits and rounded to the nearest, halves away from
// zero; -1 when C is 0 or the result does not fit in 32 bits.
int32_t MulDiv(int32_t A, int32_t B, int32_t C);
