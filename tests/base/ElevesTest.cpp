// Students: the four stored layouts read at their offsets and exported in the current one, the
// coded value carried byte for byte, the counts by flags, the field changes through the server and
// locally, the creation payload, and the deletions with what refers to a student.
#include <cstddef>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/CompteursNumeros.h"
#include "base/eleves/SupEleve.h"
#include "base/eleves/SupFamille.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/eleves/SupSousFamille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

using Octets = std::vector<uint8_t>;
using TypeChampModifiable = SupEleve::TypeChampModifiable;
constexpr int32_t kMAD = 5, kPAY = 6, kLIE = 7, kELE = 8, kRES = 19, kRRE = 37;
// Identifiers of the reference records loaded by the fixture.
constexpr int32_t kIdLieu = 36, kIdPays = 66, kIdModalite = 61;

void Poser32(Octets& s, std::size_t decalage, uint32_t v) { std::memcpy(&s[decalage], &v, 4); }
void PoserChaine(Octets& s, std::size_t decalage, const std::string& texte, std::size_t capacite) {
  const Octets c = Chaine(texte, capacite);
  std::copy(c.begin(), c.end(), s.begin() + static_cast<std::ptrdiff_t>(decalage));
}

// The stored layouts, by field: offsets in the 184-, 448-, 456- and 536-byte records, -1 when absent.
struct TypeChampStocke {
  const char* Nom;
  int Sorte;  // 0 text of the capacity, 1 u32, 2 double, 3 byte, 4 reference, 5 coded
  std::size_t Capacite;
  int Decalages[4];
};
const TypeChampStocke kChamps[] = {
    {"NumeroEleve", 1, 0, {0, 0, 0, 0}},         {"IdentifiantExterne", 0, 80, {-1, -1, -1, 4}},
    {"Nom", 0, 25, {4, 4, 4, 85}},               {"NomJeuneFille", 0, 25, {-1, 30, 30, 111}},
    {"Prenom", 0, 25, {30, 56, 56, 137}},        {"Adresse1", 0, 60, {-1, 84, 84, 164}},
    {"Adresse2", 0, 60, {-1, 145, 145, 225}},    {"CodePostal", 0, 5, {-1, 206, 206, 286}},
    {"Ville", 4, kIdLieu, {-1, 212, 212, 292}},  {"Telephone", 0, 20, {-1, 216, 216, 296}},
    {"Portable", 0, 20, {-1, 237, 237, 317}},    {"NumeroNational", 0, 16, {56, 258, 258, 338}},
    {"DateNaissance", 2, 0, {80, 280, 280, 360}}, {"LieuNaissance", 4, kIdLieu, {88, 288, 288, 368}},
    {"Nationalite", 4, kIdPays, {92, 292, 292, 372}}, {"Sexe", 3, 0, {96, 296, 296, 376}},
    {"Redoublant", 3, 0, {104, 304, 304, 384}},  {"CursusPrecedent", 0, 60, {-1, 305, 305, 385}},
    {"ModaliteAdmission", 4, kIdModalite, {-1, -1, 368, 448}}, {"Mail", 0, 60, {105, 366, 372, 452}},
    {"ValeurCodee", 5, 0, {166, 427, 433, 513}}, {"Proprietaire", 0, 3, {179, 440, 446, 526}},
};
const uint8_t kCodee[13] = {0xFF, 0x00, 0x41, 0xFF, 0x00, 0x7F, 0x80, 0x01, 0xFE, 0x00, 0xFF, 0x20, 0x00};

// A student stored in layout d (0 to 3) with every field that layout has; texts fill their field.
Octets Eleve(int d, uint32_t numero = 7) {
  static const uint32_t tailles[4] = {184, 448, 456, 536};
  Octets s(tailles[d], 0);
  for (const TypeChampStocke& c : kChamps) {
    const int o = c.Decalages[d];
    if (o < 0) continue;
    const auto u = static_cast<std::size_t>(o);
    switch (c.Sorte) {
      case 0:
        PoserChaine(s, u, std::string(c.Nom).substr(0, c.Capacite), c.Capacite);
        break;
      case 1:
        Poser32(s, u, numero);
        break;
      case 2: {
        const double date = 37000.5;
        std::memcpy(&s[u], &date, 8);
        break;
      }
      case 3:
        s[u] = 1;
        break;
      case 4:
        Poser32(s, u, static_cast<uint32_t>(c.Capacite));
        break;
      default:
        std::memcpy(&s[u], kCodee, 13);
    }
  }
  return s;
}

