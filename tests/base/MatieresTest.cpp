// Subjects: the stored record at its offsets, the fields never stored, the subject counter, the
// defaults of a new subject, the default subjects and the reads that must leave the table as they
// found it.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "BaseEssai.h"
#include "base/CompteursNumeros.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/matieres/SupMatiere.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"

namespace {

using Octets = std::vector<uint8_t>;
constexpr int32_t kMAT = 12;

void Poser32(Octets& s, std::size_t decalage, uint32_t v) { std::memcpy(&s[decalage], &v, 4); }
void PoserChaine(Octets& s, std::size_t decalage, const std::string& texte, std::size_t capacite) {
  const Octets c = Chaine(texte, capacite);
  std::copy(c.begin(), c.end(), s.begin() + static_cast<std::ptrdiff_t>(decalage));
}

// A stored subject (228 bytes) with every stored field set; the reserved bytes stay 0.
Octets Matiere(const std::string& code, const std::string& libelle, uint32_t numero) {
  Octets s(228, 0);
  PoserChaine(s, 0, code, 16);
  PoserChaine(s, 17, code.empty() ? "" : "EXT-" + code, 80);
  PoserChaine(s, 98, libelle, 30);
  PoserChaine(s, 129, libelle.empty() ? "" : libelle + " (complet)", 65);
  Poser32(s, 196, 0x00AABBCC);  // colour
  Poser32(s, 200, 3);           // coefficient
  Poser32(s, 204, 8);           // maximum places a day
  Poser32(s, 208, 40);          // a week
  s[216] = 0x5A;                // the carried byte
  PoserChaine(s, 217, "ABC", 3);
  Poser32(s, 224, numero);
  return s;
}

class Matieres : public BaseOuverte {
 protected:
  void TearDown() override {
    Utilisateur::CodeUtilisateurCourant().clear();
    BaseOuverte::TearDown();
  }
  static void* Table() { return SupMatiere::Fichier().Table; }
  // Loads a stored subject as the server's creation order; its record number, 0 when refused.
  static uint32_t Charger(int32_t identifiant, const Octets& stocke) {
    Recevoir(OrdreRecu(GM_Creation, kMAT, identifiant, stocke));
    return SupMatiere::ChercherParIdentifiant(identifiant) ? Xi::NumeroCourant(Table()) : 0;
  }
  static Octets StockeCourant() {
    TypeTableReseau* entree = NetXi::Table(kMAT);
    TFichierSup& f = SupMatiere::Fichier();
    EXPECT_TRUE(entree->EcrireArticleStocke(entree->Tampon, f.Table, f.IdentifiantCourant(), GM_Modification));
    return Octets(entree->Tampon, entree->Tampon + entree->TailleStockee);
  }
  static const TypeEnregistrementMatiere& M() { return *SupMatiere::Article(); }
};

TEST_F(Matieres, TheInMemoryRecordAgreesWithTheFileDeclaration) {
  const TypeDescriptionFichier& d = SupMatiere::Fichier().Description();
  EXPECT_EQ(d.TailleEnregistrement, sizeof(TypeEnregistrementMatiere));
  const std::pair<const char*, std::size_t> champs[] = {
      {"IdentifiantExterne", offsetof(TypeEnregistrementMatiere, IdentifiantExterne)},
      {"Code", offsetof(TypeEnregistrementMatiere, Code)},
      {"Libelle", offsetof(TypeEnregistrementMatiere, Libelle)},
      {"NomComplet", offsetof(TypeEnregistrementMatiere, NomComplet)},
      {"Coefficient", offsetof(TypeEnregistrementMatiere, Coefficient)},
      {"MaxHeuresJour", offsetof(TypeEnregistrementMatiere, MaxHeuresJour)},
      {"MaxHeuresSemaine", offsetof(TypeEnregistrementMatiere, MaxHeuresSemaine)},
      {"Couleur", offsetof(TypeEnregistrementMatiere, Couleur)},
      {"ValeurTri", offsetof(TypeEnregistrementMatiere, ValeurTri)},
      {"OctetPorte", offsetof(TypeEnregistrementMatiere, OctetPorte)},
      {"Extrait", offsetof(TypeEnregistrementMatiere, Extrait)},
      {"Retenu", offsetof(TypeEnregistrementMatiere, Retenu)},
      {"Proprietaire", offsetof(TypeEnregistrementMatiere, Proprietaire)},
      {"NumeroMatiere", offsetof(TypeEnregistrementMatiere, NumeroMatiere)},
  };
  for (const auto& [nom, decalage] : champs) {
    const auto* champ = DeclarationFichier::ChampNomme(d, nom);
    ASSERT_NE(champ, nullptr) << nom;
    EXPECT_EQ(champ->Decalage, decalage) << nom;
  }
}

TEST_F(Matieres, TheStoredRecordReadsAtItsOffsetsAndWritesTheSameBytes) {
  EXPECT_EQ(NetXi::Table(kMAT)->TailleStockee, 228u);
  const Octets stocke = Matiere("MATH", "Mathematiques", 77);
  ASSERT_NE(Charger(500, stocke), 0u);
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Code, 16), "MATH");
  EXPECT_EQ(FichierSup::LireChaineCourte(M().IdentifiantExterne, 80), "EXT-MATH");
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Libelle, 30), "Mathematiques");
  EXPECT_EQ(FichierSup::LireChaineCourte(M().NomComplet, 65), "Mathematiques (complet)");
  EXPECT_EQ(M().Couleur, 0x00AABBCCu);
  EXPECT_EQ(M().Coefficient, 3);
  EXPECT_EQ(M().MaxHeuresJour, 8);
  EXPECT_EQ(M().MaxHeuresSemaine, 40);
  EXPECT_EQ(M().OctetPorte, 0x5A);
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Proprietaire, 3), "ABC");
  EXPECT_EQ(M().NumeroMatiere, 77u);
  EXPECT_EQ(M().Extrait, 0);
  EXPECT_EQ(M().Retenu, 1);
  EXPECT_EQ(M().ValeurTri, 0);
  EXPECT_EQ(StockeCourant(), stocke);

  // Strings at full capacity keep every character both ways.
  Octets plein = Matiere(std::string(16, 'C'), std::string(30, 'L'), 78);
  PoserChaine(plein, 17, std::string(80, 'X'), 80);
  PoserChaine(plein, 129, std::string(65, 'N'), 65);
  ASSERT_NE(Charger(501, plein), 0u);
  EXPECT_EQ(StockeCourant(), plein);
}

