// The sites' per-user order table: a new user's defaults, the readings of older per-user streams
// with their fix-ups, the refusals, and a write read back byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "base/sites/SupSite.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"

namespace {

using Octets = std::vector<uint8_t>;

// One kind's items by order number, as "item:order" words, e.g. "2:1 0:2".
std::string Genre(uint8_t genre) {
  void* t = SupSite::TableDesOrdres();
  std::string texte;
  for (bool encore = Xi::Premier(t, SupSite::kOrdreGenreOrdre); encore;
       encore = Xi::Suivant(t, SupSite::kOrdreGenreOrdre)) {
    const auto* e = static_cast<const SupSite::TypeEntreeOrdre*>(t);
    if (e->Genre != genre) continue;
    if (!texte.empty()) texte += ' ';
    texte += std::to_string(e->Element) + ":" + std::to_string(e->Ordre);
    if (e->Drapeau != 1) texte += "!";
  }
  return texte;
}

Octets Flux(int32_t nombre, int32_t taille, const std::vector<std::tuple<uint8_t, uint8_t, uint32_t>>& entrees,
            bool avecTaille = true) {
  Octets o(4);
  std::memcpy(o.data(), &nombre, 4);
  if (avecTaille) {
    o.resize(8);
    std::memcpy(o.data() + 4, &taille, 4);
  }
  for (const auto& [genre, element, ordre] : entrees) {
    const std::size_t n = o.size();
    o.resize(n + 8, 0);
    o[n] = genre;
    o[n + 1] = element;
    o[n + 2] = 1;
    std::memcpy(&o[n + 4], &ordre, 4);
  }
  return o;
}

bool Lire(const Octets& o, uint32_t majeure, uint32_t mineure, uint32_t revision) {
  TMemoryStream flux;
  flux.WriteBuffer(o.data(), static_cast<int64_t>(o.size()));
  flux.SetPosition(0);
  return SupSite::LireTableDesOrdres(flux, majeure, mineure, revision);
}

class OrdresSites : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SupSite::CreerTableDesOrdres()); }
  void TearDown() override { SupSite::LibererTableDesOrdres(); }
};

const char* const kDefaut0 = "0:1 2:2 3:3 7:4 4:5 5:6 6:7";
const char* const kDefaut1 = "2:1 0:2 1:3 3:4 7:5 4:6 5:7 6:8";
const char* const kDefaut5 = "0:1 1:2 2:3 7:4 4:5 5:6 6:7";

TEST_F(OrdresSites, ANewUserHasTheDefaultsAndAnEmptyStreamGivesThemToo) {
  ASSERT_TRUE(SupSite::CreerTableDesOrdresParDefaut());
  EXPECT_EQ(Genre(0), kDefaut0);
  EXPECT_EQ(Genre(1), kDefaut1);
  EXPECT_EQ(Genre(2), kDefaut1);
  EXPECT_EQ(Genre(5), kDefaut5);
  EXPECT_EQ(Xi::Nombre(SupSite::TableDesOrdres()), 30u);
  ASSERT_TRUE(SupSite::CreerTableDesOrdres());
  ASSERT_TRUE(Lire(Flux(0, 8, {}), 5, 0, 6));
  EXPECT_EQ(Genre(1), kDefaut1);
  EXPECT_EQ(Xi::Nombre(SupSite::TableDesOrdres()), 30u);
}

TEST_F(OrdresSites, OlderStreamsAreBroughtUpToDate) {
  // A 3.0.10 stream has no entry size and lacks items 6 and 7 and kind 2's item 2.
  ASSERT_TRUE(Lire(Flux(5, 0, {{0, 0, 1}, {1, 0, 1}, {1, 1, 2}, {1, 2, 3}, {2, 0, 1}}, false), 3, 0, 10));
  EXPECT_EQ(Genre(0), "0:1 6:6 7:7");
  EXPECT_EQ(Genre(1), "2:1 0:2 1:3 6:7 7:8");
  EXPECT_EQ(Genre(2), "2:1 0:2 6:7 7:8");
  EXPECT_EQ(Genre(5), "6:6 7:7");
  // A 3.1.99 stream has item 6 already; a 4.0.99 one is current.
  ASSERT_TRUE(SupSite::CreerTableDesOrdres());
  ASSERT_TRUE(Lire(Flux(2, 8, {{1, 0, 1}, {1, 2, 2}}), 3, 1, 99));
  EXPECT_EQ(Genre(1), "2:1 0:2 7:8");
  EXPECT_EQ(Genre(0), "7:7");
  ASSERT_TRUE(SupSite::CreerTableDesOrdres());
  ASSERT_TRUE(Lire(Flux(2, 8, {{1, 0, 1}, {1, 2, 2}}), 4, 0, 99));
  EXPECT_EQ(Genre(1), "0:1 2:2");
  EXPECT_EQ(Xi::Nombre(SupSite::TableDesOrdres()), 2u);
}

TEST_F(OrdresSites, ABadHeaderADuplicateOrAShortEntryEndsTheReading) {
  Octets court = Flux(2, 8, {{1, 0, 1}, {1, 1, 2}});
  court.pop_back();
  // stream, what the table holds of kind 1 afterwards
  const std::vector<std::pair<Octets, std::string>> cas = {
      {Flux(2, 12, {{1, 0, 1}, {1, 1, 2}}), ""},
      {Octets{2, 0, 0}, ""},
      {Flux(3, 8, {{1, 0, 1}, {1, 0, 5}, {1, 1, 2}}), "0:1"},
      {court, "0:1"},
  };
  for (const auto& [o, attendu] : cas) {
    SCOPED_TRACE(o.size());
    ASSERT_TRUE(SupSite::CreerTableDesOrdres());
    EXPECT_FALSE(Lire(o, 5, 0, 6));
    EXPECT_EQ(Genre(1), attendu);
  }
}

TEST_F(OrdresSites, WrittenByKindAndOrderThenReadBackTheSame) {
  ASSERT_TRUE(SupSite::CreerTableDesOrdresParDefaut());
  TMemoryStream flux;
  ASSERT_TRUE(SupSite::EcrireTableDesOrdres(flux));
  ASSERT_EQ(flux.Size(), 8 + 30 * 8);
  Octets ecrit(static_cast<std::size_t>(flux.Size()));
  flux.SetPosition(0);
  flux.ReadBuffer(ecrit.data(), flux.Size());
  EXPECT_EQ(Octets(ecrit.begin(), ecrit.begin() + 16), (Octets{30, 0, 0, 0, 8, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0}));
  ASSERT_TRUE(SupSite::CreerTableDesOrdres());
  ASSERT_TRUE(Lire(ecrit, 5, 0, 6));
  TMemoryStream encore;
  ASSERT_TRUE(SupSite::EcrireTableDesOrdres(encore));
  Octets relu(static_cast<std::size_t>(encore.Size()));
  encore.SetPosition(0);
  encore.ReadBuffer(relu.data(), encore.Size());
  EXPECT_EQ(relu, ecrit);
}

}  // namespace
