// The backup and archive settings: their stored bytes, their reading back and their defaults.
#include <gtest/gtest.h>

#include "net/NetBases.h"
#include "objectdb/Traduction.h"
#include "streams/SupArchivageEtSauvegarde.h"

namespace {

TypeArchivageEtSauvegarde Exemple() {
  TypeArchivageEtSauvegarde p;
  p.SauvegardeActive = true;
  p.PeriodeSauvegarde = 4;
  p.RepertoireSauvegarde = "  D:\\Sauv \t";
  p.ProchaineSauvegarde = 2.0;
  p.ArchivageActif = false;
  p.HeureArchivage = 0.5;
  p.NombreArchives = 15;
  p.RepertoireArchive = "D:\\Arch";
  p.ProchainArchivage = 1.0;
  return p;
}

const std::string kOctets = std::string(
    "\x01"
    "\x04\x00\x00\x00"
    "\x07\x00\x00\x00" "D:\\Sauv"
    "\x00\x00\x00\x00\x00\x00\x00\x40"
    "\x00"
    "\x00\x00\x00\x00\x00\x00\xE0\x3F"
    "\x0F\x00\x00\x00"
    "\x07\x00\x00\x00" "D:\\Arch"
    "\x00\x00\x00\x00\x00\x00\xF0\x3F",
    56);

// A stream holding the bytes, at its start.
struct TFluxDe : TMemoryStream {
  explicit TFluxDe(const std::string& Octets) { Assign(Octets.data(), Octets.size()); }
};

}  // namespace

TEST(ArchivageEtSauvegarde, WritesTheStoredLayoutWithTrimmedDirectories) {
  TMemoryStream m;
  SupArchivageEtSauvegarde::Ecrire(m, Exemple());
  EXPECT_EQ(m.AsString(), kOctets);
}

TEST(ArchivageEtSauvegarde, ReadsBackWhatWasWrittenAndMendsAZeroPeriod) {
  TFluxDe m(kOctets);
  TypeArchivageEtSauvegarde lu;
  SupArchivageEtSauvegarde::Lire(m, lu);
  EXPECT_TRUE(lu.SauvegardeActive);
  EXPECT_EQ(lu.PeriodeSauvegarde, 4);
  EXPECT_EQ(lu.RepertoireSauvegarde, "D:\\Sauv");
  EXPECT_EQ(lu.ProchaineSauvegarde, 2.0);
  EXPECT_FALSE(lu.ArchivageActif);
  EXPECT_EQ(lu.HeureArchivage, 0.5);
  EXPECT_EQ(lu.NombreArchives, 15);
  EXPECT_EQ(lu.RepertoireArchive, "D:\\Arch");
  EXPECT_EQ(lu.ProchainArchivage, 1.0);
  EXPECT_EQ(m.Position(), static_cast<int64_t>(kOctets.size()));

  std::string octets = kOctets;
  octets[1] = 0;  // a period of 0 hours
  octets[0] = 7;  // any byte but 0 is true
  octets[15] = ' ';  // a blank ends the backup directory
  TFluxDe zero(octets);
  SupArchivageEtSauvegarde::Lire(zero, lu);
  EXPECT_EQ(lu.PeriodeSauvegarde, 1);
  EXPECT_TRUE(lu.SauvegardeActive);
  EXPECT_EQ(lu.RepertoireSauvegarde, "D:\\Sau");
}

TEST(ArchivageEtSauvegarde, AShortStreamRaisesAndLeavesTheSettingsAsTheyWere) {
  for (size_t longueur = 0; longueur < kOctets.size(); ++longueur) {
    TFluxDe m(kOctets.substr(0, longueur));
    TypeArchivageEtSauvegarde p;
    p.NombreArchives = 3;
    EXPECT_THROW(SupArchivageEtSauvegarde::Lire(m, p), EReadError) << longueur;
    EXPECT_EQ(p.NombreArchives, 3);
    EXPECT_EQ(p.RepertoireSauvegarde, "");
  }
  // A directory length beyond the end of the stream.
  std::string octets = kOctets;
  octets[8] = 0x7F;
  TFluxDe m(octets);
  TypeArchivageEtSauvegarde p;
  EXPECT_THROW(SupArchivageEtSauvegarde::Lire(m, p), EReadError);
}

TEST(ArchivageEtSauvegarde, DefaultsFollowTheBaseAndTheClock) {
  const TDateTime jour = DateTime::EncodeDate(2026, 12, 10);
  struct Cas {
    const char* quoi;
    TDateTime maintenant;
    TDateTime prochainArchivage;
  };
  const Cas cas[] = {
      {"before 08:00: today", jour + DateTime::EncodeTime(7, 59, 59, 0), jour + 8.0 / 24},
      {"at 08:00: tomorrow", jour + 8.0 / 24, jour + 1 + 8.0 / 24},
      {"after 08:00: tomorrow", jour + DateTime::EncodeTime(22, 0, 0, 0), jour + 1 + 8.0 / 24},
  };
  for (const Cas& c : cas) {
    DateTime::SetClock([&] { return c.maintenant; });
    TypeArchivageEtSauvegarde p;
    SupArchivageEtSauvegarde::ParametresParDefaut(p, "C:\\Bases\\Planning.hyp", "Sauvegardes\\", "Archives\\");
    DateTime::SetClock(nullptr);
    EXPECT_DOUBLE_EQ(p.ProchainArchivage, c.prochainArchivage) << c.quoi;
    EXPECT_DOUBLE_EQ(p.ProchaineSauvegarde, c.maintenant + 4.0 / 24) << c.quoi;
    EXPECT_TRUE(p.SauvegardeActive);
    EXPECT_EQ(p.PeriodeSauvegarde, 4);
    EXPECT_TRUE(p.ArchivageActif);
    EXPECT_DOUBLE_EQ(p.HeureArchivage, 8.0 / 24);
    EXPECT_EQ(p.NombreArchives, 15);
    EXPECT_EQ(p.RepertoireSauvegarde, "C:\\Bases\\Sauvegardes\\Planning");
    EXPECT_EQ(p.RepertoireArchive, "C:\\Bases\\Archives\\Planning");
  }
  TypeArchivageEtSauvegarde p;
  SupArchivageEtSauvegarde::ParametresParDefaut(p, "/srv/bases/emploi.du.temps.hyp", "sauvegardes/", "archives/");
  EXPECT_EQ(p.RepertoireSauvegarde, "/srv/bases/sauvegardes/emploi.du.temps");
  // The open base's defaults, with the translated folder names.
  NetBases::NomBase() = "C:\\Bases\\Lyc\xE9""e.hyp";
  Traduction::DefinirTexte("EcrArchivageEtSauvegardeRepSauvegarde", "Sauvegardes\\");
  Traduction::DefinirTexte("EcrArchivageEtSauvegardeRepArchive", "Archives\\");
  SupArchivageEtSauvegarde::ParametresParDefaut(p);
  EXPECT_EQ(p.RepertoireSauvegarde, "C:\\Bases\\Sauvegardes\\Lyc\xE9""e");
  EXPECT_EQ(p.RepertoireArchive, "C:\\Bases\\Archives\\Lyc\xE9""e");
  Traduction::Vider();
  NetBases::NomBase().clear();
}
