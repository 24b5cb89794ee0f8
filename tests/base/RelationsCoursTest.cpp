// Course relations and the walks between courses and resources: the reader of received relations,
// the after-apply marks, one table of walk cases on one base, each request's bytes, and the changes
// made locally in exclusive mode.
#include <array>
#include <string>
#include <vector>

#include "RessourcesEssai.h"
#include "base/MoteurPlacement.h"
#include "base/SupDomaine.h"
#include "base/SupMAJRessource.h"
#include "base/SupParco.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupRelationCours.h"
#include "base/ressources/SupPartition.h"
#include "base/ressources/SupRelationRessource.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

using namespace RessourcesEssai;
namespace RLC = SupRelationCours;
using ER = TypeEnregistrementRelationCours;
using D = TMethodesDomaine;

constexpr int32_t kRLC = 29, kRLR = 22, kPRT = 20;

TypeDomaineHebdomadaire S(int a, int b) {
  TypeDomaineHebdomadaire d;
  for (int w = a; w <= b; ++w) d.Inclure(w);
  return d;
}

Octets Salle(const std::string& nom, uint32_t numero, uint32_t salles) {
  Octets s = Ressource(5, nom, nom, numero);
  Poser32(s, 184, salles);
  Poser32(s, 192, kNumeroSiteDefaut);
  return s;
}
Octets Relation(uint32_t ressource, uint32_t cours, const TypeDomaineHebdomadaire& semaines) {
  Octets s(16, 0);
  Poser32(s, 0, ressource);
  Poser32(s, 4, cours);
  std::copy(semaines.Octets.begin(), semaines.Octets.end(), s.begin() + 8);
  return s;
}
Octets Paire(uint32_t a, uint32_t b) {
  Octets s(12, 0);
  Poser32(s, 0, a);
  Poser32(s, 4, b);
  return s;
}

// Resources (record number: identifier / 560): teachers P (1) and Q (2), the default teacher (3), a
// grouping (4), a diploma (5), rooms S1 (6) and S2 (7), the room group B of 3 rooms (8) holding S1 and
// S2, the default option (9). Courses: C1 placed over weeks 1-52, C2 placed over 1-20, the whole course
// C3 (1-52) and its fraction F (1-26), C4 and C5 unplaced over 1-52 with nothing (5 relations to
// take over). Relations: in C1, P 1-52, B three times (1-10, 11-20, 21-30), the diploma and the
// grouping; in C2, P 30-40 (outside C2's weeks); in C3 and F, S1 1-52 and 1-26 and P; in C5 five
// relations.
class RelationsCours : public BaseRessources {
 protected:
  static constexpr uint32_t kP = 1, kQ = 2, kProfDefaut = 3, kGrp = 4, kDip = 5, kS1 = 6, kS2 = 7, kB = 8,
                            kOptDefaut = 9;
  static constexpr uint32_t kC1 = 1, kC2 = 2, kC3 = 3, kF = 4, kC4 = 5, kC5 = 6;

