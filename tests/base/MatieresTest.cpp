// Subjects: the stored record at its offsets, the fields never stored, the subject counter, the
// defaults of a new subject, the default subjects and the reads that must leave the table as they
// found it.
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "BaseEssai.h"
#include "base/CompteursNumeros.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/matieres/SupMatiere.h"
#include "base/matieres/SupRelationMatieres.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

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


}  // namespace

namespace {

constexpr int32_t kRLM = 13;
namespace RLM = SupRelationMatieres;

Octets Relation(uint32_t premiere, uint32_t seconde) {
  Octets s(8, 0);
  Poser32(s, 0, premiere);
  Poser32(s, 4, seconde);
  return s;
}

// Three subjects: MATH (identifier 300), PHYS (600, at most 6 places a day), CHIM (900); the other
// two have no maximum of hours per day.
class RelationsMatieres : public Matieres {
 protected:
  void SetUp() override {
    Matieres::SetUp();
    const auto avecMaximum = [](Octets s, uint32_t places) {
      Poser32(s, 204, places);
      return s;
    };
    maths_ = Charger(300, avecMaximum(Matiere("MATH", "Maths", 1), 0));
    physique_ = Charger(600, avecMaximum(Matiere("PHYS", "Physique", 2), 6));
    chimie_ = Charger(900, avecMaximum(Matiere("CHIM", "Chimie", 3), 0));
    ASSERT_TRUE(maths_ != 0 && physique_ != 0 && chimie_ != 0);
  }
  static void* TableRLM() { return RLM::Fichier().Table; }
  // The (first, second) pairs of every relation, in order 1.
  static std::vector<std::pair<uint32_t, uint32_t>> Paires() {
    std::vector<std::pair<uint32_t, uint32_t>> paires;
    for (bool encore = Xi::Premier(TableRLM(), RLM::kOrdrePremiere); encore;
         encore = Xi::Suivant(TableRLM(), RLM::kOrdrePremiere))
      paires.emplace_back(RLM::Article()->Premiere, RLM::Article()->Seconde);
    return paires;
  }
  uint32_t maths_ = 0, physique_ = 0, chimie_ = 0;
};

TEST_F(RelationsMatieres, TheStoredRelationByBaseVersion) {
  TFichierSup& f = RLM::Fichier();
  ASSERT_EQ(f.Description().Dispositions.size(), 2u);
  EXPECT_EQ(f.DispositionPour({4, 0, 98, 0}, true), 0u);
  EXPECT_EQ(f.DispositionPour({4, 0, 99, 0}, true), 1u);
  struct Cas {
    const char* Quoi;
    std::size_t Disposition;
    Octets Stocke;
    bool Accepte;
    uint32_t Premiere, Seconde;
  };
  const Cas cas[] = {
      {"identifiers", 1, Relation(600, 300), true, 2, 1},
      {"identifiers, one missing", 1, Relation(600, 301), false, 0, 0},
      {"identifiers, zero", 1, Relation(0, 300), false, 0, 0},
      {"record numbers", 0, Relation(3, 1), true, 3, 1},
      {"record numbers, one missing", 0, Relation(3, 7), true, 0, 0},
      {"record numbers, zero", 0, Relation(0, 2), true, 0, 0},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    f.ViderArticle();
    ASSERT_EQ(f.LireArticleStocke(c.Disposition, c.Stocke.data(), 8, GM_Creation), c.Accepte);
    if (!c.Accepte) continue;
    EXPECT_EQ(RLM::Article()->Premiere, c.Premiere);
    EXPECT_EQ(RLM::Article()->Seconde, c.Seconde);
  }
  // The current layout writes identifiers back; a relation whose subject is gone is not written.
  Recevoir(OrdreRecu(GM_Creation, kRLM, 8, Relation(900, 600)));
  ASSERT_TRUE(RLM::ChercherParIdentifiant(8));
  EXPECT_EQ(RLM::Article()->Premiere, chimie_);
  TypeTableReseau* entree = NetXi::Table(kRLM);
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, TableRLM(), 8, GM_Modification));
  EXPECT_EQ(Octets(entree->Tampon, entree->Tampon + 8), Relation(900, 600));
  RLM::Article()->Seconde = 77;
  EXPECT_FALSE(entree->EcrireArticleStocke(entree->Tampon, TableRLM(), 8, GM_Modification));
}

