// Line-break conventions, code-page conversions and the lazily converted two-form text.
#include <gtest/gtest.h>

#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/objects/Exceptions.h"
#include "core/values/RetourChariot.h"

using namespace ChaineUnicode;

TEST(RetourChariot, EveryModeWritesItsFormForEachKindOfBreak) {
  const std::string texte = "a\r\nb\rc\nd";
  struct Cas { TypeRetourChariot mode; std::string attendu; };
  const Cas cas[] = {
      {RC_CRLF, "a\r\nb\r\nc\r\nd"},
      {RC_LF, "a\nb\nc\nd"},
      {RC_CR, "a\rb\rc\rd"},
      {RC_BR, "a<BR/>b<BR/>c<BR/>d"},
      {RC_AntiSlashN, "a\\nb\\nc\\nd"},
  };
  for (const Cas& c : cas) EXPECT_EQ(RetourChariot::ConvertirRetoursChariot(texte, c.mode), c.attendu) << int(c.mode);
}

TEST(RetourChariot, PairsAndLoneBreaksCountOnce) {
  EXPECT_EQ(RetourChariot::ConvertirRetoursChariot("\r\r\n", RC_CR), "\r\r");
  EXPECT_EQ(RetourChariot::ConvertirRetoursChariot("\r\r\n", RC_CRLF), "\r\n\r\n");
  EXPECT_EQ(RetourChariot::ConvertirRetoursChariot("\n\r", RC_LF), "\n\n");
  EXPECT_EQ(RetourChariot::ConvertirRetoursChariot("x\r", RC_BR), "x<BR/>");
  EXPECT_EQ(RetourChariot::ConvertirRetoursChariot("", RC_CRLF), "");
}

TEST(RetourChariot, NamesOfTheConventions) {
  EXPECT_EQ(RetourChariot::ChaineRetourChariot(RC_CRLF), "\r\n");
  EXPECT_EQ(RetourChariot::ChaineRetourChariot(RC_LF), "\n");
  EXPECT_EQ(RetourChariot::ChaineRetourChariot(RC_CR), "\r");
  EXPECT_EQ(RetourChariot::ChaineRetourChariot(RC_BR), "BR");
  EXPECT_EQ(RetourChariot::ChaineRetourChariot(RC_AntiSlashN), "\\n");
}

TEST(ConversionUTF8, StrictDecodingEmptiesTheWholeTextOnAnyBadSequence) {
  const std::string mauvais[] = {
      "ok\xC3",              // truncated two-byte sequence
      "\xE2\x82",            // truncated three-byte sequence
      "a\x80z",              // lone continuation byte
      "\xC0\x80",            // overlong NUL
      "\xE0\x80\xAF",        // overlong slash
      "\xED\xA0\x80",        // an encoded surrogate
      "\xF4\x90\x80\x80",    // beyond U+10FFFF
      "\xF8\x88\x80\x80\x80" // five-byte form
  };
  for (const std::string& t : mauvais) {
    EXPECT_TRUE(VersUnicode(t, CP_UTF8).empty()) << t;
    EXPECT_EQ(DepuisUTF8(t, CP_WINDOWS_1252), "") << t;
  }
  EXPECT_EQ(VersUnicode("\xC3\xA9\xE2\x82\xAC", CP_UTF8), u"\u00E9\u20AC");
}