TEST_F(Matieres, AChangeReceivedKeepsTheFieldsNeverStored) {
  ASSERT_NE(Charger(500, Matiere("MATH", "Maths", 1)), 0u);
  SupMatiere::Article()->Extrait = 1;
  SupMatiere::Article()->Retenu = 0;
  ASSERT_TRUE(Xi::Modifier(Table()));
  Recevoir(OrdreRecu(GM_Modification, kMAT, 500, Matiere("MATH", "Algebre", 1)));
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(500));
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Libelle, 30), "Algebre");
  EXPECT_EQ(M().Extrait, 1);
  EXPECT_EQ(M().Retenu, 0);
}

TEST_F(Matieres, LoadingRaisesTheSubjectCounterToTheLargestNumber) {
  CompteursNumeros::Compteurs().fill(0);
  int32_t identifiant = 100;
  for (uint32_t numero : {5u, 90u, 12u})
    ASSERT_NE(Charger(++identifiant, Matiere("M" + std::to_string(numero), "M", numero)), 0u);
  EXPECT_EQ(CompteursNumeros::Suivant(CompteursNumeros::kMAT), 91u);
  // The subject number is unique: a second subject with number 90 is refused.
  Recevoir(OrdreRecu(GM_Creation, kMAT, 200, Matiere("AUTRE", "Autre", 90)));
  EXPECT_FALSE(SupMatiere::ChercherParIdentifiant(200));
}

TEST_F(Matieres, ANewSubjectTakesItsDefaults) {
  Utilisateur::CodeUtilisateurCourant() = "usr";
  SupMatiere::ViderArticle();
  EXPECT_EQ(M().Extrait, 1);
  EXPECT_EQ(M().Retenu, 1);
  EXPECT_EQ(M().Couleur, 0xFF00000Fu);
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Proprietaire, 3), "USR");
  EXPECT_EQ(M().Code[0], 0);
  EXPECT_EQ(M().NumeroMatiere, 0u);
}

