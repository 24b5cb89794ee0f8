// Property trees: paths, the sorted levels, the kinds of value, ownership and the errors with their
// exact texts.
#include <gtest/gtest.h>

#include <cstring>

#include "streams/Proprietes.h"
#include "tests/streams/DocumentsTLV.h"

using EssaiTLV::AttendreErreur;

namespace {

const std::string kPathInvalideAccentue = "Path invalide : sous-propri\xE9t\xE9 de type 0 et non 6 (tvProprietes)";
const std::string kPathInvalideStockage = "Path invalide : sous-propriete de type 0 et non 6 (tvProprietes)";

std::vector<std::string> Noms(const TProprietes& t) {
  std::vector<std::string> noms;
  for (int32_t i = 0; i < t.Nombre(); ++i) {
    std::string_view nom;
    TypeValeurProp v;
    t.Element(i, nom, v);
    noms.emplace_back(nom);
  }
  return noms;
}

// A tree with a sub-tree "a" holding the integer "b", and the integer "x".
struct ArbreEssai {
  TProprietes t;
  ArbreEssai() {
    t.Ajouter("a", TProprietes::ValeurProprietes(nullptr));
    t.Ajouter("a.b", TProprietes::ValeurEntier(7));
    t.Ajouter("x", TProprietes::ValeurEntier(1));
  }
};

}  // namespace

TEST(CheminsDeProprietes, SplitAtTheFirstDot) {
  struct Cas {
    const char* chemin;
    const char* premier;
    const char* reste;
  };
  const Cas cas[] = {{"a", "a", ""}, {"a.b.c", "a", "b.c"}, {"a.", "a", ""}, {"", "", ""}, {"a..b", "a", ".b"}};
  for (const Cas& c : cas) {
    std::string_view premier = "?", reste = "?";
    TProprietes::DecouperChemin(c.chemin, premier, reste);
    EXPECT_EQ(premier, c.premier) << c.chemin;
    EXPECT_EQ(reste, c.reste) << c.chemin;
  }
}

TEST(CheminsDeProprietes, ALeadingDotIsRefusedByEveryOperation) {
  ArbreEssai e;
  const std::string texte = "S\xE9parateur \".\" mal plac\xE9 dans \".a\"";
  TypeValeurProp v;
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Chercher(".a", v); }, texte);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Existe(".a"); }, texte);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Lire(".a"); }, texte);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { e.t.Ajouter(".a", TProprietes::ValeurEntier(0)); }, texte);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Extraire(".a"); }, texte);
  // Two dots in a row fail at the level where the remainder begins with the dot.
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Chercher("a..b", v); },
                                                  "S\xE9parateur \".\" mal plac\xE9 dans \".b\"");
  EXPECT_EQ(e.t.Nombre(), 2);
}

TEST(CheminsDeProprietes, ATrailingDotNamesTheSameEntry) {
  ArbreEssai e;
  TypeValeurProp v;
  ASSERT_TRUE(e.t.Chercher("x.", v));
  EXPECT_EQ(v.Entier, 1);
  EXPECT_TRUE(e.t.Existe("a.b."));
  EXPECT_EQ(e.t.Lire("a.b.").Entier, 7);
}

TEST(LectureDeProprietes, AnEmptyTreeHasNothing) {
  TProprietes t;
  TypeValeurProp v;
  EXPECT_FALSE(t.Chercher("x", v));
  EXPECT_FALSE(t.Existe("x"));
  AttendreErreur<EExceptionProprieteInexistante>([&] { (void)t.Lire("x"); }, "Propri\xE9t\xE9 non trouv\xE9" "e : x");
  AttendreErreur<EExceptionProprieteInexistante>([&] { (void)t.Lire("x.y.z"); },
                                                 "Propri\xE9t\xE9 non trouv\xE9" "e : x.y.z");
}

TEST(LectureDeProprietes, APathThroughAValueThatIsNotASubTree) {
  ArbreEssai e;
  TypeValeurProp v;
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Chercher("x.y", v); }, kPathInvalideAccentue);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Lire("x.y"); }, kPathInvalideAccentue);
  EXPECT_FALSE(e.t.Existe("x.y"));
  EXPECT_FALSE(e.t.Existe("a.b.c"));
  AttendreErreur<EExceptionProprietePathInvalide>([&] { e.t.Ajouter("x.y", TProprietes::ValeurEntier(0)); },
                                                  kPathInvalideStockage);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Extraire("x.y"); }, kPathInvalideAccentue);
  EXPECT_EQ(e.t.Lire("x").Entier, 1);
}

