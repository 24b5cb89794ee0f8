// Interfaces are abstract classes identified by a GUID. QueryInterface answers by GUID without
// reference counting: _AddRef and _Release return 1 and nothing is ever freed through an interface.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0;
  uint16_t D3 = 0;
  std::array<uint8_t, 8> D4{};

  friend bool operator==(const TGUID&, const TGUID&) = default;
  // The 16 bytes in memory order (D1 to D3 little-endian), as a GUID is stored.
  std::array<uint8_t, 16> Bytes() const;
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
  std::string ToString() const;
};

// Builds a GUID from its "{........-....-....-....-............}" text at compile time.
consteval TGUID MakeGUID(const char* s) {
  auto hex = [](char c) -> uint32_t {
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    throw "bad GUID digit";
  };
  auto field = [&](int from, int digits) {
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i) v = v * 16 + hex(s[from + i]);
    return v;
  };
  if (s[0] != '{' || s[9] != '-' || s[14] != '-' || s[19] != '-' || s[24] != '-' || s[37] != '}')
    throw "bad GUID text";
  TGUID g;
  g.D1 = field(1, 8);
  g.D2 = static_cast<uint16_t>(field(10, 4));
  g.D3 = static_cast<uint16_t>(field(15, 4));
  g.D4[0] = static_cast<uint8_t>(field(20, 2));
  g.D4[1] = static_cast<uint8_t>(field(22, 2));
  for (int i = 0; i < 6; ++i) g.D4[2 + i] = static_cast<uint8_t>(field(25 + 2 * i, 2));
  return g;
}

inline constexpr int32_t S_OK = 0;
inline constexpr int32_t E_NOINTERFACE = static_cast<int32_t>(0x80004002u);

struct IInterface {
  static constexpr TGUID IID = MakeGUID("{00000000-0000-0000-C000-000000000046}");
  virtual int32_t QueryInterface(const TGUID& iid, void** obj) = 0;
  virtual int32_t _AddRef() = 0;
  virtual int32_t _Release() = 0;

 protected:
  ~IInterface() = default;
};

// The interface I of an object, or nullptr (QueryInterface by I::IID).
template <class I>
I* Supports(IInterface* from) {
  void* out = nullptr;
  if (from == nullptr || from->QueryInterface(I::IID, &out) != S_OK) return nullptr;
  return static_cast<I*>(out);
}
