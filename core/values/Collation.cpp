#include "core/values/Collation.h"

#include <array>

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "core/values/Ansi1252.h"

namespace Collation {
namespace {

// Accent marks, in the order in which they sort after the plain letter (e, é, è, ê, ë).
enum Accent : uint8_t {
  kPlain = 0,
  kAcute,
  kGrave,
  kCircumflex,
  kDiaeresis,
  kTilde,
  kRing,
  kCedilla,
  kStroke,
  kCaron,
  kHook,
  kOrdinal,
  kSuperscript,
  kLigature,
};

// How one byte sorts: one collation element (two for the ligatures æ, œ and ß, which sort as "ae",
// "oe" and "ss"), each with the byte's accent and case.
struct Weights {
  uint32_t primary;    // never 0, which stands for the end of a string (1..255 for 1252 bytes)
  uint32_t expansion;  // primary of the second element, 0 when there is none
  uint8_t accent;
  uint8_t upper;  // 1 for a capital letter
};

using Table = std::array<Weights, 256>;

struct TableBuilder {
  Table table{};
  uint8_t next = 1;

  constexpr void Own(unsigned char c) { table[c] = {next++, 0, kPlain, 0}; }
  constexpr void Variant(unsigned char c, unsigned char base, uint8_t accent, uint8_t upper = 0) {
    table[c] = {table[base].primary, 0, accent, upper};
  }
  constexpr void Expansion(unsigned char c, unsigned char first, unsigned char second, uint8_t upper) {
    table[c] = {table[first].primary, table[second].primary, kLigature, upper};
  }
  // A letter with its capital.
  constexpr void Letter(unsigned char lower, unsigned char upper) {
    Own(lower);
    Variant(upper, lower, kPlain, 1);
  }
  // An accented letter of a base letter, lower and capital (capital 0 when 1252 has none).
  constexpr void Accented(unsigned char base, uint8_t accent, unsigned char lower, unsigned char upper) {
    Variant(lower, base, accent);
    if (upper != 0) Variant(upper, base, accent, 1);
  }
};

// Controls and unassigned bytes first, then spaces, punctuation and symbols, then digits, then
// letters. Bytes that are forms of one sign (quotes, dashes, spaces) share its primary weight.
constexpr Table BuildTable() {
  TableBuilder b;
  for (unsigned c = 0; c < 0x20; ++c) b.Own(static_cast<unsigned char>(c));
  for (unsigned char c : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) b.Own(c);

  b.Own(' ');
  b.Variant(0xA0, ' ', 1);  // no-break space
  b.Own('!');
  b.Variant(0xA1, '!', 1);  // inverted !
  b.Own('"');
  b.Variant(0x93, '"', 1);
  b.Variant(0x94, '"', 2);
  b.Variant(0x84, '"', 3);
  b.Own('#');
  b.Own('$');
  b.Own('%');
  b.Variant(0x89, '%', 1);  // per mille
  b.Own('&');
  b.Own('\'');
  b.Variant(0x91, '\'', 1);
  b.Variant(0x92, '\'', 2);
  b.Variant(0x82, '\'', 3);
  b.Own('(');
  b.Own(')');
  b.Own('*');
  b.Own('+');
  b.Own(',');
  b.Own('-');
  b.Variant(0xAD, '-', 1);  // soft hyphen
  b.Variant(0x96, '-', 2);  // en dash
  b.Variant(0x97, '-', 3);  // em dash
  b.Own('.');
  b.Own('/');
  b.Own(':');
  b.Own(';');
  b.Own('<');
  b.Variant(0x8B, '<', 1);
  b.Own('=');
  b.Own('>');
  b.Variant(0x9B, '>', 1);
  b.Own('?');
  b.Variant(0xBF, '?', 1);  // inverted ?
  b.Own('@');
  b.Own('[');
  b.Own('\\');
  b.Own(']');
  b.Own('^');
  b.Variant(0x88, '^', 1);
  b.Own('_');
  b.Own('`');
  b.Own('{');
  b.Own('|');
  b.Variant(0xA6, '|', 1);  // broken bar
  b.Own('}');
  b.Own('~');
  b.Variant(0x98, '~', 1);
  for (unsigned char c :
       {0x80, 0x85, 0x86, 0x87, 0x95, 0x99, 0xA2, 0xA3, 0xA4, 0xA5, 0xA7, 0xA8, 0xA9, 0xAB, 0xAC,
        0xAE, 0xAF, 0xB0, 0xB1, 0xB4, 0xB6, 0xB7, 0xB8, 0xBB, 0xBC, 0xBD, 0xBE, 0xD7, 0xF7})
    b.Own(c);

  for (unsigned char c = '0'; c <= '9'; ++c) b.Own(c);
  b.Variant(0xB9, '1', kSuperscript);
  b.Variant(0xB2, '2', kSuperscript);
  b.Variant(0xB3, '3', kSuperscript);

  for (unsigned char c = 'a'; c <= 'z'; ++c) b.Letter(c, static_cast<unsigned char>(c - 'a' + 'A'));
  b.Letter(0xFE, 0xDE);  // thorn, after z
  b.Own(0xB5);           // micro sign

  b.Accented('a', kAcute, 0xE1, 0xC1);
  b.Accented('a', kGrave, 0xE0, 0xC0);
  b.Accented('a', kCircumflex, 0xE2, 0xC2);
  b.Accented('a', kDiaeresis, 0xE4, 0xC4);
  b.Accented('a', kTilde, 0xE3, 0xC3);
  b.Accented('a', kRing, 0xE5, 0xC5);
  b.Accented('a', kOrdinal, 0xAA, 0);
  b.Accented('c', kCedilla, 0xE7, 0xC7);
  b.Accented('d', kStroke, 0xF0, 0xD0);  // eth
  b.Accented('e', kAcute, 0xE9, 0xC9);
  b.Accented('e', kGrave, 0xE8, 0xC8);
  b.Accented('e', kCircumflex, 0xEA, 0xCA);
  b.Accented('e', kDiaeresis, 0xEB, 0xCB);
  b.Accented('f', kHook, 0x83, 0);
  b.Accented('i', kAcute, 0xED, 0xCD);
  b.Accented('i', kGrave, 0xEC, 0xCC);
  b.Accented('i', kCircumflex, 0xEE, 0xCE);
  b.Accented('i', kDiaeresis, 0xEF, 0xCF);
  b.Accented('n', kTilde, 0xF1, 0xD1);
  b.Accented('o', kAcute, 0xF3, 0xD3);
  b.Accented('o', kGrave, 0xF2, 0xD2);
  b.Accented('o', kCircumflex, 0xF4, 0xD4);
  b.Accented('o', kDiaeresis, 0xF6, 0xD6);
  b.Accented('o', kTilde, 0xF5, 0xD5);
  b.Accented('o', kStroke, 0xF8, 0xD8);
  b.Accented('o', kOrdinal, 0xBA, 0);
  b.Accented('s', kCaron, 0x9A, 0x8A);
  b.Accented('u', kAcute, 0xFA, 0xDA);
  b.Accented('u', kGrave, 0xF9, 0xD9);
  b.Accented('u', kCircumflex, 0xFB, 0xDB);
  b.Accented('u', kDiaeresis, 0xFC, 0xDC);
  b.Accented('y', kAcute, 0xFD, 0xDD);
  b.Accented('y', kDiaeresis, 0xFF, 0x9F);
  b.Accented('z', kCaron, 0x9E, 0x8E);
  b.Expansion(0xE6, 'a', 'e', 0);  // æ
  b.Expansion(0xC6, 'a', 'e', 1);
  b.Expansion(0x9C, 'o', 'e', 0);  // œ
  b.Expansion(0x8C, 'o', 'e', 1);
  b.Expansion(0xDF, 's', 's', 0);  // ß
  return b.table;
}

constexpr Table kTable = BuildTable();

constexpr bool EveryByteHasAPrimaryWeight() {
  for (const Weights& w : kTable)
    if (w.primary == 0) return false;
  return true;
}
static_assert(EveryByteHasAPrimaryWeight(), "a byte of 1252 was left out of the collation table");

enum class Level { kPrimary, kAccent, kCase };

// The primary weights of the hyphen and the apostrophe: the word sort passes over every byte that
// has one of them (the hyphen, soft hyphen and dashes; the apostrophe and its typographic forms).
constexpr uint32_t kHyphen = kTable['-'].primary;
constexpr uint32_t kApostrophe = kTable['\''].primary;

// One character of a Windows-1252 string.
class NarrowSource {
 public:
  NarrowSource(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}
  bool AtEnd() const { return p_ == end_; }
  Weights Peek() const { return kTable[*p_]; }
  void Advance() { ++p_; }

