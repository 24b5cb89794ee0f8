// The typed array template on its integer instance: options, element access, search, insertion,
// removal, moves, sorting and comparison; ownership rules on a small object instance.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/core/arrays/ArrayTestSupport.h"
#include "core/arrays/ArrayOfInteger.h"
#include "core/arrays/ArrayOfString.h"
#include "core/arrays/ArrayOfTObject.h"

namespace {
// An array filled by stores at the positions of the list; -1 leaves the slot empty.
std::unique_ptr<TArrayOfInteger> Tableau(std::initializer_list<int32_t> valeurs, int32_t parPage = 32,
                                         bool dynamique = true) {
  auto a = std::make_unique<TArrayOfInteger>(parPage, dynamique, false);
  int32_t p = 0;
  for (int32_t v : valeurs) {
    if (v >= 0) a->SetElementPosition(v, p);
    ++p;
  }
  return a;
}

std::unique_ptr<TArrayOfInteger> Trie(std::initializer_list<int32_t> valeurs, bool dynamique = true) {
  auto a = std::make_unique<TArrayOfInteger>(32, dynamique, false);
  a->SetToujoursTrie(true);
  for (int32_t v : valeurs) a->Ajouter(v);
  return a;
}
}  // namespace

// ---- data model, options, element access ----------------------------------------------------------

TEST(TemplateArray, NewArrayHasTheDefaultOptions) {
  TArrayOfInteger a(32, true, false);
  EXPECT_EQ(a.GetNombreElements(), 0);
  EXPECT_EQ(a.GetNombreTotalElements(), 0);
  EXPECT_TRUE(a.GetAvecDoublons());
  EXPECT_FALSE(a.GetToujoursTrie());
  EXPECT_FALSE(a.GetTriInverse());
  EXPECT_EQ(a.GetModeComparaison(), 0);
  EXPECT_EQ(a.GetNombreElementsMax(), 2147483647);
  EXPECT_EQ(a.ClassName(), "TArrayOfInteger");
}

TEST(TemplateArray, CapacityGrowsByPagesAndDynamicArraysShrinkBack) {
  TArrayOfInteger a(32, true, false);
  a.SetElementPosition(1, 0);
  EXPECT_EQ(a.GetNombreTotalElements(), 32);
  a.SetElementPosition(2, 40);
  EXPECT_EQ(a.GetNombreTotalElements(), 64);
  for (int32_t p = 1; p < 40; ++p) ASSERT_TRUE(a.PositionVide(p));
  EXPECT_EQ(a.GetNombreElements(), 2);
  a.Retirer(40, true);
  EXPECT_EQ(a.GetNombreTotalElements(), 32);
  EXPECT_EQ(a.GetNombreElements(), 1);

  TArrayOfInteger fixe(32, false, false);
  fixe.SetElementPosition(2, 40);
  fixe.Retirer(40, true);
  EXPECT_EQ(fixe.GetNombreTotalElements(), 64);
}

TEST(TemplateArray, IndexAndPositionTranslations) {
  auto a = Tableau({1, -1, 3});
  EXPECT_EQ(a->PositionDeIndice(0), 0);
  EXPECT_EQ(a->PositionDeIndice(1), 2);
  EXPECT_EQ(a->PositionDeIndice(2), a->GetNombreTotalElements());
  EXPECT_EQ(a->PositionDeIndice(-1), -1);
  EXPECT_EQ(a->IndiceDePosition(1), 0);
  EXPECT_EQ(a->IndiceDePosition(2), 1);
  EXPECT_EQ(a->IndiceDePosition(1000), 1);
  EXPECT_EQ(a->GetElement(1), 3);
  // A write at index NombreElements extends the array at the capacity.
  a->SetElement(2, 9);
  EXPECT_EQ(a->GetElementPosition(32), 9);

  auto b = Tableau({-1, 2, 3}, 1);
  EXPECT_EQ(b->GetNombreTotalElements(), 3);
  EXPECT_EQ(b->PositionVideSuivante(0), 3);
  EXPECT_EQ(b->PositionVideSuivante(-1), 0);
  EXPECT_EQ(b->PremierePositionVide(), 0);
}

