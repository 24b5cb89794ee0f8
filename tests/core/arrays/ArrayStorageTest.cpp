// The three storages of the typed arrays (contiguous, paged, fixed) behave alike: one table of cases
// run on each; then what is particular to each storage, ownership in every storage, and the iterator.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/core/arrays/ArrayTestSupport.h"
#include "core/arrays/ArrayOfInteger.h"
#include "core/arrays/ArrayOfItemInfoAcces.h"
#include "core/arrays/ArrayOfTObject.h"

namespace {
using TTableauEntier = TCustomArrayTemplate<TArrayOfIntegerTraits>;

// An object that notes its value in a journal when it is freed.
class TTemoin : public TObject {
 public:
  TTemoin(int v, std::vector<int>* journal) : valeur(v), journal_(journal) {}
  ~TTemoin() override { journal_->push_back(valeur); }
  int valeur;

 private:
  std::vector<int>* journal_;
};

// Each storage, made without trimming and without ownership (a fixed array starts with no slot).
struct Contigu {
  static std::unique_ptr<TTableauEntier> Creer() { return std::make_unique<TArrayOfInteger>(4, false, false); }
};
struct Pagine {
  static std::unique_ptr<TTableauEntier> Creer() { return std::make_unique<TPagedArrayOfInteger>(4, false, false); }
};
struct Fixe {
  static std::unique_ptr<TTableauEntier> Creer() { return std::make_unique<TFixedArrayOfInteger>(0, false); }
};

template <class Stockage>
struct Stockages : ::testing::Test {
  // An array filled by stores at the positions of the list; -1 leaves the slot empty.
  std::unique_ptr<TTableauEntier> Tableau(std::initializer_list<int32_t> valeurs) {
    auto a = Stockage::Creer();
    int32_t p = 0;
    for (int32_t v : valeurs) {
      if (v >= 0) a->SetElementPosition(v, p);
      ++p;
    }
    for (p = 0; p < static_cast<int32_t>(valeurs.size()); ++p)
      if (valeurs.begin()[p] < 0) a->Retirer(p, true);
    return a;
  }
};
using LesStockages = ::testing::Types<Contigu, Pagine, Fixe>;
TYPED_TEST_SUITE(Stockages, LesStockages);

struct Cas {
  const char* nom;
  std::initializer_list<int32_t> depart;
  std::function<void(TTableauEntier&)> operation;
  const char* attendu;
};
}  // namespace

