// Weekly and monthly values, weekday arithmetic and the working days: the month split of a year, the
// bounds of weeks and months, saturated sums, dates that are no dates, and the working-day ranks,
// places and ranges, with the set changed through the server.
#include <cmath>
#include <limits>

#include "BaseEssai.h"
#include "base/JoursOuvres.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/SupValeurHebdomadaire.h"
#include "core/objects/Exceptions.h"

namespace {

TypeDomaineHebdomadaire Semaines(int premiere, int derniere) {
  TypeDomaineHebdomadaire d;
  for (int w = premiere; w <= derniere; ++w) d.Inclure(w);
  return d;
}

uint8_t Jours(std::initializer_list<int> jours) {
  uint8_t v = 0;
  for (int j : jours) v = static_cast<uint8_t>(v | (1 << j));
  return v;
}

TEST(ValeursHebdomadaires, WeeksAreReadModulo128AndWrittenOnlyInsideTheYear) {
  TFixedArrayOfValeurHebdomadaire v;
  EXPECT_EQ(v.GetNombreElements(), 52);
  v.SetValeurSemaine(1, 7);
  v.SetValeurSemaine(52, 9);
  EXPECT_EQ(v.ValeurSemaine(129), 7) << "week 129 is week 1";
  for (int n : {0, 53, 128, -1, 1000}) {
    v.SetValeurSemaine(n, 99);
    EXPECT_EQ(v.ValeurSemaine(n), n == 1000 ? v.ValeurSemaine(1000 & 127) : 0) << n;
  }
  EXPECT_EQ(v.Somme(Semaines(0, 55)), 16) << "weeks 0 and 53 to 55 are not counted";
}

TEST(ValeursHebdomadaires, SumsAndAdditionsSaturateInsteadOfWrapping) {
  TFixedArrayOfValeurHebdomadaire v, w;
  const int32_t max = std::numeric_limits<int32_t>::max();
  v.Remplir(max, Semaines(1, 52));
  EXPECT_EQ(v.Somme(Semaines(1, 52)), max);
  w.Remplir(1, Semaines(1, 2));
  v.Ajouter(w, Semaines(1, 52));
  EXPECT_EQ(v.ValeurSemaine(1), max);
  v.Remplir(std::numeric_limits<int32_t>::min(), Semaines(1, 3));
  EXPECT_EQ(v.Somme(Semaines(1, 3)), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(v.ValeurSemaine(4), 0) << "Remplir clears the weeks outside the set";

  TFixedArrayOfValeurMensuelle m, n;
  for (int i = 1; i <= 13; ++i) m.SetValeurMois(i, max);
  EXPECT_EQ(m.Somme(0xFFFF), max);
  EXPECT_EQ(m.ValeurMois(0), 0);
  EXPECT_EQ(m.ValeurMois(14), 0);
  m.SetValeurMois(14, 5);  // outside: nothing written, nothing overrun
  n.SetValeurMois(2, 3);
  m.SetValeurMois(2, 1);
  m.Ajouter(n, 1 << 2);
  EXPECT_EQ(m.ValeurMois(2), 4);
  EXPECT_EQ(m.Somme(1 << 2 | 1 << 0), 4) << "bit 0 stands for no month";
}

TEST(ValeursHebdomadaires, NonZeroWeeksAndCopies) {
  TFixedArrayOfValeurHebdomadaire v, c;
  v.SetValeurSemaine(3, 2);
  v.SetValeurSemaine(4, -2);
  v.SetValeurSemaine(5, 1);
  EXPECT_EQ(v.SemainesNonNulles(Semaines(1, 4)), Semaines(3, 3));
  c.Copier(v);
  EXPECT_EQ(c.ValeurSemaine(4), -2);
}

TEST(ValeursMensuelles, AYearFromThe31stOfJanuaryFallsIntoThirteenMonths) {
  TFixedArrayOfValeurMensuelle m;
  m.Repartir(1, Semaines(1, 52), 0, DateTime::EncodeDate(2025, 1, 31));
  // Week 1 in January, the weeks of each month from February, week 52 (23 January 2026) in month 13.
  const int32_t attendu[13] = {1, 4, 4, 4, 5, 4, 4, 5, 4, 5, 4, 4, 4};
  int32_t total = 0;
  for (int i = 1; i <= 13; ++i) {
    EXPECT_EQ(m.ValeurMois(i), attendu[i - 1]) << "month " << i;
    total += m.ValeurMois(i);
  }
  EXPECT_EQ(total, 52);

  m.Repartir(1, Semaines(1, 52), -1, DateTime::EncodeDate(2025, 1, 31));
  EXPECT_EQ(m.Somme(0xFFFF), 0) << "a negative offset spreads nothing";
  m.Repartir(1, Semaines(1, 52), 0, std::nan(""));
  EXPECT_EQ(m.Somme(0xFFFF), 0) << "no first date spreads nothing";

  TFixedArrayOfValeurMensuelleTZ tz;
  const TDateTime lundi = DateTime::EncodeDate(2025, 1, 27);
  tz.RepartirJour(2, Semaines(1, 5), false, 1, lundi);  // 27 January, then 3 to 24 February
  EXPECT_EQ(tz.ValeurMois(1), 2);
  EXPECT_EQ(tz.ValeurMois(2), 8);
  tz.RepartirJour(2, Semaines(1, 5), false, 7, lundi);  // the Sundays: 2 to 23 February, then 2 March
  EXPECT_EQ(tz.ValeurMois(1), 8);
  EXPECT_EQ(tz.ValeurMois(2), 2);
  tz.RepartirJour(2, Semaines(1, 5), true, 7, lundi);
  EXPECT_EQ(tz.Somme(0xFFFF), 0);
}

TEST(JourTZ, WeekdaysOfDatesAndOfNoDates) {
  const TDateTime dimanche = DateTime::EncodeDate(2025, 3, 9);
  EXPECT_EQ(TJourTZ::JourDeLaSemaine(dimanche), 7);
  EXPECT_EQ(TJourTZ::JourDeLaSemaine(dimanche + 0.75), 7) << "the time of day does not change the day";
  EXPECT_EQ(TJourTZ::JourDeLaSemaine(0), 6) << "30 December 1899 was a Saturday";
  EXPECT_EQ(TJourTZ::DateDuJour(1, dimanche), dimanche - 6);
  EXPECT_EQ(TJourTZ::DateDuJourDeLaSemaine(3, 2, dimanche), dimanche - 4 + 7);
  for (double d : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                   1e300, -1e300}) {
    int64_t jour = 0;
    EXPECT_FALSE(TJourTZ::JourDeDate(d, jour)) << d;
    EXPECT_EQ(TJourTZ::JourDeLaSemaine(d), 0) << d;
  }
}

TEST(JourTZ, ShiftsStayWithinTheWeekOfTheReference) {
  struct Cas {
    int32_t jour, decalage, reference, attendu, applique;
  } const cas[] = {
      {3, 10, 1, 7, 4}, {3, -5, 1, 1, -2}, {3, 0, 1, 3, 0}, {5, 2, 1, 7, 2},
      // A day outside the week comes back into it, whichever way the shift goes.
      {9, 2, 1, 7, -2}, {1, -3, 4, 4, 3},
  };
  for (const Cas& c : cas) {
    int32_t applique = 99;
    EXPECT_EQ(TJourTZ::DecalerJourDansLaSemaine(c.jour, c.decalage, c.reference, applique), c.attendu) << c.jour;
    EXPECT_EQ(applique, c.applique) << c.jour << " " << c.decalage;
  }
}

class JoursOuvresEssai : public BaseOuverte {
 protected:
  void TearDown() override {
    SupParametresGrille::Initialiser();
    BaseOuverte::TearDown();
  }
};

TEST_F(JoursOuvresEssai, ANewSetHoldsMondayToSaturday) {
  TJoursOuvres j(false);
  EXPECT_EQ(j.Jours(), 126);
  EXPECT_EQ(j.NombreJoursOuvres(), 6);
  EXPECT_EQ(j.PremierJourOuvre(), 1);
  EXPECT_EQ(j.DernierJourOuvre(), 6);
  EXPECT_TRUE(j.ModificationLocale());
  EXPECT_FALSE(j.EstJourOuvre(7));
  EXPECT_FALSE(j.EstJourOuvre(8));
  EXPECT_FALSE(j.EstJourOuvre(0));
  EXPECT_TRUE(j.EstJourOuvreDate(DateTime::EncodeDate(2025, 3, 8)));   // a Saturday
  EXPECT_FALSE(j.EstJourOuvreDate(DateTime::EncodeDate(2025, 3, 9)));  // a Sunday
  EXPECT_FALSE(j.EstJourOuvreDate(std::nan("")));
}

TEST_F(JoursOuvresEssai, RanksAndDaysOfRanks) {
  TJoursOuvres j(false);
  EXPECT_EQ(j.RangJourOuvre(5, 1), 4);
  j.SetJoursOuvres(Jours({1, 2, 4, 5, 6}));
  EXPECT_EQ(j.RangJourOuvre(5, 1), 3);
  EXPECT_EQ(j.JourOuvre(2), 4);
  EXPECT_EQ(j.JourOuvre(5), 1) << "fewer working days than asked";
  j.SetJoursOuvres(0);
  EXPECT_EQ(j.PremierJourOuvre(), 1);
  EXPECT_EQ(j.DernierJourOuvre(), 1);
  EXPECT_EQ(j.JourOuvre(0), 1);
}

TEST_F(JoursOuvresEssai, ThePlaceOfADayIsItsRankAmongTheWorkingDays) {
  SupParametresGrille::Definir(10, 5, 5);
  TJoursOuvres j(false);
  j.SetJoursOuvres(Jours({2, 3, 4, 5, 6}));  // Tuesday to Saturday
  EXPECT_EQ(j.JourDeLaPlace(0), 2);
  EXPECT_EQ(j.JourDeLaPlace(9), 2);
  EXPECT_EQ(j.JourDeLaPlace(10), 3);
  EXPECT_EQ(j.JourDeLaPlace(45), 6);
  SupParametresGrille::Definir(0, 5, 5);
  EXPECT_EQ(j.JourDeLaPlace(45), 2) << "a grid without places per day divides by nothing";
}

TEST_F(JoursOuvresEssai, RangesOfWorkingDaysEndEvenWithoutWorkingDays) {
  TJoursOuvres j(false);
  int32_t dernier = -1, premier = -1;
  EXPECT_EQ(j.PlageJoursOuvres(2, 4, 1, dernier, premier), 1);
  EXPECT_EQ(premier, 1);
  EXPECT_EQ(dernier, 3);
  EXPECT_EQ(j.PlageJoursOuvres(2, 7, 1, dernier, premier), 1) << "the range ends on the last working day";
  EXPECT_EQ(dernier, 5);
  EXPECT_EQ(j.PlageJoursOuvres(7, 7, 1, dernier, premier), 0) << "a range of a day off";
  EXPECT_EQ(j.PlageJoursOuvresAutour(3, true, 2, dernier, premier), 1);
  EXPECT_EQ(premier, 0);
  EXPECT_EQ(dernier, 2);
  EXPECT_EQ(j.PlageJoursOuvresAutour(0, true, 2, dernier, premier), 0);
  j.SetJoursOuvres(0);
  EXPECT_EQ(j.PlageJoursOuvres(1, 9, 1, dernier, premier), 0);
  EXPECT_EQ(j.PlageJoursOuvres(12, 20, 1, dernier, premier), 0) << "a start beyond 7";
}

TEST_F(JoursOuvresEssai, ASharedSetChangesWhenTheServerOrderComesBack) {
  TJoursOuvres j(true);
  j.SetModificationLocale(false);
  client_.Serveur = [&](const RequeteEnvoyee& r, void*) {
    EXPECT_EQ(SupTraitement::TraitementCourant(), TJoursOuvres::kCodeModifierJoursOuvres);
    return j.TraiterOrdre(r.Code, static_cast<int32_t>(r.Donnees.size()), r.Donnees.data());
  };
  j.SetJoursOuvres(Jours({1, 2, 3, 4, 5}));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80020000u);
  EXPECT_EQ(client_.Envoyees[0].Donnees, std::vector<uint8_t>{62});
  EXPECT_EQ(j.Jours(), 62);
  EXPECT_FALSE(j.ModificationLocale()) << "an applied order clears the local flag";
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);

  j.SetJoursOuvres(62);
  EXPECT_EQ(client_.Envoyees.size(), 1u) << "the current set sends nothing";

  client_.Serveur = nullptr;  // refused: nothing changes
  j.SetJoursOuvres(Jours({1}));
  EXPECT_EQ(j.Jours(), 62);
}