  void SetUp() override {
    BaseRessources::SetUp();
    Utilisateur::IdentProfilServeurConnexion() = 100;
    AccorderSeulementLesDroits({26});  // changing courses
    client_.Exclusif = true;
    SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
    ASSERT_EQ(Charger(560, Ressource(0, "Martin", "MAR", 1)), kP);
    ASSERT_EQ(Charger(1120, Ressource(0, "Durand", "DUR", 2)), kQ);
    ASSERT_EQ(Charger(1680, Ressource(0, "", "", 3)), kProfDefaut);
    ASSERT_EQ(Charger(2240, Ressource(1, "Groupe", "GRP", 4)), kGrp);
    ASSERT_EQ(Charger(2800, Ressource(2, "Terminale", "TS", 5)), kDip);
    ASSERT_EQ(Charger(3360, Salle("S1", 6, 1)), kS1);
    ASSERT_EQ(Charger(3920, Salle("S2", 7, 1)), kS2);
    ASSERT_EQ(Charger(4480, Salle("Bloc", 8, 3)), kB);
    ASSERT_EQ(Charger(5040, Ressource(4, "", "", 9)), kOptDefaut);
    for (auto [id, a, b] : {std::tuple{12, 4480, 4480}, {24, 4480, 3360}, {36, 4480, 3920}})
      Recevoir(OrdreRecu(GM_Creation, kRLR, id, Paire(static_cast<uint32_t>(a), static_cast<uint32_t>(b))));
    ASSERT_EQ(Xi::Nombre(SupRelationRessource::Fichier().Table), 3u);
    Cours(kC1, 2, 1, S(1, 52));
    Cours(kC2, 2, 1, S(1, 20));
    Cours(kC3, 0, 3, S(1, 52));
    Cours(kF, 1, 1, S(1, 26));
    Cours(kC4, 2, 3, S(1, 52));
    Cours(kC5, 2, 3, S(1, 52));
    Lier(kC3, kF);
    Relier(kP, kC1, S(1, 52));      // 1
    Relier(kB, kC1, S(1, 10));      // 2
    Relier(kB, kC1, S(11, 20));     // 3
    Relier(kDip, kC1, S(1, 52));    // 4
    Relier(kB, kC1, S(21, 30));     // 5
    Relier(kGrp, kC1, S(1, 52));    // 6
    Relier(kP, kC2, S(30, 40));     // 7
    Relier(kS1, kC3, S(1, 52));     // 8
    Relier(kS1, kF, S(1, 26));      // 9
    Relier(kP, kC3, S(1, 52));      // 10
    Relier(kP, kF, S(1, 26));       // 11
    for (uint32_t r : {kP, kQ, kDip, kS1, kS2}) Relier(r, kC5, S(1, 52));  // 12 to 16
    ASSERT_EQ(Xi::Nombre(Table()), 16u);
    SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
    Memoire::Reinitialiser(SupFichiers::CoursTouches());
    fiche_.FichierVok.SetModifie(false);
  }
  void TearDown() override {
    MoteurPlacement::Services() = {};
    SupDroitFonctionnel::AccesLimite() = {};
    SupDomaine::Initialiser();
    SupParco::SalleMultipleCourante() = false;
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::IdentProfilServeurConnexion() = 0;
    Memoire::Liberer(SupFichiers::CoursTouches());
    SupMAJRessource::Liberer(SupMAJRessource::RessourcesAMettreAJour());
    BaseRessources::TearDown();
  }

  static void* Table() { return RLC::Fichier().Table; }
  static void Cours(uint32_t numero, uint8_t genre, uint8_t statut, const TypeDomaineHebdomadaire& semaines) {
    TFichierSup& f = SupCours::Fichier();
    f.ViderArticle();
    TypeEnregistrementCours* c = SupCours::Article();
    c->Identifiant = static_cast<int32_t>(102 * numero);
    c->Genre = genre;
    c->Statut = statut;
    c->Semaines = semaines;
    c->SemainesPotentielles = semaines;
    ASSERT_TRUE(Xi::Inserer(f.Table));
    ASSERT_EQ(Xi::NumeroCourant(f.Table), numero);
  }
  static void Lier(uint32_t entier, uint32_t fraction) {
    TFichierSup& f = SupFractionnementCours::Fichier();
    f.ViderArticle();
    SupFractionnementCours::Article()->CoursEntier = entier;
    SupFractionnementCours::Article()->Fraction = fraction;
    ASSERT_TRUE(Xi::Inserer(f.Table));
  }
  int32_t prochain_ = 16;
  void Relier(uint32_t ressource, uint32_t cours, const TypeDomaineHebdomadaire& semaines) {
    Recevoir(OrdreRecu(GM_Creation, kRLC, prochain_, Relation(560 * ressource, 102 * cours, semaines)));
    prochain_ += 16;
  }
  static ER Rel(uint32_t n) {
    ER e{};
    RLC::EmpilerPosition();
    EXPECT_TRUE(Xi::AllerA(Table(), n)) << n;
    e = *RLC::Article();
    RLC::DepilerPosition();
    return e;
  }
  static bool Existe(uint32_t n) { return RLC::Fichier().Existe(n); }
  static std::vector<uint32_t> Perimees() {
    const TypeEnsembleMemoire& e = SupMAJRessource::RessourcesAMettreAJour().Ressources;
    return std::vector<uint32_t>(e.Elements, e.Elements + e.Nombre);
  }
  static std::vector<uint32_t> Touches() {
    const TypeEnsembleMemoire& e = SupFichiers::CoursTouches();
    return std::vector<uint32_t>(e.Elements, e.Elements + e.Nombre);
  }
  static void AllerA(TFichierSup& f, uint32_t n) { ASSERT_TRUE(Xi::AllerA(f.Table, n)); }
};