TEST_F(RelationsMatieres, LocalCreationExistenceAndDeletionOfASubjectsRelations) {
  client_.Exclusif = true;
  ASSERT_TRUE(RLM::CreerRelationMatieres(maths_, maths_));
  EXPECT_EQ(Xi::Nombre(TableRLM()), 1u) << "a subject with itself: one record";
  ASSERT_TRUE(RLM::CreerRelationMatieres(maths_, physique_));
  EXPECT_EQ(Xi::Nombre(TableRLM()), 3u) << "two subjects: both directions";
  EXPECT_FALSE(RLM::CreerRelationMatieres(physique_, maths_)) << "both exist already";
  ASSERT_TRUE(RLM::CreerRelationMatieres(physique_, physique_));
  ASSERT_TRUE(RLM::CreerRelationMatieres(physique_, chimie_));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());

  struct Cas {
    uint32_t A, B;
    bool Existe;
  };
  const Cas cas[] = {{maths_, physique_, true},
                     {physique_, maths_, true},
                     {maths_, maths_, true},
                     {physique_, physique_, false},  // related, but PHYS has a maximum of hours per day
                     {maths_, chimie_, false},
                     {chimie_, physique_, true},
                     {chimie_, chimie_, false}};  // never related to itself here
  ASSERT_TRUE(RLM::ChercherParIdentifiant(RLM::Fichier().IdentifiantCourant()));
  const uint32_t position = Xi::NumeroCourant(TableRLM());
  for (const Cas& c : cas) EXPECT_EQ(RLM::RelationMatieresExiste(c.A, c.B), c.Existe) << c.A << " " << c.B;
  EXPECT_EQ(Xi::NumeroCourant(TableRLM()), position);

  // The relations of PHYS, in either place, are what the walk visits.
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(600));
  std::vector<std::pair<uint32_t, uint32_t>> visitees;
  EXPECT_EQ(RLM::PourChaqueRelationDeLaMatiereCourante([&] {
              visitees.emplace_back(RLM::Article()->Premiere, RLM::Article()->Seconde);
              return 0;
            }),
            0);
  const std::vector<std::pair<uint32_t, uint32_t>> attendues = {
      {physique_, maths_}, {physique_, physique_}, {physique_, chimie_},
      {maths_, physique_}, {physique_, physique_}, {chimie_, physique_}};
  EXPECT_EQ(visitees, attendues);

  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
  ASSERT_TRUE(RLM::SupprimerRelationsMatieresDeMatiere(physique_));
  EXPECT_EQ(Paires(), (std::vector<std::pair<uint32_t, uint32_t>>{{maths_, maths_}}));
  EXPECT_EQ(SupMatiere::Fichier().IdentifiantCourant(), 300) << "the subject position is kept";
  EXPECT_EQ(client_.Envoyees.size(), 0u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(RelationsMatieres, RequestsThroughTheServer) {
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code == RLM::kCodeCreerRelation) {
      Recevoir(OrdreRecu(GM_Creation, kRLM, 16, r.Donnees));
      const int32_t identifiant = 16;
      std::memcpy(reponse, &identifiant, 4);
    }
    return true;
  };
  ASSERT_TRUE(RLM::CreerRelationMatieres(physique_, maths_));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x800F0100u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, Relation(600, 300));
  EXPECT_EQ(RLM::Fichier().IdentifiantCourant(), 16) << "the new relation is current";
  EXPECT_FALSE(RLM::CreerRelationMatieres(physique_, 99)) << "a missing subject: nothing sent";
  EXPECT_EQ(client_.Envoyees.size(), 1u);

  EXPECT_TRUE(RLM::SupprimerRelationMatieres());
  EXPECT_EQ(client_.Envoyees[1].Code, 0x800F0300u);
  EXPECT_EQ(client_.Envoyees[1].Parametre, 16);
  EXPECT_TRUE(RLM::SupprimerRelationsMatieresDeMatiere(chimie_));
  EXPECT_EQ(client_.Envoyees[2].Code, 0x800F0302u);
  EXPECT_EQ(client_.Envoyees[2].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[2].Donnees, (Octets{0x84, 0x03, 0, 0}));  // identifier 900
  EXPECT_TRUE(RLM::CreerRelationsMatieresParDefaut());
  EXPECT_EQ(client_.Envoyees[3].Code, 0x800F0000u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

}  // namespace