TEST(TemplateArray, DuplicatesCanBeForbiddenOnlyWhenNonePresent) {
  // Equal elements anywhere in an unsorted array keep the flag on, not only neighbours.
  for (std::initializer_list<int32_t> valeurs : {std::initializer_list<int32_t>{1, 1}, {1, 2, 1}}) {
    auto a = Tableau(valeurs);
    a->SetAvecDoublons(false);
    EXPECT_TRUE(a->GetAvecDoublons()) << Cases(*a);
  }
  auto b = Tableau({1, 2});
  b->SetAvecDoublons(false);
  EXPECT_FALSE(b->GetAvecDoublons());
  EXPECT_EQ(b->Ajouter(2), -1);
  EXPECT_EQ(Cases(*b), "1 2");
  EXPECT_EQ(b->Ajouter(3), 2);
}

TEST(TemplateArray, SwitchingSortOnPacksThenSortsAndReverseReorders) {
  auto a = Tableau({5, -1, 1, -1, -1, 3});
  a->SetToujoursTrie(true);
  EXPECT_EQ(Cases(*a), "1 3 5");
  a->SetTriInverse(true);
  EXPECT_EQ(Cases(*a), "5 3 1");
  EXPECT_EQ(a->Ajouter(4), 1);
  EXPECT_EQ(Cases(*a), "5 4 3 1");
}

TEST(TemplateArray, StoreThatLeavesAHoleEndsTheSortedState) {
  auto a = Trie({1, 2, 3});
  a->SetElementPosition(9, 4);
  EXPECT_FALSE(a->GetToujoursTrie());
  auto b = Trie({1, 2, 3});
  b->SetElementPosition(9, 3);  // right after the last element: no hole
  EXPECT_TRUE(b->GetToujoursTrie());
}

namespace {
class TParametreEtiquete : public TObject, public IEtiquetable {
 public:
  void SetEtiquette(int32_t Valeur) override { etiquettes.push_back(Valeur); }
  std::vector<int32_t> etiquettes;
};
}  // namespace

TEST(TemplateArray, AssignmentCopiesOptionsAndReproducesHoles) {
  auto source = Tableau({4, -1, 6, -1, 8}, 4, false);
  source->SetAvecDoublons(false);
  source->SetModeComparaison(3);
  source->SetNombreElementsMax(10);
  TArrayOfInteger copie(32, true, true);
  TParametreEtiquete parametre;
  copie.Assigner(source.get(), &parametre);
  EXPECT_EQ(Cases(copie), "4 _ 6 _ 8");
  EXPECT_EQ(copie.GetNombreTotalElements(), 8);
  EXPECT_FALSE(copie.GetAvecDoublons());
  EXPECT_FALSE(copie.GetDynamique());
  EXPECT_FALSE(copie.GetLibererElements());
  EXPECT_EQ(copie.GetElementsParPage(), 4);
  EXPECT_EQ(copie.GetModeComparaison(), 3);
  EXPECT_EQ(copie.GetNombreElementsMax(), 2147483647);
  EXPECT_EQ(parametre.etiquettes, (std::vector<int32_t>{0, 2, 4}));

  TPagedArrayOfInteger pagine(4, false, false);
  for (int32_t v : {1, 2, 3, 4, 5, 6}) pagine.Ajouter(v);
  TArrayOfInteger depuisPagine(32, true, false);
  depuisPagine.Assigner(&pagine, nullptr);
  EXPECT_EQ(Cases(depuisPagine), "1 2 3 4 5 6");
}

// ---- search ---------------------------------------------------------------------------------------

TEST(TemplateArray, SortedSearchByHalving) {
  auto a = Trie({30, 10, 20});
  struct Cas {
    int32_t valeur;
    bool trouve;
    int32_t indice;
  };
  for (const Cas& c : {Cas{20, true, 1}, Cas{25, false, 2}, Cas{5, false, 0}, Cas{35, false, 3}, Cas{10, true, 0}}) {
    int32_t i = 99;
    EXPECT_EQ(a->Chercher(c.valeur, i, 2), c.trouve) << c.valeur;  // Depuis is ignored when sorted
    EXPECT_EQ(i, c.indice) << c.valeur;
  }
  auto vide = Trie({});
  int32_t i = 99;
  EXPECT_FALSE(vide->Chercher(1, i));
  EXPECT_EQ(i, 0);
}