TEST_F(RelationsCours, TheReaderTakesBothRecordsByIdentifierCopiesTheKindAndDropsOrphans) {
  EXPECT_EQ(RLC::Fichier().Description().TailleEnregistrement, sizeof(ER));
  for (const auto& [nom, decalage] : {std::pair<const char*, std::size_t>{"Ressource", offsetof(ER, Ressource)},
                                     {"Cours", offsetof(ER, Cours)},
                                     {"Genre", offsetof(ER, Genre)},
                                     {"Semaines", offsetof(ER, Semaines)}})
    EXPECT_EQ(DeclarationFichier::ChampNomme(RLC::Fichier().Description(), nom)->Decalage, decalage) << nom;
  const ER b = Rel(2);
  EXPECT_EQ(b.Ressource, kB);
  EXPECT_EQ(b.Cours, kC1);
  EXPECT_EQ(b.Genre, 5);
  EXPECT_EQ(b.Semaines, S(1, 10));
  EXPECT_EQ(b.Identifiant, 32);
  EXPECT_EQ(Rel(4).Genre, 2);
  // A missing resource or course drops the relation and marks nothing.
  Recevoir(OrdreRecu(GM_Creation, kRLC, 900, Relation(999, 102, S(1, 5))));
  Recevoir(OrdreRecu(GM_Creation, kRLC, 916, Relation(560, 999, S(1, 5))));
  EXPECT_EQ(Xi::Nombre(Table()), 16u);
  EXPECT_TRUE(Perimees().empty());
  EXPECT_TRUE(Touches().empty());
  // The writer gives the stored layout back.
  ASSERT_TRUE(RLC::ChercherParIdentifiant(32));
  EXPECT_EQ(StockeCourant(kRLC), Relation(4480, 102, S(1, 10)));
}

TEST_F(RelationsCours, ReceivedOrdersMarkTheStaleResourcesAndTheTouchedCourses) {
  // A creation: its resource and its course.
  Recevoir(OrdreRecu(GM_Creation, kRLC, 2000, Relation(1120, 204, S(1, 5))));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kQ}));
  EXPECT_EQ(Touches(), (std::vector<uint32_t>{kC2}));
  // A change onto another resource: the former and the new one.
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  Memoire::Reinitialiser(SupFichiers::CoursTouches());
  Recevoir(OrdreRecu(GM_Modification, kRLC, 2000, Relation(3360, 306, S(1, 5))));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kQ, kS1}));
  EXPECT_EQ(Touches(), (std::vector<uint32_t>{kC3}));
  // A deletion: the resource, no course.
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  Memoire::Reinitialiser(SupFichiers::CoursTouches());
  Recevoir(OrdreRecu(GM_Suppression, kRLC, 2000, {}));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kS1}));
  EXPECT_TRUE(Touches().empty());
  // A refused change (its course is missing) marks only what the former record named.
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  Recevoir(OrdreRecu(GM_Modification, kRLC, 16, Relation(1120, 999, S(1, 5))));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kP}));
  EXPECT_TRUE(Touches().empty());
  EXPECT_EQ(Rel(1).Ressource, kP) << "the refused change leaves the record";
}

// --- The walks