TEST(StockageDeProprietes, IntermediateLevelsAreNeverCreated) {
  ArbreEssai e;
  AttendreErreur<EExceptionProprieteInexistante>([&] { e.t.Ajouter("c.d", TProprietes::ValeurEntier(0)); },
                                                 "Sous-propri\xE9t\xE9 non trouv\xE9" "e : c");
  AttendreErreur<EExceptionProprieteInexistante>([&] { e.t.Ajouter("a.c.d", TProprietes::ValeurEntier(0)); },
                                                 "Sous-propri\xE9t\xE9 non trouv\xE9" "e : c");
  EXPECT_EQ(Noms(e.t), (std::vector<std::string>{"a", "x"}));
  EXPECT_EQ(e.t.Lire("a").Proprietes->Nombre(), 1);
}

TEST(StockageDeProprietes, NamesThatDifferOnlyInCaseAreOneName) {
  for (const auto& [premier, second] : {std::pair{"abc", "Abc"}, std::pair{"ABC", "abc"}}) {
    TProprietes t;
    t.Ajouter(premier, TProprietes::ValeurEntier(1));
    AttendreErreur<EExceptionProprieteDoublon>([&] { t.Ajouter(second, TProprietes::ValeurEntier(2)); },
                                               std::string("Propri\xE9t\xE9 en double : ") + second);
    EXPECT_EQ(Noms(t), std::vector<std::string>{premier});
    EXPECT_EQ(t.Lire(second).Entier, 1);
  }
  ArbreEssai e;
  AttendreErreur<EExceptionProprieteDoublon>([&] { e.t.Ajouter("A.B", TProprietes::ValeurEntier(2)); },
                                             "Propri\xE9t\xE9 en double : B");
  EXPECT_EQ(e.t.Lire("a.b").Entier, 7);
}

TEST(StockageDeProprietes, ReplacingKeepsTheEntryAndItsName) {
  ArbreEssai e;
  e.t.AjouterProp("X", TProprietes::TValeurProp::Create(TProprietes::ValeurChaine("neuf")), true);
  e.t.AjouterProp("a.B", TProprietes::TValeurProp::Create(TProprietes::ValeurEntier(8)), true);
  EXPECT_EQ(Noms(e.t), (std::vector<std::string>{"a", "x"}));
  EXPECT_EQ(e.t.Lire("x").Chaine, "neuf");
  EXPECT_EQ(e.t.Lire("a.b").Entier, 8);
  EXPECT_EQ(e.t.Lire("a").Proprietes->Nombre(), 1);
}

TEST(StockageDeProprietes, AStoreWithoutAValueObjectIsRefused) {
  TProprietes t;
  AttendreErreur<EExceptionPropriete>([&] { t.AjouterProp("x", nullptr, false); },
                                      "Valeur de propri\xE9t\xE9 absente : x");
  EXPECT_EQ(t.Nombre(), 0);
}

TEST(PositionsDeProprietes, EntriesComeOutInCaseInsensitiveOrder) {
  TProprietes t;
  for (const char* nom : {"b", "A", "c", "\xC9t\xE9", "aa", "Z"}) t.Ajouter(nom, TProprietes::ValeurEntier(0));
  // The collation places an accented letter with its plain letter.
  EXPECT_EQ(Noms(t), (std::vector<std::string>{"A", "aa", "b", "c", "\xC9t\xE9", "Z"}));
}

TEST(PositionsDeProprietes, APositionOutsideTheLevelIsRefused) {
  ArbreEssai e;
  std::string_view nom;
  TypeValeurProp v;
  for (int32_t position : {2, -1, 1000, INT32_MIN})
    AttendreErreur<EExceptionProprieteInexistante>([&] { e.t.Element(position, nom, v); },
                                                   "Index propri\xE9t\xE9 hors limites (" + std::to_string(position) + ")");
  e.t.Element(1, nom, v);
  EXPECT_EQ(nom, "x");
}

