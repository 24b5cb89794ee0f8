// Source literals reach the program as Windows-1252 bytes: "Application déjà lancée"_ansi is turned
// from its UTF-8 spelling into 1252 bytes at compile time. A character that 1252 cannot hold stops
// the build.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ansi1252 {

// The 27 characters that 1252 places in 0x80..0x9F (0 where the byte is unassigned).
inline constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The 1252 byte of a code point, or -1 when 1252 has none.
constexpr int ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighControls[i] != 0 && kHighControls[i] == cp) return 0x80 + i;
  return -1;
}

template <std::size_t N>
struct Utf8Literal {
  char text[N];
  constexpr Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
};

template <std::size_t N>
struct Converted {
  std::array<char, N> bytes{};
  std::size_t length = 0;
};

template <Utf8Literal L>
consteval auto Convert() {
  constexpr std::size_t N = sizeof(L.text);
  Converted<N> out;
  std::size_t i = 0;
  while (i + 1 < N) {  // the last byte is the terminator
    auto b = static_cast<unsigned char>(L.text[i]);
    char32_t cp;
    int extra;
    if (b < 0x80) { cp = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; }
    else throw "invalid UTF-8 in literal";
    if (i + extra + 1 >= N) throw "truncated UTF-8 in literal";
    for (int k = 1; k <= extra; ++k) {
      auto c = static_cast<unsigned char>(L.text[i + k]);
      if ((c & 0xC0) != 0x80) throw "invalid UTF-8 in literal";
      cp = (cp << 6) | (c & 0x3F);
    }
    int byte = ByteOf(cp);
    if (byte < 0) throw "character without a Windows-1252 byte in literal";
    out.bytes[out.length++] = static_cast<char>(byte);
    i += extra + 1;
  }
  return out;
}

template <Utf8Literal L>
inline constexpr auto kLiteral = Convert<L>();

}  // namespace ansi1252

// "déjà"_ansi: a std::string_view over the literal's 1252 bytes, with static storage.
template <ansi1252::Utf8Literal L>
constexpr std::string_view operator""_ansi() {
  return std::string_view(ansi1252::kLiteral<L>.bytes.data(), ansi1252::kLiteral<L>.length);
}
