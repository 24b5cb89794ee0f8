// Little-endian byte writing and bounded reading for the data server's own formats (its store and
// the payloads it builds). The reader never reads past its bytes: every read checks what is left, and
// a failed read leaves the reader failed, so that a caller checks once at the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Bytes {

class Writer {
 public:
  void U8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
  }
  // A 32-bit length, then the bytes.
  void Text(std::string_view s) {
    U32(static_cast<uint32_t>(s.size()));
    Raw(s);
  }
  void Raw(std::string_view s) { bytes_.append(s); }
  void Zeros(size_t n) { bytes_.append(n, '\0'); }
  std::string& Result() { return bytes_; }

 private:
  std::string bytes_;
};

class Reader {
 public:
  explicit Reader(std::string_view s) : rest_(s) {}
  bool Ok() const { return ok_; }
  size_t Left() const { return rest_.size(); }
  uint8_t U8() { return Take(1) ? static_cast<uint8_t>(taken_[0]) : 0; }
  uint32_t U32() {
    if (!Take(4)) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(taken_[static_cast<size_t>(i)]);
    return v;
  }
  // A 32-bit length, then that many bytes; a length above Max fails.
  std::string Text(size_t Max) {
    const uint32_t n = U32();
    if (n > Max) ok_ = false;
    return Take(n) ? std::string(taken_) : std::string();
  }
  std::string_view Raw(size_t n) { return Take(n) ? taken_ : std::string_view(); }

 private:
  bool Take(size_t n) {
    if (!ok_ || rest_.size() < n) {
      ok_ = false;
      taken_ = {};
      return false;
    }
    taken_ = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return true;
  }
  std::string_view rest_;
  std::string_view taken_;
  bool ok_ = true;
};

}  // namespace Bytes
