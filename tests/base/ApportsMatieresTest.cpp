// Subject contributions and their period relations: the three stored layouts of contributions, the
// stored relation with and without calendar, both verifiers, the rule that a curriculum receives a
// subject with a course type once (directly or through a module), the requests through the server
// and locally, the calendar cleared from the relations, the walks of the curriculum-module relation,
// the deletion of a subject with what refers to it, and the requests on modules, curricula and their
// relation with the conflict test, the deletions and the totals.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "RessourcesEssai.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/ModulesCursusRequetes.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupModule.h"
#include "base/fichiers/SupRelationCursusModule.h"
#include "base/fichiers/SupTypologieCours.h"
#include "base/matieres/SupApportMatiere.h"
#include "base/matieres/SupMatiere.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "base/matieres/SupRelationMatieres.h"
#include "base/ressources/SupRelationRessourceMatiere.h"
#include "core/objects/Erreur.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "platform/ui/VclDialogue.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

using namespace RessourcesEssai;
namespace PAM = SupApportMatiere;
namespace RAP = SupRelationApportPeriode;
namespace RCM = SupRelationCursusModule;
using EA = TypeEnregistrementApportMatiere;
using ER = TypeEnregistrementRelationApportPeriode;

constexpr int32_t kTYP = 11, kMDL = 15, kRCM = 41, kPAM = 33, kRAP = 42, kCRS = 28, kFMR = 9, kSFM = 10, kRFM = 21;
// Identifiers: course types, the second curriculum, the modules, the classes and the teacher.
constexpr int32_t kIdCours = 28, kIdTD = 56, kIdTP = 84, kIdOption = 112, kIdAucun = 140, kIdMaster = 104,
                  kIdAnalyse = 52, kIdAlgebre = 104, kIdDiplome = 560, kIdTDClasse = 1120, kIdOptionClasse = 1680,
                  kIdProf = 2240;

Octets Typologie(const std::string& nom, uint8_t structure) {
  Octets s(28, 0);
  PoserChaine(s, 0, nom, 13);
  s[24] = structure;
  return s;
}

// A stored contribution of the current layout.
Octets Apport(int32_t duree, int32_t matiere, uint8_t genre, int32_t element, int32_t typologie) {
  Octets s(20, 0);
  Poser32(s, 0, static_cast<uint32_t>(duree));
  Poser32(s, 4, static_cast<uint32_t>(matiere));
  s[8] = genre;
  Poser32(s, 12, static_cast<uint32_t>(element));
  Poser32(s, 16, static_cast<uint32_t>(typologie));
  return s;
}

Octets RelationPeriode(int32_t classe, int32_t apport, int32_t calendrier, uint32_t periode, uint8_t coche) {
  Octets s(20, 0);
  Poser32(s, 0, static_cast<uint32_t>(classe));
  Poser32(s, 4, static_cast<uint32_t>(apport));
  Poser32(s, 8, static_cast<uint32_t>(calendrier));
  Poser32(s, 12, periode);
  s[16] = coche;
  return s;
}

Octets Paire(int32_t a, int32_t b) {
  Octets s(8, 0);
  Poser32(s, 0, static_cast<uint32_t>(a));
  Poser32(s, 4, static_cast<uint32_t>(b));
  return s;
}

// Course types Cours (1), TD (2), TP (3), Option (4) and Aucun (5, structure 0); curricula L1 (1)
// and Master (2); modules Analyse (1, in L1) and Algebre (2, in no curriculum); a diploma, a TD and
// an option class and a teacher; subjects MATH (1) and PHYS (2). The connected user may change
// modules and curricula (bit 32) and delete subjects (bit 7).
class Apports : public BaseRessources {
 protected:
  void SetUp() override {
    BaseRessources::SetUp();
    Utilisateur::IdentProfilServeurConnexion() = 100;
    AccorderSeulementLesDroits({32, 7});
    for (auto [id, nom, structure] : {std::tuple{kIdCours, "Cours", 1}, {kIdTD, "TD", 2}, {kIdTP, "TP", 2},
                                      {kIdOption, "Option", 3}, {kIdAucun, "Aucun", 0}})
      Recevoir(OrdreRecu(GM_Creation, kTYP, id, Typologie(nom, static_cast<uint8_t>(structure))));
    Recevoir(OrdreRecu(GM_Creation, kCUR, kIdMaster, Concatener({Chaine("Master", 30), Chaine("M1", 20)})));
    Recevoir(OrdreRecu(GM_Creation, kMDL, kIdAnalyse, Concatener({Chaine("Analyse", 30), Chaine("AN", 20)})));
    Recevoir(OrdreRecu(GM_Creation, kMDL, kIdAlgebre, Concatener({Chaine("Algebre", 30), Chaine("AL", 20)})));
    Recevoir(OrdreRecu(GM_Creation, kRCM, 8, Paire(kIdCursus, kIdAnalyse)));
    ASSERT_NE(Charger(kIdDiplome, Ressource(2, "Terminale", "TS", 1)), 0u);
    ASSERT_NE(Charger(kIdTDClasse, Ressource(3, "TD A", "TDA", 2)), 0u);
    ASSERT_NE(Charger(kIdOptionClasse, Ressource(4, "Latin", "LAT", 3)), 0u);
    ASSERT_NE(Charger(kIdProf, Ressource(0, "Martin", "MAR", 4)), 0u);
    for (auto [place, n] : {std::pair{kTYP, 5u}, {kCUR, 2u}, {kMDL, 2u}, {kRCM, 1u}, {kRES, 4u}})
      ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), n) << place;
  }
  void TearDown() override {
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::IdentProfilServeurConnexion() = 0;
    BaseRessources::TearDown();
  }
  static void* TablePAM() { return PAM::Fichier().Table; }
  static void* TableRAP() { return RAP::Fichier().Table; }
  static uint32_t Numero(int32_t place, int32_t identifiant) {
    return SupFichiers::Fichier(place)->NumeroDeIdentifiant(identifiant);
  }
  // Loads a contribution, respectively a period relation, as a creation order: its record number.
  static uint32_t ChargerApport(int32_t id, const Octets& s) {
    Recevoir(OrdreRecu(GM_Creation, kPAM, id, s));
    return Numero(kPAM, id);
  }
  static uint32_t ChargerRelation(int32_t id, const Octets& s) {
    Recevoir(OrdreRecu(GM_Creation, kRAP, id, s));
    return Numero(kRAP, id);
  }
  // The record numbers of a file's records, in record-number order.
  static std::vector<uint32_t> Numeros(int32_t place) {
    std::vector<uint32_t> n;
    void* t = SupFichiers::Fichier(place)->Table;
    for (bool encore = Xi::Premier(t, 0); encore; encore = Xi::Suivant(t, 0)) n.push_back(Xi::NumeroCourant(t));
    return n;
  }
  // The verifier's verdict on one record: "" when sound, else its error's text.
  static std::string Verdict(int32_t place, uint32_t numero) {
    TFichierSup& f = *SupFichiers::Fichier(place);
    EXPECT_TRUE(Xi::AllerA(f.Table, numero));
    TErreur* erreur = nullptr;
    const bool sain = f.Verificateur()->VerifierArticle(erreur);
    const std::string texte = erreur == nullptr ? "" : erreur->Message;
    delete erreur;
    EXPECT_EQ(sain, texte.empty());
    return texte;
  }
  static const EA& A() { return *PAM::Article(); }
  static const ER& R() { return *RAP::Article(); }
  // Typology record numbers.
  static constexpr uint32_t kCours = 1, kTD = 2, kTP = 3, kOption = 4, kAucun = 5;
  static constexpr uint32_t kMath = 1, kPhys = 2, kL1 = 1, kMaster = 2, kAnalyse = 1, kAlgebre = 2;
  static constexpr uint32_t kDiplome = 1, kTDClasse = 2, kOptionClasse = 3, kProf = 4;
};

