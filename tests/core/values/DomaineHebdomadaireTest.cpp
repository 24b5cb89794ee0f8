// Week sets: first and last weeks, order, runs, widening, weeks of dates, texts; week numbers.
#include <gtest/gtest.h>

#include <climits>
#include <bit>
#include <cmath>
#include <string>
#include <vector>
#include <initializer_list>
#include <random>

#include "core/values/Calendrier.h"
#include "core/values/DomaineHebdomadaire.h"

namespace {

TypeDomaineHebdomadaire S(std::initializer_list<int> semaines) {
  TypeDomaineHebdomadaire d;
  for (int s : semaines) d.Inclure(s);
  return d;
}

TypeDomaineHebdomadaire Plage(int a, int b) {
  TypeDomaineHebdomadaire d;
  for (int s = a; s <= b; ++s) d.Inclure(s);
  return d;
}

TypeDomaineHebdomadaire Union(TypeDomaineHebdomadaire a, const TypeDomaineHebdomadaire& b) {
  for (int i = 0; i < 7; ++i) a.Octets[i] |= b.Octets[i];
  return a;
}

std::string Texte(const TypeDomaineHebdomadaire& d, int32_t max = 52) {
  std::string t;
  TMethodesDomaine::VersTexte(d, max, t);
  return t;
}

const TDateTime kDebut = DateTime::EncodeDate(2023, 9, 4);

}  // namespace

TEST(TypeDomaineHebdomadaire, WeekNIsBitNOfTheLittleEndianField) {
  const TypeDomaineHebdomadaire d = S({1, 8, 52});
  const std::array<uint8_t, 7> attendu = {0x02, 0x01, 0, 0, 0, 0, 0x10};
  EXPECT_EQ(d.Octets, attendu);
  EXPECT_TRUE(d.Contient(52));
  EXPECT_FALSE(d.Contient(56));
}

TEST(TMethodesDomaine, FirstLastAndNumberOfWeeksSeeOnlyWeeks1To52) {
  struct Cas { TypeDomaineHebdomadaire d; int32_t premiere, derniere, nombre; };
  const Cas cas[] = {
      {S({}), 0, 0, 0},
      {S({52}), 52, 52, 1},
      {S({3, 17, 40}), 3, 40, 3},
      {S({0, 53, 55}), 0, 0, 0},
      {Plage(1, 52), 1, 52, 52},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(TMethodesDomaine::PremiereSemaine(c.d), c.premiere) << Texte(c.d);
    EXPECT_EQ(TMethodesDomaine::DerniereSemaine(c.d), c.derniere) << Texte(c.d);
    EXPECT_EQ(TMethodesDomaine::NombreDeSemaines(c.d), c.nombre) << Texte(c.d);
  }
}

TEST(TMethodesDomaine, ComparerPutsTheSetWithTheLatestDifferingWeekFirst) {
  struct Cas { TypeDomaineHebdomadaire a, b; int32_t attendu; };
  const Cas cas[] = {
      {S({3}), S({4}), 1},
      {S({4}), S({3}), -1},
      {S({1, 52}), S({52}), -1},
      {S({2, 9}), S({2, 9}), 0},
      {S({0}), S({}), -1},  // weeks agree: bit 0 decides
      {S({}), S({0}), 1},
      {S({52, 0}), S({1}), -1},
      {S({7, 53}), S({7}), 0},
  };
  for (const Cas& c : cas) EXPECT_EQ(TMethodesDomaine::Comparer(c.a, c.b), c.attendu) << Texte(c.a) << Texte(c.b);
}

TEST(TMethodesDomaine, PremieresSemainesKeepsTheFirstWeeksInOrder) {
  TypeDomaineHebdomadaire r = S({40});
  TMethodesDomaine::PremieresSemaines(S({2, 5, 9}), 2, r);
  EXPECT_EQ(r, S({2, 5}));
  TMethodesDomaine::PremieresSemaines(S({2, 5, 9}), 0, r);
  EXPECT_EQ(r, S({}));
  TMethodesDomaine::PremieresSemaines(S({2, 5, 9}), UINT32_MAX, r);
  EXPECT_EQ(r, S({2, 5, 9}));
  r = S({2, 5, 9});
  TMethodesDomaine::PremieresSemaines(r, 1, r);  // the result may be the set itself
  EXPECT_EQ(r, S({2}));
}

