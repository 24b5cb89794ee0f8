#include "base/IEStream.h"

#include "core/objects/Exceptions.h"
#include "core/serial/Serialisation.h"

bool TIEStream::Ecrire(TStream* Flux, const void* Tampon, int32_t n) {
  if (Flux == nullptr || n < 0) return false;
  TBinaryFormatterWithSize formateur(Flux);
  return formateur.EcrireTampon(Tampon, n) == n;
}

bool TIEStream::Lire(TStream* Flux, void* Tampon, int32_t n) {
  if (Flux == nullptr || n < 0) return false;
  TBinaryFormatterWithSize formateur(Flux);
  try {
    // The count read when the stored size is n, otherwise the stored size.
    return formateur.LireTampon(Tampon, n) >= n;
  } catch (const EStreamError&) {
    return false;
  }
}
