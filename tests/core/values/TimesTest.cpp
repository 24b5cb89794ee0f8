// Hour texts, the picture formatter and the minute / hundredth conversions.
#include <gtest/gtest.h>

#include <climits>

#include "core/objects/Exceptions.h"
#include "core/values/Times.h"

TEST(Times, StartUpSetsTheSeparators) {
  EXPECT_EQ(Times::SeparateurHeures, ".");
  EXPECT_EQ(Times::SeparateurDecimal, ".");
}

TEST(FormaterNombre, PictureCharactersFromTheRight) {
  struct Cas { const char* image; uint64_t n; const char* attendu; };
  const Cas cas[] = {
      {"00", 5, "05"},
      {"#0", 5, " 5"},
      {"#0", 123, "123"},
      {"0", 0, "0"},
      {"", 42, "42"},
      {"", 0, ""},
      {"*", 0, ""},
      {"***0", 5, "5"},
      {"0:00", 130, "1:30"},
      {"*,***", 1234567, "1234,567"},
      {"*,***", 12, "12"},          // stars past the used-up number write nothing, nor the comma
      {"h#0", 7, "h 7"},
      {"[-]0", 5, "5"},             // a bracketed section is dropped once the number is used up
      {"[-]0", 15, "1-5"},
      {"0", 18446744073709551615u, "18446744073709551615"},
  };
  for (const Cas& c : cas) EXPECT_EQ(Times::FormaterNombre(c.image, c.n), c.attendu) << c.image << " " << c.n;
}

TEST(FormaterDuree, ModesPicturesAndSign) {
  struct Cas { int32_t mode; const char* sep; int64_t secondes; const char* fh; const char* fm; const char* attendu; };
  const Cas cas[] = {
      {1, "h", 5400, "0", "00", "1h30"},
      {1, "h", 5400, "#0", "00", " 1h30"},
      {1, "", 5400, "0", "00", "130"},
      {1, ":", -5400, "", "", "-1:30"},
      {1, ":", 360000, "", "", "100:00"},
      {2, ",", 5400, "", "", "1,50"},
      {2, "", 5400, "", "", "1,50"},
      {2, ",", 4800, "", "", "1,33"},
      {2, ".", 3599, "0", "00", "0.99"},
      {0, ":", 3723, "", "", "1:02:03"},
      {0, ":", INT64_MIN, "", "", "-2562047788015215:30:08"},
  };
  for (const Cas& c : cas) {
    std::string texte;
    TCustomTime::FormaterDuree(c.mode, c.sep, c.secondes, c.fh, c.fm, "", texte);
    EXPECT_EQ(texte, c.attendu) << c.mode << " " << c.secondes;
  }
  std::string inchange = "x";
  TCustomTime::FormaterDuree(7, ":", 60, "", "", "", inchange);
  EXPECT_EQ(inchange, "x");
  TCustomTime::FormaterDuree(7, ":", -60, "", "", "", inchange);
  EXPECT_EQ(inchange, "-x");
}

TEST(FormaterDureeEnMinutes, RoundingPrefixSignHundredthsAndGrouping) {
  struct Cas { bool centiemes; int64_t secondes; bool unite; const char* sep; bool grouper; const char* attendu; };
  const Cas cas[] = {
      {false, 5430, false, "", false, " 1.30"},  // exactly 30 seconds are dropped
      {false, 5431, false, "", false, " 1.31"},
      {false, 5429, false, "", false, " 1.30"},
      {false, -5400, false, "", false, "- 1.30"},
      {false, 59, false, "", false, " 0.01"},
      {false, 36000, false, "", false, "10.00"},
      {false, 5400, false, "h", false, " 1h30"},
      {true, 5400, false, "", false, " 1.50"},
      {true, 4800, false, "", false, " 1.33"},
      {false, 5400, true, "", false, " 1.30mn00s"},
      {true, 5400, true, "", false, " 1.50"},
      {false, int64_t{7654321} * 3600 + 300, false, "", true, "7 654 321.05"},
      {false, int64_t{654321} * 3600, false, "", true, "654 321.00"},
  };
  for (const Cas& c : cas) {
    std::string texte;
    TCustomTime::FormaterDureeEnMinutes(" ", c.centiemes, c.secondes, c.unite, texte, c.sep, c.grouper);
    EXPECT_EQ(texte, c.attendu) << c.secondes;
  }
}

TEST(TCustomTime, MinutesAsTextAndHundredthsKeepTheSign) {
  struct Texte { int32_t minutes; const char* attendu; };
  const Texte textes[] = {{90, "1.30"}, {5, "0.05"}, {-75, "-1.15"}, {0, "0.00"}, {INT32_MIN, "-35791394.08"}};
  for (const Texte& t : textes) {
    std::string texte;
    TCustomTime::MinutesEnTexte(t.minutes, texte);
    EXPECT_EQ(texte, t.attendu);
  }
  struct Conversion { int32_t centiemes, minutes; };
  const Conversion allerRetour[] = {{150, 90}, {-150, -90}, {0, 0}, {3500, 2100}, {50, 30}};
  for (const Conversion& c : allerRetour) {
    EXPECT_EQ(TCustomTime::CentiemesEnMinutes(c.centiemes), c.minutes);
    EXPECT_EQ(TCustomTime::MinutesEnCentiemes(c.minutes), c.centiemes);
  }
  EXPECT_EQ(TCustomTime::CentiemesEnMinutes(133), 80);
  EXPECT_EQ(TCustomTime::MinutesEnCentiemes(20), 33);
  EXPECT_EQ(TCustomTime::MinutesEnCentiemes(40), 67);
  EXPECT_EQ(TCustomTime::MinutesEnCentiemes(1), 2);
  EXPECT_EQ(TCustomTime::MinutesEnCentiemes(-20), -33);
}

TEST(TCustomTime, HourAndMinuteAsAFractionOfADay) {
  EXPECT_EQ(TCustomTime::HeureEnTDateTime(24, 0), 1.0);
  EXPECT_EQ(TCustomTime::HeureEnTDateTime(-1, 0), 1.0);  // 65535 as an unsigned 16-bit hour
  EXPECT_EQ(TCustomTime::HeureEnTDateTime(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(TCustomTime::HeureEnTDateTime(12, 30), 12.5 / 24);
  EXPECT_THROW(TCustomTime::HeureEnTDateTime(10, 60), EConvertError);
}