TEST_F(Apports, TheInMemoryRecordsAgreeWithTheirDeclarations) {
  const std::pair<const char*, std::size_t> apport[] = {{"Duree", offsetof(EA, Duree)},
                                                        {"Matiere", offsetof(EA, Matiere)},
                                                        {"Genre", offsetof(EA, Genre)},
                                                        {"Element", offsetof(EA, Element)},
                                                        {"Typologie", offsetof(EA, Typologie)}};
  const std::pair<const char*, std::size_t> relation[] = {{"Classe", offsetof(ER, Classe)},
                                                          {"Apport", offsetof(ER, Apport)},
                                                          {"Calendrier", offsetof(ER, Calendrier)},
                                                          {"Periode", offsetof(ER, Periode)},
                                                          {"Coche", offsetof(ER, Coche)}};
  EXPECT_EQ(PAM::Fichier().Description().TailleEnregistrement, sizeof(EA));
  EXPECT_EQ(RAP::Fichier().Description().TailleEnregistrement, sizeof(ER));
  for (const auto& [nom, decalage] : apport)
    EXPECT_EQ(DeclarationFichier::ChampNomme(PAM::Fichier().Description(), nom)->Decalage, decalage) << nom;
  for (const auto& [nom, decalage] : relation)
    EXPECT_EQ(DeclarationFichier::ChampNomme(RAP::Fichier().Description(), nom)->Decalage, decalage) << nom;
}

TEST_F(Apports, AStoredContributionByBaseVersion) {
  TFichierSup& f = PAM::Fichier();
  ASSERT_EQ(f.Description().Dispositions.size(), 3u);
  struct Version {
    TypeVersionFormat V;
    bool Anterieure506;
    std::size_t Disposition;
    uint32_t Taille;
  };
  for (const Version& v : {Version{{2, 0, 64, 0}, true, 0, 112}, {{2, 0, 65, 0}, true, 1, 16},
                           {{4, 0, 98, 0}, true, 1, 16}, {{4, 0, 99, 0}, true, 2, 20}, {{5, 0, 6, 1}, false, 2, 20}}) {
    EXPECT_EQ(f.DispositionPour(v.V, v.Anterieure506), v.Disposition) << v.V.Revision;
    EXPECT_EQ(f.Description().Dispositions[v.Disposition].Taille, v.Taille);
  }
  const auto layoutA = [](int32_t matiere, int32_t ressource, int32_t duree) {
    Octets s(112, 0xAB);  // what the reader does not read
    Poser32(s, 0, static_cast<uint32_t>(matiere));
    Poser32(s, 4, static_cast<uint32_t>(ressource));
    Poser32(s, 108, static_cast<uint32_t>(duree));
    return s;
  };
  const auto layoutB = [](int32_t duree, int32_t matiere, uint8_t genre, int32_t element) {
    Octets s = Apport(duree, matiere, genre, element, 0);
    s.resize(16);
    return s;
  };
  struct Cas {
    const char* Quoi;
    std::size_t Disposition;
    Octets Stocke;
    bool Accepte;
    uint8_t Genre;
    uint32_t Element, Typologie;
  };
  const Cas cas[] = {
      {"A: a teacher's contribution, course type Cours", 0, layoutA(kIdMatiere2, kIdProf, 250), true, 1, kProf, kCours},
      {"A: subject missing", 0, layoutA(999, kIdProf, 250), false, 0, 0, 0},
      {"A: resource missing", 0, layoutA(kIdMatiere2, 999, 250), false, 0, 0, 0},
      {"B: a module", 1, layoutB(250, kIdMatiere2, 2, kIdAlgebre), true, 2, kAlgebre, kCours},
      {"B: a resource", 1, layoutB(250, kIdMatiere2, 1, kIdTDClasse), true, 1, kTDClasse, kCours},
      {"B: a genre above 2 names no element", 1, layoutB(250, kIdMatiere2, 3, kIdTDClasse), false, 0, 0, 0},
      {"current: a curriculum", 2, Apport(250, kIdMatiere2, 0, kIdMaster, kIdTD), true, 0, kMaster, kTD},
      {"current: a resource is dropped", 2, Apport(250, kIdMatiere2, 1, kIdProf, kIdTD), false, 0, 0, 0},
      {"current: no course type is dropped", 2, Apport(250, kIdMatiere2, 0, kIdMaster, 0), false, 0, 0, 0},
      {"current: an unknown course type", 2, Apport(250, kIdMatiere2, 0, kIdMaster, 999), false, 0, 0, 0},
      {"current: a genre above 2", 2, Apport(250, kIdMatiere2, 7, kIdMaster, kIdTD), false, 0, 0, 0},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    f.ViderArticle();
    ASSERT_EQ(f.LireArticleStocke(c.Disposition, c.Stocke.data(), 40, GM_Creation), c.Accepte);
    if (!c.Accepte) continue;
    EXPECT_EQ(A().Duree, 250);
    EXPECT_EQ(A().Matiere, kPhys);
    EXPECT_EQ(A().Genre, c.Genre);
    EXPECT_EQ(A().Element, c.Element);
    EXPECT_EQ(A().Typologie, c.Typologie);
  }
  // Without a typology named "Cours" the older layouts have no course type.
  Recevoir(OrdreRecu(GM_Suppression, kTYP, kIdCours, {}));
  ASSERT_TRUE(f.LireArticleStocke(1, layoutB(5, kIdMatiere1, 0, kIdCursus).data(), 40, GM_Creation));
  EXPECT_EQ(A().Typologie, 0u);

  // The writer writes the current layout: genre at 8, course type at 16.
  const Octets stocke = Apport(250, kIdMatiere2, 2, kIdAnalyse, kIdOption);
  ASSERT_TRUE(Xi::AllerA(TablePAM(), ChargerApport(20, stocke)));
  TypeTableReseau* entree = NetXi::Table(kPAM);
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, TablePAM(), 20, GM_Modification));
  EXPECT_EQ(Octets(entree->Tampon, entree->Tampon + 20), stocke);
}

TEST_F(Apports, AStoredPeriodRelationWithAndWithoutCalendar) {
  const uint32_t apport = ChargerApport(20, Apport(100, kIdMatiere1, 0, kIdCursus, kIdTD));
  ASSERT_NE(apport, 0u);
  EXPECT_EQ(NetXi::Table(kRAP)->TailleStockee, 20u);
  struct Cas {
    const char* Quoi;
    Octets Stocke;
    bool Accepte;
    uint32_t Calendrier, Periode;
  };
  const Cas cas[] = {
      {"with a calendar", RelationPeriode(kIdTDClasse, 20, kIdCalendrier2, 3, 1), true, 2, 3},
      {"without: no period", RelationPeriode(kIdTDClasse, 20, 0, 5, 0), true, 0, 0},
      {"an unknown calendar", RelationPeriode(kIdTDClasse, 20, 999, 3, 0), false, 0, 0},
      {"class missing", RelationPeriode(999, 20, 0, 0, 0), false, 0, 0},
      {"contribution missing", RelationPeriode(kIdTDClasse, 40, 0, 0, 0), false, 0, 0},
  };
  TFichierSup& f = RAP::Fichier();
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    f.ViderArticle();
    ASSERT_EQ(f.LireArticleStocke(0, c.Stocke.data(), 20, GM_Creation), c.Accepte);
    if (!c.Accepte) continue;
    EXPECT_EQ(R().Classe, kTDClasse);
    EXPECT_EQ(R().Apport, apport);
    EXPECT_EQ(R().Calendrier, c.Calendrier);
    EXPECT_EQ(R().Periode, c.Periode);
  }
  for (const Octets& stocke : {RelationPeriode(kIdTDClasse, 20, kIdCalendrier2, 3, 1),
                               RelationPeriode(kIdOptionClasse, 20, 0, 0, 0)}) {
    const int32_t id = stocke[8] != 0 ? 20 : 40;
    ASSERT_TRUE(Xi::AllerA(TableRAP(), ChargerRelation(id, stocke)));
    TypeTableReseau* entree = NetXi::Table(kRAP);
    ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, TableRAP(), id, GM_Modification));
    EXPECT_EQ(Octets(entree->Tampon, entree->Tampon + 20), stocke);
  }
}

