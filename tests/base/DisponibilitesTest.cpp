// Time slots of resources and courses: the readers of both layouts, the routines of the resource
// slots, the copy and deletion of an owner's slots (local and request bytes), the span adjustment to
// another grid and the access mode set at login.
#include <string>
#include <tuple>
#include <vector>

#include "RessourcesEssai.h"
#include "base/SupDisponibilite.h"
#include "base/SupMAJRessource.h"
#include "base/cours/SupCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Xi.h"
#include "net/VclClient.h"

namespace {

using namespace RessourcesEssai;
namespace SD = SupDisponibilite;
using E = TypeEnregistrementDisponibilite;

constexpr int32_t kIRS = 31, kICR = 32;

TypeDomaineHebdomadaire S(int a, int b) {
  TypeDomaineHebdomadaire d;
  for (int w = a; w <= b; ++w) d.Inclure(w);
  return d;
}

Octets Creneau(uint32_t proprietaire, uint8_t genre, uint32_t debut, uint32_t fin, const TypeDomaineHebdomadaire& s) {
  Octets o(24, 0);
  Poser32(o, 0, proprietaire);
  o[4] = genre;
  Poser32(o, 8, debut);
  Poser32(o, 12, fin);
  std::copy(s.Octets.begin(), s.Octets.end(), o.begin() + 16);
  return o;
}

// Teachers P (1, identifier 560) and Q (2, 1120); courses C1 (1, 102) and C2 (2, 204). Slots of P:
// kind 0 in weeks 1-10 (16) and 20-30 (32), kind 2 in 1-52 (48); of C1: two (64, 80).
class Disponibilites : public BaseRessources {
 protected:
  void SetUp() override {
    BaseRessources::SetUp();
    client_.Exclusif = true;
    ASSERT_EQ(Charger(560, Ressource(0, "Martin", "MAR", 1)), 1u);
    ASSERT_EQ(Charger(1120, Ressource(0, "Durand", "DUR", 2)), 2u);
    for (uint32_t n : {1u, 2u}) {
      TFichierSup& f = SupCours::Fichier();
      f.ViderArticle();
      SupCours::Article()->Identifiant = static_cast<int32_t>(102 * n);
      ASSERT_TRUE(Xi::Inserer(f.Table));
    }
    Recevoir(OrdreRecu(GM_Creation, kIRS, 16, Creneau(560, 0, 2, 5, S(1, 10))));
    Recevoir(OrdreRecu(GM_Creation, kIRS, 32, Creneau(560, 0, 20, 25, S(20, 30))));
    Recevoir(OrdreRecu(GM_Creation, kIRS, 48, Creneau(560, 2, 0, 19, S(1, 52))));
    Recevoir(OrdreRecu(GM_Creation, kICR, 64, Creneau(102, 0, 4, 7, S(1, 52))));
    Recevoir(OrdreRecu(GM_Creation, kICR, 80, Creneau(102, 1, 8, 9, S(5, 6))));
    ASSERT_EQ(Xi::Nombre(Irs()), 3u);
    ASSERT_EQ(Xi::Nombre(Icr()), 2u);
    SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
    fiche_.FichierVok.SetModifie(false);
  }
  void TearDown() override {
    SupMAJRessource::Liberer(SupMAJRessource::RessourcesAMettreAJour());
    SD::ModeDAcces() = SD::kModeModification;
    SD::AncienModeDAcces() = SD::kModeModification;
    BaseRessources::TearDown();
  }
  static void* Irs() { return SupDisponibiliteRessource::Fichier().Table; }
  static void* Icr() { return SupDisponibiliteCours::Fichier().Table; }
  static std::vector<uint32_t> Perimees() {
    const TypeEnsembleMemoire& e = SupMAJRessource::RessourcesAMettreAJour().Ressources;
    return std::vector<uint32_t>(e.Elements, e.Elements + e.Nombre);
  }
  // The slots (owner, kind, start, end, identifier) of a table in order 1.
  static std::vector<std::tuple<uint32_t, int, uint32_t, uint32_t, int32_t>> Creneaux(TFichierSup& f) {
    std::vector<std::tuple<uint32_t, int, uint32_t, uint32_t, int32_t>> v;
    TPositionSauvee position(f);
    for (bool ok = Xi::Premier(f.Table, SD::kOrdreProprietaire); ok; ok = Xi::Suivant(f.Table, SD::kOrdreProprietaire)) {
      const E* e = reinterpret_cast<const E*>(f.Enregistrement());
      v.emplace_back(e->Proprietaire, e->Genre, e->Debut, e->Fin, e->Identifiant);
    }
    return v;
  }
};

TEST_F(Disponibilites, ReadersTakeTheOwnerByIdentifierDropOrphansAndWriteTheCurrentLayout) {
  for (TFichierSup* f : {&SupDisponibiliteRessource::Fichier(), &SupDisponibiliteCours::Fichier()}) {
    EXPECT_EQ(f->Description().TailleEnregistrement, sizeof(E));
    for (const auto& [nom, decalage] : {std::pair<const char*, std::size_t>{"Genre", offsetof(E, Genre)},
                                       {"Proprietaire", offsetof(E, Proprietaire)},
                                       {"Debut", offsetof(E, Debut)},
                                       {"Fin", offsetof(E, Fin)},
                                       {"Semaines", offsetof(E, Semaines)}})
      EXPECT_EQ(DeclarationFichier::ChampNomme(f->Description(), nom)->Decalage, decalage) << nom;
    ASSERT_EQ(f->Description().Dispositions.size(), 2u);
    EXPECT_EQ(f->Description().Dispositions[0].Taille, 20u);
  }
  ASSERT_TRUE(SupDisponibiliteCours::ChercherParIdentifiant(80));
  const E c = *SupDisponibiliteCours::Article();
  EXPECT_EQ(std::tie(c.Proprietaire, c.Genre, c.Debut, c.Fin), std::make_tuple(1u, uint8_t{1}, 8u, 9u));
  EXPECT_EQ(c.Semaines, S(5, 6));
  EXPECT_EQ(StockeCourant(kICR), Creneau(102, 1, 8, 9, S(5, 6)));
  // Without owner (unknown, or 0): dropped.
  Recevoir(OrdreRecu(GM_Creation, kICR, 96, Creneau(306, 0, 1, 2, S(1, 2))));
  Recevoir(OrdreRecu(GM_Creation, kIRS, 112, Creneau(0, 0, 1, 2, S(1, 2))));
  EXPECT_EQ(Xi::Nombre(Icr()), 2u);
  EXPECT_EQ(Xi::Nombre(Irs()), 3u);
  // A slot left without owner is written with owner 0.
  ASSERT_TRUE(SupDisponibiliteRessource::ChercherParIdentifiant(16));
  SupDisponibiliteRessource::Article()->Proprietaire = 0;
  EXPECT_EQ(StockeCourant(kIRS), Creneau(0, 0, 2, 5, S(1, 10)));
}

TEST_F(Disponibilites, ResourceSlotRoutinesMarkTheOwnersOccupancyStale) {
  // A received creation and change mark after, a deletion before; a dropped slot marks nothing.
  Recevoir(OrdreRecu(GM_Creation, kIRS, 128, Creneau(1120, 0, 1, 2, S(1, 2))));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{2}));
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  Recevoir(OrdreRecu(GM_Suppression, kIRS, 16, {}));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{1}));
  EXPECT_EQ(Xi::Nombre(Irs()), 3u);
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  Recevoir(OrdreRecu(GM_Creation, kIRS, 144, Creneau(9999, 0, 1, 2, S(1, 2))));
  EXPECT_TRUE(Perimees().empty());
  // The resource's position is kept.
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, 2));
  Recevoir(OrdreRecu(GM_Modification, kIRS, 32, Creneau(560, 0, 20, 26, S(20, 30))));
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{1}));
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), 2u);
  // Course slots register no routine.
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  Recevoir(OrdreRecu(GM_Creation, kICR, 160, Creneau(204, 0, 1, 2, S(1, 2))));
  EXPECT_TRUE(Perimees().empty());
}