TYPED_TEST(Stockages, SameResultsForEveryOperation) {
  const Cas cas[] = {
      {"add fills the first hole", {5, -1, 8}, [](TTableauEntier& a) { a.Ajouter(9); }, "5 9 8"},
      {"add appends", {5, 3}, [](TTableauEntier& a) { a.Ajouter(8); }, "5 3 8"},
      {"remove leaves a hole", {5, 3, 8}, [](TTableauEntier& a) { a.Supprimer(3); }, "5 _ 8"},
      {"remove by index", {5, -1, 8}, [](TTableauEntier& a) { a.Retirer(1, false); }, "5"},
      {"insert by position", {5, 3, 8}, [](TTableauEntier& a) { a.Inserer(7, 1, true); }, "5 7 3 8"},
      {"insert by index", {5, -1, 8}, [](TTableauEntier& a) { a.Inserer(7, 1, false); }, "5 _ 7 8"},
      // Pages hold 4 positions: the first is full, so the 5 at the next page's first slot moves up too.
      {"insert into a full first page", {1, 2, 3, 4, 5}, [](TTableauEntier& a) { a.Inserer(9, 1, true); },
       "1 9 2 3 4 5"},
      {"delete with shift", {5, -1, 8, 9}, [](TTableauEntier& a) { a.SupprimerIndice(0, true); }, "_ 8 9"},
      {"delete the last", {5, 6}, [](TTableauEntier& a) { a.SupprimerIndice(1, true); }, "5"},
      {"pack", {5, -1, -1, 8, -1, 9}, [](TTableauEntier& a) { a.Tasser(); }, "5 8 9"},
      {"move up", {1, 2, 3, 4}, [](TTableauEntier& a) { a.Deplacer(0, 3, true); }, "2 3 1 4"},
      {"move down", {1, 2, 3, 4}, [](TTableauEntier& a) { a.Deplacer(3, 0, true); }, "4 1 2 3"},
      {"swap with a hole", {1, -1, 3}, [](TTableauEntier& a) { a.Echanger(0, 1, true); }, "_ 1 3"},
      {"swap by index", {1, -1, 3}, [](TTableauEntier& a) { a.Echanger(0, 1, false); }, "3 _ 1"},
      {"reverse sort", {3, 1, 2},
       [](TTableauEntier& a) {
         a.SetTriInverse(true);
         a.Trier();
       },
       "3 2 1"},
      {"sorting packs", {5, -1, 1, -1, 3}, [](TTableauEntier& a) { a.SetToujoursTrie(true); }, "1 3 5"},
      {"sorted add", {},
       [](TTableauEntier& a) {
         a.SetToujoursTrie(true);
         for (int32_t v : {5, 3, 8, 4}) a.Ajouter(v);
       },
       "3 4 5 8"},
      {"sorted remove then add", {},
       [](TTableauEntier& a) {
         a.SetToujoursTrie(true);
         for (int32_t v : {5, 3, 8, 4}) a.Ajouter(v);
         a.Supprimer(4);
         a.Ajouter(6);
       },
       "3 5 6 8"},
      {"no duplicates", {1, 2},
       [](TTableauEntier& a) {
         a.SetAvecDoublons(false);
         EXPECT_EQ(a.Ajouter(2), -1);
       },
       "1 2"},
  };
  for (const Cas& c : cas) {
    auto a = this->Tableau(c.depart);
    c.operation(*a);
    EXPECT_EQ(Cases(*a), c.attendu) << c.nom;
    int32_t occupes = 0;
    for (int32_t p = 0; p < a->GetNombreTotalElements(); ++p) occupes += a->PositionVide(p) ? 0 : 1;
    EXPECT_EQ(a->GetNombreElements(), occupes) << c.nom;
  }
}

TYPED_TEST(Stockages, SearchTranslationsAndComparison) {
  auto a = this->Tableau({7, -1, 3, 7});
  int32_t i;
  EXPECT_TRUE(a->Chercher(7, i, 0));
  EXPECT_EQ(i, 2);
  EXPECT_TRUE(a->ChercherDernier(7, i));
  EXPECT_EQ(i, 2);
  EXPECT_EQ(a->PositionDeIndice(1), 2);
  EXPECT_EQ(a->IndiceDePosition(1), 0);
  EXPECT_EQ(a->IndiceDePosition(3), 2);
  EXPECT_EQ(a->GetElement(2), 7);
  EXPECT_EQ(a->PositionVideSuivante(0), 1);

  auto b = this->Tableau({7, 3, 7, 1});
  EXPECT_EQ(a->Comparer(b.get()), -1);
  EXPECT_EQ(b->Comparer(a.get()), 1);
  TArrayOfInteger copie(32, true, false);
  copie.Assigner(a.get(), nullptr);
  EXPECT_EQ(Cases(copie), "7 _ 3 7");
  EXPECT_EQ(copie.Comparer(a.get()), 0);
}

// ---- what is particular to each storage -----------------------------------------------------------

TEST(PagedArray, PagesHoldTheirShareOfPositions) {
  TPagedArrayOfInteger a(4, true, false);
  for (int32_t p : {0, 1, 5}) a.SetElementPosition(10 + p, p);
  EXPECT_EQ(a.GetNombreElements(), 3);
  EXPECT_EQ(a.GetNombreTotalElements(), 8);
  EXPECT_EQ(a.NombrePages(), 2);
  EXPECT_EQ(a.PositionDeIndice(2), 5);
  EXPECT_EQ(a.IndiceDePosition(5), 2);
  EXPECT_EQ(a.IndiceDePosition(3), 1);
  EXPECT_EQ(a.PositionDeIndice(3), -1);
  EXPECT_EQ(a.PremierePositionVide(), 2);
  // Taking out the only element of the last page drops that page.
  a.Retirer(5, true);
  EXPECT_EQ(a.NombrePages(), 1);
  // An empty page in the middle is a run of empty positions.
  a.SetElementPosition(1, 9);
  a.Retirer(0, true);
  a.Retirer(1, true);
  EXPECT_EQ(a.PositionVideSuivante(5), 6);
  EXPECT_EQ(a.PositionVideSuivante(-1), 0);
}

