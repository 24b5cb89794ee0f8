#include <vector>

#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

using namespace SupDroitFonctionnel;

// Every accessor with the byte of the rights record it reads.
struct Accesseur {
  bool (*lire)();
  int octet;
};
const Accesseur kAccesseurs[] = {
    {DroitSallesCoursInaccessibles, 4}, {DroitCreerMatieres, 12},       {DroitSupprimerMatieres, 13},
    {DroitModifierMatieres, 14},        {DroitCreerEnseignants, 15},    {DroitSupprimerEnseignants, 16},
    {DroitModifierEnseignants, 17},     {DroitCreerClasses, 18},        {DroitSupprimerClasses, 19},
    {DroitModifierClasses, 20},         {DroitCreerGroupes, 21},        {DroitSupprimerGroupes, 22},
    {DroitModifierGroupes, 23},         {DroitCreerEleves, 24},         {DroitSupprimerEleves, 25},
    {DroitModifierEleves, 26},          {DroitCreerSalles, 27},         {DroitSupprimerSalles, 28},
    {DroitModifierSalles, 29},          {DroitCreerCours, 30},          {DroitSupprimerCours, 31},
    {DroitModifierCours, 32},           {DroitGererServiceWeb, 35},     {DroitCreerModulesCursus, 38},
    {DroitSupprimerModulesCursus, 39},  {DroitModifierModulesCursus, 40},
};

// The accessors' answers as a string of 0 and 1, in the order of the table above.
std::string Reponses() {
  std::string r;
  for (const Accesseur& a : kAccesseurs) r += a.lire() ? '1' : '0';
  return r;
}

// The accessors that read one of the given bits.
std::string Attendu(std::initializer_list<int> bits) {
  std::string r;
  for (const Accesseur& a : kAccesseurs) {
    bool ok = false;
    for (int b : bits) ok = ok || kBits[static_cast<std::size_t>(a.octet)] == b;
    r += ok ? '1' : '0';
  }
  return r;
}

std::vector<int> Intervalle(int de, int a) {
  std::vector<int> v;
  for (int b = de; b <= a; ++b) v.push_back(b);
  return v;
}

TEST(DroitsTest, TheRecordTakesEachByteFromItsBitAfterTheCompletion) {
  struct Cas {
    const char* nom;
    std::initializer_list<int> bits;
    std::initializer_list<int> octetsVrais;
  };
  const Cas cas[] = {
      // Detailed rights (bit 54): taken as stored.
      {"detailed", {5, 24, 28, 54, 100}, {4, 30, 35, 5, 41}},
      {"detailed, bit 2 adds nothing", {2, 54}, {1, 41}},
      // The answer is byte 34 (bit 33), not its neighbour byte 33 (bit 27).
      {"detailed, bit 27", {27, 54}, {33, 41}},
      {"detailed, bit 33", {33, 54}, {34, 41}},
      // Without bit 54: 6 to 23, 26, 30 to 32, 54, 103 are added.
      {"old set", {}, {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 32, 38, 39, 40, 36, 41}},
      {"old set with bit 1", {1}, {0, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 32, 33, 34, 38,
                                  39, 40, 36, 41}},
      {"old set with bit 2", {2}, {1, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                                  38, 39, 40, 36, 41}},
      {"old set keeps its own bits", {24}, {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30,
                                           32, 38, 39, 40, 36, 41}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    TypeEnsembleDroits e{};
    for (int b : c.bits) Ajouter(e, b);
    TypeDroits d;
    TypeDroits attendu{};
    for (int o : c.octetsVrais) attendu[static_cast<std::size_t>(o)] = 1;
    EXPECT_EQ(ConstruireDroits(e, d), attendu[34] != 0);
    EXPECT_EQ(d, attendu);
  }
}

class DroitsUtilisateurTest : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    ASSERT_TRUE(CreerProfilServeur(UnProfilServeur(100, "P")));
    Utilisateur::IdentProfilServeurConnexion() = 100;
  }
  static bool CreerProfilServeur(const TypeProfilServeur& p) { return BaseUtilisateurs::CreerProfilServeur(p); }
  // A user USR holding, in the server profile of the connection, a profile of that kind and set.
  static void UtilisateurAvecProfil(uint8_t Genre, std::initializer_list<int> Bits) {
    ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(UnGroupe(10, "G", Genre, Bits)));
    ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, "USR", "", Genre == kGenreAdministration)));
    ASSERT_TRUE(BaseUtilisateurs::CreerAffectation(UneAffectation(1, 100, 10, 1)));
  }
};

