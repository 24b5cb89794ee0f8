// Resources: the stored record by kind (the words at 184, 188 and 192, the teacher's fields), the
// fallbacks of dangling references, the defaults of a new resource, the head-count, the hour texts
// and the reads that must leave the table as they found it.
#include <limits>
#include <string>
#include <vector>

#include "RessourcesEssai.h"
#include "base/CompteursNumeros.h"
#include "base/SupParametresGrille.h"
#include "base/ressources/SupStatut.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupSites.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"

namespace {

using namespace RessourcesEssai;
using SupRessource::Article;

// A teacher with every field of a person and a breakdown.
Octets Enseignant(const std::string& nom, uint32_t numero, uint32_t civilite, uint32_t statut, uint32_t lieu) {
  Octets s = Ressource(0, nom, "ENS" + std::to_string(numero), numero);
  Poser32(s, 184, 150000);  // annual service
  for (uint32_t k = 0; k < 7; ++k) Poser32(s, 188 + 4 * k, 1000 + k);
  s[216] = 9;
  Poser32(s, 220, civilite);
  Poser32(s, 224, statut);
  PoserChaine(s, 228, "secret", 30);
  PoserChaine(s, 259, "Anne", 30);
  PoserChaine(s, 290, "anne@lycee.fr", 50);
  PoserChaine(s, 341, "Durand", 30);
  PoserChaine(s, 372, "1 rue Haute", 60);
  PoserChaine(s, 433, "Bat. B", 60);
  PoserChaine(s, 494, "69001", 5);
  Poser32(s, 500, lieu);
  PoserChaine(s, 504, "0401020304", 20);
  PoserChaine(s, 525, "0601020304", 20);
  const double naissance = 29000.5;
  std::memcpy(&s[552], &naissance, 8);
  return s;
}

Octets AvecMots(Octets s, uint32_t a, uint32_t b, uint32_t c, bool octetB, bool octetC) {
  if (octetB) s[188] = static_cast<uint8_t>(b);
  else Poser32(s, 188, b);
  if (octetC) s[192] = static_cast<uint8_t>(c);
  else Poser32(s, 192, c);
  Poser32(s, 184, a);
  return s;
}

class Ressources : public BaseRessources {};

TEST_F(Ressources, EachKindReadsItsWordsAndWritesTheSameStoredRecord) {
  struct Cas {
    const char* Quoi;
    Octets Stocke;
    uint32_t MotA, MotB, MotC;
    uint8_t HorsDecompte;
  };
  Octets td = AvecMots(Ressource(3, "TD1", "TD1", 4), kIdCalendrier2, kIdCursus, 1, false, true);
  td[152] = 1;
  Octets option = AvecMots(Ressource(4, "Opt", "OPT", 5), kIdCalendrier1, 0, 0, false, true);
  option[152] = 1;
  const Cas cas[] = {
      {"teacher", Enseignant("Martin", 1, kIdCivilite, kIdPEG, kIdLieu), 1, 1, 150000, 0},
      {"grouping", AvecMots(Ressource(1, "G1", "G1", 2), kIdCalendrier2, kIdCursus, 1, false, true), 2, 1, 1, 0},
      {"diploma", AvecMots(Ressource(2, "Terminale", "T", 3), kIdCalendrier1, 0, 0, false, true), 1, 0, 0, 0},
      {"TD", td, 2, 1, 1, 1},
      {"option", option, 1, 0, 0, 1},
      {"room", AvecMots(Ressource(5, "Salle 1", "S1", 6), 1, 1, kNumeroAnnexe, true, false), 1, 1, 1, 0},
      {"room group", AvecMots(Ressource(5, "Bloc", "B", 7), 3, 0, kNumeroSiteDefaut, true, false), 3, 0, 2, 0},
  };
  int32_t identifiant = 0;
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    identifiant += 560;
    ASSERT_NE(Charger(identifiant, c.Stocke), 0u);
    ASSERT_TRUE(SupRessource::ChercherParIdentifiant(identifiant));
    EXPECT_EQ(R().MotA, c.MotA);
    EXPECT_EQ(R().MotB, c.MotB);
    EXPECT_EQ(R().MotC, c.MotC);
    EXPECT_EQ(R().HorsDecompte, c.HorsDecompte);
    EXPECT_EQ(StockeCourant(kRES), c.Stocke);
  }
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(560));
  EXPECT_EQ(FichierSup::LireChaineCourte(R().Prenom, 30), "Anne");
  EXPECT_EQ(R().Ville, 1u);
  EXPECT_EQ(R().QuotaT1, 1000);
  EXPECT_EQ(R().ValeurPortee, 1006);
  EXPECT_EQ(R().OctetPorte, 9);
  EXPECT_DOUBLE_EQ(R().DateNaissance, 29000.5);
  EXPECT_TRUE(SupRessource::ChercherParIdentifiant(7 * 560));
  EXPECT_TRUE(SupRessource::EstGroupeDeSalles());
}

