// Course typologies and weightings: their stored layouts, the old weighting scale, the default rows,
// the lookups that courses fall back on, and the creations of the small reference files as requests
// to the server (code and payload bytes).
#include <cstddef>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "BaseEssai.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupCivilite.h"
#include "base/fichiers/SupLieu.h"
#include "base/fichiers/SupModaliteAdmission.h"
#include "base/fichiers/SupPays.h"
#include "base/fichiers/SupPonderation.h"
#include "base/fichiers/SupTypologieCours.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"

namespace {

using Lignes = std::vector<std::string>;
constexpr int32_t kCIV = 1, kPON = 2, kTYP = 11;

std::string Nom(const uint8_t* champ, int32_t capacite) { return FichierSup::LireChaineCourte(champ, capacite); }

std::vector<uint8_t> Octets4(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// A typology's stored record in one of its layouts (14, 20 or 28 bytes).
std::vector<uint8_t> TypologieStockee(std::size_t taille, const std::string& nom, uint32_t couleur = 0,
                                      int32_t duree = 0, uint8_t structure = 0) {
  std::vector<uint8_t> s = Chaine(nom, 13);
  s.resize(taille, 0);
  if (taille >= 20) std::memcpy(&s[16], &couleur, 4);
  if (taille >= 28) {
    std::memcpy(&s[20], &duree, 4);
    s[24] = structure;
  }
  return s;
}

// Registers every file again for a base of that version (table numbers stay the base order).
void Reinscrire(const TypeVersionFormat& version) {
  SupFichiers::VersionBase() = version;
  NetBases::BaseAnterieure506() = true;
  NetXi::LibererTables();
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
}

void ViderFichier(int32_t place) { ASSERT_TRUE(SupFichiers::Fichier(place)->CreerTable()); }

// Three places per hour, so that the default duration is not the start-up value.
class Typologies : public BaseOuverte {
 protected:
  void SetUp() override {
    SupParametresGrille::Definir(30, 5, 10);
    BaseOuverte::SetUp();
    client_.Exclusif = true;
  }
  void TearDown() override {
    BaseOuverte::TearDown();
    SupParametresGrille::Initialiser();
    SupFichiers::VersionBase() = TypeVersionFormat{};
    NetBases::BaseAnterieure506() = false;
  }
  static Lignes Contenu() {
    Lignes l;
    void* t = SupTypologieCours::Fichier().Table;
    for (bool ok = Xi::Premier(t, 0); ok; ok = Xi::Suivant(t, 0)) {
      const auto* e = SupTypologieCours::Article();
      l.push_back(Nom(e->Nom, 13) + " " + std::to_string(e->Duree) + " " + std::to_string(e->Structure));
    }
    return l;
  }
};

// The units read their records through structures; the declarations place the same fields.
TEST(DeclaredUnits, EachUnitsStructureHasTheOffsetsOfItsDeclaration) {
  struct Cas {
    const char* Champ;
    const TFichierSup& Fichier;
    std::size_t Decalage, Taille;
  };
  using P = TypeEnregistrementPays;
  using L = TypeEnregistrementLieu;
  using T = TypeEnregistrementTypologie;
  const std::vector<Cas> cas = {
      {"Code", SupPays::Fichier(), offsetof(P, Code), sizeof(P)},
      {"Nom", SupPays::Fichier(), offsetof(P, Nom), sizeof(P)},
      {"Nationalite", SupPays::Fichier(), offsetof(P, Nationalite), sizeof(P)},
      {"Pays", SupLieu::Fichier(), offsetof(L, Pays), sizeof(L)},
      {"Nom", SupLieu::Fichier(), offsetof(L, Nom), sizeof(L)},
      {"Nom", SupModaliteAdmission::Fichier(), offsetof(TypeEnregistrementModalite, Nom),
       sizeof(TypeEnregistrementModalite)},
      {"Nom", SupCivilite::Fichier(), offsetof(TypeEnregistrementCivilite, Nom), sizeof(TypeEnregistrementCivilite)},
      {"Valeur", SupPonderation::Fichier(), offsetof(TypeEnregistrementPonderation, Valeur),
       sizeof(TypeEnregistrementPonderation)},
      {"Couleur", SupTypologieCours::Fichier(), offsetof(T, Couleur), sizeof(T)},
      {"Nom", SupTypologieCours::Fichier(), offsetof(T, Nom), sizeof(T)},
      {"Duree", SupTypologieCours::Fichier(), offsetof(T, Duree), sizeof(T)},
      {"Structure", SupTypologieCours::Fichier(), offsetof(T, Structure), sizeof(T)},
  };
  for (const Cas& c : cas) {
    const TypeDescriptionFichier& d = c.Fichier.Description();
    SCOPED_TRACE(std::string(d.Extension) + " " + c.Champ);
    const TypeChampFichier* champ = DeclarationFichier::ChampNomme(d, c.Champ);
    ASSERT_NE(champ, nullptr);
    EXPECT_EQ(champ->Decalage, static_cast<int32_t>(c.Decalage));
    EXPECT_EQ(d.TailleEnregistrement, c.Taille);
  }
}

TEST_F(Typologies, EveryOldLayoutSuppliesWhatItLacks) {
  const TypeDescriptionFichier& d = SupTypologieCours::Fichier().Description();
  TFichierSup& f = SupTypologieCours::Fichier();
  std::vector<uint8_t> tropLong = TypologieStockee(14, "Travaux dirig");
  tropLong[0] = 40;  // a length byte beyond the field
  // base version, stored record, then name, colour, duration and structure read
  const std::vector<std::tuple<TypeVersionFormat, std::vector<uint8_t>, std::string, uint32_t, int32_t, int>> cas = {
      {{2, 0, 11, 9}, TypologieStockee(14, "TD"), "TD", 0xFF00000F, 3, 1},
      {{2, 0, 11, 0}, TypologieStockee(14, ""), "Cours", 0xFF00000F, 3, 1},
      {{2, 0, 11, 0}, tropLong, "Travaux dirig", 0xFF00000F, 3, 1},
      {{2, 0, 12, 0}, TypologieStockee(20, "TP", 0x00123456), "TP", 0x00123456, 3, 1},
      {{4, 0, 98, 0}, TypologieStockee(20, "", 0x00123456), "", 0x00123456, 3, 1},
      {{4, 0, 99, 0}, TypologieStockee(28, "Option", 0x00654321, 7, 3), "Option", 0x00654321, 7, 3},
  };
  for (const auto& [version, stocke, nom, couleur, duree, structure] : cas) {
    SCOPED_TRACE(nom + " " + std::to_string(version.Revision));
    const std::size_t disposition = f.DispositionPour(version, true);
    ASSERT_EQ(d.Dispositions[disposition].Taille, stocke.size());
    ASSERT_TRUE(f.LireArticleStocke(disposition, stocke.data(), 14, GM_Creation));
    const auto* e = SupTypologieCours::Article();
    EXPECT_EQ(Nom(e->Nom, 13), nom);
    EXPECT_EQ(e->Couleur, couleur);
    EXPECT_EQ(e->Duree, duree);
    EXPECT_EQ(e->Structure, structure);
  }
  // The writer always gives the current layout.
  std::vector<uint8_t> ecrit(28, 0xEE);
  ASSERT_TRUE(f.EcrireArticleStocke(ecrit.data(), 14, GM_Creation));
  EXPECT_EQ(ecrit, TypologieStockee(28, "Option", 0x00654321, 7, 3));
}

TEST_F(Typologies, AnOldBaseNamesAnUnnamedTypologyCoursAndItCollidesWithTheRealOne) {
  Reinscrire({2, 0, 11, 0});
  Recevoir(OrdreRecu(GM_Creation, kTYP, 14, TypologieStockee(14, "Cours")));
  Recevoir(OrdreRecu(GM_Creation, kTYP, 28, TypologieStockee(14, "")));
  Recevoir(OrdreRecu(GM_Creation, kTYP, 42, TypologieStockee(14, "TD")));
  EXPECT_EQ(Contenu(), (Lignes{"Cours 3 1", "TD 3 1"}));
}

TEST_F(Typologies, TheDefaultTypologiesThenTheDurationOfAucunForEveryOtherName) {
  ASSERT_TRUE(SupTypologieCours::CreerTypologiesCoursParDefaut());
  EXPECT_EQ(Contenu(), (Lignes{"Aucun 3 0", "Cours 3 1", "TD 3 2", "TP 3 2", "Option 3 3"}));
  EXPECT_EQ(SupTypologieCours::TypologieParDefaut(), 1u);
  EXPECT_EQ(SupTypologieCours::DureeTypologieParDefaut(), 3);

  TFichierSup& f = SupTypologieCours::Fichier();
  ASSERT_TRUE(Xi::AllerA(f.Table, 1));
  SupTypologieCours::Article()->Duree = 5;
  ASSERT_TRUE(Xi::Modifier(f.Table));
  // The creation is notified once the duration is written.
  std::vector<int32_t> notifiees;
  NetXi::Table(kTYP)->SurModification1 = [&](TypeGenreModif, int32_t, int32_t) {
    notifiees.push_back(SupTypologieCours::Article()->Duree);
  };
  Traduction::DefinirTexte("SupAffTypologieCoursParDefaut", "<Aucun>");
  EXPECT_TRUE(SupTypologieCours::CreerTypologieCours("Amphitheatres long", 1));
  EXPECT_FALSE(SupTypologieCours::CreerTypologieCours("cours", 1)) << "the unique name ignores case";
  EXPECT_FALSE(SupTypologieCours::CreerTypologieCours("<AUCUN>", 1)) << "the displayed default name";
  EXPECT_FALSE(SupTypologieCours::CreerTypologieCours("", 1));
  EXPECT_FALSE(SupTypologieCours::CreerTypologieCours("TP", 2)) << "the unique name";
  EXPECT_EQ(notifiees, (std::vector<int32_t>{5}));
  EXPECT_EQ(Contenu().back(), "Amphitheatres 5 1") << "cut to 13 characters";
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);

  // Lookups: the position is kept by the readers, made current by the search.
  ASSERT_TRUE(Xi::AllerA(f.Table, 4));
  EXPECT_EQ(SupTypologieCours::NomTypologieCours(2), "Cours");
  EXPECT_EQ(SupTypologieCours::NomTypologieCours(99), "");
  EXPECT_EQ(SupTypologieCours::StructureTypologie(5), 3);
  EXPECT_EQ(SupTypologieCours::StructureTypologie(0), 1);
  EXPECT_EQ(SupTypologieCours::TypologieParDefaut(), 1u);
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 4u);
  EXPECT_TRUE(SupTypologieCours::ChercherTypologieCours());
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 2u);
}

