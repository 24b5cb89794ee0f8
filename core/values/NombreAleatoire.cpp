#include "core/values/NombreAleatoire.h"

#include "core/objects/ClasseFinalisable.h"

namespace {
struct Etat {
  uint16_t W1 = 0, W2 = 0, W3 = 0, W4 = 0;
  uint16_t C1 = 0, C2 = 0;
  uint16_t T[146] = {};
};
Etat etat;
}  // namespace

uint16_t TGraineFibonacci::Etape(uint16_t& A, uint16_t& B, uint16_t& C) {
  const auto s = static_cast<uint16_t>(A + B + C);
  C = static_cast<uint16_t>(C + 1);
  A = B;
  B = static_cast<uint16_t>((s << 8) | (s >> 8));
  return B;
}

void TGraineFibonacci::Initialiser(const std::string& Cle) {
  Etat& e = etat;
  e.W1 = 16001;
  e.W2 = 16007;
  e.W3 = 16033;
  e.W4 = 16057;
  e.C1 = 0;
  e.C2 = 1;
  for (unsigned char k : Cle) {
    // Each assignment happens after the step has moved its own variables.
    uint16_t r = Etape(e.W1, e.W3, e.C1);
    e.W1 = static_cast<uint16_t>(r + k);
    r = Etape(e.W1, e.W4, e.C1);
    e.W2 = static_cast<uint16_t>(r + k);
    r = Etape(e.W2, e.W3, e.C1);
    e.W3 = static_cast<uint16_t>(r + k);
    r = Etape(e.W2, e.W4, e.C1);
    e.W4 = static_cast<uint16_t>(r + k);
  }
  for (uint16_t& t : e.T) t = Etape(e.W1, e.W3, e.C1);
}

uint16_t TGraineFibonacci::Tirer() {
  Etat& e = etat;
  if (e.C1 == 65534) e.C1 = 0;
  const uint16_t i = Etape(e.W2, e.W4, e.C2) % 146;
  const uint16_t result = e.T[i];
  e.T[i] = Etape(e.W1, e.W3, e.C1);
  return result;
}

void NombreAleatoire::Initialiser() {
  TracerModule("Initialisation du module NombreAleatoire.");
  TNombreAleatoire::Graine("");
}
