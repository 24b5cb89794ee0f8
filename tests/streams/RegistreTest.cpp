// The program's registry object (root key, session values) and the reversible encoding of values.
#include "streams/Registre.h"

#include "streams/SupVersion.h"
#include "tests/streams/SettingsFixture.h"

namespace {

std::string Coder(const std::string& Texte) {
  std::string r;
  Registre::CoderValeur(Texte, true, r);
  return r;
}
std::string Decoder(const std::string& Texte) {
  std::string r = "not cleared";
  Registre::CoderValeur(Texte, false, r);
  return r;
}

}  // namespace

// Vectors computed apart from this code, from the description of the encoding, with another AES
// and MD5 implementation.
TEST(CodageDesValeurs, MatchesVectorsComputedIndependently) {
  struct Cas {
    std::string texte;
    const char* code;
  };
  const Cas cas[] = {
      {"", "C6CD9951E5D8BB91D681F1746F27297A08A239517A2AF4FFB196CE928890824EF53AAAC41DD853BD041DDCA616FA38CB"},
      {"3 ABCmotdepasse",
       "CA64E2431FEE7BBA1F4C0DF72CDD3152BF671A4E698FE993ECC925CEB87C41AA8BE059B333E2B98DADA0B307DFCCF982D933584ACF6613D8"
       "5EDB819DF8EEDB7F017FEF9213B37C11846D89D90B51FA0E"},
      {std::string("Cl\xE9 \0 de 17 octets!", 19),
       "03744E26DD44358B010E7CB2C9AC8EAD537ED9E56444BD50493E7552F6B6139CDBF2EF9091C4225A510A985088F308600EB0BC389642CC3F"
       "DF06555A02A9E04DE20AEA04402389B493964506D3CB8134679FF5C82659D5629F0F71C11036455999751834E89293C1399429B5B0D67AF3"},
  };
  for (const Cas& c : cas) {
    EXPECT_EQ(Coder(c.texte), c.code);
    EXPECT_EQ(Decoder(c.code), c.texte);
  }
}

TEST(CodageDesValeurs, RoundTripsAnyTextInUpperCaseHexadecimalOfTheExpectedLength) {
  for (size_t longueur : {0, 1, 15, 16, 17, 31, 32, 33, 100, 300}) {
    std::string texte;
    for (size_t i = 0; i < longueur; ++i) texte.push_back(static_cast<char>((i * 37 + longueur) & 0xFF));
    const std::string code = Coder(texte);
    EXPECT_EQ(code.size(), 2 * (48 + 32 * ((longueur + 15) / 16))) << longueur;
    EXPECT_EQ(code.find_first_not_of("0123456789ABCDEF"), std::string::npos) << longueur;
    EXPECT_EQ(Decoder(code), texte) << longueur;
  }
}

TEST(CodageDesValeurs, AnyChangedDigitMakesTheDecodingEmpty) {
  const std::string code = Coder("5 ABCsecret");
  for (size_t i = 0; i < code.size(); ++i) {
    std::string altere = code;
    altere[i] = altere[i] == '7' ? 'C' : '7';
    EXPECT_EQ(Decoder(altere), "") << "digit " << i;
  }
}

TEST(CodageDesValeurs, TextsThatAreNotEncodingsDecodeToNothing) {
  const std::string code = Coder("texte");
  std::string minuscules = code;
  for (char& c : minuscules) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  struct Cas {
    const char* quoi;
    std::string entree;
  };
  const Cas cas[] = {
      {"empty", ""},
      {"odd length", code.substr(1)},
      {"not hexadecimal", code.substr(0, code.size() - 1) + "G"},
      {"one block short", code.substr(0, code.size() - 32)},
      {"one block more", code + code.substr(0, 32)},
      {"too short to hold an envelope", code.substr(0, 64)},
      {"blank", std::string(96, ' ')},
  };
  for (const Cas& c : cas) EXPECT_EQ(Decoder(c.entree), "") << c.quoi;
  EXPECT_EQ(Decoder(minuscules), "texte");  // lower-case digits are read as well
}

TEST_F(RegistreEssai, InitialisationBuildsTheRootAndKeepsTheNumberOfRememberedBases) {
  const std::string session = "Software\\Norvane\\TEMPRAVO\\5.0\\Session";
  struct Cas {
    const char* quoi;
    const char* machine;
    const char* utilisateur;
    int32_t attendu;
  };
  const Cas cas[] = {
      {"missing from both hives", nullptr, nullptr, 5},
      {"in the machine hive", "9", "3", 9},
      {"in the user hive only", nullptr, "3", 3},
      {"not a number", "beaucoup", nullptr, 5},
  };
  for (const Cas& c : cas) {
    std::filesystem::remove(Store().Path(TRegistryHive::User));
    std::filesystem::remove(Store().Path(TRegistryHive::Machine));
    if (c.machine) Poser(TRegistryHive::Machine, session, "NombreBasesMemorisees", VCLRegis::Chaine(c.machine));
    if (c.utilisateur) Poser(TRegistryHive::User, session, "NombreBasesMemorisees", VCLRegis::Chaine(c.utilisateur));
    Registre::InitialiserRegistre(SupVersion::InitialiserVersion);
    ASSERT_NE(Registre::Registre(), nullptr);
    EXPECT_EQ(Registre::RacineProgramme(), "Software\\Norvane\\TEMPRAVO\\5.0\\");
    EXPECT_EQ(Registre::NombreBasesMemorisees(), c.attendu) << c.quoi;
    EXPECT_EQ(Texte(TRegistryHive::Machine, session, "NombreBasesMemorisees"), std::to_string(c.attendu)) << c.quoi;
  }
  Registre::Finaliser();
  EXPECT_EQ(Registre::Registre(), nullptr);
}

TEST_F(RegistreEssai, SessionValuesComeFromTheMachineHiveThenTheUserHive) {
  Registre::InitialiserRegistre(SupVersion::InitialiserVersion);
  Registre::TRegistre& registre = *Registre::Registre();
  const std::string session = Registre::RacineProgramme() + "Session";
  std::string valeur = "x";
  registre.LireValeurSession("Derniere", valeur);
  EXPECT_EQ(valeur, "");
  EXPECT_TRUE(registre.Erreur());
  // The machine hive has the key (the start-up wrote to it), the user hive, read last, has not.
  EXPECT_EQ(registre.TexteErreur(), "OpenKey failed for path \"" + session + "\"");

  Poser(TRegistryHive::User, session, "Derniere", VCLRegis::Chaine("utilisateur"));
  registre.LireValeurSession("Derniere", valeur);
  EXPECT_EQ(valeur, "utilisateur");
  registre.EcrireValeurSession("Derniere", "machine");
  registre.LireValeurSession("Derniere", valeur);
  EXPECT_EQ(valeur, "machine");

  Poser(TRegistryHive::Machine, "Autre", "Long", VCLRegis::Chaine(std::string(16384, 'a')));
  registre.LireChaineMachine("Autre", "Long", valeur);
  EXPECT_EQ(valeur, "");
  EXPECT_TRUE(registre.Erreur());
  Registre::Finaliser();
}