TEST_F(Apports, BothVerifiersOverTheStructureRules) {
  ASSERT_NE(dynamic_cast<TVerificateurApportMatiere*>(PAM::Fichier().Verificateur()), nullptr);
  ASSERT_NE(dynamic_cast<TVerificateurRelationApportPeriode*>(RAP::Fichier().Verificateur()), nullptr);
  // Records put straight into the tables, as an older base may leave them.
  const auto apport = [](uint8_t genre, uint32_t element, uint32_t matiere, uint32_t typologie) {
    PAM::ViderArticle();
    *PAM::Article() = EA{0, 100, matiere, genre, {}, element, typologie};
    EXPECT_TRUE(Xi::Inserer(TablePAM()));
    return Xi::NumeroCourant(TablePAM());
  };
  const uint32_t td = apport(0, kL1, kMath, kTD), option = apport(2, kAnalyse, kMath, kOption),
                 aucun = apport(0, kMaster, kMath, kAucun), ressource = apport(1, kProf, kMath, kCours),
                 sansMatiere = apport(0, kMaster, 9, kCours), sansElement = apport(2, 9, kPhys, kCours),
                 sansType = apport(0, kMaster, kPhys, 0);
  const std::string erreurApport = std::string("Erreur sur l apport matière numero = "_ansi);
  for (uint32_t sain : {td, option}) EXPECT_EQ(Verdict(kPAM, sain), "") << sain;
  for (uint32_t casse : {aucun, ressource, sansMatiere, sansElement, sansType})
    EXPECT_EQ(Verdict(kPAM, casse), erreurApport + std::to_string(casse));

  const auto relation = [](uint32_t classe, uint32_t apport, uint32_t calendrier, bool coche) {
    RAP::ViderArticle();
    *RAP::Article() = ER{0, classe, apport, calendrier, calendrier != 0 ? 2u : 0u, coche, {}};
    EXPECT_TRUE(Xi::Inserer(TableRAP()));
    return Xi::NumeroCourant(TableRAP());
  };
  struct Cas {
    const char* Quoi;
    uint32_t Classe, Apport, Calendrier;
    bool Coche, Sain;
  };
  const Cas cas[] = {
      {"a diploma, not checked, with a calendar", kDiplome, td, 1, false, true},
      {"a checked diploma", kDiplome, option, 0, true, false},
      {"a checked TD on a TD course type", kTDClasse, td, 0, true, true},
      {"a checked TD on an Option course type", kTDClasse, option, 0, true, false},
      {"a checked option on an Option course type", kOptionClasse, option, 0, true, true},
      {"a checked option on a TD course type", kOptionClasse, td, 0, true, false},
      {"a teacher is no class", kProf, ressource, 0, false, false},
      {"a class that does not exist", 9, td, 0, false, false},
      {"a contribution that does not exist", kTDClasse, 99, 0, false, false},
      {"a calendar that does not exist", kOptionClasse, aucun, 9, false, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    const uint32_t n = relation(c.Classe, c.Apport, c.Calendrier, c.Coche);
    EXPECT_EQ(Verdict(kRAP, n), c.Sain ? "" : "Erreur sur la RelationApportPeriode numero = " + std::to_string(n));
  }
}

// Locally (exclusive mode).
class ApportsLocaux : public Apports {
 protected:
  void SetUp() override {
    Apports::SetUp();
    client_.Exclusif = true;
  }
  void TearDown() override {
    EXPECT_TRUE(client_.Envoyees.empty());
    EXPECT_EQ(SupTraitement::Profondeur(), 0u);
    Apports::TearDown();
  }
};

TEST_F(ApportsLocaux, AnIdenticalContributionGrowsAndZeroIsRefused) {
  ASSERT_TRUE(PAM::AjouterApportMatiere(150, kMath, kL1, kTD, 0));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 1u);
  ASSERT_TRUE(PAM::AjouterApportMatiere(150, kMath, kL1, kTD, 0));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 1u);
  EXPECT_EQ(A().Duree, 300);
  EXPECT_FALSE(PAM::AjouterApportMatiere(0, kMath, kL1, kTD, 0));
  EXPECT_FALSE(PAM::AjouterApportMatiere(0x7FFFFFFF, kMath, kL1, kTD, 0)) << "the sum leaves 32 bits";
  ASSERT_TRUE(PAM::ChercherParIdentifiant(0));
  EXPECT_EQ(A().Duree, 300);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  // Refused before anything: a resource's contribution, a missing subject or element.
  EXPECT_FALSE(PAM::AjouterApportMatiere(100, kMath, kProf, kTD, 1));
  EXPECT_FALSE(PAM::AjouterApportMatiere(100, 9, kL1, kTD, 0));
  EXPECT_FALSE(PAM::AjouterApportMatiere(100, kMath, 9, kTD, 2));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 1u);
}

TEST_F(ApportsLocaux, ACurriculumReceivesASubjectWithACourseTypeOnce) {
  // L1 receives MATH in TD directly; its module Analyse receives PHYS as a lecture.
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kL1, kTD, 0));
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kAnalyse, kCours, 2));
  Recevoir(OrdreRecu(GM_Creation, kRCM, 16, Paire(kIdCursus, kIdAlgebre)));
  struct Cas {
    const char* Quoi;
    uint32_t Matiere, Element, Typologie;
    uint8_t Genre;
    bool Accepte;
  };
  const Cas cas[] = {
      {"a module whose curriculum has it directly", kMath, kAnalyse, kTD, 2, false},
      {"a curriculum one of whose modules has it", kPhys, kL1, kCours, 0, false},
      {"a module another module of its curriculum has it", kPhys, kAlgebre, kCours, 2, false},
      {"another course type", kPhys, kAlgebre, kTD, 2, true},
      {"another curriculum", kMath, kMaster, kTD, 0, true},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    const uint32_t avant = Xi::Nombre(TablePAM());
    EXPECT_EQ(PAM::AjouterApportMatiere(100, c.Matiere, c.Element, c.Typologie, c.Genre), c.Accepte);
    EXPECT_EQ(Xi::Nombre(TablePAM()), avant + (c.Accepte ? 1 : 0));
  }
  EXPECT_EQ(Xi::NumeroCourant(SupModule::Fichier().Table), 0u) << "nothing moved the modules";
}

TEST_F(ApportsLocaux, AChangeOfCourseTypeToAnotherStructureDeletesThePeriodRelations) {
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kL1, kTD, 0));
  const uint32_t mathL1 = Xi::NumeroCourant(TablePAM());
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kAnalyse, kTD, 2));
  const uint32_t physAnalyse = Xi::NumeroCourant(TablePAM());
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kL1, kOption, 0));
  for (uint32_t apport : {mathL1, physAnalyse}) {
    ASSERT_TRUE(RAP::CreerRelationCochee(kTDClasse, apport, true));
    ASSERT_TRUE(RAP::CreerRelationCochee(kDiplome, apport, false));
  }
  const auto relations = [](uint32_t apport) {
    uint32_t n = 0;
    for (uint32_t r : Numeros(kRAP)) n += RAP::Fichier().ValeurDe(r, offsetof(ER, Apport)) == apport;
    return n;
  };
  const auto changer = [](uint32_t apport, uint32_t typologie) {
    EXPECT_TRUE(Xi::AllerA(TablePAM(), apport));
    EA copie = A();
    copie.Typologie = typologie;
    return PAM::ModifierApportMatiere(copie);
  };
  // TD to TP: the same structure, the relations stay.
  ASSERT_TRUE(changer(mathL1, kTP));
  EXPECT_EQ(relations(mathL1), 2u);
  // TP to Option: another structure, the relations go.
  ASSERT_TRUE(changer(mathL1, kOption));
  EXPECT_EQ(A().Typologie, kOption);
  EXPECT_EQ(relations(mathL1), 0u);
  // Option for PHYS in Analyse is refused (L1 has it): nothing changes, the relations stay.
  EXPECT_FALSE(changer(physAnalyse, kOption));
  ASSERT_TRUE(Xi::AllerA(TablePAM(), physAnalyse));
  EXPECT_EQ(A().Typologie, kTD);
  EXPECT_EQ(relations(physAnalyse), 2u);
  // The single-field changes go through the same path.
  ASSERT_TRUE(PAM::ModifierDureeApport(175));
  ASSERT_TRUE(Xi::AllerA(TablePAM(), physAnalyse));
  EXPECT_EQ(A().Duree, 175);
  ASSERT_TRUE(PAM::ModifierMatiereApport(kMath)) << "L1 has MATH as an option only";
  ASSERT_TRUE(Xi::AllerA(TablePAM(), physAnalyse));
  EXPECT_EQ(A().Matiere, kMath);
  EXPECT_EQ(relations(physAnalyse), 2u);
}

