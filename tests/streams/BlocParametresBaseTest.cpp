#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../base/BaseEssai.h"
#include "base/SupDemiPension.h"
#include "base/SupFichiers.h"
#include "base/SupLibelleHeure.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "base/fichiers/SupJourFerie.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"
#include "net/NetBases.h"
#include "base/CompteursNumeros.h"
#include "streams/BlocParametresBase.h"
#include "streams/ParametresBase.h"

namespace {

class BlocParametres : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    Defauts();
  }
  void TearDown() override {
    // Reading a block sends nothing to the server: every value is installed locally.
    EXPECT_TRUE(client_.Envoyees.empty());
    Defauts();
    SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
    NetBases::BaseAnterieure506() = false;
    BaseOuverte::TearDown();
  }
  static void Defauts() {
    TParametresBase& base = *ParametresBase::Parametres();
    base.DefinirAppliquerOrdre(true);
    SupParametresGrille::Initialiser();
    SupParam::InitialiserParametresParDefaut();
    BlocParametresBase::Initialiser();
    base.ModifierLienSelonAutresClasses(0);
    base.ModifierParametresExportAuto({});
    base.DefinirAppliquerOrdre(false);
  }
  static void Lire(const std::vector<uint8_t>& Octets) {
    TMemoryStream m;
    m.Assign(Octets.data(), Octets.size());
    BlocParametresBase::LireBlocParametresBase(m);
  }
  // A header of the version, the grid 20 x 1 x 10 and the words given (offset, value).
  static std::vector<uint8_t> Entete(uint16_t a, uint16_t b, uint16_t c,
                                     std::initializer_list<std::pair<int, uint16_t>> Mots = {}) {
    std::vector<uint8_t> e(64, 0);
    auto poser = [&e](int o, uint16_t v) {
      e[static_cast<std::size_t>(o)] = static_cast<uint8_t>(v);
      e[static_cast<std::size_t>(o) + 1] = static_cast<uint8_t>(v >> 8);
    };
    poser(0, a);
    poser(2, b);
    poser(4, c);
    poser(6, 20);
    poser(8, 1);
    poser(10, 10);
    for (auto [o, v] : Mots) poser(o, v);
    return e;
  }
};

TEST_F(BlocParametres, WritingThenReadingGivesBackEveryValueAndTheCurrentVersion) {
  TypeParametresGeneraux& g = SupParam::Parametres();
  TParametresBase& base = *ParametresBase::Parametres();
  SupParametresGrille::Definir(12, 5, 6);
  SupDemiPension::AjusterDemiPension(true);  // the reader brings the lunch service inside the grid
  g.NomEtablissement = "Lycee du Parc";
  g.ApportProfesseurParDefaut = 777;
  g.T3MinHSProfesseur = 1234;
  g.EspacementMinimumProfesseur = 3;
  g.GestionEffectif = 1;
  g.JoursConservationJournal = 9;
  g.Drapeau1 = 0;
  SupDemiPension::DemiPension().GenresRessourcesDemiPension = 5;
  CompteursNumeros::Compteurs()[41] = 99;
  SupSites::Sites().Parametres().MaxChangementsEleves = 7;
  SupEtatsPlaces::EnregistrementReserve()[19] = 0xAB;
  base.DefinirAppliquerOrdre(true);
  base.ModifierLienSelonAutresClasses(1);
  base.ModifierActivationModulesEtCursus(1);
  TParametresExportAutoBulvera ex;
  ex.Texte = "export";
  ex.Entier = 4;
  base.ModifierParametresExportAuto(ex);
  base.DefinirAppliquerOrdre(false);
  ASSERT_TRUE(SupLibelleHeure::ModifierHoraireLibelleHeure(1, 11, "17h30", true));
  SupLibelleHeure::AlignerVisibilites();  // as the reader does

  TMemoryStream m;
  BlocParametresBase::EcrireBlocParametresBase(m);
  EXPECT_EQ(SupFichiers::VersionBase().Construction, 1u);
  const std::vector<uint8_t> ecrit = m.Bytes();

  Defauts();
  SupFichiers::VersionBase() = TypeVersionFormat{4, 0, 0, 0};
  NetBases::BaseAnterieure506() = true;
  Lire(ecrit);

  const TypeVersionFormat v = SupFichiers::VersionBase();
  EXPECT_EQ(std::vector<uint32_t>({v.Majeure, v.Mineure, v.Revision, v.Construction}),
            std::vector<uint32_t>({5, 0, 6, 1}));
  EXPECT_FALSE(NetBases::BaseAnterieure506());
  EXPECT_FALSE(base.AppliquerOrdre());
  EXPECT_EQ(SupParametresGrille::Parametres().PlacesParJour, 12);
  EXPECT_EQ(SupParametresGrille::Parametres().NombreJours, 5);
  EXPECT_EQ(SupParametresGrille::Parametres().PlacesParHeure, 2);
  EXPECT_EQ(g.NomEtablissement, "Lycee du Parc");
  EXPECT_EQ(g.ApportProfesseurParDefaut, 777);
  EXPECT_EQ(g.T3MinHSProfesseur, 1234);
  EXPECT_EQ(g.EspacementMinimumProfesseur, 3);
  EXPECT_EQ(g.JoursConservationJournal, 9);
  EXPECT_EQ(g.Drapeau1, 0);
  EXPECT_EQ(SupDemiPension::DemiPension().GenresRessourcesDemiPension, 5);
  EXPECT_EQ(CompteursNumeros::Compteurs()[41], 99u);
  EXPECT_EQ(SupSites::Sites().Parametres().MaxChangementsEleves, 7);
  EXPECT_EQ(SupEtatsPlaces::EnregistrementReserve()[19], 0xAB);
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 11), "17h30");
  EXPECT_EQ(base.LienSelonAutresClasses(), 1);
  EXPECT_EQ(base.ActivationModulesEtCursus(), 1);
  EXPECT_EQ(base.ExportAuto().Texte, "export");
  EXPECT_EQ(base.ExportAuto().Entier, 4);

  // Read again, the bytes are the same: nothing is lost on the way.
  TMemoryStream encore;
  BlocParametresBase::EcrireBlocParametresBase(encore);
  ASSERT_EQ(encore.Bytes().size(), ecrit.size());
  for (std::size_t i = 0; i < ecrit.size(); ++i) ASSERT_EQ(encore.Bytes()[i], ecrit[i]) << i;
}

