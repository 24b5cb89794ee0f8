// The record layouts of the 42 files: every declared record fits its stored size with no overlapping
// field, every order resolves to fields of the record, and a record of every file goes through its
// writer and its reader unchanged, its references to the files before it included.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "BaseEssai.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/sites/SupSite.h"
#include "core/records/Comparai.h"
#include "base/cours/SupCours.h"
#include "core/records/Xi.h"

namespace {

using Octets = std::vector<uint8_t>;

TFichierSup& Fichier(int32_t place) { return *SupFichiers::Fichier(place); }
uint32_t TailleStockee(int32_t place) { return Fichier(place).Description().Dispositions.back().Taille; }
std::size_t Courante(const TFichierSup& f) { return f.Description().Dispositions.size() - 1; }

// True when the zones [debut, debut + taille) are inside [0, limite) and none overlaps another.
bool ZonesDisjointes(std::vector<std::pair<int32_t, int32_t>> zones, int32_t limite, std::string& erreur) {
  std::sort(zones.begin(), zones.end());
  int32_t fin = 0;
  for (const auto& [debut, taille] : zones) {
    if (debut < fin || taille <= 0 || debut + taille > limite) {
      erreur = "zone at " + std::to_string(debut) + " of " + std::to_string(taille) + " bytes";
      return false;
    }
    fin = debut + taille;
  }
  return true;
}

TEST(DeclarationsFichiers, EveryDeclaredRecordFitsInMemoryAndInItsStoredSizeWithoutOverlaps) {
  for (int32_t place = 1; place <= 42; ++place) {
    const TypeDescriptionFichier& d = Fichier(place).Description();
    SCOPED_TRACE(d.Extension);
    if (d.Champs.empty()) continue;  // declared by its own unit as a structure
    EXPECT_STREQ(d.Champs.front().Nom, "Identifiant");
    EXPECT_EQ(d.Champs.front().Decalage, 0);
    std::vector<std::pair<int32_t, int32_t>> memoire, stocke;
    for (const TypeChampFichier& c : d.Champs) {
      memoire.emplace_back(c.Decalage, c.Taille);
      if (c.Stocke >= 0) stocke.emplace_back(c.Stocke, c.LargeurStockee());
      if (c.Sorte == TypeSorteChamp::Reference && c.CibleDe == nullptr) {
        EXPECT_TRUE(c.Cible >= 1 && c.Cible < place) << c.Nom << ": refers to an earlier file of the base order";
      }
    }
    std::string erreur;
    EXPECT_TRUE(ZonesDisjointes(memoire, static_cast<int32_t>(d.TailleEnregistrement), erreur)) << "memory " << erreur;
    EXPECT_TRUE(ZonesDisjointes(stocke, static_cast<int32_t>(TailleStockee(place)), erreur)) << "stored " << erreur;
  }
}

TEST(DeclarationsFichiers, EveryOrderResolvesAndOneIsTheIdentifierAlone) {
  // The number of orders of each file, places 1 to 42.
  const int ordres[42] = {2, 2, 2, 3, 2, 4, 3, 8, 2, 2, 2, 9, 3, 4, 4, 3, 3, 4, 14, 3, 4, 10, 3, 3, 2,
                          2, 3, 7, 3, 3, 2, 2, 2, 2, 2, 2, 4, 2, 5, 4, 3, 5};
  for (int32_t place = 1; place <= 42; ++place) {
    const TypeDescriptionFichier& d = Fichier(place).Description();
    SCOPED_TRACE(d.Extension);
    EXPECT_EQ(d.Ordres.size(), static_cast<std::size_t>(ordres[place - 1]));
    for (const TypeOrdreFichier& o : d.Ordres) {
      EXPECT_FALSE(o.Colonnes.empty());
      for (const TypeColonneFichier& c : o.Colonnes) {
        EXPECT_NE(c.Comparaison, nullptr);
        EXPECT_TRUE(c.Decalage >= 0 && c.Taille > 0 &&
                    static_cast<uint32_t>(c.Decalage + c.Taille) <= d.TailleEnregistrement);
      }
    }
    ASSERT_TRUE(d.OrdreIdentifiant >= 1 && static_cast<std::size_t>(d.OrdreIdentifiant) <= d.Ordres.size());
    const TypeOrdreFichier& identifiant = d.Ordres[static_cast<std::size_t>(d.OrdreIdentifiant - 1)];
    EXPECT_FALSE(identifiant.Unique);
    ASSERT_EQ(identifiant.Colonnes.size(), 1u);
    EXPECT_EQ(identifiant.Colonnes[0].Decalage, 0);
    EXPECT_EQ(identifiant.Colonnes[0].Taille, 4);
    EXPECT_EQ(identifiant.Colonnes[0].Comparaison, &Comparai::ComparerEntierBis);
  }
}

TEST(DeclarationsFichiers, AnOrderOnAFieldTheRecordLacksRefusesTheTable) {
  const TypeDeclarationFichier declaration{
      "Essai", ".ESS", 0x7F, 1, 4, false, {Champ::Identifiant(), Champ::Cardinal("Valeur", 0)},
      {{false, {"Identifiant"}}, {true, {"Valuer"}}}};
  const TypeDescriptionFichier description = DeclarationFichier::Decrire(declaration);
  EXPECT_EQ(description.Ordres[1].Colonnes[0].Comparaison, nullptr);
  TFichierSup fichier(description);
  EXPECT_FALSE(fichier.CreerTable());
  EXPECT_EQ(fichier.Table, nullptr);
}

class DeclarationsBase : public BaseOuverte {};

// What a new record of a file holds before its fields are written.
TEST_F(DeclarationsBase, ClearedRecordsHoldTheirFilesDefaults) {
  struct Cas {
    int32_t Place;
    const char* Champ;
    Octets Attendu;
  };
  const std::vector<Cas> cas = {
      {3, "SemainesAnnee", {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x1F}},
      {3, "SemainesPeriode1", {0xFE, 0x3F, 0, 0, 0, 0, 0}},
      {3, "SemainesPeriode2", {0, 0xC0, 0xFF, 0x07, 0, 0, 0}},
      {3, "SemainesPeriode3", {0, 0, 0, 0xF8, 0xFF, 0, 0}},
      {3, "SemainesPeriode4", {0, 0, 0, 0, 0, 0xFF, 0x1F}},
      {3, "ZonePortee", Octets(64, 0)},
      {16, "Domaine", {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0}},
      {16, "MaxT1Semaine", {0xAC, 0x0D, 0, 0}},
      {16, "MaxT1Cycle", {0, 0, 0, 0}},
      {19, "Semaines", {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x1F}},
      {8, "Presence", {1}},
      {8, "Extraction", {1}},
      {12, "Couleur", {0x0F, 0, 0, 0xFF}},
      {12, "Retenu", {1}},
      {28, "Genre", {2}},
      {28, "Retenu", {1}},
      {28, "DerniereModification", {0xFF, 0x00, 0x01, 0x80}},
      {37, "Genre", {2}},
  };
  for (const Cas& c : cas) {
    TFichierSup& f = Fichier(c.Place);
    SCOPED_TRACE(std::string(f.Description().Extension) + " " + c.Champ);
    std::memset(f.Enregistrement(), 0xEE, f.Description().TailleEnregistrement);
    f.ViderArticle();
    const TypeChampFichier* champ = DeclarationFichier::ChampNomme(f.Description(), c.Champ);
    ASSERT_NE(champ, nullptr);
    ASSERT_EQ(static_cast<std::size_t>(champ->Taille), c.Attendu.size());
    EXPECT_EQ(Octets(f.Enregistrement() + champ->Decalage, f.Enregistrement() + champ->Decalage + champ->Taille),
              c.Attendu);
    EXPECT_EQ(f.IdentifiantCourant(), 0);
  }
}

TEST_F(DeclarationsBase, ACourseStoresItsSiteByNumberAndItsPlaceOnSixteenBits) {
  constexpr int32_t kSIT = 17, kCRS = 28;
  TFichierSup& sites = Fichier(kSIT);
  sites.ViderArticle();
  const uint32_t numeroSite = 77;
  const int32_t identifiantSite = 40;
  std::memcpy(sites.Enregistrement() + 4, &numeroSite, 4);  // NumeroSite follows the identifier
  std::memcpy(sites.Table, &identifiantSite, 4);
  ASSERT_TRUE(Xi::Inserer(sites.Table));

  TFichierSup& cours = Fichier(kCRS);
  const auto champ = [&](const char* nom) {
    return cours.Enregistrement() + DeclarationFichier::ChampNomme(cours.Description(), nom)->Decalage;
  };
  cours.ViderArticle();
  const uint32_t site = 1, place = 0x12345;
  std::memcpy(champ("Site"), &site, 4);
  std::memcpy(champ("Place"), &place, 4);
  Octets stocke(102, 0);
  ASSERT_TRUE(cours.EcrireArticleStocke(stocke.data(), 102, GM_Creation));
  EXPECT_EQ(stocke[98], numeroSite);
  EXPECT_EQ(stocke[19], 0x45);
  EXPECT_EQ(stocke[20], 0x23);
  EXPECT_EQ(stocke[21], 0) << "the place keeps to its two bytes";

  for (auto [stockee, attendu] : {std::pair{numeroSite, 1u}, {static_cast<uint32_t>(identifiantSite), 0u}}) {
    std::memcpy(&stocke[98], &stockee, 4);
    ASSERT_TRUE(cours.LireArticleStocke(Courante(cours), stocke.data(), 102, GM_Creation));
    uint32_t lu;
    std::memcpy(&lu, champ("Site"), 4);
    EXPECT_EQ(lu, attendu) << stockee;
  }
}

TEST_F(DeclarationsBase, ARecordOfEveryFileGoesThroughItsWriterAndReaderUnchanged) {
  // The filled course is placed at a place that a grid of that many places holds.
  SupCours::PlaceAucune() = 0x10000;
  for (int32_t place = 1; place <= 42; ++place) {
    TFichierSup& f = Fichier(place);
    const TypeDescriptionFichier& d = f.Description();
    SCOPED_TRACE(d.Extension);
    const int32_t identifiant = static_cast<int32_t>(TailleStockee(place));
    f.ViderArticle();
    RemplirArticle(f, place);
    std::memcpy(f.Table, &identifiant, 4);
    ASSERT_TRUE(Xi::Inserer(f.Table)) << Xi::XiStatut;
    Octets original(f.Enregistrement(), f.Enregistrement() + d.TailleEnregistrement);
    // A student read from a stored record has not been extracted.
    if (place == 8) original[static_cast<std::size_t>(DeclarationFichier::ChampNomme(d, "Extraction")->Decalage)] = 0;

    Octets stocke(TailleStockee(place), 0), relu(TailleStockee(place), 0);
    ASSERT_TRUE(f.EcrireArticleStocke(stocke.data(), identifiant, GM_Creation));
    ASSERT_TRUE(f.LireArticleStocke(d.Dispositions.size() - 1, stocke.data(), identifiant, GM_Creation));
    ASSERT_TRUE(f.EcrireArticleStocke(relu.data(), identifiant, GM_Creation));
    EXPECT_EQ(relu, stocke);
    // A declared record comes back whole: every field stored, every other one as a new record has it.
    // A course recomputes its transient flags as it is read (its own tests cover them); a resource
    // relation copies the kinds, codes and names of its resources.
    if (!d.Champs.empty() && place != 28 && place != 22) {
      EXPECT_EQ(Octets(f.Enregistrement(), f.Enregistrement() + d.TailleEnregistrement), original);
    }
  }
}

TEST_F(DeclarationsBase, AResourceStoresTheWordsThatItsKindGivesMeaningTo) {
  constexpr int32_t kRES = 19;
  for (int32_t place = 1; place < kRES; ++place) {
    TFichierSup& f = Fichier(place);
    f.ViderArticle();
    RemplirArticle(f, place);
    const auto identifiant = static_cast<int32_t>(TailleStockee(place));
    std::memcpy(f.Table, &identifiant, 4);
    ASSERT_TRUE(Xi::Inserer(f.Table)) << place;
  }
  struct Cas {
    uint8_t Genre;
    uint32_t MotA, MotB, MotC;
    std::vector<std::pair<int32_t, uint32_t>> Stocke;  // offset, 32-bit value (a byte for a byte word)
  };
  const Cas cas[] = {
      // A teacher: civility and status (their identifiers), annual service.
      {0, 1, 1, 1500, {{220, TailleStockee(1)}, {224, TailleStockee(16)}, {184, 1500}}},
      // A room: number of rooms, the limited-access byte, its site (by its permanent number).
      {5, 3, 1, 1, {{184, 3}, {188, 1}, {192, SupSite::NumeroDe(1)}}},
      // A diploma: calendar, curriculum (identifiers), links managed from the students (a byte).
      {2, 1, 1, 1, {{184, TailleStockee(3)}, {188, TailleStockee(14)}, {192, 1}}},
  };
  TFichierSup& f = Fichier(kRES);
  const auto champ = [&](const char* nom) {
    return f.Enregistrement() + DeclarationFichier::ChampNomme(f.Description(), nom)->Decalage;
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(static_cast<int>(c.Genre));
    f.ViderArticle();
    FichierSup::EcrireChaineCourte(champ("Nom"), 30, "Martin");
    FichierSup::EcrireChaineCourte(champ("Prenom"), 30, "Anne");
    *champ("Genre") = c.Genre;
    std::memcpy(champ("MotA"), &c.MotA, 4);
    std::memcpy(champ("MotB"), &c.MotB, 4);
    std::memcpy(champ("MotC"), &c.MotC, 4);
    const int32_t identifiant = 560;
    std::memcpy(f.Table, &identifiant, 4);
    const Octets original(f.Enregistrement(), f.Enregistrement() + f.Description().TailleEnregistrement);
    Octets stocke(560, 0);
    ASSERT_TRUE(f.EcrireArticleStocke(stocke.data(), 560, GM_Creation));
    for (const auto& [decalage, valeur] : c.Stocke) {
      uint32_t lu = 0;
      std::memcpy(&lu, &stocke[static_cast<std::size_t>(decalage)], 4);
      EXPECT_EQ(lu, valeur) << decalage;
    }
    EXPECT_EQ(stocke[259], c.Genre == 0 ? 4 : 0) << "a first name is stored for a teacher alone";
    ASSERT_TRUE(f.LireArticleStocke(0, stocke.data(), 560, GM_Creation));
    if (c.Genre != 0) FichierSup::EcrireChaineCourte(champ("Prenom"), 30, "Anne");
    EXPECT_EQ(Octets(f.Enregistrement(), f.Enregistrement() + f.Description().TailleEnregistrement), original);
  }
}

// The stored record of a place, zero-filled, with 32-bit values at offsets.
Octets Stocke(int32_t place, std::vector<std::pair<int32_t, uint32_t>> valeurs) {
  Octets s(TailleStockee(place), 0);
  for (const auto& [decalage, valeur] : valeurs) std::memcpy(&s[static_cast<std::size_t>(decalage)], &valeur, 4);
  return s;
}

TEST_F(DeclarationsBase, AReferenceThatNamesNoRecordIsRefusedOrStandsForNoneOrTheFirstAsItsFieldSays) {
  constexpr int32_t kLIE = 7, kELE = 8, kMAT = 12, kRLM = 13, kRES = 19, kCRS = 28, kRRM = 40;
  // Two subjects, a place and a resource, with the identifiers of a loaded base.
  for (auto [place, n] : {std::pair{kLIE, 1}, {kMAT, 2}, {kRES, 1}}) {
    TFichierSup& f = Fichier(place);
    for (int k = 1; k <= n; ++k) {
      f.ViderArticle();
      RemplirArticle(f, place + k);
      const int32_t id = k * static_cast<int32_t>(TailleStockee(place));
      std::memcpy(f.Table, &id, 4);
      ASSERT_TRUE(Xi::Inserer(f.Table)) << place;
    }
  }
  // Two typologies: "Cours" then the default one, "Aucun", that a course of an unknown type takes.
  constexpr int32_t kTYP = 11;
  for (const char* nom : {"Cours", "Aucun"}) {
    TFichierSup& f = Fichier(kTYP);
    f.ViderArticle();
    FichierSup::EcrireChaineCourte(f.Enregistrement() + DeclarationFichier::ChampNomme(f.Description(), "Nom")->Decalage,
                                   13, nom);
    const int32_t id = static_cast<int32_t>((Xi::Nombre(f.Table) + 1) * TailleStockee(kTYP));
    std::memcpy(f.Table, &id, 4);
    ASSERT_TRUE(Xi::Inserer(f.Table)) << nom;
  }
  const uint32_t matiere1 = TailleStockee(kMAT), matiere2 = 2 * matiere1, lieu = TailleStockee(kLIE),
                 ressource = TailleStockee(kRES), inconnu = 999;
  struct Cas {
    int32_t Place;
    Octets Stocke;
    const char* Champ;
    bool Accepte;
    uint32_t Numero;  // the field's record number when accepted
  };
  const Cas cas[] = {
      // Both subjects of a relation must exist.
      {kRLM, Stocke(kRLM, {{0, matiere2}, {4, matiere1}}), "Seconde", true, 1},
      {kRLM, Stocke(kRLM, {{0, matiere2}, {4, inconnu}}), "Seconde", false, 0},
      {kRLM, Stocke(kRLM, {{0, matiere2}, {4, 0}}), "Seconde", false, 0},
      // A student's town: 0 is none, and so is an unknown one (a student is never refused for it).
      {kELE, Stocke(kELE, {{292, lieu}}), "Ville", true, 1},
      {kELE, Stocke(kELE, {{292, 0}}), "Ville", true, 0},
      {kELE, Stocke(kELE, {{292, inconnu}}), "Ville", true, 0},
      // A resource-subject relation keeps an unknown subject as none.
      {kRRM, Stocke(kRRM, {{4, ressource}, {8, inconnu}}), "Matiere", true, 0},
      {kRRM, Stocke(kRRM, {{4, ressource}, {8, matiere2}}), "Matiere", true, 2},
      // A course with an unknown subject takes the first.
      {kCRS, Stocke(kCRS, {{27, inconnu}}), "Matiere", true, 1},
      {kCRS, Stocke(kCRS, {{27, matiere2}}), "Matiere", true, 2},
      // Its type: the one named, else the default one, for no type as for an unknown one.
      {kCRS, Stocke(kCRS, {{39, TailleStockee(kTYP)}}), "Typologie", true, 1},
      {kCRS, Stocke(kCRS, {{39, inconnu}}), "Typologie", true, 2},
      {kCRS, Stocke(kCRS, {{39, 0}}), "Typologie", true, 2},
      {kCRS, Stocke(kCRS, {{39, 0xFFFFFFF0u}}), "Typologie", true, 2},
  };
  for (const Cas& c : cas) {
    TFichierSup& f = Fichier(c.Place);
    SCOPED_TRACE(std::string(f.Description().Extension) + " case " + std::to_string(&c - cas));
    f.ViderArticle();
    ASSERT_EQ(f.LireArticleStocke(Courante(f), c.Stocke.data(), 8, GM_Creation), c.Accepte);
    if (!c.Accepte) continue;
    uint32_t numero;
    std::memcpy(&numero, f.Enregistrement() + DeclarationFichier::ChampNomme(f.Description(), c.Champ)->Decalage, 4);
    EXPECT_EQ(numero, c.Numero);
  }
}

}  // namespace