TEST_F(DroitsUtilisateurTest, TheProfileKindMasksTheCompletedSet) {
  std::vector<int> tout = Intervalle(1, 255);
  struct Cas {
    const char* nom;
    uint8_t genre;
    std::vector<int> bits;
    std::string attendu;
  };
  const Cas cas[] = {
      {"administration, every bit", kGenreAdministration, tout, Attendu({5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                                                       20, 21, 22, 23, 24, 25, 26, 28, 30, 31, 32})},
      {"modification, some bits", kGenreModification, {6, 28, 54, 120}, Attendu({6, 28})},
      {"modification, old set", kGenreModification, {}, Attendu({6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                                                                22, 23, 26, 30, 31, 32})},
      {"consultation, every bit", kGenreConsultation, tout, Attendu({})},
      // The completion comes before the mask, so it grants a consultation profile nothing.
      {"consultation, old set", kGenreConsultation, {1, 2}, Attendu({})},
      {"unknown kind is consultation", 7, {6, 54}, Attendu({})},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    Vider();
    SetUp();
    TypeGroupeUtilisateurs g = UnGroupe(10, "G", c.genre, {});
    for (int b : c.bits) Ajouter(g.Droits, b);
    ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(g));
    ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, "USR", "", true)));
    ASSERT_TRUE(BaseUtilisateurs::CreerAffectation(UneAffectation(1, 100, 10, 1)));
    Utilisateur::CodeUtilisateurCourant() = "USR";
    EXPECT_EQ(Reponses(), c.attendu);
  }
}

// The modification mask holds bits 1 to 33 and 50 to 54; the consultation mask 50 to 54 and 100 to 103.
TEST_F(DroitsUtilisateurTest, TheMasksHoldTheirBitsToTheLast) {
  const TypeEnsembleDroits m = MasqueModification(), c = MasqueConsultation();
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(Contient(m, b), (b >= 1 && b <= 33) || (b >= 50 && b <= 54)) << b;
    EXPECT_EQ(Contient(c, b), (b >= 50 && b <= 54) || (b >= 100 && b <= 103)) << b;
  }
  // Through a modification profile: bit 33 reaches its byte.
  UtilisateurAvecProfil(kGenreModification, {33, 54});
  Utilisateur::CodeUtilisateurCourant() = "USR";
  TypeDroits d;
  DroitsCourants(d);
  EXPECT_EQ(d[34], 1);
}

TEST_F(DroitsUtilisateurTest, NobodyAndStrangersAreDeniedEveryRight) {
  UtilisateurAvecProfil(kGenreAdministration, {5, 6, 28, 54});
  ASSERT_TRUE(BaseUtilisateurs::ChercherUtilisateurParCode("USR"));  // the user table on a user with rights
  const std::string aucun(std::size(kAccesseurs), '0');
  Utilisateur::CodeUtilisateurCourant() = "";
  EXPECT_EQ(Reponses(), aucun);
  Utilisateur::CodeUtilisateurCourant() = "ZZZ";
  EXPECT_EQ(Reponses(), aucun);
  Utilisateur::CodeUtilisateurCourant() = "USR";
  EXPECT_EQ(Reponses(), Attendu({5, 6, 28}));
}

TEST_F(DroitsUtilisateurTest, UsersWithoutAProfileGetTheModificationMask) {
  const std::string masque =
      Attendu({5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28, 30, 31, 32});
  // The super user without a group named like the administration group, and a user of no assignment.
  for (const char* code : {"SPR", "SAN"}) {
    SCOPED_TRACE(code);
    Vider();
    SetUp();
    ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, code)));
    Utilisateur::CodeUtilisateurCourant() = code;
    EXPECT_EQ(Reponses(), masque);
  }
  // The super user's rights come from the administration group, in any server profile.
  ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(
      UnGroupe(10, BaseUtilisateurs::NomGroupeAdministration(), kGenreAdministration, {31, 54})));
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(2, "SPR")));
  Utilisateur::CodeUtilisateurCourant() = "SPR";
  EXPECT_EQ(Reponses(), Attendu({31}));
}

