// The registry object under a key: reads with defaults, the merge of the two hives by priority, the
// error texts of failed reads and writes.
#include <fstream>

#include "streams/VCLRegis.h"
#include "tests/streams/SettingsFixture.h"

namespace {
const std::string kRacine = "Software\\Norvane\\Tempravo\\Service web";
}

TEST_F(RegistreEssai, MergesTheTwoHivesByPriority) {
  struct Cas {
    const char* quoi;
    bool utilisateur, machine;
    int32_t priorite, attendu;
  };
  const Cas cas[] = {
      {"both, user wins", true, true, 0, 1}, {"machine only, user priority", false, true, 0, 2},
      {"neither, user priority", false, false, 0, 99}, {"both, machine wins", true, true, 1, 2},
      {"user only, machine priority", true, false, 1, 1}, {"neither, machine priority", false, false, 1, 99},
      {"any other priority", true, true, 2, 99},
  };
  for (const Cas& c : cas) {
    std::filesystem::remove(Store().Path(TRegistryHive::User));
    std::filesystem::remove(Store().Path(TRegistryHive::Machine));
    if (c.utilisateur) Poser(TRegistryHive::User, kRacine, "PortIp", VCLRegis::Entier(1));
    if (c.machine) Poser(TRegistryHive::Machine, kRacine, "PortIp", VCLRegis::Entier(2));
    TRegistre registre;
    registre.Racine = kRacine;
    EXPECT_EQ(registre.LireEntier("PortIp", 99, c.priorite), c.attendu) << c.quoi;
    if (c.utilisateur) Poser(TRegistryHive::User, kRacine, "Adresse", VCLRegis::Chaine("u"));
    if (c.machine) Poser(TRegistryHive::Machine, kRacine, "Adresse", VCLRegis::Chaine("m"));
    std::string texte;
    registre.LireChaine("Adresse", "d", texte, c.priorite);
    EXPECT_EQ(texte, std::string(c.attendu == 1 ? "u" : c.attendu == 2 ? "m" : "d")) << c.quoi;
  }
}

TEST_F(RegistreEssai, AFailedReadLeavesItsDefaultAndSaysWhy) {
  Poser(TRegistryHive::User, kRacine, "PortIp", VCLRegis::Entier(8080));
  struct Cas {
    const char* racine;
    const char* nom;
    const char* texte;
  };
  const Cas cas[] = {
      {"Software\\Norvane\\Tempravo\\Service web", "TailleLimite",
       "Key \"TailleLimite\" not found in path \"Software\\Norvane\\Tempravo\\Service web\""},
      {"Software\\Norvane\\Absent", "PortIp", "OpenKey failed for path \"Software\\Norvane\\Absent\""},
  };
  for (const Cas& c : cas) {
    TRegistre registre;
    registre.Racine = c.racine;
    EXPECT_EQ(registre.LireEntierUtilisateur(c.nom, 100), 100);
    EXPECT_TRUE(registre.Erreur());
    EXPECT_EQ(registre.TexteErreur(), c.texte);
    // The next operation clears the flag.
    registre.Racine = kRacine;
    EXPECT_EQ(registre.LireEntierUtilisateur("PortIp", 0), 8080);
    EXPECT_FALSE(registre.Erreur());
    EXPECT_EQ(registre.TexteErreur(), "");
  }
  // A number is not read as a text.
  TRegistre registre;
  registre.Racine = kRacine;
  EXPECT_EQ(registre.LireChaineUtilisateur("PortIp", "d"), "d");
  EXPECT_TRUE(registre.Erreur());
}

TEST_F(RegistreEssai, KeepsTheFirst255CharactersOfAText) {
  Poser(TRegistryHive::Machine, kRacine, "Long", VCLRegis::Chaine(std::string(255, 'a') + "bcd"));
  TRegistre registre;
  registre.Racine = kRacine;
  EXPECT_EQ(registre.LireChaineMachine("Long", ""), std::string(255, 'a'));
}

TEST_F(RegistreEssai, WritesEachHiveAndBothInTurn) {
  TRegistre registre;
  registre.Racine = kRacine;
  registre.EcrireEntierUtilisateur("PortIp", -2);
  registre.EcrireChaineMachine("Nom", "machine");
  registre.EcrireChaine("Adresse", "10.0.0.1");
  EXPECT_FALSE(registre.Erreur());
  EXPECT_EQ(registre.LireEntierUtilisateur("PortIp", 0), -2);
  EXPECT_EQ(registre.LireEntierMachine("PortIp", 7), 7);
  EXPECT_EQ(registre.LireChaineMachine("Nom", ""), "machine");
  EXPECT_EQ(Texte(TRegistryHive::User, kRacine, "Adresse"), "10.0.0.1");
  EXPECT_EQ(Texte(TRegistryHive::Machine, kRacine, "Adresse"), "10.0.0.1");
}

TEST_F(RegistreEssai, AFailedWriteSaysWhyAndAUserHiveFailureIsNotHiddenByTheMachineHive) {
  TRegistre registre;
  registre.Racine = kRacine;
  registre.EcrireEntierMachine(std::string(16384, 'n'), 1);
  EXPECT_TRUE(registre.Erreur());
  EXPECT_EQ(registre.TexteErreur(), "RegSetValueEx failed for path \"" + kRacine + "\" key \"" + std::string(16384, 'n') + "\"");

  { std::ofstream(Store().Path(TRegistryHive::User), std::ios::binary) << "damaged"; }
  registre.EcrireChaine("Adresse", "10.0.0.1");
  EXPECT_TRUE(registre.Erreur());
  EXPECT_EQ(registre.TexteErreur(), "CreateKey failed for path \"" + kRacine + "\"");
  EXPECT_NE(registre.DetailErreur().find("is corrupt"), std::string::npos) << registre.DetailErreur();
  EXPECT_EQ(Texte(TRegistryHive::Machine, kRacine, "Adresse"), "10.0.0.1");
}