TEST(TMethodesDomaine, PremiereSuiteFindsTheFirstRun) {
  struct Cas { TypeDomaineHebdomadaire d; int32_t premiere, derniere; bool seule; };
  const Cas cas[] = {
      {S({4, 5, 6}), 4, 6, true},
      {S({4, 5, 9}), 4, 5, false},
      {S({52}), 52, 52, true},
      {S({}), 0, 0, false},
      {S({0, 4, 5}), 4, 5, false},  // all seven bytes are compared
      {Plage(1, 52), 1, 52, true},
      {S({51, 52, 53}), 51, 52, false},  // the run stops at week 52
  };
  for (const Cas& c : cas) {
    int32_t p = -1, d = -1;
    bool seule = !c.seule;
    TMethodesDomaine::PremiereSuite(c.d, p, d, seule);
    EXPECT_EQ(p, c.premiere) << Texte(c.d);
    EXPECT_EQ(d, c.derniere) << Texte(c.d);
    EXPECT_EQ(seule, c.seule) << Texte(c.d);
  }
}

TEST(TMethodesDomaine, ElargirWidensEveryRunOnce) {
  struct Cas { uint32_t avant, apres; TypeDomaineHebdomadaire d, attendu; bool inchange; };
  const Cas cas[] = {
      {2, 1, S({5, 6, 20}), Union(Plage(3, 7), Plage(18, 21)), false},
      {1, 1, S({1, 52}), S({1, 2, 51, 52}), false},
      {0, 0, S({3, 4, 30}), S({3, 4, 30}), true},
      {3, 3, S({10, 16}), Plage(7, 19), false},
      {0, 5, S({10, 12}), Plage(10, 15), false},  // week 12 is swallowed, not widened again
      {UINT32_MAX, UINT32_MAX, S({20}), Plage(1, 52), false},
      {1, 1, S({}), S({}), true},
      {1, 1, S({0, 53, 55}), S({}), true},  // no week in 1..52: nothing to widen, and it ends
      {1, 0, S({0, 5}), S({4, 5}), false},
  };
  for (const Cas& c : cas) {
    TypeDomaineHebdomadaire r = S({33});
    EXPECT_EQ(TMethodesDomaine::Elargir(c.avant, c.apres, c.d, r), c.inchange) << Texte(c.d);
    EXPECT_EQ(r, c.attendu) << Texte(c.d) << " gave " << Texte(r);
  }
}

TEST(TMethodesDomaine, TextFormsOfASet) {
  EXPECT_EQ(Texte(S({1, 2, 3, 5, 7, 8})), "[1..3,5,7..8]");
  EXPECT_EQ(Texte(S({52})), "[52]");
  EXPECT_EQ(Texte(S({})), "[]");
  EXPECT_EQ(Texte(Plage(1, 52)), "[1..52]");
  EXPECT_EQ(Texte(S({1, 3}), 5), "[1,3]");
  EXPECT_EQ(Texte(S({1, 3}), -4), "[]");
  // Asking for more weeks than exist reads nothing past week 52.
  EXPECT_EQ(Texte(S({51, 52, 53, 55}), 1000), "[51..52]");

  std::string binaire;
  TMethodesDomaine::VersTexteBinaire(S({1, 52, 53}), binaire);
  EXPECT_EQ(binaire, "1" + std::string(50, '0') + "1");
}

TEST(TMethodesCalendrier, WeekCountedFromTheFirstDate) {
  struct Cas { double decalage; int32_t attendu; };
  const Cas cas[] = {{0, 1}, {6, 1}, {6.99, 1}, {7, 2}, {-1, 0}, {-7, 0}, {-8, -1}, {363, 52}, {364, 53}};
  for (const Cas& c : cas)
    EXPECT_EQ(TMethodesCalendrier::NumeroDeSemaine(false, kDebut + c.decalage, kDebut), c.attendu) << c.decalage;
  // Times of day are cut off both dates.
  EXPECT_EQ(TMethodesCalendrier::NumeroDeSemaine(false, kDebut + 7.1, kDebut + 0.9), 2);
  EXPECT_EQ(TMethodesCalendrier::NumeroDeSemaine(false, std::nan(""), kDebut), 0);
}

