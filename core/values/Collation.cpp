#include "core/values/Collation.h"

#include <array>

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
  uint8_t primary;    // 1..255; never 0, which stands for the end of a string
  uint8_t expansion;  // primary of the second element, 0 when there is none
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

// Walks the collation elements of a string, giving the weight of one level per element.
template <Level L>
class Elements {
 public:
  Elements(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}

  bool AtEnd() const { return p_ == end_; }

  // The weight of the next element; call only when not AtEnd.
  int Next() {
    const Weights& w = kTable[*p_];
    if (L == Level::kPrimary) {
      if (inExpansion_) {
        inExpansion_ = false;
        ++p_;
        return w.expansion;
      }
      if (w.expansion != 0) {
        inExpansion_ = true;
        return w.primary;
      }
      ++p_;
      return w.primary;
    }
    const int weight = (L == Level::kAccent) ? w.accent : w.upper;
    if (w.expansion != 0 && !inExpansion_) {
      inExpansion_ = true;
      return weight;
    }
    inExpansion_ = false;
    ++p_;
    return weight;
  }

 private:
  const unsigned char* p_;
  const unsigned char* end_;
  bool inExpansion_ = false;
};

template <Level L>
int CompareLevel(const unsigned char* a, const unsigned char* aEnd, const unsigned char* b,
                 const unsigned char* bEnd) {
  Elements<L> ea(a, aEnd), eb(b, bEnd);
  for (;;) {
    const bool aDone = ea.AtEnd(), bDone = eb.AtEnd();
    if (aDone || bDone) return aDone == bDone ? 0 : (aDone ? -1 : 1);
    const int wa = ea.Next(), wb = eb.Next();
    if (wa != wb) return wa < wb ? -1 : 1;
  }
}

}  // namespace

int Compare(std::string_view a, std::string_view b, bool ignoreCase) {
  auto pa = reinterpret_cast<const unsigned char*>(a.data());
  auto pb = reinterpret_cast<const unsigned char*>(b.data());
  const unsigned char* aEnd = pa + a.size();
  const unsigned char* bEnd = pb + b.size();
  // Identical leading bytes give identical elements at every level.
  while (pa != aEnd && pb != bEnd && *pa == *pb) {
    ++pa;
    ++pb;
  }
  if (pa == aEnd && pb == bEnd) return 0;
  if (int c = CompareLevel<Level::kPrimary>(pa, aEnd, pb, bEnd)) return c;
  if (int c = CompareLevel<Level::kAccent>(pa, aEnd, pb, bEnd)) return c;
  if (ignoreCase) return 0;
  return CompareLevel<Level::kCase>(pa, aEnd, pb, bEnd);
}

uint64_t PrimaryPrefix(std::string_view s) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  Elements<Level::kPrimary> elements(p, p + s.size());
  uint64_t prefix = 0;
  int taken = 0;
  for (; taken < 8 && !elements.AtEnd(); ++taken)
    prefix = (prefix << 8) | static_cast<uint64_t>(elements.Next());
  if (taken == 0) return 0;
  return taken == 8 ? prefix : prefix << (8 * (8 - taken));
}

}  // namespace Collation
