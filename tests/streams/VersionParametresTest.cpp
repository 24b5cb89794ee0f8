// The version gates of the per-user stream and its strict section reader.
#include <gtest/gtest.h>

#include <cstring>

#include "streams/VersionParametres.h"
#include "tests/streams/DocumentsTLV.h"

namespace {

void DefinirVersion(uint32_t majeur, uint32_t mineur, uint32_t release, uint32_t build) {
  TypeVersion& v = VersionParametres::VersionParametresUtilisateur();
  v.Majeur = majeur;
  v.Mineur = mineur;
  v.Release = release;
  v.Build = build;
}

}  // namespace

TEST(VersionParametresUtilisateur, GatesOnThreeAndOnFourParts) {
  struct Cas {
    std::array<uint32_t, 4> version;
    bool depuis4099;    // 4.0.99 on three parts
    bool depuis5003;    // 5.0.0.3 on four parts
  };
  const Cas cas[] = {
      {{4, 0, 50, 0}, false, false}, {{4, 0, 98, 9}, false, false}, {{4, 0, 99, 0}, true, false},
      {{4, 1, 0, 0}, true, false},   {{5, 0, 0, 2}, true, false},   {{5, 0, 0, 3}, true, true},
      {{5, 0, 1, 0}, true, true},    {{3, 9, 99, 99}, false, false}, {{6, 0, 0, 0}, true, true},
  };
  for (const Cas& c : cas) {
    DefinirVersion(c.version[0], c.version[1], c.version[2], c.version[3]);
    EXPECT_EQ(VersionParametres::PresentDepuis(4, 0, 99), c.depuis4099) << c.version[0] << "." << c.version[2];
    EXPECT_EQ(VersionParametres::PresentDepuisBuild(5, 0, 0, 3), c.depuis5003) << c.version[0] << "." << c.version[2];
  }
  DefinirVersion(0, 0, 0, 0);
}

TEST(SectionsParametresUtilisateur, OnlyTheExpectedSizeCountsAsRead) {
  using EssaiTLV::TOctets;
  struct Cas {
    const char* nom;
    std::string section;
    bool lue;
    int64_t apres;  // the position after the read; -1: the end of the section
  };
  const Cas cas[] = {
      {"expected size", TOctets().Entier(4).Texte("ABCD").Octets(), true, -1},
      {"smaller", TOctets().Entier(2).Texte("AB").Octets(), false, -1},
      {"larger", TOctets().Entier(6).Texte("ABCDEF").Octets(), false, -1},
      {"empty", TOctets().Entier(0).Octets(), false, -1},
      {"negative", TOctets().Entier(-4).Texte("ABCD").Octets(), false, 0},
      {"beyond the end", TOctets().Entier(100).Texte("ABCD").Octets(), false, 0},
      {"short size", TOctets().Texte("\x04\x00").Octets(), false, 0},
  };
  for (const Cas& c : cas) {
    // A sentinel follows the section, except where the section is broken by its end.
    const bool sentinelle = c.apres == -1;
    const std::string octets = c.section + (sentinelle ? "ZZ" : "");
    TMemoryStream flux;
    EssaiTLV::Charger(flux, octets);
    char tampon[5] = "....";
    EXPECT_EQ(VersionParametres::LireSection(&flux, tampon, 4), c.lue) << c.nom;
    EXPECT_EQ(flux.Position(), sentinelle ? static_cast<int64_t>(c.section.size()) : c.apres) << c.nom;
    EXPECT_STREQ(tampon, c.lue ? "ABCD" : "....") << c.nom;
  }
  char tampon[4];
  EXPECT_FALSE(VersionParametres::LireSection(nullptr, tampon, 4));
}
