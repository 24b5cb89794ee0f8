// The text collation and the column comparison routines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Collation.h"
#include "core/records/Comparai.h"

namespace {

std::string S(std::string_view v) { return std::string(v); }

}  // namespace

TEST(Collation, SequencesSortInTheirListedOrder) {
  // Each list is strictly ascending with case taken into account.
  const std::vector<std::vector<std::string>> sequences = {
      {"a", "A", S("à"_ansi), S("À"_ansi), "b"},
      {"cote", S("coté"_ansi), S("côte"_ansi), S("côté"_ansi)},  // accents compared left to right
      {"\x01", " ", S("\xA0"), "!", "-", S("\x96"), "0", "9", "a", "z", S("þ"_ansi), S("µ"_ansi)},
      {S("école"_ansi), "ecolier", S("zèbre"_ansi)},  // accented letters sort with their letter
      {"oeuvre", "OEUVRE", S("œuvre"_ansi), S("Œuvre"_ansi), "of"},
      {"ss", S("ß"_ansi), "st"},
      {"Muller", S("Müller"_ansi), "Mullers"},
      {"1", S("¹"_ansi), "2", S("²"_ansi), "3"},
      {"", "\x1F", " a", "a", "a a", "aa"},
      {"e", S("é"_ansi), S("è"_ansi), S("ê"_ansi), S("ë"_ansi), "f"},  // accents in their listed order
      {"z", S("þ"_ansi), S("Þ"_ansi)},
  };
  for (const auto& seq : sequences)
    for (std::size_t i = 0; i + 1 < seq.size(); ++i) {
      EXPECT_EQ(Collation::Compare(seq[i], seq[i + 1], false), -1) << seq[i] << " < " << seq[i + 1];
      EXPECT_EQ(Collation::Compare(seq[i + 1], seq[i], false), 1) << seq[i + 1] << " > " << seq[i];
    }
}

TEST(Collation, IgnoringCaseLeavesAccentsSignificant) {
  struct Case {
    std::string a, b;
    int ignoringCase, withCase;
  };
  const Case cases[] = {
      {S("ÉCOLE"_ansi), S("école"_ansi), 0, 1},
      {S("Œuvre"_ansi), S("œUVRE"_ansi), 0, 1},
      {"STRASSE", "strasse", 0, 1},
      {S("école"_ansi), "ecole", 1, 1},
      {S("œuvre"_ansi), "oeuvre", 1, 1},
      {"abc", "abc", 0, 0},
      {"Abc", "abd", -1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Collation::Compare(c.a, c.b, true), c.ignoringCase) << c.a << " / " << c.b;
    EXPECT_EQ(Collation::Compare(c.a, c.b, false), c.withCase) << c.a << " / " << c.b;
  }
}

// The word sort passes over hyphens and apostrophes (in all their forms) and looks at them only
// between texts that are otherwise equal; the string sort weighs them as signs before the digits.
TEST(Collation, WordSortPassesOverHyphensAndApostrophes) {
  using Collation::SortMode;
  struct Case {
    std::string a, b;
    int word, string;
  };
  const Case cases[] = {
      {"co-op", "cooa", 1, -1},
      {"co-op", "coop", -1, -1},
      {"co-op", "coop-", -1, -1},
      {"l'eau", "le", 1, -1},
      {S("l’eau"_ansi), "leau", -1, -1},
      {S("co–op"_ansi), "cooa", 1, -1},  // en dash
      {"CO-OP", "co-op", 0, 0},          // case ignored
      {"-", "", 1, 1},
      {"a", "-b", -1, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Collation::Compare(c.a, c.b, true, SortMode::kWord), c.word) << c.a << " / " << c.b;
    EXPECT_EQ(Collation::Compare(c.b, c.a, true, SortMode::kWord), -c.word) << c.b << " / " << c.a;
    EXPECT_EQ(Collation::Compare(c.a, c.b, true, SortMode::kString), c.string) << c.a << " / " << c.b;
  }
  EXPECT_EQ(Collation::Compare("Co-op", "co-op", false, SortMode::kWord), 1);
}

