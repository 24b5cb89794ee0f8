#include "net/transport/VclCommTcp.h"

#include <openssl/rand.h>

#include "core/objects/Exceptions.h"

namespace VclCommTcp {

namespace {

void OctetsAleatoires(uint8_t* Zone, int Taille) {
  if (RAND_bytes(Zone, Taille) != 1) throw Exception("RAND_bytes");
}

// Uniform in 0..Borne (Borne < 256), by rejection.
uint8_t Tirer(uint8_t Borne) {
  const unsigned etendue = Borne + 1u;
  const unsigned limite = 256 - 256 % etendue;
  for (;;) {
    uint8_t b;
    OctetsAleatoires(&b, 1);
    if (b < limite) return static_cast<uint8_t>(b % etendue);
  }
}

}  // namespace

TypeTablePositions CreerTablePositions() {
  TypeTablePositions table{};
  bool utilisee[32] = {};
  for (int i = 0; i < 16; ++i) {
    int rang = Tirer(static_cast<uint8_t>(31 - i));
    int position = 0;
    for (;; ++position) {
      if (utilisee[position]) continue;
      if (rang-- == 0) break;
    }
    utilisee[position] = true;
    uint8_t hauts;
    OctetsAleatoires(&hauts, 1);
    table[i] = static_cast<uint8_t>(position | (hauts & 0xE0));
  }
  return table;
}

void DisperserOctets(const uint8_t (&Source)[16], const TypeTablePositions& Table, uint8_t (&Bloc)[32]) {
  OctetsAleatoires(Bloc, 32);
  for (int i = 0; i < 16; ++i) Bloc[Table[i] & 31] = Source[i];
}

void RassemblerOctets(const uint8_t (&Bloc)[32], const TypeTablePositions& Table, uint8_t (&Source)[16]) {
  for (int i = 0; i < 16; ++i) Source[i] = Bloc[Table[i] & 31];
}

}  // namespace VclCommTcp
