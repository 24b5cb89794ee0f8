// What each array instance adds to the template: its element comparison, the stream form of one
// element, its trace text, and its registration by class name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/values/Ansi1252.h"
#include "core/arrays/ArrayOfBooleen.h"
#include "core/arrays/ArrayOfCardinal.h"
#include "core/arrays/ArrayOfClasses.h"
#include "core/arrays/ArrayOfDouble.h"
#include "core/arrays/ArrayOfIInterface.h"
#include "core/arrays/ArrayOfInt64.h"
#include "core/arrays/ArrayOfInteger.h"
#include "core/arrays/ArrayOfItemInfoAcces.h"
#include "core/arrays/ArrayOfReal.h"
#include "core/arrays/ArrayOfSingle.h"
#include "core/arrays/ArrayOfString.h"
#include "core/arrays/ArrayOfTDateTime.h"
#include "core/arrays/ArrayOfTObject.h"
#include "core/arrays/ArrayOfWideString.h"
#include "core/values/DateTime.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes Ecrit(ISerializable* a) {
  TBinaryFormatter f;
  a->Ecrire(&f, nullptr);
  return static_cast<TMemoryStream*>(f.Flux())->Bytes();
}
void Lire(ISerializable* a, const Bytes& octets) {
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter f(&m);
  a->Lire(&f, nullptr);
}

// The bytes of the single element of a one-slot array: what follows the header (20 bytes), the count
// (4), the slot's flag (1) and the position (4).
template <class A>
Bytes OctetsElement(A& a) {
  const Bytes tout = Ecrit(&a);
  return Bytes(tout.begin() + 29, tout.end());
}

// The element blocks of the complete trace, on a fresh tracer.
template <class A>
std::string TraceElements(A& a) {
  TCustomTraceur traceur("");
  std::string texte;
  a.TracerContenu(true, &traceur, texte);
  return texte;
}

// The order of an array's elements after sorting, through a text of each.
template <class A, class F>
std::vector<std::string> Tries(A& a, F texte) {
  a.SetToujoursTrie(true);
  std::vector<std::string> r;
  for (int32_t i = 0; i < a.GetNombreElements(); ++i) r.push_back(texte(a.GetElement(i)));
  return r;
}
}  // namespace

TEST(ArrayInstances, PublicClassesAreRegisteredByName) {
  for (const char* nom :
       {"TArrayOfTObject", "TPagedArrayOfTObject", "TFixedArrayOfTObject", "TArrayOfCardinal", "TPagedArrayOfCardinal",
        "TFixedArrayOfCardinal", "TArrayOfClasses", "TArrayOfInteger", "TPagedArrayOfInteger", "TFixedArrayOfInteger",
        "TArrayOfBooleen", "TPagedArrayOfBooleen", "TFixedArrayOfBooleen", "TArrayOfDouble", "TPagedArrayOfDouble",
        "TFixedArrayOfDouble", "TArrayOfInt64", "TPagedArrayOfInt64", "TFixedArrayOfInt64", "TArrayOfReal",
        "TPagedArrayOfReal", "TFixedArrayOfReal", "TArrayOfSingle", "TPagedArrayOfSingle", "TFixedArrayOfSingle",
        "TArrayOfString", "TPagedArrayOfString", "TFixedArrayOfString", "TArrayOfTDateTime", "TPagedArrayOfTDateTime",
        "TFixedArrayOfTDateTime", "TArrayOfWideString", "TPagedArrayOfWideString", "TFixedArrayOfWideString"}) {
    const TClass* classe = TGestionnaireNomsDeClasse::ChercherClasse(nom);
    ASSERT_NE(classe, nullptr) << nom;
    std::unique_ptr<TObject> objet(classe->NewBlank());
    EXPECT_EQ(objet->ClassName(), nom);
  }
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TArrayOfIInterface"), nullptr);
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TArrayOfItemInfoAcces"), nullptr);
}

