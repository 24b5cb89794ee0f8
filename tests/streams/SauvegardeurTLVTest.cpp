// TLV documents of property trees: the byte layout, the passing over of values, the errors with
// their exact texts, hostile lengths and depths, and round trips of random trees.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "streams/SauvegardeurTLV.h"
#include "tests/streams/DocumentsTLV.h"

using EssaiTLV::AttendreErreur;
using EssaiTLV::TOctets;

namespace {

std::string Ecrit(const TProprietes& t) {
  TMemoryStream flux;
  TSauvegardeurTLV::EcrireTLV(&t, flux);
  return flux.AsString();
}

// The document of the shared grid flag with RemonterExceptions true.
const std::string& Document71() {
  static const std::string octets = EssaiTLV::DocumentCommun(1);
  return octets;
}

// Reads Octets and expects the error E with Texte, the stream left within its bounds.
template <class E>
void LectureRefusee(const std::string& octets, const std::string& texte) {
  TMemoryStream flux;
  EssaiTLV::Charger(flux, octets);
  TProprietes t;
  AttendreErreur<E>([&] { (void)TSauvegardeurTLV::LireTLV(t, flux); }, texte);
  EXPECT_LE(flux.Position(), static_cast<int64_t>(octets.size()));
}

const std::string kErreurLecture = "Stream read error";
const std::string kTropProfond = "Corruption : imbrication trop profonde";

// One document nested in another Niveaux times: each level holds "a", a sub-tree; the last is empty.
std::string Imbrique(int niveaux) {
  TOctets o;
  for (int i = 1; i < niveaux; ++i) o.Entete().Entier(1).Nom("a", 6);
  o.Entete().Entier(0);
  return o.Octets();
}

}  // namespace

// The sanitizers' allocation hooks, present when the tests run under AddressSanitizer: they let a
// test see the largest block the reader asks for.
extern "C" __attribute__((weak)) int __sanitizer_install_malloc_and_free_hooks(
    void (*Allocation)(const volatile void*, std::size_t), void (*Liberation)(const volatile void*));

namespace {

std::atomic<bool> gMesure{false};
std::atomic<std::size_t> gPlusGrandBloc{0};

void SurAllocation(const volatile void*, std::size_t Taille) {
  if (!gMesure.load(std::memory_order_relaxed)) return;
  std::size_t plusGrand = gPlusGrandBloc.load(std::memory_order_relaxed);
  while (Taille > plusGrand && !gPlusGrandBloc.compare_exchange_weak(plusGrand, Taille)) {
  }
}
void SurLiberation(const volatile void*) {}

// The largest block allocated while reading Octets (the error is expected and checked elsewhere);
// false when the allocations cannot be seen.
bool PlusGrandBlocLu(const std::string& Octets, std::size_t& PlusGrand) {
  static const bool installe = __sanitizer_install_malloc_and_free_hooks != nullptr &&
                               __sanitizer_install_malloc_and_free_hooks(SurAllocation, SurLiberation) != 0;
  if (!installe) return false;
  TMemoryStream flux;
  EssaiTLV::Charger(flux, Octets);
  TProprietes t;
  gPlusGrandBloc = 0;
  gMesure = true;
  try {
    (void)TSauvegardeurTLV::LireTLV(t, flux);
  } catch (const std::exception&) {
  }
  gMesure = false;
  PlusGrand = gPlusGrandBloc;
  return true;
}

}  // namespace

TEST(DocumentTLV, TheSharedFlagDocumentIs71Bytes) {
  TProprietes t;
  t.Ajouter("ProprietesCommunes", TProprietes::ValeurProprietes(nullptr));
  t.Ajouter("ProprietesCommunes.RemonterExceptions", TProprietes::ValeurBooleen(1));
  ASSERT_EQ(Document71().size(), 71u);
  EXPECT_EQ(Ecrit(t), Document71());
  TMemoryStream flux;
  EssaiTLV::Charger(flux, Document71() + "suite");
  TProprietes relu;
  EXPECT_EQ(TSauvegardeurTLV::LireTLV(relu, flux), 0);
  EXPECT_EQ(flux.Position(), 71);
  EXPECT_TRUE(TProprietes::ValeurEnBooleen(relu.Lire("ProprietesCommunes.RemonterExceptions")));
  EXPECT_EQ(Ecrit(relu), Document71());
}

