// Public holidays: both stored layouts, whole-day tests of dates inside long holidays, the count of
// holiday working days with every day counted once, and keeping the holidays inside the year, which
// ends even when a start cannot move.
#include <cmath>
#include <cstring>

#include "BaseEssai.h"
#include "base/fichiers/SupJourFerie.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"

namespace {

constexpr int32_t kTable = 4;
const TDateTime kLundi = DateTime::EncodeDate(2025, 9, 1);  // a Monday, the first date of the year

std::vector<uint8_t> Stocke(TDateTime debut, TDateTime fin) {
  std::vector<uint8_t> s(16);
  std::memcpy(&s[0], &debut, 8);
  std::memcpy(&s[8], &fin, 8);
  return s;
}

class JoursFeriesEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    SupJourFerie::Fichier().SurModification1 = [this](TypeGenreModif genre, int32_t, int32_t identifiant) {
      notifications_.push_back({genre, identifiant});
    };
    BaseOuverte::SetUp();
  }
  void TearDown() override {
    SupJourFerie::Fichier().SurModification1 = nullptr;
    SupFichiers::VersionBase() = {};
    NetBases::BaseAnterieure506() = false;
    BaseOuverte::TearDown();
  }
  void Ferie(int32_t identifiant, TDateTime debut, TDateTime fin) {
    Recevoir(OrdreRecu(GM_Creation, kTable, identifiant, Stocke(debut, fin)));
  }
  std::vector<std::pair<TypeGenreModif, int32_t>> notifications_;
};

TEST_F(JoursFeriesEssai, OldBasesHoldOneDayHolidays) {
  SupFichiers::VersionBase() = {2, 0, 13, 0};
  NetBases::BaseAnterieure506() = true;
  SupFichiers::LibererTables();
  ASSERT_TRUE(SupFichiers::CreerTables());
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  const TDateTime jour = kLundi + 3;
  std::vector<uint8_t> s(8);
  std::memcpy(s.data(), &jour, 8);
  Recevoir(OrdreRecu(GM_Creation, kTable, 16, s));
  ASSERT_TRUE(SupJourFerie::Fichier().ChercherParIdentifiant(16));
  EXPECT_EQ(SupJourFerie::Article()->Debut, jour);
  EXPECT_EQ(SupJourFerie::Article()->Fin, jour);
}

TEST_F(JoursFeriesEssai, EveryDayOfAHolidayIsAHolidayWhateverItsTimeOfDay) {
  Ferie(16, kLundi + 10, kLundi + 30 + 0.5);  // a long holiday
  Ferie(32, kLundi + 12, kLundi + 12);        // a short one inside it
  for (int d = 10; d <= 30; ++d) EXPECT_TRUE(SupJourFerie::EstJourFerie(kLundi + d + 0.25)) << d;
  EXPECT_TRUE(SupJourFerie::EstJourFerie(kLundi + 30 + 0.9)) << "the last day, later in the day than its end";
  EXPECT_FALSE(SupJourFerie::EstJourFerie(kLundi + 31));
  EXPECT_FALSE(SupJourFerie::EstJourFerie(kLundi + 9.99));
  EXPECT_FALSE(SupJourFerie::EstJourFerie(std::nan("")));
  SupJourFerie::Fichier().ChercherParIdentifiant(32);
  SupJourFerie::EstJourFerie(kLundi + 20);
  EXPECT_EQ(SupJourFerie::Article()->Identifiant, 32) << "the position is kept";
}

TEST_F(JoursFeriesEssai, HolidayWorkingDaysAreCountedOnceEach) {
  TypeDomaineHebdomadaire semaines;
  for (int w = 2; w <= 4; ++w) semaines.Inclure(w);
  Ferie(16, kLundi + 5, kLundi + 9);    // Saturday of week 1 to Wednesday of week 2: 3 days in week 2
  Ferie(32, kLundi + 8, kLundi + 15);   // overlaps: Tuesday of week 2 to Tuesday of week 3
  Ferie(48, kLundi + 40, kLundi + 41);  // week 6, not in the set
  // Week 2: Monday to Saturday (6 working days); week 3: Monday, Tuesday.
  EXPECT_EQ(SupJourFerie::NombreJoursFeries(semaines, kLundi, kLundi + 364), 8);
  EXPECT_EQ(SupJourFerie::NombreJoursFeries(TypeDomaineHebdomadaire{}, kLundi, kLundi + 364), 0);
  EXPECT_EQ(SupJourFerie::NombreJoursFeries(semaines, kLundi, kLundi + 8), 2) << "up to the last date";

  TypeDomaineHebdomadaire feriees;
  SupJourFerie::SemainesFeriees(2, semaines, feriees, kLundi);  // Tuesdays
  TypeDomaineHebdomadaire attendu;
  attendu.Inclure(2);
  attendu.Inclure(3);
  EXPECT_EQ(feriees, attendu);
  TJoursOuvres jours(false);
  EXPECT_EQ(SupJourFerie::NombreSemainesFeriees(2, semaines, jours, kLundi), 2);
  EXPECT_EQ(SupJourFerie::NombreSemainesFeriees(7, semaines, jours, kLundi), 0) << "Sunday is no working day";
}

TEST_F(JoursFeriesEssai, HolidaysOutsideTheYearAreDeletedOrCut) {
  client_.Exclusif = true;
  Ferie(16, kLundi - 2, kLundi + 3);
  Ferie(32, kLundi - 20, kLundi - 10);
  Ferie(48, kLundi + 360, kLundi + 370);
  notifications_.clear();
  EXPECT_TRUE(SupJourFerie::SupprimerJoursFeriesHorsDates(kLundi, kLundi + 364));
  EXPECT_EQ(Xi::Nombre(SupJourFerie::Fichier().Table), 2u);
  ASSERT_TRUE(SupJourFerie::Fichier().ChercherParIdentifiant(16));
  EXPECT_EQ(SupJourFerie::Article()->Debut, kLundi);
  EXPECT_EQ(SupJourFerie::Article()->Fin, kLundi + 3);
  ASSERT_TRUE(SupJourFerie::Fichier().ChercherParIdentifiant(48));
  EXPECT_EQ(SupJourFerie::Article()->Fin, kLundi + 364);
  EXPECT_FALSE(SupJourFerie::Fichier().ChercherParIdentifiant(32));
  EXPECT_EQ(notifications_.size(), 3u);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
}

TEST_F(JoursFeriesEssai, AStartThatCannotMoveIsLeftAndTheWalkEnds) {
  client_.Exclusif = true;
  Ferie(16, kLundi - 2, kLundi + 3);
  Ferie(32, kLundi, kLundi + 1);  // already starts on the first date
  notifications_.clear();
  EXPECT_TRUE(SupJourFerie::SupprimerJoursFeriesHorsDates(kLundi, kLundi + 364));
  EXPECT_TRUE(notifications_.empty());
  ASSERT_TRUE(SupJourFerie::Fichier().ChercherParIdentifiant(16));
  EXPECT_EQ(SupJourFerie::Article()->Debut, kLundi - 2);
}

TEST_F(JoursFeriesEssai, AsAClientTheServerKeepsTheHolidays) {
  Ferie(16, kLundi - 20, kLundi - 10);
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  EXPECT_TRUE(SupJourFerie::SupprimerJoursFeriesHorsDates(kLundi, kLundi + 364));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80090500u);
  EXPECT_EQ(client_.Envoyees[0].Donnees, Stocke(kLundi, kLundi + 364));
  EXPECT_EQ(Xi::Nombre(SupJourFerie::Fichier().Table), 1u) << "the table changes only by the server's orders";
}

}  // namespace
