// The text holder and the component base of the unzip library wrapper. TLPStr keeps a C string,
// either growing with its text or in a buffer of fixed size that cuts longer texts, and stores
// itself in a component stream as the property "PChar": the byte 10, the 32-bit length n + 1, then
// the n bytes and a terminating zero.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/serial/Streams.h"

class TLPStr {
 public:
  // The most a growable holder reads from a stream.
  static constexpr int64_t kLectureMaximale = 0x8000;

  // Taille 0: the buffer grows with the text; otherwise a fixed buffer of Taille bytes (at most
  // Taille - 1 characters). Empty either way.
  explicit TLPStr(uint16_t Taille = 0);

  // Fixed: the text becomes empty; growable: the buffer is freed.
  void Vider();
  // The text up to its first zero byte, cut to Taille - 1 characters in a fixed buffer.
  void SetText(std::string_view Texte);
  std::string GetText() const { return texte_; }
  // The buffer size: fixed, or the text's length + 1 (0 when freed).
  size_t Taille() const { return fixe_ ? taille_ : (libere_ ? 0 : texte_.size() + 1); }
  bool TailleFixe() const { return fixe_; }
  // Fixes the buffer at Taille bytes (0 makes it growable again) and cuts the text to fit.
  void SetTaille(uint16_t Taille);

  // Reads at most the fixed size (0x8000 bytes when growable) from the stream and takes it as the text.
  void LoadFromStream(TStream& Flux);
  // Writes the text without its terminating zero.
  void SaveToStream(TStream& Flux) const;

  // The "PChar" property; nothing is written for an empty text. Reading raises EReadError when the
  // announced length goes past the end of the stream.
  bool ProprieteAEcrire() const { return !texte_.empty(); }
  void EcrirePropriete(TStream& Flux) const;
  void LirePropriete(TStream& Flux);

 private:
  std::string texte_;
  uint16_t taille_ = 0;
  bool fixe_ = false;
  bool libere_ = true;
};

// The base of the unzip wrapper: its four events, which the unzip library calls while it works.
class TDynaZip {
 public:
  // Progress of the whole job (major) or of one item (minor); DoCancel set to true stops the job.
  using TStatusCallback = std::function<void(const std::string& szItem, int32_t Percent, bool& DoCancel)>;
  using TMessageCallback = std::function<void(int32_t MsgID, int32_t mbType, int32_t p1, int32_t p2,
                                              const std::string& lpsz1, const std::string& lpsz2, int32_t& RtnResult)>;
  // The library's rename record, passed through untouched.
  using TRenameCallback = std::function<void(void* dzr)>;

  virtual ~TDynaZip() = default;

  TStatusCallback OnMajorCallback;
  TStatusCallback OnMinorCallback;
  TMessageCallback OnMessageCallback;
  TRenameCallback OnRenameCallback;
};