struct Visite {
  uint32_t Cours, Ressource, Relation;
  bool Multiple;
  bool operator==(const Visite&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Visite& v) {
  return o << "{" << v.Cours << "," << v.Ressource << "," << v.Relation << "," << v.Multiple << "}";
}
struct Journal {
  std::vector<Visite> Visites;
  std::size_t ArretA = 0;  // answer True at this visit (1-based), 0 never
};
bool Noter(intptr_t d) {
  auto* j = reinterpret_cast<Journal*>(d);
  const auto courant = [](TFichierSup& f) { return Xi::NumeroCourant(f.Table); };
  j->Visites.push_back({courant(SupCours::Fichier()), courant(SupRessource::Fichier()),
                        courant(SupRelationCours::Fichier()), SupParco::SalleMultipleCourante()});
  return j->Visites.size() == j->ArretA;
}

TEST_F(RelationsCours, WalkCases) {
  enum Walk { CoursDeRessource, RessourcesDuCours, GenreDuCours, SalleOuGroupe, SallesDuGroupe, Partitions };
  struct Cas {
    const char* Nom;
    Walk Parcours;
    uint32_t Cours, Ressource;  // made current first
    bool ChaqueRelation, Toujours, InclureSansSemaine;
    TypeDomaineHebdomadaire Semaines;
    uint8_t Genre;
    std::size_t ArretA;
    std::vector<Visite> Attendu;
  };
  const TypeDomaineHebdomadaire vide{}, annee = S(1, 52);
  const std::vector<Cas> cas = {
      {"empty weeks without Toujours: nothing", CoursDeRessource, kC1, kP, false, false, false, vide, 0, 0, {}},
      {"empty weeks, resources of a course", RessourcesDuCours, kC1, kP, true, false, false, vide, 0, 0, {}},
      {"the courses of a teacher; C2's weeks miss 30-40", CoursDeRessource, kC4, kP, false, false, false, annee, 0, 0,
       {{kC1, kP, 1, false}, {kC3, kP, 10, false}, {kF, kP, 11, false}, {kC5, kP, 12, false}}},
      {"C2 visited with Toujours", CoursDeRessource, kC4, kP, false, true, false, vide, 0, 0,
       {{kC1, kP, 1, false}, {kC2, kP, 7, false}, {kC3, kP, 10, false}, {kF, kP, 11, false}, {kC5, kP, 12, false}}},
      {"only the weeks 30-40: C2's relation meets them, its course does not", CoursDeRessource, kC4, kP, false, false,
       false, S(30, 40), 0, 0, {{kC1, kP, 1, false}, {kC3, kP, 10, false}, {kC5, kP, 12, false}}},
      {"the room group once, from its last relation, weeks united", CoursDeRessource, kC4, kB, false, false, false,
       S(25, 25), 0, 0, {{kC1, kB, 5, true}}},
      {"the room group for every relation", CoursDeRessource, kC4, kB, true, false, false, annee, 0, 0,
       {{kC1, kB, 2, true}, {kC1, kB, 3, true}, {kC1, kB, 5, true}}},
      {"resources of C1 in order 2, the room group once", RessourcesDuCours, kC1, kP, false, false, false, annee, 0, 0,
       {{kC1, kP, 1, false}, {kC1, kGrp, 6, false}, {kC1, kDip, 4, false}, {kC1, kB, 5, true}}},
      {"resources of C1, the room group three times", RessourcesDuCours, kC1, kP, true, false, false, annee, 0, 0,
       {{kC1, kP, 1, false}, {kC1, kGrp, 6, false}, {kC1, kDip, 4, false}, {kC1, kB, 2, true}, {kC1, kB, 3, true},
        {kC1, kB, 5, true}}},
      {"kind 5 of C1: three visits, the last relation current", GenreDuCours, kC1, kP, false, true, false, vide, 5, 0,
       {{kC1, kB, 5, true}, {kC1, kB, 5, true}, {kC1, kB, 5, true}}},
      {"kind 5 of C1 over weeks 11-12", GenreDuCours, kC1, kP, false, false, false, S(11, 12), 5, 0,
       {{kC1, kB, 5, true}}},
      {"stopped at the second visit", RessourcesDuCours, kC1, kQ, true, true, false, vide, 0, 2,
       {{kC1, kP, 1, false}, {kC1, kGrp, 6, false}}},
      {"the courses of the room group and of its rooms", SalleOuGroupe, kC4, kB, false, true, false, vide, 0, 0,
       {{kC3, kS1, 8, false}, {kF, kS1, 9, false}, {kC5, kS1, 15, false}, {kC5, kS2, 16, false}, {kC1, kB, 5, true}}},
      {"a simple room: its own courses only", SalleOuGroupe, kC4, kS2, false, true, false, vide, 0, 0,
       {{kC5, kS2, 16, false}}},
      {"the rooms of the group", SallesDuGroupe, kC4, kB, false, false, false, vide, 0, 0,
       {{kC4, kS1, 0, true}, {kC4, kS2, 0, true}}},  // this walk leaves the flag alone
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Nom);
    AllerA(SupCours::Fichier(), c.Cours);
    AllerA(SupRessource::Fichier(), c.Ressource);
    ASSERT_TRUE(Xi::AllerA(Table(), 12));
    SupParco::SalleMultipleCourante() = true;
    Journal j;
    j.ArretA = c.ArretA;
    const auto d = reinterpret_cast<intptr_t>(&j);
    bool r = false;
    switch (c.Parcours) {
      case CoursDeRessource:
        r = SupParco::PourChaqueCoursDeLaRessource(Noter, d, c.ChaqueRelation, c.Toujours, c.InclureSansSemaine,
                                                   c.Semaines);
        break;
      case RessourcesDuCours:
        r = SupParco::PourChaqueRessourceDuCours(Noter, d, c.ChaqueRelation, c.Toujours, c.Semaines);
        break;
      case GenreDuCours:
        r = SupParco::PourChaqueRessourceDuGenreDuCours(c.Genre, Noter, d, c.Toujours, c.Semaines);
        break;
      case SalleOuGroupe:
        r = SupParco::PourChaqueCoursDeLaSalleOuDuGroupeDeSalles(Noter, d, c.ChaqueRelation, c.Toujours,
                                                                 c.InclureSansSemaine, c.Semaines);
        break;
      case SallesDuGroupe:
        r = SupParco::PourChaqueSalleDuGroupe(Noter, d);
        break;
      case Partitions:
        break;
    }
    if (c.Parcours == SallesDuGroupe)
      for (Visite& v : j.Visites) v.Relation = 0;  // the current relation there is of ".RLR"
    EXPECT_EQ(j.Visites, c.Attendu);
    EXPECT_EQ(r, c.ArretA != 0 && c.ArretA <= j.Visites.size());
    EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), c.Cours);
    EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), c.Ressource);
    EXPECT_EQ(Xi::NumeroCourant(Table()), 12u);
    EXPECT_TRUE(SupParco::SalleMultipleCourante());
  }
}