// What a student of layout d is exported as: the current layout with the fields d lacks left empty.
Octets Exporte(int d, uint32_t numero = 7) {
  Octets s = Eleve(3, numero);
  for (const TypeChampStocke& c : kChamps) {
    if (c.Decalages[d] >= 0) continue;
    const std::size_t largeur = c.Sorte == 0 ? c.Capacite + 1 : 4;
    std::fill_n(s.begin() + c.Decalages[3], largeur, 0);
  }
  return s;
}

class Eleves : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    ChargerReferences();
  }
  void TearDown() override {
    Utilisateur::CodeUtilisateurCourant().clear();
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::IdentProfilServeurConnexion() = 0;
    NetBases::BaseAnterieure506() = false;
    SupFichiers::VersionBase() = {};
    BaseOuverte::TearDown();
  }
  static void ChargerReferences() {
    Recevoir(OrdreRecu(GM_Creation, kPAY, kIdPays, Octets(66, 0)));
    Octets lieu(36, 0);
    PoserChaine(lieu, 0, "Lyon", 30);
    Recevoir(OrdreRecu(GM_Creation, kLIE, kIdLieu, lieu));
    Recevoir(OrdreRecu(GM_Creation, kMAD, kIdModalite, Chaine("Concours", 60)));
  }
  // Registers every file for a base of that version.
  static void Version(const TypeVersionFormat& v) {
    SupFichiers::VersionBase() = v;
    NetBases::BaseAnterieure506() = true;
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
    ChargerReferences();
  }
  static void* Table() { return SupEleve::Fichier().Table; }
  static uint32_t Charger(int32_t identifiant, const Octets& stocke) {
    Recevoir(OrdreRecu(GM_Creation, kELE, identifiant, stocke));
    return SupEleve::ChercherParIdentifiant(identifiant) ? Xi::NumeroCourant(Table()) : 0;
  }
  static Octets StockeCourant(int32_t place = kELE) {
    TypeTableReseau* entree = NetXi::Table(place);
    TFichierSup& f = *SupFichiers::Fichier(place);
    EXPECT_TRUE(entree->EcrireArticleStocke(entree->Tampon, f.Table, f.IdentifiantCourant(), GM_Modification));
    return Octets(entree->Tampon, entree->Tampon + entree->TailleStockee);
  }
  static const TypeEnregistrementEleve& A() { return *SupEleve::Article(); }
  // A student inserted directly, with its flags.
  static uint32_t Inserer(const std::string& nom, uint8_t presence, uint8_t extraction) {
    SupEleve::ViderArticle();
    FichierSup::EcrireChaineCourte(SupEleve::Article()->Nom, 25, nom);
    SupEleve::Article()->NumeroEleve = static_cast<uint32_t>(Xi::Nombre(Table()) + 1);
    SupEleve::Article()->Presence = presence;
    SupEleve::Article()->Extraction = extraction;
    EXPECT_TRUE(Xi::Inserer(Table()));
    return Xi::NumeroCourant(Table());
  }
};

