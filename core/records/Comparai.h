// Column comparison routines: the table units hand them to the record-table engine when they declare
// the columns of an order. Each compares the values at two addresses; the size is the one the column
// was declared with. Results are read by their sign: negative A before B, zero equal, positive after.
#pragma once

#include <cstdint>

// The signature shared by every column comparison.
using TypeComparaison = int32_t (*)(const void* a, const void* b, int32_t taille);

namespace Comparai {

// Unit start-up: writes the module trace line.
void Initialiser();

// Two short strings (a length byte, then the characters) under the system collation, case ignored:
// -1, 0 or 1. A field of `taille` bytes holds at most taille - 1 characters, so a larger length byte
// is read as that; a size of 0 or less leaves the length byte alone.
int32_t ComparerChaineCourte(const void* a, const void* b, int32_t taille);
// One unsigned byte each: A - B.
int32_t ComparerOctet(const void* a, const void* b, int32_t taille);
// One unsigned byte each, descending: B - A.
int32_t ComparerOctetDecroissant(const void* a, const void* b, int32_t taille);
// A zone of `taille` bytes, unsigned, by the first differing byte: -1, 0 or 1.
int32_t ComparerOctets(const void* a, const void* b, int32_t taille);
// One unsigned 32-bit value each: -1, 0 or 1.
int32_t ComparerCardinal(const void* a, const void* b, int32_t taille);
// A zone of unsigned 32-bit values (`taille` in bytes), by the first differing value: -1, 0 or 1.
int32_t ComparerCardinaux(const void* a, const void* b, int32_t taille);
// One signed 32-bit value each: -1, 0 or 1.
int32_t ComparerEntier(const void* a, const void* b, int32_t taille);
// The same results as ComparerEntier.
int32_t ComparerEntierBis(const void* a, const void* b, int32_t taille);
// A zone of 64-bit floating-point values (`taille` in bytes); two values closer than
// max(min(|a|, |b|) x 1e-12, 1e-12) are equal; the first unequal pair decides: -1 or 1.
int32_t ComparerReels(const void* a, const void* b, int32_t taille);

}  // namespace Comparai