TEST(FixedArray, EverySlotCountsAsOccupied) {
  TFixedArrayOfInteger a(52, false);
  EXPECT_EQ(a.GetNombreElements(), 52);
  EXPECT_EQ(a.GetNombreTotalElements(), 52);
  EXPECT_EQ(a.GetNombreElementsMax(), 52);
  EXPECT_FALSE(a.GetDynamique());
  for (int32_t i = 0; i < 52; ++i) a.SetElement(i, i + 1);
  a.Vider();  // without ownership: zero values, same size
  EXPECT_EQ(a.GetNombreElements(), 52);
  EXPECT_EQ(a.GetElement(51), 0);
  a.Retirer(3, true);  // a hole stays a hole
  EXPECT_TRUE(a.PositionVide(3));
  EXPECT_EQ(a.GetNombreTotalElements(), 52);
  a.SupprimerIndice(0, true);  // the size stays: the top slot empties
  EXPECT_EQ(a.GetNombreTotalElements(), 52);
  EXPECT_TRUE(a.PositionVide(51));
  EXPECT_TRUE(a.PositionVide(2));
  a.SetNombreTotalElements(60);  // added slots are occupied, holes stay holes
  EXPECT_EQ(a.GetNombreElements(), 58);
  EXPECT_FALSE(a.PositionVide(59));
  EXPECT_TRUE(a.PositionVide(51));
}

// Opening a slot moves the contiguous block as it is; the paged storage moves elements only up to
// the first empty slot, which the move fills.
TEST(ArrayStorages, OpeningASlotBeforeAHole) {
  TArrayOfInteger contigu(4, false, false);
  TPagedArrayOfInteger pagine(4, false, false);
  for (int32_t p : {0, 1, 3}) {
    contigu.SetElementPosition(p + 1, p);
    pagine.SetElementPosition(p + 1, p);
  }
  contigu.Inserer(9, 0, true);
  pagine.Inserer(9, 0, true);
  EXPECT_EQ(Cases(contigu), "9 1 2 _ 4");
  EXPECT_EQ(Cases(pagine), "9 1 2 4");
}

TEST(ArrayStorages, EmptyingWithoutOwnership) {
  TPagedArrayOfInteger pagine(4, true, false);
  for (int32_t v : {1, 2, 3, 4, 5}) pagine.Ajouter(v);
  pagine.Vider();
  EXPECT_EQ(pagine.GetNombreElements(), 0);
  EXPECT_EQ(pagine.NombrePages(), 0);
  TFixedArrayOfInteger fixe(3, false);
  fixe.SetElement(1, 7);
  fixe.Retirer(2, true);
  fixe.Vider();
  EXPECT_EQ(Cases(fixe), "0 0");
  EXPECT_EQ(fixe.GetNombreTotalElements(), 3);
}

// Insertion into a full fixed array grows it by one slot instead of moving past its end. Opening a
// slot keeps the size: the element in the top slot falls out, and an owning array releases it.
TEST(FixedArray, InsertionGrowsByOneSlotAndOpeningASlotPushesTheTopOut) {
  TFixedArrayOfInteger a(3, false);
  for (int32_t i = 0; i < 3; ++i) a.SetElement(i, i + 1);
  a.Inserer(9, 1, true);
  EXPECT_EQ(Cases(a), "1 9 2 3");
  EXPECT_EQ(a.GetNombreTotalElements(), 4);
  EXPECT_EQ(a.GetNombreElements(), 4);

  std::vector<int> liberes;
  TFixedArrayOfTObject objets(3, true);
  for (int32_t i = 0; i < 3; ++i) objets.SetElement(i, new TTemoin(i + 1, &liberes));
  EXPECT_TRUE(objets.DecalerVersLeHaut(0));
  EXPECT_EQ(liberes, std::vector<int>{3});
  EXPECT_TRUE(objets.PositionVide(0));
  EXPECT_EQ(static_cast<TTemoin*>(objets.GetElementPosition(2))->valeur, 2);
  EXPECT_EQ(objets.GetNombreTotalElements(), 3);
}

