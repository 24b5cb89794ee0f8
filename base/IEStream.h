// One sized buffer written to or read from a stream: its int32 size, then its bytes. A reader whose
// buffer is smaller than what was written skips the rest.
#pragma once

#include <cstdint>

class TStream;

class TIEStream {
 public:
  // Writes n then the n bytes; True when all n bytes were written.
  static bool Ecrire(TStream* Flux, const void* Tampon, int32_t n);
  // Reads a size s, then min(s, n) bytes into Tampon and skips the rest; True when n bytes were read.
  // A stored size that is negative or larger than what the stream holds answers False.
  static bool Lire(TStream* Flux, void* Tampon, int32_t n);
};