TEST_F(Ressources, DanglingReferencesTakeTheirFallbacks) {
  // The teacher's civility, town and status point nowhere; a teacher without a name has no civility.
  ASSERT_NE(Charger(560, Enseignant("Martin", 1, 999, 999, 999)), 0u);
  EXPECT_EQ(R().MotA, 0u);
  EXPECT_EQ(R().Ville, 0u);
  EXPECT_EQ(R().MotB, SupStatut::ChercherStatutLePlusProche(4887.0));
  EXPECT_EQ(R().MotB, 1u) << "PEG lies nearest to the ratio 4887";
  ASSERT_NE(Charger(1120, Enseignant("", 2, kIdCivilite, kIdPEG, 0)), 0u);
  EXPECT_EQ(R().MotA, 0u);
  Octets stocke = StockeCourant(kRES);
  EXPECT_EQ(stocke[220], 0) << "stored without a civility";
  // A class's calendar falls back to the default calendar, its curriculum to none.
  for (uint32_t calendrier : {999u, 0u}) {
    ASSERT_NE(Charger(static_cast<int32_t>(1680 + calendrier),
                      AvecMots(Ressource(2, "D" + std::to_string(calendrier), "D", 3 + calendrier), calendrier, 999, 1,
                               false, true)),
              0u);
    EXPECT_EQ(R().MotA, SupRessource::kCalendrierParDefaut);
    EXPECT_EQ(R().MotB, 0u);
    EXPECT_EQ(R().MotC, 1u);
  }
  // A room's unknown site, or none, is the default site.
  for (uint32_t site : {99u, 0u}) {
    ASSERT_NE(Charger(static_cast<int32_t>(5000 + site),
                      AvecMots(Ressource(5, "S" + std::to_string(site), "S", 50 + site), 1, 0, site, true, false)),
              0u);
    EXPECT_EQ(R().MotC, 2u) << "the site named after the default site's translation";
  }
  EXPECT_EQ(Xi::Nombre(SupRessource::Fichier().Table), 6u) << "no resource is refused";
}

TEST_F(Ressources, FieldsAKindDoesNotHaveAreZeroAfterEveryRead) {
  ASSERT_NE(Charger(560, Enseignant("Martin", 1, kIdCivilite, kIdPEG, kIdLieu)), 0u);
  // A room and a TD whose stored records carry a teacher's fields, read while the teacher is current.
  for (uint8_t genre : {uint8_t{5}, uint8_t{3}, uint8_t{6}}) {
    SCOPED_TRACE(static_cast<int>(genre));
    Octets s = Enseignant("X" + std::to_string(genre), 10 + genre, kIdCivilite, kIdPEG, kIdLieu);
    s[180] = genre;
    if (genre == 5) s[188] = 0;
    const int32_t identifiant = 560 * (10 + genre);
    for (TypeGenreModif mode : {GM_Creation, GM_Modification}) {
      ASSERT_TRUE(SupRessource::ChercherParIdentifiant(560));
      Recevoir(OrdreRecu(static_cast<uint8_t>(mode), kRES, identifiant, s));
      ASSERT_TRUE(SupRessource::ChercherParIdentifiant(identifiant));
      EXPECT_EQ(R().MotDePasse[0], 0);
      EXPECT_EQ(R().Prenom[0], 0);
      EXPECT_EQ(R().Mail[0], 0);
      EXPECT_EQ(R().Ville, 0u);
      EXPECT_EQ(R().QuotaT1, 0);
      EXPECT_EQ(R().NombreMois, 0);
      EXPECT_EQ(R().DateNaissance, 0.0);
      EXPECT_EQ(R().HorsDecompte, 0) << "a teacher's byte at 152 is not a room's";
      if (genre == 6) {
        EXPECT_EQ(R().MotA | R().MotB | R().MotC, 0u) << "a kind above 5 has no kind words";
        EXPECT_EQ(SupRessource::GenreDeLaRessource(Xi::NumeroCourant(SupRessource::Fichier().Table)), 6);
      }
      const Octets relu = StockeCourant(kRES);
      // A room's number of rooms (150000, as stored); a TD's default calendar (the stored 150000 names
      // none); nothing for kind 6.
      const Octets mot = genre == 5 ? Octets{0xF0, 0x49, 0x02, 0} : genre == 3 ? Octets{111, 0, 0, 0} : Octets(4, 0);
      EXPECT_EQ(Octets(relu.begin() + 184, relu.begin() + 188), mot);
      EXPECT_EQ(Octets(relu.begin() + 196, relu.end()), Octets(560 - 196, 0)) << "nothing of a person is stored";
    }
  }
}