namespace {

// The changes of a subject. The connected user holds a modification profile; by default it has the
// right to change subjects.
class ModificationsMatieres : public Matieres {
 protected:
  void SetUp() override {
    Matieres::SetUp();
    Utilisateur::CodeUtilisateurCourant() = "USR";
    Utilisateur::IdentProfilServeurConnexion() = 100;
    Droits({8});  // the right to change subjects
    maths_ = Charger(300, Matiere("MATH", "Maths", 1));
    physique_ = Charger(600, Matiere("PHYS", "Physique", 2));
    ASSERT_TRUE(maths_ != 0 && physique_ != 0);
    NetXi::Table(kMAT)->SurModification1 = [this](TypeGenreModif g, int32_t, int32_t id) {
      notifications_.push_back(std::to_string(g) + " " + std::to_string(id));
    };
  }
  void TearDown() override {
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::IdentProfilServeurConnexion() = 0;
    Matieres::TearDown();
  }
  static void Droits(std::initializer_list<int> Bits) { AccorderSeulementLesDroits(Bits); }
  uint32_t maths_ = 0, physique_ = 0;
  std::vector<std::string> notifications_;
};

Octets Entier32(int32_t v) {
  Octets s(4);
  std::memcpy(s.data(), &v, 4);
  return s;
}

TEST_F(ModificationsMatieres, EachChangeSendsItsFieldWithTheSubjectsIdentifier) {
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  struct Cas {
    const char* Quoi;
    std::function<bool()> Changer;
    uint32_t Code;
    Octets Donnees;
  };
  const Cas cas[] = {
      {"code", [] { return SupMatiere::ModifierCodeMatiere("MATHEMATIQUES-AVANCEES"); }, 0x800E0201,
       Chaine("MATHEMATIQUES-AV", 16)},
      {"label", [] { return SupMatiere::ModifierLibelleMatiere("Algebre"); }, 0x800E0202, Chaine("Algebre", 30)},
      {"full name", [] { return SupMatiere::ModifierNomCompletMatiere("Algebre lineaire"); }, 0x800E0203,
       Chaine("Algebre lineaire", 65)},
      {"hours a day", [] { return SupMatiere::ModifierMaxHeuresJourMatiere(5); }, 0x800E0204, Entier32(5)},
      {"hours a week", [] { return SupMatiere::ModifierMaxHeuresHebdoMatiere(-1); }, 0x800E0205, Entier32(-1)},
      {"owner", [] { return SupMatiere::ModifierProprietaireMatiere("abcd"); }, 0x800E020C, Chaine("ABC", 3)},
      {"coefficient", [] { return SupMatiere::ModifierCoeffCCCAMatiere(7); }, 0x800E020D, Entier32(7)},
      {"external identifier", [] { return SupMatiere::ModifierIdentifiantMatiere(std::string(90, 'E')); },
       0x800E020F, Chaine(std::string(80, 'E'), 80)},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
    client_.Envoyees.clear();
    ASSERT_TRUE(c.Changer());
    ASSERT_EQ(client_.Envoyees.size(), 1u);
    EXPECT_EQ(client_.Envoyees[0].Code, c.Code);
    EXPECT_EQ(client_.Envoyees[0].Parametre, 300);
    EXPECT_EQ(client_.Envoyees[0].Donnees, c.Donnees);
  }
  // Unchanged texts: True, nothing sent.
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
  client_.Envoyees.clear();
  EXPECT_TRUE(SupMatiere::ModifierCodeMatiere("MATH"));
  EXPECT_TRUE(SupMatiere::ModifierLibelleMatiere("Maths"));
  EXPECT_TRUE(SupMatiere::ModifierNomCompletMatiere("Maths (complet)"));
  // An external identifier some subject has, this one included: refused, nothing sent.
  EXPECT_FALSE(SupMatiere::ModifierIdentifiantMatiere("EXT-MATH"));
  EXPECT_FALSE(SupMatiere::ModifierIdentifiantMatiere("EXT-PHYS"));
  EXPECT_EQ(client_.Envoyees.size(), 0u);
  // The server's refusal is the answer.
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  EXPECT_FALSE(SupMatiere::ModifierCoeffCCCAMatiere(2));
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(ModificationsMatieres, WithoutTheRightNothingIsSentOrChanged) {
  Droits({6, 7});  // creating and deleting subjects, not changing them
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
  EXPECT_FALSE(SupMatiere::ModifierCodeMatiere("X"));
  EXPECT_FALSE(SupMatiere::ModifierLibelleMatiere("X"));
  EXPECT_FALSE(SupMatiere::ModifierNomCompletMatiere("X"));
  EXPECT_FALSE(SupMatiere::ModifierIdentifiantMatiere("X"));
  EXPECT_FALSE(SupMatiere::ModifierCoeffCCCAMatiere(1));
  EXPECT_FALSE(SupMatiere::ModifierMaxHeuresJourMatiere(1));
  EXPECT_FALSE(SupMatiere::ModifierMaxHeuresHebdoMatiere(1));
  EXPECT_FALSE(SupMatiere::ModifierProprietaireMatiere("X"));
  EXPECT_EQ(client_.Envoyees.size(), 0u);
}

TEST_F(ModificationsMatieres, LocalChanges) {
  client_.Exclusif = true;
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
  ASSERT_TRUE(SupMatiere::ModifierProprietaireMatiere("xy"));
  ASSERT_TRUE(SupMatiere::ModifierMaxHeuresJourMatiere(6));
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(300));
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Proprietaire, 3), "XY");
  EXPECT_EQ(M().MaxHeuresJour, 6);
  EXPECT_EQ(notifications_, (std::vector<std::string>{"1 300", "1 300"}));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());

  // PHYS's label with MATH's code would be a second ("Maths", "MATH") only after the code change:
  // first give PHYS the code, then the label fails and the record is as the table holds it.
  ASSERT_TRUE(SupMatiere::ChercherParIdentifiant(600));
  ASSERT_TRUE(SupMatiere::ModifierCodeMatiere("MATH"));
  EXPECT_FALSE(SupMatiere::ModifierLibelleMatiere("Maths"));
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Libelle, 30), "Physique");
  EXPECT_EQ(SupMatiere::Fichier().IdentifiantCourant(), 600);
  ASSERT_TRUE(SupMatiere::ModifierIdentifiantMatiere(""));
  EXPECT_EQ(M().IdentifiantExterne[0], 0);
  EXPECT_TRUE(SupMatiere::ModifierIdentifiantMatiere("EXT-MATH2"));
  EXPECT_FALSE(SupMatiere::ModifierIdentifiantMatiere("EXT-MATH2")) << "the subject has it already";
  EXPECT_EQ(client_.Envoyees.size(), 0u);
}

}  // namespace