// ---- ownership in every storage -------------------------------------------------------------------

namespace {
using TTableauObjets = TCustomArrayTemplate<TArrayOfTObjectTraits>;
struct ObjetsContigus {
  static std::unique_ptr<TTableauObjets> Creer() { return std::make_unique<TArrayOfTObject>(4, false, true); }
};
struct ObjetsPagines {
  static std::unique_ptr<TTableauObjets> Creer() { return std::make_unique<TPagedArrayOfTObject>(4, false, true); }
};
struct ObjetsFixes {
  static std::unique_ptr<TTableauObjets> Creer() { return std::make_unique<TFixedArrayOfTObject>(0, true); }
};

template <class Stockage>
struct Possession : ::testing::Test {
  std::vector<int> liberes;
  TTemoin* Nouveau(int v) { return new TTemoin(v, &liberes); }
};
using LesStockagesObjets = ::testing::Types<ObjetsContigus, ObjetsPagines, ObjetsFixes>;
TYPED_TEST_SUITE(Possession, LesStockagesObjets);
}  // namespace

TYPED_TEST(Possession, EveryStorageReleasesWhatLeavesIt) {
  auto a = TypeParam::Creer();
  TTemoin* deux = this->Nouveau(2);
  for (TObject* o : {static_cast<TObject*>(this->Nouveau(1)), static_cast<TObject*>(deux), static_cast<TObject*>(this->Nouveau(3)),
                     static_cast<TObject*>(deux), static_cast<TObject*>(this->Nouveau(4)), static_cast<TObject*>(this->Nouveau(5))})
    a->SetElementPosition(o, a->GetNombreElements());
  a->Retirer(0, true);
  EXPECT_EQ(this->liberes, std::vector<int>{1});
  a->Retirer(1, true);  // the 2 is still held at position 3
  EXPECT_EQ(this->liberes, std::vector<int>{1});
  a->SupprimerIndice(2, true);  // the 3, out of the middle
  EXPECT_EQ(this->liberes, (std::vector<int>{1, 3}));
  a->SetElementPosition(this->Nouveau(6), 2);  // replaces the second 2
  EXPECT_EQ(this->liberes, (std::vector<int>{1, 3, 2}));
  a->Deplacer(2, 4, true);
  a->Echanger(2, 3, true);
  a->Tasser();
  EXPECT_EQ(this->liberes.size(), 3u);
  a.reset();
  std::sort(this->liberes.begin(), this->liberes.end());
  EXPECT_EQ(this->liberes, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

// ---- iterator -------------------------------------------------------------------------------------

TEST(ArrayIterator, WalksEveryElementOnceAndStartsOnTheEmptyStep) {
  TArrayOfItemInfoAcces a(32, true, false);
  std::unique_ptr<TIterateurItemInfoAcces> vide(a.CreerIterateur());
  EXPECT_EQ(vide->Courant().NumeroChamp, 2147483647);
  EXPECT_FALSE(vide->Suivant());

  a.SetElementPosition({TObject::StaticClass(), 3, nullptr}, 0);
  a.SetElementPosition({TObject::StaticClass(), 7, nullptr}, 2);
  std::unique_ptr<TIterateurItemInfoAcces> it(a.CreerIterateur());
  std::vector<int32_t> vus;
  while (it->Suivant()) vus.push_back(it->Courant().NumeroChamp);
  EXPECT_EQ(vus, (std::vector<int32_t>{3, 7}));
}