TEST_F(Ressources, LoadingRaisesTheResourceCounterInUnsignedOrder) {
  CompteursNumeros::Compteurs().fill(0);
  for (uint32_t numero : {5u, 0x80000001u, 7u}) ASSERT_NE(Charger(static_cast<int32_t>(numero % 1000 + 560),
                                                                  Ressource(2, "D" + std::to_string(numero), "D", numero)),
                                                          0u);
  EXPECT_EQ(CompteursNumeros::Compteurs()[CompteursNumeros::kRES], 0x80000001u);
}

TEST_F(Ressources, ANewTeacherTakesTheDefaultStatusAndItsBreakdown) {
  SupParam::Parametres().ApportProfesseurParDefaut = 100000;
  SupParam::Parametres().NbMoisProfesseurParDefaut = 12;
  struct Cas {
    bool CFA;
    int32_t Service, T3;
  };
  for (const Cas c : {Cas{true, 143500, 18450}, Cas{false, 100000, 100000 - 84000 - 41050}}) {
    SCOPED_TRACE(c.CFA);
    SupParam::DefinirModeCFA(c.CFA);
    ASSERT_TRUE(Xi::AllerA(SupStatut::Fichier().Table, 2));
    SupRessource::ViderArticle(SupRessource::kEnseignant);
    EXPECT_EQ(static_cast<int32_t>(R().MotC), c.Service);
    EXPECT_EQ(R().MotB, 1u) << "the default status, PEG";
    EXPECT_EQ(R().QuotaT1, 84000);
    EXPECT_EQ(R().QuotaT2, 41050);
    EXPECT_EQ(R().QuotaT3, c.T3);
    EXPECT_EQ(R().MaxT1Semaine, 3500);
    EXPECT_EQ(R().MaxT1Cycle, 9000);
    EXPECT_EQ(R().NombreMois, 12);
    EXPECT_EQ(FichierSup::LireChaineCourte(R().Proprietaire, 3), "USR");
    EXPECT_EQ(TMethodesDomaine::NombreDeSemaines(R().Semaines), 52);
    EXPECT_EQ(Xi::NumeroCourant(SupStatut::Fichier().Table), 2u) << "the status file's position is kept";
  }
  // Without a default status: no status, no breakdown, the base's default service.
  Recevoir(OrdreRecu(GM_Suppression, kSTP, kIdPEG, {}));
  SupParam::DefinirModeCFA(true);
  SupRessource::ViderArticle(SupRessource::kEnseignant);
  EXPECT_EQ(static_cast<int32_t>(R().MotC), 100000);
  EXPECT_EQ(R().MotB, 0u);
  EXPECT_EQ(R().QuotaT1 | R().QuotaT2 | R().QuotaT3 | R().MaxT1Semaine, 0);
}

