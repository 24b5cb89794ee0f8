#include <gtest/gtest.h>

#include <string>

#include "core/values/Ansi1252.h"
#include "core/values/Format.h"

namespace {

struct CasMasque {
  const char* Masque;
  double Valeur;
  const char* Attendu;
};

TEST(FormatFloat, DigitPlaceholdersSeparatorsAndRounding) {
  const CasMasque cas[] = {
      {"#,##0.00", 9876.5, "9,876.50"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", 0, "0.00"},
      {"#,##0.00", -9876.5, "-9,876.50"},
      {"0", 2.5, "3"},          // halves away from zero
      {"0", -2.5, "-3"},
      {"0", 3.5, "4"},
      {"0.00", 1.005, "1.00"},  // 1.005 is 1.00499999... in binary
      {"0.00", 0.125, "0.13"},
      {"0.00", 9.999, "10.00"},
      {"0", 0.4, "0"},
      {"#", 0, ""},
      {"#.##", 0.5, ".5"},
      {"0.##", 1, "1"},
      {"0.0#", 1.25, "1.25"},
      {"0.0#", 1.2, "1.2"},
      {"000", 7, "007"},
      {"#0", 1234, "1234"},     // digits beyond the placeholders go with the first one
      {"00-00", 1234, "12-34"},
      {"00-00", 12345, "123-45"},
      {".00", 12.5, "12.50"},
      {"'Total: '0.0' kg'", 3.25, "Total: 3.3 kg"},
      {"\"n=\"0", 4, "n=4"},
      {"0 %", 15, "15 %"},
      {"#,##0", 999, "999"},
      {"#,##0", 1000, "1,000"},
      {"#,##0", 100000000, "100,000,000"},
      {"0.00", 1e20, "100000000000000000000.00"},
      {"0.000", 1e-7, "0.000"},
      {"0.0000000000", 1e-10, "0.0000000001"},
  };
  for (const CasMasque& c : cas) EXPECT_EQ(FormatFloat(c.Masque, c.Valeur), c.Attendu) << c.Masque << " " << c.Valeur;
}

TEST(FormatFloat, SectionsForPositiveNegativeAndZero) {
  const CasMasque cas[] = {
      {"0.00;(0.00)", -1.5, "(1.50)"},
      {"0.00;(0.00)", 1.5, "1.50"},
      {"0;-0;'zero'", 0, "zero"},
      {"0;-0;'zero'", 0.2, "zero"},  // zero once rounded by the first section
      {"0;-0;'zero'", -0.2, "zero"},
      {"0;-0;'zero'", -3, "-3"},
      {"0;;'zero'", -3, "-3"},        // an empty negative section falls back to the first
      {"0.0;(0.0);", 0, "0.0"},        // and an empty zero section too
      {"0;(0.00)", -1.5, "(1.50)"},   // the chosen section rounds the value itself
      {"0.00;'a;b'", -1, "a;b"},       // a ";" inside quotes splits nothing
      {"0;1;2;3", 0, "2"},             // a fourth section is ignored
      {"0.00", -0.001, "0.00"},        // no minus sign on a value that rounds to zero
  };
  for (const CasMasque& c : cas) EXPECT_EQ(FormatFloat(c.Masque, c.Valeur), c.Attendu) << c.Masque << " " << c.Valeur;
}

TEST(FormatFloat, ScientificForms) {
  const CasMasque cas[] = {
      {"0.0E+00", 1500, "1.5E+03"},
      {"0.0E+00", 0.00015, "1.5E-04"},
      {"0.0E-00", 1500, "1.5E03"},
      {"0.0e-0", 0.00015, "1.5e-4"},
      {"0.00E+00", 1500, "1.50E+03"},
      {"0.0E+00", 0, "0.0E+00"},
      {"00.0E+0", 1500, "15.0E+2"},
      {"0.0E+00", 9.96, "1.0E+01"},
      {"0.0##E+00", 12345, "1.235E+04"},
      {"0E+0' u'", 3, "3E+0 u"},
  };
  for (const CasMasque& c : cas) EXPECT_EQ(FormatFloat(c.Masque, c.Valeur), c.Attendu) << c.Masque << " " << c.Valeur;
}

TEST(FormatFloat, AnEmptyMaskOrFirstSectionGivesTheGeneralText) {
  EXPECT_EQ(FormatFloat("", 3.5), "3.5");
  EXPECT_EQ(FormatFloat("", 1.0 / 3), FloatToStrGeneral(1.0 / 3, 15));
  EXPECT_EQ(FormatFloat(";(0)", -2), "-2");
  EXPECT_EQ(FormatFloat("0.00", 1.0 / 0.0), "INF");
}

TEST(FormatCurrencyTemplate, OnlyTheCurrencyDirectiveAndThePercentSignAreDirectives) {
  const std::string euro(" €"_ansi);
  EXPECT_EQ(FormatCurrencyTemplate("Total %m %d", 2), "Total 2.00" + euro + " %d");
  EXPECT_EQ(FormatCurrencyTemplate("%m", 1234.5), "1,234.50" + euro);
  EXPECT_EQ(FormatCurrencyTemplate("%m", -1234.5), "-1,234.50" + euro);
  EXPECT_EQ(FormatCurrencyTemplate("%.0m|%.3m", 2.5), "3" + euro + "|2.500" + euro);
  EXPECT_EQ(FormatCurrencyTemplate("[%10m]", 2), "[    2.00" + euro + "]");
  EXPECT_EQ(FormatCurrencyTemplate("[%-10m]", 2), "[2.00" + euro + "    ]");
  EXPECT_EQ(FormatCurrencyTemplate("100%% %s %", 1), "100% %s %");
}

}  // namespace