TEST_F(RelationsCours, NestedWalksKeepTheirOwnRecordsAndFlag) {
  // From the room group to its courses, and from each course to its resources of kind 5.
  struct Etat {
    std::vector<std::pair<uint32_t, std::size_t>> Vus;
    bool DrapeauApres = true;
  } etat;
  AllerA(SupRessource::Fichier(), kB);
  const bool r = SupParco::PourChaqueCoursDeLaRessource(
      [](intptr_t d) {
        auto* e = reinterpret_cast<Etat*>(d);
        Journal j;
        const uint32_t cours = Xi::NumeroCourant(SupCours::Fichier().Table);
        (void)SupParco::PourChaqueRessourceDuCours(Noter, reinterpret_cast<intptr_t>(&j), false, true, {});
        e->Vus.push_back({cours, j.Visites.size()});
        e->DrapeauApres = e->DrapeauApres && SupParco::SalleMultipleCourante() &&
                          Xi::NumeroCourant(SupRessource::Fichier().Table) == kB &&
                          Xi::NumeroCourant(SupCours::Fichier().Table) == cours;
        return false;
      },
      reinterpret_cast<intptr_t>(&etat), true, true, false, {});
  EXPECT_FALSE(r);
  EXPECT_EQ(etat.Vus, (std::vector<std::pair<uint32_t, std::size_t>>{{kC1, 4}, {kC1, 4}, {kC1, 4}}));
  EXPECT_TRUE(etat.DrapeauApres);
  EXPECT_FALSE(SupParco::SalleMultipleCourante());
}

TEST_F(RelationsCours, PartitionsByKindAndTheCounts) {
  const auto partition = [](const std::string& nom, uint32_t numero) {
    Octets s(44, 0);
    PoserChaine(s, 0, nom, 30);
    Poser32(s, 32, numero);
    Poser32(s, 36, 2800);
    return s;
  };
  Recevoir(OrdreRecu(GM_Creation, kPRT, 44, partition("", 1)));
  Recevoir(OrdreRecu(GM_Creation, kPRT, 88, partition("Langues", 2)));
  Recevoir(OrdreRecu(GM_Creation, kPRT, 132, partition("Sport", 3)));
  Octets td = Ressource(3, "TD A", "TDA", 10);
  Poser32(td, 132, 2);
  ASSERT_EQ(Charger(5600, td), 10u);
  AllerA(SupRessource::Fichier(), kDip);
  for (auto [genre, attendu] : {std::pair<uint8_t, std::vector<std::string>>{4, {""}},
                                {3, {"Langues", "Sport"}},
                                {0, {}}}) {
    std::vector<std::string> noms;
    (void)SupParco::PourChaquePartitionDuDiplome(
        genre,
        [](intptr_t d) {
          reinterpret_cast<std::vector<std::string>*>(d)->push_back(
              FichierSup::LireChaineCourte(SupPartition::Article()->Nom, 30));
          return false;
        },
        reinterpret_cast<intptr_t>(&noms));
    EXPECT_EQ(noms, attendu) << int{genre};
  }
  AllerA(SupRessource::Fichier(), kP);
  std::vector<std::string> aucun;
  EXPECT_FALSE(SupParco::PourChaquePartitionDuDiplome(
      3, [](intptr_t) { return true; }, 0)) << "not a diploma";
  EXPECT_EQ(SupParco::NombreDeRessourcesDeLaPartition(SupPartition::PartitionDeCle(2)), 1u);
  EXPECT_EQ(SupParco::NombreDeRessourcesDeLaPartition(SupPartition::PartitionDeCle(3)), 0u);
  // Kinds: 3 has none but the TD above... 4 only its default, 0 two besides its default, 5 three rooms.
  EXPECT_EQ(SupParco::NombreDeRessourcesDuGenre(1, 0), 1u);
  EXPECT_EQ(SupParco::NombreDeRessourcesDuGenre(4, 0), 0u) << "only the default option";
  EXPECT_EQ(SupParco::NombreDeRessourcesDuGenre(0, 0), 2u);
  EXPECT_EQ(SupParco::NombreDeRessourcesDuGenre(5, 0), 3u) << "no default room: none left out";
  EXPECT_EQ(SupParco::NombreDeRessourcesDuGenre(6, 0), 0u) << "a kind without resources";
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), kP);
  AllerA(SupCours::Fichier(), kC1);
  EXPECT_EQ(SupParco::NombreDeRessourcesDuCours(), 6u);
  EXPECT_EQ(RLC::NombreClassesDuCours(kC1), 1u);
  EXPECT_EQ(RLC::NombreRessourcesDuCours(), 3u) << "the grouping left out, the room group once";
  std::array<uint32_t, 52> occupations{};
  RLC::OccupationsSalleParSemaine(kS1, occupations);
  EXPECT_EQ(occupations[0], 1u) << "S1 is in the group B";
  EXPECT_EQ(occupations[30], 0u);
  EXPECT_EQ(occupations[29], 1u);
  // The courses of a resource.
  TypeEnsembleMemoire cours{};
  Memoire::Initialiser(cours);
  AllerA(SupRessource::Fichier(), kP);
  SupRessource::CollecterCoursDeLaRessource(cours);
  EXPECT_EQ(std::vector<uint32_t>(cours.Elements, cours.Elements + cours.Nombre),
            (std::vector<uint32_t>{kC1, kC3, kF, kC5}));
  Memoire::Liberer(cours);
}