// UTF-16 texts: what Windows-1252 holds sorts exactly as its bytes do; other characters follow the
// 1252 letters by code point, case folded, and two different texts never compare equal.
TEST(Collation, WideTextsSortAsTheirBytesAndKeepOtherCharactersApart) {
  using Collation::SortMode;
  for (unsigned x = 0; x < 256; ++x)
    for (unsigned y = 0; y < 256; ++y) {
      const std::string a{static_cast<char>(x)}, b{static_cast<char>(y)};
      const std::u16string wa = ChaineUnicode::VersUnicode(a, 1252), wb = ChaineUnicode::VersUnicode(b, 1252);
      for (bool ignoreCase : {false, true})
        ASSERT_EQ(Collation::CompareWide(wa, wb, ignoreCase, SortMode::kString), Collation::Compare(a, b, ignoreCase))
            << x << " " << y;
    }
  struct Case {
    std::u16string a, b;
    int ignoringCase, withCase;
  };
  const Case cases[] = {
      {u"\u041c\u043e\u0441\u043a\u0432\u0430", u"\u041a\u0438\u0435\u0432", 1, 1},  // Москва, Киев
      {u"\u0434\u0430", u"\u0414\u0430", 0, -1},                                     // да, Да
      {u"z", u"\u0430", -1, -1},                                                       // z before а
      {u"\U0001F600", u"\U0001F601", -1, -1},                                          // pairs compared whole
      {u"\u0430\U0001F600", u"\u0430\U0001F601", -1, -1},
      {u"\U0001F600", u"\uFFFF", 1, 1},
      {u"e-\u0436", u"e\u0436", -1, -1},  // word sort: the hyphen decides only at the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Collation::CompareWide(c.a, c.b, true, SortMode::kWord), c.ignoringCase);
    EXPECT_EQ(Collation::CompareWide(c.b, c.a, true, SortMode::kWord), -c.ignoringCase);
    EXPECT_EQ(Collation::CompareWide(c.a, c.b, false, SortMode::kWord), c.withCase);
  }
}

// The table itself: two different bytes are never equal with case, and are equal without case only
// when they are the two cases of one letter.
TEST(Collation, EveryByteHasItsOwnPlaceAndOnlyCasePairsMeet) {
  auto casePartner = [](int c) -> int {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
      case 0x8A:
        return 0x9A;
      case 0x9A:
        return 0x8A;
      case 0x8C:
        return 0x9C;
      case 0x9C:
        return 0x8C;
      case 0x8E:
        return 0x9E;
      case 0x9E:
        return 0x8E;
      case 0x9F:
        return 0xFF;
      case 0xFF:
        return 0x9F;
    }
    return -1;
  };
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) {
      if (x == y) continue;
      const std::string a(1, static_cast<char>(x)), b(1, static_cast<char>(y));
      const int withCase = Collation::Compare(a, b, false);
      ASSERT_NE(withCase, 0) << x << " " << y;
      ASSERT_EQ(Collation::Compare(b, a, false), -withCase) << x << " " << y;
      ASSERT_EQ(Collation::Compare(a, b, true) == 0, casePartner(x) == y) << x << " " << y;
    }
}

// Random strings over a small alphabet rich in accents, ligatures and case: the comparison is a total
// order (sorting then comparing every pair agrees), and the primary prefix never contradicts it.
TEST(Collation, IsATotalOrderThatThePrimaryPrefixRespects) {
  const std::string alphabet = S("aAàÀeEéÉoOœŒsSßtT -1¹"_ansi) + "oe" + "ss";
  std::mt19937 random(7);
  std::vector<std::string> words;
  for (int i = 0; i < 300; ++i) {
    std::string w;
    const int length = static_cast<int>(random() % 11);
    for (int k = 0; k < length; ++k) w += alphabet[random() % alphabet.size()];
    words.push_back(w);
  }
  for (bool ignoreCase : {false, true}) {
    auto sorted = words;
    std::sort(sorted.begin(), sorted.end(), [&](const std::string& a, const std::string& b) {
      return Collation::Compare(a, b, ignoreCase) < 0;
    });
    for (std::size_t i = 0; i < sorted.size(); ++i)
      for (std::size_t j = i + 1; j < sorted.size(); ++j)
        ASSERT_LE(Collation::Compare(sorted[i], sorted[j], ignoreCase), 0) << sorted[i] << " / " << sorted[j];
    for (const auto& a : words)
      for (const auto& b : words) {
        const uint64_t pa = Collation::PrimaryPrefix(a), pb = Collation::PrimaryPrefix(b);
        if (pa != pb) {
          ASSERT_EQ(Collation::Compare(a, b, ignoreCase), pa < pb ? -1 : 1) << a << " / " << b;
        }
      }
  }
  EXPECT_EQ(Collation::PrimaryPrefix(""), 0u);
  EXPECT_EQ(Collation::PrimaryPrefix("abcdefgh"), Collation::PrimaryPrefix("ABCDEFGHIJ"));
}

