// Class and room labels and resource-subject relations: their stored records, the label changes
// with the right of the resource labelled, and the relation requests, through the server (the
// request's bytes) and locally in exclusive mode (the table, the notifications, the marked base).
#include <string>
#include <vector>

#include "RessourcesEssai.h"
#include "base/SupTraitement.h"
#include "base/ressources/SupLibelleClasse.h"
#include "base/ressources/SupLibelleSalle.h"
#include "base/ressources/SupRelationRessourceMatiere.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

using namespace RessourcesEssai;

constexpr int32_t kIdProf = 560, kIdDiplome = 1120, kIdTD = 1680, kIdSalle = 2240;

class Libelles : public BaseRessources {
 protected:
  void SetUp() override {
    BaseRessources::SetUp();
    BaseUtilisateurs::ToutSupprimer();
    ASSERT_EQ(Charger(kIdProf, Ressource(0, "Martin", "M", 1)), 1u);
    ASSERT_EQ(Charger(kIdDiplome, Ressource(2, "Terminale", "T", 2)), 2u);
    ASSERT_EQ(Charger(kIdTD, Ressource(3, "TD", "TD", 3)), 3u);
    ASSERT_EQ(Charger(kIdSalle, Ressource(5, "Salle", "S", 4)), 4u);
    // The connected user may change classes, groups and rooms (a user of no assignment).
    ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, "USR")));
    Utilisateur::IdentProfilServeurConnexion() = 100;
    for (int32_t place : {kLCL, kLSL, kRRM})
      NetXi::Table(place)->SurModification1 = [this](TypeGenreModif g, int32_t t, int32_t id) {
        notifications_.push_back(std::to_string(g) + " " + std::to_string(t) + " " + std::to_string(id));
      };
  }
  void TearDown() override {
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::IdentProfilServeurConnexion() = 0;
    BaseRessources::TearDown();
  }
  static void Droits(std::initializer_list<int> Bits) { AccorderSeulementLesDroits(Bits); }
  std::vector<std::string> notifications_;
};

TEST_F(Libelles, ALabelIsCutToSeventyThreeAndReplacedInPlace) {
  client_.Exclusif = true;
  const std::string long100(100, 'L');
  ASSERT_TRUE(SupLibelleClasse::AffecterLibelleClasseALaRessource(2, long100));
  EXPECT_EQ(notifications_, std::vector<std::string>{"0 25 0"});
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(kIdDiplome));
  std::string libelle;
  SupLibelleClasse::LibelleClasseDeLaRessource(libelle);
  EXPECT_EQ(libelle, std::string(73, 'L'));
  // Replacing it: one change notification, no second record.
  ASSERT_TRUE(SupLibelleClasse::AffecterLibelleClasseALaRessource(2, "Terminale scientifique"));
  EXPECT_EQ(notifications_, (std::vector<std::string>{"0 25 0", "1 25 0"}));
  EXPECT_EQ(Xi::Nombre(SupLibelleClasse::Fichier().Table), 1u);
  SupLibelleClasse::LibelleClasseDeLaRessource(libelle);
  EXPECT_EQ(libelle, "Terminale scientifique");
  // The room twin keeps its own table.
  ASSERT_TRUE(SupLibelleSalle::AffecterLibelleSalleALaRessource(4, "Amphi"));
  EXPECT_EQ(notifications_.back(), "0 38 0");
  EXPECT_EQ(Xi::Nombre(SupLibelleSalle::Fichier().Table), 1u);
  // Deleting a missing label answers False and notifies nothing; an existing one goes.
  const std::size_t avant = notifications_.size();
  EXPECT_FALSE(SupLibelleClasse::SupprimerLibelleClasseDeLaRessource(3));
  EXPECT_EQ(notifications_.size(), avant);
  EXPECT_TRUE(SupLibelleClasse::SupprimerLibelleClasseDeLaRessource(2));
  EXPECT_EQ(notifications_.back(), "2 25 0");
  EXPECT_EQ(Xi::Nombre(SupLibelleClasse::Fichier().Table), 0u);
  // A record number that holds no resource.
  EXPECT_FALSE(SupLibelleClasse::AffecterLibelleClasseALaRessource(99, "X"));
  EXPECT_FALSE(SupLibelleClasse::SupprimerLibelleClasseDeLaRessource(99));
  EXPECT_TRUE(client_.Envoyees.empty());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(Libelles, TheRightTestedIsTheOneOfTheResourceLabelled) {
  client_.Exclusif = true;
  Droits({14});  // classes, not groups nor rooms
  // The diploma is current while the TD is labelled: the TD's right decides.
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(kIdDiplome));
  EXPECT_FALSE(SupLibelleClasse::AffecterLibelleClasseALaRessource(3, "TD A"));
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), 2u) << "the position is kept";
  EXPECT_FALSE(SupLibelleSalle::AffecterLibelleSalleALaRessource(4, "Amphi"));
  EXPECT_TRUE(notifications_.empty());
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(kIdTD));
  EXPECT_TRUE(SupLibelleClasse::AffecterLibelleClasseALaRessource(2, "Terminale"));
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), 3u);
  // A teacher needs no right.
  EXPECT_TRUE(SupLibelleClasse::AffecterLibelleClasseALaRessource(1, "Martin"));
  Droits({17, 23});  // groups and rooms
  EXPECT_TRUE(SupLibelleClasse::AffecterLibelleClasseALaRessource(3, "TD A"));
  EXPECT_TRUE(SupLibelleSalle::AffecterLibelleSalleALaRessource(4, "Amphi"));
  EXPECT_FALSE(SupLibelleClasse::SupprimerLibelleClasseDeLaRessource(2));
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(Libelles, ThroughTheServerTheRequestsCarryTheirBytes) {
  client_.Serveur = [](const RequeteEnvoyee&, void* reponse) {
    if (reponse != nullptr) std::memset(reponse, 0, 4);
    return true;
  };
  ASSERT_TRUE(SupLibelleSalle::AffecterLibelleSalleALaRessource(4, std::string(100, 'a')));
  ASSERT_TRUE(SupLibelleClasse::SupprimerLibelleClasseDeLaRessource(3));
  ASSERT_TRUE(SupLibelleClasse::CreerLibellesClasseParDefaut());
  ASSERT_EQ(client_.Envoyees.size(), 3u);
  Octets attendu = Chaine(std::string(73, 'a'), 73);
  attendu.resize(80, 0);
  Poser32(attendu, 76, kIdSalle);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x802C0100u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, attendu);
  EXPECT_EQ(client_.Envoyees[1].Code, 0x80170300u);
  EXPECT_EQ(client_.Envoyees[1].Parametre, kIdTD);
  EXPECT_TRUE(client_.Envoyees[1].Donnees.empty());
  EXPECT_EQ(client_.Envoyees[2].Code, 0x80170000u);
  EXPECT_TRUE(client_.Envoyees[2].Donnees.empty());
  EXPECT_TRUE(notifications_.empty());
  // A refusal is the result.
  client_.Serveur = nullptr;
  EXPECT_FALSE(SupLibelleSalle::AffecterLibelleSalleALaRessource(4, "x"));
}

