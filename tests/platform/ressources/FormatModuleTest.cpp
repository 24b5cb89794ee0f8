// The language module file: its exact bytes, resources read back by name without case, and every
// malformed file refused whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ressources/FormatModule.h"
#include "platform/ressources/ModuleRessources.h"

using FormatModule::TypeRessource;

TEST(FormatModule, AModuleIsItsSignatureVersionCountAndLengthPrefixedEntries) {
  const std::string octets = FormatModule::Ecrire({{"CHAINES", "abc"}});
  EXPECT_EQ(octets, std::string("NVRESMOD\x01\0\0\0\x01\0\0\0\x07\0\0\0CHAINES\x03\0\0\0abc", 34));
  std::vector<TypeRessource> lues;
  ASSERT_TRUE(FormatModule::Lire(octets, lues));
  EXPECT_EQ(lues, (std::vector<TypeRessource>{{"CHAINES", "abc"}}));
}

TEST(FormatModule, MalformedModulesAreRefusedWhole) {
  const std::string bon = FormatModule::Ecrire({{"A", "1"}, {"B", ""}});
  std::string longueurFausse = bon;
  longueurFausse[16] = 100;  // the first name's length past the end
  std::string memeNom = FormatModule::Ecrire({{"A", "1"}, {"C", ""}});
  memeNom[memeNom.size() - 5] = 'a';  // "C" becomes "a", the same name as "A"
  const struct {
    const char* nom;
    std::string octets;
  } cas[] = {
      {"empty", ""},
      {"signature", "NVRESMOX" + bon.substr(8)},
      {"version", bon.substr(0, 8) + std::string("\x02\0\0\0", 4) + bon.substr(12)},
      {"cut short", bon.substr(0, bon.size() - 1)},
      {"bytes after the last entry", bon + "x"},
      {"a length past the end", longueurFausse},
      {"a count the bytes cannot hold", bon.substr(0, 12) + std::string("\xFF\xFF\xFF\x7F", 4) + bon.substr(16)},
      {"a name given twice", memeNom},
      {"an empty name", bon.substr(0, 16) + std::string("\0\0\0\0", 4)},
  };
  for (const auto& c : cas) {
    std::vector<TypeRessource> lues{{"x", "y"}};
    EXPECT_FALSE(FormatModule::Lire(c.octets, lues)) << c.nom;
    EXPECT_TRUE(lues.empty()) << c.nom;
  }
  EXPECT_THROW((void)FormatModule::Ecrire({{"A", ""}, {"a", ""}}), std::invalid_argument);
  EXPECT_THROW((void)FormatModule::Ecrire({{"deux mots", ""}}), std::invalid_argument);
}

TEST(ModuleRessources, AModuleFileIsLoadedAsDataAndItsResourcesReadByNameWithoutCase) {
  const auto chemin = std::filesystem::temp_directory_path() / ("nv-module-" + std::to_string(::getpid()) + ".lng");
  {
    std::ofstream f(chemin, std::ios::binary);
    f << FormatModule::Ecrire({{"CHAINES", "texte"}});
  }
  const int32_t avant = ModuleRessources::NombreModulesCharges();
  const TypeHandleModule h = ModuleRessources::ChargerFichier(chemin.string());
  ASSERT_NE(h, ModuleRessources::kAucunModule);
  EXPECT_NE(h, ModuleRessources::ModuleProgramme());
  std::string contenu;
  EXPECT_TRUE(ModuleRessources::LireRessource(h, "chaines", contenu));
  EXPECT_EQ(contenu, "texte");
  EXPECT_FALSE(ModuleRessources::LireRessource(h, "DRC", contenu));
  EXPECT_EQ(ModuleRessources::NombreModulesCharges(), avant + 1);
  EXPECT_TRUE(ModuleRessources::Liberer(h));
  EXPECT_FALSE(ModuleRessources::Liberer(h));
  EXPECT_FALSE(ModuleRessources::LireRessource(h, "CHAINES", contenu));
  std::filesystem::remove(chemin);
  EXPECT_EQ(ModuleRessources::ChargerFichier(chemin.string()), ModuleRessources::kAucunModule);
}
