// Families, their headings (sub-families) and the headings given to records: the genre conversions
// of older bases, the default contents in CFA mode, the renamed headings of old bases, the reserved
// headings, and the deletions with everything that depends on a family or a heading.
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/SupParam.h"
#include "base/eleves/SupEleve.h"
#include "base/eleves/SupFamille.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/eleves/SupSousFamille.h"
#include "base/matieres/SupMatiere.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"

namespace {

using Octets = std::vector<uint8_t>;
constexpr int32_t kELE = 8, kFMR = 9, kSFM = 10, kMAT = 12, kRFM = 21;
using SupFamille::kGenreEleve;
using SupFamille::kGenreMatiere;

Octets Famille(uint8_t genre, const std::string& nom) {
  Octets s{genre};
  const Octets n = Chaine(nom, 13);
  s.insert(s.end(), n.begin(), n.end());
  return s;
}
Octets SousFamille(int32_t famille, const std::string& nom) {
  Octets s(20, 0);
  std::memcpy(s.data(), &famille, 4);
  const Octets n = Chaine(nom, 13);
  std::copy(n.begin(), n.end(), s.begin() + 4);
  return s;
}
Octets Relation(int32_t element, int32_t famille, int32_t rubrique) {
  Octets s(12);
  std::memcpy(&s[0], &element, 4);
  std::memcpy(&s[4], &famille, 4);
  std::memcpy(&s[8], &rubrique, 4);
  return s;
}

class Familles : public BaseOuverte {
 protected:
  void TearDown() override {
    SupParam::DefinirModeCFA(false);
    NetBases::BaseAnterieure506() = false;
    SupFichiers::VersionBase() = {};
    BaseOuverte::TearDown();
  }
  static void Version(const TypeVersionFormat& v) {
    SupFichiers::VersionBase() = v;
    NetBases::BaseAnterieure506() = true;
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  }
  static std::string NomFamille(int32_t identifiant) {
    if (!SupFamille::ChercherFamilleParNumero(identifiant)) return "(refused)";
    return FichierSup::LireChaineCourte(SupFamille::Article()->Nom, 13);
  }
  static std::string NomSousFamille(int32_t identifiant) {
    if (!SupSousFamille::ChercherParIdentifiant(identifiant)) return "(refused)";
    return FichierSup::LireChaineCourte(SupSousFamille::Article()->Nom, 13);
  }
  static uint32_t Numero(TFichierSup& f) { return Xi::NumeroCourant(f.Table); }
  // A student and a subject that headings can be given to (identifiers 536 and 228).
  static void ChargerElements() {
    Octets eleve(536, 0);
    const Octets nom = Chaine("Martin", 25);
    std::copy(nom.begin(), nom.end(), eleve.begin() + 85);
    Recevoir(OrdreRecu(GM_Creation, kELE, 536, eleve));
    Recevoir(OrdreRecu(GM_Creation, kMAT, 228, Octets(228, 0)));
  }
};

TEST_F(Familles, TheStoredGenreMeansWhatTheBaseVersionSaysWithAndWithoutCFAMode) {
  struct Cas {
    TypeVersionFormat Version;
    bool CFA;
    uint8_t Stocke;
    const char* Nom;
    bool Accepte;
    uint8_t Genre;
    bool Renomme;
  };
  const Cas cas[] = {
      // Below 2.0.3: three genres only.
      {{2, 0, 2, 0}, false, 0, "x", true, 1, false},
      {{2, 0, 2, 0}, false, 2, "x", true, 2, false},
      {{2, 0, 2, 0}, true, 5, "faf", true, 4, false},
      {{2, 0, 2, 0}, false, 3, "x", false, 0, false},
      // Below 2.0.86: "faf" becomes "CFA" in CFA mode; 3 is a diploma family, 4 a room family.
      {{2, 0, 3, 0}, true, 3, "FaF", true, 2, true},
      {{2, 0, 85, 0}, false, 4, "faf", true, 4, false},
      {{2, 0, 85, 0}, true, 0x85, "x", true, 4, false},
      {{2, 0, 85, 0}, true, 6, "cfa", true, 1, false},
      // Below 2.0.103: "cfa" in CFA mode.
      {{2, 0, 86, 0}, true, 0, "Cfa", true, 0, true},
      {{2, 0, 102, 9}, true, 0, "faf", true, 0, false},
      {{2, 0, 102, 0}, false, 0, "cfa", true, 0, false},
      // Below 4.0.3: the same genres, no renaming.
      {{2, 0, 103, 0}, true, 3, "cfa", true, 2, false},
      {{4, 0, 2, 0}, true, 9, "x", true, 0, false},
      // Below 4.0.99: top bit cleared, 4 and 6 teachers, 5 rooms.
      {{4, 0, 3, 0}, false, 3, "x", true, 3, false},
      {{4, 0, 98, 0}, false, 0x86, "x", true, 1, false},
      {{4, 0, 98, 0}, false, 5, "x", true, 4, false},
      {{4, 0, 98, 0}, false, 7, "x", true, 0, false},
      // Current: as stored; a genre above 6 names no file.
      {{4, 0, 99, 0}, false, 6, "x", true, 6, false},
      {{5, 0, 6, 1}, false, 7, "x", false, 0, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::to_string(c.Version.Revision) + " stored " + std::to_string(c.Stocke) + " " + c.Nom);
    uint8_t genre = 0xEE;
    bool renomme = false;
    ASSERT_EQ(SupFamille::ConvertirGenre(c.Version, c.CFA, c.Stocke, c.Nom, genre, renomme), c.Accepte);
    if (!c.Accepte) continue;
    EXPECT_EQ(genre, c.Genre);
    EXPECT_EQ(renomme, c.Renomme);
  }
}

TEST_F(Familles, AnOldCFABaseLoadsFAFAsCFAAndRefusesAFamilyOfNoGenreWithItsHeadings) {
  SupParam::DefinirModeCFA(true);
  Version({2, 0, 50, 0});
  Recevoir(OrdreRecu(GM_Creation, kFMR, 15, Famille(0, "FAF")));
  EXPECT_EQ(NomFamille(15), "CFA");
  EXPECT_EQ(SupFamille::Article()->Genre, 0);
  Version({5, 0, 6, 1});
  Recevoir(OrdreRecu(GM_Creation, kFMR, 30, Famille(9, "Autre")));
  EXPECT_EQ(NomFamille(30), "(refused)");
  Recevoir(OrdreRecu(GM_Creation, kSFM, 20, SousFamille(30, "Rubrique")));
  EXPECT_EQ(NomSousFamille(20), "(refused)");
}

TEST_F(Familles, OldHeadingsOfTheFamilyCCCAAreRenamedByTheirOwnReaderOnly) {
  struct Cas {
    TypeVersionFormat Version;
    const char* Famille;
    const char* Nom;
    const char* Lu;
  };
  const Cas cas[] = {
      {{2, 0, 85, 0}, "CCCA", "OUI", "T1"},          {{2, 0, 85, 0}, "CCCA", "Non", "T2"},
      {{2, 0, 85, 0}, "CCCA", "FAF (A1)", "FAF (A1)"}, {{2, 0, 85, 0}, "Autre", "oui", "oui"},
      {{2, 0, 85, 0}, "ccca", "oui", "oui"},         {{2, 0, 90, 0}, "CCCA", "FAF (A1)", "T1"},
      {{2, 0, 90, 0}, "CCCA", "Activ. 2 (A2)", "T2"}, {{2, 0, 90, 0}, "CCCA", "AUTRE (A3)", "T3"},
      {{2, 0, 90, 0}, "CCCA", "oui", "oui"},         {{2, 0, 91, 0}, "CCCA", "faf (a1)", "faf (a1)"},
  };
  for (const Cas& c : cas) EXPECT_EQ(SupSousFamille::NomLu(c.Version, c.Famille, c.Nom), c.Lu) << c.Nom;

  // Loaded from a 2.0.50 base: the two families' headings.
  Version({2, 0, 50, 0});
  Recevoir(OrdreRecu(GM_Creation, kFMR, 15, Famille(0, "CCCA")));
  Recevoir(OrdreRecu(GM_Creation, kFMR, 30, Famille(0, "Autre")));
  Recevoir(OrdreRecu(GM_Creation, kSFM, 20, SousFamille(15, "OUI")));
  Recevoir(OrdreRecu(GM_Creation, kSFM, 40, SousFamille(15, "Non")));
  Recevoir(OrdreRecu(GM_Creation, kSFM, 60, SousFamille(30, "Oui")));
  Recevoir(OrdreRecu(GM_Creation, kSFM, 80, SousFamille(99, "Orpheline")));
  EXPECT_EQ(NomSousFamille(20), "T1");
  EXPECT_EQ(NomSousFamille(40), "T2");
  EXPECT_EQ(NomSousFamille(60), "Oui");
  EXPECT_EQ(NomSousFamille(80), "(refused)") << "a heading of no family";
}

TEST_F(Familles, TheDefaultContentsInCFAModeMakeTheCFAFamilyAndItsReservedHeadingsInOrder) {
  client_.Exclusif = true;
  // Outside CFA mode nothing is created.
  ASSERT_TRUE(SupFamille::CreerFamillesParDefaut());
  ASSERT_TRUE(SupSousFamille::CreerSousFamillesParDefaut());
  EXPECT_EQ(Xi::Nombre(SupFamille::Fichier().Table), 0u);
  EXPECT_EQ(Xi::Nombre(SupSousFamille::Fichier().Table), 0u);

  SupParam::DefinirModeCFA(true);
  ASSERT_TRUE(SupFamille::CreerFamille(kGenreMatiere, "CCCA"));
  const uint32_t ccca = Numero(SupFamille::Fichier());
  ASSERT_TRUE(SupFamille::CreerFamillesParDefaut());
  EXPECT_EQ(Xi::Nombre(SupFamille::Fichier().Table), 1u) << "CCCA renamed, none created";
  ASSERT_TRUE(SupFamille::ChercherFamille("CFA", kGenreMatiere));
  EXPECT_EQ(Numero(SupFamille::Fichier()), ccca);
  ASSERT_TRUE(SupSousFamille::CreerSousFamillesParDefaut());
  std::vector<std::string> noms;
  for (uint32_t n = 1; n <= 5; ++n) {
    ASSERT_TRUE(Xi::AllerA(SupSousFamille::Fichier().Table, n));
    noms.push_back(FichierSup::LireChaineCourte(SupSousFamille::Article()->Nom, 13));
    EXPECT_EQ(SupSousFamille::Article()->Famille, ccca);
  }
  EXPECT_EQ(noms, (std::vector<std::string>{"T1", "T2", "T3", "A1", "A2"}));

  // Without a "CCCA" family, "CFA" is created.
  ASSERT_TRUE(SupFamille::CreerTable());
  ASSERT_TRUE(SupFamille::CreerFamillesParDefaut());
  ASSERT_TRUE(SupFamille::ChercherFamille("CFA", kGenreMatiere));
  // Through the server: the request alone.
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  ASSERT_TRUE(SupFamille::CreerFamillesParDefaut());
  ASSERT_TRUE(SupSousFamille::CreerSousFamillesParDefaut());
  ASSERT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupFamille::kCodeCreerFamillesParDefaut);
  EXPECT_EQ(client_.Envoyees[1].Code, SupSousFamille::kCodeCreerSousFamillesParDefaut);
  EXPECT_TRUE(client_.Envoyees[0].Donnees.empty());
}

