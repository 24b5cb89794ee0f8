// Small base services: packing selections as identifiers, sized buffers in streams, text
// conversions and the grid's start-up dimensions.
#include <cstring>
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/EmballageSelection.h"
#include "base/IEStream.h"
#include "base/MethodesConversionChaine.h"
#include "base/SupParametresGrille.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"

namespace {

constexpr int32_t kPlace = 28;  // ".CRS": zero-filled records are sound courses (no unique order)

std::vector<uint32_t> Valeurs(const TypeEnsembleMemoire& e) {
  return std::vector<uint32_t>(e.Elements, e.Elements + e.Nombre);
}

class SelectionEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    for (int32_t i = 1; i <= 3; ++i) Recevoir(OrdreRecu(GM_Creation, kPlace, 8 * i, std::vector<uint8_t>(102, 0)));
    table_ = SupFichiers::Fichier(kPlace)->Table;
    Memoire::Initialiser(selection_);
    for (uint32_t n : {3u, 1u, 2u}) (void)Memoire::Ajouter(n, selection_);
  }
  void TearDown() override {
    Memoire::Liberer(selection_);
    BaseOuverte::TearDown();
  }

  void* table_ = nullptr;
  TypeEnsembleMemoire selection_{};
};

TEST_F(SelectionEssai, APackedSelectionHoldsTheIdentifiersOfTheRecordsThatRemain) {
  Recevoir(OrdreRecu(GM_Suppression, kPlace, 16, {}));  // record 2
  ASSERT_TRUE(Xi::AllerA(table_, 3));
  void* bloc = nullptr;
  std::size_t taille = 0;
  EmballageSelection::EmballerSelection(selection_, table_, bloc, taille);
  ASSERT_EQ(taille, 12u);
  int32_t valeurs[3];
  std::memcpy(valeurs, bloc, 12);
  EXPECT_EQ(std::vector<int32_t>(valeurs, valeurs + 3), (std::vector<int32_t>{2, 24, 8}));
  EXPECT_EQ(Xi::NumeroCourant(table_), 3u) << "the position is kept";

  TypeEnsembleMemoire rendue{};
  const void* suite = EmballageSelection::DeballerSelection(bloc, taille, table_, kPlace - 1, rendue);
  EXPECT_EQ(suite, static_cast<uint8_t*>(bloc) + 12);
  EXPECT_EQ(Valeurs(rendue), (std::vector<uint32_t>{3, 1}));
  Memoire::Liberer(rendue);
  Memoire::Desallouer(bloc, taille);
}

TEST_F(SelectionEssai, UnpackingSkipsUnknownIdentifiersAndRefusesShortBlocks) {
  const int32_t paquet[] = {3, 24, 999, 8};
  TypeEnsembleMemoire rendue{};
  ASSERT_NE(EmballageSelection::DeballerSelection(paquet, sizeof paquet, table_, kPlace - 1, rendue), nullptr);
  EXPECT_EQ(Valeurs(rendue), (std::vector<uint32_t>{3, 1}));
  Memoire::Liberer(rendue);
  EXPECT_EQ(EmballageSelection::DeballerSelection(paquet, sizeof paquet - 1, table_, kPlace - 1, rendue), nullptr);
  EXPECT_EQ(rendue.Nombre, 0u);
  Memoire::Liberer(rendue);
}

TEST_F(SelectionEssai, AHeaderGoesInFrontOfThePackedSelection) {
  const uint8_t entete[] = {0xAA, 0xBB};
  void* bloc = nullptr;
  std::size_t taille = 0;
  EmballageSelection::EmballerSelectionAvecEntete(table_, entete, sizeof entete, selection_, bloc, taille);
  ASSERT_EQ(taille, 2u + 16u);
  const auto* b = static_cast<const uint8_t*>(bloc);
  EXPECT_EQ(std::vector<uint8_t>(b, b + 6), (std::vector<uint8_t>{0xAA, 0xBB, 3, 0, 0, 0}));
  Memoire::Desallouer(bloc, taille);
  TypeEnsembleMemoire identifiants{};
  Memoire::Initialiser(identifiants);
  EmballageSelection::IdentifiantsDeSelection(selection_, nullptr, identifiants);
  EXPECT_EQ(identifiants.Nombre, 0u) << "no table, no identifiers";
  Memoire::Liberer(identifiants);
}