TEST_F(DroitsUtilisateurTest, TheWebServiceRightBelongsToTheCurrentUserNotToTheUserTablesRecord) {
  UtilisateurAvecProfil(kGenreModification, {28, 54});
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(2, "AUT")));  // no assignment: modification mask
  ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(UnGroupe(11, "Lecture", kGenreConsultation, {28, 54})));
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(3, "LEC")));
  ASSERT_TRUE(BaseUtilisateurs::CreerAffectation(UneAffectation(2, 100, 11, 3)));
  Utilisateur::CodeUtilisateurCourant() = "LEC";
  ASSERT_TRUE(BaseUtilisateurs::ChercherUtilisateurParCode("USR"));
  const uint32_t courant = Xi::NumeroCourant(BaseUtilisateurs::Utilisateurs());
  void* groupes = BaseUtilisateurs::GroupesUtilisateurs();
  ASSERT_TRUE(Xi::Premier(groupes, 0));  // the group table on G, while LEC's group is Lecture
  const uint32_t groupeCourant = Xi::NumeroCourant(groupes);
  EXPECT_FALSE(DroitGererServiceWeb());
  EXPECT_EQ(Xi::NumeroCourant(BaseUtilisateurs::Utilisateurs()), courant);
  EXPECT_EQ(Xi::NumeroCourant(groupes), groupeCourant) << "the group table's position is put back";
  Utilisateur::CodeUtilisateurCourant() = "USR";
  ASSERT_TRUE(BaseUtilisateurs::ChercherUtilisateurParCode("LEC"));
  EXPECT_TRUE(DroitGererServiceWeb());
  Utilisateur::CodeUtilisateurCourant() = "";
  EXPECT_FALSE(DroitGererServiceWeb());
}

// Limited access, over a course and a resource of the test's own.
class AccesLimiteTest : public DroitsUtilisateurTest {
 protected:
  void SetUp() override {
    DroitsUtilisateurTest::SetUp();
    TypeAccesLimite& a = AccesLimite();
    a.CoursCourantInaccessible = [this] { return coursInaccessible; };
    a.RessourceCouranteEstSalle = [this] { return salle; };
    a.SalleCouranteInaccessible = [this] { return salleInaccessible; };
    a.AllerARessource = [this](uint32_t n) { return n == 7; };
    a.EmpilerPositionRessource = [this] { positions += '('; };
    a.DepilerPositionRessource = [this] { positions += ')'; };
  }
  void TearDown() override {
    AccesLimite() = {};
    DroitsUtilisateurTest::TearDown();
  }
  bool salle = false, salleInaccessible = false, coursInaccessible = false;
  std::string positions;
};

TEST_F(AccesLimiteTest, RoomsAndCoursesAreReachedAsTheRightToInaccessibleOnesAllows) {
  struct Cas {
    bool salle, salleInaccessible, coursInaccessible, droit;
    bool salleEtCours, coursOuSalle;
  } const cas[] = {
      {true, false, false, false, true, true},   {true, false, true, false, false, false},
      {true, false, true, true, true, true},     {true, true, false, true, false, true},
      {true, true, true, true, false, false},    {true, true, false, false, false, true},
      {false, true, false, false, true, true},   {false, false, true, true, false, false},
  };
  for (const Cas& c : cas) {
    Vider();
    DroitsUtilisateurTest::SetUp();
    UtilisateurAvecProfil(kGenreAdministration, c.droit ? std::initializer_list<int>{5, 54} : std::initializer_list<int>{54});
    Utilisateur::CodeUtilisateurCourant() = "USR";
    ASSERT_EQ(DroitSallesCoursInaccessibles(), c.droit);
    salle = c.salle;
    salleInaccessible = c.salleInaccessible;
    coursInaccessible = c.coursInaccessible;
    SCOPED_TRACE(::testing::Message() << "room " << c.salle << ", room inaccessible " << c.salleInaccessible
                                      << ", course inaccessible " << c.coursInaccessible << ", right " << c.droit);
    EXPECT_EQ(AccesSalleEtCoursCourants(), c.salleEtCours);
    EXPECT_EQ(AccesCoursOuSalleCourants(), c.coursOuSalle);
    EXPECT_EQ(RessourceInaccessible(7), !c.salleEtCours);
    EXPECT_FALSE(RessourceInaccessible(8)) << "a resource that does not exist";
    EXPECT_EQ(positions, "()()") << "the resource table's position is put back";
    positions.clear();
  }
}

// A walk that throws still puts the resource table's position back.
TEST_F(AccesLimiteTest, AWalkThatThrowsPutsThePositionBack) {
  AccesLimite().AllerARessource = [](uint32_t) -> bool { throw EReadError("resource table"); };
  EXPECT_THROW((void)RessourceInaccessible(7), EReadError);
  EXPECT_EQ(positions, "()");
}

TEST_F(AccesLimiteTest, WithoutTheProtectionUnitsTheTestsAreNotBuilt) {
  AccesLimite().CoursCourantInaccessible = nullptr;
  EXPECT_THROW((void)AccesSalleEtCoursCourants(), ENonConstruit);
  EXPECT_THROW((void)AccesCoursOuSalleCourants(), ENonConstruit);
  EXPECT_THROW((void)RessourceInaccessible(7), ENonConstruit);
  EXPECT_EQ(positions, "");
}

}  // namespace