TEST_F(Eleves, TheInMemoryRecordAgreesWithTheFileDeclaration) {
  const TypeDescriptionFichier& d = SupEleve::Fichier().Description();
  EXPECT_EQ(d.TailleEnregistrement, sizeof(TypeEnregistrementEleve));
  using E = TypeEnregistrementEleve;
  const std::pair<const char*, std::size_t> champs[] = {
      {"NumeroEleve", offsetof(E, NumeroEleve)}, {"IdentifiantExterne", offsetof(E, IdentifiantExterne)},
      {"Nom", offsetof(E, Nom)}, {"NomJeuneFille", offsetof(E, NomJeuneFille)}, {"Prenom", offsetof(E, Prenom)},
      {"Adresse1", offsetof(E, Adresse1)}, {"Adresse2", offsetof(E, Adresse2)},
      {"CodePostal", offsetof(E, CodePostal)}, {"Ville", offsetof(E, Ville)}, {"Telephone", offsetof(E, Telephone)},
      {"Portable", offsetof(E, Portable)}, {"NumeroNational", offsetof(E, NumeroNational)},
      {"DateNaissance", offsetof(E, DateNaissance)}, {"LieuNaissance", offsetof(E, LieuNaissance)},
      {"Nationalite", offsetof(E, Nationalite)}, {"Sexe", offsetof(E, Sexe)}, {"Redoublant", offsetof(E, Redoublant)},
      {"CursusPrecedent", offsetof(E, CursusPrecedent)}, {"ModaliteAdmission", offsetof(E, ModaliteAdmission)},
      {"Mail", offsetof(E, Mail)}, {"Extraction", offsetof(E, Extraction)}, {"Presence", offsetof(E, Presence)},
      {"ValeurCodee", offsetof(E, ValeurCodee)}, {"Proprietaire", offsetof(E, Proprietaire)},
  };
  for (const auto& [nom, decalage] : champs) {
    const auto* champ = DeclarationFichier::ChampNomme(d, nom);
    ASSERT_NE(champ, nullptr) << nom;
    EXPECT_EQ(champ->Decalage, decalage) << nom;
  }
}

// Each layout at the last version that stores it, and the current one: the fields it has read at
// their offsets, the others empty, and the current record exported.
TEST_F(Eleves, EachLayoutLoadsAtItsOffsetsAndExportsTheCurrentRecord) {
  const struct {
    TypeVersionFormat Version;
    uint32_t Taille;
  } cas[] = {{{4, 0, 0, 0}, 184}, {{4, 0, 5, 0}, 448}, {{4, 0, 8, 0}, 456}, {{5, 0, 6, 1}, 536}};
  for (int d = 0; d < 4; ++d) {
    SCOPED_TRACE(cas[d].Taille);
    ASSERT_TRUE(SupFichiers::CreerTables());
    Version(cas[d].Version);
    ASSERT_EQ(NetXi::Table(kELE)->TailleStockee, cas[d].Taille);
    const int32_t identifiant = 1000 + d;
    ASSERT_NE(Charger(identifiant, Eleve(d)), 0u);
    EXPECT_EQ(FichierSup::LireChaineCourte(A().Nom, 25), "Nom");
    EXPECT_EQ(FichierSup::LireChaineCourte(A().Prenom, 25), "Prenom");
    EXPECT_EQ(FichierSup::LireChaineCourte(A().NomJeuneFille, 25), d == 0 ? "" : "NomJeuneFille");
    EXPECT_EQ(A().Ville, d == 0 ? 0u : 1u);
    EXPECT_EQ(A().ModaliteAdmission, d < 2 ? 0u : 1u);
    EXPECT_EQ(FichierSup::LireChaineCourte(A().IdentifiantExterne, 80), d < 3 ? "" : "IdentifiantExterne");
    EXPECT_EQ(A().LieuNaissance, 1u);
    EXPECT_EQ(A().Nationalite, 1u);
    EXPECT_EQ(A().DateNaissance, 37000.5);
    EXPECT_EQ(A().ValeurCodee[0], 14);
    EXPECT_EQ(Octets(A().ValeurCodee + 1, A().ValeurCodee + 14), Octets(kCodee, kCodee + 13));
    EXPECT_EQ(A().ValeurCodee[14], 0) << "the 14th character";
    EXPECT_EQ(A().Extraction, 0);
    EXPECT_EQ(A().Presence, 1);
    // Exported as the current record (what the writer registered for a current base writes).
    Octets exporte(SupEleve::kTailleStockee, 0);
    ASSERT_TRUE(SupEleve::Fichier().EcrireArticleStocke(exporte.data(), identifiant, GM_Modification));
    EXPECT_EQ(exporte, Exporte(d));
  }
}