TEST_F(Familles, ReservedHeadingsAreExactlyTheFiveOfTheCFAFamilyInCFAMode) {
  client_.Exclusif = true;
  SupParam::DefinirModeCFA(true);
  ASSERT_TRUE(SupFamille::CreerFamille(kGenreMatiere, "CFA"));
  const uint32_t cfa = Numero(SupFamille::Fichier());
  ASSERT_TRUE(SupFamille::CreerFamille(kGenreMatiere, "Autre"));
  const uint32_t autre = Numero(SupFamille::Fichier());
  struct Cas {
    uint32_t Famille;
    const char* Nom;
    bool Reservee;
  };
  // "t1" first: once "T1" exists, no other heading of the family may take its name, case ignored.
  const Cas cas[] = {{cfa, "t1", false}, {cfa, "T1", true}, {cfa, "T2", true},    {cfa, "T3", true},
                     {cfa, "A1", true},  {cfa, "A2", true}, {cfa, "A3", false},   {cfa, "T1 ", false},
                     {autre, "T1", false}};
  for (const Cas& c : cas) {
    ASSERT_TRUE(SupSousFamille::CreerSousFamille(c.Nom, c.Famille)) << c.Nom;
    EXPECT_EQ(SupSousFamille::EstSousFamilleReservee(), c.Reservee) << c.Nom;
    const uint32_t n = Numero(SupSousFamille::Fichier());
    SupParam::DefinirModeCFA(false);
    EXPECT_FALSE(SupSousFamille::EstSousFamilleReservee()) << "outside CFA mode";
    SupParam::DefinirModeCFA(true);
    EXPECT_EQ(SupSousFamille::SupprimerSousFamilleNumero(n), !c.Reservee) << c.Nom;
  }
  ASSERT_TRUE(Xi::AllerA(SupFamille::Fichier().Table, cfa));
  EXPECT_FALSE(SupFamille::SupprimerFamilleParNumero(cfa)) << "the CFA family stays";
  EXPECT_TRUE(SupFamille::ChercherFamille("CFA", kGenreMatiere));
}