TEST_F(Typologies, WithoutAucunTheDefaultsAreNoneAndANewTypologyHasNoDuration) {
  EXPECT_EQ(SupTypologieCours::TypologieParDefaut(), 0u);
  EXPECT_FALSE(SupTypologieCours::ChercherTypologieCours());
  ASSERT_TRUE(SupTypologieCours::CreerTypologieCours("Stage", 1));
  EXPECT_EQ(Contenu(), (Lignes{"Stage 0 1"}));
  ASSERT_TRUE(SupTypologieCours::CreerTypologieCours("TD", 2));
  EXPECT_EQ(Contenu(), (Lignes{"Stage 0 1", "TD 3 2"}));
}

// --- Weightings

class Ponderations : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    client_.Exclusif = true;
  }
  void TearDown() override {
    BaseOuverte::TearDown();
    SupFichiers::VersionBase() = TypeVersionFormat{};
    NetBases::BaseAnterieure506() = false;
  }
  static std::vector<uint32_t> Valeurs() {
    std::vector<uint32_t> v;
    void* t = SupPonderation::Fichier().Table;
    for (bool ok = Xi::Premier(t, 0); ok; ok = Xi::Suivant(t, 0)) v.push_back(SupPonderation::Article()->Valeur);
    return v;
  }
  // Registers the file for a base of that version and receives the stored values (identifiers 4, 8, ...;
  // an all-0xFF value is an empty slot, not received).
  static void Charger(const TypeVersionFormat& version, const std::vector<uint32_t>& stockes) {
    Reinscrire(version);
    ViderFichier(kPON);
    for (std::size_t i = 0; i < stockes.size(); ++i)
      if (stockes[i] != 0xFFFFFFFF)
        Recevoir(OrdreRecu(GM_Creation, kPON, static_cast<int32_t>(4 * (i + 1)), Octets4(stockes[i])));
  }
};

