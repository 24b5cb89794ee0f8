// The grid print and publication options: the slots and their names, the documents by version of
// the per-user stream, and the shared flag.
#include <gtest/gtest.h>

#include "streams/ProprietesImpressionGrille.h"
#include "streams/SauvegardeurTLV.h"
#include "streams/VersionParametres.h"
#include "tests/streams/DocumentsTLV.h"

using EssaiTLV::DocumentCommun;
using EssaiTLV::TOctets;

namespace {

const std::string kDocumentVide = TOctets().Entete().Entier(0).Octets();


class GrillesEssai : public ::testing::Test {
 protected:
  void TearDown() override { Version(0, 0, 0, 0); }

  static void Version(uint32_t majeur, uint32_t mineur, uint32_t release, uint32_t build) {
    TypeVersion& v = VersionParametres::VersionParametresUtilisateur();
    v.Majeur = majeur;
    v.Mineur = mineur;
    v.Release = release;
    v.Build = build;
  }
  // A tree holding one integer.
  static std::unique_ptr<TProprietes> Arbre(int32_t valeur) {
    auto t = std::make_unique<TProprietes>();
    t->Ajouter("v", TProprietes::ValeurEntier(valeur));
    return t;
  }
  static int32_t Valeur(const TProprietesImpressionGrille& g, int32_t genre, int32_t cible) {
    const TProprietes* t = g.Proprietes(genre, cible);
    return t == nullptr ? -1 : t->Lire("v").Entier;
  }
};

}  // namespace

TEST_F(GrillesEssai, SlotNames) {
  struct Cas {
    int32_t genre, cible;
    const char* nom;
  };
  const Cas cas[] = {{0, 0, "GenreProfesseur_CibleImprimer"}, {1, 1, "GenreGroupe_CiblePublier"},
                     {2, 0, "GenreClasse_CibleImprimer"},     {3, 0, ""},
                     {4, 1, ""},                              {5, 1, "GenreSalle_CiblePublier"},
                     {6, 0, "GenreEleve_CibleImprimer"},      {7, 0, ""},
                     {-1, 0, ""},                             {0, 2, ""}};
  for (const Cas& c : cas) EXPECT_EQ(TProprietesImpressionGrille::NomEmplacement(c.genre, c.cible), c.nom);
  TProprietesImpressionGrille g;
  EXPECT_FALSE(g.ModifierProprietes(3, 0, Arbre(1)));
  EXPECT_FALSE(g.ModifierProprietes(0, 2, Arbre(1)));
  EXPECT_EQ(g.Proprietes(3, 0), nullptr);
  EXPECT_EQ(g.Proprietes(9, 9), nullptr);
}

TEST_F(GrillesEssai, AGridWithNoTreeIsAnEmptyDocument) {
  TProprietesImpressionGrille g;
  TMemoryStream flux;
  ASSERT_TRUE(g.Ecrire(flux));
  EXPECT_EQ(flux.AsString(), kDocumentVide);
}

TEST_F(GrillesEssai, EachSlotTakesTheSubTreeOfItsName) {
  const std::string octets = TOctets()
                                 .Entete()
                                 .Entier(3)
                                 .Nom("Autre", 6).Entete().Entier(0)
                                 .Nom("genresalle_ciblepublier", 6).Entete().Entier(1).Nom("v", 0).Entier(4).Entier(51)
                                 .Nom("GenreSalle_CibleImprimer", 0).Entier(4).Entier(7)
                                 .Octets();
  TProprietesImpressionGrille g;
  ASSERT_TRUE(g.ModifierProprietes(0, 0, Arbre(1)));
  TMemoryStream flux;
  EssaiTLV::Charger(flux, octets + "@");
  // The integer under a slot's name makes the read false: the slots before it are as read.
  EXPECT_FALSE(g.Lire(flux));
  EXPECT_EQ(g.Proprietes(0, 0), nullptr);

  const std::string bon = TOctets()
                              .Entete()
                              .Entier(2)
                              .Nom("Autre", 6).Entete().Entier(0)
                              .Nom("GenreSalle_CiblePublier", 6).Entete().Entier(1).Nom("v", 0).Entier(4).Entier(51)
                              .Octets();
  ASSERT_TRUE(g.ModifierProprietes(6, 1, Arbre(2)));
  EssaiTLV::Charger(flux, bon + "@");
  ASSERT_TRUE(g.Lire(flux));
  EXPECT_EQ(flux.Position(), static_cast<int64_t>(bon.size()));
  for (int32_t genre = 0; genre < TProprietesImpressionGrille::kNombreGenres; ++genre)
    for (int32_t cible = 0; cible < TProprietesImpressionGrille::kNombreCibles; ++cible)
      EXPECT_EQ(Valeur(g, genre, cible), genre == 5 && cible == 1 ? 51 : -1) << genre << " " << cible;
}

