// The TLV format of property trees (Proprietes.h): the grid print and publication options travel in
// it inside the per-user parameter stream, and come back to the server as they came. A document is
// tagged, with a size before every value, so that a reader can pass over the values it cannot take.
//
// Grammar (integers signed 32-bit little-endian):
//   document = "TLVtlv" count entry*count
//   entry    = name-length(>=1) name(1252 bytes) tag value
//   value    = size(>=0) bytes*size      for every tag but 6
//            | document                  for tag 6 (a nested tree, no size before it)
// Tags are the value kinds: 0 integer (4), 1 cardinal (4), 2 eight bytes (8), 3 extended (10),
// 4 text (its length), 5 boolean (1), 6 sub-tree, 7 set (32), 8 block (its length). Entries stand in
// the tree's order; names are unique in a document without regard to case.
//
// The reader trusts no length: a name or a value larger than what the stream still holds is the
// stream's read error before anything is allocated, and documents nest at most kImbricationMaximale
// deep. Stateless; both operations are class operations.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/serial/Streams.h"
#include "streams/Proprietes.h"

namespace FormatTLV {

inline constexpr std::string_view kEntete = "TLVtlv";
// Documents nest at most this deep, the outer one counting as 1; the writer keeps to it too, so
// that what it writes can always be read back.
inline constexpr int32_t kImbricationMaximale = 64;
// The size that a value of each fixed-size kind must have; -1 for the kinds without one.
inline constexpr std::array<int32_t, 9> kTailleFixe = {4, 4, 8, 10, -1, 1, -1, 32, -1};

}  // namespace FormatTLV

// A document that is not a TLV document, or a tree that cannot be written as one.
class EExceptionSauvegardeurTLV : public EExceptionPropriete {
 public:
  using EExceptionPropriete::EExceptionPropriete;
};

class TSauvegardeurTLV {
 public:
  // Writes the tree as one document at the stream's position; nothing without a tree. An empty
  // name, a kind above tvBlob or nesting beyond the limit raise EExceptionSauvegardeurTLV; the bytes
  // of the entries written before stay in the stream.
  static void EcrireTLV(const TProprietes* Proprietes, TStream& Flux);
  // Empties the tree and reads one document from the stream's position into it; the stream is left
  // just after the document. Answers the number of entries whose tag is unknown (they are passed
  // over), nested documents included. A malformed document raises EExceptionSauvegardeurTLV (or the
  // tree's own error for a name met twice), a short one EReadError; the tree then holds the entries
  // stored before the error.
  static int32_t LireTLV(TProprietes& Proprietes, TStream& Flux);
};
