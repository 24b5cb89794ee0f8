// Course splitting: the questions on a split course (its whole course, its fractions, their weeks
// and statuses), the retained flag spread over a split course after received orders and local
// changes, and the linking requests through the server and locally.
#include <set>
#include <vector>

#include "CoursEssai.h"
#include "base/SupTraitement.h"
#include "base/cours/SupFractionnementCours.h"
#include "core/records/Xi.h"

namespace {

using namespace essai_cours;
namespace RPC = SupFractionnementCours;

// A whole course W (1) with fractions F1 (2, placed in weeks 1 to 5) and F2 (3, not placed, possible
// in weeks 10 to 20), a simple course S (4) and a fraction F3 (5) without link. Identifiers: 100
// times the record number.
class Fractionnement : public CoursBase {
 protected:
  void SetUp() override {
    CoursBase::SetUp();
    for (auto [genre, statut, semaines, potentielles] :
         {std::tuple{SupCours::kCoursEntier, 3, Semaines(1, 52), Semaines(1, 52)},
          {SupCours::kFraction, 1, Semaines(1, 5), Semaines(1, 30)},
          {SupCours::kFraction, 3, Semaines(0, -1), Semaines(10, 20)},
          {SupCours::kCoursSimple, 3, Semaines(0, -1), Semaines(1, 52)},
          {SupCours::kFraction, 4, Semaines(0, -1), Semaines(30, 40)}}) {
      const uint32_t n = Inserer(genre, static_cast<uint8_t>(statut), semaines, potentielles);
      SupCours::Article()->Identifiant = static_cast<int32_t>(100 * n);
      SupCours::Article()->NombreSemaines = static_cast<uint32_t>(TMethodesDomaine::NombreDeSemaines(semaines));
      ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
    }
  }
  void TearDown() override {
    RPC::RoutineCoursRetenu() = nullptr;
    CoursBase::TearDown();
  }
  static void Aller(uint32_t n) { ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, n)); }
  static Octets Lien(int32_t entier, int32_t fraction) {
    Octets s(8, 0);
    Poser(s, 0, static_cast<uint32_t>(entier), 4);
    Poser(s, 4, static_cast<uint32_t>(fraction), 4);
    return s;
  }
  static uint32_t Nombre() { return Xi::Nombre(RPC::Fichier().Table); }
  static constexpr uint32_t W = 1, F1 = 2, F2 = 3, S = 4, F3 = 5;
};

TEST_F(Fractionnement, QuestionsOnASplitCourse) {
  Lier(W, F1);
  Lier(W, F2);
  Aller(S);
  EXPECT_EQ(RPC::NumeroCoursEntier(), S);
  Aller(F3);
  EXPECT_EQ(RPC::NumeroCoursEntier(), 0u);
  EXPECT_FALSE(RPC::AllerAuCoursEntier());
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), F3);
  Aller(F2);
  EXPECT_EQ(RPC::NumeroCoursEntier(), W);
  EXPECT_EQ(RPC::NombreSemainesDuCoursEntier(), 52u);
  EXPECT_EQ(RPC::NombreSemainesDesAutresFractions(), 5u);
  TypeDomaineHebdomadaire d;
  RPC::SemainesPlaceesDesAutresFractions(d);
  EXPECT_EQ(d, Semaines(1, 5));
  RPC::DomaineDuCoursEntier(d);
  EXPECT_EQ(d, Semaines(1, 52));
  std::vector<uint32_t> vus;
  EXPECT_FALSE(RPC::PourChaqueAutreFraction(
      [&] { return vus.push_back(Xi::NumeroCourant(SupCours::Fichier().Table)), false; }, true));
  EXPECT_EQ(vus, (std::vector<uint32_t>{F1, F2}));
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), F2);

  Aller(W);
  EXPECT_EQ(RPC::NombreFractionsDuCours(), 2);
  EXPECT_EQ(RPC::NombreFractionsPlacees(), 1);
  EXPECT_EQ(RPC::NombreFractionsNonPlacees(), 1);
  RPC::SemainesPlaceesDesFractions(d);
  EXPECT_EQ(d, Semaines(1, 5));
  const struct {
    uint8_t etats;
    int semaine;
    std::vector<uint32_t> fractions;
  } cas[] = {{1 << 3, 15, {F2}}, {1 << 1, 35, {}}, {(1 << 1) | (1 << 3), 12, {F1, F2}}, {0xFF, 45, {}}};
  for (const auto& c : cas) {
    TypeEnsembleMemoire e;
    Memoire::Initialiser(e);
    EXPECT_EQ(RPC::FractionsSelonEtats(e, c.etats, Semaines(c.semaine, c.semaine)), !c.fractions.empty());
    EXPECT_EQ(std::vector<uint32_t>(e.Elements, e.Elements + e.Nombre), c.fractions) << int{c.etats};
    Memoire::Liberer(e);
  }
  ASSERT_TRUE(RPC::AllerALaPremiereFraction());
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), F1);
  TypeEnsembleMemoire e;
  Memoire::Initialiser(e);
  for (uint32_t n : {W, F1, S}) {
    Aller(n);
    EXPECT_FALSE(RPC::AjouterCoursAEnsemble(e));
  }
  EXPECT_EQ(std::vector<uint32_t>(e.Elements, e.Elements + e.Nombre), (std::vector<uint32_t>{W, S}));
  Memoire::Liberer(e);
}