TEST_F(Ponderations, TheDefaultWeightingsFillAnEmptyFileOnly) {
  ASSERT_TRUE(SupPonderation::CreerPonderationsParDefaut());
  const std::vector<uint32_t> attendues = {36000, 0,     18000, 21000, 24000, 27000, 30000, 33000, 39000, 42000,
                                           45000, 48000, 51000, 54000, 57000, 60000, 63000, 66000, 69000, 72000};
  EXPECT_EQ(Valeurs(), attendues);
  EXPECT_EQ(SupPonderation::PonderationParDefaut(), 1u);
  ASSERT_TRUE(SupPonderation::CreerPonderationsParDefaut());
  EXPECT_EQ(Valeurs().size(), 20u);

  ViderFichier(kPON);
  EXPECT_EQ(SupPonderation::PonderationParDefaut(), 0u);
  EXPECT_FALSE(SupPonderation::ChercherPonderationParDefaut());
  ASSERT_TRUE(SupPonderation::CreerPonderation(18000));
  EXPECT_FALSE(SupPonderation::CreerPonderation(18000)) << "two weightings never share a value";
  ASSERT_TRUE(SupPonderation::CreerPonderationsParDefaut());
  EXPECT_EQ(Valeurs(), (std::vector<uint32_t>{18000}));
  ASSERT_TRUE(SupPonderation::CreerPonderation(36000));
  ASSERT_TRUE(Xi::AllerA(SupPonderation::Fichier().Table, 1));
  EXPECT_TRUE(SupPonderation::ChercherPonderationParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(SupPonderation::Fichier().Table), 2u);
}