TEST_F(Libelles, StoredLabelsNameAnExistingResource) {
  Octets s(80, 0);
  Poser32(s, 0, kIdSalle);
  PoserChaine(s, 4, "Amphi A", 73);
  Recevoir(OrdreRecu(GM_Creation, kLSL, 80, s));
  ASSERT_TRUE(SupLibelleSalle::Fichier().ChercherParIdentifiant(80));
  EXPECT_EQ(SupLibelleSalle::Article()->Ressource, 4u);
  EXPECT_EQ(StockeCourant(kLSL), s);
  Poser32(s, 0, 999);
  Recevoir(OrdreRecu(GM_Creation, kLSL, 160, s));
  EXPECT_EQ(Xi::Nombre(SupLibelleSalle::Fichier().Table), 1u) << "a label of no resource is refused";
  // The current resource's label.
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(kIdSalle));
  EXPECT_TRUE(SupLibelleSalle::ChercherLibelleDeLaRessourceCourante());
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(kIdTD));
  EXPECT_FALSE(SupLibelleSalle::ChercherLibelleDeLaRessourceCourante());
  std::string libelle = "x";
  SupLibelleSalle::LibelleSalleDeLaRessource(libelle);
  EXPECT_EQ(libelle, "");
}

Octets Relation(uint8_t genre, int32_t ressource, uint32_t matiere) {
  Octets s(12, 0);
  s[0] = genre;
  Poser32(s, 4, static_cast<uint32_t>(ressource));
  Poser32(s, 8, matiere);
  return s;
}

