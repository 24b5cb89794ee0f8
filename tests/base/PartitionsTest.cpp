// Partitions and the old resource-partition relations: the three stored layouts and the partition
// counter, the creation and deletion requests through the server and locally, the colours of a
// diploma's partitions, the reads by key and the walks.
#include <string>
#include <vector>

#include "RessourcesEssai.h"
#include "base/CompteursNumeros.h"
#include "base/SupTraitement.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupPartition.h"
#include "base/ressources/SupRelationPartition.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"

namespace {

using namespace RessourcesEssai;
namespace PRT = SupPartition;
namespace RLP = SupRelationPartition;
using EP = TypeEnregistrementPartition;

constexpr int32_t kPRT = 20, kRLP = 24;
constexpr int32_t kIdDiplome = 560, kIdAutreDiplome = 1120, kIdTD1 = 1680, kIdTD2 = 2240, kIdProf = 2800;

// A stored partition of the current layout.
Octets Partition(const std::string& nom, int32_t numero, int32_t diplome, uint32_t couleur) {
  Octets s(44, 0);
  PoserChaine(s, 0, nom, 30);
  Poser32(s, 32, static_cast<uint32_t>(numero));
  Poser32(s, 36, static_cast<uint32_t>(diplome));
  Poser32(s, 40, couleur);
  return s;
}

Octets TD(const std::string& nom, uint32_t numero, int32_t partition) {
  Octets s = Ressource(3, nom, nom, numero);
  Poser32(s, 132, static_cast<uint32_t>(partition));
  return s;
}

// Two diplomas and a teacher; the partition counter at 0.
class Partitions : public BaseRessources {
 protected:
  void SetUp() override {
    BaseRessources::SetUp();
    CompteursNumeros::Compteurs().fill(0);
    ASSERT_EQ(Charger(kIdDiplome, Ressource(2, "Terminale", "TS", 1)), kDiplome);
    ASSERT_EQ(Charger(kIdAutreDiplome, Ressource(2, "Premiere", "PS", 2)), kAutreDiplome);
    ASSERT_EQ(Charger(kIdProf, Ressource(0, "Martin", "MAR", 3)), kProf);
  }
  void TearDown() override {
    NetBases::BaseAnterieure506() = false;
    SupFichiers::VersionBase() = {};
    CompteursNumeros::Compteurs().fill(0);
    BaseRessources::TearDown();
  }
  static void* Table() { return PRT::Fichier().Table; }
  static uint32_t ChargerPartition(int32_t id, const Octets& s, uint8_t genre = GM_Creation) {
    Recevoir(OrdreRecu(genre, kPRT, id, s));
    return PRT::Fichier().ChercherParIdentifiant(id) ? Xi::NumeroCourant(Table()) : 0;
  }
  static const EP& P() { return *PRT::Article(); }
  static std::string Nom() { return FichierSup::LireChaineCourte(P().Nom, 30); }
  static int32_t Compteur() { return static_cast<int32_t>(CompteursNumeros::Compteurs()[CompteursNumeros::kPRT]); }
  static void AllerAuDiplome(uint32_t d) { ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, d)); }
  static uint32_t Couleur(uint32_t p) { return PRT::Fichier().ValeurDe(p, offsetof(EP, Couleur)); }
  static constexpr uint32_t kDiplome = 1, kAutreDiplome = 2, kProf = 3;
};

TEST_F(Partitions, TheInMemoryRecordAgreesWithItsDeclaration) {
  EXPECT_EQ(PRT::Fichier().Description().TailleEnregistrement, sizeof(EP));
  for (const auto& [nom, decalage] : {std::pair<const char*, std::size_t>{"Numero", offsetof(EP, Numero)},
                                     {"Nom", offsetof(EP, Nom)},
                                     {"Diplome", offsetof(EP, Diplome)},
                                     {"Couleur", offsetof(EP, Couleur)}})
    EXPECT_EQ(DeclarationFichier::ChampNomme(PRT::Fichier().Description(), nom)->Decalage, decalage) << nom;
}