TEST_F(Eleves, AStudentWithUnknownReferencesLoadsWithNone) {
  Octets s = Eleve(3);
  for (std::size_t o : {292u, 368u, 372u, 448u}) Poser32(s, o, 999);
  ASSERT_NE(Charger(536, s), 0u);
  EXPECT_EQ(A().Ville, 0u);
  EXPECT_EQ(A().LieuNaissance, 0u);
  EXPECT_EQ(A().Nationalite, 0u);
  EXPECT_EQ(A().ModaliteAdmission, 0u);
  EXPECT_EQ(SupEleve::TexteVille(), "");
}

TEST_F(Eleves, LoadingRaisesTheStudentCounterAndANewStudentTakesItsDefaults) {
  CompteursNumeros::Compteurs().fill(0);
  ASSERT_NE(Charger(536, Eleve(3, 40)), 0u);
  ASSERT_NE(Charger(1072, [] {
              Octets s = Eleve(3, 12);
              PoserChaine(s, 85, "Autre", 25);
              return s;
            }()),
            0u);
  EXPECT_EQ(CompteursNumeros::Suivant(CompteursNumeros::kELE), 41u);
  Utilisateur::CodeUtilisateurCourant() = "ABC";
  SupEleve::ViderArticle();
  EXPECT_EQ(A().Extraction, 1);
  EXPECT_EQ(A().Presence, 1);
  EXPECT_EQ(FichierSup::LireChaineCourte(A().Proprietaire, 3), "ABC");
  EXPECT_EQ(A().LieuNaissance, 0u);
  EXPECT_EQ(A().Nationalite, 0u);
}

TEST_F(Eleves, TheCountsByFlagsMatchABruteForceCount) {
  std::mt19937 aleas(40);
  for (int essai = 0; essai < 20; ++essai) {
    ASSERT_TRUE(SupEleve::CreerTable());
    uint32_t presents = 0, extraits = 0;
    const int n = static_cast<int>(aleas() % 12);
    for (int i = 0; i < n; ++i) {
      const uint8_t presence = aleas() % 2, extraction = aleas() % 2;
      presents += presence;
      extraits += presence && extraction;
      Inserer("E" + std::to_string(i), presence, extraction);
    }
    const uint32_t courant = Xi::NumeroCourant(Table());
    EXPECT_EQ(SupEleve::NombreDEleves(0), static_cast<uint32_t>(n));
    EXPECT_EQ(SupEleve::NombreDEleves(1), presents);
    EXPECT_EQ(SupEleve::NombreDEleves(2), extraits);
    EXPECT_EQ(SupEleve::NombreDEleves(7), 0u);
    EXPECT_EQ(Xi::NumeroCourant(Table()), courant) << "position kept";
  }
}

TEST_F(Eleves, SexTextsAreTheTranslationsOfTheirKeys) {
  Traduction::DefinirTexte("SupAffEleveM", "M");
  Traduction::DefinirTexte("SupAffEleveMasculin", "Masculin");
  Traduction::DefinirTexte("SupAffEleveF", "F");
  Traduction::DefinirTexte("SupAffEleveFeminin", "Feminin");
  ASSERT_NE(Charger(536, Eleve(3)), 0u);
  SupEleve::Article()->Sexe = 0;
  EXPECT_EQ(SupEleve::TexteSexe(false), "M");
  EXPECT_EQ(SupEleve::TexteSexe(true), "Masculin");
  SupEleve::Article()->Sexe = 2;
  EXPECT_EQ(SupEleve::TexteSexe(false), "F");
  EXPECT_EQ(SupEleve::TexteSexe(true), "Feminin");
  EXPECT_EQ(SupEleve::TexteVille(), "Lyon");
  EXPECT_EQ(SupEleve::TexteModaliteAdmission(), "Concours");
}