TEST(TIEStreamTampons, AReaderTakesWhatItsBufferHoldsAndSkipsTheRest) {
  TMemoryStream flux;
  const uint8_t dix[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  ASSERT_TRUE(TIEStream::Ecrire(&flux, dix, 10));
  ASSERT_TRUE(TIEStream::Ecrire(&flux, dix, 2));
  const int32_t negatif = -1;
  flux.WriteBuffer(&negatif, 4);
  flux.SetPosition(0);
  uint8_t quatre[4] = {};
  EXPECT_TRUE(TIEStream::Lire(&flux, quatre, 4));
  EXPECT_EQ(std::vector<uint8_t>(quatre, quatre + 4), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(flux.Position(), 14);
  EXPECT_FALSE(TIEStream::Lire(&flux, quatre, 4)) << "only 2 bytes were written";
  EXPECT_EQ(flux.Position(), 20);
  EXPECT_FALSE(TIEStream::Lire(&flux, quatre, 4)) << "a negative size";
  EXPECT_FALSE(TIEStream::Lire(&flux, quatre, 4)) << "nothing left";
  TMemoryStream court;
  const int32_t cent = 100;
  court.WriteBuffer(&cent, 4);
  court.WriteBuffer(dix, 10);
  court.SetPosition(0);
  EXPECT_FALSE(TIEStream::Lire(&court, quatre, 4)) << "a size beyond the stream";
}

TEST(TMethodesConversionChaineTextes, NumbersAndBooleans) {
  EXPECT_EQ(TMethodesConversionChaine::EntierVersTexte(7, 3), "007");
  EXPECT_EQ(TMethodesConversionChaine::EntierVersTexte(98765, 3), "98765");
  EXPECT_EQ(TMethodesConversionChaine::EntierVersTexte(-5, 4), "00-5");
  EXPECT_EQ(TMethodesConversionChaine::EntierVersTexte(-5, 0), "-5");
  const struct {
    const char* texte;
    int32_t valeur;
  } cas[] = {{"42", 42},        {"-42", -42},
             {"", 0},           {"12x", 0},
             {"x", 0},          {"2147483647", 2147483647},
             {"2147483648", 0}, {"-2147483648", INT32_MIN}};
  for (const auto& c : cas) EXPECT_EQ(TMethodesConversionChaine::TexteVersEntier(c.texte), c.valeur) << c.texte;
  EXPECT_EQ(TMethodesConversionChaine::BooleenVersTexte(true), "vrai");
  EXPECT_EQ(TMethodesConversionChaine::BooleenVersTexte(false), "faux");
}

TEST(SupParametresGrilleDimensions, StartUpValuesAndThoseThatFollowFromABase) {
  const TypeParametresGrille& p = SupParametresGrille::Parametres();
  const std::vector<int32_t> demarrage = {
      p.PlacesParJour,           p.NombreJours,         p.HeuresParJour,   p.PlacesParHeure,
      p.PlacesParHeureAffichage, p.DernierePlaceDuJour, p.DernierJour,     p.NombrePlaces,
      p.DernierePlace,           p.MotsPlaces,          p.MotsPlacesPlusUn};
  EXPECT_EQ(demarrage, (std::vector<int32_t>{20, 1, 10, 2, 2, 19, 0, 20, 19, 0, 1}));
  SupParametresGrille::Definir(48, 6, 12);
  EXPECT_EQ(p.PlacesParHeure, 4);
  EXPECT_EQ(p.NombrePlaces, 288);
  EXPECT_EQ(p.DernierePlace, 287);
  EXPECT_EQ(p.MotsPlaces, 9);
  EXPECT_EQ(p.MotsPlacesPlusUn, 10);
  SupParametresGrille::Initialiser();
  EXPECT_EQ(p.NombrePlaces, 20);
}

}  // namespace