TEST_F(ApportsLocaux, DeletionsTakeThePeriodRelationsWithThem) {
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kL1, kTD, 0));
  const uint32_t a1 = Xi::NumeroCourant(TablePAM());
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kL1, kTD, 0));
  const uint32_t a2 = Xi::NumeroCourant(TablePAM());
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kAlgebre, kOption, 2));
  const uint32_t a3 = Xi::NumeroCourant(TablePAM());
  for (uint32_t a : {a1, a2, a3}) ASSERT_TRUE(RAP::CreerRelationCochee(kDiplome, a, false));
  ASSERT_TRUE(RAP::CreerRelationCochee(kTDClasse, a1, true));
  EXPECT_EQ(Xi::Nombre(TableRAP()), 4u);

  ASSERT_TRUE(Xi::AllerA(TablePAM(), a2));
  EXPECT_TRUE(PAM::SupprimerApportMatiere());
  EXPECT_EQ(Numeros(kPAM), (std::vector<uint32_t>{a1, a3}));
  EXPECT_EQ(Xi::Nombre(TableRAP()), 3u);
  // The bulk deletions leave no relation naming a freed contribution.
  ASSERT_TRUE(PAM::SupprimerApportsDeLaMatiere(kMath));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 0u);
  EXPECT_EQ(Xi::Nombre(TableRAP()), 0u);
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kAlgebre, kOption, 2));
  ASSERT_TRUE(RAP::CreerRelationCochee(kOptionClasse, Xi::NumeroCourant(TablePAM()), true));
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kAlgebre, kOption, 2));
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kMaster, kOption, 0));
  ASSERT_TRUE(PAM::SupprimerApportsDeLElement(kAlgebre, 2));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 1u);
  EXPECT_EQ(A().Element, kMaster);
  EXPECT_EQ(Xi::Nombre(TableRAP()), 0u);

  // Without the right to change modules and curricula a single deletion is refused.
  AccorderSeulementLesDroits({7});
  ASSERT_TRUE(Xi::Premier(TablePAM(), 0));
  EXPECT_FALSE(PAM::SupprimerApportMatiere());
  EXPECT_FALSE(PAM::AjouterApportMatiere(100, kMath, kMaster, kCours, 0));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 1u);
}

TEST_F(ApportsLocaux, APeriodRelationIsCreatedOnceAndItsCheckedMarkSet) {
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kL1, kTD, 0));
  const uint32_t apport = Xi::NumeroCourant(TablePAM());
  ASSERT_TRUE(RAP::CreerRelationCochee(kTDClasse, apport, false));
  EXPECT_EQ(R().Coche, 0);
  EXPECT_EQ(R().Calendrier, 0u);
  ASSERT_TRUE(RAP::CreerRelationCochee(kTDClasse, apport, true));
  EXPECT_EQ(Xi::Nombre(TableRAP()), 1u);
  ASSERT_TRUE(Xi::Premier(TableRAP(), 0));
  EXPECT_EQ(R().Coche, 1);
  // Class and contribution must exist here too.
  EXPECT_FALSE(RAP::CreerRelationCochee(9, apport, true));
  EXPECT_FALSE(RAP::CreerRelationCochee(kTDClasse, 9, true));
  EXPECT_EQ(Xi::Nombre(TableRAP()), 1u);

  ASSERT_TRUE(RAP::CreerRelationCochee(kDiplome, apport, false));
  EXPECT_TRUE(RAP::SupprimerRelationsDeLaClasse(kTDClasse));
  EXPECT_EQ(Xi::Nombre(TableRAP()), 1u);
  ASSERT_TRUE(Xi::AllerA(TablePAM(), apport));
  EXPECT_EQ(RAP::SupprimerRelationsDeLApportCourant(), 0);
  EXPECT_EQ(Xi::Nombre(TableRAP()), 0u);
}

TEST_F(ApportsLocaux, ClearingACalendarReachesEveryRelationNamingItAndNoOther) {
  ASSERT_NE(ChargerApport(20, Apport(100, kIdMatiere1, 0, kIdCursus, kIdTD)), 0u);
  ASSERT_NE(ChargerApport(40, Apport(100, kIdMatiere2, 0, kIdCursus, kIdTD)), 0u);
  const uint32_t r1 = ChargerRelation(20, RelationPeriode(kIdTDClasse, 20, kIdCalendrier1, 2, 1));
  const uint32_t r2 = ChargerRelation(40, RelationPeriode(kIdDiplome, 40, kIdCalendrier1, 4, 0));
  const uint32_t r3 = ChargerRelation(60, RelationPeriode(kIdDiplome, 20, kIdCalendrier2, 3, 0));
  const uint32_t r4 = ChargerRelation(80, RelationPeriode(kIdTDClasse, 40, 0, 0, 1));
  ASSERT_TRUE(r1 && r2 && r3 && r4);
  ASSERT_TRUE(Xi::AllerA(TableRAP(), r3));
  EXPECT_EQ(RAP::EffacerCalendrierDesRelations(1), 2u);
  EXPECT_EQ(Xi::NumeroCourant(TableRAP()), r3) << "the position is kept";
  struct Attendu {
    uint32_t Numero, Calendrier, Periode;
    uint8_t Coche;
  };
  for (const Attendu& a : {Attendu{r1, 0, 0, 1}, {r2, 0, 0, 0}, {r3, 2, 3, 0}, {r4, 0, 0, 1}}) {
    ASSERT_TRUE(Xi::AllerA(TableRAP(), a.Numero));
    EXPECT_EQ(R().Calendrier, a.Calendrier) << a.Numero;
    EXPECT_EQ(R().Periode, a.Periode) << a.Numero;
    EXPECT_EQ(R().Coche, a.Coche) << a.Numero;
  }
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(RAP::EffacerCalendrierDesRelations(1), 0u);
}

// A received calendar deletion clears the remembered calendar naming it and the relations naming it.
TEST_F(ApportsLocaux, AReceivedCalendarDeletionClearsTheRememberedCalendarAndTheRelations) {
  ASSERT_NE(ChargerApport(20, Apport(100, kIdMatiere1, 0, kIdCursus, kIdTD)), 0u);
  const uint32_t r1 = ChargerRelation(20, RelationPeriode(kIdTDClasse, 20, kIdCalendrier1, 2, 1));
  const uint32_t r2 = ChargerRelation(40, RelationPeriode(kIdDiplome, 20, kIdCalendrier2, 3, 0));
  ASSERT_TRUE(r1 && r2);
  uint32_t& retenu = ValeursUtilisateur::Valeurs().Calendrier;
  // Deleting another calendar than the remembered one keeps it.
  retenu = 2;
  Recevoir(OrdreRecu(GM_Suppression, kCAL, static_cast<int32_t>(kIdCalendrier1), {}));
  EXPECT_EQ(retenu, 2u);
  Recevoir(OrdreRecu(GM_Suppression, kCAL, static_cast<int32_t>(kIdCalendrier2), {}));
  EXPECT_EQ(retenu, 0u);
  for (uint32_t r : {r1, r2}) {
    ASSERT_TRUE(Xi::AllerA(TableRAP(), r));
    EXPECT_EQ(R().Calendrier, 0u) << r;
    EXPECT_EQ(R().Periode, 0u) << r;
  }
}