TEST_F(Libelles, StoredRelationsOfEachKind) {
  namespace R = SupRelationRessourceMatiere;
  struct Cas {
    const char* Quoi;
    Octets Stocke;
    bool Accepte;
    uint32_t Ressource, Matiere;
  };
  const Cas cas[] = {
      {"teacher", Relation(0, kIdProf, kIdMatiere1), true, 1, 1},
      {"diploma", Relation(2, kIdDiplome, kIdMatiere2), true, 2, 2},
      {"TD", Relation(3, kIdTD, kIdMatiere1), true, 3, 1},
      {"option kind on a TD", Relation(4, kIdTD, kIdMatiere2), true, 0, 2},
      {"diploma kind on a teacher", Relation(2, kIdProf, kIdMatiere2), true, 0, 2},
      {"no resource, as such a relation is written", Relation(2, 0, kIdMatiere1), true, 0, 1},
      {"kind 1 without a resource", Relation(1, 0, kIdMatiere1), false, 0, 0},
      {"subject gone", Relation(0, kIdProf, 999), true, 1, 0},
      {"room", Relation(5, kIdSalle, kIdMatiere1), false, 0, 0},
      {"kind 1", Relation(1, kIdDiplome, kIdMatiere1), false, 0, 0},
      {"resource missing", Relation(0, 999, kIdMatiere1), false, 0, 0},
  };
  int32_t identifiant = 0;
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    identifiant += 12;
    Recevoir(OrdreRecu(GM_Creation, kRRM, identifiant, c.Stocke));
    ASSERT_EQ(R::Fichier().ChercherParIdentifiant(identifiant), c.Accepte);
    if (!c.Accepte) continue;
    EXPECT_EQ(R::Article()->Ressource, c.Ressource);
    EXPECT_EQ(R::Article()->Matiere, c.Matiere);
    // A resource not of the relation's kind is written as 0; everything else as read.
    Octets attendu = c.Stocke;
    if (c.Ressource == 0) Poser32(attendu, 4, 0);
    if (c.Matiere == 0) Poser32(attendu, 8, 0);
    EXPECT_EQ(StockeCourant(kRRM), attendu);
  }
  EXPECT_EQ(Xi::Nombre(R::Fichier().Table), 7u);
}

TEST_F(Libelles, RelationRequestsThroughTheServerAndLocally) {
  namespace R = SupRelationRessourceMatiere;
  // Through the server: 12 bytes, and the relation its order created is current.
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    if (r.Code == R::kCodeCreerRelation) {
      Recevoir(OrdreRecu(GM_Creation, kRRM, 24, r.Donnees));
      const int32_t identifiant = 24;
      std::memcpy(reponse, &identifiant, 4);
    }
    return true;
  };
  Recevoir(OrdreRecu(GM_Creation, kRRM, 12, Relation(0, kIdProf, kIdMatiere2)));
  ASSERT_TRUE(R::Fichier().ChercherParIdentifiant(12));
  ASSERT_TRUE(R::CreerRelationRessourceMatiere(1, 1, 0));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80330100u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, Relation(0, kIdProf, kIdMatiere1));
  EXPECT_EQ(R::Fichier().IdentifiantCourant(), 24) << "the new relation is current";
  ASSERT_TRUE(R::ChercherRelation(0, 1, 2));
  ASSERT_TRUE(R::SupprimerRelationRessourceMatiere());
  EXPECT_EQ(client_.Envoyees[1].Code, 0x80330301u);
  EXPECT_EQ(client_.Envoyees[1].Parametre, 12);
  EXPECT_FALSE(R::CreerRelationRessourceMatiere(99, 1, 0)) << "no resource: nothing sent";
  EXPECT_EQ(client_.Envoyees.size(), 2u);

  // Locally: inserted and notified; the same triple again is refused; deleted and notified.
  client_.Exclusif = true;
  notifications_.clear();
  ASSERT_TRUE(R::CreerRelationRessourceMatiere(2, 2, 2));
  EXPECT_EQ(R::Article()->Ressource, 2u);
  EXPECT_FALSE(R::CreerRelationRessourceMatiere(2, 2, 2));
  ASSERT_TRUE(R::ChercherRelation(0, 1, 1));
  ASSERT_TRUE(R::SupprimerRelationRessourceMatiere());
  EXPECT_EQ(notifications_, (std::vector<std::string>{"0 40 0", "2 40 24"}));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(Libelles, TheLocalDeletionOfAResourceOrASubjectTakesItsRelations) {
  namespace R = SupRelationRessourceMatiere;
  Recevoir(OrdreRecu(GM_Creation, kRRM, 12, Relation(0, kIdProf, kIdMatiere1)));
  Recevoir(OrdreRecu(GM_Creation, kRRM, 24, Relation(0, kIdProf, kIdMatiere2)));
  Recevoir(OrdreRecu(GM_Creation, kRRM, 36, Relation(2, kIdDiplome, kIdMatiere1)));
  Recevoir(OrdreRecu(GM_Creation, kRRM, 48, Relation(2, kIdProf, kIdMatiere1)));  // resource 0
  client_.Exclusif = true;  // the local road of a deletion
  ASSERT_TRUE(R::Fichier().ChercherParIdentifiant(36));
  EXPECT_EQ(R::SupprimerRelationsDeLaRessource(1), 2u);
  EXPECT_EQ(notifications_, (std::vector<std::string>{"2 40 12", "2 40 24"}));
  EXPECT_EQ(R::Fichier().IdentifiantCourant(), 36) << "the position is kept";
  EXPECT_EQ(R::SupprimerRelationsDeLaRessource(0), 0u) << "record number 0 names no resource";
  EXPECT_EQ(R::SupprimerRelationsDeLaMatiere(1), 2u);
  EXPECT_EQ(Xi::Nombre(R::Fichier().Table), 0u);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_TRUE(client_.Envoyees.empty());
}

}  // namespace
