// Coded texts: codes that change with the moment but decode to the same text, the cut to the code
// length, comparison of clear texts, the streamed form and its bounds.
#include <gtest/gtest.h>

#include "core/values/Codage.h"
#include "core/values/DateTime.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

namespace {
// Moments whose low-order bytes differ, as real clock readings do.
struct Horloge {
  explicit Horloge(double t) { DateTime::SetClock([t] { return t; }); }
  ~Horloge() { DateTime::SetClock(nullptr); }
};
constexpr double kMoment1 = 46000.123456789;
constexpr double kMoment2 = 46000.987654321;
}  // namespace

TEST(Codage, CodesChangeWithTheMomentAndDecodeToTheSameText) {
  std::string code1, code2;
  {
    Horloge h(kMoment1);
    TCustomCodage c("secret");
    code1 = c.GetCode();
    EXPECT_EQ(c.GetTexte(), "secret");
  }
  {
    Horloge h(kMoment2);
    TCustomCodage c("secret");
    code2 = c.GetCode();
    EXPECT_EQ(c.GetTexte(), "secret");
  }
  EXPECT_EQ(code1.size(), 16u);
  EXPECT_NE(code1, code2);
  EXPECT_EQ(code1.find("secret"), std::string::npos);  // never held in clear
}

TEST(Codage, EmptyTextLongTextAndEmptyCode) {
  Horloge h(kMoment1);
  TCustomCodage vide("");
  EXPECT_EQ(vide.GetCode().size(), 16u);
  EXPECT_EQ(vide.GetTexte(), "");
  TCustomCodage long20("ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(long20.GetTexte(), "ABCDEFGHIJKL");
  std::string clair = "x";
  TCustomCodage::StaticClass()->Decoder("", clair);
  EXPECT_EQ(clair, "");
}

TEST(Codage, ShortKeyIsRefusedAndAGivenKeyIsUsed) {
  Horloge h(kMoment1);
  std::string code;
  EXPECT_THROW(TCustomCodage::StaticClass()->Coder("abc", "12", code), EConvertError);
  EXPECT_THROW(TCustomCodage::StaticClass()->Coder("abc", "123", code), EConvertError);
  TCustomCodage::StaticClass()->Coder("abc", "98765", code);
  std::string clair;
  TCustomCodage::StaticClass()->Decoder(code, clair);
  EXPECT_EQ(clair, "abc");
}

// The exact bytes of a code, worked out by hand from the coding rules (generator, scrambling, the
// moment's low-order bytes as key, the day number as filler), apart from this code.
TEST(Codage, KnownCodeOfAShortTextWithTheDefaultKey) {
  Horloge h(kMoment1);
  TCustomCodage c("abc");
  const unsigned char attendu[] = {0xbd, 0x49, 0xfc, 0x9f, 0x91, 0x81, 0xc6, 0x5c,
                                   0xd2, 0xa6, 0x84, 0xf9, 0x26, 0xe3, 0x9b, 0x76};
  EXPECT_EQ(c.GetCode(), std::string(reinterpret_cast<const char*>(attendu), sizeof attendu));
}

TEST(Codage, ComparesClearTextsCaseSensitivelyInTheWordSort) {
  Horloge h(kMoment1);
  TCustomCodage a("abc"), b("ABC"), c("abc");
  EXPECT_EQ(a.Comparer(&b, 0), -1);
  EXPECT_EQ(b.Comparer(&a, 0), 1);
  EXPECT_EQ(a.Comparer(&c, 0), 0);
  TCustomCodage trait("co-op"), sans("cooa");
  EXPECT_EQ(trait.Comparer(&sans, 0), 1);
}

TEST(Codage, CodesFromBuffers) {
  Horloge h(kMoment1);
  TCustomCodage source("pwd");
  TCustomCodage copie("");
  copie.SetCodeBrut(source.GetCode().data(), 15);
  EXPECT_EQ(copie.GetCode(), source.GetCode());
  EXPECT_EQ(copie.GetTexte(), "pwd");
  std::string code;
  TCustomCodage::CodeDepuisTampon("abc", 2, code);
  EXPECT_EQ(code, std::string("abc\0", 4));  // the extra character is defined: 0
}

TEST(Codage, StreamedFormRoundTripsAndCorruptLengthsRaise) {
  Horloge h(kMoment1);
  TCustomCodage c("moi");
  TBinaryFormatter f;
  f.EcrireObjet(&c, nullptr);
  f.SetPosition(0);
  TObject* lu = f.LireObjet(nullptr);
  auto* codage = ObjectAs<TCustomCodage>(lu);
  ASSERT_NE(codage, nullptr);
  EXPECT_EQ(codage->GetCode(), c.GetCode());
  EXPECT_EQ(codage->GetTexte(), "moi");
  delete lu;

  // The length field says more than the stream holds.
  TBinaryFormatter g;
  g.EcrireCardinal(0x7FFFFFF0u);
  g.EcrireTampon("ab", 2);
  g.SetPosition(0);
  TCustomCodage blank{TBlank{}};
  EXPECT_THROW(blank.Lire(&g, nullptr), EReadError);
  // A length field cut short.
  TBinaryFormatter court;
  court.EcrireTampon("\x05\x00", 2);
  court.SetPosition(0);
  EXPECT_THROW(blank.Lire(&court, nullptr), EReadError);
}

TEST(Codage, RegisteredByNameAtStartUp) {
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TCustomCodage"), TCustomCodage::StaticClass());
}