TEST(Comparai, ColumnComparisons) {
  auto shortString = [](std::string_view text) {
    std::string field(16, '\0');
    field[0] = static_cast<char>(text.size());
    std::memcpy(field.data() + 1, text.data(), text.size());
    return field;
  };
  const std::string alpha = shortString("Alpha"), alphaLower = shortString("alpha"),
                    beta = shortString("beta");
  EXPECT_EQ(Comparai::ComparerChaineCourte(alpha.data(), alphaLower.data(), 16), 0);
  EXPECT_EQ(Comparai::ComparerChaineCourte(alpha.data(), beta.data(), 16), -1);
  EXPECT_EQ(Comparai::ComparerChaineCourte(beta.data(), alpha.data(), 0), 1);
  // A length byte larger than the field holds is read as the field's capacity.
  std::string overlong = shortString("abcxxxx"), shortAbc = shortString("abc");
  overlong[0] = static_cast<char>(200);
  EXPECT_EQ(Comparai::ComparerChaineCourte(overlong.data(), shortAbc.data(), 4), 0);

  const uint8_t b200 = 200, b100 = 100;
  EXPECT_EQ(Comparai::ComparerOctet(&b200, &b100, 0), 100);
  EXPECT_EQ(Comparai::ComparerOctetDecroissant(&b200, &b100, 0), -100);

  const uint8_t z1[] = {1, 0x80, 3}, z2[] = {1, 0x7F, 9};
  EXPECT_EQ(Comparai::ComparerOctets(z1, z2, 3), 1);
  EXPECT_EQ(Comparai::ComparerOctets(z1, z2, 1), 0);
  EXPECT_EQ(Comparai::ComparerOctets(z1, z2, 0), 0);

  const uint32_t high = 0x80000000u, one = 1;
  EXPECT_EQ(Comparai::ComparerCardinal(&high, &one, 4), 1);
  EXPECT_EQ(Comparai::ComparerEntier(&high, &one, 4), -1);
  EXPECT_EQ(Comparai::ComparerEntierBis(&high, &one, 4), -1);
  EXPECT_EQ(Comparai::ComparerEntier(&one, &one, 4), 0);

  const uint32_t c1[] = {5, 0xFFFFFFFFu}, c2[] = {5, 2};
  EXPECT_EQ(Comparai::ComparerCardinaux(c1, c2, 8), 1);
  EXPECT_EQ(Comparai::ComparerCardinaux(c1, c2, 4), 0);
  EXPECT_EQ(Comparai::ComparerCardinaux(c1, c2, 0), 0);

  const double r1[] = {1.0, 2.0}, r2[] = {1.0 + 1e-13, 1.5}, r3[] = {1.0 + 1e-11, 0.0};
  EXPECT_EQ(Comparai::ComparerReels(r1, r2, 8), 0);
  EXPECT_EQ(Comparai::ComparerReels(r1, r2, 16), 1);
  EXPECT_EQ(Comparai::ComparerReels(r1, r3, 8), -1);
  const double tiny1 = 0.0, tiny2 = 5e-13;  // below the absolute tolerance of 1e-12
  EXPECT_EQ(Comparai::ComparerReels(&tiny1, &tiny2, 8), 0);
}