TEST(DocumentTLV, AnEmptyTreeIsTenBytesAndReadingEmptiesTheTree) {
  TProprietes vide;
  const std::string octets = Ecrit(vide);
  EXPECT_EQ(octets, std::string("TLVtlv\0\0\0\0", 10));
  TProprietes t;
  t.Ajouter("ancien", TProprietes::ValeurEntier(1));
  TMemoryStream flux;
  EssaiTLV::Charger(flux, octets);
  EXPECT_EQ(TSauvegardeurTLV::LireTLV(t, flux), 0);
  EXPECT_EQ(t.Nombre(), 0);
  EXPECT_EQ(flux.Position(), 10);
  // No tree at all writes nothing.
  TMemoryStream rien;
  TSauvegardeurTLV::EcrireTLV(nullptr, rien);
  EXPECT_EQ(rien.Size(), 0);
}

TEST(DocumentTLV, EveryKindIsWrittenWithItsSize) {
  TProprietes t;
  t.Ajouter("a", TProprietes::ValeurEntier(-2));
  t.Ajouter("b", TProprietes::ValeurCardinal(0x01020304u));
  t.Ajouter("c", TProprietes::ValeurHuitOctets({1, 2, 3, 4, 5, 6, 7, 8}));
  t.Ajouter("d", TProprietes::ValeurEtendu({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  t.Ajouter("e", TProprietes::ValeurChaine(""));
  t.Ajouter("f", TProprietes::ValeurBooleen(2));
  const uint8_t un = 0xAA;
  t.AjouterProp("g", TProprietes::TValeurProp::CreateEnsemble(&un, 1), false);
  t.AjouterProp("h", TProprietes::TValeurProp::CreateBlob(&un, 1), false);
  t.Ajouter("i", TProprietes::ValeurChaine(std::string("x\0y", 3)));
  const std::string attendu = TOctets()
                                  .Entete()
                                  .Entier(9)
                                  .Nom("a", 0).Entier(4).Entier(-2)
                                  .Nom("b", 1).Entier(4).Entier(0x01020304)
                                  .Nom("c", 2).Entier(8).Texte("\x01\x02\x03\x04\x05\x06\x07\x08")
                                  .Nom("d", 3).Entier(10).Texte("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A")
                                  .Nom("e", 4).Entier(0)
                                  .Nom("f", 5).Entier(1).Octet(2)
                                  .Nom("g", 7).Entier(32).Octet(0xAA).Zeros(31)
                                  .Nom("h", 8).Entier(1).Octet(0xAA)
                                  .Nom("i", 4).Entier(3).Texte(std::string("x\0y", 3))
                                  .Octets();
  EXPECT_EQ(Ecrit(t), attendu);
  TMemoryStream flux;
  EssaiTLV::Charger(flux, attendu);
  TProprietes relu;
  ASSERT_EQ(TSauvegardeurTLV::LireTLV(relu, flux), 0);
  EXPECT_TRUE(EssaiTLV::MemesArbres(t, relu));
  EXPECT_EQ(relu.Lire("e").Chaine, "");
  EXPECT_EQ(relu.Lire("f").Booleen, 2);
  EXPECT_EQ(relu.Lire("i").Chaine, std::string("x\0y", 3));
}

TEST(DocumentTLV, ValuesOfAnUnexpectedSizeOrKindArePassedOver) {
  struct Cas {
    const char* nom;
    std::string octets;
    int32_t inconnues;
  };
  const Cas cas[] = {
      {"integer of 8 bytes", TOctets().Entete().Entier(2).Nom("a", 0).Entier(8).Zeros(8).Nom("b", 0).Entier(4).Entier(5).Octets(), 0},
      {"boolean of 0 bytes", TOctets().Entete().Entier(2).Nom("a", 5).Entier(0).Nom("b", 0).Entier(4).Entier(5).Octets(), 0},
      {"set of 31 bytes", TOctets().Entete().Entier(2).Nom("a", 7).Entier(31).Zeros(31).Nom("b", 0).Entier(4).Entier(5).Octets(), 0},
      {"tag 9 of 3 bytes", TOctets().Entete().Entier(2).Nom("a", 9).Entier(3).Zeros(3).Nom("b", 0).Entier(4).Entier(5).Octets(), 1},
      {"tag 255 of 0 bytes", TOctets().Entete().Entier(2).Nom("a", 255).Entier(0).Nom("b", 0).Entier(4).Entier(5).Octets(), 1},
      {"tag 9 in a nested document",
       TOctets().Entete().Entier(2).Nom("a", 6).Entete().Entier(2).Nom("x", 9).Entier(3).Zeros(3).Nom("y", 12).Entier(0)
           .Nom("b", 0).Entier(4).Entier(5).Octets(), 2},
  };
  for (const Cas& c : cas) {
    TMemoryStream flux;
    EssaiTLV::Charger(flux, c.octets + "@");
    TProprietes t;
    EXPECT_EQ(TSauvegardeurTLV::LireTLV(t, flux), c.inconnues) << c.nom;
    EXPECT_EQ(flux.Position(), static_cast<int64_t>(c.octets.size())) << c.nom;
    EXPECT_EQ(t.Lire("b").Entier, 5) << c.nom;
    EXPECT_EQ(t.Existe("a"), c.nom == std::string("tag 9 in a nested document")) << c.nom;
    if (t.Existe("a")) {
      EXPECT_EQ(t.Lire("a").Proprietes->Nombre(), 0);
    }
  }
}

TEST(DocumentTLV, MalformedDocumentsRaiseTheirText) {
  struct Cas {
    std::string octets;
    std::string texte;
  };
  const Cas cas[] = {
      {"ABCDEF" + std::string(4, '\0'), "Header \"TLVtlv\" non respect\xE9, trouv\xE9 $414243444546"},
      {TOctets().Texte("tlvTLV").Entier(0).Octets(), "Header \"TLVtlv\" non respect\xE9, trouv\xE9 $746C76544C56"},
      {TOctets().Entete().Entier(-1).Octets(), "Corruption : header indique -1 propri\xE9t\xE9s"},
      {TOctets().Entete().Entier(INT32_MIN).Octets(), "Corruption : header indique -2147483648 propri\xE9t\xE9s"},
      {TOctets().Entete().Entier(1).Entier(0).Octets(), "Corruption : nom de propri\xE9t\xE9 vide"},
      {TOctets().Entete().Entier(1).Entier(-3).Octets(), "Corruption : nom de propri\xE9t\xE9 vide"},
      {TOctets().Entete().Entier(1).Nom("a", 0).Entier(-1).Octets(), "Corruption : taille de propri\xE9t\xE9 vide"},
      {TOctets().Entete().Entier(1).Nom("a", 9).Entier(-1).Octets(), "Corruption : taille de propri\xE9t\xE9 vide"},
      {TOctets().Entete().Entier(1).Nom("a", 6).Texte("TLVTLV").Entier(0).Octets(),
       "Header \"TLVtlv\" non respect\xE9, trouv\xE9 $544C56544C56"},
  };
  for (const Cas& c : cas) LectureRefusee<EExceptionSauvegardeurTLV>(c.octets, c.texte);
}

TEST(DocumentTLV, ANameReadTwiceInAnyCaseEndsTheReading) {
  for (const auto& [premier, second] : {std::pair{"a", "A"}, std::pair{"Nom", "nOM"}}) {
    const std::string octets =
        TOctets().Entete().Entier(3).Nom(premier, 0).Entier(4).Entier(1).Nom(second, 0).Entier(4).Entier(2).Nom("z", 0)
            .Entier(4).Entier(3).Octets();
    TMemoryStream flux;
    EssaiTLV::Charger(flux, octets);
    TProprietes t;
    AttendreErreur<EExceptionProprieteDoublon>([&] { (void)TSauvegardeurTLV::LireTLV(t, flux); },
                                               std::string("Propri\xE9t\xE9 en double : ") + second);
    // The tree holds what was stored before the error.
    ASSERT_EQ(t.Nombre(), 1);
    EXPECT_EQ(t.Lire(premier).Entier, 1);
  }
}

TEST(DocumentTLV, TreesThatCannotBeWrittenRaiseAfterTheEntriesBeforeThem) {
  // The empty name is a name of the tree, but not of a document.
  TProprietes vide;
  vide.Ajouter("", TProprietes::ValeurEntier(2));
  EXPECT_EQ(vide.Lire("").Entier, 2);
  TProprietes t;
  t.Ajouter("a", TProprietes::ValeurEntier(1));
  t.Ajouter("b", TProprietes::ValeurProprietes(&vide));
  TMemoryStream flux;
  AttendreErreur<EExceptionSauvegardeurTLV>([&] { TSauvegardeurTLV::EcrireTLV(&t, flux); },
                                            "EcrireTLV : \xE9" "criture d'une propri\xE9t\xE9 de nom vide");
  EXPECT_EQ(flux.AsString(), TOctets().Entete().Entier(2).Nom("a", 0).Entier(4).Entier(1).Nom("b", 6).Entete().Entier(1).Octets());

  // A record built by hand with a kind above the last one.
  TypeValeurProp etrange = TProprietes::ValeurEntier(3);
  etrange.Genre = static_cast<TGenreValeurProp>(9);
  TProprietes u;
  u.Ajouter("a", TProprietes::ValeurEntier(1));
  u.Ajouter("c", etrange);
  EXPECT_EQ(u.Lire("c").Genre, 9);
  TMemoryStream flux2;
  AttendreErreur<EExceptionSauvegardeurTLV>([&] { TSauvegardeurTLV::EcrireTLV(&u, flux2); },
                                            "Tag de type 9 inconnu dans EcrireTLV");
  EXPECT_EQ(flux2.AsString(), TOctets().Entete().Entier(2).Nom("a", 0).Entier(4).Entier(1).Octets());
}

TEST(DocumentTLVHostile, LengthsBeyondTheInputAreTheStreamsReadError) {
  const std::string cas[] = {
      TOctets().Entete().Entier(1).Entier(0x7FFFFFFF).Texte("abc").Octets(),
      TOctets().Entete().Entier(0x7FFFFFFF).Entier(5).Octets(),
      TOctets().Entete().Entier(0x7FFFFFFF).Nom("a", 0).Entier(4).Entier(1).Octets(),
      TOctets().Entete().Entier(1).Nom("a", 4).Entier(0x7FFFFFFF).Texte("abc").Octets(),
      TOctets().Entete().Entier(1).Nom("a", 8).Entier(0x7FFFFFFF).Texte("abc").Octets(),
      TOctets().Entete().Entier(1).Nom("a", 9).Entier(0x7FFFFFFF).Texte("abc").Octets(),
      TOctets().Entete().Entier(1).Nom("a", 0).Entier(0x7FFFFFFF).Texte("abc").Octets(),
      TOctets().Entete().Entier(1).Nom("a", 4).Entier(4).Texte("abc").Octets(),
      TOctets().Texte("TLV").Octets(),
      std::string(),
  };
  for (const std::string& octets : cas) LectureRefusee<EReadError>(octets, kErreurLecture);
  // Nothing is allocated from a stored length or count: the blocks stay within the size of the
  // input and of the reader's own small objects.
  for (const std::string& octets : cas) {
    std::size_t plusGrand = 0;
    if (!PlusGrandBlocLu(octets, plusGrand)) GTEST_SKIP() << "allocations are seen under AddressSanitizer only";
    EXPECT_LE(plusGrand, octets.size() + 1024) << octets.size();
  }
}

TEST(DocumentTLVHostile, EveryTruncationOfAGoodDocumentIsAReadError) {
  for (std::size_t n = 0; n < Document71().size(); ++n) {
    SCOPED_TRACE(n);
    LectureRefusee<EReadError>(Document71().substr(0, n), kErreurLecture);
  }
}

TEST(DocumentTLVHostile, NestingStopsAt64Documents) {
  TMemoryStream flux;
  EssaiTLV::Charger(flux, Imbrique(FormatTLV::kImbricationMaximale));
  TProprietes t;
  EXPECT_EQ(TSauvegardeurTLV::LireTLV(t, flux), 0);
  EXPECT_EQ(flux.Position(), flux.Size());
  std::string chemin = "a";
  for (int i = 2; i < FormatTLV::kImbricationMaximale; ++i) chemin += ".a";
  EXPECT_EQ(t.Lire(chemin).Proprietes->Nombre(), 0);
  // What was read is written back as it was, and one level more cannot be written.
  EXPECT_EQ(Ecrit(t), Imbrique(FormatTLV::kImbricationMaximale));
  const_cast<TProprietes*>(t.Lire(chemin).Proprietes)->Ajouter("a", TProprietes::ValeurProprietes(nullptr));
  TMemoryStream sortie;
  AttendreErreur<EExceptionSauvegardeurTLV>([&] { TSauvegardeurTLV::EcrireTLV(&t, sortie); }, kTropProfond);

  for (int niveaux : {FormatTLV::kImbricationMaximale + 1, 10000}) {
    SCOPED_TRACE(niveaux);
    LectureRefusee<EExceptionSauvegardeurTLV>(Imbrique(niveaux), kTropProfond);
  }
}

namespace {

// A random tree of every kind, Profondeur levels at most.
std::unique_ptr<TProprietes> ArbreAleatoire(std::mt19937& alea, int profondeur) {
  auto t = std::make_unique<TProprietes>();
  const int nombre = static_cast<int>(alea() % 8);
  for (int i = 0; i < nombre; ++i) {
    std::string nom;
    const int longueur = 1 + static_cast<int>(alea() % 6);
    for (int k = 0; k < longueur; ++k) {
      char c = static_cast<char>(alea() % 256);
      if (c == '.') c = '_';
      nom += c;
    }
    std::vector<uint8_t> octets(alea() % 40);
    for (uint8_t& o : octets) o = static_cast<uint8_t>(alea());
    std::array<uint8_t, 8> huit{};
    std::array<uint8_t, 10> etendu{};
    for (uint8_t& o : huit) o = static_cast<uint8_t>(alea());
    for (uint8_t& o : etendu) o = static_cast<uint8_t>(alea());
    const std::string texte(octets.begin(), octets.end());
    std::unique_ptr<TProprietes::TValeurProp> v;
    switch (alea() % 9) {
      case 0: v = TProprietes::TValeurProp::Create(TProprietes::ValeurEntier(static_cast<int32_t>(alea()))); break;
      case 1: v = TProprietes::TValeurProp::Create(TProprietes::ValeurCardinal(alea())); break;
      case 2: v = TProprietes::TValeurProp::Create(TProprietes::ValeurHuitOctets(huit)); break;
      case 3: v = TProprietes::TValeurProp::Create(TProprietes::ValeurEtendu(etendu)); break;
      case 4: v = TProprietes::TValeurProp::Create(TProprietes::ValeurChaine(texte)); break;
      case 5: v = TProprietes::TValeurProp::Create(TProprietes::ValeurBooleen(static_cast<uint8_t>(alea()))); break;
      case 6:
        v = TProprietes::TValeurProp::CreateProprietes(profondeur > 1 ? ArbreAleatoire(alea, profondeur - 1) : nullptr);
        break;
      case 7: v = TProprietes::TValeurProp::CreateEnsemble(octets.data(), static_cast<int32_t>(octets.size())); break;
      default: v = TProprietes::TValeurProp::CreateBlob(octets); break;
    }
    try {
      t->AjouterProp(nom, std::move(v), false);
    } catch (const EExceptionProprieteDoublon&) {
      // a name drawn twice: the first one stays
    }
  }
  return t;
}

}  // namespace

TEST(DocumentTLV, RandomTreesWriteReadAndWriteAgainToTheSameBytes) {
  std::mt19937 alea(50);
  int genres[9] = {};
  for (int essai = 0; essai < 300; ++essai) {
    const std::unique_ptr<TProprietes> t = ArbreAleatoire(alea, 5);
    const std::string octets = Ecrit(*t);
    TMemoryStream flux;
    EssaiTLV::Charger(flux, octets);
    TProprietes relu;
    ASSERT_EQ(TSauvegardeurTLV::LireTLV(relu, flux), 0);
    ASSERT_EQ(flux.Position(), flux.Size());
    ASSERT_TRUE(EssaiTLV::MemesArbres(*t, relu)) << essai;
    ASSERT_EQ(Ecrit(relu), octets) << essai;
    for (int32_t i = 0; i < t->Nombre(); ++i) {
      std::string_view nom;
      TypeValeurProp v;
      t->Element(i, nom, v);
      ++genres[v.Genre];
    }
  }
  for (int g = 0; g < 9; ++g) EXPECT_GT(genres[g], 0) << g;
}