TEST(ConversionUTF8, SurrogatePairBecomesOneFourByteSequenceAndComesBack) {
  const std::u16string avecPaire = u"a\U0001F600b";
  const std::string utf8 = DepuisUnicode(avecPaire, CP_UTF8);
  EXPECT_EQ(utf8, "a\xF0\x9F\x98\x80" "b");
  EXPECT_EQ(VersUnicode(utf8, CP_UTF8), avecPaire);
  // A lone surrogate is written as U+FFFD, so the rest of the text survives the way back.
  const std::u16string seul = {u'x', char16_t(0xD800), u'y', char16_t(0xDC00)};
  EXPECT_EQ(DepuisUnicode(seul, CP_UTF8), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
  EXPECT_EQ(VersUnicode(DepuisUnicode(seul, CP_UTF8), CP_UTF8).size(), 4u);
}

TEST(Conversion1252, EveryByteSurvivesTheWayThroughUTF8AndPageZeroIs1252) {
  std::string tous;
  for (int b = 0; b < 256; ++b) tous += static_cast<char>(b);
  EXPECT_EQ(DepuisUTF8(VersUTF8(tous, CP_WINDOWS_1252), CP_WINDOWS_1252), tous);
  EXPECT_EQ(VersUnicode(tous, CP_ACP), VersUnicode(tous, CP_WINDOWS_1252));
  EXPECT_EQ(VersUTF8("\x80\x9C", CP_ACP), "\xE2\x82\xAC\xC5\x93");
  EXPECT_EQ(VersUnicode("\x8D", CP_WINDOWS_1252), u"\u008D");
}

TEST(Conversion1252, CharactersThatTheCodePageLacksBecomeOneQuestionMarkEach) {
  EXPECT_EQ(DepuisUnicode(u"\u0100\u00E9\u20AC\U0001F600.", CP_WINDOWS_1252), "?\xE9\x80?.");
  EXPECT_EQ(DepuisUnicode(u"\u0081\u0080", CP_WINDOWS_1252), "\x81?");
}

TEST(Conversion1252, UpperCaseOfEveryLetterThatHasACapital) {
  struct Cas { std::string texte, majuscules; };
  const Cas cas[] = {
      {"abz ABZ 09", "ABZ ABZ 09"},
      {std::string("àéîõü þ"_ansi), std::string("ÀÉÎÕÜ Þ"_ansi)},
      {std::string("šœžÿ"_ansi), std::string("ŠŒŽŸ"_ansi)},
      {std::string("ß÷µ×"_ansi), std::string("ß÷µ×"_ansi)},  // no capital in 1252, or not a letter
      {"", ""},
  };
  for (const Cas& c : cas) EXPECT_EQ(ChaineUnicode::Majuscules1252(c.texte), c.majuscules) << c.texte;
}

TEST(Conversion1252, LowerCaseIsTheInverseOfUpperCaseOnEveryByteThatHasOne) {
  EXPECT_EQ(ChaineUnicode::Minuscules1252(std::string("ABZ abz 09 ÀÉÎÕÜ Þ ŠŒŽŸ ×ß"_ansi)),
            std::string("abz abz 09 àéîõü þ šœžÿ ×ß"_ansi));
  for (int b = 0; b < 256; ++b) {
    const std::string octet(1, static_cast<char>(b));
    const std::string haut = ChaineUnicode::Majuscules1252(octet);
    if (haut != octet) {
      EXPECT_EQ(ChaineUnicode::Minuscules1252(haut), octet) << b;
    }
    const std::string bas = ChaineUnicode::Minuscules1252(octet);
    if (bas != octet) {
      EXPECT_EQ(ChaineUnicode::Majuscules1252(bas), octet) << b;
    }
  }
}

TEST(ConversionUSASCII, BytesAboveAsciiAreQuestionMarksAndUnicodeGoesThroughTheBestFitTable) {
  EXPECT_EQ(VersUnicode("a\xE9", CP_US_ASCII), u"a?");
  struct Cas { char16_t unite; char octet; };
  const Cas cas[] = {
      {u'A', 'A'},    {0x007F, 0x7F}, {0x00A0, ' '}, {0x00C0, 'A'}, {0x00C5, 'A'}, {0x00E9, 'e'},
      {0x00E7, 'c'},  {0x0153, 'o'},  {0x2019, '\''}, {0x20AC, '?'}, {0x0100, 'A'}, {0xFF21, 'A'},
      {0xFF5E, '~'},  {0xFFFF, '?'},  {0x0080, '?'},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(DepuisUnicode(std::u16string(1, c.unite), CP_US_ASCII), std::string(1, c.octet)) << int(c.unite);
  EXPECT_EQ(DepuisUTF8("d\xC3\xA9j\xC3\xA0 l\xC3\xA0", CP_US_ASCII), "deja la");
}

TEST(ConversionAutresPages, OtherCodePagesConvertThroughTheirConverters) {
  EXPECT_EQ(VersUnicode("\xC0\xE9", 1251), u"\u0410\u0439");
  EXPECT_EQ(DepuisUnicode(u"\u0410\u00E9", 1251), "\xC0?");
  EXPECT_EQ(VersUTF8("\x82", 437), "\xC3\xA9");
  EXPECT_EQ(DepuisUTF8("\xC3\xA9", 850), "\x82");
}

TEST(ConversionAutresPages, UnknownCodePageRaisesForATextButNotForAnEmptyOne) {
  const std::string attendu = std::string("La page de code 12345 n'est pas installée"_ansi);
  for (int32_t page : {12345, -3, 1200}) {
    EXPECT_TRUE(VersUnicode("", page).empty());
    EXPECT_TRUE(DepuisUnicode(u"", page).empty());
    EXPECT_THROW(DepuisUnicode(u"x", page), EConvertError);
  }
  try {
    VersUnicode("x", 12345);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), attendu);
  }
}