TEST_F(Apports, EveryRequestThroughTheServer) {
  const uint32_t existant = ChargerApport(20, Apport(100, kIdMatiere1, 0, kIdCursus, kIdTD));
  const uint32_t relation = ChargerRelation(20, RelationPeriode(kIdTDClasse, 20, 0, 0, 0));
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    const int32_t identifiant = 60;
    if (r.Code == PAM::kCodeAjouter) {
      // The server stores it in its own order: genre at 8, course type at 16.
      Octets s = Apport(0, 0, r.Donnees[16], 0, 0);
      std::copy_n(r.Donnees.begin(), 8, s.begin());
      std::copy_n(r.Donnees.begin() + 12, 4, s.begin() + 12);
      std::copy_n(r.Donnees.begin() + 8, 4, s.begin() + 16);
      Recevoir(OrdreRecu(GM_Creation, kPAM, identifiant, s));
      std::memcpy(reponse, &identifiant, 4);
    }
    if (r.Code == RAP::kCodeCreerCochee) {
      Recevoir(OrdreRecu(GM_Creation, kRAP, identifiant, r.Donnees));
      std::memcpy(reponse, &identifiant, 4);
    }
    return true;
  };
  ASSERT_TRUE(PAM::AjouterApportMatiere(250, kPhys, kAnalyse, kOption, 2));
  EXPECT_EQ(PAM::Fichier().IdentifiantCourant(), 60) << "the answered contribution is current";
  EXPECT_EQ(A().Genre, 2);
  EXPECT_EQ(A().Typologie, kOption);
  ASSERT_TRUE(Xi::AllerA(TablePAM(), existant));
  EA copie = A();
  copie.Duree = 500;
  ASSERT_TRUE(PAM::ModifierApportMatiere(copie));
  EXPECT_EQ(A().Duree, 100) << "the order, not the request, changes the table";
  ASSERT_TRUE(Xi::AllerA(TablePAM(), existant));
  EXPECT_FALSE(PAM::SupprimerApportMatiere()) << "accepted, but no deletion came: it still exists";
  EXPECT_TRUE(PAM::SupprimerApportsDeLaMatiere(kPhys));
  EXPECT_TRUE(PAM::SupprimerApportsDeLElement(kAnalyse, 2));
  EXPECT_TRUE(PAM::CreerApportsMatiereParDefaut());
  ASSERT_TRUE(RAP::CreerRelationCochee(kOptionClasse, existant, true));
  EXPECT_EQ(RAP::Fichier().IdentifiantCourant(), 60);
  ASSERT_TRUE(Xi::AllerA(TableRAP(), relation));
  EXPECT_TRUE(RAP::SupprimerRelation());
  EXPECT_TRUE(RAP::SupprimerRelationsDeLaClasse(kTDClasse));
  EXPECT_TRUE(RAP::SupprimerRelationsDeLApport(existant));
  EXPECT_TRUE(RAP::CreerRelationsApportPeriodeParDefaut());
  // Nothing is sent for a resource's contribution or a relation with a missing class.
  EXPECT_FALSE(PAM::AjouterApportMatiere(100, kMath, kProf, kTD, 1));
  EXPECT_FALSE(RAP::CreerRelationCochee(9, existant, true));

  const auto entier = [](int32_t v) {
    Octets s(4);
    std::memcpy(s.data(), &v, 4);
    return s;
  };
  Octets ajout = Concatener({entier(250), entier(kIdMatiere2), entier(kIdOption), entier(kIdAnalyse), {2, 0, 0, 0}});
  const std::vector<std::tuple<uint32_t, int32_t, Octets>> attendues = {
      {0x80160100, 0, ajout},
      {0x80160200, 20, Apport(500, kIdMatiere1, 0, kIdCursus, kIdTD)},
      {0x80160300, 20, {}},
      {0x80160302, 0, entier(kIdMatiere2)},
      {0x80160303, 0, Concatener({{2, 0, 0, 0}, entier(kIdAnalyse)})},
      {0x80160000, 0, {}},
      {0x80360101, 0, RelationPeriode(kIdOptionClasse, 20, 0, 0, 1)},
      {0x80360300, 20, {}},
      {0x80360301, 0, entier(kIdTDClasse)},
      {0x80360302, 0, entier(20)},
      {0x80360000, 0, {}},
  };
  ASSERT_EQ(client_.Envoyees.size(), attendues.size());
  for (std::size_t i = 0; i < attendues.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(client_.Envoyees[i].Code, std::get<0>(attendues[i]));
    EXPECT_EQ(client_.Envoyees[i].Parametre, std::get<1>(attendues[i]));
    EXPECT_EQ(client_.Envoyees[i].Donnees, std::get<2>(attendues[i]));
  }
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(ApportsLocaux, ReadsInTheirOrderWithPositionsKept) {
  // Analyse: PHYS in TD (20), MATH in Option (40), MATH in TD (60).
  const uint32_t physTD = ChargerApport(20, Apport(1, kIdMatiere2, 2, kIdAnalyse, kIdTD));
  const uint32_t mathOption = ChargerApport(40, Apport(2, kIdMatiere1, 2, kIdAnalyse, kIdOption));
  const uint32_t mathTD = ChargerApport(60, Apport(3, kIdMatiere1, 2, kIdAnalyse, kIdTD));
  const uint32_t autre = ChargerApport(80, Apport(4, kIdMatiere1, 0, kIdCursus, kIdTD));
  ASSERT_TRUE(Xi::AllerA(TablePAM(), autre));
  std::vector<uint32_t> vus;
  const auto noter = [&] {
    vus.push_back(Xi::NumeroCourant(TablePAM()));
    return 0;
  };
  EXPECT_EQ(PAM::PourChaqueApportDeLElement(kAnalyse, 2, noter), 0);
  EXPECT_EQ(vus, (std::vector<uint32_t>{mathTD, mathOption, physTD}));
  EXPECT_EQ(Xi::NumeroCourant(TablePAM()), autre);
  vus.clear();
  EXPECT_EQ(PAM::PourChaqueApportDeLElement(kAnalyse, 2,
                                            [&] {
                                              (void)noter();
                                              return 7;
                                            }),
            7);
  EXPECT_EQ(vus.size(), 1u) << "stops at the first non-zero answer";
  vus.clear();
  ASSERT_TRUE(Xi::AllerA(SupMatiere::Fichier().Table, kMath));
  EXPECT_EQ(PAM::PourChaqueApportDeLaMatiereCourante(noter), 0);
  EXPECT_EQ(vus, (std::vector<uint32_t>{mathOption, mathTD, autre}));

  const uint32_t r1 = ChargerRelation(20, RelationPeriode(kIdTDClasse, 60, 0, 0, 0));
  ChargerRelation(40, RelationPeriode(kIdDiplome, 60, 0, 0, 0));
  const uint32_t r3 = ChargerRelation(60, RelationPeriode(kIdTDClasse, 20, 0, 0, 0));
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, kTDClasse));
  std::vector<uint32_t> relations;
  EXPECT_EQ(RAP::PourChaqueRelationDeLaClasseCourante([&] {
              relations.push_back(Xi::NumeroCourant(TableRAP()));
              return RAP::SupprimerRelation() ? 0 : 1;  // a routine that deletes what it visits
            }),
            0);
  EXPECT_EQ(relations, (std::vector<uint32_t>{r1, r3}));
  ASSERT_TRUE(Xi::AllerA(TablePAM(), mathTD));
  relations.clear();
  EXPECT_EQ(RAP::PourChaqueRelationDeLApportCourant([&] {
              relations.push_back(R().Classe);
              return 0;
            }),
            0);
  EXPECT_EQ(relations, (std::vector<uint32_t>{kDiplome}));
}

TEST_F(Apports, TheCurriculumModuleWalksCollectFirst) {
  Recevoir(OrdreRecu(GM_Creation, kRCM, 16, Paire(kIdCursus, kIdAlgebre)));
  Recevoir(OrdreRecu(GM_Creation, kRCM, 24, Paire(kIdMaster, kIdAlgebre)));
  TFichierSup& cursus = SupCursus::Fichier();
  TFichierSup& modules = SupModule::Fichier();
  ASSERT_TRUE(Xi::AllerA(cursus.Table, kL1));
  ASSERT_TRUE(RCM::Fichier().ChercherParIdentifiant(24));
  const uint32_t positionRCM = Xi::NumeroCourant(RCM::Fichier().Table);
  // A routine that deletes the relation it visits sees each one once.
  std::vector<uint32_t> vus;
  EXPECT_FALSE(RCM::PourChaqueModuleDuCursus([&] {
    vus.push_back(RCM::Article()->Module);
    EXPECT_TRUE(Xi::Supprimer(RCM::Fichier().Table));
    return false;
  }));
  EXPECT_EQ(vus, (std::vector<uint32_t>{kAnalyse, kAlgebre}));
  EXPECT_EQ(Xi::Nombre(RCM::Fichier().Table), 1u);
  EXPECT_EQ(Xi::NumeroCourant(cursus.Table), kL1);
  EXPECT_EQ(Xi::NumeroCourant(RCM::Fichier().Table), positionRCM);

  Recevoir(OrdreRecu(GM_Creation, kRCM, 32, Paire(kIdMaster, kIdAnalyse)));
  vus.clear();
  EXPECT_TRUE(RCM::PourChaqueModuleDuCursusDonne(kMaster, [&] {
    vus.push_back(RCM::Article()->Module);
    return true;
  }));
  EXPECT_EQ(vus.size(), 1u) << "stops at the first True";
  EXPECT_EQ(Xi::NumeroCourant(cursus.Table), kL1);
  vus.clear();
  ASSERT_TRUE(Xi::AllerA(modules.Table, kAlgebre));
  EXPECT_FALSE(RCM::PourChaqueCursusDuModule([&] {
    vus.push_back(RCM::Article()->Cursus);
    return false;
  }));
  EXPECT_EQ(vus, (std::vector<uint32_t>{kMaster}));
  EXPECT_EQ(Xi::NumeroCourant(modules.Table), kAlgebre);
  EXPECT_FALSE(RCM::PourChaqueModuleDuCursusDonne(9, [] { return true; })) << "nothing called";
}