// A student family with two headings given to a student and a subject family with one given to a
// subject.
class FamillesLocales : public Familles {
 protected:
  void SetUp() override {
    Familles::SetUp();
    ChargerElements();
    client_.Exclusif = true;
    eleve_ = SupEleve::EleveDeLIdentifiant(536);
    matiere_ = SupMatiere::ArticleDeIdentifiant(228);
    ASSERT_TRUE(eleve_ != 0 && matiere_ != 0);
    ASSERT_TRUE(SupFamille::CreerFamille(kGenreEleve, "Regime"));
    regime_ = Numero(SupFamille::Fichier());
    ASSERT_TRUE(SupFamille::CreerFamille(kGenreEleve, "Transport"));
    transport_ = Numero(SupFamille::Fichier());
    ASSERT_TRUE(SupFamille::CreerFamille(kGenreMatiere, "Pole"));
    pole_ = Numero(SupFamille::Fichier());
    for (const char* nom : {"Interne", "Externe", "Demi"}) {
      ASSERT_TRUE(SupSousFamille::CreerSousFamille(nom, regime_));
      rubriques_.push_back(Numero(SupSousFamille::Fichier()));
    }
    ASSERT_TRUE(SupSousFamille::CreerSousFamille("Bus", transport_));
    bus_ = Numero(SupSousFamille::Fichier());
    ASSERT_TRUE(SupSousFamille::CreerSousFamille("Sciences", pole_));
    sciences_ = Numero(SupSousFamille::Fichier());
    ASSERT_TRUE(SupRelationFamille::CreerRelationFamille(rubriques_[0], eleve_));
    ASSERT_TRUE(SupRelationFamille::CreerRelationFamille(bus_, eleve_));
    ASSERT_TRUE(SupRelationFamille::CreerRelationFamille(sciences_, matiere_));
  }
  static uint32_t Nombre(TFichierSup& f) { return Xi::Nombre(f.Table); }
  uint32_t eleve_ = 0, matiere_ = 0, regime_ = 0, transport_ = 0, pole_ = 0, bus_ = 0, sciences_ = 0;
  std::vector<uint32_t> rubriques_;
};