TEST(ArrayInstances, StreamFormOfOneElement) {
  TArrayOfCardinal cardinaux(1, false, false);
  cardinaux.SetElementPosition(0xFFFFFFFEu, 0);
  EXPECT_EQ(OctetsElement(cardinaux), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  TArrayOfInt64 grands(1, false, false);
  grands.SetElementPosition(-2, 0);
  EXPECT_EQ(OctetsElement(grands), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  TArrayOfBooleen booleens(1, false, false);
  booleens.SetElementPosition(true, 0);
  EXPECT_EQ(OctetsElement(booleens), (Bytes{1}));
  TArrayOfDouble doubles(1, false, false);
  doubles.SetElementPosition(1.0, 0);
  EXPECT_EQ(OctetsElement(doubles), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  TArrayOfSingle simples(1, false, false);
  simples.SetElementPosition(0.5f, 0);  // widened to a double
  EXPECT_EQ(OctetsElement(simples), (Bytes{0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));
  TArrayOfString chaines(1, false, false);
  chaines.SetElementPosition("ab", 0);
  EXPECT_EQ(OctetsElement(chaines), (Bytes{2, 0, 0, 0, 'a', 'b'}));
  TArrayOfWideString larges(1, false, false);
  larges.SetElementPosition(u"\u00e9", 0);
  EXPECT_EQ(OctetsElement(larges), (Bytes{1, 0, 0, 0, 0xE9, 0}));
  TArrayOfClasses classes(1, false, false);
  classes.SetElementPosition(TArrayOfInteger::StaticClass(), 0);
  const std::string nom = "TArrayOfInteger";
  Bytes attendu{15, 0, 0, 0};
  attendu.insert(attendu.end(), nom.begin(), nom.end());
  EXPECT_EQ(OctetsElement(classes), attendu);
  TArrayOfItemInfoAcces items(1, false, false);
  TObject filtre;
  items.SetElementPosition({TObject::StaticClass(), 3, &filtre}, 0);
  EXPECT_EQ(OctetsElement(items), (Bytes{7, 0, 0, 0, 'T', 'O', 'b', 'j', 'e', 'c', 't', 3, 0, 0, 0}));
  TArrayOfIInterface interfaces(1, false, false);
  interfaces.SetElementPosition(static_cast<IInterface*>(&cardinaux), 0);
  EXPECT_TRUE(OctetsElement(interfaces).empty());
}

TEST(ArrayInstances, ValuesReadBackAsWritten) {
  TArrayOfSingle simples(4, false, false);
  simples.Ajouter(0.1f);
  TArrayOfSingle simplesLus(4, false, false);
  Lire(&simplesLus, Ecrit(&simples));
  EXPECT_EQ(simplesLus.GetElement(0), 0.1f);

  TArrayOfItemInfoAcces items(4, false, false);
  TObject filtre;
  items.Ajouter({TArrayOfInteger::StaticClass(), 3, &filtre});
  TArrayOfItemInfoAcces itemsLus(4, false, false);
  Lire(&itemsLus, Ecrit(&items));
  EXPECT_EQ(itemsLus.GetElement(0).ClasseArticle, TArrayOfInteger::StaticClass());
  EXPECT_EQ(itemsLus.GetElement(0).NumeroChamp, 3);
  EXPECT_EQ(itemsLus.GetElement(0).Filtre, nullptr);

  // A class name the registry does not know reads back as nil, in its position.
  TArrayOfClasses classes(4, false, false);
  classes.SetElementPosition(TObject::StaticClass(), 1);
  Bytes octets = Ecrit(&classes);
  octets[octets.size() - 1] = 'X';  // "TObjecX"
  TArrayOfClasses classesLues(4, false, false);
  Lire(&classesLues, octets);
  EXPECT_FALSE(classesLues.PositionVide(1));
  EXPECT_EQ(classesLues.GetElementPosition(1), nullptr);

  TArrayOfWideString larges(4, false, false);
  larges.Ajouter(u"d\u00e9j\u00e0 \u20ac");
  TArrayOfWideString largesLues(4, false, false);
  Lire(&largesLues, Ecrit(&larges));
  EXPECT_EQ(largesLues.GetElement(0), u"d\u00e9j\u00e0 \u20ac");
}

TEST(ArrayInstances, StringsSortWithoutRegardToCase) {
  TArrayOfString a(32, true, false);
  for (const char* s : {"Abe", "ABD", "abc"}) a.Ajouter(s);
  EXPECT_EQ(Tries(a, [](const std::string& s) { return s; }), (std::vector<std::string>{"abc", "ABD", "Abe"}));
  int32_t i;
  EXPECT_TRUE(a.Chercher("ABC", i));
  EXPECT_EQ(i, 0);
  // Accents come after the letters, with the system's collation.
  TArrayOfString b(32, true, false);
  const std::string ete("été"_ansi);
  for (const std::string& s : {ete, std::string("etre"), std::string("ete")}) b.Ajouter(s);
  EXPECT_EQ(Tries(b, [](const std::string& s) { return s; }),
            (std::vector<std::string>{"ete", ete, "etre"}));

  TArrayOfWideString w(32, true, false);
  for (const char16_t* s : {u"Abe", u"ABD", u"abc"}) w.Ajouter(s);
  w.SetToujoursTrie(true);
  EXPECT_EQ(w.GetElement(0), u"abc");
  EXPECT_TRUE(w.Chercher(u"ABE", i));
  EXPECT_EQ(i, 2);
}

// String arrays use the word sort: a hyphen weighs nothing until the texts are otherwise equal.
// Wide strings compare as UTF-16, so texts that Windows-1252 cannot hold stay distinct.
TEST(ArrayInstances, StringArraysUseTheWordSortAndWideTextsStayDistinct) {
  TArrayOfString a(32, true, false);
  for (const char* s : {"co-op", "cooa", "coop"}) a.Ajouter(s);
  EXPECT_EQ(Tries(a, [](const std::string& s) { return s; }), (std::vector<std::string>{"cooa", "co-op", "coop"}));

  TArrayOfWideString w(32, true, false);
  w.SetAvecDoublons(false);
  EXPECT_EQ(w.Ajouter(u"\u041c\u043e\u0441\u043a\u0432\u0430"), 0);  // Москва
  EXPECT_EQ(w.Ajouter(u"\u041a\u0438\u0435\u0432"), 1);                // Киев
  EXPECT_EQ(w.Ajouter(u"\u043c\u043e\u0441\u043a\u0432\u0430"), -1);  // москва: the same text without case
  EXPECT_EQ(w.Ajouter(u"co-op"), 2);
  EXPECT_EQ(w.Ajouter(u"cooa"), 3);
  EXPECT_EQ(w.GetNombreElements(), 4);
  w.SetToujoursTrie(true);
  EXPECT_EQ(w.GetElement(0), u"cooa");
  EXPECT_EQ(w.GetElement(1), u"co-op");
  EXPECT_EQ(w.GetElement(2), u"\u041a\u0438\u0435\u0432");
}

TEST(ArrayInstances, FloatingPointTolerances) {
  struct Cas {
    double a, b;
    int8_t doubleAttendu, realAttendu;
  };
  for (const Cas& c : {Cas{1.0, 1.0 + 5e-10, 0, -1}, Cas{1.0, 1.0 + 2e-9, -1, -1}, Cas{1.0, 1.0 + 5e-13, 0, 0},
                       Cas{1.0, 1.0 + 1e-8, -1, -1}, Cas{1e6, 1e6 + 1e-7, -1, 0}, Cas{2.0, 1.0, 1, 1}}) {
    EXPECT_EQ(TArrayOfDoubleTraits::ComparerElements(c.a, c.b, 0, nullptr), c.doubleAttendu) << c.a << " " << c.b;
    EXPECT_EQ(TArrayOfRealTraits::ComparerElements(c.a, c.b, 0, nullptr), c.realAttendu) << c.a << " " << c.b;
  }
  EXPECT_EQ(TArrayOfSingleTraits::ComparerElements(1.0f, 1.0f + 1e-7f, 0, nullptr), -1);
  EXPECT_EQ(TArrayOfSingleTraits::ComparerElements(0.1f, 0.1f, 0, nullptr), 0);
}

TEST(ArrayInstances, OrdersOfTheOtherInstances) {
  EXPECT_EQ(TMethodesCardinal::ComparerElements(0xFFFFFFFFu, 1u, 0, nullptr), 1);
  EXPECT_EQ(TArrayOfBooleenTraits::ComparerElements(false, true, 0, nullptr), -1);
  EXPECT_EQ(TArrayOfInt64Traits::ComparerElements(-5, 3, 0, nullptr), -1);
  EXPECT_EQ(TArrayOfTDateTimeTraits::ComparerElements(1.5, 1.5 + 1e-12, 0, nullptr), -1);

  // Class names without regard to case, a prefix first.
  EXPECT_EQ(TArrayOfClassesTraits::ComparerElements(TArrayOfInteger::StaticClass(), TObject::StaticClass(), 0, nullptr), -1);
  EXPECT_EQ(TemplateArray::ComparerTexteSansCasse("tobject", "TObject"), 0);
  EXPECT_EQ(TemplateArray::ComparerTexteSansCasse("TObj", "TObject"), -1);

  // Steps: the class name decides first, then the column number, unsigned.
  TArrayOfItemInfoAcces items(32, true, false);
  const TClass* objet = TObject::StaticClass();
  const TClass* tableau = TArrayOfInteger::StaticClass();
  items.Ajouter({objet, 7, nullptr});
  items.Ajouter({objet, -1, nullptr});
  items.Ajouter({objet, 3, nullptr});
  items.Ajouter({tableau, 9, nullptr});
  auto texte = [](const TypeItemInfoAcces& e) { return e.ClasseArticle->ClassName() + ":" + std::to_string(e.NumeroChamp); };
  EXPECT_EQ(Tries(items, texte),
            (std::vector<std::string>{"TArrayOfInteger:9", "TObject:3", "TObject:7", "TObject:-1"}));
}

// Interfaces compare by the object behind them: two interfaces of one object are the same element.
TEST(ArrayInstances, InterfacesByIdentity) {
  TArrayOfInteger x(32, true, false), y(32, true, false), z(32, true, false);
  IInterface* ix = static_cast<IInterface*>(&x);
  IInterface* iy = static_cast<IInterface*>(&y);
  TArrayOfIInterface a(32, true, false);
  a.Ajouter(ix);
  a.Ajouter(iy);
  int32_t i;
  EXPECT_TRUE(a.Chercher(iy, i));
  EXPECT_EQ(i, 1);
  EXPECT_TRUE(a.Chercher(static_cast<IInterface*>(Supports<ISerializable>(ix)), i));  // x through another interface
  EXPECT_EQ(i, 0);
  EXPECT_FALSE(a.Contient(static_cast<IInterface*>(&z)));
  EXPECT_TRUE(a.Supprimer(ix));
  EXPECT_FALSE(a.Contient(ix));
  EXPECT_TRUE(a.Contient(iy));

  TArrayOfIInterface unique(32, true, false);
  unique.SetAvecDoublons(false);
  EXPECT_EQ(unique.Ajouter(ix), 0);
  EXPECT_EQ(unique.Ajouter(ix), -1);
  EXPECT_EQ(unique.Ajouter(iy), 1);
}

TEST(ArrayInstances, ElementTraces) {
  TArrayOfCardinal cardinaux(4, false, false);
  cardinaux.Ajouter(4294967295u);
  EXPECT_EQ(TraceElements(cardinaux), "CARDINAL\r\n  Valeur = 4294967295\r\n");
  TArrayOfBooleen booleens(4, false, false);
  booleens.Ajouter(true);
  EXPECT_EQ(TraceElements(booleens), "Booleen\r\n  Valeur = True\r\n");
  std::string texte;
  TArrayOfBooleenTraits::ElementEnTexte(false, texte);
  EXPECT_EQ(texte, "False");
  TArrayOfInt64 grands(4, false, false);
  grands.Ajouter(-9000000000LL);
  EXPECT_EQ(TraceElements(grands), "INT64\r\n  Valeur = -9000000000\r\n");
  TArrayOfDouble doubles(4, false, false);
  doubles.Ajouter(0.1);
  EXPECT_EQ(TraceElements(doubles), "Double\r\n  Valeur = 0.1\r\n");
  TArrayOfReal reels(4, false, false);
  reels.Ajouter(2.5);
  EXPECT_EQ(TraceElements(reels), "Real\r\n  Valeur = 2.5\r\n");
  TArrayOfSingle simples(4, false, false);
  simples.Ajouter(0.1f);
  EXPECT_EQ(TraceElements(simples), "Single\r\n  Valeur = 0.100000001490116\r\n");
  TArrayOfString chaines(4, false, false);
  chaines.Ajouter("abc");
  EXPECT_EQ(TraceElements(chaines), "STRING\r\n  Valeur = abc\r\n");
  TArrayOfWideString larges(4, false, false);
  larges.Ajouter(u"d\u00e9j\u00e0");
  EXPECT_EQ(TraceElements(larges), "WideString\r\n  Valeur = " + std::string("déjà"_ansi) + "\r\n");
  TArrayOfTDateTime dates(4, false, false);
  dates.Ajouter(DateTime::EncodeDate(2024, 3, 5) + DateTime::EncodeTime(14, 7, 9, 0));
  dates.Ajouter(DateTime::EncodeDate(2024, 3, 5));
  EXPECT_EQ(TraceElements(dates),
            "TDateTime\r\n  Valeur = 05/03/2024 14:07:09\r\nTDateTime\r\n  Valeur = 05/03/2024\r\n");
  TArrayOfClasses classes(4, false, false);
  classes.Ajouter(TObject::StaticClass());
  EXPECT_EQ(TraceElements(classes), "TClass\r\n  Classe = TObject\r\n");
  TArrayOfItemInfoAcces items(4, false, false);
  items.Ajouter({TObject::StaticClass(), 3, nullptr});
  EXPECT_EQ(TraceElements(items), "TypeItemInfoAcces\r\n  ClasseArticle = TObject\r\n  NumeroChamp = 3\r\n");
  TArrayOfIInterface interfaces(4, false, false);
  interfaces.Ajouter(static_cast<IInterface*>(&items));
  EXPECT_EQ(TraceElements(interfaces), "IInterface\r\n");
}

// The object array shows each object's own complete trace inside its element block.
TEST(ArrayInstances, ObjectTracesNestTheObjectsOwnTrace) {
  TArrayOfTObject a(4, false, false);
  TArrayOfInteger interne(4, false, false);
  interne.Ajouter(8);
  TObject inerte;
  a.Ajouter(&interne);
  a.Ajouter(&inerte);
  EXPECT_EQ(TraceElements(a),
            "TObject\r\n"
            "  TArrayOfInteger\r\n"
            "    LibererElements = False\r\n"
            "    Dynamique = False\r\n"
            "    AvecDoublons = True\r\n"
            "    ToujoursTrie = False\r\n"
            "    TriInverse = False\r\n"
            "    ElementsParPage = 4\r\n"
            "    NombreTotalElements = 4\r\n"
            "    NombreElements = 1\r\n"
            "    INTEGER\r\n"
            "      Valeur = 8\r\n"
            "TObject\r\n");
}

namespace {
class TCompteur : public TObject {
 public:
  explicit TCompteur(int* vivants) : vivants_(vivants) { ++*vivants_; }
  ~TCompteur() override { --*vivants_; }

 private:
  int* vivants_;
};
}  // namespace

// Copying an owning object array shares the objects: the copy does not own them too, so each
// object is freed once, by the array that owned it.
TEST(ArrayInstances, CopyOfAnOwningObjectArrayDoesNotOwnTheSharedObjects) {
  int vivants = 0;
  auto source = std::make_unique<TArrayOfTObject>(4, false, true);
  source->Ajouter(new TCompteur(&vivants));
  source->Ajouter(new TCompteur(&vivants));
  TArrayOfTObject copie(4, false, false);
  copie.Assigner(source.get(), nullptr);
  EXPECT_FALSE(copie.GetLibererElements());
  EXPECT_EQ(copie.GetElement(1), source->GetElement(1));
  copie.Vider();
  EXPECT_EQ(vivants, 2);
  copie.Assigner(source.get(), nullptr);
  source.reset();
  EXPECT_EQ(vivants, 0);

  // A copy of an array that does not own its objects takes its options as they are.
  TArrayOfTObject proprietaire(4, false, true);
  TArrayOfTObject emprunteur(4, false, false);
  proprietaire.Assigner(&emprunteur, nullptr);
  EXPECT_FALSE(proprietaire.GetLibererElements());
}
