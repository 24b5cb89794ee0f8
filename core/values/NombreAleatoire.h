// The system's keyed pseudo-random generator of 16-bit values: the same key always gives the same
// sequence. It drives the reversible scrambling of stored and transmitted short texts.
#pragma once

#include <cstdint>
#include <string>

// The generator's state, one per program, shared by every user (main thread only).
class TGraineFibonacci {
 public:
  // One step over three state variables; returns the new B.
  static uint16_t Etape(uint16_t& A, uint16_t& B, uint16_t& C);
  static void Initialiser(const std::string& Cle);
  static uint16_t Tirer();
};

class TNombreAleatoire {
 public:
  static void Graine(const std::string& Cle) { TGraineFibonacci::Initialiser(Cle); }
  static uint16_t Aleatoire() { return TGraineFibonacci::Tirer(); }
};

namespace NombreAleatoire {
// Unit start-up: seeds the generator with the empty key.
void Initialiser();
}  // namespace NombreAleatoire