TEST(ValeursDeProprietes, EveryKindComesBackAsStored) {
  const std::array<uint8_t, 8> huit = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::array<uint8_t, 10> etendu = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
  const std::string texte("a\0b", 3);  // held with its length: the inner NUL is kept
  const uint8_t bloc[] = {9, 0, 9};
  TProprietes t;
  t.Ajouter("e", TProprietes::ValeurEntier(-5));
  t.Ajouter("c", TProprietes::ValeurCardinal(0xFFFFFFFFu));
  t.Ajouter("h", TProprietes::ValeurHuitOctets(huit));
  t.Ajouter("r", TProprietes::ValeurEtendu(etendu));
  t.Ajouter("s", TProprietes::ValeurChaine(texte));
  t.Ajouter("v", TProprietes::ValeurBooleen(2));
  t.AjouterProp("n", TProprietes::TValeurProp::CreateEnsemble(bloc, 3), false);
  t.AjouterProp("b", TProprietes::TValeurProp::CreateBlob(bloc, 3), false);
  EXPECT_EQ(t.Lire("e").Entier, -5);
  EXPECT_EQ(t.Lire("c").Cardinal, 0xFFFFFFFFu);
  EXPECT_EQ(t.Lire("h").HuitOctets, huit);
  EXPECT_EQ(t.Lire("r").Etendu, etendu);
  EXPECT_EQ(t.Lire("s").Chaine, texte);
  EXPECT_EQ(t.Lire("v").Booleen, 2);
  EXPECT_TRUE(TProprietes::ValeurEnBooleen(t.Lire("v")));
  EXPECT_FALSE(TProprietes::ValeurEnBooleen(TProprietes::ValeurBooleen(0)));
  std::array<uint8_t, 32> ensemble{};
  ensemble[0] = 9;
  ensemble[2] = 9;
  EXPECT_EQ(t.Lire("n").Ensemble, ensemble);
  EXPECT_EQ(std::vector<uint8_t>(t.Lire("b").Blob.begin(), t.Lire("b").Blob.end()), std::vector<uint8_t>({9, 0, 9}));
  const TGenreValeurProp genres[] = {tvEntier, tvCardinal, tvHuitOctets, tvEtendu, tvChaine, tvBooleen, tvEnsemble, tvBlob};
  const char* noms[] = {"e", "c", "h", "r", "s", "v", "n", "b"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(t.Lire(noms[i]).Genre, genres[i]) << noms[i];
}

TEST(ValeursDeProprietes, ASetTakesAtMost32BytesAndABlockNoNegativeCount) {
  uint8_t octets[40];
  for (int i = 0; i < 40; ++i) octets[i] = static_cast<uint8_t>(i + 1);
  struct Cas {
    int32_t nombre;
    int32_t copies;
  };
  for (const Cas c : {Cas{3, 3}, Cas{32, 32}, Cas{40, 32}, Cas{0, 0}, Cas{-1, 0}}) {
    auto v = TProprietes::TValeurProp::CreateEnsemble(octets, c.nombre);
    std::array<uint8_t, 32> attendu{};
    std::memcpy(attendu.data(), octets, static_cast<std::size_t>(c.copies));
    EXPECT_EQ(v->Valeur().Genre, tvEnsemble);
    EXPECT_EQ(v->Valeur().Ensemble, attendu) << c.nombre;
  }
  AttendreErreur<EExceptionPropriete>([&] { (void)TProprietes::TValeurProp::CreateBlob(octets, -1); },
                                      "Taille de bloc n\xE9gative : -1");
  EXPECT_TRUE(TProprietes::TValeurProp::CreateBlob(octets, 0)->Valeur().Blob.empty());
}

TEST(ValeursDeProprietes, ATypeMismatchNamesTheExpectedKindFirst) {
  AttendreErreur<EExceptionProprieteTypeMismatch>(
      [] { (void)TProprietes::ValeurEnBooleen(TProprietes::ValeurEntier(1)); }, "Type mismatch : 5 attendu 0 trouv\xE9");
  AttendreErreur<EExceptionProprieteTypeMismatch>([] { TProprietes::VerifierType(tvBlob, tvChaine); },
                                                  "Type mismatch : 4 attendu 8 trouv\xE9");
  EXPECT_NO_THROW(TProprietes::VerifierType(tvProprietes, tvProprietes));
}

TEST(ValeursDeProprietes, TheErrorsShareOneRoot) {
  try {
    TProprietes t;
    (void)t.Lire("x");
    FAIL();
  } catch (const EExceptionPropriete& e) {
    EXPECT_NE(dynamic_cast<const Exception*>(&e), nullptr);
  }
}

TEST(CopieDeProprietes, ACopySharesNothingWithItsSource) {
  const uint8_t bloc[] = {1, 2, 3};
  auto source = std::make_unique<TProprietes>();
  source->Ajouter("s", TProprietes::ValeurChaine("texte"));
  source->AjouterProp("b", TProprietes::TValeurProp::CreateBlob(bloc, 3), false);
  source->Ajouter("p", TProprietes::ValeurProprietes(nullptr));
  source->Ajouter("p.q", TProprietes::ValeurChaine("profond"));
  source->Ajouter("p.r", TProprietes::ValeurProprietes(nullptr));
  auto copie = TProprietes::Copier(*source);
  EXPECT_TRUE(EssaiTLV::MemesArbres(*source, *copie));
  EXPECT_NE(copie->Lire("p").Proprietes, source->Lire("p").Proprietes);
  source.reset();
  EXPECT_EQ(copie->Lire("s").Chaine, "texte");
  EXPECT_EQ(copie->Lire("b").Blob.size(), 3u);
  EXPECT_EQ(copie->Lire("b").Blob[2], 3);
  EXPECT_EQ(copie->Lire("p.q").Chaine, "profond");
  EXPECT_EQ(copie->Lire("p.r").Proprietes->Nombre(), 0);
}

TEST(CopieDeProprietes, StoringARecordCopiesWhatItViews) {
  TProprietes t;
  {
    std::string texte = "provisoire";
    TProprietes sousArbre;
    sousArbre.Ajouter("k", TProprietes::ValeurEntier(3));
    t.Ajouter("s", TProprietes::ValeurChaine(texte));
    t.Ajouter("p", TProprietes::ValeurProprietes(&sousArbre));
    texte.assign("autre");
    sousArbre.Vider();
  }
  EXPECT_EQ(t.Lire("s").Chaine, "provisoire");
  EXPECT_EQ(t.Lire("p.k").Entier, 3);
  // A tree can be stored into itself: the copy is made before the entry is added.
  t.Ajouter("moi", TProprietes::ValeurProprietes(&t));
  EXPECT_EQ(t.Lire("moi").Proprietes->Nombre(), 2);
  EXPECT_EQ(t.Lire("moi.p.k").Entier, 3);
}

TEST(ExtractionDeProprietes, ASubTreeIsHandedOverWithItsContent) {
  ArbreEssai e;
  e.t.Ajouter("a.c", TProprietes::ValeurProprietes(nullptr));
  e.t.Ajouter("a.c.d", TProprietes::ValeurChaine("profond"));
  std::unique_ptr<TProprietes> c = e.t.Extraire("A.C");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Lire("d").Chaine, "profond");
  EXPECT_FALSE(e.t.Existe("a.c"));
  std::unique_ptr<TProprietes> a = e.t.Extraire("a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Lire("b").Entier, 7);
  EXPECT_EQ(Noms(e.t), std::vector<std::string>{"x"});
  EXPECT_EQ(e.t.Extraire("a"), nullptr);
  EXPECT_EQ(e.t.Extraire("absent.y"), nullptr);
}

TEST(ExtractionDeProprietes, AValueOfAnotherKindStaysInPlace) {
  ArbreEssai e;
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Extraire("x"); }, kPathInvalideAccentue);
  AttendreErreur<EExceptionProprietePathInvalide>([&] { (void)e.t.Extraire("a.b"); }, kPathInvalideAccentue);
  EXPECT_EQ(e.t.Lire("x").Entier, 1);
  EXPECT_EQ(e.t.Lire("a.b").Entier, 7);
}

TEST(ExtractionDeProprietes, EmptyingReleasesEveryLevel) {
  ArbreEssai e;
  e.t.Vider();
  EXPECT_EQ(e.t.Nombre(), 0);
  EXPECT_FALSE(e.t.Existe("a"));
  e.t.Ajouter("a", TProprietes::ValeurEntier(2));  // the level is usable again
  EXPECT_EQ(e.t.Lire("a").Entier, 2);
}
