#include "platform/registry/HiveFile.h"

#include <zlib.h>

#include <cstring>

#include "core/values/ChaineUnicode.h"

namespace HiveFile {

namespace {

uint32_t Crc(std::string_view Bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes 32-bit lengths; a hive file is far below that bound (kMaxFileSize).
  crc = crc32(crc, reinterpret_cast<const Bytef*>(Bytes.data()), static_cast<uInt>(Bytes.size()));
  return static_cast<uint32_t>(crc);
}

void Put16(std::string& Out, uint16_t V) {
  Out.push_back(static_cast<char>(V & 0xFF));
  Out.push_back(static_cast<char>(V >> 8));
}
void Put32(std::string& Out, uint32_t V) {
  for (int i = 0; i < 4; ++i) Out.push_back(static_cast<char>((V >> (8 * i)) & 0xFF));
}

// Reads the bytes of a file front to back; every read checks what remains.
class TReader {
 public:
  explicit TReader(std::string_view Bytes) : bytes_(Bytes) {}
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool U8(uint8_t& V) {
    if (Remaining() < 1) return false;
    V = static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool U16(uint16_t& V) {
    if (Remaining() < 2) return false;
    V = static_cast<uint16_t>(Byte(0) | Byte(1) << 8);
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& V) {
    if (Remaining() < 4) return false;
    V = Byte(0) | Byte(1) << 8 | Byte(2) << 16 | Byte(3) << 24;
    pos_ += 4;
    return true;
  }
  bool Bytes(size_t N, std::string& V) {
    if (Remaining() < N) return false;
    V.assign(bytes_.substr(pos_, N));
    pos_ += N;
    return true;
  }

 private:
  uint32_t Byte(size_t i) const { return static_cast<uint8_t>(bytes_[pos_ + i]); }
  std::string_view bytes_;
  size_t pos_ = 0;
};

bool ParseValue(TReader& In, TKey& Key, std::string& Error) {
  uint16_t nameLength = 0;
  std::string name;
  uint8_t kind = 0;
  if (!In.U16(nameLength) || !In.Bytes(nameLength, name) || !In.U8(kind)) return Error = "truncated value", false;
  if (nameLength > kMaxValueName) return Error = "value name too long", false;
  TNamedValue entry{name, {}};
  entry.Value.Kind = kind;
  if (kind == kKindText) {
    uint32_t length = 0;
    if (!In.U32(length)) return Error = "truncated text value", false;
    if (length > kMaxText) return Error = "text value too long", false;
    if (!In.Bytes(length, entry.Value.Text)) return Error = "truncated text value", false;
  } else if (kind == kKindNumber) {
    if (!In.U32(entry.Value.Number)) return Error = "truncated number value", false;
  } else {
    return Error = "unknown value kind " + std::to_string(kind), false;
  }
  if (!Key.Values.emplace(Fold(name), std::move(entry)).second) return Error = "value \"" + name + "\" stored twice", false;
  return true;
}

bool ParseKey(TReader& In, THive& Hive, std::string& Error) {
  uint16_t pathLength = 0;
  std::string path, normalised;
  uint32_t valueCount = 0;
  if (!In.U16(pathLength) || !In.Bytes(pathLength, path) || !In.U32(valueCount)) return Error = "truncated key", false;
  if (!NormalisePath(path, normalised) || normalised != path) return Error = "malformed key path", false;
  // Each value takes at least 7 bytes: a count beyond what remains is corrupt, not a reason to loop.
  if (valueCount > In.Remaining() / 7) return Error = "value count beyond the end of the file", false;
  auto [it, inserted] = Hive.Keys.try_emplace(Fold(path));
  if (!inserted) return Error = "key \"" + path + "\" stored twice", false;
  it->second.Path = path;
  for (uint32_t i = 0; i < valueCount; ++i)
    if (!ParseValue(In, it->second, Error)) return false;
  return true;
}

}  // namespace

std::string Fold(std::string_view Name) { return ChaineUnicode::Majuscules1252(Name); }

bool NormalisePath(std::string_view Path, std::string& Normalised) {
  std::string result;
  size_t start = 0;
  while (start <= Path.size()) {
    size_t end = Path.find('\\', start);
    if (end == std::string_view::npos) end = Path.size();
    const std::string_view component = Path.substr(start, end - start);
    if (component.size() > kMaxKeyComponent) return false;
    if (!component.empty()) {
      if (!result.empty()) result.push_back('\\');
      result.append(component);
    }
    start = end + 1;
  }
  if (result.size() > kMaxKeyPath) return false;
  Normalised = std::move(result);
  return true;
}

const TKey* THive::Find(std::string_view Path) const {
  auto it = Keys.find(Fold(Path));
  return it == Keys.end() ? nullptr : &it->second;
}

bool THive::Exists(std::string_view Path) const {
  if (Path.empty()) return true;  // the hive's root
  const std::string folded = Fold(Path);
  if (Keys.count(folded)) return true;
  auto below = Keys.lower_bound(folded + '\\');
  return below != Keys.end() && below->first.compare(0, folded.size() + 1, folded + '\\') == 0;
}

TKey& THive::Create(std::string_view Path) {
  auto [it, inserted] = Keys.try_emplace(Fold(Path));
  if (inserted) it->second.Path = std::string(Path);
  return it->second;
}

bool Parse(std::string_view Bytes, THive& Hive, std::string& Error) {
  Hive.Keys.clear();
  if (Bytes.size() > kMaxFileSize) return Error = "file too large", false;
  if (Bytes.size() < sizeof kMagic + 12) return Error = "file truncated", false;
  if (std::memcmp(Bytes.data(), kMagic, sizeof kMagic) != 0) return Error = "not a hive file", false;
  const std::string_view body = Bytes.substr(0, Bytes.size() - 4);
  TReader trailer(Bytes.substr(Bytes.size() - 4));
  uint32_t storedCrc = 0;
  (void)trailer.U32(storedCrc);
  if (Crc(body) != storedCrc) return Error = "checksum mismatch (truncated or altered)", false;

  TReader in(body.substr(sizeof kMagic));
  uint32_t version = 0, keyCount = 0;
  (void)in.U32(version);
  (void)in.U32(keyCount);
  if (version != kFormatVersion) return Error = "unknown format version " + std::to_string(version), false;
  THive hive;
  if (keyCount > in.Remaining() / 6) return Error = "key count beyond the end of the file", false;
  for (uint32_t i = 0; i < keyCount; ++i)
    if (!ParseKey(in, hive, Error)) return false;
  if (in.Remaining() != 0) return Error = "bytes after the last key", false;
  Hive = std::move(hive);
  return true;
}

std::string Serialise(const THive& Hive) {
  std::string out(kMagic, sizeof kMagic);
  Put32(out, kFormatVersion);
  Put32(out, static_cast<uint32_t>(Hive.Keys.size()));
  for (const auto& [folded, key] : Hive.Keys) {
    Put16(out, static_cast<uint16_t>(key.Path.size()));
    out += key.Path;
    Put32(out, static_cast<uint32_t>(key.Values.size()));
    for (const auto& [foldedName, entry] : key.Values) {
      Put16(out, static_cast<uint16_t>(entry.Name.size()));
      out += entry.Name;
      out.push_back(static_cast<char>(entry.Value.Kind));
      if (entry.Value.Kind == kKindText) {
        Put32(out, static_cast<uint32_t>(entry.Value.Text.size()));
        out += entry.Value.Text;
      } else {
        Put32(out, entry.Value.Number);
      }
    }
  }
  Put32(out, Crc(out));
  return out;
}

}  // namespace HiveFile