TEST_F(GrillesEssai, ADocumentThatCannotBeReadChangesNoSlot) {
  TProprietesImpressionGrille g;
  ASSERT_TRUE(g.ModifierProprietes(2, 1, Arbre(3)));
  TMemoryStream flux;
  EssaiTLV::Charger(flux, "TLVtlv\x01");
  EXPECT_FALSE(g.Lire(flux));
  EXPECT_EQ(Valeur(g, 2, 1), 3);
}

TEST_F(GrillesEssai, WritingThenReadingGivesTheSameTreesInTheSameSlots) {
  for (bool remonter : {true, false}) {
    TToutesProprietesImpressionGrille source;
    source.RemonterExceptions = remonter;
    ASSERT_TRUE(source.Grilles[0].ModifierProprietes(0, 0, Arbre(100)));
    ASSERT_TRUE(source.Grilles[1].ModifierProprietes(5, 1, Arbre(151)));
    ASSERT_TRUE(source.Grilles[3].ModifierProprietes(6, 0, Arbre(360)));
    auto profond = Arbre(1);
    profond->Ajouter("sous", TProprietes::ValeurProprietes(nullptr));
    profond->Ajouter("sous.texte", TProprietes::ValeurChaine("options"));
    ASSERT_TRUE(source.Grilles[3].ModifierProprietes(2, 1, std::move(profond)));
    TMemoryStream flux;
    ASSERT_TRUE(source.Ecrire(flux));
    // The source keeps its trees.
    EXPECT_EQ(Valeur(source.Grilles[1], 5, 1), 151);

    Version(5, 0, 6, 1);
    TToutesProprietesImpressionGrille relu;
    relu.RemonterExceptions = !remonter;
    ASSERT_TRUE(relu.Grilles[2].ModifierProprietes(1, 1, Arbre(9)));
    flux.SetPosition(0);
    ASSERT_TRUE(relu.Lire(flux));
    EXPECT_EQ(flux.Position(), flux.Size());
    EXPECT_EQ(relu.RemonterExceptions, remonter);
    for (int i = 0; i < TToutesProprietesImpressionGrille::kNombreGrilles; ++i)
      for (int32_t genre = 0; genre < TProprietesImpressionGrille::kNombreGenres; ++genre)
        for (int32_t cible = 0; cible < TProprietesImpressionGrille::kNombreCibles; ++cible) {
          const TProprietes* a = source.Grilles[i].Proprietes(genre, cible);
          const TProprietes* b = relu.Grilles[i].Proprietes(genre, cible);
          ASSERT_EQ(a == nullptr, b == nullptr) << i << " " << genre << " " << cible;
          if (a != nullptr) {
            EXPECT_TRUE(EssaiTLV::MemesArbres(*a, *b)) << i << " " << genre << " " << cible;
          }
        }
  }
}

TEST_F(GrillesEssai, TheFlagIsTheFifthDocument) {
  TToutesProprietesImpressionGrille toutes;
  toutes.RemonterExceptions = true;
  TMemoryStream flux;
  ASSERT_TRUE(toutes.Ecrire(flux));
  EXPECT_EQ(flux.AsString(), kDocumentVide + kDocumentVide + kDocumentVide + kDocumentVide + DocumentCommun(1));
}

