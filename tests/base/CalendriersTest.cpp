// Calendars: the cleared calendar, the local creations (default, from a model, a duplicate label)
// and the bytes of both requests.
#include <string>

#include "RessourcesEssai.h"
#include "base/cours/SupCalendrier.h"
#include "core/records/Xi.h"

namespace {

using namespace RessourcesEssai;
namespace CAL = SupCalendrier;

TypeDomaineHebdomadaire S(int a, int b) {
  TypeDomaineHebdomadaire d;
  for (int w = a; w <= b; ++w) d.Inclure(w);
  return d;
}

// The fixture's calendars "Annee" (1, identifier 111) and "Semestre" (2, 222).
class Calendriers : public BaseRessources {
 protected:
  static void* Table() { return CAL::Fichier().Table; }
  static std::string Libelle() { return FichierSup::LireChaineCourte(CAL::Article()->Libelle, 10); }
};

TEST_F(Calendriers, ACreatedCalendarIsClearedOrCopiedWithIdentifierZeroAndAUniqueLabel) {
  client_.Exclusif = true;
  EXPECT_EQ(CAL::Fichier().Description().TailleEnregistrement, sizeof(TypeEnregistrementCalendrier));
  ASSERT_TRUE(CAL::CreerCalendrier("Trimestres du lycee", 0));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  const TypeEnregistrementCalendrier c = *CAL::Article();
  EXPECT_EQ(Libelle(), "Trimestres");
  EXPECT_EQ(c.Identifiant, 0);
  EXPECT_EQ(c.SemainesAnnee, S(1, 52));
  EXPECT_EQ(c.SemainesPeriodes, (std::array{S(1, 13), S(14, 26), S(27, 39), S(40, 52)}));
  // From a model: its weeks and carried zone, identifier 0.
  ASSERT_TRUE(CAL::ChercherParIdentifiant(222));
  CAL::Article()->SemainesAnnee = S(3, 9);
  CAL::Article()->ZonePortee[5] = 0x55;
  ASSERT_TRUE(Xi::Modifier(Table()));
  ASSERT_TRUE(CAL::CreerCalendrier("Copie", 2));
  EXPECT_EQ(Libelle(), "Copie");
  EXPECT_EQ(CAL::Article()->Identifiant, 0);
  EXPECT_EQ(CAL::Article()->SemainesAnnee, S(3, 9));
  EXPECT_EQ(CAL::Article()->ZonePortee[5], 0x55);
  EXPECT_EQ(Xi::Nombre(Table()), 4u);
  // A label another calendar has, or a model that does not exist: refused.
  EXPECT_FALSE(CAL::CreerCalendrier("Copie", 0));
  EXPECT_FALSE(CAL::CreerCalendrier("Autre", 9));
  EXPECT_EQ(Xi::Nombre(Table()), 4u);
  // The default contents: one calendar with an empty label.
  EXPECT_TRUE(CAL::ContenuParDefaut());
  EXPECT_EQ(Libelle(), "");
  EXPECT_EQ(Xi::Nombre(Table()), 5u);
}

TEST_F(Calendriers, RequestsSendTheLabelAndTheModelsIdentifier) {
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code != CAL::kCodeCreerCalendrier) return true;
    const int32_t nouveau = r.Parametre == 0 ? 333 : 999;  // 999 names no calendar
    if (nouveau == 333) {
      Octets c(111, 0);
      PoserChaine(c, 0, "Nouveau", 10);
      Recevoir(OrdreRecu(GM_Creation, kCAL, nouveau, c));
    }
    std::memcpy(reponse, &nouveau, 4);
    return true;
  };
  ASSERT_TRUE(CAL::ChercherParIdentifiant(222));
  EXPECT_TRUE(CAL::CreerCalendrier("Nouveau calendrier", 0));
  EXPECT_EQ(CAL::Fichier().IdentifiantCourant(), 333);
  // Accepted but not found: the former current calendar again.
  ASSERT_TRUE(CAL::ChercherParIdentifiant(222));
  EXPECT_FALSE(CAL::CreerCalendrier("X", 1));
  EXPECT_EQ(CAL::Fichier().IdentifiantCourant(), 222);
  // A model that does not exist sends nothing.
  EXPECT_FALSE(CAL::CreerCalendrier("Y", 9));
  EXPECT_TRUE(CAL::CreerCalendriersParDefaut());
  ASSERT_EQ(client_.Envoyees.size(), 3u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80080100u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, Chaine("Nouveau ca", 10));
  EXPECT_EQ(client_.Envoyees[1].Parametre, 111);
  EXPECT_EQ(client_.Envoyees[1].Donnees, Chaine("X", 10));
  EXPECT_EQ(client_.Envoyees[2].Code, 0x80080000u);
  EXPECT_EQ(client_.Envoyees[2].Parametre, 0);
  EXPECT_TRUE(client_.Envoyees[2].Donnees.empty());
}

}  // namespace

#include "base/cours/SupFractionnementCours.h"
#include "core/objects/Exceptions.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