// --- Requests through the server

TEST_F(RelationsCours, EachRequestSendsItsBytes) {
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code == RLC::kCodeAjouterRessource || r.Code == RLC::kCodeModifierPresence) {
      const int32_t id = 48;
      std::memcpy(reponse, &id, 4);
    }
    return true;
  };
  SupDomaine::PeriodeDeTravail() = S(5, 40);
  const auto semaines = [](const TypeDomaineHebdomadaire& d) { return Octets(d.Octets.begin(), d.Octets.end()); };
  const auto entier = [](int32_t v) {
    Octets o(4);
    std::memcpy(o.data(), &v, 4);
    return o;
  };
  EXPECT_TRUE(RLC::CreerRelationsParDefaut());
  EXPECT_TRUE(RLC::AjouterRessourceAuCours(kC2, kQ, S(1, 8)));
  EXPECT_EQ(Xi::NumeroCourant(Table()), 3u) << "the answered identifier made current";
  EXPECT_EQ(RLC::Fichier().Existe(17), false);
  EXPECT_TRUE(RLC::DupliquerRessourcesDuCours(kC1, kC4, S(2, 3), true));
  ASSERT_TRUE(Xi::AllerA(Table(), 7));
  EXPECT_TRUE(RLC::ModifierPresenceRessource(S(2, 4)));
  ASSERT_TRUE(Xi::AllerA(Table(), 7));
  EXPECT_TRUE(RLC::SupprimerRelation(true));
  AllerA(SupCours::Fichier(), kC3);
  EXPECT_TRUE(RLC::SupprimerRessourcesDuCours(false));
  EXPECT_TRUE(RLC::RetirerRessourceDuCours(kC1, kP, S(10, 20)));
  const std::vector<std::tuple<uint32_t, int32_t, Octets>> attendu = {
      {0x801A0000, 0, {}},
      {0x801A0100, 0, Concatener({entier(204), entier(1120), semaines(S(1, 8)), Octets(9, 0)})},
      {0x801A0102, 0, Concatener({entier(102), entier(510), semaines(S(2, 3)), {1}})},
      {0x801A0200, 112, semaines(S(2, 4))},
      {0x801A0300, 112, {1}},
      {0x801A0302, 306, {0}},
      {0x801A0500, 0, Concatener({entier(102), entier(560), semaines(S(10, 20)), semaines(S(5, 40)), Octets(2, 0)})},
  };
  ASSERT_EQ(client_.Envoyees.size(), attendu.size());
  for (std::size_t i = 0; i < attendu.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(client_.Envoyees[i].Code, std::get<0>(attendu[i]));
    EXPECT_EQ(client_.Envoyees[i].Parametre, std::get<1>(attendu[i]));
    EXPECT_EQ(client_.Envoyees[i].Donnees, std::get<2>(attendu[i]));
  }
  EXPECT_EQ(Xi::Nombre(Table()), 16u) << "nothing changed locally";
  // A refused removal answers the verdict.
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  EXPECT_FALSE(RLC::RetirerRessourceDuCours(kC1, kP, S(10, 20)));
  // Without the right to change courses nothing is sent.
  AccorderSeulementLesDroits({});
  ASSERT_TRUE(Xi::AllerA(Table(), 7));
  EXPECT_FALSE(RLC::ModifierPresenceRessource(S(2, 4)));
  EXPECT_EQ(client_.Envoyees.size(), attendu.size() + 1);
}

