// The site parameters as the sites object answers them: pauses by number, the maximum site changes
// a day by resource kind, the activation, and their 36 stored bytes.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "base/SupParametresGrille.h"
#include "base/sites/SupSites.h"
#include "core/serial/Streams.h"

namespace {

class ParametresSites : public ::testing::Test {
 protected:
  void SetUp() override { SupParametresGrille::Definir(12, 5, 6); }
  void TearDown() override {
    SupSites::Sites().Parametres() = TypeParametresSite{};
    SupParametresGrille::Initialiser();
  }
};

TEST_F(ParametresSites, PausesAndChangesByNumberAndKindWithThePlacesOfTheDayBeyond) {
  TSites& sites = SupSites::Sites();
  sites.Parametres() = {2, 1, 2, 0, 6, 1, 10, 4, 5};
  EXPECT_EQ(sites.Activation(), 2);
  EXPECT_TRUE(sites.SitesActifs());
  EXPECT_TRUE(sites.ActivationAvecPauses());
  // pause number, active flag, position
  for (const auto& [n, active, position] : std::vector<std::tuple<int32_t, uint8_t, int32_t>>{
           {1, 1, 2}, {2, 0, 6}, {3, 1, 10}, {0, 0, 11}, {4, 0, 11}, {-1, 0, 11}}) {
    EXPECT_EQ(sites.PauseActive(n), active) << n;
    EXPECT_EQ(sites.PositionPause(n), position) << n;
  }
  // kind, maximum changes a day: teachers, students, then rooms and beyond: the places of the day
  for (const auto& [genre, max] : std::vector<std::pair<uint8_t, int32_t>>{
           {0, 4}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 12}, {7, 12}, {255, 12}})
    EXPECT_EQ(sites.MaxChangementsDeSite(genre), max) << int{genre};
  sites.Parametres().Activation = 1;
  EXPECT_TRUE(sites.SitesActifs());
  EXPECT_FALSE(sites.ActivationAvecPauses());
  sites.Parametres().Activation = 0;
  EXPECT_FALSE(sites.SitesActifs());
}

TEST_F(ParametresSites, TheStoredBlockHasZeroPaddingAndReadsBackTheSame) {
  TSites& sites = SupSites::Sites();
  sites.Parametres() = {1, 1, -2, 1, 300, 0, 0x01020304, 9, -1};
  TMemoryStream flux;
  sites.EcrireParametres(flux);
  const std::vector<uint8_t> attendu = {1, 0, 0, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0x2C, 1, 0, 0,
                                        0, 0, 0, 0, 4, 3, 2, 1, 9, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  ASSERT_EQ(flux.Size(), 36);
  std::vector<uint8_t> ecrit(36);
  flux.SetPosition(0);
  flux.ReadBuffer(ecrit.data(), 36);
  EXPECT_EQ(ecrit, attendu);
  sites.Parametres() = TypeParametresSite{};
  flux.SetPosition(0);
  sites.LireParametres(flux);
  EXPECT_EQ(sites.PositionPause(1), -2);
  EXPECT_EQ(sites.PositionPause(2), 300);
  EXPECT_EQ(sites.PositionPause(3), 0x01020304);
  EXPECT_EQ(sites.MaxChangementsDeSite(1), -1);
  // Short: nothing half-read is taken for the block.
  TMemoryStream court;
  court.WriteBuffer(attendu.data(), 35);
  court.SetPosition(0);
  EXPECT_THROW(sites.LireParametres(court), EReadError);
}

}  // namespace