TEST(TemplateArray, UnsortedSearchForwardAndBackward) {
  auto a = Tableau({7, 3, -1, 7});
  struct Cas {
    bool dernier;
    int32_t borne;
    bool trouve;
    int32_t indice;
  };
  for (const Cas& c : {Cas{false, -1, true, 0}, Cas{false, 0, true, 2}, Cas{false, 2, false, -1},
                       Cas{true, -1, true, 2}, Cas{true, 2, true, 0}, Cas{true, 0, false, -1}}) {
    int32_t i = 99;
    const bool r = c.dernier ? a->ChercherDernier(7, i, c.borne) : a->Chercher(7, i, c.borne);
    EXPECT_EQ(r, c.trouve) << c.dernier << " " << c.borne;
    EXPECT_EQ(i, c.indice) << c.dernier << " " << c.borne;
  }
  EXPECT_TRUE(a->Contient(3));
  EXPECT_FALSE(a->Contient(4));
}

TEST(TemplateArray, EmptySlotComparesAs254WhateverTheDirection) {
  auto a = Tableau({1, -1, 3});
  a->SetTriInverse(true);
  EXPECT_EQ(static_cast<uint8_t>(a->ComparerElement(5, 1, true)), 254);
  EXPECT_EQ(a->ComparerElement(5, 0, true), -1);
  EXPECT_EQ(a->ComparerElement(5, 1, false), -1);  // index 1 is the 3
}

// ---- insertion and removal ------------------------------------------------------------------------

TEST(TemplateArray, AddingFillsTheFirstHoleOrInsertsAmongEquals) {
  auto a = Tableau({1, -1, 3});
  EXPECT_EQ(a->Ajouter(9), 1);
  EXPECT_EQ(Cases(*a), "1 9 3");
  auto b = Trie({1, 2, 2, 3});
  EXPECT_EQ(b->Ajouter(2), 1);
  EXPECT_EQ(Cases(*b), "1 2 2 2 3");
  EXPECT_EQ(b->Ajouter(0), 0);
  EXPECT_EQ(b->Ajouter(9), 6);
  EXPECT_EQ(Cases(*b), "0 1 2 2 2 3 9");
}

TEST(TemplateArray, InsertingByPositionAndByIndex) {
  auto a = Tableau({1, -1, 3});
  a->Inserer(5, 0, true);
  EXPECT_EQ(Cases(*a), "5 1 _ 3");
  a->Inserer(7, 2, false);  // index 2 is the 3, at position 3
  EXPECT_EQ(Cases(*a), "5 1 _ 7 3");
  TArrayOfInteger vide(32, true, false);
  vide.Inserer(4, 3, false);  // no position: added
  EXPECT_EQ(Cases(vide), "4");
  // Insertion when the last slot of the capacity is in use grows the array first.
  auto plein = Tableau({1, 2, 3, 4}, 4);
  plein->Inserer(0, 1, true);
  EXPECT_EQ(Cases(*plein), "1 0 2 3 4");
  EXPECT_EQ(plein->GetNombreTotalElements(), 8);
}

TEST(TemplateArray, RemovalWithAndWithoutShift) {
  auto a = Tableau({1, -1, 3});
  a->SupprimerIndice(0, true);
  EXPECT_EQ(Cases(*a), "_ 3");
  EXPECT_EQ(a->GetNombreElements(), 1);
  a->Tasser();
  EXPECT_EQ(Cases(*a), "3");

  auto b = Tableau({1, 2, 3});
  EXPECT_TRUE(b->Supprimer(2));
  EXPECT_FALSE(b->Supprimer(2));
  EXPECT_EQ(Cases(*b), "1 _ 3");
  b->Retirer(1, false);  // index 1 is the 3
  EXPECT_EQ(Cases(*b), "1");

  auto c = Trie({10, 20, 30});
  EXPECT_TRUE(c->Supprimer(20));
  EXPECT_EQ(Cases(*c), "10 30");
}

// A sorted array that does not trim its capacity still closes the hole a removal leaves, so
// that the next addition lands in order.
TEST(TemplateArray, SortedNonDynamicArrayStaysSortedAfterRemoval) {
  auto a = Trie({10, 20, 30}, false);
  EXPECT_TRUE(a->Supprimer(20));
  EXPECT_EQ(Cases(*a), "10 30");
  EXPECT_TRUE(a->GetToujoursTrie());
  a->Ajouter(40);
  a->Ajouter(15);
  EXPECT_EQ(Cases(*a), "10 15 30 40");
  // Emptying a slot by position leaves a hole, which ends the sorted state instead.
  a->Retirer(1, true);
  EXPECT_FALSE(a->GetToujoursTrie());
}