TEST_F(Disponibilites, WalkOverTheCurrentResourcesSlotsOfAKind) {
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, 1));
  ASSERT_TRUE(SupDisponibiliteRessource::ChercherParIdentifiant(48));
  std::vector<int32_t> vus;
  const auto noter = [&vus](intptr_t) {
    vus.push_back(SupDisponibiliteRessource::Article()->Identifiant);
    (void)Xi::AllerA(SupRessource::Fichier().Table, 2);  // the walk puts the resource back
    return 0;
  };
  namespace R = SupDisponibiliteRessource;
  EXPECT_EQ(R::PourChaqueIndisponibiliteDeLaRessource(noter, 0, 0, {}, true), 0);
  EXPECT_EQ(vus, (std::vector<int32_t>{16, 32}));
  vus.clear();
  EXPECT_EQ(R::PourChaqueIndisponibiliteDeLaRessource(noter, 0, 0, S(25, 25), false), 0);
  EXPECT_EQ(vus, (std::vector<int32_t>{32}));
  vus.clear();
  EXPECT_EQ(R::PourChaqueIndisponibiliteDeLaRessource(noter, 0, 0, {}, false), 0);
  EXPECT_TRUE(vus.empty());
  // The first non-zero answer stops the walk and is given.
  EXPECT_EQ(R::PourChaqueIndisponibiliteDeLaRessource([](intptr_t d) { return static_cast<int32_t>(d); }, 7, 0, {}, true), 7);
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), 1u);
  EXPECT_EQ(R::Fichier().IdentifiantCourant(), 48);
}