TEST(TMethodesCalendrier, IsoWeekOfTheYear) {
  struct Cas { int annee; unsigned mois, jour; int32_t attendu; };
  const Cas cas[] = {
      {2021, 1, 3, 53}, {2021, 1, 4, 1}, {2024, 12, 30, 1}, {2008, 12, 29, 1},
      {2010, 1, 3, 53}, {2023, 6, 15, 24}, {2026, 1, 1, 1}, {1899, 12, 30, 52},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(TMethodesCalendrier::NumeroDeSemaine(true, DateTime::EncodeDate(c.annee, c.mois, c.jour) + 0.75, 0), c.attendu)
        << c.annee << "-" << c.mois << "-" << c.jour;
}

TEST(TMethodesDomaine, WeeksOfADateAndBetweenTwoDates) {
  struct Cas { bool cumul, inclus; double decalage; TypeDomaineHebdomadaire attendu; };
  const Cas cas[] = {
      {true, true, 15, S({1, 2, 3})},
      {true, false, 15, S({1, 2})},
      {false, true, 15, S({3})},
      {true, false, 3, S({})},
      {true, true, -1, S({})},
      {true, false, 7 * 59, Plage(1, 52)},  // week 60
      {false, true, 7 * 59, S({})},
      {false, true, 7 * 51 + 6, S({52})},  // week 52, its last day
      {true, true, 7 * 51, Plage(1, 52)},
      {true, false, 7 * 51, Plage(1, 51)},
      {false, true, 7 * 52, S({})},  // week 53
  };
  for (const Cas& c : cas) {
    TypeDomaineHebdomadaire r = S({44});
    TMethodesDomaine::DomaineDeDate(c.cumul, c.inclus, kDebut + c.decalage, kDebut, r);
    EXPECT_EQ(r, c.attendu) << c.decalage << " " << c.cumul << c.inclus;
  }

  TypeDomaineHebdomadaire r1, r2;
  TMethodesDomaine::DomaineEntreDates(r1, kDebut + 15, kDebut + 40, kDebut);
  TMethodesDomaine::DomaineEntreDates(r2, kDebut + 40, kDebut + 15, kDebut);
  EXPECT_EQ(r1, Plage(3, 6));
  EXPECT_EQ(r2, r1);
  TMethodesDomaine::DomaineEntreDates(r1, kDebut + 15, kDebut + 7 * 52, kDebut);
  EXPECT_EQ(r1, S({}));
  TMethodesDomaine::DomaineEntreDates(r1, kDebut - 1, kDebut + 15, kDebut);
  EXPECT_EQ(r1, S({}));
}

TEST(TMethodesDomaine, MonthsTouchedCountFromTheFirstDatesMonth) {
  const TDateTime septembre = DateTime::EncodeDate(2023, 9, 1);
  // Week 1 is 1 September, week 18 29 December, week 19 5 January, week 52 23 August.
  EXPECT_EQ(TMethodesDomaine::MoisConcernes(S({1, 18, 19, 52}), septembre), 0x1032);
  EXPECT_EQ(TMethodesDomaine::MoisConcernes(Plage(1, 52), septembre), 0x1FFE);
  EXPECT_EQ(TMethodesDomaine::MoisConcernes(S({}), septembre), 0);
}

// The set arithmetic against a plain 64-bit mask: random sets with every bit of the seven bytes
// (the bits of no week included), the empty set and the whole year.
TEST(TMethodesDomaine, SetArithmeticAgreesWithAMaskOfWeeks1To52) {
  constexpr uint64_t kAnnee = ((uint64_t{1} << 53) - 1) & ~uint64_t{1};
  const auto masque = [](const TypeDomaineHebdomadaire& d) {
    uint64_t v = 0;
    for (int s = 0; s < 56; ++s)
      if (d.Contient(s)) v |= uint64_t{1} << s;
    return v;
  };
  const auto domaine = [](uint64_t v) {
    TypeDomaineHebdomadaire d;
    for (int s = 0; s < 56; ++s)
      if ((v >> s) & 1) d.Inclure(s);
    return d;
  };
  EXPECT_EQ(masque(TMethodesDomaine::Annee()), kAnnee);
  std::mt19937_64 alea(37);
  std::vector<uint64_t> valeurs = {0, kAnnee, ~uint64_t{0} >> 8, 1, uint64_t{1} << 53, uint64_t{1} << 52};
  for (int i = 0; i < 400; ++i) valeurs.push_back(alea() >> 8 & (i % 3 == 0 ? alea() : ~uint64_t{0}));
  for (uint64_t a : valeurs)
    for (uint64_t b : {valeurs[static_cast<std::size_t>(a % valeurs.size())], a, uint64_t{0}, kAnnee, alea() >> 8}) {
      const TypeDomaineHebdomadaire A = domaine(a), B = domaine(b);
      SCOPED_TRACE(std::to_string(a) + " " + std::to_string(b));
      EXPECT_EQ(masque(TMethodesDomaine::Union(A, B)), (a | b) & kAnnee);
      EXPECT_EQ(masque(TMethodesDomaine::Intersection(A, B)), a & b & kAnnee);
      EXPECT_EQ(masque(TMethodesDomaine::Difference(A, B)), a & ~b & kAnnee);
      EXPECT_EQ(TMethodesDomaine::SeRencontrent(A, B), (a & b & kAnnee) != 0);
      EXPECT_EQ(TMethodesDomaine::EstInclus(A, B), (a & ~b & kAnnee) == 0);
      EXPECT_EQ(TMethodesDomaine::EstVide(A), (a & kAnnee) == 0);
      EXPECT_EQ(TMethodesDomaine::NombreDeSemaines(A), std::popcount(a & kAnnee));
    }
}