// Deleting a subject locally and through the server.
class SuppressionMatieres : public ApportsLocaux {
 protected:
  void SetUp() override {
    ApportsLocaux::SetUp();
    ASSERT_TRUE(SupRelationMatieres::CreerRelationMatieres(kMath, kMath));
    ASSERT_TRUE(SupRelationMatieres::CreerRelationMatieres(kPhys, kPhys));
    ASSERT_TRUE(SupRelationMatieres::CreerRelationMatieres(kMath, kPhys));
    ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kL1, kTD, 0));
    ASSERT_TRUE(RAP::CreerRelationCochee(kTDClasse, Xi::NumeroCourant(TablePAM()), true));
    ASSERT_TRUE(PAM::AjouterApportMatiere(100, kPhys, kL1, kTD, 0));
    ASSERT_TRUE(RAP::CreerRelationCochee(kDiplome, Xi::NumeroCourant(TablePAM()), false));
    ASSERT_TRUE(SupRelationRessourceMatiere::CreerRelationRessourceMatiere(kProf, kMath, 0));
    ASSERT_TRUE(SupRelationRessourceMatiere::CreerRelationRessourceMatiere(kProf, kPhys, 0));
  }
  // The count of records of the files a deletion of a subject touches.
  static std::vector<uint32_t> Comptes() {
    std::vector<uint32_t> n;
    for (int32_t place : {kMAT, 13, kPAM, kRAP, kRRM, kCRS, kRFM}) n.push_back(Xi::Nombre(SupFichiers::Fichier(place)->Table));
    return n;
  }
};

TEST_F(SuppressionMatieres, LocallyEverythingReferringToTheSubjectGoes) {
  EXPECT_EQ(Comptes(), (std::vector<uint32_t>{2, 4, 2, 2, 2, 0, 0}));
  ASSERT_TRUE(Xi::AllerA(SupMatiere::Fichier().Table, kMath));
  ASSERT_TRUE(SupMatiere::SupprimerMatiere());
  EXPECT_EQ(Comptes(), (std::vector<uint32_t>{1, 1, 1, 1, 1, 0, 0}));
  EXPECT_TRUE(SupRelationMatieres::RelationMatieresExiste(kPhys, kPhys));
  ASSERT_TRUE(Xi::Premier(TablePAM(), 0));
  EXPECT_EQ(A().Matiere, kPhys);
  ASSERT_TRUE(Xi::Premier(TableRAP(), 0));
  EXPECT_EQ(R().Classe, kDiplome);
  ASSERT_TRUE(Xi::Premier(SupRelationRessourceMatiere::Fichier().Table, 0));
  EXPECT_EQ(SupRelationRessourceMatiere::Article()->Matiere, kPhys);
  EXPECT_FALSE(SupMatiere::SupprimerMatiereParNumero(kMath)) << "it is gone";
}

TEST_F(SuppressionMatieres, ACourseRaisesBeforeAnythingChangesAndTheSubjectsHeadingsGoWithIt) {
  // A course of MATH.
  Octets cours(102, 0);
  Poser32(cours, 27, kIdMatiere1);
  Recevoir(OrdreRecu(GM_Creation, kCRS, 102, cours));
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(kIdMatiere1));
  EXPECT_THROW((void)SupMatiere::SupprimerMatiere(), ENonConstruit);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
  Recevoir(OrdreRecu(GM_Suppression, kCRS, 102, {}));
  // A heading of a family of teachers given to record 1 of the resources does not concern MATH (the
  // first subject); one of a family of subjects does.
  const auto famille = [](uint8_t genre, const std::string& nom) { return Concatener({{genre}, Chaine(nom, 13)}); };
  Recevoir(OrdreRecu(GM_Creation, kFMR, 15, famille(1, "Grade")));
  Recevoir(OrdreRecu(GM_Creation, kFMR, 30, famille(0, "Pole")));
  const auto rubrique = [](uint8_t famille, const std::string& nom) {
    Octets s = Concatener({{famille, 0, 0, 0}, Chaine(nom, 13)});
    s.resize(20, 0);
    return s;
  };
  Recevoir(OrdreRecu(GM_Creation, kSFM, 20, rubrique(15, "Certifie")));
  Recevoir(OrdreRecu(GM_Creation, kSFM, 40, rubrique(30, "Sciences")));
  Recevoir(OrdreRecu(GM_Creation, kRFM, 12, Concatener({Paire(kIdDiplome, 15), Octets{20, 0, 0, 0}})));
  ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(kRFM)->Table), 1u);
  Recevoir(OrdreRecu(GM_Creation, kRFM, 24, Concatener({Paire(kIdMatiere2, 30), Octets{40, 0, 0, 0}})));
  ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(kRFM)->Table), 2u);
  // PHYS's heading goes with it; the teachers' heading, which names MATH's record number in another
  // file, stays when MATH goes.
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(kIdMatiere2));
  EXPECT_TRUE(SupMatiere::SupprimerMatiere());
  EXPECT_EQ(Comptes(), (std::vector<uint32_t>{1, 1, 1, 1, 1, 0, 1}));
  EXPECT_FALSE(SupFichiers::Fichier(kRFM)->ChercherParIdentifiant(24));
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(kIdMatiere1));
  EXPECT_TRUE(SupMatiere::SupprimerMatiere());
  EXPECT_TRUE(SupFichiers::Fichier(kRFM)->ChercherParIdentifiant(12));
}

TEST_F(SuppressionMatieres, ASelectionKeepsTheSubjectsNotDeleted) {
  std::vector<std::string> journal;
  VclDialogue::DefinirSortie([&journal](const std::string& l) { journal.push_back(l); });
  AccorderSeulementLesDroits({32, 7, 6});
  Traduction::DefinirTexte("SupConstTraitement_en_cours_...7", "Traitement en cours ...");
  ASSERT_TRUE(SupMatiere::CreerMatiere("HIST", "Histoire"));
  const uint32_t histoire = Xi::NumeroCourant(SupMatiere::Fichier().Table);
  ASSERT_TRUE(SupMatiere::CreerMatieresParDefaut());
  const uint32_t defaut = SupMatiere::MatiereParDefaut();
  ASSERT_NE(defaut, 0u);
  TypeEnsembleMemoire selection{};
  Memoire::Initialiser(selection);
  for (uint32_t m : {kPhys, histoire, defaut}) (void)Memoire::Inserer(m, selection);
  ASSERT_TRUE(Xi::AllerA(SupMatiere::Fichier().Table, kMath));
  SupMatiere::SupprimerTableauMatieres(selection);
  EXPECT_EQ(selection.Nombre, 1u);
  EXPECT_EQ(selection.Elements[0], defaut) << "a default subject is never deleted";
  EXPECT_EQ(Xi::NumeroCourant(SupMatiere::Fichier().Table), kMath) << "the position is kept";
  EXPECT_EQ(Xi::Nombre(SupMatiere::Fichier().Table), 2u);
  EXPECT_EQ(journal, std::vector<std::string>{"Traitement en cours ..."}) << "one count-down window";

  // A subject whose deletion raises puts back the subjects not done.
  Octets cours(102, 0);
  Poser32(cours, 27, kIdMatiere1);
  Recevoir(OrdreRecu(GM_Creation, kCRS, 102, cours));
  Memoire::Reinitialiser(selection);
  (void)Memoire::Inserer(kMath, selection);
  (void)Memoire::Inserer(defaut, selection);
  EXPECT_THROW(SupMatiere::SupprimerTableauMatieres(selection), ENonConstruit);
  EXPECT_EQ(selection.Nombre, 2u);
  EXPECT_EQ(Xi::NumeroCourant(SupMatiere::Fichier().Table), kMath);
  Memoire::Liberer(selection);
  VclDialogue::DefinirSortie(nullptr);
}

TEST_F(SuppressionMatieres, RefusedForADefaultSubjectOrWithoutTheRight) {
  Traduction::DefinirTexte("SupMatiereMatiereAPreciser", "");
  ASSERT_TRUE(Xi::AllerA(SupMatiere::Fichier().Table, kPhys));
  AccorderSeulementLesDroits({32, 8});
  ASSERT_TRUE(SupMatiere::ModifierCodeMatiere(""));
  ASSERT_TRUE(SupMatiere::ModifierLibelleMatiere(std::string("Matière à preciser"_ansi)));
  AccorderSeulementLesDroits({32, 7});
  EXPECT_FALSE(SupMatiere::SupprimerMatiere());
  AccorderSeulementLesDroits({32});
  ASSERT_TRUE(Xi::AllerA(SupMatiere::Fichier().Table, kMath));
  EXPECT_FALSE(SupMatiere::SupprimerMatiere());
  EXPECT_EQ(Xi::Nombre(SupMatiere::Fichier().Table), 2u);
}