TEST_F(Ponderations, TheFirstRecordOfAnOldFileDecidesItsScale) {
  // base version, stored values (the first at identifier 4), values read
  const std::vector<std::tuple<TypeVersionFormat, std::vector<uint32_t>, std::vector<uint32_t>>> cas = {
      {{3, 0, 20, 0}, {1296000, 18000 * 36}, {36000, 18000}},
      {{3, 0, 20, 9}, {1000, 500}, {36000, 18000}},
      {{3, 0, 20, 0}, {36000, 18000}, {36000, 18000}},
      {{3, 0, 20, 0}, {0xFFFFFFFF, 18000}, {18000}},
      {{3, 0, 21, 0}, {1296000, 18000}, {1296000, 18000}},
      {{2, 0, 0, 0}, {1000, 0xFFFFFFFF, 4000000000u}, {36000, 4000000000u * 36u}},
  };
  for (const auto& [version, stockes, lues] : cas) {
    SCOPED_TRACE(std::to_string(version.Revision) + " " + std::to_string(stockes.front()));
    Charger(version, stockes);
    EXPECT_EQ(Valeurs(), lues);
  }
}

TEST_F(Ponderations, AnOrderReceivedLaterKeepsTheScaleTheFileWasLoadedWith) {
  Charger({3, 0, 20, 0}, {1296000, 72000 * 36});
  // A later change of the first record, on whatever scale, does not switch the values after it.
  Recevoir(OrdreRecu(GM_Modification, kPON, 4, Octets4(1000)));
  Recevoir(OrdreRecu(GM_Creation, kPON, 12, Octets4(54000 * 36)));
  EXPECT_EQ(Valeurs(), (std::vector<uint32_t>{27, 72000, 54000}));
  // A new registration decides again.
  Charger({3, 0, 20, 0}, {1000, 2000});
  EXPECT_EQ(Valeurs(), (std::vector<uint32_t>{36000, 72000}));
}

// --- Creations as requests to the server: the code, the payload bytes and the answer.

struct CasCreation {
  const char* Quoi;
  std::function<bool()> Creer;
  uint32_t Code;
  int32_t Table;
  std::vector<uint8_t> Donnees;
};