 private:
  const unsigned char* p_;
  const unsigned char* end_;
};

// One character of a UTF-16 string. A character that Windows-1252 has weighs as its byte; any other
// sorts after every 1252 letter by its case-folded code point, its capital after its small letter,
// so that two different texts outside the code page never compare equal.
class WideSource {
 public:
  WideSource(const char16_t* p, const char16_t* end) : p_(p), end_(end) {}
  bool AtEnd() const { return p_ == end_; }
  Weights Peek() const {
    const char32_t cp = CodePoint();
    int byte = -1;
    if (cp >= 0x80 && cp < 0xA0) {
      if (ansi1252::kHighControls[cp - 0x80] == 0) byte = static_cast<int>(cp);  // unassigned byte
    } else {
      byte = ansi1252::ByteOf(cp);
    }
    if (byte >= 0) return kTable[static_cast<unsigned char>(byte)];
    const char32_t folded = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(cp), U_FOLD_CASE_DEFAULT));
    return {0x100 + static_cast<uint32_t>(folded), 0, kPlain, static_cast<uint8_t>(folded != cp ? 1 : 0)};
  }
  void Advance() { p_ += Units(); }

 private:
  // A surrogate pair is one character; a lone surrogate stands for itself.
  int Units() const {
    return (p_ + 1 != end_ && U16_IS_LEAD(p_[0]) && U16_IS_TRAIL(p_[1])) ? 2 : 1;
  }
  char32_t CodePoint() const {
    return Units() == 2 ? static_cast<char32_t>(U16_GET_SUPPLEMENTARY(p_[0], p_[1])) : p_[0];
  }

