#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/records/Xi.h"
#include "platform/gui/Fiches.h"
#include "platform/ui/Traces.h"
#include "platform/ui/VCLTimer.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/ListeCha.h"
#include "ui/Ressources.h"

namespace {

// The data of the list in order, as ints.
std::vector<intptr_t> Contenu(const TListe* l) {
  std::vector<intptr_t> v;
  for (const TNoeud* n = l->Premier; n; n = n->Suivant) v.push_back(reinterpret_cast<intptr_t>(n->Donnee));
  // The backward links agree.
  std::vector<intptr_t> arriere;
  for (const TNoeud* n = l->Dernier; n; n = n->Precedent) arriere.insert(arriere.begin(), reinterpret_cast<intptr_t>(n->Donnee));
  EXPECT_EQ(v, arriere);
  return v;
}

TNoeud* Noeud(intptr_t d) {
  TNoeud* n = ListeCha::CreerNoeud();
  n->Donnee = reinterpret_cast<void*>(d);
  return n;
}

TEST(ListeCha, InsertingAtAPositionPutsTheNodeBeforeTheOneFoundThereOrLast) {
  const struct {
    int32_t position;
    std::vector<intptr_t> attendu;
  } cas[] = {{1, {9, 1, 2}}, {0, {9, 1, 2}}, {-3, {9, 1, 2}}, {2, {1, 9, 2}}, {3, {1, 2, 9}}, {5, {1, 2, 9}}};
  for (const auto& c : cas) {
    TListe* l = ListeCha::CreerListe();
    ListeCha::Inserer(Noeud(1), 1, l);
    ListeCha::Inserer(Noeud(2), 2, l);
    ListeCha::Inserer(Noeud(9), c.position, l);
    EXPECT_EQ(Contenu(l), c.attendu) << c.position;
    EXPECT_EQ(ListeCha::Nombre(l), 3);
    ListeCha::DetruireListe(l);
    EXPECT_EQ(l, nullptr);
  }
}

TEST(ListeCha, RemovingTheOnlyNodeEmptiesBothEnds) {
  TListe* l = ListeCha::CreerListe();
  TNoeud* n = Noeud(1);
  ListeCha::Inserer(n, 1, l);
  ListeCha::Retirer(n, l);
  EXPECT_EQ(l->Premier, nullptr);
  EXPECT_EQ(l->Dernier, nullptr);
  EXPECT_EQ(n->Suivant, nullptr);
  EXPECT_EQ(n->Liste, nullptr);
  ListeCha::DetruireNoeud(n, l);
  ListeCha::DetruireListe(l);
  ListeCha::DetruireListe(l);  // nil: nothing
}

TEST(ListeCha, ANodeBelongsToOneListAtMost) {
  TListe* a = ListeCha::CreerListe();
  TListe* b = ListeCha::CreerListe();
  TNoeud* n = Noeud(1);
  ListeCha::Inserer(Noeud(5), 1, b);
  ListeCha::Inserer(n, 1, a);
  ListeCha::Inserer(n, 1, b);  // already in a: nothing
  EXPECT_EQ(Contenu(a), std::vector<intptr_t>{1});
  EXPECT_EQ(Contenu(b), std::vector<intptr_t>{5});
  EXPECT_EQ(ListeCha::PositionDe(n, b), 0);
  EXPECT_FALSE(ListeCha::Appartient(n, b));
  ListeCha::Retirer(n, b);  // not b's: nothing
  EXPECT_EQ(ListeCha::PositionDe(n, a), 1);
  // Freeing it with the wrong list still unlinks it from its own.
  ListeCha::DetruireNoeud(n, b);
  EXPECT_EQ(a->Premier, nullptr);
  EXPECT_EQ(Contenu(b), std::vector<intptr_t>{5});
  ListeCha::DetruireNoeud(nullptr, a);
  ListeCha::DetruireListe(a);
  ListeCha::DetruireListe(b);
}

TEST(ListeCha, ExtractingAndFindingOutsideTheListFindNothing) {
  TListe* l = ListeCha::CreerListe();
  EXPECT_EQ(ListeCha::Extraire(1, l), nullptr);
  for (intptr_t d : {1, 2, 3}) ListeCha::Inserer(Noeud(d), 99, l);
  for (int32_t p : {0, -1, 4}) {
    EXPECT_EQ(ListeCha::NoeudA(p, l), nullptr) << p;
    EXPECT_EQ(ListeCha::Extraire(p, l), nullptr) << p;
  }
  EXPECT_EQ(reinterpret_cast<intptr_t>(ListeCha::NoeudA(3, l)->Donnee), 3);
  TNoeud* milieu = ListeCha::Extraire(2, l);
  EXPECT_EQ(reinterpret_cast<intptr_t>(milieu->Donnee), 2);
  EXPECT_EQ(Contenu(l), (std::vector<intptr_t>{1, 3}));
  ListeCha::Inserer(milieu, 2, l);  // an extracted node can go back
  EXPECT_EQ(Contenu(l), (std::vector<intptr_t>{1, 2, 3}));
  ListeCha::DetruireListe(l);
}

TEST(Traces, CustomColoursAreReadAsHexadecimalAndWrittenWithSixDigitsAtLeast) {
  const TListeNomsValeurs valeurs = {"ColorA=0", "colorb=ffffff", "ColorC=FF0000", "ColorD=", "ColorE=xyz",
                                     "ColorF=123456789", "ColorG=ffffffff", "ColorH=$FF", "ColorI=-1", "ColorJ= 1"};
  Traces::TCouleursPersonnalisees c{};
  Traces::LireCouleursPersonnalisees(valeurs, c);
  const int32_t attendu[16] = {0, 0xFFFFFF, 0xFF0000, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(c[static_cast<size_t>(i)], attendu[i]) << i;
  c.fill(0);
  c[0] = 255;
  c[1] = -1;
  c[2] = 0x12345678;
  const TListeNomsValeurs ecrit = Traces::EcrireCouleursPersonnalisees(c);
  ASSERT_EQ(ecrit.size(), 16u);
  EXPECT_EQ(ecrit[0], "ColorA=0000ff");
  EXPECT_EQ(ecrit[1], "ColorB=ffffffff");
  EXPECT_EQ(ecrit[2], "ColorC=12345678");
  EXPECT_EQ(ecrit[15], "ColorP=000000");
  // What is written reads back.
  Traces::TCouleursPersonnalisees relu{};
  Traces::LireCouleursPersonnalisees(ecrit, relu);
  EXPECT_EQ(relu, c);
}

TEST(VCLTimer, CompterThroughTheRoutineWrapperCountsAWalkOfARecordTable) {
  void* table = nullptr;
  Xi::Creer(table, 0, 4, 0);
  ASSERT_NE(table, nullptr);
  for (int32_t i = 0; i < 7; ++i) {
    std::memcpy(table, &i, 4);  // the handle is the record buffer
    ASSERT_TRUE(Xi::Inserer(table));
  }
  TAppelRoutine compter(VCLTimer::Compter), tous(VCLTimer::ToujoursVrai);
  TypeMethodeXi traitement, filtre;
  compter.CommeMethode(traitement);
  tous.CommeMethode(filtre);
  EXPECT_EQ(traitement.Objet, &compter);
  int32_t n = 0;
  Xi::ParcourirMethode(table, 0, reinterpret_cast<intptr_t>(&n), traitement, filtre, 0, true);
  EXPECT_EQ(n, 7);
  Xi::Detruire(table);
}

class Minuteries : public FenetresEssai {};

TEST_F(Minuteries, AVirtualClockFiresEachDueTimerOnceHoweverManyIntervalsPassed) {
  TVokTimer t(nullptr);
  int coups = 0;
  t.SetInterval(100);
  t.SetOnTimer([&](TComponent*) { ++coups; });
  horloge.Avancer(99);
  EXPECT_EQ(coups, 0);
  horloge.Avancer(1);
  EXPECT_EQ(coups, 1);
  horloge.Avancer(1000);
  EXPECT_EQ(coups, 2);
  horloge.Avancer(99);
  EXPECT_EQ(coups, 2);  // re-armed from the time it fired
  horloge.Avancer(1);
  EXPECT_EQ(coups, 3);
  t.SetEnabled(false);
  horloge.Avancer(1000);
  EXPECT_EQ(coups, 3);
  EXPECT_EQ(horloge.NombreArmees(), 0);
}

TEST_F(Minuteries, ATimerThatFreesAnotherOneStopsIt) {
  auto* b = new TTimer(nullptr);
  TTimer a(nullptr);
  int coupsB = 0;
  a.SetInterval(10);
  b->SetInterval(20);
  a.SetOnTimer([&](TComponent*) {
    delete b;
    b = nullptr;
  });
  b->SetOnTimer([&](TComponent*) { ++coupsB; });
  horloge.Avancer(20);  // both due, a first
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(coupsB, 0);
}

TEST(Ressources, CursorsAreLoadedOnceUnderTheirNumbersAndCountTheirUsers) {
  const int32_t avant = Ressources::Utilisateurs();
  Ressources::ChargerCurseurs();
  Ressources::ChargerCurseurs();
  EXPECT_EQ(Ressources::Utilisateurs(), avant + 2);
  EXPECT_EQ(Screen().Cursors.count(25), 0u);
  EXPECT_EQ(Screen().Cursors.at(1).Ressource, "CurseurDoubleClic");
  EXPECT_EQ(Screen().Cursors.at(24).Ressource, "CurseurCliclong");
  EXPECT_EQ(Screen().Cursors.at(26).Ressource, "CurseurCreationCours");
  EXPECT_EQ(Screen().Cursors.size(), 25u);
  Ressources::LibererCurseurs();
  Ressources::LibererCurseurs();
  EXPECT_EQ(Ressources::Utilisateurs(), avant);
  EXPECT_EQ(Screen().Cursors.size(), 25u);  // they stay loaded
}

}  // namespace