TEST_F(Fractionnement, TheRetainedFlagSpreadsOverASplitCourse) {
  std::set<uint32_t> passent = {F2};
  RPC::RoutineCoursRetenu() = [&] { return passent.count(Xi::NumeroCourant(SupCours::Fichier().Table)) != 0; };
  const auto retenus = [] {
    std::vector<int> r;
    for (uint32_t n : {W, F1, F2}) r.push_back(Cours(n).Retenu);
    return r;
  };
  // A whole course without fractions is not retained.
  Aller(W);
  RPC::ActualiserCoursRetenu();
  EXPECT_EQ(Cours(W).Retenu, 0);
  // Received links: F1 alone fails; with F2 the whole course and both fractions are retained.
  Recevoir(OrdreRecu(GM_Creation, RPC::kPlace, 8, Lien(100 * W, 100 * F1)));
  EXPECT_EQ(retenus(), (std::vector<int>{0, 0, 1}));
  Recevoir(OrdreRecu(GM_Creation, RPC::kPlace, 16, Lien(100 * W, 100 * F2)));
  EXPECT_EQ(retenus(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(Nombre(), 2u);
  // A simple course its own flag.
  Aller(S);
  RPC::ActualiserCoursRetenu();
  EXPECT_EQ(Cours(S).Retenu, 0);
  // After a received course order and after a local change of a fraction alike.
  passent = {};
  Recevoir(OrdreRecu(GM_Modification, SupCours::kPlace, 100 * F1, [&] {
    Aller(F1);
    return Exporter();
  }()));
  EXPECT_EQ(retenus(), (std::vector<int>{0, 0, 0}));
  passent = {F1};
  Disposer({3, 0, 20, 0});  // a base of an older layout registers the local-change step
  client_.Exclusif = true;
  Aller(F2);
  ASSERT_TRUE(SupCours::Fichier().Modifier(0x80190203, nullptr, 0, [] { SupCours::Article()->Duree = 2; }));
  EXPECT_EQ(retenus(), (std::vector<int>{1, 1, 1}));
}

TEST_F(Fractionnement, LinkRequestsThroughTheServer) {
  Lier(W, F1);
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    const int32_t identifiant = 24;
    if (reponse != nullptr) std::memcpy(reponse, &identifiant, 4);
    if (r.Code == RPC::kCodeCreerLien) Recevoir(OrdreRecu(GM_Creation, RPC::kPlace, identifiant, r.Donnees));
    return true;
  };
  EXPECT_TRUE(RPC::CreerLienFractionnement(W, F3));
  EXPECT_EQ(RPC::Article()->Fraction, F3);
  EXPECT_FALSE(RPC::CreerLienFractionnement(W, 99)) << "nothing sent for a missing record";
  Aller(W);
  EXPECT_TRUE(RPC::SupprimerLiensDuCours());
  ASSERT_TRUE(RPC::Fichier().ChercherParIdentifiant(24));
  EXPECT_EQ(RPC::SupprimerLienFractionnement(), 0);
  ASSERT_EQ(client_.Envoyees.size(), 3u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x801B0100u);
  EXPECT_EQ(client_.Envoyees[0].Donnees, Lien(100 * W, 100 * F3));
  EXPECT_EQ(client_.Envoyees[1].Code, 0x801B0303u);
  EXPECT_EQ(client_.Envoyees[1].Parametre, static_cast<int32_t>(100 * W));
  EXPECT_TRUE(client_.Envoyees[1].Donnees.empty());
  EXPECT_EQ(client_.Envoyees[2].Code, 0x801B0300u);
  EXPECT_EQ(client_.Envoyees[2].Parametre, 24);
  EXPECT_EQ(Nombre(), 2u) << "the server's orders delete, not the client";
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(Fractionnement, LinkRequestsLocally) {
  client_.Exclusif = true;
  EXPECT_FALSE(RPC::CreerLienFractionnement(S, F3)) << "a simple course is no whole course";
  EXPECT_FALSE(RPC::CreerLienFractionnement(W, S)) << "nor a fraction";
  ASSERT_TRUE(RPC::CreerLienFractionnement(W, F1));
  ASSERT_TRUE(RPC::CreerLienFractionnement(W, F2));
  ASSERT_TRUE(RPC::CreerLienFractionnement(W, F3));
  EXPECT_FALSE(RPC::CreerLienFractionnement(W, F3)) << "a fraction is linked once";
  EXPECT_EQ(Nombre(), 3u);
  // On a fraction its own link; on a whole course the links of all its fractions.
  EXPECT_TRUE(RPC::SupprimerLiensDuCoursNumero(F2));
  EXPECT_EQ(Nombre(), 2u);
  Aller(F1);
  EXPECT_EQ(RPC::NumeroCoursEntier(), W);
  EXPECT_TRUE(RPC::SupprimerLiensDuCoursNumero(W));
  EXPECT_EQ(Nombre(), 0u);
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), F1);
  EXPECT_FALSE(RPC::SupprimerLiensDuCoursNumero(99));
  EXPECT_TRUE(client_.Envoyees.empty());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

}  // namespace