TEST_F(Partitions, EachLayoutIsReadAndTheCounterFollowsThemAll) {
  const struct {
    TypeVersionFormat version;
    uint32_t taille;
  } versions[] = {{{2, 9, 99, 0}, 24}, {{3, 0, 0, 0}, 28}, {{4, 0, 7, 9}, 28}, {{4, 0, 8, 0}, 44}};
  NetBases::BaseAnterieure506() = true;
  for (const auto& v : versions) {
    SupFichiers::VersionBase() = v.version;
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
    EXPECT_EQ(NetXi::Table(kPRT)->TailleStockee, v.taille) << v.version.Revision;
  }

  // Below 3.0.0: a stored name whose count says 20 keeps the 15 characters its field holds; a new
  // partition takes a fresh number, a change keeps the number it has; an unknown diploma is refused.
  SupFichiers::VersionBase() = {2, 9, 0, 0};
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  Octets ancien(24, 0);
  PoserChaine(ancien, 0, "ABCDEFGHIJKLMNO", 15);
  ancien[0] = 20;
  Poser32(ancien, 16, kIdDiplome);
  Poser32(ancien, 20, 0x123456);
  const uint32_t p1 = ChargerPartition(44, ancien);
  ASSERT_NE(p1, 0u);
  EXPECT_EQ(Nom(), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(P().Numero, 1);
  EXPECT_EQ(P().Diplome, kDiplome);
  EXPECT_EQ(P().Couleur, 0x123456u);
  PoserChaine(ancien, 0, "Sport", 15);
  ASSERT_NE(ChargerPartition(88, ancien), 0u);
  EXPECT_EQ(P().Numero, 2);
  PoserChaine(ancien, 0, "Groupes", 15);
  ASSERT_EQ(ChargerPartition(44, ancien, GM_Modification), p1);
  EXPECT_EQ(P().Numero, 1) << "a received change keeps the number";
  EXPECT_EQ(Nom(), "Groupes");
  EXPECT_EQ(Compteur(), 2);
  Poser32(ancien, 16, 999);
  EXPECT_EQ(ChargerPartition(132, ancien), 0u);
  EXPECT_EQ(Compteur(), 2) << "a refused partition takes no number";

  // Below 4.0.8 the number is stored and raises the counter.
  SupFichiers::VersionBase() = {4, 0, 7, 0};
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  Octets moyen(28, 0);
  PoserChaine(moyen, 0, "Langues", 15);
  Poser32(moyen, 16, 40);
  Poser32(moyen, 20, kIdAutreDiplome);
  ASSERT_NE(ChargerPartition(176, moyen), 0u);
  EXPECT_EQ(P().Numero, 40);
  EXPECT_EQ(P().Diplome, kAutreDiplome);
  EXPECT_EQ(Compteur(), 40);

  // The current layout: a lower number leaves the counter, a higher one raises it.
  SupFichiers::VersionBase() = {};
  NetBases::BaseAnterieure506() = false;
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  ASSERT_NE(ChargerPartition(220, Partition("Musique", 7, kIdDiplome, 0)), 0u);
  EXPECT_EQ(Compteur(), 40);
  ASSERT_NE(ChargerPartition(264, Partition("Arts", 65, kIdDiplome, 0)), 0u);
  EXPECT_EQ(Compteur(), 65);

  // A partition created afterwards numbers above them all.
  client_.Exclusif = true;
  ASSERT_TRUE(PRT::CreerPartition("Nouvelle", kDiplome));
  EXPECT_EQ(P().Numero, 66);
  EXPECT_EQ(Compteur(), 66);

  // The writer gives the current layout whatever was read.
  ASSERT_TRUE(PRT::Fichier().ChercherParIdentifiant(176));
  uint8_t stocke[44];
  ASSERT_TRUE(PRT::Fichier().EcrireArticleStocke(stocke, 176, GM_Modification));
  EXPECT_EQ(Octets(stocke, stocke + 44), Partition("Langues", 40, kIdAutreDiplome, 0));
}

TEST_F(Partitions, TheServerGetsTheNameAndTheDiplomaAndNothingForAnotherRecord) {
  client_.Serveur = [this](const RequeteEnvoyee& r, void* reponse) {
    const int32_t id = 300;
    if (reponse != nullptr) std::memcpy(reponse, &id, 4);
    if (r.Code == PRT::kCodeCreer) Recevoir(OrdreRecu(GM_Creation, kPRT, id, Partition("Options", 9, kIdDiplome, 0)));
    return true;
  };
  ASSERT_TRUE(PRT::CreerPartition("Options", kDiplome));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  Octets attendu(36, 0);
  PoserChaine(attendu, 0, "Options", 30);
  Poser32(attendu, 32, kIdDiplome);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80120100u);
  EXPECT_EQ(client_.Envoyees[0].Donnees, attendu);
  EXPECT_EQ(P().Identifiant, 300);
  // A teacher, a missing record: nothing sent, the code popped.
  EXPECT_FALSE(PRT::CreerPartition("X", kProf));
  EXPECT_FALSE(PRT::CreerPartition("X", 99));
  EXPECT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);

  ASSERT_TRUE(PRT::Fichier().ChercherParIdentifiant(300));
  EXPECT_TRUE(PRT::SupprimerPartition());
  ASSERT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(client_.Envoyees[1].Code, 0x80120300u);
  EXPECT_EQ(client_.Envoyees[1].Parametre, 300);
  EXPECT_TRUE(client_.Envoyees[1].Donnees.empty());
  // The server kept it: not reported as deleted.
  EXPECT_FALSE(PRT::SupprimerPartitionNumero(PRT::Fichier().NumeroDeIdentifiant(300)));
}