TEST_F(Disponibilites, CopyingAndDeletingAnOwnersSlotsLocally) {
  int notifications = 0;
  NetXi::Table(kICR)->SurModification1 = [&notifications](TypeGenreModif, int32_t, int32_t) { ++notifications; };
  // Onto itself: the run being walked grows, the copy still ends; the copies get identifier 0.
  EXPECT_TRUE(SD::CopierCreneauxDuProprietaire(SD::kFichierCours, 1, 1));
  EXPECT_EQ(Creneaux(SupDisponibiliteCours::Fichier()),
            (std::vector<std::tuple<uint32_t, int, uint32_t, uint32_t, int32_t>>{
                {1, 0, 4, 7, 64}, {1, 0, 4, 7, 0}, {1, 1, 8, 9, 80}, {1, 1, 8, 9, 0}}));
  EXPECT_EQ(notifications, 2);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  // An owner without slots: nothing copied, the base still marked.
  fiche_.FichierVok.SetModifie(false);
  EXPECT_TRUE(SD::CopierCreneauxDuProprietaire(SD::kFichierRessources, 2, 1));
  EXPECT_EQ(Xi::Nombre(Irs()), 3u);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  // Resource slots: copied onto Q, each notified (Q's occupancy stale).
  SupMAJRessource::Vider(SupMAJRessource::RessourcesAMettreAJour());
  EXPECT_TRUE(SD::CopierCreneauxDuProprietaire(SD::kFichierRessources, 1, 2));
  EXPECT_EQ(Xi::Nombre(Irs()), 6u);
  EXPECT_EQ(Perimees(), (std::vector<uint32_t>{2}));
  EXPECT_FALSE(SD::CopierCreneauxDuProprietaire(29, 1, 2));
  // Deleting: each slot notified, then deleted; other owners' slots stay.
  notifications = 0;
  EXPECT_TRUE(SD::SupprimerCreneauxDuProprietaire(1, SD::kFichierCours));
  EXPECT_EQ(notifications, 4);
  EXPECT_EQ(Xi::Nombre(Icr()), 0u);
  EXPECT_TRUE(SD::SupprimerCreneauxDuProprietaire(1, SD::kFichierRessources));
  EXPECT_EQ(Xi::Nombre(Irs()), 3u);
  EXPECT_FALSE(SD::SupprimerCreneauxDuProprietaire(9, SD::kFichierRessources));
}