// Courses built field by field: a simple course (1), a whole course (2) with fractions (3, 4), a
// fraction (3) and a lone course (4); each test sets the fields it varies.
class PlacementSeances : public BaseRessources {
 protected:
  static constexpr uint32_t kSimple = 1, kEntier = 2, kF1 = 3, kF2 = 4;
  void SetUp() override {
    BaseRessources::SetUp();
    Utilisateur::IdentProfilServeurConnexion() = 100;
    AccorderSeulementLesDroits({26});
    for (auto [n, genre] : {std::pair{kSimple, SupCours::kCoursSimple}, {kEntier, SupCours::kCoursEntier},
                            {kF1, SupCours::kFraction}, {kF2, SupCours::kFraction}}) {
      TFichierSup& f = SupCours::Fichier();
      f.ViderArticle();
      TypeEnregistrementCours* c = SupCours::Article();
      c->Identifiant = static_cast<int32_t>(102 * n);
      c->Genre = genre;
      c->Statut = 1;
      c->Semaines = c->SemainesPotentielles = S(1, 52);
      c->NombreSemaines = 52;
      ASSERT_TRUE(Xi::Inserer(f.Table));
    }
    for (uint32_t fraction : {kF1, kF2}) {
      TFichierSup& f = SupFractionnementCours::Fichier();
      f.ViderArticle();
      SupFractionnementCours::Article()->CoursEntier = kEntier;
      SupFractionnementCours::Article()->Fraction = fraction;
      ASSERT_TRUE(Xi::Inserer(f.Table));
    }
  }
  void TearDown() override {
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::IdentProfilServeurConnexion() = 0;
    BaseRessources::TearDown();
  }
  struct Champs {
    uint8_t ModePlace, Mobiles, Statut;
    uint32_t NombreSemaines;
    TypeDomaineHebdomadaire Semaines, Potentielles;
  };
  static void Poser(uint32_t n, const Champs& v) {
    ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, n));
    TypeEnregistrementCours* c = SupCours::Article();
    c->ModePlace = v.ModePlace;
    c->SeancesMobiles = v.Mobiles;
    c->Statut = v.Statut;
    c->NombreSemaines = v.NombreSemaines;
    c->Semaines = v.Semaines;
    c->SemainesPotentielles = v.Potentielles;
    ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  }
};

TEST_F(PlacementSeances, PermittedPlacementsAndPossibleChanges) {
  struct Cas {
    const char* nom;
    uint32_t cours;
    Champs champs;
    Champs fraction1, fraction2;  // for the whole course
    uint8_t permis;
    // ChangementPlacementPossible for (False, 0), (False, 1), (True, 0), (True, 1), (True, 2).
    std::array<bool, 5> possibles;
  };
  const Champs placee1 = {0, 0, 1, 26, S(1, 26), S(1, 26)}, placee2 = {0, 0, 1, 26, S(27, 52), S(27, 52)};
  const Champs recouvre = {0, 0, 1, 26, S(20, 45), S(20, 45)}, nonPlacee = {0, 0, 3, 26, S(27, 52), S(27, 52)};
  const Cas cas[] = {
      {"fixed place, fixed sessions", kSimple, {0, 0, 1, 52, S(1, 52), S(1, 52)}, {}, {}, 0b010,
       {false, true, true, true, true}},
      {"fixed place, mobile sessions", kSimple, {0, 1, 1, 10, S(1, 10), S(1, 52)}, {}, {}, 0b000,
       {true, false, true, true, true}},
      {"mobile, as many weeks as potential", kSimple, {0, 1, 1, 52, S(1, 52), S(1, 52)}, {}, {}, 0b001,
       {true, false, true, true, true}},
      {"variable place", kSimple, {1, 0, 1, 52, S(1, 52), S(1, 52)}, {}, {}, 0b110, {true, true, false, true, true}},
      {"cumulable sessions", kSimple, {2, 1, 1, 10, S(1, 10), S(1, 52)}, {}, {}, 0b010,
       {true, true, true, true, false}},
      {"cumulable, too few potential weeks", kSimple, {2, 1, 1, 60, S(1, 52), S(1, 52)}, {}, {}, 0b000,
       {false, false, false, false, false}},
      {"whole, cumulable, placed fractions apart", kEntier, {2, 1, 1, 52, S(1, 52), S(1, 52)}, placee1, placee2,
       0b011, {false, false, true, true, false}},
      {"whole, cumulable, placed fractions sharing a week", kEntier, {2, 1, 1, 52, S(1, 52), S(1, 52)}, placee1,
       recouvre, 0b000, {false, false, false, false, false}},
      {"whole, cumulable, one fraction unplaced sharing a week", kEntier, {2, 0, 1, 52, S(1, 52), S(1, 52)}, recouvre,
       {0, 0, 3, 26, S(1, 26), S(1, 26)}, 0b101, {false, false, true, false, true}},
      {"whole unplaced, mobile, two fractions unplaced", kEntier, {1, 1, 3, 52, S(1, 52), S(1, 52)}, nonPlacee,
       nonPlacee, 0b100, {false, false, true, false, true}},
      {"whole placed, mobile, two fractions unplaced", kEntier, {1, 1, 1, 52, S(1, 52), S(1, 52)}, nonPlacee,
       nonPlacee, 0b101, {false, false, true, false, true}},
  };
  const std::pair<bool, uint8_t> paires[] = {{false, 0}, {false, 1}, {true, 0}, {true, 1}, {true, 2}};
  for (const Cas& c : cas) {
    if (c.cours == kEntier) {
      Poser(kF1, c.fraction1);
      Poser(kF2, c.fraction2);
    }
    Poser(c.cours, c.champs);
    EXPECT_EQ(int{CAL::PlacementsSeancesPermis()}, int{c.permis}) << c.nom;
    for (std::size_t i = 0; i < 5; ++i)
      EXPECT_EQ(CAL::ChangementPlacementPossible(paires[i].first, paires[i].second), c.possibles[i]) << c.nom << " " << i;
  }
}