TEST_F(Ressources, ANewDiplomaAndRoomTakeTheUsersDefaults) {
  ValeursUtilisateur::Valeurs() = {25, 40};
  SupRessource::ViderArticle(SupRessource::kDiplome);
  EXPECT_EQ(R().MotA, SupRessource::kCalendrierParDefaut);
  EXPECT_EQ(R().EffectifSaisi, 25);
  EXPECT_EQ(R().MotC, 1u) << "links managed from the students";
  SupRessource::ViderArticle(SupRessource::kSalle);
  EXPECT_EQ(R().MotA, 1u);
  EXPECT_EQ(R().EffectifSaisi, 40);
  EXPECT_EQ(R().MotB, 0u);
  EXPECT_EQ(R().MotC, 2u) << "the default site";
  EXPECT_EQ(R().QuotaT1 | R().NombreMois, 0);
  SupRessource::ViderArticle(SupRessource::kTD);
  EXPECT_EQ(R().MotA | R().MotB | R().MotC, 0u);
  EXPECT_EQ(R().EffectifSaisi, 0);
}

TEST_F(Ressources, TheNearestStatusAndTheRoundedT2) {
  // PEG: (143500 - 84000 - 18450) / 84000 x 10000 = 4886.9...; Autre: 3546.5...
  EXPECT_EQ(SupStatut::ChercherStatutLePlusProche(4887.0), 1u);
  EXPECT_EQ(SupStatut::ChercherStatutLePlusProche(3500.0), 2u);
  // Statuses whose T1 is 0 each lie exactly 4887 away: none is closer.
  ASSERT_TRUE(SupStatut::Fichier().CreerTable());
  Recevoir(OrdreRecu(GM_Creation, kSTP, 72, Statut("A", 1000, 0, 0, false)));
  Recevoir(OrdreRecu(GM_Creation, kSTP, 144, Statut("B", 2000, 0, 0, true)));
  EXPECT_EQ(SupStatut::ChercherStatutLePlusProche(4887.0), 0u);
  // Two statuses of the same ratio: the lower record number.
  Recevoir(OrdreRecu(GM_Creation, kSTP, 216, Statut("C", 300, 100, 0, false)));
  Recevoir(OrdreRecu(GM_Creation, kSTP, 288, Statut("D", 600, 200, 0, false)));
  EXPECT_EQ(SupStatut::ChercherStatutLePlusProche(20000.0), 3u);
  ASSERT_TRUE(Xi::AllerA(SupStatut::Fichier().Table, 3));  // ratio 2
  EXPECT_EQ(SupStatut::ServiceRestant(), 200);
  EXPECT_DOUBLE_EQ(SupStatut::RatioT2(), 2.0);
  EXPECT_EQ(SupStatut::T2Arrondi(std::numeric_limits<int32_t>::max()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(SupStatut::T2Arrondi(std::numeric_limits<int32_t>::min()), std::numeric_limits<int32_t>::min());
  Recevoir(OrdreRecu(GM_Creation, kSTP, 360, Statut("E", 150, 100, 0, false)));  // ratio 0.5
  ASSERT_TRUE(Xi::AllerA(SupStatut::Fichier().Table, 5));
  for (auto [n, t2] : {std::pair{3, 2}, {5, 2}, {7, 4}, {-3, -2}, {4, 2}}) EXPECT_EQ(SupStatut::T2Arrondi(n), t2) << n;
  ASSERT_TRUE(Xi::AllerA(SupStatut::Fichier().Table, 1));  // T1 of 0
  EXPECT_DOUBLE_EQ(SupStatut::RatioT2(), 0.0);
  EXPECT_EQ(SupStatut::T2Arrondi(1000), 0);
}

TEST_F(Ressources, SiteNumberZeroIsNoSite) {
  Recevoir(OrdreRecu(GM_Creation, kSIT, 120, Site(0, "Sans numero")));
  ASSERT_EQ(Xi::Nombre(SupSite::Fichier().Table), 3u);
  EXPECT_EQ(SupSite::ArticleDeNumero(0), 0u);
  EXPECT_FALSE(SupSite::NumeroExiste(0));
  uint32_t site = 99;
  EXPECT_FALSE(SupSites::Sites().ChercherSite(0, site, 2));
  EXPECT_EQ(site, 2u) << "the default site";
  EXPECT_FALSE(SupSites::Sites().ChercherSite(0, site, 1));
  EXPECT_EQ(site, 0u) << "a course without a site has none";
  EXPECT_TRUE(SupSites::Sites().ChercherSite(kNumeroAnnexe, site, 2));
  EXPECT_EQ(site, 1u);
  EXPECT_EQ(SupSites::Sites().NumeroDeSite(1), kNumeroAnnexe);
  EXPECT_EQ(SupSites::Sites().NumeroDeSite(9), 0u);
  // The default site follows the translation, cut to 30 characters.
  Recevoir(OrdreRecu(GM_Creation, kSIT, 160, Site(9, std::string(30, 'S'))));
  Traduction::DefinirTexte("SupEtatNomSiteDefaut", std::string(35, 'S'));
  EXPECT_EQ(SupSite::SiteParDefaut(), 4u);
  Traduction::DefinirTexte("SupEtatNomSiteDefaut", "annexe");
  EXPECT_EQ(SupSite::SiteParDefaut(), 1u);
}

TEST_F(Ressources, TheHeadCountByKindAndByTheTwoSettings) {
  struct Cas {
    uint8_t Genre;
    uint8_t ParEleves, Effectif;
    int32_t Saisi;
    int32_t Attendu;
  };
  // The computed head-count is 12.
  const Cas cas[] = {
      {0, 1, 1, 30, 30}, {5, 1, 1, 30, 30}, {5, 0, 0, 0, 0},
      {2, 0, 0, 30, 30}, {2, 0, 1, 30, 30}, {2, 1, 0, 30, 30}, {2, 1, 0, 0, 12}, {2, 1, 1, 30, 12},
      {3, 1, 1, 30, 12}, {4, 0, 1, 0, 0},
      {1, 0, 0, 30, 30}, {1, 0, 0, 0, 12}, {1, 0, 1, 30, 12},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::to_string(c.Genre) + " " + std::to_string(c.ParEleves) + std::to_string(c.Effectif) + " " +
                 std::to_string(c.Saisi));
    SupParam::Parametres().GestionParEleves = c.ParEleves;
    SupParam::Parametres().GestionEffectif = c.Effectif;
    SupRessource::ViderArticle(c.Genre);
    SupRessource::Article()->EffectifSaisi = c.Saisi;
    SupRessource::Article()->EffectifCalcule = 12;
    EXPECT_EQ(SupRessource::Effectif(), c.Attendu);
  }
}

TEST_F(Ressources, HourTexts) {
  Traduction::DefinirTexte("SupConstH", "h");
  Traduction::DefinirTexte("SupConstDéfaut2"_ansi, "(défaut)"_ansi);
  std::string t;
  SupRessource::ViderArticle(SupRessource::kEnseignant);
  TypeEnregistrementRessource* e = SupRessource::Article();
  e->MaxHeuresJour = 5;      // places
  e->MaxHeuresSemaine = 61;
  ASSERT_EQ(SupParametresGrille::Parametres().PlacesParHeure, 2);
  SupRessource::TexteMaxHeuresJour(false, false, "", t);
  EXPECT_EQ(t, "2h30");
  SupRessource::TexteMaxHeuresJour(true, false, "", t);
  EXPECT_EQ(t, "2,50");
  SupRessource::TexteMaxHeuresHebdo(false, true, ":", t);
  EXPECT_EQ(t, "30:30");
  e->MaxHeuresSemaine = 2000000;  // x 3600 is past 32 bits
  SupRessource::TexteMaxHeuresHebdo(false, false, "h", t);
  EXPECT_EQ(t, "1000000h00");
  // Without places per hour the text is the one of no time.
  SupParametresGrille::Parametres().PlacesParHeure = 0;
  SupRessource::TexteMaxHeuresJour(false, false, "", t);
  EXPECT_EQ(t, "0h00");
  SupParametresGrille::Initialiser();

  e->MotC = 0;
  SupRessource::TexteApportAnnuel(false, false, "", t);
  EXPECT_EQ(t, "-");
  e->MotC = 150050;  // 1500.5 hours
  SupRessource::TexteApportAnnuel(false, false, "", t);
  EXPECT_EQ(t, "1500.30");
  SupRessource::TexteApportAnnuel(true, false, "", t);
  EXPECT_EQ(t, "1500,50");
  SupRessource::TexteApportAnnuel(false, false, "h", t);
  EXPECT_EQ(t, "1500h30");

  e->Occupation = 150;  // minutes
  SupRessource::TexteOccupationAnnuelle(false, false, "", t);
  EXPECT_EQ(t, "2.30");
  SupRessource::TexteOccupationAnnuelle(false, true, "h", t);
  EXPECT_EQ(t, " 2.30") << "hours and minutes joined by '.' whatever the unit";
  SupRessource::TexteOccupationAnnuelle(true, false, "", t);
  EXPECT_EQ(t, "2,50");
  e->Occupation = 40000000;
  SupRessource::TexteOccupationAnnuelle(false, false, "", t);
  EXPECT_EQ(t, "666666.40");
  e->Occupation = 150;
  e->Total1 = 400;
  SupRessource::TextePonderation(false, false, "", t);
  EXPECT_EQ(t, "4.10");

  SupRessource::ViderArticle(SupRessource::kSalle);
  SupRessource::Article()->Occupation = 75;
  SupRessource::TexteOccupationAnnuelle(false, false, "", t);
  EXPECT_EQ(t, " 75 %");
  SupRessource::Article()->MotA = 2;
  SupRessource::Article()->Occupation = 3;
  SupRessource::TexteOccupationAnnuelle(false, false, "", t);
  EXPECT_EQ(t, " 3");

  SupRessource::ViderArticle(SupRessource::kDiplome);
  SupRessource::TexteCalendrier(t);
  EXPECT_EQ(t, "(défaut)"_ansi);
  SupRessource::Article()->MotA = 2;
  SupRessource::TexteCalendrier(t);
  EXPECT_EQ(t, "Semestre");
}

class LecturesRessources : public BaseRessources {
 protected:
  void SetUp() override {
    BaseRessources::SetUp();
    ASSERT_EQ(Charger(560, Enseignant("Martin", 1, kIdCivilite, kIdPEG, kIdLieu)), 1u);
    ASSERT_EQ(Charger(1120, Ressource(2, "Terminale", "T", 2)), 2u);
    ASSERT_EQ(Charger(1680, Ressource(2, "", "", 3)), 3u);    // the diplomas' default resource
    ASSERT_EQ(Charger(2240, Ressource(2, "", "X", 4)), 4u);   // an empty name with a code
    ASSERT_EQ(Charger(2800, Ressource(2, "Seconde", "S", 5)), 5u);
    ASSERT_EQ(Charger(3360, Ressource(1, "G", "G", 6)), 6u);
    ASSERT_EQ(Charger(3920, Ressource(5, "Salle", "S", 7)), 7u);
    ASSERT_EQ(Charger(4480, Ressource(3, "TD", "TD", 8)), 8u);
  }
  uint32_t Courant() const { return Xi::NumeroCourant(SupRessource::Fichier().Table); }
};

TEST_F(LecturesRessources, ReadsByIdentifierAndByKind) {
  EXPECT_EQ(SupRessource::RessourceDeLIdentifiant(560, 0), 1u);
  EXPECT_EQ(SupRessource::RessourceDeLIdentifiant(1120, 2), 2u);
  EXPECT_EQ(SupRessource::RessourceDeLIdentifiant(1120, 0), 0u) << "not a teacher";
  EXPECT_EQ(SupRessource::RessourceDeLIdentifiant(3360, 1), 0u) << "a grouping exists but kind 1 is not asked";
  EXPECT_EQ(SupRessource::RessourceDeLIdentifiant(3920, 5), 0u) << "a room exists but kind 5 is not asked";
  EXPECT_EQ(SupRessource::GenreDeLaRessource(7), 5);
  EXPECT_EQ(SupRessource::GenreDeLaRessource(99), SupRessource::kGenreAucun);
  EXPECT_EQ(SupRessource::RessourceParDefautDuGenre(2), 3u);
  EXPECT_EQ(SupRessource::RessourceParDefautDuGenre(0), 0u);
  EXPECT_TRUE(SupRessource::ChercherRessourceParNumero(5));
  EXPECT_EQ(Courant(), 5u);
  EXPECT_TRUE(SupRessource::ChercherParGenreEtIdentifiantExterne(2, "ext-s"));
  EXPECT_EQ(Courant(), 5u);
}

TEST_F(LecturesRessources, ASearchThatFindsNothingLeavesTheFormerRecordCurrent) {
  const struct {
    const char* Quoi;
    std::function<bool()> Chercher;
  } cas[] = {
      {"external identifier", [] { return SupRessource::ChercherParGenreEtIdentifiantExterne(0, "EXT-T"); }},
      {"default resource", [] { return SupRessource::ChercherRessourceParDefaut(0); }},
      {"first of a kind", [] { return SupRessource::AllerAuPremierDuGenre(4); }},
      {"kind and identifier", [] { return SupRessource::ChercherParGenreEtIdentifiant(1120, 5); }},
      {"number", [] { return SupRessource::ChercherRessourceParNumero(42); }},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_TRUE(SupRessource::ChercherParIdentifiant(1120));
    EXPECT_FALSE(c.Chercher());
    EXPECT_EQ(Courant(), 2u);
    EXPECT_EQ(FichierSup::LireChaineCourte(R().Nom, 30), "Terminale") << "the buffer is the record's again";
    EXPECT_EQ(R().Genre, 2);
  }
  // The statuses likewise, when none is the default.
  Recevoir(OrdreRecu(GM_Suppression, kSTP, kIdPEG, {}));
  ASSERT_TRUE(Xi::AllerA(SupStatut::Fichier().Table, 2));
  EXPECT_FALSE(SupStatut::ChercherStatutParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(SupStatut::Fichier().Table), 2u);
  EXPECT_EQ(SupStatut::Article()->ParDefaut, 0);
  // Found, the record is current.
  EXPECT_TRUE(SupRessource::AllerAuPremierDuGenre(2));
  EXPECT_EQ(Courant(), 3u) << "the kind's default resource";
  EXPECT_TRUE(SupRessource::AllerAuPremierDuGenre(0));
  EXPECT_EQ(Courant(), 1u);
}

TEST_F(LecturesRessources, WalksSkipOnlyTheDefaultResourceAndKeepThePosition) {
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(3920));
  std::vector<uint32_t> vus;
  const auto noter = [&vus] {
    vus.push_back(Xi::NumeroCourant(SupRessource::Fichier().Table));
    return 0;
  };
  EXPECT_EQ(SupRessource::PourChaqueRessourceDuGenre(2, noter), 0);
  EXPECT_EQ(vus, (std::vector<uint32_t>{4, 5, 2})) << "name order; the empty name with a code is visited";
  EXPECT_EQ(Courant(), 7u);
  vus.clear();
  EXPECT_EQ(SupRessource::PourChaqueRessource([&] { return noter(), vus.size() == 3 ? 9 : 0; }), 9);
  EXPECT_EQ(vus, (std::vector<uint32_t>{1, 2, 3}));
  vus.clear();
  EXPECT_EQ(SupRessource::PourChaqueSalleDuSite(2, noter), 0);
  EXPECT_EQ(vus, std::vector<uint32_t>{7}) << "the room's unknown site 0 is the default site";
  EXPECT_EQ(Courant(), 7u);
  TypeEnsembleMemoire ensemble{};
  Memoire::Initialiser(ensemble);
  EXPECT_EQ(SupRessource::PourChaqueRessource([&] { return SupRessource::AjouterRessourceCouranteSiClasse(ensemble); }),
            0);
  EXPECT_EQ(ensemble.Nombre, 5u) << "the diplomas and the TD";
  EXPECT_TRUE(SupRessource::RessourceCouranteDansEnsemble(ensemble) == false);
  Memoire::Liberer(ensemble);
}

TEST_F(LecturesRessources, CallsIntoWhatIsNotBuiltSayItAndChangeNothing) {
  TypeEnsembleMemoire ensemble{};
  Memoire::Initialiser(ensemble);
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(1120));
  EXPECT_THROW(SupRessource::PourChaqueTDDuDiplomeCourant([] { return 0; }), ENonConstruit);
  EXPECT_THROW(SupRessource::RecalculerCoursDeLaRessource(), ENonConstruit);
  EXPECT_THROW((void)SupRessource::ContenuParDefaut(), ENonConstruit);
  EXPECT_EQ(ensemble.Nombre, 0u);
  EXPECT_TRUE(client_.Envoyees.empty());
  Memoire::Liberer(ensemble);
}

}  // namespace