TEST_F(GrillesEssai, WhatIsReadDependsOnTheVersionOfTheStream) {
  const std::string quatre = kDocumentVide + kDocumentVide + kDocumentVide + kDocumentVide;
  const std::string sentinelle = "SENTINELLE";
  struct Cas {
    std::array<uint32_t, 4> version;
    std::string octets;
    int64_t arret;  // where the stream stops
    bool remonter;  // the flag after reading, from false
  };
  const Cas cas[] = {
      {{4, 0, 50, 0}, quatre + DocumentCommun(0), 0, true},
      {{4, 0, 99, 0}, quatre + DocumentCommun(1), 40, false},
      {{5, 0, 0, 2}, quatre + DocumentCommun(1), 40, false},
      {{5, 0, 0, 3}, quatre + DocumentCommun(1), 111, true},
      {{5, 0, 0, 3}, quatre + DocumentCommun(2), 111, true},
      {{5, 0, 6, 1}, quatre + kDocumentVide, 50, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.version[2] * 10 + c.version[3]);
    Version(c.version[0], c.version[1], c.version[2], c.version[3]);
    TToutesProprietesImpressionGrille toutes;
    ASSERT_TRUE(toutes.Grilles[0].ModifierProprietes(1, 0, Arbre(4)));
    TMemoryStream flux;
    EssaiTLV::Charger(flux, c.octets + sentinelle);
    EXPECT_TRUE(toutes.Lire(flux));
    EXPECT_EQ(flux.Position(), c.arret);
    EXPECT_EQ(toutes.RemonterExceptions, c.remonter);
    // Below 4.0.99 the grids are as they were; from then on they are as read (the documents are empty).
    EXPECT_EQ(Valeur(toutes.Grilles[0], 1, 0), c.arret == 0 ? 4 : -1);
  }
}

TEST_F(GrillesEssai, AFlagOfAnotherKindMakesTheReadFalse) {
  Version(5, 0, 6, 1);
  const std::string quatre = kDocumentVide + kDocumentVide + kDocumentVide + kDocumentVide;
  const std::string entier = TOctets()
                                 .Entete()
                                 .Entier(1)
                                 .Nom("ProprietesCommunes", 6)
                                 .Entete()
                                 .Entier(1)
                                 .Nom("RemonterExceptions", 0)
                                 .Entier(4)
                                 .Entier(1)
                                 .Octets();
  const std::string pasUnArbre = TOctets().Entete().Entier(1).Nom("ProprietesCommunes", 0).Entier(4).Entier(1).Octets();
  for (const std::string& cinquieme : {entier, pasUnArbre}) {
    TToutesProprietesImpressionGrille toutes;
    TMemoryStream flux;
    EssaiTLV::Charger(flux, quatre + cinquieme);
    EXPECT_FALSE(toutes.Lire(flux));
    EXPECT_FALSE(toutes.RemonterExceptions);
  }
  // A grid that fails stops the reading: what follows it is not taken for the next grid.
  TToutesProprietesImpressionGrille toutes;
  TMemoryStream flux;
  EssaiTLV::Charger(flux, kDocumentVide + "TLVtlv\x01" + kDocumentVide + kDocumentVide + DocumentCommun(1));
  ASSERT_TRUE(toutes.Grilles[2].ModifierProprietes(0, 1, Arbre(8)));
  EXPECT_FALSE(toutes.Lire(flux));
  EXPECT_EQ(Valeur(toutes.Grilles[2], 0, 1), 8);
  EXPECT_FALSE(toutes.RemonterExceptions);
}

TEST_F(GrillesEssai, TheSingleInstanceLivesUntilReleased) {
  TToutesProprietesImpressionGrille& a = ToutesProprietesImpressionGrille();
  EXPECT_EQ(&a, &ToutesProprietesImpressionGrille());
  a.RemonterExceptions = true;
  LibererToutesProprietesImpressionGrille();
  LibererToutesProprietesImpressionGrille();  // nothing left to release
  EXPECT_FALSE(ToutesProprietesImpressionGrille().RemonterExceptions);
}