TEST(TemplateArray, SwappingMovesElementsAndHoles) {
  auto a = Tableau({1, -1, 3});
  a->Echanger(0, 1, true);
  EXPECT_EQ(Cases(*a), "_ 1 3");
  a->Echanger(0, 1, false);
  EXPECT_EQ(Cases(*a), "_ 3 1");
}

TEST(TemplateArray, MovingInBothDirections) {
  struct Cas {
    int32_t de, vers;
    bool physique;
    const char* attendu;
  };
  for (const Cas& c : {Cas{0, 3, true, "2 3 1 4"}, Cas{3, 0, true, "4 1 2 3"}, Cas{1, 3, true, "1 3 2 4"},
                       Cas{2, 2, true, "1 2 3 4"}, Cas{3, 1, false, "1 4 2 3"}}) {
    auto a = Tableau({1, 2, 3, 4});
    a->Deplacer(c.de, c.vers, c.physique);
    EXPECT_EQ(Cases(*a), c.attendu) << c.de << "->" << c.vers;
  }
  auto trou = Tableau({1, -1, 3, 4});
  trou->Deplacer(1, 3, true);  // the hole moves like an element
  EXPECT_EQ(Cases(*trou), "1 3 _ 4");
}

TEST(TemplateArray, SortingInBothDirections) {
  auto a = Tableau({3, 1, 2});
  a->SetTriInverse(true);
  a->Trier();
  EXPECT_EQ(Cases(*a), "3 2 1");

  std::mt19937 alea(3);
  for (bool inverse : {false, true}) {
    TArrayOfInteger b(32, true, false);
    std::vector<int32_t> attendu;
    for (int i = 0; i < 500; ++i) {
      const int32_t v = static_cast<int32_t>(alea() % 60);  // many equal values
      b.Ajouter(v);
      attendu.push_back(v);
    }
    b.SetTriInverse(inverse);
    b.Trier();
    if (inverse) std::sort(attendu.rbegin(), attendu.rend());
    else std::sort(attendu.begin(), attendu.end());
    std::vector<int32_t> obtenu;
    for (int32_t i = 0; i < b.GetNombreElements(); ++i) obtenu.push_back(b.GetElement(i));
    EXPECT_EQ(obtenu, attendu) << inverse;
  }
}

TEST(TemplateArray, ComparingTwoArrays) {
  struct Cas {
    std::initializer_list<int32_t> a, b;
    int8_t attendu;
  };
  for (const Cas& c : {Cas{{1, 2}, {1, 2, 3}, -1}, Cas{{1, 2}, {1, 3}, -1}, Cas{{1, 2}, {1, 2}, 0},
                       Cas{{1, 2, 3}, {1, 2}, 1}, Cas{{2}, {1, 9}, 1}}) {
    auto a = Tableau(c.a), b = Tableau(c.b);
    EXPECT_EQ(a->Comparer(b.get()), c.attendu);
  }
  // The other array's direction does not change the element order; this array's direction
  // reverses the verdict on length.
  auto a = Tableau({1, 2}), b = Tableau({1, 3, 4});
  b->SetTriInverse(true);
  EXPECT_EQ(a->Comparer(b.get()), -1);
  auto c = Tableau({1, 2}), d = Tableau({1, 2, 3});
  c->SetTriInverse(true);
  EXPECT_EQ(c->Comparer(d.get()), 1);
}

TEST(TemplateArray, AddingAndRemovingAnotherArray) {
  auto a = Tableau({1, 2});
  auto b = Tableau({2, 3, 2});
  a->AjouterTableau(b.get());
  EXPECT_EQ(Cases(*a), "1 2 2 3 2");
  a->SupprimerTableau(b.get());
  EXPECT_EQ(Cases(*a), "1 _ _ _ 2");
}

