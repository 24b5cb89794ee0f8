// The envelope of every message between this system and the data server: the byte layouts shared by
// the writer and the reader, and the codec between a message and its frame.
//
//   frame     := version:u8 (1) | kind:u8 | L:i32 | payload[L]               0 <= L <= 0xA00000
//   kind 1    : payload = zlib(level 9) of one inner message (the reader also takes kind 0)
//   kind 2    : payload = one session-cipher block whose plain text is a whole kind-1 frame
//   inner     := version:u8 | 0:u8 | kind:u32 | IdentConnexion:u32 | GenreAdresse:u8 | D:u32 | data[D]
// All integers little-endian. The reader trusts no length: L is bounded, the inflated message must be
// exactly its 15-byte header and the D bytes it announces (so inflation stops at 15 + 0xA00000
// bytes), a deciphered frame must be exactly one kind-1 frame. Anything else is a corrupt frame.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/protocol/VCLBufferDynamique.h"

class TClassCryptageClientServeur;

namespace Trame {

constexpr uint8_t kVersionProtocole = 1;
constexpr uint8_t kGenreCompresseAncien = 0;
constexpr uint8_t kGenreCompresse = 1;
constexpr uint8_t kGenreChiffre = 2;
constexpr uint32_t kTailleEntete = 6;
constexpr uint32_t kTailleMaximale = 0xA00000;
constexpr uint32_t kTailleEnteteMessage = 15;
constexpr int kNiveauCompression = 9;

// Modes of a security record.
constexpr uint8_t kModeCompresse = 1;
constexpr uint8_t kModeChiffre = 2;

}  // namespace Trame

// The address a message is sent to and that its handler receives, as the sender wrote it.
struct TypeAdresseMessage {
  uint32_t IdentConnexion = 0;
  uint8_t GenreAdresse = 0;
  bool operator==(const TypeAdresseMessage&) const = default;
};

// How one direction of a connection is protected: mode 1 compressed, mode 2 compressed and enciphered
// under PhraseSecrete (a byte string).
struct TypeSecurite {
  uint8_t Mode = Trame::kModeCompresse;
  std::string PhraseSecrete;
};

// The sender's socket address: family (16-bit), port in network order, IPv4 address, 8 zero bytes.
using TypeAdresseSocket = std::array<uint8_t, 16>;

struct TypeMessageRecu {
  uint32_t Id = 0;
  TypeAdresseMessage Adresse;
  std::string Donnees;
};

namespace Trame {

// A kind-1 frame holding the message; false (Resultat empty) when it cannot be sent: data above
// 0xA00000 bytes, a compressed stream above 0xA00000 bytes, or a failure of the compressor.
// Version is the byte at the head of the inner message, 0 meaning kVersionProtocole.
[[nodiscard]] bool Construire(const TypeAdresseMessage& Adresse, uint32_t Id, const void* Donnees, uint32_t Taille,
                              uint8_t Version, std::string& Resultat);
// The frame as the security record sends it: unchanged in mode 1, a kind-2 frame in mode 2. False
// when the kind-2 frame would exceed the length limit.
[[nodiscard]] bool Chiffrer(const TypeSecurite& Securite, TClassCryptageClientServeur& Chiffreur, std::string& Trame);

enum class TypeLecture {
  Fait,       // a message came out
  FaitRien,   // a frame was consumed and dropped (cannot be deciphered, or clear in enciphered mode)
  Incomplet,  // the frame is not all there: nothing consumed
  Corrompu    // the bytes are not a frame: the queue has been emptied
};

// Reads one frame from the queue under the receiving security record. In mode 2 a clear frame that
// carries a message (anything but an empty message of kind 0, the keep-alive) is dropped.
TypeLecture Lire(TBufferDynamique& File, const TypeSecurite& Reception, TClassCryptageClientServeur& Chiffreur,
                 TypeMessageRecu& Message);

// The inner message of a zlib stream; false when the stream is corrupt or its content is not exactly
// one inner message.
[[nodiscard]] bool Extraire(std::string_view Zlib, TypeMessageRecu& Message);

}  // namespace Trame