namespace {

TEST_F(ModificationsMatieres, CreatingASubject) {
  Droits({6});  // the right to create subjects
  // Locally: numbered one above the largest subject number loaded, related to itself.
  client_.Exclusif = true;
  CompteursNumeros::Compteurs().fill(0);
  int32_t identifiant = 1000;
  for (uint32_t numero : {5u, 90u, 12u})
    ASSERT_NE(Charger(++identifiant, Matiere("M" + std::to_string(numero), "M", numero)), 0u);
  notifications_.clear();
  ASSERT_TRUE(SupMatiere::CreerMatiere(std::string(20, 'c'), "Histoire"));
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Code, 16), std::string(16, 'c'));
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Libelle, 30), "Histoire");
  EXPECT_EQ(M().NumeroMatiere, 91u);
  EXPECT_EQ(M().Extrait, 1);
  EXPECT_EQ(FichierSup::LireChaineCourte(M().Proprietaire, 3), "USR");
  EXPECT_EQ(CompteursNumeros::Suivant(CompteursNumeros::kMAT), 92u);
  EXPECT_EQ(notifications_, std::vector<std::string>{"0 0"});
  const uint32_t histoire = Xi::NumeroCourant(Table());
  EXPECT_EQ(Xi::Nombre(SupRelationMatieres::Fichier().Table), 1u);
  EXPECT_TRUE(SupRelationMatieres::RelationMatieresExiste(histoire, histoire));
  EXPECT_FALSE(SupMatiere::CreerMatiere(std::string(16, 'c'), "Histoire")) << "the (label, code) pair exists";
  EXPECT_EQ(CompteursNumeros::Suivant(CompteursNumeros::kMAT), 92u);
  ASSERT_TRUE(SupMatiere::CreerMatieresParDefaut());
  EXPECT_EQ(SupMatiere::MatiereParDefaut(), Xi::NumeroCourant(Table()));
  EXPECT_TRUE(SupMatiere::EstMatiereParDefaut());
  EXPECT_EQ(Xi::Nombre(SupRelationMatieres::Fichier().Table), 2u);
  EXPECT_EQ(client_.Envoyees.size(), 0u);

  // Through the server: 48 bytes with key 0, the answered subject current.
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code == SupMatiere::kCodeCreerMatiere) {
      Octets m = Matiere("GEO", "Geographie", 300);
      Recevoir(OrdreRecu(GM_Creation, kMAT, 4400, m));
      const int32_t id = 4400;
      std::memcpy(reponse, &id, 4);
    }
    return true;
  };
  ASSERT_TRUE(SupMatiere::CreerMatiere("GEO", "Geographie"));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x800E0100u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  Octets attendu = Chaine("GEO", 16);
  const Octets libelle = Chaine("Geographie", 30);
  attendu.insert(attendu.end(), libelle.begin(), libelle.end());
  EXPECT_EQ(client_.Envoyees[0].Donnees, attendu);
  EXPECT_EQ(SupMatiere::Fichier().IdentifiantCourant(), 4400);
  EXPECT_EQ(Xi::Nombre(SupRelationMatieres::Fichier().Table), 2u) << "the server relates it";
  ASSERT_TRUE(SupMatiere::CreerMatieresParDefaut());
  EXPECT_EQ(client_.Envoyees.back().Code, 0x800E0000u);

  // Without the right: nothing sent.
  Droits({8});
  EXPECT_FALSE(SupMatiere::CreerMatiere("X", "X"));
  EXPECT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

}  // namespace
