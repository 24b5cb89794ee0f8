// The TCP link to the data server. For now: its default address, the position table of the login handshake and the
// scattering of 16 key bytes into a 32-byte block by that table (and gathering them back).
#pragma once

#include <array>
#include <cstdint>

namespace VclCommTcp {

// Where the data link goes when nothing else is configured: this machine.
inline constexpr const char* kAdresseParDefaut = "127.0.0.1";
inline constexpr const char* kPortParDefaut = "49300";

// Byte i holds a position 0..31 in its low 5 bits (the 16 positions are distinct) and random bits in
// its high 3 bits.
using TypeTablePositions = std::array<uint8_t, 16>;

// A new table: each position drawn uniformly among those not used yet.
TypeTablePositions CreerTablePositions();
// Bloc becomes 32 random bytes, then Bloc[Table[i] & 31] = Source[i] for i = 0..15.
void DisperserOctets(const uint8_t (&Source)[16], const TypeTablePositions& Table, uint8_t (&Bloc)[32]);
// The reverse: Source[i] = Bloc[Table[i] & 31].
void RassemblerOctets(const uint8_t (&Bloc)[32], const TypeTablePositions& Table, uint8_t (&Source)[16]);

}  // namespace VclCommTcp