// The changes of a student: the connected user may create, delete and change students.
class ModificationsEleves : public Eleves {
 protected:
  void SetUp() override {
    Eleves::SetUp();
    Utilisateur::CodeUtilisateurCourant() = "USR";
    Utilisateur::IdentProfilServeurConnexion() = 100;
    AccorderSeulementLesDroits({18, 19, 20});  // creating, deleting and changing students
    eleve_ = Charger(536, Eleve(3));
    ASSERT_NE(eleve_, 0u);
  }
  uint32_t eleve_ = 0;
};

TEST_F(ModificationsEleves, EveryChangeSendsItsCodeAndPayloadAndWritesItsFieldLocally) {
  using E = TypeEnregistrementEleve;
  using C = TypeChampModifiable;
  const double date = 40000.25;
  Octets octetsDate(8);
  std::memcpy(octetsDate.data(), &date, 8);
  const auto id = [](int32_t v) {
    Octets s(4);
    std::memcpy(s.data(), &v, 4);
    return s;
  };
  struct Cas {
    C Champ;
    std::function<bool()> Changer;
    uint32_t Code;
    Octets Donnees;       // sent
    std::size_t Decalage;  // the field written locally
    Octets Local;
  };
  const std::string long80(90, 'x');
  const Cas cas[] = {
      {C::Nom, [] { return SupEleve::ModifierNomEleve("Dupont"); }, 0x802A0200, Chaine("Dupont", 25), offsetof(E, Nom), Chaine("Dupont", 25)},
      {C::Prenom, [] { return SupEleve::ModifierPrenomEleve(std::string(30, 'p')); }, 0x802A0201, Chaine(std::string(25, 'p'), 25), offsetof(E, Prenom), Chaine(std::string(25, 'p'), 25)},
      {C::NumeroNational, [] { return SupEleve::ModifierNumeroNationalEleve("123"); }, 0x802A0202, Chaine("123", 16), offsetof(E, NumeroNational), Chaine("123", 16)},
      {C::Date, [&] { return SupEleve::ModifierDateEleve(date); }, 0x802A0203, octetsDate, offsetof(E, DateNaissance), octetsDate},
      {C::Lieu, [] { return SupEleve::ModifierLieuEleve(1); }, 0x802A0204, id(kIdLieu), offsetof(E, LieuNaissance), id(1)},
      {C::Pays, [] { return SupEleve::ModifierPaysEleve(0); }, 0x802A0205, id(0), offsetof(E, Nationalite), id(0)},
      {C::Sexe, [] { return SupEleve::ModifierSexeEleve(2); }, 0x802A0206, {2}, offsetof(E, Sexe), {2}},
      {C::Redoublant, [] { return SupEleve::ModifierRedoublantEleve(0); }, 0x802A0207, {0}, offsetof(E, Redoublant), {0}},
      {C::Email, [] { return SupEleve::ModifierEmailEleve("a@b"); }, 0x802A0208, Chaine("a@b", 60), offsetof(E, Mail), Chaine("a@b", 60)},
      {C::NomJF, [] { return SupEleve::ModifierNomJFEleve("Martin"); }, 0x802A0209, Chaine("Martin", 25), offsetof(E, NomJeuneFille), Chaine("Martin", 25)},
      {C::Cursus, [] { return SupEleve::ModifierCursusEleve("Bac"); }, 0x802A020A, Chaine("Bac", 60), offsetof(E, CursusPrecedent), Chaine("Bac", 60)},
      {C::Adresse1, [] { return SupEleve::ModifierAdresse1Eleve("1 rue"); }, 0x802A020B, Chaine("1 rue", 60), offsetof(E, Adresse1), Chaine("1 rue", 60)},
      {C::Adresse2, [] { return SupEleve::ModifierAdresse2Eleve("bis"); }, 0x802A020C, Chaine("bis", 60), offsetof(E, Adresse2), Chaine("bis", 60)},
      {C::CodePostal, [] { return SupEleve::ModifierCodePostalEleve("6900100"); }, 0x802A020D, Chaine("69001", 5), offsetof(E, CodePostal), Chaine("69001", 5)},
      {C::Ville, [] { return SupEleve::ModifierVilleEleve(1); }, 0x802A020E, id(kIdLieu), offsetof(E, Ville), id(1)},
      {C::Fixe, [] { return SupEleve::ModifierFixeEleve("0102"); }, 0x802A020F, Chaine("0102", 20), offsetof(E, Telephone), Chaine("0102", 20)},
      {C::Portable, [] { return SupEleve::ModifierPortableEleve("0607"); }, 0x802A0210, Chaine("0607", 20), offsetof(E, Portable), Chaine("0607", 20)},
      {C::Proprietaire, [] { return SupEleve::ModifierProprietaireEleve("abcd"); }, 0x802A0211, Chaine("abc", 3), offsetof(E, Proprietaire), Chaine("ABC", 3)},
      {C::ModaliteAdmission, [] { return SupEleve::ModifierModaliteAdmissionEleve(1); }, 0x802A0213, id(kIdModalite), offsetof(E, ModaliteAdmission), id(1)},
      {C::Identifiant, [&] { return SupEleve::ModifierIdentifiantEleve(long80); }, 0x802A0214, Chaine(std::string(80, 'x'), 80), offsetof(E, IdentifiantExterne), Chaine(std::string(80, 'x'), 80)},
  };
  ASSERT_EQ(std::size(cas), 20u);
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::to_string(c.Code));
    EXPECT_EQ(SupEleve::CodeModification(c.Champ), c.Code);
    client_.Envoyees.clear();
    ASSERT_TRUE(SupEleve::ChercherParIdentifiant(536));
    ASSERT_TRUE(c.Changer());
    ASSERT_EQ(client_.Envoyees.size(), 1u);
    EXPECT_EQ(client_.Envoyees[0].Code, c.Code);
    EXPECT_EQ(client_.Envoyees[0].Parametre, 536);
    EXPECT_EQ(client_.Envoyees[0].Donnees, c.Donnees);
  }
  client_.Exclusif = true;
  client_.Envoyees.clear();
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::to_string(c.Code));
    ASSERT_TRUE(SupEleve::ChercherParIdentifiant(536));
    ASSERT_TRUE(c.Changer());
    ASSERT_TRUE(SupEleve::ChercherParIdentifiant(536));
    const uint8_t* champ = reinterpret_cast<const uint8_t*>(SupEleve::Article()) + c.Decalage;
    EXPECT_EQ(Octets(champ, champ + c.Local.size()), c.Local);
  }
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(ModificationsEleves, RefusalsComeBeforeAnythingIsSent) {
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  // A reference to a record that does not exist.
  EXPECT_FALSE(SupEleve::ModifierLieuEleve(5));
  EXPECT_FALSE(SupEleve::ModifierPaysEleve(5));
  EXPECT_FALSE(SupEleve::ModifierVilleEleve(5));
  EXPECT_FALSE(SupEleve::ModifierModaliteAdmissionEleve(5));
  // Without the right to change students.
  AccorderSeulementLesDroits({18, 19});
  EXPECT_FALSE(SupEleve::ModifierNomEleve("X"));
  EXPECT_FALSE(SupEleve::ModifierDateEleve(1.0));
  EXPECT_TRUE(client_.Envoyees.empty());
  // Locally: an external identifier that a student has, this one included.
  AccorderSeulementLesDroits({20});
  client_.Exclusif = true;
  ASSERT_TRUE(SupEleve::ChercherParIdentifiant(536));
  EXPECT_FALSE(SupEleve::ModifierIdentifiantEleve("IdentifiantExterne"));
  EXPECT_TRUE(SupEleve::ModifierIdentifiantEleve(""));
  EXPECT_TRUE(SupEleve::ModifierIdentifiantEleve(""));
  EXPECT_TRUE(SupEleve::ModifierIdentifiantEleve("AUTRE"));
}

