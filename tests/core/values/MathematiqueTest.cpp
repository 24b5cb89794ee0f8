// Saturating additions and products at their sentinels, and bit counting.
#include <gtest/gtest.h>

#include <climits>

#include "core/values/Mathematique.h"

TEST(AjouterSature, SentinelsAbsorbAndOverflowsSaturate) {
  struct Cas { int32_t valeur, ajout, attendu; bool retour; };
  const Cas cas[] = {
      {EntierInfini, 5, EntierInfini, false},
      {EntierInfini, EntierIndefini, EntierInfini, false},
      {EntierIndefini, EntierInfini, EntierIndefini, true},
      {EntierIndefini, -3, EntierIndefini, true},
      {7, EntierIndefini, EntierIndefini, true},
      {7, EntierInfini, EntierInfini, false},
      {2147483646, 1, EntierInfini, false},
      {2147483000, 2000, EntierInfini, false},
      {-2147483646, -1, -2147483646, true},  // 0x80000002, not a sentinel
      {-2147483645, -1, -2147483646, false},
      {-2000000000, -2000000000, -2147483646, true},
      {-5, 3, -2, false},
      {5, -7, -2, false},
      {0, INT32_MIN, INT32_MIN, false},
  };
  for (const Cas& c : cas) {
    int32_t v = c.valeur;
    EXPECT_EQ(TMethodesMathematique::AjouterSature(v, c.ajout), c.retour) << c.valeur << " + " << c.ajout;
    EXPECT_EQ(v, c.attendu) << c.valeur << " + " << c.ajout;
  }
}

TEST(AjouterSature16, SentinelAddendReplacesAnyValue) {
  struct Cas { int16_t valeur, ajout, attendu; bool retour; };
  const Cas cas[] = {
      {PetitEntierInfini, PetitEntierIndefini, PetitEntierIndefini, true},
      {PetitEntierIndefini, PetitEntierInfini, PetitEntierInfini, false},
      {PetitEntierIndefini, 3, PetitEntierIndefini, true},
      {PetitEntierInfini, -3, PetitEntierInfini, false},
      {32766, 1, PetitEntierInfini, false},
      {30000, 5000, PetitEntierInfini, false},
      {-32766, -1, -32766, true},
      {-32765, -1, -32766, false},
      {-20000, -20000, -32766, true},
      {10, -20, -10, false},
  };
  for (const Cas& c : cas) {
    int16_t v = c.valeur;
    EXPECT_EQ(TMethodesMathematique::AjouterSature16(v, c.ajout), c.retour) << c.valeur << " + " << c.ajout;
    EXPECT_EQ(v, c.attendu) << c.valeur << " + " << c.ajout;
  }
}

TEST(MultiplierSature, ExactProductOrTheSentinelOfTheSigns) {
  struct Cas { int32_t a, b, attendu; };
  const Cas cas[] = {
      {0, EntierInfini, 0},
      {-1, 5, -5},
      {-3, -4, 12},
      {5, 0, 0},
      {65536, 65536, EntierInfini},
      {-65536, 65536, EntierIndefini},
      {2, 1073741823, EntierInfini},  // fits, but the test is strict
      {2, 1073741822, 2147483644},
      {46340, 46340, 2147395600},
      {1, EntierIndefini, EntierIndefini},
      {-1, EntierInfini, EntierIndefini},
      {INT32_MIN, 1, EntierIndefini},
      {INT32_MIN, -1, EntierInfini},
  };
  for (const Cas& c : cas) EXPECT_EQ(TMethodesMathematique::MultiplierSature(c.a, c.b), c.attendu) << c.a << " x " << c.b;
}

TEST(CompterBits, CountsTheBitsOfAZone) {
  EXPECT_EQ(TMethodesMathematique::CompterBitsOctet(0x00), 0);
  EXPECT_EQ(TMethodesMathematique::CompterBitsOctet(0xA5), 4);
  EXPECT_EQ(TMethodesMathematique::CompterBitsOctet(0xFF), 8);
  // Weeks 1 to 52 of a week set: bits 1..52 of seven bytes.
  const uint8_t annee[7] = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x1F};
  EXPECT_EQ(TMethodesMathematique::CompterBits(annee, 7), 52);
  EXPECT_EQ(TMethodesMathematique::CompterBits(annee, 1), 7);
  EXPECT_EQ(TMethodesMathematique::CompterBits(annee, 0), 0);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndAnswersMinusOneForZeroOrOverflow) {
  const struct {
    int32_t a, b, c, attendu;
  } cas[] = {{600, 110, 96, 688},     {4800, 100, 688, 698},    {5, 1, 2, 3},       {-5, 1, 2, -3},
             {12, 1, 5, 2},           {-12, 1, 5, -2},          {13, 1, -5, -3},    {7, 0, 3, 0},
             {1, 1, 0, -1},           {INT32_MAX, 2, 1, -1},    {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
             {INT32_MIN, -1, 1, -1},  {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}};
  for (const auto& c : cas) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.attendu) << c.a << " " << c.b << " " << c.c;
}