// --- Exclusive mode

TEST_F(RelationsCours, AddingLocallyRoomGroupsTwiceTeachersOnce) {
  int notifications = 0;
  NetXi::Table(kRLC)->SurModification1 = [&](TypeGenreModif, int32_t, int32_t) { ++notifications; };
  EXPECT_TRUE(RLC::AjouterRessourceAuCours(kC2, kB, S(1, 30)));
  const uint32_t premiere = Xi::NumeroCourant(Table());
  EXPECT_EQ(RLC::Article()->Semaines, S(1, 20)) << "within the course's weeks";
  EXPECT_EQ(RLC::Article()->Genre, 5);
  EXPECT_TRUE(RLC::AjouterRessourceAuCours(kC2, kB, S(5, 6)));
  const uint32_t seconde = Xi::NumeroCourant(Table());
  EXPECT_EQ(RLC::NombreOccurrencesRessourceDansCours(kC2, kB), 2u);
  ASSERT_TRUE(RLC::AllerARelationDansCours(kC2, kB, 2));
  EXPECT_EQ(Xi::NumeroCourant(Table()), std::max(premiere, seconde));
  EXPECT_EQ(RLC::RangRelationDansCours(), 2u);
  EXPECT_FALSE(RLC::AllerARelationDansCours(kC2, kB, 3));
  EXPECT_FALSE(RLC::AllerARelationDansCours(kC2, kB, 0));
  EXPECT_EQ(notifications, 2);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kP, kB})) << "the placed course's resources are stale";
  // A teacher already in the course, or weeks outside a fixed course's, are refused.
  EXPECT_FALSE(RLC::AjouterRessourceAuCours(kC2, kP, S(1, 5)));
  EXPECT_FALSE(RLC::AjouterRessourceAuCours(kC2, kQ, S(30, 40)));
  EXPECT_TRUE(RLC::AjouterRessourceAuCours(kC2, kQ, S(1, 5)));
  EXPECT_FALSE(RLC::AjouterRessourceAuCours(kC2, kQ, S(1, 5)));
  EXPECT_EQ(notifications, 3);
}

TEST_F(RelationsCours, PresenceIsCutToAFixedCoursesWeeksOrTheRelationDeleted) {
  ASSERT_TRUE(Xi::AllerA(Table(), 7));  // P in C2 (weeks 1-20)
  EXPECT_TRUE(RLC::ModifierPresenceRessource(S(15, 30)));
  EXPECT_EQ(Rel(7).Semaines, S(15, 20));
  ASSERT_TRUE(Xi::AllerA(Table(), 7));
  EXPECT_TRUE(RLC::ModifierPresenceRessource(S(30, 40)));
  EXPECT_FALSE(Existe(7));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kP}));
}

TEST_F(RelationsCours, DuplicatingThreeRelationsOntoFiveReusesThreeAndDeletesTwo) {
  AllerA(SupCours::Fichier(), kC2);
  // C3 holds S1 and P; add the diploma: three relations to give C5, which holds five.
  Relier(kDip, kC3, S(1, 52));
  ASSERT_EQ(RLC::NombreOccurrencesRessourceDansCours(kC5, kQ), 1u);
  EXPECT_TRUE(RLC::DupliquerRessourcesDuCours(kC3, kC5, S(1, 30), false));
  std::vector<std::pair<uint32_t, TypeDomaineHebdomadaire>> relations;
  for (uint32_t n = 12; n <= 16; ++n)
    if (Existe(n)) relations.push_back({Rel(n).Ressource, Rel(n).Semaines});
  ASSERT_EQ(relations.size(), 3u) << "three of the five records reused, two deleted";
  for (const auto& [r, s] : relations) EXPECT_EQ(s, S(1, 30)) << r;
  EXPECT_EQ(RLC::NombreOccurrencesRessourceDansCours(kC5, kS1), 1u);
  EXPECT_EQ(RLC::NombreOccurrencesRessourceDansCours(kC5, kP), 1u);
  EXPECT_EQ(RLC::NombreOccurrencesRessourceDansCours(kC5, kDip), 1u);
  EXPECT_EQ(RLC::NombreOccurrencesRessourceDansCours(kC5, kQ), 0u);
  EXPECT_EQ(Rel(12).Identifiant, 12 * 16) << "a reused record keeps its identifier";
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), kC2);
  // Skipping inaccessible rooms asks the access rules, which are not built yet.
  EXPECT_THROW(RLC::DupliquerRessourcesDuCours(kC3, kC4, S(1, 30), true), ENonConstruit);
}