TEST_F(ModificationsEleves, CreatingAStudentSendsItsSixtyFourBytesOrInsertsItWithTheNextNumber) {
  const double date = 38000.0;
  client_.Serveur = [&](const RequeteEnvoyee& r, void* reponse) {
    Octets cree = Eleve(3, 99);
    PoserChaine(cree, 85, "Durand", 25);
    Recevoir(OrdreRecu(GM_Creation, kELE, 1072, cree));
    const int32_t id = 1072;
    std::memcpy(reponse, &id, 4);
    return r.Code == SupEleve::kCodeCreerEleve;
  };
  ASSERT_TRUE(SupEleve::CreerEleve("Durand", "Paul", date));
  Octets attendu(64, 0);
  PoserChaine(attendu, 0, "Durand", 25);
  PoserChaine(attendu, 26, "Paul", 25);
  std::memcpy(&attendu[56], &date, 8);
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, attendu);
  EXPECT_EQ(SupEleve::Fichier().IdentifiantCourant(), 1072);

  client_.Exclusif = true;
  CompteursNumeros::Compteurs().fill(0);
  CompteursNumeros::Relever(CompteursNumeros::kELE, 120);
  ASSERT_TRUE(SupEleve::CreerEleve("Durand", "Jean", date));
  EXPECT_EQ(A().NumeroEleve, 121u);
  EXPECT_EQ(A().Extraction, 1) << "a student created here is extracted";
  EXPECT_EQ(CompteursNumeros::Suivant(CompteursNumeros::kELE), 122u);
  EXPECT_FALSE(SupEleve::CreerEleve("Durand", "Jean", date)) << "name, first name and date are unique";
  AccorderSeulementLesDroits({19, 20});
  EXPECT_FALSE(SupEleve::CreerEleve("Autre", "Eleve", date));
}