TEST_F(Matieres, WhichSubjectsCountAsDefaultSubjects) {
  const std::string aPreciser = std::string("Matière à preciser"_ansi);
  const std::string reservation = std::string("Réservation de salles"_ansi);
  struct Cas {
    const char* Quoi;
    std::string Code, Libelle;
    std::string TraductionReservation;  // empty: no translation, the French text is used
    bool Defaut;
  };
  const Cas cas[] = {
      {"code and label empty", "", "", "", true},
      {"fallback room-reservation text", "", reservation, "", true},
      {"fallback to-be-specified text", "", aPreciser, "", true},
      {"translated room-reservation text", "", "Salles", "Salles", true},
      {"the fallback once a translation exists", "", reservation, "Salles", false},
      {"a code", "RES", reservation, "", false},
      {"another label", "", "Maths", "", false},
  };
  int32_t identifiant = 0;
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    Traduction::DefinirTexte("SupMatiereRéservationSalles"_ansi, c.TraductionReservation);
    Traduction::DefinirTexte("SupMatiereMatiereAPreciser", "");
    identifiant += 228;
    ASSERT_NE(Charger(identifiant, Matiere(c.Code, c.Libelle, static_cast<uint32_t>(identifiant))), 0u);
    EXPECT_EQ(SupMatiere::EstMatiereParDefaut(), c.Defaut);
    Recevoir(OrdreRecu(GM_Suppression, kMAT, identifiant, {}));
  }
  Traduction::DefinirTexte("SupMatiereRéservationSalles"_ansi, "");
  EXPECT_EQ(SupMatiere::TexteReservationSalles(), reservation);
  EXPECT_EQ(SupMatiere::TexteMatiereAPreciser(), aPreciser);
  Traduction::DefinirTexte("SupMatiereMatiereAPreciser", "A preciser");
  EXPECT_EQ(SupMatiere::TexteMatiereAPreciser(), "A preciser");
}

TEST_F(Matieres, ReadsFindOrLeaveTheFormerRecordCurrent) {
  EXPECT_EQ(SupMatiere::MatiereParDefaut(), 0u);
  const uint32_t maths = Charger(300, Matiere("MATH", "Maths", 4));
  const uint32_t physique = Charger(600, Matiere("PHYS", "Physique", 9));
  ASSERT_NE(maths, 0u);
  ASSERT_NE(physique, 0u);
  EXPECT_EQ(SupMatiere::IdentifiantDe(physique), 600);
  EXPECT_EQ(SupMatiere::IdentifiantDe(0), 0);
  EXPECT_EQ(SupMatiere::ArticleDeIdentifiant(300), maths);
  EXPECT_EQ(SupMatiere::ArticleDeIdentifiant(301), 0u);

  ASSERT_TRUE(SupMatiere::ChercherMatiereParNumero(4));
  EXPECT_EQ(Xi::NumeroCourant(Table()), maths);
  EXPECT_FALSE(SupMatiere::ChercherMatiereParNumero(5));
  EXPECT_EQ(Xi::NumeroCourant(Table()), maths);
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Code, 16), "MATH");

  ASSERT_TRUE(SupMatiere::ChercherMatiereParIdentifiantExterne("EXT-PHYS"));
  EXPECT_EQ(Xi::NumeroCourant(Table()), physique);
  EXPECT_FALSE(SupMatiere::ChercherMatiereParIdentifiantExterne("EXT-MATH" + std::string(80, 'Z')));
  EXPECT_EQ(Xi::NumeroCourant(Table()), physique);
  // The text is cut to 80 characters before the search.
  Octets longue = Matiere("LONG", "Long", 10);
  PoserChaine(longue, 17, std::string(80, 'Y'), 80);
  const uint32_t numeroLongue = Charger(900, longue);
  ASSERT_NE(numeroLongue, 0u);
  ASSERT_TRUE(SupMatiere::ChercherMatiereParIdentifiantExterne(std::string(85, 'Y')));
  EXPECT_EQ(Xi::NumeroCourant(Table()), numeroLongue);

  // The default subject: found by code and label, the position kept by MatiereParDefaut.
  EXPECT_FALSE(SupMatiere::AllerAMatiereParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(Table()), numeroLongue);
  const uint32_t defaut = Charger(1200, Matiere("", "", 11));
  ASSERT_NE(defaut, 0u);
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
  EXPECT_EQ(SupMatiere::MatiereParDefaut(), defaut);
  EXPECT_EQ(Xi::NumeroCourant(Table()), maths);
  ASSERT_TRUE(SupMatiere::AllerAMatiereParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(Table()), defaut);
}

TEST_F(Matieres, TheDefaultContentsSayTheyAreNotBuilt) {
  EXPECT_THROW(SupMatiere::CreerMatieresParDefaut(), ENonConstruit);
  EXPECT_EQ(Xi::Nombre(Table()), 0u);
}

}  // namespace