TEST_F(PlacementSeances, TheSoapValueBothWays) {
  const std::tuple<int32_t, bool, uint8_t> table[] = {{0, false, 0}, {1, false, 1}, {2, true, 0}, {3, true, 1}, {4, true, 2}};
  for (auto [valeur, a, b] : table) {
    int32_t v = -1;
    EXPECT_TRUE(CAL::ValeurSoap(a, b, v));
    EXPECT_EQ(v, valeur);
    bool a2 = !a;
    uint8_t b2 = 9;
    EXPECT_TRUE(CAL::PaireDeValeurSoap(valeur, a2, b2));
    EXPECT_EQ(std::make_pair(a2, b2), std::make_pair(a, b));
  }
  int32_t v = 0;
  bool a = false;
  uint8_t b = 0;
  EXPECT_FALSE(CAL::ValeurSoap(false, 2, v));
  EXPECT_FALSE(CAL::PaireDeValeurSoap(5, a, b));
  EXPECT_FALSE(CAL::PaireDeValeurSoap(-1, a, b));
  // The place mode read through both names.
  Poser(kSimple, {2, 1, 1, 10, S(1, 10), S(1, 52)});
  EXPECT_TRUE(CAL::PlaceVariable());
  EXPECT_TRUE(CAL::SeancesMobiles());
  EXPECT_EQ(CAL::PlacementSeances(), 2);
}

TEST_F(PlacementSeances, RequestsSendTheirBytes) {
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code == CAL::kCodeDetacherSeances) {
      const int32_t ids[2] = {102, 9999};
      std::memcpy(reponse, ids, 8);
    }
    return true;
  };
  Poser(kSimple, {0, 0, 1, 52, S(1, 52), S(1, 52)});
  // Unchanged: True, nothing sent.
  EXPECT_TRUE(CAL::ModifierPlacementSeancesCours(false, 0));
  EXPECT_TRUE(CAL::ModifierPlacementSeancesCours(true, 2));
  EXPECT_TRUE(CAL::ModifierPlaceVariable(true));
  EXPECT_TRUE(CAL::ModifierMobiliteSeances(1));
  std::array<uint32_t, 2> resultat{7, 7};
  EXPECT_FALSE(CAL::DetacherSeances(S(10, 20), 0, resultat));
  EXPECT_EQ(resultat, (std::array<uint32_t, 2>{kSimple, 0}));
  // Refused before sending: a fraction, all the weeks, no right.
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, kF1));
  EXPECT_FALSE(CAL::ModifierPlacementSeancesCours(true, 2));
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, kSimple));
  EXPECT_FALSE(CAL::DetacherSeances(S(1, 52), 0, resultat));
  AccorderSeulementLesDroits({});
  EXPECT_FALSE(CAL::ModifierPlacementSeancesCours(true, 2));
  Octets detache(12, 0);
  const TypeDomaineHebdomadaire semaines = S(10, 20);
  std::copy(semaines.Octets.begin(), semaines.Octets.end(), detache.begin());
  detache[8] = 11;
  const std::vector<std::pair<uint32_t, Octets>> attendu = {
      {0x8019021B, {1, 2}}, {0x80190207, {1}}, {0x80190214, {1}}, {0x80190402, detache}};
  ASSERT_EQ(client_.Envoyees.size(), attendu.size());
  for (std::size_t i = 0; i < attendu.size(); ++i) {
    EXPECT_EQ(client_.Envoyees[i].Code, attendu[i].first) << i;
    EXPECT_EQ(client_.Envoyees[i].Parametre, 102) << i;
    EXPECT_EQ(client_.Envoyees[i].Donnees, attendu[i].second) << i;
  }
}

TEST_F(PlacementSeances, LocalChangesAreNotBuiltYet) {
  client_.Exclusif = true;
  Poser(kSimple, {0, 0, 1, 52, S(1, 52), S(1, 52)});
  std::array<uint32_t, 2> resultat{};
  EXPECT_THROW((void)CAL::ModifierPlacementSeancesCours(true, 2), ENonConstruit);
  EXPECT_THROW((void)CAL::DetacherSeances(S(10, 20), 0, resultat), ENonConstruit);
}

}  // namespace