TEST_F(JoursOuvresEssai, OrdersOfOtherCodesOrWithoutDataChangeNothing) {
  TJoursOuvres j(true);
  const uint8_t octet = 2;
  j.SetModificationLocale(false);
  EXPECT_FALSE(j.TraiterOrdre(0x80020001, 1, &octet));
  EXPECT_FALSE(j.TraiterOrdre(0x80020000, 0, &octet));
  EXPECT_FALSE(j.TraiterOrdre(0x80020000, 1, nullptr));
  EXPECT_EQ(j.Jours(), 126);
  EXPECT_FALSE(j.ModificationLocale());
  EXPECT_TRUE(client_.Envoyees.empty());
}

// An order applied clears the local flag, whatever it was: the changes made afterwards are requests,
// and an order of another code clears it too. The set keeps the byte it is given, bit 0 included.
TEST_F(JoursOuvresEssai, AnAppliedOrderLeavesLaterChangesAsRequests) {
  TJoursOuvres j(true);
  ASSERT_TRUE(j.ModificationLocale()) << "a new set changes locally";
  const uint8_t jours = 0x3F;  // bit 0 and days 1 to 5
  EXPECT_TRUE(j.TraiterOrdre(TJoursOuvres::kCodeModifierJoursOuvres, 1, &jours));
  EXPECT_EQ(j.Jours(), 0x3F);
  EXPECT_FALSE(j.ModificationLocale());
  j.SetJoursOuvres(Jours({1, 2}));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(j.Jours(), 0x3F);
  j.SetModificationLocale(true);
  EXPECT_FALSE(j.TraiterOrdre(0x80020001, 1, &jours));
  EXPECT_FALSE(j.ModificationLocale());
}

}  // namespace