TEST_F(Partitions, ColoursFollowTheNamedPartitionsThatHoldResources) {
  client_.Exclusif = true;
  ASSERT_TRUE(PRT::CreerPartition("", kDiplome));
  const uint32_t defaut = Xi::NumeroCourant(Table());
  EXPECT_EQ(Couleur(defaut), PRT::kJaune);
  ASSERT_TRUE(PRT::CreerPartition("Groupes", kDiplome));
  const uint32_t groupes = Xi::NumeroCourant(Table());
  const int32_t numeroGroupes = P().Numero;
  ASSERT_TRUE(PRT::CreerPartition("Langues", kDiplome));
  const uint32_t langues = Xi::NumeroCourant(Table());
  const int32_t numeroLangues = P().Numero;
  ASSERT_TRUE(PRT::CreerPartition("Sport", kDiplome));
  const uint32_t sport = Xi::NumeroCourant(Table());
  EXPECT_FALSE(PRT::CreerPartition("groupes", kDiplome)) << "a name repeats in one diploma, case ignored";
  EXPECT_EQ(Compteur(), 4);
  EXPECT_EQ(Couleur(groupes), 0u);

  ASSERT_NE(Charger(kIdTD1, TD("TD A", 4, numeroGroupes)), 0u);
  ASSERT_NE(Charger(kIdTD2, TD("TD B", 5, numeroLangues)), 0u);
  AllerAuDiplome(kDiplome);
  PRT::RecolorerPartitionsDuDiplome();
  EXPECT_EQ(Couleur(defaut), PRT::kJaune);
  EXPECT_EQ(Couleur(groupes), PRT::kBleuCanard);
  EXPECT_EQ(Couleur(langues), PRT::kPourpre);
  EXPECT_EQ(Couleur(sport), 0u) << "a named partition without TD keeps its colour";

  // Reads by key and record number.
  EXPECT_EQ(PRT::PartitionDeCle(numeroLangues), langues);
  EXPECT_EQ(PRT::PartitionDeCle(999), 0u);
  EXPECT_EQ(PRT::ClePartition(groupes), numeroGroupes);
  EXPECT_EQ(PRT::ClePartition(99), 0);
  EXPECT_EQ(PRT::PartitionParDefaut(kDiplome), defaut);
  EXPECT_EQ(PRT::PartitionParDefaut(kAutreDiplome), 0u);

  // Deleting a partition that holds a TD needs the resource deletion: refused, nothing changed.
  ASSERT_TRUE(Xi::AllerA(Table(), groupes));
  EXPECT_THROW((void)PRT::SupprimerPartition(), ENonConstruit);
  EXPECT_EQ(Xi::Nombre(Table()), 4u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
  // Deleting an empty one recolours its own diploma, whatever resource is current.
  ASSERT_TRUE(Xi::AllerA(Table(), langues));
  PRT::Article()->Couleur = 0;
  ASSERT_TRUE(Xi::Modifier(Table()));
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, kProf));
  EXPECT_TRUE(PRT::SupprimerPartitionNumero(sport));
  EXPECT_EQ(Couleur(langues), PRT::kPourpre);
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), kProf);
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(Partitions, WalksOverPartitionsAndResources) {
  ASSERT_NE(ChargerPartition(44, Partition("", 1, kIdDiplome, 0)), 0u);
  ASSERT_NE(ChargerPartition(88, Partition("", 2, kIdAutreDiplome, 0)), 0u);
  const auto collecter = [](auto walk) {
    TypeEnsembleMemoire e;
    walk([&e] { return PRT::AjouterAEnsemble(e); });
    std::vector<uint32_t> v(e.Elements, e.Elements + e.Nombre);
    Memoire::Liberer(e);
    return v;
  };
  EXPECT_TRUE(collecter([](auto t) { return PRT::PourChaquePartitionNommeeDuDiplome(kDiplome, t); }).empty());
  ASSERT_NE(ChargerPartition(132, Partition("Langues", 3, kIdDiplome, 0)), 0u);
  ASSERT_NE(ChargerPartition(176, Partition("Groupes", 4, kIdDiplome, 0)), 0u);
  EXPECT_EQ(collecter([](auto t) { return PRT::PourChaquePartitionNommeeDuDiplome(kDiplome, t); }),
            (std::vector<uint32_t>{3, 4}));
  EXPECT_EQ(collecter([](auto t) { return PRT::PourChaquePartition(t); }), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(collecter([](auto t) { return RLP::PourChaquePartitionDeLaRessourceNumero(kDiplome, t); }),
            (std::vector<uint32_t>{1, 3, 4}));
  const uint32_t td = Charger(kIdTD1, TD("TD A", 4, 3));
  EXPECT_EQ(collecter([td](auto t) { return RLP::PourChaquePartitionDeLaRessourceNumero(td, t); }),
            (std::vector<uint32_t>{3}));
  bool appele = false;
  EXPECT_FALSE(RLP::PourChaquePartitionDeLaRessourceNumero(kProf, [&] { return appele = true; }));
  EXPECT_FALSE(appele);
  // The resources of a partition; a routine that deletes the current partition leaves the walk whole.
  ASSERT_TRUE(Xi::AllerA(Table(), 3));
  std::vector<uint32_t> vus;
  EXPECT_FALSE(PRT::PourChaqueRessourceDeLaPartition([&] {
    vus.push_back(Xi::NumeroCourant(SupRessource::Fichier().Table));
    return false;
  }));
  EXPECT_EQ(vus, std::vector<uint32_t>{td});
  std::vector<uint32_t> visites;
  EXPECT_TRUE(PRT::PourChaquePartition([&] {
    visites.push_back(Xi::NumeroCourant(Table()));
    (void)Xi::Supprimer(Table());
    return visites.size() == 3;
  }));
  EXPECT_EQ(visites, (std::vector<uint32_t>{1, 2, 3}));
}

TEST_F(Partitions, OldRelationsGiveTheirPartitionToTheirResource) {
  ASSERT_NE(ChargerPartition(44, Partition("Langues", 12, kIdDiplome, 0)), 0u);
  const uint32_t td = Charger(kIdTD1, TD("TD A", 4, 0));
  Octets relation(8, 0);
  Poser32(relation, 0, 44);
  Poser32(relation, 4, kIdTD1);
  Recevoir(OrdreRecu(GM_Creation, kRLP, 8, relation));
  Poser32(relation, 0, 999);
  Recevoir(OrdreRecu(GM_Creation, kRLP, 16, relation));
  ASSERT_EQ(Xi::Nombre(RLP::Fichier().Table), 1u) << "an unknown partition is refused";
  EXPECT_TRUE(RLP::ContenuParDefaut());
  EXPECT_EQ(Xi::Nombre(RLP::Fichier().Table), 1u) << "a current base keeps them";
  NetBases::BaseAnterieure506() = true;
  SupFichiers::VersionBase() = {2, 9, 0, 0};
  EXPECT_TRUE(RLP::ContenuParDefaut());
  EXPECT_EQ(Xi::Nombre(RLP::Fichier().Table), 0u);
  EXPECT_EQ(SupRessource::Fichier().ValeurDe(td, offsetof(TypeEnregistrementRessource, NumeroPartition)), 12u);
}

}  // namespace
