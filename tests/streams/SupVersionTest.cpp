// The program's version record and its text.
#include <gtest/gtest.h>

#include "core/objects/Exceptions.h"
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

TEST(VersionDuProgramme, TheKindWordNeedsTheTranslationsWhichAreNotBuiltYet) {
  TypeVersion v;
  SupVersion::InitialiserVersion(v);
  std::string texte;
  EXPECT_THROW(SupVersion::TexteVersion(v, 3, true, 6, true, texte), ENotBuiltYet);
  // A kind without a word needs no translation.
  SupVersion::TexteVersion(v, 3, true, 7, true, texte);
  EXPECT_EQ(texte, "TEMPRAVO2007 - 0.6");
}