TEST_F(Apports, DeletingSubjectsThroughTheServerIsItsVerdict) {
  bool accepte = true;
  Octets reponse;
  client_.Serveur = [&](const RequeteEnvoyee&, void* r) {
    if (!reponse.empty()) std::memcpy(r, reponse.data(), reponse.size());
    return accepte;
  };
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(kIdMatiere2));
  EXPECT_TRUE(SupMatiere::SupprimerMatiere());
  accepte = false;
  EXPECT_FALSE(SupMatiere::SupprimerMatiere()) << "a refusal is no success";
  ASSERT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x800E0300u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, kIdMatiere2);
  EXPECT_TRUE(client_.Envoyees[0].Donnees.empty());

  TypeEnsembleMemoire selection{};
  Memoire::Initialiser(selection);
  (void)Memoire::Inserer(kMath, selection);
  (void)Memoire::Inserer(kPhys, selection);
  const auto elements = [&selection] { return std::vector<uint32_t>(selection.Elements, selection.Elements + selection.Nombre); };
  // Refused: the selection is as it was.
  SupMatiere::SupprimerTableauMatieres(selection);
  EXPECT_EQ(elements(), (std::vector<uint32_t>{kMath, kPhys}));
  EXPECT_EQ(client_.Envoyees.back().Code, 0x800E0302u);
  EXPECT_EQ(client_.Envoyees.back().Parametre, 0);
  EXPECT_EQ(client_.Envoyees.back().Donnees, Concatener({Octets{2, 0, 0, 0}, Paire(kIdMatiere1, kIdMatiere2)}));
  // Accepted: the subjects the server did not delete.
  accepte = true;
  reponse = Concatener({Octets{1, 0, 0, 0}, Octets{0xC8, 0x01, 0, 0}});  // 456
  SupMatiere::SupprimerTableauMatieres(selection);
  EXPECT_EQ(elements(), std::vector<uint32_t>{kPhys});
  // An answer announcing more than it can hold: the subjects that still exist stay.
  (void)Memoire::Inserer(kMath, selection);
  reponse = Octets{9, 0, 0, 0};
  SupMatiere::SupprimerTableauMatieres(selection);
  EXPECT_EQ(elements(), (std::vector<uint32_t>{kMath, kPhys}));
  Memoire::Liberer(selection);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

}  // namespace

// --- The requests on modules, curricula and their relation.

namespace MC = SupModule;
namespace CU = SupCursus;

class ModulesCursus : public Apports {
 protected:
  void SetUp() override {
    Apports::SetUp();
    AccorderSeulementLesDroits({30, 31, 32, 7});
  }
  static Octets Stocke(const std::string& libelle, const std::string& code) {
    return Concatener({Chaine(libelle, 30), Chaine(code, 20)});
  }
  static TypeEnsembleMemoire Ensemble(std::initializer_list<uint32_t> n) {
    TypeEnsembleMemoire e;
    Memoire::Initialiser(e);
    for (uint32_t v : n) (void)Memoire::Inserer(v, e);
    return e;
  }
};

TEST_F(ModulesCursus, EveryRequestThroughTheServer) {
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    const int32_t identifiant = 400;
    if (reponse != nullptr) std::memcpy(reponse, &identifiant, 4);
    if (r.Code == 0x80340101) Recevoir(OrdreRecu(GM_Creation, kMDL, identifiant, r.Donnees));
    if (r.Code == 0x80100100) Recevoir(OrdreRecu(GM_Creation, kCUR, identifiant, r.Donnees));
    if (r.Code == 0x80350100) Recevoir(OrdreRecu(GM_Creation, kRCM, identifiant, r.Donnees));
    return true;
  };
  ASSERT_TRUE(MC::CreerModuleAvecCode("Probabilites", "PR"));
  EXPECT_EQ(FichierSup::LireChaineCourte(SupModule::Article()->Libelle, 30), "Probabilites");
  ASSERT_TRUE(CU::CreerCursus("Doctorat", "D1"));
  ASSERT_TRUE(Xi::AllerA(SupModule::Fichier().Table, kAlgebre));
  EXPECT_TRUE(MC::ModifierLibelleModule("Algebre lineaire"));
  EXPECT_TRUE(MC::ModifierCodeModule("ALG"));
  ASSERT_TRUE(Xi::AllerA(SupCursus::Fichier().Table, kMaster));
  EXPECT_TRUE(CU::ModifierLibelleCursus("Master 1"));
  EXPECT_TRUE(CU::ModifierCodeCursus("M1X"));
  EXPECT_TRUE(RCM::CreerRelationCursusModule(kMaster, kAlgebre));
  EXPECT_EQ(RCM::Article()->Identifiant, 400) << "the new relation is current";
  EXPECT_TRUE(RCM::SupprimerRelationCursusModuleDeCursus(kMaster));
  const struct {
    uint32_t code;
    int32_t parametre;
    Octets donnees;
  } attendu[] = {
      {0x80340101, 0, Stocke("Probabilites", "PR")},
      {0x80100100, 0, Stocke("Doctorat", "D1")},
      {0x80340201, kIdAlgebre, Chaine("Algebre lineaire", 30)},
      {0x80340202, kIdAlgebre, Chaine("ALG", 20)},
      {0x80100201, kIdMaster, Chaine("Master 1", 30)},
      {0x80100202, kIdMaster, Chaine("M1X", 20)},
      {0x80350100, 0, Paire(kIdMaster, kIdAlgebre)},
      {0x80350301, 0, Paire(kIdMaster, 0)},
  };
  ASSERT_EQ(client_.Envoyees.size(), std::size(attendu));
  for (std::size_t i = 0; i < std::size(attendu); ++i) {
    EXPECT_EQ(client_.Envoyees[i].Code, attendu[i].code) << i;
    EXPECT_EQ(client_.Envoyees[i].Parametre, attendu[i].parametre) << i;
    const Octets& d = attendu[i].donnees;
    EXPECT_EQ(client_.Envoyees[i].Donnees, attendu[i].code == 0x80350301 ? Octets(d.begin(), d.begin() + 4) : d) << i;
  }
  EXPECT_EQ(client_.Envoyees[0].Donnees.size(), 52u);
  EXPECT_EQ(client_.Envoyees[2].Donnees.size(), 31u);
  EXPECT_EQ(client_.Envoyees[3].Donnees.size(), 21u);

  // Refused before anything is sent: a missing side, a curriculum that does not exist, a module in a
  // curriculum, a curriculum a diploma follows, a missing current relation.
  client_.Envoyees.clear();
  EXPECT_FALSE(RCM::CreerRelationCursusModule(kMaster, 9));
  EXPECT_FALSE(RCM::CreerRelationCursusModule(9, kAlgebre));
  EXPECT_FALSE(RCM::SupprimerRelationCursusModuleDeCursus(9));
  ASSERT_TRUE(Xi::AllerA(SupModule::Fichier().Table, kAnalyse));
  EXPECT_FALSE(MC::SupprimerModule());
  Octets diplome = Ressource(2, "Master", "MS", 9);
  Poser32(diplome, 188, kIdMaster);
  ASSERT_NE(Charger(3000, diplome), 0u);
  ASSERT_TRUE(Xi::AllerA(SupCursus::Fichier().Table, kMaster));
  EXPECT_TRUE(CU::CursusDUnDiplome());
  EXPECT_FALSE(CU::SupprimerCursus());
  EXPECT_TRUE(client_.Envoyees.empty());
  // The server deletes nothing: not reported as deleted.
  EXPECT_FALSE(MC::SupprimerModuleNumero(SupModule::Fichier().NumeroDeIdentifiant(400)));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80340300u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 400);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

class ModulesCursusLocaux : public ModulesCursus {
 protected:
  void SetUp() override {
    ModulesCursus::SetUp();
    client_.Exclusif = true;
  }
  void TearDown() override {
    EXPECT_TRUE(client_.Envoyees.empty());
    EXPECT_EQ(SupTraitement::Profondeur(), 0u);
    ModulesCursus::TearDown();
  }
};