TEST_F(BlocParametres, TheSiteDefaultsFollowThePlacesOfTheDay) {
  struct Cas {
    int32_t P;
    int32_t Pauses[3];
  };
  for (const Cas& c : {Cas{20, {1, 10, 19}}, Cas{6, {1, 3, 5}}}) {
    SupParametresGrille::Definir(c.P, 1, c.P / 2);
    SupSites::Sites().ParametresParDefaut();
    const TypeParametresSite& s = SupSites::Sites().Parametres();
    EXPECT_EQ(s.Pause1Position, c.Pauses[0]) << c.P;
    EXPECT_EQ(s.Pause2Position, c.Pauses[1]) << c.P;
    EXPECT_EQ(s.Pause3Position, c.Pauses[2]) << c.P;
    EXPECT_EQ(s.MaxChangementsProfs, 3);
  }
}

TEST_F(BlocParametres, AGridWithoutPlacesDaysOrHoursIsACorruptBlock) {
  for (int mot : {6, 8, 10}) {
    std::vector<uint8_t> e = Entete(5, 0, 6, {{mot, 0}});
    EXPECT_THROW(Lire(e), EReadError) << mot;
  }
  std::vector<uint8_t> e = Entete(5, 0, 6, {{6, 4}, {10, 5}});  // 4 places, 5 hours: 0 places per hour
  EXPECT_THROW(Lire(e), EReadError);
  EXPECT_FALSE(ParametresBase::Parametres()->AppliquerOrdre());
}

TEST_F(BlocParametres, AFieldBeyondTheEndIsAReadError) {
  TMemoryStream m;
  BlocParametresBase::EcrireBlocParametresBase(m);
  std::vector<uint8_t> v = m.Bytes();
  v.resize(v.size() - 40);  // the end marker is not read; the export settings are cut
  EXPECT_THROW(Lire(v), EReadError);
}

TEST_F(BlocParametres, AHeaderOfFormatOneLeavesTheGridAndHeaderParametersAtTheirDefaults) {
  std::vector<uint8_t> v = Entete(1, 0, 0, {{6, 40}, {18, 7}});
  v.resize(64 + 172 + 8 + 14 + 20 * 14 + 36, 0);  // what a format-1 block holds for a grid of 20 places
  Lire(v);
  EXPECT_EQ(SupParametresGrille::Parametres().PlacesParJour, 20);
  EXPECT_EQ(SupParam::Parametres().EspacementMinimumClasse, 0);
}