// Every index access agrees with the occupancy whatever sequence of stores, removals, shifts and
// insertions came before (the translation is cached and must never go stale).
TEST(TemplateArray, IndexAccessFollowsEveryChangeOfOccupancy) {
  std::mt19937 alea(11);
  TArrayOfInteger a(8, false, false);
  std::vector<std::optional<int32_t>> modele;
  auto verifier = [&](int tour) {
    std::vector<int32_t> positions;
    for (std::size_t p = 0; p < modele.size(); ++p)
      if (modele[p]) positions.push_back(static_cast<int32_t>(p));
    ASSERT_EQ(a.GetNombreElements(), static_cast<int32_t>(positions.size())) << tour;
    for (std::size_t i = 0; i < positions.size(); ++i) {
      ASSERT_EQ(a.PositionDeIndice(static_cast<int32_t>(i)), positions[i]) << tour;
      ASSERT_EQ(a.GetElement(static_cast<int32_t>(i)), *modele[static_cast<std::size_t>(positions[i])]) << tour;
      ASSERT_EQ(a.IndiceDePosition(positions[i]), static_cast<int32_t>(i)) << tour;
    }
  };
  for (int tour = 0; tour < 2000; ++tour) {
    const int32_t taille = static_cast<int32_t>(modele.size());
    const int32_t p = static_cast<int32_t>(alea() % static_cast<uint32_t>(taille + 3));
    const int32_t v = static_cast<int32_t>(alea() % 1000);
    switch (alea() % 5) {
      case 0:
      case 1:
        a.SetElementPosition(v, p);
        if (p >= taille) modele.resize(static_cast<std::size_t>(p) + 1);
        modele[static_cast<std::size_t>(p)] = v;
        break;
      case 2:
        a.Retirer(p, true);
        if (p < taille) modele[static_cast<std::size_t>(p)].reset();
        break;
      case 3:
        a.SupprimerIndice(p, true);
        if (p < taille) modele.erase(modele.begin() + p);
        break;
      case 4: {
        a.Inserer(v, p, true);
        if (p < taille) modele.insert(modele.begin() + p, v);
        else {
          modele.resize(static_cast<std::size_t>(p) + 1);
          modele[static_cast<std::size_t>(p)] = v;
        }
        break;
      }
    }
    while (!modele.empty() && !modele.back()) modele.pop_back();
    verifier(tour);
    if (HasFatalFailure()) return;
  }
}

TEST(TemplateArray, ArraysOfAnotherInstanceAreRefused) {
  TArrayOfInteger a(32, true, false);
  TArrayOfString autre(32, true, false);
  EXPECT_THROW(a.Assigner(&autre, nullptr), EInvalidCast);
  EXPECT_THROW(a.Comparer(&autre), EInvalidCast);
  EXPECT_THROW(a.AjouterTableau(&autre), EInvalidCast);
  EXPECT_THROW(a.SupprimerTableau(&autre), EInvalidCast);
  // Any storage of the same instance is accepted.
  TFixedArrayOfInteger fixe(2, false);
  EXPECT_EQ(a.Comparer(&fixe), -1);
}

TEST(TemplateArray, VirtualConstructorAndInterface) {
  const TCustomArray::Class* classe = TPagedArrayOfInteger::StaticClass();
  std::unique_ptr<TCustomArray> a(classe->Creer(4, true, false));
  ASSERT_NE(dynamic_cast<TPagedArrayOfInteger*>(a.get()), nullptr);
  EXPECT_EQ(a->ClassName(), "TPagedArrayOfInteger");
  auto* intf = Supports<TArrayInterface<TArrayOfIntegerTraits>>(a.get());
  ASSERT_NE(intf, nullptr);
  intf->Ajouter(3);
  EXPECT_EQ(a->GetNombreElements(), 1);
  EXPECT_EQ(TCustomArray::StaticClass()->Creer(4, true, false), nullptr);
}

// ---- ownership ------------------------------------------------------------------------------------

namespace {
// Objects ordered by their value: distinct objects can compare equal.
class TTemoin : public TCustomComparable {
 public:
  TTemoin(int v, std::vector<int>* journal) : valeur(v), journal_(journal) {}
  ~TTemoin() override { journal_->push_back(valeur); }
  int32_t Comparer(TObject* Autre, int32_t) override {
    const int autre = static_cast<TTemoin*>(Autre)->valeur;
    return valeur < autre ? -1 : valeur > autre ? 1 : 0;
  }
  int valeur;

 private:
  std::vector<int>* journal_;
};

using TArrayOfTemoin = TArrayOfTObject;

struct Proprietaire : ::testing::Test {
  std::vector<int> liberes;
  TTemoin* Nouveau(int v) { return new TTemoin(v, &liberes); }
};
}  // namespace