TEST_F(FamillesLocales, ASecondHeadingOfAFamilyAndMissingHeadingsOrElementsAreRefusedBeforeSending) {
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  EXPECT_FALSE(SupRelationFamille::CreerRelationFamille(rubriques_[1], eleve_)) << "a second heading of Regime";
  EXPECT_FALSE(SupRelationFamille::CreerRelationFamille(99, eleve_)) << "no such heading";
  EXPECT_FALSE(SupRelationFamille::CreerRelationFamille(rubriques_[1], 99)) << "no such student";
  EXPECT_TRUE(client_.Envoyees.empty());
  // The request: the element's and the heading's identifiers.
  EXPECT_FALSE(SupRelationFamille::CreerRelationFamille(sciences_, 1 + matiere_)) << "no such subject";
  Recevoir(OrdreRecu(GM_Creation, kMAT, 456, [] {
    Octets s(228, 0);
    const Octets code = Chaine("PHY", 16);
    std::copy(code.begin(), code.end(), s.begin());
    s[224] = 5;  // the subject number, unique
    return s;
  }()));
  const uint32_t physique = SupMatiere::ArticleDeIdentifiant(456);
  ASSERT_NE(physique, 0u);
  (void)SupRelationFamille::CreerRelationFamille(sciences_, physique);
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupRelationFamille::kCodeCreerRelationFamille);
  EXPECT_EQ(client_.Envoyees[0].Donnees,
            (Octets{0xC8, 1, 0, 0, static_cast<uint8_t>(SupSousFamille::Fichier().IdentifiantDe(sciences_)), 0, 0, 0}));
}