TEST_F(BlocParametres, A2090BaseTakesItsContributionFromWord12AndNoTeacherSpacing) {
  std::vector<uint8_t> v = Entete(2, 0, 90, {{12, 35}, {20, 4}, {18, 2}, {28, 1}});
  std::vector<uint8_t> reste(172 + 8 + 8 + 14 + 20 * 14, 0);
  v.insert(v.end(), reste.begin(), reste.end());
  Lire(v);
  EXPECT_EQ(SupParam::Parametres().ApportProfesseurParDefaut, 35);
  EXPECT_EQ(SupParam::Parametres().ApportProfesseurAnnuel, 1);
  EXPECT_EQ(SupParam::Parametres().EspacementMinimumProfesseur, 0);
  EXPECT_EQ(SupParam::Parametres().EspacementMinimumClasse, 2);
  EXPECT_TRUE(NetBases::BaseAnterieure506());
  EXPECT_EQ(SupDemiPension::DemiPension().GenresRessourcesDemiPension, SupDemiPension::kGenresParDefaut);
}

// What an older base does not carry takes its default, never the previous base's value: the lunch
// service of its grid (below 3.0.0), the HTML root file name (below 3.0.7), the working days (below 3.0.0).
TEST_F(BlocParametres, AnOlderBlockTakesTheDefaultsOfWhatItDoesNotCarry) {
  TParametresBase& base = *ParametresBase::Parametres();
  SupDemiPension::TypeDemiPension& dp = SupDemiPension::DemiPension();
  dp.ActivationDemiPension = 1;
  dp.DebutDemiPension = 3;
  dp.FinDemiPension = 5;
  dp.DureeServiceDemiPension = 1;
  base.DefinirAppliquerOrdre(true);
  base.DefinirFichierRacineHTML("precedente.htm");
  base.JoursOuvres().SetJoursOuvres(0x3E);
  base.DefinirAppliquerOrdre(false);

  std::vector<uint8_t> v = Entete(2, 0, 90, {{28, 1}});  // 20 places, 2 per hour
  v.resize(v.size() + 172 + 8 + 8 + 14 + 20 * 14, 0);
  Lire(v);
  EXPECT_EQ(dp.ActivationDemiPension, 0);
  EXPECT_EQ(dp.DebutDemiPension, 8u);
  EXPECT_EQ(dp.FinDemiPension, 12u);
  EXPECT_EQ(dp.DureeServiceDemiPension, 2u);
  EXPECT_EQ(base.FichierRacineHTML(), "");
  EXPECT_EQ(base.GetJoursOuvres(), TJoursOuvres::kJoursParDefaut);
}

// Reading a block in exclusive mode changes no other table and marks nothing: a new first date does
// not delete the previous base's holidays outside it.
TEST_F(BlocParametres, ReadingABlockInExclusiveModeKeepsTheHolidaysAndMarksNothing) {
  TParametresBase& base = *ParametresBase::Parametres();
  TMemoryStream m;
  BlocParametresBase::EcrireBlocParametresBase(m);
  const TDateTime premiere = base.PremiereDate();
  base.DefinirAppliquerOrdre(true);
  base.ModifierPremiereDate(premiere - 35);
  base.DefinirAppliquerOrdre(false);
  base.SetModifie(false);
  const TDateTime ferie = premiere - 30;
  std::vector<uint8_t> s(16);
  std::memcpy(&s[0], &ferie, 8);
  std::memcpy(&s[8], &ferie, 8);
  Recevoir(OrdreRecu(GM_Creation, 4, 16, s));
  ASSERT_EQ(Xi::Nombre(SupJourFerie::Fichier().Table), 1u);

  client_.Exclusif = true;
  Lire(m.Bytes());
  EXPECT_EQ(base.PremiereDate(), premiere);
  EXPECT_EQ(Xi::Nombre(SupJourFerie::Fichier().Table), 1u) << "the holiday outside the new year is kept";
  EXPECT_FALSE(fiche_.FichierVok.Modifie());
  EXPECT_FALSE(base.Modifie());
  client_.Exclusif = false;
}

