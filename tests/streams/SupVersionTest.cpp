// The program's version record and its text.
#include <gtest/gtest.h>

#include "objectdb/Traduction.h"
#include "streams/SupVersion.h"

TEST(VersionDuProgramme, IsTempravo5061) {
  TypeVersion v;
  SupVersion::InitialiserVersion(v);
  EXPECT_EQ(v.Nom, "TEMPRAVO");
  EXPECT_EQ(v.Majeur, 5u);
  EXPECT_EQ(v.Mineur, 0u);
  EXPECT_EQ(v.Release, 6u);
  EXPECT_EQ(v.Build, 1u);
}

TEST(VersionDuProgramme, TextWithoutTheKindWord) {
  struct Cas {
    uint32_t majeur;
    int32_t parties;
    bool avecNom;
    const char* attendu;
  };
  const Cas cas[] = {
      {5, 3, true, "TEMPRAVO 2007 - 0.6"}, {5, 4, true, "TEMPRAVO 2007 - 0.6.1"}, {5, 1, true, "TEMPRAVO 2007"},
      {5, 0, true, "TEMPRAVO "},           {4, 2, false, " 2006 - 0"},          {3, 1, false, " 3.0"},
      {6, 3, false, " 6 - 0.6"},           {5, 9, false, " 2007 - 0.6.1"},
  };
  for (const Cas& c : cas) {
    TypeVersion v;
    SupVersion::InitialiserVersion(v);
    v.Majeur = c.majeur;
    std::string texte;
    SupVersion::TexteVersion(v, c.parties, false, 0, c.avecNom, texte);
    EXPECT_EQ(texte, c.attendu) << c.majeur << " " << c.parties;
  }
}

TEST(VersionDuProgramme, TextWithTheTranslatedKindWord) {
  const std::pair<const char*, const char*> mots[] = {
      {"SupVersionControleur", "Contr\xF4leur"}, {"SupVersionServeur", "Serveur"}, {"SupVersionClient", "Client"},
      {"SupVersionNet", "Net"},                   {"SupVersionServiceWeb", "Service web"},
  };
  for (const auto& [cle, texte] : mots) Traduction::DefinirTexte(cle, texte);
  struct Cas {
    int32_t genre;
    const char* attendu;
  };
  const Cas cas[] = {
      {6, "TEMPRAVO Service web 2007 - 0.6"}, {0, "TEMPRAVO Service web 2007 - 0.6"},
      {2, "TEMPRAVO Contr\xF4leur 2007 - 0.6"}, {3, "TEMPRAVO Serveur 2007 - 0.6"},
      {4, "TEMPRAVO Client 2007 - 0.6"},        {5, "TEMPRAVONet 2007 - 0.6"},
      {1, "TEMPRAVO2007 - 0.6"},                {7, "TEMPRAVO2007 - 0.6"},
  };
  TypeVersion v;
  SupVersion::InitialiserVersion(v);
  for (const Cas& c : cas) {
    std::string texte;
    SupVersion::TexteVersion(v, 3, true, c.genre, true, texte);
    EXPECT_EQ(texte, c.attendu) << c.genre;
  }
  Traduction::Vider();
}