TEST_F(Proprietaire, EmptyingReleasesEachObjectOnceEvenWhenStoredTwice) {
  TArrayOfTemoin a(32, true, true);
  TTemoin* x = Nouveau(1);
  a.Ajouter(x);
  a.Ajouter(Nouveau(2));
  a.Ajouter(x);
  a.Vider();
  std::sort(liberes.begin(), liberes.end());
  EXPECT_EQ(liberes, (std::vector<int>{1, 2}));
  EXPECT_EQ(a.GetNombreTotalElements(), 0);
}

TEST_F(Proprietaire, AnObjectGoesWithItsLastOccurrence) {
  TArrayOfTemoin a(32, true, true);
  TTemoin* x = Nouveau(1);
  a.Ajouter(x);
  a.Ajouter(x);
  a.Retirer(0, true);
  EXPECT_TRUE(liberes.empty());
  a.Retirer(1, true);
  EXPECT_EQ(liberes, std::vector<int>{1});
}

TEST_F(Proprietaire, EqualButDistinctObjectsAreEachReleased) {
  TArrayOfTemoin a(32, true, true);
  TTemoin* premier = Nouveau(5);
  a.Ajouter(premier);
  a.Ajouter(Nouveau(5));
  std::unique_ptr<TTemoin> sonde(Nouveau(5));
  EXPECT_TRUE(a.Supprimer(sonde.get()));  // finds the first by value, releases it by identity
  EXPECT_EQ(liberes, std::vector<int>{5});
  EXPECT_TRUE(a.PositionVide(0));
  a.Retirer(1, true);
  EXPECT_EQ(liberes.size(), 2u);
}

TEST_F(Proprietaire, ReplacingAStoredObject) {
  TArrayOfTemoin a(32, true, true);
  TTemoin* x = Nouveau(1);
  a.SetElementPosition(x, 0);
  a.SetElementPosition(x, 0);  // the same object: kept
  EXPECT_TRUE(liberes.empty());
  a.SetElementPosition(x, 1);
  a.SetElementPosition(Nouveau(2), 0);  // still held at 1
  EXPECT_TRUE(liberes.empty());
  a.SetElementPosition(Nouveau(3), 1);
  EXPECT_EQ(liberes, std::vector<int>{1});
  a.SetElementPosition(Nouveau(3), 1);  // an equal but distinct object replaces it
  EXPECT_EQ(liberes, (std::vector<int>{1, 3}));
}

TEST_F(Proprietaire, RemovalWithShiftReleasesButMovesNeverDo) {
  TArrayOfTemoin a(32, true, true);
  for (int v : {4, 3, 2, 1}) a.SetElementPosition(Nouveau(v), a.GetNombreElements());
  a.Deplacer(0, 3, true);
  a.Echanger(0, 2, true);
  a.Inserer(Nouveau(9), 1, true);
  a.Retirer(4, true);
  a.Tasser();
  a.SetToujoursTrie(true);
  EXPECT_EQ(liberes, std::vector<int>{1});
  EXPECT_EQ(a.GetNombreElements(), 4);
  a.SupprimerIndice(1, true);  // out of the middle of the array
  EXPECT_EQ(liberes, (std::vector<int>{1, 3}));
  EXPECT_TRUE(a.Supprimer(a.GetElement(0)));  // sorted and dynamic: shifted out
  EXPECT_EQ(liberes.size(), 3u);
}

TEST_F(Proprietaire, DestroyingAnOwningArrayReleasesItsObjects) {
  {
    TArrayOfTemoin a(32, false, true);
    a.Ajouter(Nouveau(1));
    a.SetElementPosition(Nouveau(2), 70);
  }
  EXPECT_EQ(liberes, (std::vector<int>{1, 2}));
  TTemoin* garde = Nouveau(3);
  {
    TArrayOfTemoin a(32, false, false);
    a.Ajouter(garde);
  }
  EXPECT_EQ(liberes.size(), 2u);
  delete garde;
}

TEST_F(Proprietaire, LoweringTheCapacityReleasesTheObjectsLeftBehind) {
  TArrayOfTemoin a(4, false, true);
  a.Ajouter(Nouveau(1));
  a.SetElementPosition(Nouveau(2), 9);
  a.SetNombreTotalElements(4);
  EXPECT_EQ(liberes, std::vector<int>{2});
  EXPECT_EQ(a.GetNombreElements(), 1);
}
