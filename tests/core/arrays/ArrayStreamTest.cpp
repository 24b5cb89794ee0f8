// Arrays in streams (the exact layout, round trips of every storage, corrupt streams refused) and
// arrays in traces.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/core/arrays/ArrayTestSupport.h"
#include "core/arrays/ArrayOfCardinal.h"
#include "core/arrays/ArrayOfInteger.h"
#include "core/arrays/ArrayOfTObject.h"
#include "core/objects/Erreur.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/serial/Serialisation.h"

namespace {
using Bytes = std::vector<uint8_t>;

// "07 00 ff" -> bytes.
Bytes H(const char* hex) {
  Bytes out;
  for (const char* p = hex; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    out.push_back(static_cast<uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Ecrit(TObject* a, bool commeObjet = false) {
  TBinaryFormatter f;
  if (commeObjet) f.EcrireObjet(a, nullptr);
  else InterfaceOf<ISerializable>(a)->Ecrire(&f, nullptr);
  return static_cast<TMemoryStream*>(f.Flux())->Bytes();
}

// Reads bytes into an array (Lire) or as an object (LireObjet).
void Lire(TObject* a, const Bytes& octets) {
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter f(&m);
  InterfaceOf<ISerializable>(a)->Lire(&f, nullptr);
}
std::unique_ptr<TObject> LireObjet(const Bytes& octets) {
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter f(&m);
  return std::unique_ptr<TObject>(f.LireObjet(nullptr));
}

const Bytes kExemple = H(
    "00 04000000 01 00 04000000 01 00000000 FFFFFF7F"
    " 02000000 01000100 00000000 05000000 02000000 07000000");
}  // namespace

TEST(ArrayStream, ContiguousArrayHasItsExactBytes) {
  TArrayOfInteger a(4, true, false);
  a.SetElementPosition(5, 0);
  a.SetElementPosition(7, 2);
  a.SetTriInverse(true);  // not written
  EXPECT_EQ(Ecrit(&a), kExemple);

  std::unique_ptr<TObject> blanc(TArrayOfInteger::StaticClass()->NewBlank());
  Lire(blanc.get(), kExemple);
  auto& lu = static_cast<TArrayOfInteger&>(*blanc);
  EXPECT_EQ(Cases(lu), "5 _ 7");
  EXPECT_EQ(lu.GetNombreTotalElements(), 4);
  EXPECT_EQ(lu.GetNombreElements(), 2);
  EXPECT_EQ(lu.GetElementsParPage(), 4);
  EXPECT_TRUE(lu.GetDynamique());
  EXPECT_FALSE(lu.GetLibererElements());
  EXPECT_TRUE(lu.GetAvecDoublons());
  EXPECT_FALSE(lu.GetToujoursTrie());
  EXPECT_FALSE(lu.GetTriInverse());
  EXPECT_EQ(lu.GetNombreElementsMax(), 2147483647);
}

TEST(ArrayStream, EmptyArrayWritesItsHeaderAndACountOfZero) {
  TArrayOfInteger a(32, false, false);
  EXPECT_EQ(Ecrit(&a), H("00 00000000 01 00 20000000 00 00000000 FFFFFF7F 00000000"));
}

TEST(ArrayStream, EveryStorageComesBackByItsClassName) {
  TArrayOfInteger contigu(4, false, false);
  TPagedArrayOfInteger pagine(4, false, false);
  TFixedArrayOfInteger fixe(6, false);
  for (TCustomArrayTemplate<TArrayOfIntegerTraits>* a :
       std::initializer_list<TCustomArrayTemplate<TArrayOfIntegerTraits>*>{&contigu, &pagine, &fixe}) {
    for (int32_t p = 0; p < 10; ++p) a->SetElementPosition(100 + p, p);
    a->Retirer(1, true);
    a->Retirer(6, true);
    a->SetAvecDoublons(false);
    a->SetModeComparaison(2);
  }
  for (TCustomArrayTemplate<TArrayOfIntegerTraits>* a :
       std::initializer_list<TCustomArrayTemplate<TArrayOfIntegerTraits>*>{&contigu, &pagine, &fixe}) {
    std::unique_ptr<TObject> objet = LireObjet(Ecrit(a, true));
    auto* lu = dynamic_cast<TCustomArrayTemplate<TArrayOfIntegerTraits>*>(objet.get());
    ASSERT_NE(lu, nullptr) << a->ClassName();
    EXPECT_EQ(lu->ClassName(), a->ClassName());
    EXPECT_EQ(Cases(*lu), Cases(*a)) << a->ClassName();
    EXPECT_EQ(lu->GetNombreElements(), a->GetNombreElements()) << a->ClassName();
    EXPECT_EQ(lu->GetNombreTotalElements(), a->GetNombreTotalElements()) << a->ClassName();
    EXPECT_FALSE(lu->GetAvecDoublons());
    EXPECT_EQ(lu->GetModeComparaison(), 2);
    // Still a working array.
    lu->Ajouter(1);
    EXPECT_EQ(lu->GetElementPosition(1), 1) << a->ClassName();
  }
}

namespace {
class TValeurLue : public TCustomSerializable {
  NV_DECLARE_CLASS(TValeurLue)
 public:
  static inline int vivantes = 0;
  explicit TValeurLue(int32_t v) : valeur(v) { ++vivantes; }
  explicit TValeurLue(TBlank b) : TCustomSerializable(b) { ++vivantes; }
  ~TValeurLue() override { --vivantes; }
  void Ecrire(IFormateur* f, TClasseFormat) override { f->EcrireEntier(valeur); }
  void Lire(IFormateur* f, TClasseFormat) override { f->LireEntier(valeur); }
  int32_t valeur = 0;
};
NV_DEFINE_CLASS(TValeurLue, TCustomSerializable)
}  // namespace

TEST(ArrayStream, OwnedObjectsComeBackOwned) {
  TGestionnaireNomsDeClasse::Enregistrer(TValeurLue::StaticClass());
  Bytes octets;
  {
    TPagedArrayOfTObject a(2, false, true);
    for (int32_t v : {4, 5, 6}) a.Ajouter(new TValeurLue(v));
    a.SetElementPosition(nullptr, 5);
    octets = Ecrit(&a, true);
  }
  ASSERT_EQ(TValeurLue::vivantes, 0);
  {
    std::unique_ptr<TObject> objet = LireObjet(octets);
    auto& lu = dynamic_cast<TPagedArrayOfTObject&>(*objet);
    ASSERT_EQ(lu.GetNombreElements(), 4);
    EXPECT_EQ(static_cast<TValeurLue*>(lu.GetElement(2))->valeur, 6);
    EXPECT_EQ(lu.GetElementPosition(5), nullptr);
    EXPECT_EQ(TValeurLue::vivantes, 3);
  }
  EXPECT_EQ(TValeurLue::vivantes, 0);
  // A page that claims to own its objects is refused, and each object read is freed once.
  Bytes pageProprietaire = octets;
  const std::string page = "TArrayOfTObject";
  const auto nomPage = std::search(pageProprietaire.begin(), pageProprietaire.end(), page.begin(), page.end());
  ASSERT_NE(nomPage, pageProprietaire.end());
  uint8_t& liberer = *(nomPage + static_cast<std::ptrdiff_t>(page.size() + 7));  // after the format name "NIL"
  ASSERT_EQ(liberer, 0);
  liberer = 1;
  EXPECT_THROW(LireObjet(pageProprietaire), EReadError);
  EXPECT_EQ(TValeurLue::vivantes, 0);
  // A stream cut inside the third object: the objects already read do not stay behind.
  octets.resize(octets.size() - 10);
  EXPECT_THROW(LireObjet(octets), EReadError);
  EXPECT_EQ(TValeurLue::vivantes, 0);
}

// A non-owning object array hands the objects it read to its reader's caller; when an enclosing read
// is given up after it, those objects go too.
TEST(ArrayStream, ObjectsOfANonOwningArrayGoWithAReadThatIsGivenUp) {
  TGestionnaireNomsDeClasse::Enregistrer(TValeurLue::StaticClass());
  auto nonPossedant = [] {
    TArrayOfTObject a(4, false, false);
    TValeurLue v(7);
    a.Ajouter(&v);
    return Ecrit(&a, true);
  };
  struct Cas {
    const char* nom;
    std::function<Bytes()> flux;
  };
  const Cas cas[] = {
      {"inside an owning array cut short",
       [] {
         TValeurLue v(7);
         auto* interieur = new TArrayOfTObject(4, false, false);
         interieur->Ajouter(&v);
         TArrayOfTObject a(4, false, true);
         a.Ajouter(interieur);
         a.Ajouter(new TValeurLue(2));
         Bytes b = Ecrit(&a, true);
         b.resize(b.size() - Ecrit(a.GetElement(1), true).size() - 2);  // cut in the last position
         return b;
       }},
      {"as the page of a paged array of integers",
       [&] {
         TPagedArrayOfInteger a(4, false, false);
         a.SetElementPosition(1, 0);
         Bytes b = Ecrit(&a, true);
         TArrayOfInteger page(4, true, false);
         page.SetElementPosition(1, 0);
         b.resize(b.size() - Ecrit(&page, true).size());
         return b + nonPossedant();
       }},
      {"as a child of an error tree",
       [&] {
         TErreur e("racine");
         Bytes b = Ecrit(&e, true);
         b[b.size() - 4] = 1;  // one child
         return b + nonPossedant();
       }},
  };
  for (const Cas& c : cas) {
    const Bytes b = c.flux();
    const int avant = TValeurLue::vivantes;
    EXPECT_ANY_THROW(LireObjet(b)) << c.nom;
    EXPECT_EQ(TValeurLue::vivantes, avant) << c.nom;
  }
}

// Every size, count and position is checked against the stream; a failed read leaves the array
// as it was.
TEST(ArrayStream, CorruptContiguousStreamsRaiseTheReadError) {
  struct Cas {
    const char* nom;
    std::function<void(Bytes&)> alteration;
  };
  auto entier = [](Bytes& b, std::size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  const Cas cas[] = {
      {"page size 0", [&](Bytes& b) { entier(b, 7, 0); }},
      {"negative page size", [&](Bytes& b) { entier(b, 7, 0xFFFFFFFF); }},
      {"negative capacity", [&](Bytes& b) { entier(b, 1, 0x80000000); }},
      {"capacity past the stream", [&](Bytes& b) { entier(b, 1, 100000); }},
      {"count above capacity", [&](Bytes& b) { entier(b, 20, 5); }},
      {"count differs from the slots", [&](Bytes& b) { entier(b, 20, 1); }},
      {"negative count", [&](Bytes& b) { entier(b, 20, 0xFFFFFFFF); }},
      {"position on an empty slot", [&](Bytes& b) { entier(b, 36, 1); }},
      {"position past capacity", [&](Bytes& b) { entier(b, 36, 4); }},
      {"positions out of order", [&](Bytes& b) { entier(b, 28, 2); }},
      {"cut in the header", [](Bytes& b) { b.resize(10); }},
      {"cut in the slots", [](Bytes& b) { b.resize(26); }},
      {"cut in an element", [](Bytes& b) { b.resize(42); }},
  };
  for (const Cas& c : cas) {
    Bytes b = kExemple;
    c.alteration(b);
    TArrayOfInteger a(8, false, false);
    a.SetElementPosition(3, 1);
    EXPECT_THROW(Lire(&a, b), EReadError) << c.nom;
    EXPECT_EQ(Cases(a), "_ 3") << c.nom;
    EXPECT_EQ(a.GetElementsParPage(), 8) << c.nom;
  }
}

TEST(ArrayStream, CorruptPagedStreamsAreRefused) {
  auto prefixe = [](const std::string& nom) {
    Bytes b(4);
    for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(i)] = static_cast<uint8_t>(nom.size() >> (8 * i));
    b.insert(b.end(), nom.begin(), nom.end());
    return b;
  };
  TPagedArrayOfInteger a(8, false, false);
  a.SetElementPosition(1, 0);
  a.SetElementPosition(2, 7);
  const Bytes nom = prefixe("TPagedArrayOfInteger") + prefixe("NIL");
  const Bytes corps = Ecrit(&a);
  // Pages hold up to 8 positions: read with a page size of 4 they do not fit.
  Bytes petitesPages = corps;
  petitesPages[7] = 4;
  EXPECT_THROW(LireObjet(nom + petitesPages), EReadError);
  // A page count larger than the stream.
  Bytes nombre = corps;
  nombre[20] = 0xFF;
  nombre[21] = 0xFF;
  EXPECT_THROW(LireObjet(nom + nombre), EReadError);
  // A nil page.
  Bytes nil(corps.begin(), corps.begin() + 20);
  nil.insert(nil.end(), {1, 0, 0, 0});
  const Bytes texteNil = prefixe("NIL");
  nil.insert(nil.end(), texteNil.begin(), texteNil.end());
  EXPECT_THROW(LireObjet(nom + nil), EReadError);
  // A page of another instance.
  TPagedArrayOfCardinal c(8, false, false);
  c.SetElementPosition(1, 0);
  EXPECT_THROW(LireObjet(nom + Ecrit(&c)), EInvalidCast);
  // The intact stream reads.
  EXPECT_NO_THROW(LireObjet(nom + corps));
}

// A page size out of all proportion with the stream is refused before any slot is allocated: the
// capacity read is rounded up to a whole page, so these 51 bytes once asked for 2^31 - 1 slots.
TEST(ArrayStream, HugeDeclaredPageSizeIsRefusedAtOnce) {
  const Bytes entier = H(
      "0f0000005441727261794f66496e7465676572030000004e494c00010000000100ffffff7f00000000000000"
      "00000000000000");
  const Bytes corps(entier.begin() + 26, entier.end());
  auto avecNom = [&](const std::string& classe) {
    Bytes b{static_cast<uint8_t>(classe.size()), 0, 0, 0};
    b.insert(b.end(), classe.begin(), classe.end());
    return b + H("03000000 4E494C") + corps;
  };
  EXPECT_EQ(avecNom("TArrayOfInteger"), entier);
  for (const char* classe : {"TArrayOfInteger", "TFixedArrayOfInteger", "TArrayOfString", "TPagedArrayOfInteger"})
    EXPECT_THROW(LireObjet(avecNom(classe)), EReadError) << classe;
  // The largest page size a stream may declare still reads.
  TArrayOfInteger grand(TemplateArray::kElementsParPageLuMax, false, false);
  grand.SetElementPosition(9, 1);
  const std::unique_ptr<TObject> lu = LireObjet(Ecrit(&grand, true));
  const auto* relu = static_cast<const TArrayOfInteger*>(lu.get());
  EXPECT_EQ(relu->GetElementsParPage(), TemplateArray::kElementsParPageLuMax);
  EXPECT_EQ(relu->GetElementPosition(1), 9);
}

// A page of a paged array has the array's page size, holds no slot or a whole page, and never owns
// its elements (the paged array does).
TEST(ArrayStream, PageOfAnotherSizeOrThatOwnsItsElementsIsRefused) {
  TPagedArrayOfInteger a(8, false, false);
  a.SetElementPosition(1, 0);
  Bytes b = Ecrit(&a, true);
  // The stream ends with its one page, written as an object: a page of 8 slots holding 1 at 0.
  TArrayOfInteger sienne(8, true, false);
  sienne.SetElementPosition(1, 0);
  b.resize(b.size() - Ecrit(&sienne, true).size());
  struct Cas {
    const char* nom;
    int32_t parPage;
    bool liberer;
    bool refusee;
  };
  for (const Cas& c : {Cas{"its own page", 8, false, false}, Cas{"another page size", 4, false, true},
                       Cas{"a page that owns its elements", 8, true, true}}) {
    TArrayOfInteger page(c.parPage, true, c.liberer);
    page.SetElementPosition(1, 0);
    if (c.refusee) EXPECT_THROW(LireObjet(b + Ecrit(&page, true)), EReadError) << c.nom;
    else EXPECT_NO_THROW(LireObjet(b + Ecrit(&page, true))) << c.nom;
  }
}

// ---- tracing --------------------------------------------------------------------------------------

TEST(ArrayTrace, CompleteTraceIsTheHeaderThenOneBlockPerElement) {
  TArrayOfInteger a(4, true, false);
  a.SetElementPosition(5, 0);
  a.SetElementPosition(-7, 2);
  TCustomTraceur traceur("");
  std::string texte;
  a.TracerComplet(true, &traceur, texte);
  EXPECT_EQ(texte,
            "TArrayOfInteger\r\n"
            "  LibererElements = False\r\n"
            "  Dynamique = True\r\n"
            "  AvecDoublons = True\r\n"
            "  ToujoursTrie = False\r\n"
            "  TriInverse = False\r\n"
            "  ElementsParPage = 4\r\n"
            "  NombreTotalElements = 4\r\n"
            "  NombreElements = 2\r\n"
            "  INTEGER\r\n"
            "    Valeur = 5\r\n"
            "  INTEGER\r\n"
            "    Valeur = -7\r\n");
  EXPECT_EQ(traceur.Niveau(), 0);
}

TEST(ArrayTrace, SummaryAndSwitchedOffTrace) {
  std::string texte = "x";
  TCustomArrayTemplate<TArrayOfIntegerTraits>::TracerResume(nullptr, true, texte);
  EXPECT_EQ(texte, "NULL");
  TArrayOfInteger a(4, true, false);
  a.Ajouter(1);
  a.TracerResume(false, texte);
  EXPECT_EQ(texte, "");
  a.TracerResume(true, texte);
  EXPECT_EQ(texte.rfind("TArrayOfInteger\r\n", 0), 0u);
  EXPECT_NE(texte.find("    Valeur = 1\r\n"), std::string::npos);
  ITracable* tracable = Supports<ITracable>(static_cast<IInterface*>(&a));
  ASSERT_NE(tracable, nullptr);
  tracable->TracerResume(texte);
  EXPECT_EQ(texte, "");
  tracable->SetTraceActive(false);
  TCustomTraceur traceur("");
  for (int op = 0; op < 4; ++op) {
    texte = "x";
    if (op == 0) a.TracerEntete(&traceur, texte);
    if (op == 1) a.TracerContenu(true, &traceur, texte);
    if (op == 2) a.TracerComplet(true, &traceur, texte);
    if (op == 3) tracable->TracerComplet(true, &traceur, texte);
    EXPECT_EQ(texte, "") << op;
  }
  EXPECT_EQ(traceur.Compteur(), 0);
}