// A student with a heading of a student family and one of a subject family.
class SuppressionsEleves : public ModificationsEleves {
 protected:
  void SetUp() override {
    ModificationsEleves::SetUp();
    client_.Exclusif = true;
    ASSERT_TRUE(SupFamille::CreerFamille(SupFamille::kGenreEleve, "Regime"));
    const uint32_t famille = Xi::NumeroCourant(SupFamille::Fichier().Table);
    ASSERT_TRUE(SupSousFamille::CreerSousFamille("Interne", famille));
    rubrique_ = Xi::NumeroCourant(SupSousFamille::Fichier().Table);
    ASSERT_TRUE(SupRelationFamille::CreerRelationFamille(rubrique_, eleve_));
    ASSERT_TRUE(Xi::AllerA(Table(), eleve_));
  }
  uint32_t rubrique_ = 0;
};

TEST_F(SuppressionsEleves, DeletingAStudentLocallyRemovesItsHeadings) {
  ASSERT_TRUE(SupEleve::SupprimerEleve(0));
  EXPECT_FALSE(SupEleve::EleveExiste(eleve_));
  EXPECT_EQ(Xi::Nombre(SupRelationFamille::Fichier().Table), 0u);
  EXPECT_EQ(Xi::Nombre(SupSousFamille::Fichier().Table), 1u) << "the heading itself stays";
}

TEST_F(SuppressionsEleves, AStudentWithMembershipsRaisesNotBuiltWithNothingChanged) {
  // A diploma and the student's membership of it.
  TFichierSup& ressources = *SupFichiers::Fichier(kRES);
  ressources.ViderArticle();
  RemplirArticle(ressources, 1);
  ASSERT_TRUE(Xi::Inserer(ressources.Table));
  TFichierSup& rre = *SupFichiers::Fichier(kRRE);
  rre.ViderArticle();
  uint8_t* e = rre.Enregistrement();
  const auto* ch = &rre.Description().Champs;
  for (const TypeChampFichier& c : *ch) {
    const std::string nom = c.Nom;
    const uint32_t v = nom == "Ressource" ? Xi::NumeroCourant(ressources.Table) : eleve_;
    if (nom == "Ressource" || nom == "Eleve") std::memcpy(e + c.Decalage, &v, 4);
  }
  ASSERT_TRUE(Xi::Inserer(rre.Table));
  ASSERT_TRUE(Xi::AllerA(Table(), eleve_));
  EXPECT_THROW((void)SupEleve::SupprimerEleve(0), ENonConstruit);
  EXPECT_TRUE(SupEleve::EleveExiste(eleve_));
  EXPECT_EQ(Xi::Nombre(SupRelationFamille::Fichier().Table), 1u);
  EXPECT_EQ(Xi::Nombre(rre.Table), 1u);
  EXPECT_FALSE(Xi::RestaurerPosition(Table())) << "no position left saved";
  EXPECT_THROW((void)SupEleve::SupprimerEleveParNumero(eleve_, 0), ENonConstruit);
  EXPECT_FALSE(Xi::RestaurerPosition(Table())) << "no position left saved";
}

