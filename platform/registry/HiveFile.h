// The settings store keeps each hive (machine, user) in one file of its own. This unit holds the
// file's byte layout, shared by the reader and the writer, and the in-memory form of a hive: keys
// named by backslash-separated paths, each holding named values that are texts or 32-bit numbers.
// Key and value names are compared without case, and keep the case they were first written with.
//
// Layout (little-endian):
//   "NVHIVE" 0x0D 0x0A         magic, 8 bytes
//   u32 version                kFormatVersion
//   u32 key count
//   per key:   u16 path length, path bytes (components joined by '\', none empty),
//              u32 value count,
//              per value: u16 name length, name bytes, u8 kind (1 text, 4 number),
//                         text: u32 length and bytes; number: u32
//   u32 CRC-32 of every byte before it
// A file that does not follow this layout to its last byte is corrupt: it is reported, never read
// in part.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace HiveFile {

inline constexpr char kMagic[8] = {'N', 'V', 'H', 'I', 'V', 'E', '\r', '\n'};
inline constexpr uint32_t kFormatVersion = 1;
inline constexpr uint8_t kKindText = 1;
inline constexpr uint8_t kKindNumber = 4;
// Bounds that the writer enforces and the reader checks.
inline constexpr size_t kMaxKeyComponent = 255;
inline constexpr size_t kMaxKeyPath = 65535;
inline constexpr size_t kMaxValueName = 16383;
inline constexpr size_t kMaxText = 1 << 20;
inline constexpr size_t kMaxFileSize = 64u << 20;

// A value: a text (REG_SZ-like) or a 32-bit number (REG_DWORD-like).
struct TValue {
  uint8_t Kind = kKindText;
  std::string Text;
  uint32_t Number = 0;
  bool operator==(const TValue&) const = default;
};

struct TNamedValue {
  std::string Name;  // as first written
  TValue Value;
};

struct TKey {
  std::string Path;  // as first written, normalised
  std::map<std::string, TNamedValue> Values;  // by folded name
};

// A whole hive, keys by folded path.
struct THive {
  std::map<std::string, TKey> Keys;

  // The key, or nil. A key exists when it was created or when a key below it was.
  const TKey* Find(std::string_view Path) const;
  bool Exists(std::string_view Path) const;
  // Creates the key when needed and returns it. Path must be normalised and within bounds.
  TKey& Create(std::string_view Path);
};

// Names compared without case: Windows-1252 letters folded to upper case.
std::string Fold(std::string_view Name);

// The path with its empty components dropped ("A\\B\" gives "A\B"); false when a component is
// longer than kMaxKeyComponent or the whole is longer than kMaxKeyPath.
bool NormalisePath(std::string_view Path, std::string& Normalised);

// Parses a whole file; on failure Error says what is wrong and Hive is left empty.
bool Parse(std::string_view Bytes, THive& Hive, std::string& Error);
std::string Serialise(const THive& Hive);

}  // namespace HiveFile