TEST_F(Disponibilites, RequestsSendTheirBytes) {
  client_.Exclusif = false;
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  EXPECT_TRUE(SD::CopierCreneauxDuProprietaire(SD::kFichierRessources, 1, 2));
  EXPECT_TRUE(SD::CopierCreneauxDuProprietaire(SD::kFichierCours, 2, 1));
  EXPECT_TRUE(SD::SupprimerCreneauxDuProprietaire(2, SD::kFichierCours));
  // A missing owner sends nothing.
  EXPECT_FALSE(SD::CopierCreneauxDuProprietaire(SD::kFichierRessources, 1, 9));
  EXPECT_FALSE(SD::SupprimerCreneauxDuProprietaire(9, SD::kFichierRessources));
  const std::vector<std::pair<uint32_t, Octets>> attendu = {
      {0x801F0101, {30, 0, 0, 0, 0x30, 2, 0, 0, 0x60, 4, 0, 0}},
      {0x801F0101, {31, 0, 0, 0, 204, 0, 0, 0, 102, 0, 0, 0}},
      {0x801F0301, {204, 0, 0, 0, 31, 0, 0, 0}}};
  ASSERT_EQ(client_.Envoyees.size(), attendu.size());
  for (std::size_t i = 0; i < attendu.size(); ++i) {
    EXPECT_EQ(client_.Envoyees[i].Code, attendu[i].first) << i;
    EXPECT_EQ(client_.Envoyees[i].Parametre, 0) << i;
    EXPECT_EQ(client_.Envoyees[i].Donnees, attendu[i].second) << i;
  }
  // The verdict is the server's; nothing changes locally.
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  EXPECT_FALSE(SD::SupprimerCreneauxDuProprietaire(1, SD::kFichierRessources));
  EXPECT_EQ(Xi::Nombre(Irs()), 3u);
}

TEST(AjusterPlagePlaces, MovesSpansToTheNewGrid) {
  constexpr uint8_t kLundiSamedi = 0x7E, kSansMercredi = 0x76;
  const SD::TypeGrillePlaces deuxParHeure{20, 2, kLundiSamedi}, quatreParHeure{40, 4, kLundiSamedi};
  struct Cas {
    const char* nom;
    SD::TypeGrillePlaces ancienne, nouvelle;
    uint32_t debut, fin;
    bool resultat;
    uint32_t debutAttendu, finAttendu;
  };
  const Cas cas[] = {
      // 08:00-10:00 on Tuesday (day starting at 08:00): its places doubled, its times kept.
      {"2 to 4 per hour", deuxParHeure, quatreParHeure, 20, 23, true, 40, 47},
      // Ending on a day's first place at unchanged places per hour: it does not grow.
      {"ends on first place", deuxParHeure, deuxParHeure, 18, 20, true, 18, 20},
      {"one first place", deuxParHeure, deuxParHeure, 40, 40, true, 40, 40},
      // Ending on a day's last place: the new day's last place.
      {"ends on last place", deuxParHeure, quatreParHeure, 10, 19, true, 20, 39},
      // Wednesday is no longer worked, the slot starts and ends on it.
      {"day gone, same end day", deuxParHeure, {20, 2, kSansMercredi}, 45, 50, false, 0, 0},
      // Across Tuesday to Thursday without Wednesday: Thursday moves down one rank.
      {"across a day gone", deuxParHeure, {20, 2, kSansMercredi}, 25, 65, true, 25, 45},
      // Starting on Wednesday, ending Thursday: the start moves to Thursday's first place.
      {"start day gone", deuxParHeure, {20, 2, kSansMercredi}, 45, 65, true, 40, 45},
      // Ending on Wednesday from Tuesday: the end moves back to Tuesday's last place.
      {"end day gone", deuxParHeure, {20, 2, kSansMercredi}, 25, 50, true, 25, 39},
      // A start past the new day's last place moves to the next day.
      {"start past the new day", deuxParHeure, {10, 2, kLundiSamedi}, 15, 45, true, 10, 25},
      {"within a day past the new day", deuxParHeure, {10, 2, kLundiSamedi}, 15, 18, false, 0, 0},
      {"old places per day 0", {0, 2, kLundiSamedi}, deuxParHeure, 1, 2, false, 0, 0},
      {"old places per hour 0", {20, 0, kLundiSamedi}, deuxParHeure, 1, 2, false, 0, 0},
      {"new places per day 0", deuxParHeure, {0, 2, kLundiSamedi}, 1, 2, false, 0, 0},
      // A place past the old week has no day.
      {"past the old week", deuxParHeure, deuxParHeure, 200, 201, false, 0, 0},
  };
  for (const Cas& c : cas) {
    uint32_t debut = c.debut, fin = c.fin;
    EXPECT_EQ(SD::AjusterPlagePlaces(debut, fin, c.ancienne, c.nouvelle), c.resultat) << c.nom;
    if (c.resultat) {
      EXPECT_EQ(std::make_pair(debut, fin), std::make_pair(c.debutAttendu, c.finAttendu)) << c.nom;
    }
  }
}