// A 3.1.x block from its header to its counters, for the old-version cases.
std::vector<uint8_t> Bloc31(uint16_t Revision, int32_t Compteurs) {
  std::vector<uint8_t> v(64, 0);
  const uint16_t mots[][2] = {{0, 3}, {2, 1}, {4, Revision}, {6, 20}, {8, 1}, {10, 10}, {12, 0x3E}};
  for (auto& m : mots) {
    v[m[0]] = static_cast<uint8_t>(m[1]);
    v[m[0] + 1u] = static_cast<uint8_t>(m[1] >> 8);
  }
  auto int32 = [&v](int32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
  };
  int32(500);                    // default contribution
  if (Revision < 6) int32(0);    // dropped below 3.1.6
  for (int32_t x : {1, 2, 3, 4}) int32(x);  // thresholds and maxima
  if (Revision < 6) {            // the two old status values
    int32(61);
    int32(62);
  }
  int32(5);  // T1 cycle
  int32(6);  // T3 minimum
  v.insert(v.end(), 8 + 7 + 7 + 14 + 20 + 18 * 20, 0);
  for (int32_t i = 0; i < Compteurs / 4; ++i) int32(100 + i);
  return v;
}

TEST_F(BlocParametres, OldBasesReadTheirStatusValuesAndTheCounterAreaOfTheirVersion) {
  // Below 3.1.7 the counter area is 100 bytes, 3.1.6 included.
  for (uint16_t revision : {uint16_t{5}, uint16_t{6}}) {
    std::vector<uint8_t> v = Bloc31(revision, 100);
    TMemoryStream m;
    m.Assign(v.data(), v.size());
    EXPECT_THROW(BlocParametresBase::LireBlocParametresBase(m), EReadError);  // cut after the counters
    if (revision == 5) {
      EXPECT_EQ(SupStatutsAnciens::Valeurs().MaxT1Cycle, 61);
      EXPECT_EQ(SupStatutsAnciens::Valeurs().QuotaHebdomadaire, 62);
      EXPECT_EQ(SupParam::Parametres().CycleT1Professeur, 5);
    }
  }
  // 3.1.5: the counters go to their files; the slot after ".JRF" is dropped.
  std::vector<uint8_t> v = Bloc31(5, 100);
  TMemoryStream m;
  m.Assign(v.data(), v.size());
  EXPECT_THROW(BlocParametresBase::LireBlocParametresBase(m), EReadError);
  const auto& c = CompteursNumeros::Compteurs();
  EXPECT_EQ(c[3], 103u);   // .JRF
  EXPECT_EQ(c[4], 0u);     // .MAD, not in the old area
  EXPECT_EQ(c[8], 105u);   // .FMR
  EXPECT_EQ(c[35], 124u);  // .APP, the last old slot
  EXPECT_EQ(SupSites::Sites().Parametres().Activation, 0);
  // The next block read resets the status values.
  TMemoryStream courant;
  BlocParametresBase::EcrireBlocParametresBase(courant);
  courant.SetPosition(0);
  BlocParametresBase::LireBlocParametresBase(courant);
  EXPECT_EQ(SupStatutsAnciens::Valeurs().MaxT1Cycle, 0);
}

TEST_F(BlocParametres, TheOldListOfEntriesIsCheckedBeforeItIsSkipped) {
  struct Cas {
    int32_t Nombre, Taille;
    bool Lu;
  };
  for (const Cas& c : {Cas{2, 8, true}, Cas{2, 9, false}, Cas{-1, 8, false}, Cas{1000, 8, false}}) {
    std::vector<uint8_t> v = Bloc31(6, 100);
    v.push_back(1);                // lunch kinds
    v.insert(v.end(), 4, 0);       // HTML root name
    v.insert(v.end(), 256, 0);     // establishment name
    TMemoryStream archive;
    TypeArchivageEtSauvegarde a;
    SupArchivageEtSauvegarde::Ecrire(archive, a);
    v.insert(v.end(), archive.Bytes().begin(), archive.Bytes().end());
    v.insert(v.end(), 1358, 0);
    for (int32_t x : {c.Nombre, c.Taille})
      for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
    v.insert(v.end(), 16, 0);
    if (c.Lu)
      EXPECT_NO_THROW(Lire(v));
    else
      EXPECT_THROW(Lire(v), EReadError) << c.Nombre << " " << c.Taille;
  }
}

}  // namespace