TEST(TChaineUnicode, NewObjectIsEmptyInEveryCodePage) {
  TChaineUnicode c;
  EXPECT_EQ(c.Etat(), EC_DeuxValides);
  EXPECT_EQ(c.PageDeCode(), 0);
  EXPECT_EQ(c.GetChaine(1252), "");
  EXPECT_EQ(c.GetChaine(20127), "");
  EXPECT_EQ(c.GetUTF8(), "");
  EXPECT_EQ(c.ClassName(), "TChaineUnicode");
}

TEST(TChaineUnicode, ByteE9ConvertsToUtf8AndToTheBestFitAndBack) {
  TChaineUnicode c;
  c.SetChaine(1252, "\xE9");
  EXPECT_EQ(c.Etat(), EC_ChaineValide);
  EXPECT_EQ(c.GetUTF8(), "\xC3\xA9");
  EXPECT_EQ(c.Etat(), EC_DeuxValides);
  EXPECT_EQ(c.GetChaine(20127), "e");
  EXPECT_EQ(c.GetChaine(1252), "\xE9");
  EXPECT_EQ(c.GetChaine(65001), "\xC3\xA9");
}

TEST(TChaineUnicode, Utf8FormIsReturnedByteForByteAndMalformedUtf8GivesAnEmptyText) {
  TChaineUnicode c;
  c.SetUTF8("caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(c.GetChaine(65001), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(c.GetChaine(1252), "caf\xE9 \x80");
  c.SetUTF8("trunc\xC3");
  EXPECT_EQ(c.Etat(), EC_UTF8Valide);
  EXPECT_EQ(c.GetChaine(1252), "");
}

// Counts the conversions that the object asks for, through the virtual operations.
class TChaineComptee : public TChaineUnicode {
 public:
  mutable int versUTF8 = 0, depuisUTF8 = 0;
  std::string VersUTF8(std::string_view t, int32_t p) const override {
    ++versUTF8;
    return TChaineUnicode::VersUTF8(t, p);
  }
  std::string DepuisUTF8(std::string_view t, int32_t p) const override {
    ++depuisUTF8;
    return TChaineUnicode::DepuisUTF8(t, p) + "!";
  }
};

TEST(TChaineUnicode, ConversionsAreLazyAndGoThroughTheVirtualOperations) {
  TChaineComptee c;
  c.SetChaine(1252, "abc");
  c.SetPageDeCode(20127);
  c.SetPageDeCode(20127);
  EXPECT_EQ(c.versUTF8, 1);
  EXPECT_EQ(c.Etat(), EC_UTF8Valide);
  EXPECT_EQ(c.GetChaine(20127), "abc!");
  EXPECT_EQ(c.GetChaine(20127), "abc!");
  EXPECT_EQ(c.depuisUTF8, 1);
  EXPECT_EQ(c.Etat(), EC_DeuxValides);
  // Storing the same page and text again keeps both forms valid.
  c.SetChaine(20127, "abc!");
  EXPECT_EQ(c.Etat(), EC_DeuxValides);
  c.SetUTF8("abc");
  EXPECT_EQ(c.Etat(), EC_DeuxValides);
  EXPECT_EQ(c.versUTF8 + c.depuisUTF8, 2);
}

TEST(TChaineUnicode, AFailedConversionLeavesTheObjectAsTheRulesSay) {
  TChaineUnicode c;
  c.SetChaine(12345, "abc");
  EXPECT_THROW(c.SetPageDeCode(1252), EConvertError);
  EXPECT_EQ(c.PageDeCode(), 12345);
  EXPECT_EQ(c.Etat(), EC_ChaineValide);

  c.SetUTF8("xyz");
  EXPECT_THROW(c.GetChaine(12345), EConvertError);
  EXPECT_EQ(c.PageDeCode(), 12345);
  EXPECT_EQ(c.Etat(), EC_UTF8Valide);
  EXPECT_EQ(c.GetUTF8(), "xyz");
  EXPECT_EQ(c.GetChaine(1252), "xyz");
}
