// Little-endian 32-bit values at a byte address, as every wire and stored layout of the protocol
// writes them, whatever the host's byte order.
#pragma once

#include <cstdint>

namespace PetitBoutiste {

inline uint32_t LireCardinal(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void EcrireCardinal(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace PetitBoutiste
