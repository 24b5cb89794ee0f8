// Duration texts: the exact value and its breakdown in French words, the special values, and the
// reading back of the leading number.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/values/Ansi1252.h"
#include "core/objects/RamasseMiettes.h"
#include "objectdb/durations/FormateurDuree.h"

namespace {
std::string Texte(double d) {
  std::string t;
  TFormateurDureePourDebogage().DureeEnTexte(d, t);
  return t;
}
}  // namespace

TEST(FormateurDuree, WritesTheValueThenItsBreakdown) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case { double duree; std::string texte; };
  const Case cases[] = {
      {1.5, "1.5 soit 1 jour 12 heures"},
      {-0.25, "-0.25 soit-  6 heures"},
      {1, "1 soit 1 jour"},
      {2, "2 soit 2 jours"},
      {2.7578125, "2.7578125 soit 2 jours 18 heures 11 minutes 15 secondes"},
      {0.0009765625, "0.0009765625 soit 1 minute 24 secondes 375 milli-secondes"},
      {0, "0"},
      {5e-13, "0"},
      {-1e-12, "0"},
      {std::nan(""), "NAN"},
      {inf, "+ infini"},
      {-inf, "- infini"},
  };
  for (const Case& c : cases) EXPECT_EQ(Texte(c.duree), c.texte) << c.duree;
}

TEST(FormateurDuree, EveryWrittenTextReadsBack) {
  TFormateurDureePourDebogage f;
  const double max = std::numeric_limits<double>::max();
  for (double d : {1.5, -0.25, 2.0, 0.0, 1e-7, 12345.678901234, max, -max, 1.79769313486231e308}) {
    double lu = -99;
    EXPECT_EQ(f.TexteEnDuree(Texte(d), lu), nullptr) << d;
    EXPECT_EQ(lu, std::stod(FormateurDuree::NombreEnTexte(d))) << d;
  }
  // The largest durations come back exactly, not as the nearest 15-digit text.
  double lu = 0;
  EXPECT_EQ(f.TexteEnDuree(Texte(max), lu), nullptr);
  EXPECT_EQ(lu, max);
  EXPECT_EQ(FormateurDuree::NombreEnTexte(1e308), "1E308");
  EXPECT_EQ(f.TexteEnDuree("NAN", lu), nullptr);
  EXPECT_TRUE(std::isnan(lu));
  EXPECT_EQ(f.TexteEnDuree("+ infini", lu), nullptr);
  EXPECT_EQ(lu, std::numeric_limits<double>::infinity());
  EXPECT_EQ(f.TexteEnDuree("- infini", lu), nullptr);
  EXPECT_EQ(lu, -std::numeric_limits<double>::infinity());
  EXPECT_EQ(f.TexteEnDuree("2.5 that is 2 days 12 hours", lu), nullptr);  // only the leading number counts
  EXPECT_EQ(lu, 2.5);
}

TEST(FormateurDuree, TextThatIsNotADurationGivesNanAndAnErrorQuotingIt) {
  TFormateurDureePourDebogage f;
  for (const std::string texte : {"", "abc", "1,5", "nan", "1.5.2", "--1", "1e", "1e999"}) {
    double lu = 0;
    TErreur* e = f.TexteEnDuree(texte, lu);
    ASSERT_NE(e, nullptr) << texte;
    EXPECT_TRUE(std::isnan(lu));
    EXPECT_EQ(e->ClassName(), "TErreurChaineEnDuree");
    EXPECT_EQ(e->Message, std::string("Impossible de convertir en durée la chaîne \""_ansi) + texte + "\".");
  }
  TErreurChaineEnDuree avecComplement("x", "(colonne 3)");
  EXPECT_EQ(avecComplement.Message.substr(avecComplement.Message.size() - 16), "\"x\". (colonne 3)");
}