TEST_F(FamillesLocales, RanksAndCounts) {
  EXPECT_EQ(SupSousFamille::RangSousFamille(rubriques_[2]), 1u) << "Demi";
  EXPECT_EQ(SupSousFamille::RangSousFamille(rubriques_[1]), 2u) << "Externe, whatever the other families hold";
  EXPECT_EQ(SupSousFamille::RangSousFamille(rubriques_[0]), 3u);
  EXPECT_EQ(SupSousFamille::RangSousFamille(bus_), 1u);
  EXPECT_EQ(SupSousFamille::RangSousFamille(99), 0u);
  EXPECT_EQ(SupSousFamille::NombreSousFamilles(regime_), 3u);
  EXPECT_EQ(SupSousFamille::NombreSousFamilles(99), 0u);
  EXPECT_EQ(SupFamille::NombreDeFamillesDuGenre(kGenreEleve), 2u);
  ASSERT_TRUE(SupFamille::ChercherFamille("Regime", kGenreEleve));
  EXPECT_EQ(SupFamille::RangDeLaFamille(), 1u);
  ASSERT_TRUE(SupFamille::ChercherFamille("Transport", kGenreEleve));
  EXPECT_EQ(SupFamille::RangDeLaFamille(), 2u);
  ASSERT_TRUE(SupFamille::ChercherFamille("Pole", kGenreMatiere));
  EXPECT_EQ(SupFamille::RangDeLaFamille(), 1u);
}

TEST_F(FamillesLocales, DeletingAFamilyRemovesItsAssignmentsItsHeadingsAndTheirs) {
  ASSERT_TRUE(Xi::AllerA(SupFamille::Fichier().Table, regime_));
  EXPECT_FALSE(SupFamille::SupprimerFamille()) << "a walk routine answers False";
  EXPECT_FALSE(SupFamille::Fichier().Existe(regime_));
  EXPECT_EQ(Nombre(SupSousFamille::Fichier()), 2u) << "Bus and Sciences stay";
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 2u);
  EXPECT_TRUE(SupFamille::SupprimerFamilleParNumero(transport_));
  EXPECT_EQ(Nombre(SupSousFamille::Fichier()), 1u);
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 1u);
  EXPECT_FALSE(SupFamille::SupprimerFamilleParNumero(transport_)) << "no longer there";
}

TEST_F(FamillesLocales, AThreeRecordSelectionOfHeadingsKeepsWhatWasNotDeleted) {
  SupParam::DefinirModeCFA(true);
  ASSERT_TRUE(SupFamille::CreerFamille(kGenreMatiere, "CFA"));
  ASSERT_TRUE(SupSousFamille::CreerSousFamille("T1", Numero(SupFamille::Fichier())));
  const uint32_t reservee = Numero(SupSousFamille::Fichier());
  TypeEnsembleMemoire selection{};
  Memoire::Initialiser(selection);
  for (uint32_t n : {bus_, reservee, 99u}) (void)Memoire::Inserer(n, selection);
  EXPECT_FALSE(SupSousFamille::SupprimerTableauSousFamilles(selection));
  EXPECT_FALSE(SupSousFamille::Fichier().Existe(bus_));
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 2u) << "the student's Bus heading went with it";
  EXPECT_TRUE(SupSousFamille::Fichier().Existe(reservee));
  ASSERT_EQ(selection.Nombre, 2u);
  EXPECT_EQ(selection.Elements[0], std::min(reservee, 99u));
  EXPECT_EQ(selection.Elements[1], std::max(reservee, 99u));
  // The same rule for families: the CFA family and an empty record number stay.
  Memoire::Reinitialiser(selection);
  for (uint32_t n : {regime_, Numero(SupFamille::Fichier()), 77u}) (void)Memoire::Inserer(n, selection);
  EXPECT_FALSE(SupFamille::SupprimerTableauFamilles(selection));
  EXPECT_FALSE(SupFamille::Fichier().Existe(regime_));
  EXPECT_EQ(selection.Nombre, 2u);
  Memoire::Liberer(selection);
}

TEST_F(FamillesLocales, AnElementsHeadingsOfOneGenreAreRemovedTogether) {
  // A subject's deletion removes its headings of the subject genre only.
  SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(matiere_, kGenreMatiere);
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 2u);
  SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(eleve_, kGenreMatiere);
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 2u) << "the student's headings are of another genre";
  EXPECT_FALSE(SupRelationFamille::EnleverRubriqueDeLElement(transport_, eleve_));
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 1u);
  SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(eleve_, kGenreEleve);
  EXPECT_EQ(Nombre(SupRelationFamille::Fichier()), 0u);
  // Through the server: the genre, then the element's identifier.
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(eleve_, kGenreEleve);
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupRelationFamille::kCodeSupprimerRelationsFamilleElementDuGenre);
  EXPECT_EQ(client_.Envoyees[0].Donnees, (Octets{3, 0, 0, 0, 0x18, 2, 0, 0}));
}