std::vector<uint8_t> Concatener(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

TEST_F(BaseOuverte, EveryCreationIsOneRequestWithItsPayloadAndFindsTheNewRecord) {
  std::vector<uint8_t> typologie(32, 0);
  const auto nomTypologie = Chaine("Amphi", 13);
  std::copy(nomTypologie.begin(), nomTypologie.end(), typologie.begin() + 8);
  typologie[28] = 1;
  const std::vector<CasCreation> cas = {
      {"country", [] { return SupPays::CreerPays("France", "française", "FRA"); }, 0x80280100, 6,
       Concatener({Chaine("FRA", 3), Chaine("France", 30), Chaine("française", 30)})},
      {"modality", [] { return SupModaliteAdmission::CreerModalite("Concours"); }, 0x802E0100, 5,
       Chaine("Concours", 60)},
      {"civility", [] { return SupCivilite::CreerCivilite("Madame"); }, 0x80060100, kCIV, Chaine("Madam", 5)},
      {"weighting", [] { return SupPonderation::CreerPonderation(18000); }, 0x80070100, kPON, Octets4(18000)},
      {"typology", [] { return SupTypologieCours::CreerTypologieCours("Amphi", 1); }, 0x800D0100, kTYP, typologie},
  };
  client_.Exclusif = false;
  for (const CasCreation& c : cas) {
    SCOPED_TRACE(c.Quoi);
    client_.Envoyees.clear();
    // The server answers with the new identifier; its order arrives meanwhile, or not.
    bool ordre = true;
    client_.Serveur = [&](const RequeteEnvoyee& r, void* reponse) {
      const int32_t identifiant = static_cast<int32_t>(NetXi::Table(c.Table)->TailleStockee);
      std::vector<uint8_t> stocke = r.Donnees;
      if (c.Table == kTYP) stocke = TypologieStockee(28, "Amphi", 0, 0, 1);
      if (ordre) Recevoir(OrdreRecu(GM_Creation, c.Table, identifiant, stocke));
      std::memcpy(reponse, &identifiant, 4);
      return true;
    };
    EXPECT_TRUE(c.Creer());
    ASSERT_EQ(client_.Envoyees.size(), 1u);
    EXPECT_EQ(client_.Envoyees[0].Code, c.Code);
    EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
    EXPECT_EQ(client_.Envoyees[0].Donnees, c.Donnees);
    EXPECT_EQ(SupFichiers::Fichier(c.Table)->IdentifiantCourant(),
              static_cast<int32_t>(NetXi::Table(c.Table)->TailleStockee));
    ordre = false;
    ViderFichier(c.Table);
    EXPECT_FALSE(c.Creer()) << "accepted, but the new record is not there";
  }
  // The default contents are one request without payload; nothing is created locally meanwhile.
  const std::vector<std::pair<std::function<bool()>, uint32_t>> defauts = {
      {SupPays::CreerPaysParDefaut, 0x80280000},
      {SupCivilite::CreerCivilitesParDefaut, 0x80060000},
      {SupPonderation::CreerPonderationsParDefaut, 0x80070000},
      {SupTypologieCours::CreerTypologiesCoursParDefaut, 0x800D0000},
  };
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  for (const auto& [creer, code] : defauts) {
    client_.Envoyees.clear();
    EXPECT_TRUE(creer());
    ASSERT_EQ(client_.Envoyees.size(), 1u);
    EXPECT_EQ(client_.Envoyees[0].Code, code);
    EXPECT_TRUE(client_.Envoyees[0].Donnees.empty());
  }
  // Refused before anything is sent.
  client_.Envoyees.clear();
  EXPECT_FALSE(SupTypologieCours::CreerTypologieCours("", 1));
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(BaseOuverte, EachDefaultCivilityIsARequestNestedInTheDefaultContents) {
  client_.Exclusif = true;
  Traduction::DefinirTexte("SupCivilite/DefautM", "M.");
  Traduction::DefinirTexte("SupCivilite/DefautMme", "Mme");
  Lignes piles;
  NetXi::Table(kCIV)->SurModification1 = [&](TypeGenreModif, int32_t, int32_t) {
    std::string nom;
    SupTraitement::NomTraitement(SupTraitement::TraitementCourant(), nom);
    piles.push_back(std::to_string(SupTraitement::Profondeur()) + " " + nom);
  };
  ASSERT_TRUE(SupCivilite::CreerCivilitesParDefaut());
  // Each creation pushed its own code over the outermost one; the missing "Mlle" gives a second empty
  // name, refused by the unique name order.
  const std::string imbriquee = "2 CM_CREER_CIVILITES_PAR_DEFAUT";
  EXPECT_EQ(piles, (Lignes{imbriquee, imbriquee, imbriquee}));
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

}  // namespace