TEST_F(RelationsCours, RemovingWeeksKeepsTheRestAndAnswersWhetherSomethingChanged) {
  SupDomaine::PeriodeDeTravail() = S(1, 52);
  EXPECT_TRUE(RLC::RetirerRessourceDuCours(kC1, kP, S(10, 20)));
  TypeDomaineHebdomadaire reste = S(1, 9);
  reste = D::Union(reste, S(21, 52));
  EXPECT_EQ(Rel(1).Semaines, reste);
  EXPECT_FALSE(RLC::RetirerRessourceDuCours(kC1, kP, S(10, 20))) << "nothing left to remove";
  // Only the working period is removed; a relation left without weeks is deleted.
  SupDomaine::PeriodeDeTravail() = S(1, 5);
  EXPECT_TRUE(RLC::RetirerRessourceDuCours(kC1, kB, S(1, 10)));
  EXPECT_EQ(Rel(2).Semaines, S(6, 10));
  SupDomaine::PeriodeDeTravail() = S(1, 52);
  AllerA(SupCours::Fichier(), kC1);
  AllerA(SupRessource::Fichier(), kB);
  EXPECT_TRUE(RLC::RetirerRessourceCourante(S(1, 20)));
  EXPECT_FALSE(Existe(2));
  EXPECT_FALSE(Existe(3));
  EXPECT_EQ(Rel(5).Semaines, S(21, 30));
}

TEST_F(RelationsCours, DeletingOnAWholeCourseTakesTheFractionsRelationsThenItsOwn) {
  std::vector<std::string> appels;
  // Without the placement engine nothing is deleted.
  ASSERT_TRUE(Xi::AllerA(Table(), 8));
  EXPECT_THROW(RLC::SupprimerRelation(true), ENonConstruit);
  EXPECT_TRUE(Existe(8));
  MoteurPlacement::Services().CalculerEtatCompactage = [&appels] {
    appels.push_back("compactage " + std::to_string(Xi::NumeroCourant(SupCours::Fichier().Table)));
  };
  std::vector<int32_t> supprimees;
  NetXi::Table(kRLC)->SurModification1 = [&](TypeGenreModif g, int32_t, int32_t id) {
    if (g == GM_Suppression) supprimees.push_back(id);
  };
  AllerA(SupCours::Fichier(), kC2);
  ASSERT_TRUE(Xi::AllerA(Table(), 8));
  EXPECT_TRUE(RLC::SupprimerRelation(true));
  EXPECT_EQ(supprimees, (std::vector<int32_t>{9 * 16, 8 * 16})) << "the fraction's homologous relation first";
  EXPECT_EQ(appels, (std::vector<std::string>{"compactage 3"}));
  EXPECT_TRUE(Existe(10));
  EXPECT_TRUE(Existe(11));
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), kC2);
  // A fraction's relation goes alone, without compaction.
  ASSERT_TRUE(Xi::AllerA(Table(), 11));
  EXPECT_TRUE(RLC::SupprimerRelation(true));
  EXPECT_EQ(appels.size(), 1u);
  EXPECT_TRUE(Existe(10));
  // Every relation of a course.
  AllerA(SupCours::Fichier(), kC5);
  EXPECT_TRUE(RLC::SupprimerRessourcesDuCours(false));
  for (uint32_t n = 12; n <= 16; ++n) EXPECT_FALSE(Existe(n));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{kP, kQ, kDip, kS1, kS2}));
}

TEST_F(RelationsCours, PresencesOfACourseAreTrimmedToItsWeeks) {
  AllerA(SupCours::Fichier(), kF);
  TypeEnregistrementCours* c = SupCours::Article();
  c->Semaines = S(20, 30);
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  RLC::ActualiserPresencesDuCours();
  EXPECT_EQ(Rel(9).Semaines, S(20, 26));
  EXPECT_EQ(Rel(11).Semaines, S(20, 26));
  c->Semaines = S(40, 45);
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  RLC::ActualiserPresencesDuCours();
  EXPECT_FALSE(Existe(9));
  EXPECT_FALSE(Existe(11));
  // The presence reads.
  AllerA(SupRessource::Fichier(), kP);
  EXPECT_TRUE(RLC::RessourcePresenteDansCours(kC1, S(5, 5)));
  EXPECT_FALSE(RLC::RessourcePresenteDansCours(kC2, S(1, 52))) << "its weeks miss the course's";
  AllerA(SupCours::Fichier(), kC2);
  EXPECT_FALSE(RLC::RessourceCouranteDansCoursCourant());
  AllerA(SupCours::Fichier(), kC1);
  EXPECT_TRUE(RLC::RessourceCouranteDansCoursCourant());
}

}  // namespace