TEST(ModeDAcces, FollowsTheGrantedStatusAndRemembersThePreviousMode) {
  const std::pair<uint8_t, int32_t> cas[] = {{AutoriseConsult, SD::kModeConsultation},
                                             {AutoriseModif, SD::kModeModification},
                                             {AutoriseModifRestreinte, SD::kModeModification},
                                             {DemandeModif, SD::kModeConsultation}};
  int32_t ancien = SD::ModeDAcces();
  for (auto [statut, mode] : cas) {
    SD::ActualiserModeDAcces(statut);
    EXPECT_EQ(SD::ModeDAcces(), mode) << int{statut};
    EXPECT_EQ(SD::AncienModeDAcces(), ancien) << int{statut};
    ancien = mode;
  }
  SD::ModeDAcces() = SD::AncienModeDAcces() = SD::kModeModification;
}

}  // namespace

#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "net/NetBases.h"

namespace {

// A base older than 3.0.0 stores 20-byte slots without kind: they read with kind 1.
TEST_F(Disponibilites, TheOlderLayoutReadsWithKindOne) {
  SupFichiers::VersionBase() = {2, 9, 0, 0};
  NetBases::BaseAnterieure506() = true;
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  EXPECT_EQ(NetXi::Table(kICR)->TailleStockee, 20u);
  Octets ancien(20, 0);
  Poser32(ancien, 0, 204);
  Poser32(ancien, 4, 3);
  Poser32(ancien, 8, 6);
  ancien[12] = 0x0C;
  Recevoir(OrdreRecu(GM_Creation, kICR, 20, ancien));
  Poser32(ancien, 0, 999);
  Recevoir(OrdreRecu(GM_Creation, kIRS, 40, ancien));
  SupFichiers::VersionBase() = {};
  NetBases::BaseAnterieure506() = false;
  EXPECT_EQ(Xi::Nombre(Irs()), 3u);
  ASSERT_TRUE(SupDisponibiliteCours::ChercherParIdentifiant(20));
  const E c = *SupDisponibiliteCours::Article();
  EXPECT_EQ(std::tie(c.Proprietaire, c.Genre, c.Debut, c.Fin), std::make_tuple(2u, uint8_t{1}, 3u, 6u));
  EXPECT_EQ(c.Semaines, S(2, 3));
}

// While a base stored with another grid is imported the spans move; one that cannot be kept leaves
// its slot without owner. A received order never moves a span.
TEST_F(Disponibilites, ReadingABaseOfAnotherGridMovesTheSpans) {
  SupParametresGrille::Definir(40, 6, 10);  // 4 places an hour
  TypeAncienneGrille& ancienne = SupParametresGrille::AncienneGrille();
  ancienne = {true, 2, 20, 0x7E};
  Recevoir(OrdreRecu(GM_Creation, kICR, 96, Creneau(102, 0, 20, 23, S(1, 2))));
  SupFichiers::ImportEnCours() = true;
  Recevoir(OrdreRecu(GM_Creation, kICR, 112, Creneau(102, 0, 20, 23, S(1, 2))));
  Recevoir(OrdreRecu(GM_Creation, kICR, 128, Creneau(102, 0, 200, 201, S(1, 2))));
  SupFichiers::ImportEnCours() = false;
  ancienne = {};
  SupParametresGrille::Initialiser();
  for (auto [id, proprietaire, debut, fin] : {std::tuple{96, 1u, 20u, 23u}, {112, 1u, 40u, 47u}, {128, 0u, 200u, 201u}}) {
    ASSERT_TRUE(SupDisponibiliteCours::ChercherParIdentifiant(id)) << id;
    const E c = *SupDisponibiliteCours::Article();
    EXPECT_EQ(std::tie(c.Proprietaire, c.Debut, c.Fin), std::tie(proprietaire, debut, fin)) << id;
  }
}

}  // namespace
