// Reversible scrambling by XOR with the keyed generator: a whole stream (TZoneEncryption) or the
// part of a text after its first characters, which serve as the key (TEncryption). Applying the same
// operation twice with the same key gives the input back. Obfuscation, not cryptography.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/ClassDescriptor.h"
#include "core/serial/Streams.h"

using TypeEncryptionZone = std::vector<uint16_t>;

class TZoneEncryption : public TObject {
 public:
  explicit TZoneEncryption(std::string Cle) : cle_(std::move(Cle)) {}
  // Scrambles (or unscrambles) the stream's whole content in place; its size does not change.
  void Crypter(TStream& Flux) const;
  // The same on bytes in memory.
  void CrypterOctets(std::string& Octets) const;

 private:
  std::string cle_;
};

class TEncryption {
 public:
  // Resultat = the first LongueurCle characters of Texte, then the rest scrambled with them as key.
  static void Crypter(const std::string& Texte, uint16_t LongueurCle, std::string& Resultat);
};