TEST_F(ModulesCursusLocaux, CreationsAndChangesKeepLabelAndCodeUnique) {
  ASSERT_TRUE(MC::CreerModuleAvecCode("Analyse", "AN2"));
  EXPECT_EQ(SupModule::Article()->Affiche, 1);
  EXPECT_FALSE(MC::CreerModuleAvecCode("Analyse", "AN")) << "label and code both repeat";
  ASSERT_TRUE(CU::CreerCursus("Doctorat", ""));
  EXPECT_EQ(Xi::Nombre(SupModule::Fichier().Table), 3u);
  EXPECT_EQ(Xi::Nombre(SupCursus::Fichier().Table), 3u);
  ASSERT_TRUE(Xi::AllerA(SupModule::Fichier().Table, kAlgebre));
  EXPECT_TRUE(MC::ModifierCodeModule("AN"));
  EXPECT_FALSE(MC::ModifierLibelleModule("Analyse")) << "Analyse AN exists";
  EXPECT_EQ(FichierSup::LireChaineCourte(SupModule::Article()->Libelle, 30), "Algebre");
  AccorderSeulementLesDroits({});
  EXPECT_FALSE(MC::CreerModuleAvecCode("Geometrie", "GE"));
  EXPECT_FALSE(MC::ModifierLibelleModule("Geometrie"));
  EXPECT_FALSE(RCM::CreerRelationCursusModule(kMaster, kAlgebre));
}

TEST_F(ModulesCursusLocaux, AConflictingModuleIsNotLinked) {
  // Analyse (in L1) teaches MATH without course type and PHYS in TD.
  ASSERT_TRUE(PAM::AjouterApportMatiere(100, kMath, kAnalyse, 0, 2));
  ASSERT_TRUE(PAM::AjouterApportMatiere(200, kPhys, kAnalyse, kTD, 2));
  struct Apport {
    uint32_t matiere, typologie;
  };
  const struct {
    const char* cas;
    Apport algebre;
    std::vector<Apport> master;
    uint32_t cursus;
    bool lie;
  } cas[] = {
      {"(S, none) against a sibling's (S, none)", {kMath, 0}, {}, kL1, false},
      {"(S, none) against a sibling's (S, TD)", {kPhys, 0}, {}, kL1, true},
      {"(S, TP) against a sibling's (S, TD)", {kPhys, kTP}, {}, kL1, true},
      {"(S, TD) against a sibling's (S, TD)", {kPhys, kTD}, {}, kL1, false},
      {"(S, none) against the curriculum's own", {kMath, 0}, {{kMath, 0}}, kMaster, false},
      {"(S, none) against the curriculum's (S, Cours)", {kMath, 0}, {{kMath, kCours}}, kMaster, true},
  };
  for (const auto& c : cas) {
    ASSERT_TRUE(PAM::AjouterApportMatiere(50, c.algebre.matiere, kAlgebre, c.algebre.typologie, 2)) << c.cas;
    for (const auto& a : c.master) ASSERT_TRUE(PAM::AjouterApportMatiere(70, a.matiere, kMaster, a.typologie, 0));
    EXPECT_EQ(RCM::CreerRelationCursusModule(c.cursus, kAlgebre), c.lie) << c.cas;
    if (c.lie) {
      EXPECT_EQ(RCM::Article()->Module, kAlgebre);
      EXPECT_FALSE(RCM::CreerRelationCursusModule(c.cursus, kAlgebre)) << "a second link of one pair";
      EXPECT_TRUE(RCM::SupprimerRelationCursusModule());
    }
    EXPECT_EQ(Xi::Nombre(RCM::Fichier().Table), 1u) << c.cas;
    ASSERT_TRUE(PAM::SupprimerApportsDeLElement(kAlgebre, 2));
    ASSERT_TRUE(PAM::SupprimerApportsDeLElement(kMaster, 0));
  }
  // The totals: Analyse 300; L1 has Analyse and 25 of its own.
  ASSERT_TRUE(PAM::AjouterApportMatiere(25, kPhys, kL1, kCours, 0));
  ASSERT_TRUE(Xi::AllerA(SupModule::Fichier().Table, kAnalyse));
  EXPECT_EQ(MC::TotalApportsDuModule(), 300);
  EXPECT_TRUE(MC::ModuleDansUnCursus());
  ASSERT_TRUE(Xi::AllerA(SupCursus::Fichier().Table, kL1));
  EXPECT_EQ(CU::TotalApportsDuCursus(), 325);
  ASSERT_TRUE(Xi::AllerA(SupCursus::Fichier().Table, kMaster));
  EXPECT_EQ(CU::TotalApportsDuCursus(), 0);
  ASSERT_TRUE(Xi::AllerA(SupModule::Fichier().Table, kAlgebre));
  EXPECT_FALSE(MC::ModuleDansUnCursus());
  // Totals beyond 32 bits are held at the largest value.
  ASSERT_TRUE(PAM::AjouterApportMatiere(0x7FFFFFF0, kMath, kAlgebre, kTD, 2));
  ASSERT_TRUE(PAM::AjouterApportMatiere(0x7FFFFFF0, kPhys, kAlgebre, kTD, 2));
  ASSERT_TRUE(Xi::AllerA(SupModule::Fichier().Table, kAlgebre));
  EXPECT_EQ(MC::TotalApportsDuModule(), 0x7FFFFFFF);
}

TEST_F(ModulesCursusLocaux, DeletionsTakeWhatDependsOnThem) {
  const uint32_t apportModule = ChargerApport(20, Apport(100, kIdMatiere1, 2, kIdAnalyse, kIdTD));
  ASSERT_NE(ChargerApport(40, Apport(100, kIdMatiere2, 0, kIdCursus, kIdTD)), 0u);
  ASSERT_NE(ChargerRelation(20, RelationPeriode(kIdTDClasse, 20, 0, 0, 0)), 0u);
  ASSERT_NE(ChargerRelation(40, RelationPeriode(kIdTDClasse, 40, 0, 0, 0)), 0u);
  // A relation takes the period relations of its module's contributions.
  ASSERT_TRUE(Xi::AllerA(RCM::Fichier().Table, 1));
  EXPECT_TRUE(RCM::SupprimerRelationCursusModule());
  EXPECT_EQ(Numeros(kRAP), std::vector<uint32_t>{2});
  EXPECT_FALSE(RCM::SupprimerRelationCursusModule()) << "no current relation";
  Recevoir(OrdreRecu(GM_Creation, kRCM, 16, Paire(kIdCursus, kIdAnalyse)));
  // A module in a curriculum stays; a selection deletes the others.
  TypeEnsembleMemoire selection = Ensemble({kAnalyse, kAlgebre});
  MC::SupprimerTableauDeModules(selection);
  Memoire::Liberer(selection);
  EXPECT_EQ(Numeros(kMDL), std::vector<uint32_t>{kAnalyse});
  // The curriculum goes with its contributions and its relations; the module's contribution stays.
  ASSERT_TRUE(CU::SupprimerCursusNumero(kL1));
  EXPECT_FALSE(SupCursus::Fichier().Existe(kL1));
  EXPECT_EQ(Xi::Nombre(RCM::Fichier().Table), 0u);
  EXPECT_EQ(Numeros(kPAM), std::vector<uint32_t>{apportModule});
  EXPECT_FALSE(CU::SupprimerCursusNumero(kL1)) << "no longer there";
  // Then the module, now free, with its contribution.
  EXPECT_TRUE(MC::SupprimerModuleNumero(kAnalyse));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 0u);
  EXPECT_EQ(Xi::Nombre(SupModule::Fichier().Table), 0u);
}

TEST_F(ModulesCursusLocaux, ACurriculumTakesItsHeadingsWithIt) {
  Recevoir(OrdreRecu(GM_Creation, kFMR, 15, Concatener({{5}, Chaine("Niveaux", 13)})));
  Recevoir(OrdreRecu(GM_Creation, kSFM, 20, Concatener({Paire(15, 0), {}})));
  Octets rubrique(12, 0);
  Poser32(rubrique, 0, static_cast<uint32_t>(kIdMaster));
  Poser32(rubrique, 4, 15);
  Poser32(rubrique, 8, 20);
  Recevoir(OrdreRecu(GM_Creation, kRFM, 12, rubrique));
  Poser32(rubrique, 0, static_cast<uint32_t>(kIdCursus));
  Recevoir(OrdreRecu(GM_Creation, kRFM, 24, rubrique));
  ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(kRFM)->Table), 2u);
  ASSERT_NE(ChargerApport(40, Apport(100, kIdMatiere2, 0, kIdMaster, kIdTD)), 0u);
  ASSERT_TRUE(Xi::AllerA(SupCursus::Fichier().Table, kMaster));
  EXPECT_TRUE(CU::SupprimerCursus());
  EXPECT_FALSE(SupCursus::Fichier().Existe(kMaster));
  EXPECT_EQ(Xi::Nombre(TablePAM()), 0u);
  EXPECT_EQ(Numeros(kRFM), std::vector<uint32_t>{2}) << "the other curriculum keeps its heading";
}