  const char16_t* p_;
  const char16_t* end_;
};

// Walks the collation elements of a string, giving the weight of one level per element. In the word
// sort, hyphens and apostrophes are passed over.
template <Level L, class Source>
class Elements {
 public:
  Elements(Source source, SortMode mode) : s_(source), word_(mode == SortMode::kWord) {}

  bool AtEnd() {
    if (word_ && !inExpansion_)
      while (!s_.AtEnd() && Ignorable(s_.Peek())) s_.Advance();
    return s_.AtEnd();
  }

  // The weight of the next element; call only when AtEnd said false.
  uint32_t Next() {
    const Weights w = s_.Peek();
    if (L == Level::kPrimary) {
      if (inExpansion_) {
        inExpansion_ = false;
        s_.Advance();
        return w.expansion;
      }
      if (w.expansion != 0) {
        inExpansion_ = true;
        return w.primary;
      }
      s_.Advance();
      return w.primary;
    }
    const uint32_t weight = (L == Level::kAccent) ? w.accent : w.upper;
    if (w.expansion != 0 && !inExpansion_) {
      inExpansion_ = true;
      return weight;
    }
    inExpansion_ = false;
    s_.Advance();
    return weight;
  }

 private:
  static bool Ignorable(const Weights& w) { return w.primary == kHyphen || w.primary == kApostrophe; }

  Source s_;
  bool word_;
  bool inExpansion_ = false;
};

template <Level L, class Source>
int CompareLevel(Source a, Source b, SortMode mode) {
  Elements<L, Source> ea(a, mode), eb(b, mode);
  for (;;) {
    const bool aDone = ea.AtEnd(), bDone = eb.AtEnd();
    if (aDone || bDone) return aDone == bDone ? 0 : (aDone ? -1 : 1);
    const uint32_t wa = ea.Next(), wb = eb.Next();
    if (wa != wb) return wa < wb ? -1 : 1;
  }
}

template <class Source>
int CompareLevels(Source a, Source b, bool ignoreCase, SortMode mode) {
  if (int c = CompareLevel<Level::kPrimary>(a, b, mode)) return c;
  if (int c = CompareLevel<Level::kAccent>(a, b, mode)) return c;
  if (!ignoreCase)
    if (int c = CompareLevel<Level::kCase>(a, b, mode)) return c;
  // Texts that differ only by their hyphens and apostrophes are still different texts: the string
  // sort of the whole texts decides between them.
  return mode == SortMode::kWord ? CompareLevels(a, b, ignoreCase, SortMode::kString) : 0;
}

// Identical leading characters give identical elements at every level: skip them.
template <class Char>
void SkipCommonPrefix(const Char*& a, const Char* aEnd, const Char*& b, const Char* bEnd) {
  const Char* debut = a;
  while (a != aEnd && b != bEnd && *a == *b) {
    ++a;
    ++b;
  }
  // Never split a surrogate pair: step back onto its lead unit.
  if constexpr (sizeof(Char) == 2) {
    if (a != debut && U16_IS_LEAD(a[-1])) {
      --a;
      --b;
    }
  }
}

}  // namespace

int Compare(std::string_view a, std::string_view b, bool ignoreCase, SortMode mode) {
  auto pa = reinterpret_cast<const unsigned char*>(a.data());
  auto pb = reinterpret_cast<const unsigned char*>(b.data());
  const unsigned char* aEnd = pa + a.size();
  const unsigned char* bEnd = pb + b.size();
  SkipCommonPrefix(pa, aEnd, pb, bEnd);
  if (pa == aEnd && pb == bEnd) return 0;
  return CompareLevels(NarrowSource(pa, aEnd), NarrowSource(pb, bEnd), ignoreCase, mode);
}

int CompareWide(std::u16string_view a, std::u16string_view b, bool ignoreCase, SortMode mode) {
  const char16_t* pa = a.data();
  const char16_t* pb = b.data();
  const char16_t* aEnd = pa + a.size();
  const char16_t* bEnd = pb + b.size();
  SkipCommonPrefix(pa, aEnd, pb, bEnd);
  if (pa == aEnd && pb == bEnd) return 0;
  return CompareLevels(WideSource(pa, aEnd), WideSource(pb, bEnd), ignoreCase, mode);
}

uint64_t PrimaryPrefix(std::string_view s) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  Elements<Level::kPrimary, NarrowSource> elements(NarrowSource(p, p + s.size()), SortMode::kString);
  uint64_t prefix = 0;
  int taken = 0;
  for (; taken < 8 && !elements.AtEnd(); ++taken)
    prefix = (prefix << 8) | static_cast<uint64_t>(elements.Next());
  if (taken == 0) return 0;
  return taken == 8 ? prefix : prefix << (8 * (8 - taken));
}

}  // namespace Collation