TEST_F(SuppressionsEleves, ASelectionDeletedLocallyAnswersWhetherEveryStudentWentAndKeepsTheOthers) {
  Recevoir(OrdreRecu(GM_Creation, kELE, 1072, [] {
    Octets s = Eleve(3, 8);
    PoserChaine(s, 85, "Second", 25);
    return s;
  }()));
  const uint32_t second = SupEleve::EleveDeLIdentifiant(1072);
  ASSERT_NE(second, 0u);
  TypeEnsembleMemoire selection{};
  Memoire::Initialiser(selection);
  EXPECT_TRUE(SupEleve::SupprimerElevesDuTableau(selection)) << "an empty selection";
  (void)Memoire::Inserer(second, selection);
  (void)Memoire::Inserer(777, selection);
  EXPECT_FALSE(SupEleve::SupprimerElevesDuTableau(selection)) << "777 holds no student";
  EXPECT_EQ(selection.Nombre, 0u) << "neither is present any more";
  EXPECT_FALSE(SupEleve::EleveExiste(second));
  (void)Memoire::Inserer(eleve_, selection);
  EXPECT_TRUE(SupEleve::SupprimerElevesDuTableau(selection));
  EXPECT_EQ(selection.Nombre, 0u);
  Memoire::Liberer(selection);
}

TEST_F(SuppressionsEleves, ThroughTheServerTheSelectionIsRefilledOnlyFromAnAcceptedAnswer) {
  client_.Exclusif = false;
  Recevoir(OrdreRecu(GM_Creation, kELE, 1072, [] {
    Octets s = Eleve(3, 8);
    PoserChaine(s, 85, "Second", 25);
    return s;
  }()));
  const uint32_t second = SupEleve::EleveDeLIdentifiant(1072);
  TypeEnsembleMemoire selection{};
  Memoire::Initialiser(selection);
  (void)Memoire::Inserer(eleve_, selection);
  (void)Memoire::Inserer(second, selection);
  bool accepter = false;
  client_.Serveur = [&](const RequeteEnvoyee& r, void* reponse) {
    // The answer lists the second student only; a refused one writes garbage.
    const int32_t paquet[3] = {accepter ? 1 : 7, 1072, 99};
    std::memcpy(reponse, paquet, accepter ? 8 : 12);
    return accepter && r.Code == SupEleve::kCodeSupprimerElevesDuTableau;
  };
  EXPECT_FALSE(SupEleve::SupprimerElevesDuTableau(selection));
  EXPECT_EQ(selection.Nombre, 2u) << "a refused answer leaves the selection";
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  const int32_t attendu[3] = {2, 536, 1072};
  EXPECT_EQ(client_.Envoyees[0].Donnees, Octets(reinterpret_cast<const uint8_t*>(attendu),
                                                reinterpret_cast<const uint8_t*>(attendu) + 12));
  EXPECT_TRUE(client_.Envoyees[0].AfficherAttente);
  accepter = true;
  EXPECT_TRUE(SupEleve::SupprimerElevesDuTableau(selection));
  ASSERT_EQ(selection.Nombre, 1u);
  EXPECT_EQ(selection.Elements[0], second);
  Memoire::Liberer(selection);

  // Deleting one student sends its identifier and the option byte.
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  ASSERT_TRUE(Xi::AllerA(Table(), eleve_));
  EXPECT_TRUE(SupEleve::SupprimerEleve(3));
  EXPECT_EQ(client_.Envoyees.back().Code, SupEleve::kCodeSupprimerEleve);
  EXPECT_EQ(client_.Envoyees.back().Parametre, 536);
  EXPECT_EQ(client_.Envoyees.back().Donnees, Octets{3});
}

}  // namespace