TEST_F(Familles, OldSubjectAssignmentsLoadWithNoElementAndTwoOfOneHeadingCollide) {
  Version({2, 0, 18, 0});
  ChargerElements();
  Recevoir(OrdreRecu(GM_Creation, kFMR, 30, Famille(0, "Matieres")));
  ASSERT_TRUE(SupFamille::ChercherFamilleParNumero(30));
  ASSERT_EQ(SupFamille::Article()->Genre, 0);
  Recevoir(OrdreRecu(GM_Creation, kSFM, 20, SousFamille(30, "Sciences")));
  Recevoir(OrdreRecu(GM_Creation, kRFM, 12, Relation(777, 30, 20)));
  ASSERT_TRUE(SupRelationFamille::ChercherParIdentifiant(12));
  EXPECT_EQ(SupRelationFamille::Article()->Element, 0u);
  Recevoir(OrdreRecu(GM_Creation, kRFM, 24, Relation(228, 30, 20)));
  EXPECT_FALSE(SupRelationFamille::ChercherParIdentifiant(24)) << "the unique order 1 holds (0, family, heading)";
  Recevoir(OrdreRecu(GM_Creation, kRFM, 36, Relation(228, 99, 20)));
  EXPECT_FALSE(SupRelationFamille::ChercherParIdentifiant(36)) << "no such family";

  // Since 2.0.19 the element is looked up, and the assignment exported as read.
  Version({5, 0, 6, 1});
  Recevoir(OrdreRecu(GM_Creation, kRFM, 48, Relation(777, 30, 20)));
  EXPECT_FALSE(SupRelationFamille::ChercherParIdentifiant(48)) << "no such subject";
  ASSERT_TRUE(SupRelationFamille::CreerTable());
  Recevoir(OrdreRecu(GM_Creation, kRFM, 48, Relation(228, 30, 20)));
  ASSERT_TRUE(SupRelationFamille::ChercherParIdentifiant(48));
  TypeTableReseau* entree = NetXi::Table(kRFM);
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, SupRelationFamille::Fichier().Table, 48, GM_Modification));
  EXPECT_EQ(Octets(entree->Tampon, entree->Tampon + 12), Relation(228, 30, 20));
}

}  // namespace

namespace {

TEST_F(FamillesLocales, RequestsThroughTheServerAndLocalRefusals) {
  // Locally: a name that another heading of the family has fails, case ignored.
  ASSERT_TRUE(Xi::AllerA(SupSousFamille::Fichier().Table, rubriques_[1]));
  EXPECT_FALSE(SupSousFamille::ModifierNomSousFamille("INTERNE"));
  EXPECT_FALSE(SupSousFamille::CreerSousFamille("demi", regime_));
  EXPECT_TRUE(SupSousFamille::CreerSousFamille("Demi", transport_)) << "another family may";
  EXPECT_FALSE(SupFamille::CreerFamille(kGenreEleve, "regime"));

  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  ASSERT_TRUE(Xi::AllerA(SupFamille::Fichier().Table, pole_));
  EXPECT_FALSE(SupSousFamille::CreerSousFamille("Lettres", 99)) << "no such family";
  EXPECT_TRUE(client_.Envoyees.empty());
  EXPECT_EQ(Numero(SupFamille::Fichier()), pole_) << "the family table's position is kept";
  (void)SupSousFamille::CreerSousFamille("Lettres", regime_);
  EXPECT_EQ(Numero(SupFamille::Fichier()), pole_) << "the family table's position is kept";
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupSousFamille::kCodeCreerSousFamille);
  EXPECT_EQ(client_.Envoyees[0].Donnees, SousFamille(SupFamille::Fichier().IdentifiantDe(regime_), "Lettres"));
  EXPECT_FALSE(SupFamille::SupprimerFamille()) << "accepted, and still False";
  EXPECT_EQ(client_.Envoyees.back().Code, SupFamille::kCodeSupprimerFamille);
  EXPECT_TRUE(client_.Envoyees.back().Donnees.empty());
  EXPECT_TRUE(SupFamille::Fichier().Existe(pole_)) << "the server's order has not come";
  ASSERT_TRUE(SupFamille::ModifierNomFamille("Pole B"));
  EXPECT_EQ(client_.Envoyees.back().Donnees, Chaine("Pole B", 13));
}

}  // namespace
