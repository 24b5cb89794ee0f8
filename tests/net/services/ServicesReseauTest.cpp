// Small network-side services: version comparisons, the text holder of the unzip wrapper and its
// stored property, and the existence tests.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "core/objects/Exceptions.h"
#include "net/services/DynaZip.h"
#include "net/services/IEDirectory.h"
#include "net/services/IEFile.h"
#include "net/services/IEPath.h"
#include "net/services/Version.h"

TEST(Version, ComparisonsLookAtTheFirstPartsAsUnsignedNumbers) {
  TypeVersion v{"Serveur", 5, 0, 6, 1};
  const TypeNumerosVersion v5070{5, 0, 7, 0}, v5060{5, 0, 6, 0}, v5061{5, 0, 6, 1};
  const std::tuple<const char*, bool, bool> cas[] = {
      {"inferieure 5.0.7.0 sur 3 parties", Version::EstInferieure(v, v5070, 2), true},
      {"inferieure 5.0.7.0 sur 2 parties", Version::EstInferieure(v, v5070, 1), false},
      {"inferieure a soi-meme", Version::EstInferieure(v, v5061, 3), false},
      {"inferieure, partie negative", Version::EstInferieure(v, v5070, -1), false},
      {"inferieure, partie au-dela de 3", Version::EstInferieure(v, {5, 0, 6, 2}, 9), true},
      {"inferieure ou egale 5.0.6.0 sur 3 parties", Version::EstInferieureOuEgale(v, v5060, 2), true},
      {"inferieure ou egale 5.0.6.0 sur 4 parties", Version::EstInferieureOuEgale(v, v5060, 3), false},
      {"inferieure ou egale, partie negative", Version::EstInferieureOuEgale(v, v5061, -1), false},
      {"egale sur 3 parties", Version::EstEgale(v, v5060, 2), true},
      {"egale sur 4 parties", Version::EstEgale(v, v5060, 3), false},
      {"egale, partie negative", Version::EstEgale(v, v5061, -1), false},
      {"inferieure a, 0 parties", Version::EstInferieureA(v, 6, 0, 0, 0, 0), false},
      {"inferieure a 6 sur 1 partie", Version::EstInferieureA(v, 6, 0, 0, 0, 1), true},
      {"egale a, 0 parties", Version::EstEgaleA(v, 5, 0, 6, 1, 0), false},
      {"egale a 5.0.6.1", Version::EstEgaleA(v, 5, 0, 6, 1, 4), true},
      {"non signee: 0x80000000 au-dessus de 1", Version::EstInferieure({"", 0x80000000u, 0, 0, 0}, {1, 0, 0, 0}, 0), false},
      {"sont egales sur 2 parties", Version::SontEgales(v, {"Autre nom", 5, 0, 9, 9}, 2), true},
      {"sont egales sur 3 parties", Version::SontEgales(v, {"", 5, 0, 9, 9}, 3), false},
      {"sont egales, 0 parties", Version::SontEgales(v, v, 0), false},
  };
  for (const auto& [nom, obtenu, attendu] : cas) EXPECT_EQ(obtenu, attendu) << nom;
}

TEST(Version, TheRecordIs272BytesAndReadsBack) {
  const TypeVersion v{"Norvane", 5, 0, 6, 0x01020304};
  const auto o = v.EnOctets();
  EXPECT_EQ(o[0], 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(o.data() + 1), 7), "Norvane");
  EXPECT_EQ(o[256], 5);
  EXPECT_EQ(o[264], 6);
  EXPECT_EQ(o[268], 4);
  EXPECT_EQ(o[271], 1);
  const TypeVersion lu = TypeVersion::DepuisOctets(o);
  EXPECT_EQ(lu.Nom, "Norvane");
  EXPECT_EQ(lu.Build, 0x01020304u);
  EXPECT_EQ(TypeVersion{std::string(300, 'n')}.EnOctets()[0], 255);
}

TEST(LPStr, AFixedBufferCutsTheTextAndAGrowingOneKeepsIt) {
  TLPStr fixe(8);
  fixe.SetText("abcdefghij");
  EXPECT_EQ(fixe.GetText(), "abcdefg");
  EXPECT_EQ(fixe.Taille(), 8u);
  fixe.Vider();
  EXPECT_EQ(fixe.GetText(), "");
  EXPECT_EQ(fixe.Taille(), 8u);

  TLPStr libre;
  EXPECT_EQ(libre.Taille(), 0u);
  libre.SetText(std::string("abc\0def", 7));  // a C string ends at its zero
  EXPECT_EQ(libre.GetText(), "abc");
  EXPECT_EQ(libre.Taille(), 4u);
  libre.SetTaille(3);
  EXPECT_EQ(libre.GetText(), "ab");
  libre.Vider();
  EXPECT_EQ(libre.Taille(), 3u);
}

TEST(LPStr, ItsStoredPropertyReadsBackAndALyingLengthIsAReadError) {
  TLPStr texte;
  texte.SetText("archive.zip");
  TMemoryStream flux;
  texte.EcrirePropriete(flux);
  EXPECT_EQ(flux.Bytes(), (std::vector<uint8_t>{10, 12, 0, 0, 0, 'a', 'r', 'c', 'h', 'i', 'v', 'e', '.', 'z', 'i', 'p', 0}));
  flux.Seek(0, TSeekOrigin::soBeginning);
  TLPStr lu;
  lu.LirePropriete(flux);
  EXPECT_EQ(lu.GetText(), "archive.zip");
  EXPECT_FALSE(TLPStr().ProprieteAEcrire());

  TMemoryStream menteur;
  const uint8_t octets[] = {10, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
  menteur.WriteBuffer(octets, sizeof octets);
  menteur.Seek(0, TSeekOrigin::soBeginning);
  EXPECT_THROW(lu.LirePropriete(menteur), EReadError);

  TMemoryStream source;
  source.WriteBuffer("0123456789", 10);
  source.Seek(0, TSeekOrigin::soBeginning);
  TLPStr petit(5);
  petit.LoadFromStream(source);
  EXPECT_EQ(petit.GetText(), "0123");
  TMemoryStream sortie;
  petit.SaveToStream(sortie);
  EXPECT_EQ(sortie.Size(), 4);
}

TEST(ExistenceTests, DirectoriesFilesAndPathsAreToldApart) {
  const auto dossier = std::filesystem::temp_directory_path() / ("nv_existence_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dossier);
  const std::string fichier = (dossier / "f.txt").string();
  std::ofstream(fichier) << "x";
  const std::tuple<std::string, bool, bool, bool> cas[] = {
      {dossier.string(), true, false, true},
      {fichier, false, true, true},
      {(dossier / "absent").string(), false, false, false},
      {"", false, false, false},
  };
  for (const auto& [nom, repertoire, fic, chemin] : cas) {
    EXPECT_EQ(TDirectory::Exists(nom), repertoire) << nom;
    EXPECT_EQ(TFile::Exists(nom), fic) << nom;
    EXPECT_EQ(TPath::Exists(nom), chemin) << nom;
  }
  std::filesystem::remove_all(dossier);
}
