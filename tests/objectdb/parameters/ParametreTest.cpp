// Typed parameters: the registry of type names, the stream form through both formatters, assignment,
// collection and the ownership of an object read from a stream, and the traces of the instances.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfInteger.h"
#include "core/objects/Erreur.h"
#include "core/objects/RamasseMiettes.h"
#include "core/values/DateTime.h"
#include "objectdb/ModulesObjectdb.h"
#include "objectdb/parameters/ParametreBooleen.h"
#include "objectdb/parameters/ParametreCardinal.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreDuree.h"
#include "objectdb/parameters/ParametreInt64.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreInterface.h"
#include "objectdb/parameters/ParametreObject.h"
#include "objectdb/parameters/ParametreReal.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "objectdb/parameters/ParametreSingle.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/ParametreTDateTime.h"
#include "objectdb/parameters/ParametreWideString.h"

namespace {

const std::vector<uint8_t>& Octets(TCustomFormatter& f) { return static_cast<TMemoryStream*>(f.Flux())->Bytes(); }

// Writes the object with a formatter of class F and reads it back with another.
template <class F>
std::unique_ptr<TObject> AllerRetour(TObject* Objet) {
  F ecrivain;
  ecrivain.EcrireObjet(Objet, nullptr);
  TMemoryStream m;
  m.Assign(Octets(ecrivain).data(), Octets(ecrivain).size());
  F lecteur(&m);
  return std::unique_ptr<TObject>(lecteur.LireObjet(nullptr));
}

void PasseDuRamasseMiettes() { TRamasseMiettes::Service()->Executer(); }

// A parameter that tells when it is freed.
class TParametreTemoin : public TParametreInteger {
 public:
  TParametreTemoin(bool Collecte, bool* Libere) : TParametreInteger("temoin", Collecte), libere_(Libere) {}
  ~TParametreTemoin() override { *libere_ = true; }

 private:
  bool* libere_;
};

}  // namespace

TEST(ParametreRegistry, TypeNamesFindTheirClassesByExactUpperCaseKey) {
  const struct {
    const char* cle;
    const TClass* classe;
  } cas[] = {
      {"BOOLEAN", TParametreBooleen::StaticClass()},   {"CARDINAL", TParametreCardinal::StaticClass()},
      {"LONGCARD", TParametreCardinal::StaticClass()}, {"UINT32", TParametreCardinal::StaticClass()},
      {"INTEGER", TParametreInteger::StaticClass()},   {"LONGINT", TParametreInteger::StaticClass()},
      {"INT64", TParametreInt64::StaticClass()},       {"DOUBLE", TParametreDouble::StaticClass()},
      {"REAL", TParametreReal::StaticClass()},         {"SINGLE", TParametreSingle::StaticClass()},
      {"TDATETIME", TParametreTDateTime::StaticClass()}, {"TYPEDUREESTOCKEE", TParametreDuree::StaticClass()},
      {"STRING", TParametreString::StaticClass()},     {"WIDESTRING", TParametreWideString::StaticClass()},
      {"TOBJECT", TParametreObject::StaticClass()},
      // Found by class name only, or not registered at all; the key is case-sensitive.
      {"INTERFACE", nullptr}, {"TYPEREFERENCEARTICLE", nullptr}, {"Integer", nullptr}, {"LongInt", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cas) EXPECT_EQ(CustomParametre::ClasseParametreDeNom(c.cle), c.classe) << c.cle;
}

TEST(ParametreRegistry, TheLatestRegistrationWinsAndAnEmptyRegistryAnswersNil) {
  CustomParametre::EnregistrerClasseParametre(TParametreString::StaticClass(), "MonType");
  CustomParametre::EnregistrerClasseParametre(TParametreInteger::StaticClass(), "montype");
  EXPECT_EQ(CustomParametre::ClasseParametreDeNom("MONTYPE"), TParametreInteger::StaticClass());
  EXPECT_EQ(CustomParametre::ClasseParametreDeNom("MonType"), nullptr);

  // Shut the unit down, then start the parameter units again as the module table does.
  CustomParametre::Finaliser();
  EXPECT_EQ(CustomParametre::ClasseParametreDeNom("INTEGER"), nullptr);
  for (const TModule& m : ModulesObjectdb())
    if (std::string(m.Nom).starts_with("Parametre") && m.Initialiser) m.Initialiser();
  EXPECT_EQ(CustomParametre::ClasseParametreDeNom("INTEGER"), TParametreInteger::StaticClass());
  EXPECT_EQ(CustomParametre::ClasseParametreDeNom("MONTYPE"), nullptr);
}

TEST(ParametreRegistry, TheVirtualConstructorOfAClassFoundByNameBuildsANamedParameter) {
  TClasseParametre classe = CustomParametre::ClasseParametreDeNom("STRING");
  ASSERT_NE(classe, nullptr);
  std::unique_ptr<TCustomParametre> p(classe->Creer("titre", false));
  EXPECT_EQ(p->ClassType(), TParametreString::StaticClass());
  EXPECT_EQ(p->Nom, "titre");
  EXPECT_EQ(p->Etiquette, 0);
  EXPECT_FALSE(p->GetCollecte());
  EXPECT_FALSE(p->EstInscrit());
}

TEST(ParametreStream, TheLayoutIsNameTagCollectedFlagThenTheValue) {
  TParametreInteger p("N", false);
  p.Etiquette = 7;
  p.SetValeur(-2);
  TBinaryFormatter f;
  f.EcrireObjet(&p, nullptr);
  std::vector<uint8_t> attendu = {17, 0, 0, 0};
  for (char c : std::string("TParametreInteger")) attendu.push_back(static_cast<uint8_t>(c));
  for (int b : std::initializer_list<int>{3, 0, 0, 0, 'N', 'I', 'L', 1, 0, 0, 0, 'N', 7, 0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF})
    attendu.push_back(static_cast<uint8_t>(b));
  EXPECT_EQ(Octets(f), attendu);
}

// Each instance with a value other than its zero, checked after a round trip through one formatter.
struct CasInstance {
  const char* nom;
  std::function<TCustomParametre*()> creer;
  std::function<void(TCustomParametre*)> verifier;
};

template <class P, class V>
CasInstance Cas(const char* nom, V valeur, std::function<void(P*)> verifier) {
  return {nom,
          [valeur] {
            auto* p = new P(std::string("p") + P::StaticClass()->ClassName(), false);
            p->SetValeur(valeur);
            return p;
          },
          [verifier](TCustomParametre* lu) { verifier(&dynamic_cast<P&>(*lu)); }};
}

std::vector<CasInstance> Instances() {
  static int objet = 0;
  TypeDureeStockee deuxJours;
  DureeStockee::DureeInitialiser(deuxJours, 2.5);
  TypeReferenceArticle reference{nullptr, 4, reinterpret_cast<TCustomTable*>(&objet)};
  return {
      Cas<TParametreBooleen>("Booleen", true, [](auto* p) { EXPECT_TRUE(p->GetValeur()); }),
      Cas<TParametreCardinal>("Cardinal", 0xFFFFFFFEu, [](auto* p) { EXPECT_EQ(p->GetValeur(), 0xFFFFFFFEu); }),
      Cas<TParametreInteger>("Integer", -123456, [](auto* p) { EXPECT_EQ(p->GetValeur(), -123456); }),
      Cas<TParametreInt64>("Int64", int64_t{-1} << 40, [](auto* p) { EXPECT_EQ(p->GetValeur(), int64_t{-1} << 40); }),
      Cas<TParametreDouble>("Double", 0.1, [](auto* p) { EXPECT_EQ(p->GetValeur(), 0.1); }),
      Cas<TParametreReal>("Real", -1e300, [](auto* p) { EXPECT_EQ(p->GetValeur(), -1e300); }),
      // A single comes back rounded to single precision.
      Cas<TParametreSingle>("Single", 0.1f, [](auto* p) { EXPECT_EQ(p->GetValeur(), 0.1f); }),
      Cas<TParametreTDateTime>("TDateTime", 45000.75, [](auto* p) { EXPECT_EQ(p->GetValeur(), 45000.75); }),
      Cas<TParametreDuree>("Duree", deuxJours, [](auto* p) { EXPECT_EQ(p->GetValeur().Valeur, 2.5); }),
      Cas<TParametreString>("String", std::string("d\xE9j\xE0\0x", 6), [](auto* p) { EXPECT_EQ(p->GetValeur(), std::string("d\xE9j\xE0\0x", 6)); }),
      Cas<TParametreWideString>("WideString", std::u16string(u"\u20AC\uFFFF"),
                                [](auto* p) { EXPECT_EQ(p->GetValeur(), std::u16string(u"\u20AC\uFFFF")); }),
      // Interfaces and references cannot travel: nil and the null reference come back.
      Cas<TParametreInterface>("Interface", static_cast<IInterface*>(TRamasseMiettes::Service()),
                               [](auto* p) { EXPECT_EQ(p->GetValeur(), nullptr); }),
      Cas<TParametreReferenceArticle>("ReferenceArticle", reference, [](auto* p) {
        EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(p->GetValeur()));
        EXPECT_EQ(p->GetValeur().IndiceArticle, kAucuneLigne);
      }),
      Cas<TParametreObject>("Object", static_cast<TObject*>(nullptr), [](auto* p) { EXPECT_EQ(p->GetValeur(), nullptr); }),
  };
}

template <class F>
void VerifierAllersRetours() {
  for (const CasInstance& c : Instances()) {
    SCOPED_TRACE(c.nom);
    std::unique_ptr<TCustomParametre> p(c.creer());
    p->Etiquette = -9;
    auto lu = AllerRetour<F>(p.get());
    auto* parametre = ObjectAs<TCustomParametre>(lu.get());
    ASSERT_NE(parametre, nullptr);
    EXPECT_EQ(parametre->ClassType(), p->ClassType());
    EXPECT_EQ(parametre->Nom, p->Nom);
    EXPECT_EQ(parametre->Etiquette, -9);
    EXPECT_FALSE(parametre->GetCollecte());
    EXPECT_FALSE(parametre->EstInscrit());
    c.verifier(parametre);
  }
}

TEST(ParametreStream, EveryInstanceComesBackThroughThePlainFormatter) { VerifierAllersRetours<TBinaryFormatter>(); }
TEST(ParametreStream, EveryInstanceComesBackThroughTheSizedFormatter) { VerifierAllersRetours<TBinaryFormatterWithSize>(); }

TEST(ParametreStream, ACollectedParameterReadBackIsInTheCollectorAgain) {
  auto* p = new TParametreString("c", true);
  p->SetValeur("x");
  auto lu = AllerRetour<TBinaryFormatter>(p);
  delete p;  // takes it out of the collector first
  auto* parametre = ObjectAs<TParametreString>(lu.get());
  ASSERT_NE(parametre, nullptr);
  EXPECT_TRUE(parametre->GetCollecte());
  EXPECT_TRUE(parametre->EstInscrit());
  EXPECT_EQ(parametre->GetValeur(), "x");
  lu.release();
  const int avant = static_cast<TServiceRamasseMiettes*>(TRamasseMiettes::Service())->Nombre();
  PasseDuRamasseMiettes();
  EXPECT_LT(static_cast<TServiceRamasseMiettes*>(TRamasseMiettes::Service())->Nombre(), avant);
}

TEST(ParametreStream, EveryTruncationOfAStreamIsRefused) {
  for (const CasInstance& c : Instances()) {
    SCOPED_TRACE(c.nom);
    std::unique_ptr<TCustomParametre> p(c.creer());
    TBinaryFormatter ecrivain;
    ecrivain.EcrireObjet(p.get(), nullptr);
    const auto& octets = Octets(ecrivain);
    for (std::size_t n = 0; n < octets.size(); ++n) {
      TMemoryStream m;
      m.Assign(octets.data(), n);
      TBinaryFormatter lecteur(&m);
      EXPECT_THROW(delete lecteur.LireObjet(nullptr), EReadError) << n << " bytes";
    }
  }
}

TEST(ParametreCollecte, ACollectedParameterIsFreedAtTheNextTurnUnlessDestroyedBefore) {
  bool libere = false;
  new TParametreTemoin(true, &libere);
  PasseDuRamasseMiettes();
  EXPECT_TRUE(libere);

  bool libere2 = false;
  auto* p = new TParametreTemoin(true, &libere2);
  EXPECT_TRUE(p->EstInscrit());
  delete p;  // leaves the collector: the next pass must not free it again
  PasseDuRamasseMiettes();
  EXPECT_TRUE(libere2);

  bool libere3 = false;
  auto* q = new TParametreTemoin(true, &libere3);
  q->DesinscrireRamasseMiettes();
  PasseDuRamasseMiettes();
  EXPECT_FALSE(libere3);
  delete q;
}

TEST(ParametreAssigner, CopiesNameAndValueButNotTagNorCollectedFlag) {
  TParametreString source("source", false), cible("cible", false);
  source.Etiquette = 3;
  source.SetValeur("v");
  cible.Assigner(&source);
  EXPECT_EQ(cible.Nom, "source");
  EXPECT_EQ(cible.GetValeur(), "v");
  EXPECT_EQ(cible.Etiquette, 0);
  EXPECT_FALSE(cible.GetCollecte());

  TParametreInteger autre("autre", false);
  EXPECT_THROW(cible.Assigner(&autre), EInvalidCast);
  EXPECT_THROW(cible.Assigner(nullptr), EInvalidCast);
  EXPECT_EQ(cible.GetValeur(), "v");
}

TEST(ParametreAssigner, ATypedArrayTagsItsAssignmentParameterWithEachPositionItCopies) {
  TArrayOfInteger source(8, false, false), cible(8, false, false);
  source.SetElementPosition(10, 1);
  source.SetElementPosition(30, 5);
  TParametreInteger parametre("assignation", false);
  cible.Assigner(&source, &parametre);
  EXPECT_EQ(parametre.Etiquette, 5);
  EXPECT_EQ(cible.GetElementPosition(5), 30);
}

// An object read from a stream belongs to the parameter: it outlives the turn of the main loop as
// long as the parameter does, goes with it, and can be taken by a caller.
TEST(ParametreObject, AnObjectReadFromAStreamLivesExactlyAsLongAsItsParameter) {
  TParametreObject p("objet", false);
  auto* erreur = new TErreur("message");
  erreur->DesinscrireRamasseMiettes();
  p.SetValeur(erreur);
  EXPECT_FALSE(p.PossedeValeur());
  auto lu = AllerRetour<TBinaryFormatter>(&p);
  delete erreur;
  p.SetValeur(nullptr);

  auto& parametre = dynamic_cast<TParametreObject&>(*lu);
  ASSERT_TRUE(parametre.PossedeValeur());
  auto* objet = ObjectAs<TErreur>(parametre.GetValeur());
  ASSERT_NE(objet, nullptr);
  EXPECT_EQ(TRamasseMiettes::RangDe(objet), -1);
  PasseDuRamasseMiettes();
  EXPECT_EQ(objet->Message, "message");  // still alive after the turn

  // Another value frees the one it owned; a value given by the caller stays the caller's.
  TErreur autre("autre");
  autre.DesinscrireRamasseMiettes();
  parametre.SetValeur(&autre);
  EXPECT_FALSE(parametre.PossedeValeur());
  parametre.SetValeur(nullptr);

  // A caller can take the object over.
  auto relu = AllerRetour<TBinaryFormatterWithSize>(&p);
  EXPECT_EQ(dynamic_cast<TParametreObject&>(*relu).GetValeur(), nullptr);
  auto* pris = new TErreur("pris");
  pris->DesinscrireRamasseMiettes();
  TParametreObject q("q", false);
  q.SetValeur(pris);
  auto lu2 = AllerRetour<TBinaryFormatter>(&q);
  delete pris;
  std::unique_ptr<TObject> garde(dynamic_cast<TParametreObject&>(*lu2).PrendreValeur());
  lu2.reset();
  EXPECT_EQ(dynamic_cast<TErreur&>(*garde).Message, "pris");
}

TEST(ParametreObject, ACollectedParameterReadInsideAnotherHasThatOneAsItsOnlyOwner) {
  TParametreObject externe("externe", false);
  auto* interne = new TParametreString("interne", true);
  interne->SetValeur("dedans");
  externe.SetValeur(interne);
  auto lu = AllerRetour<TBinaryFormatter>(&externe);
  externe.SetValeur(nullptr);
  delete interne;
  auto& parametre = dynamic_cast<TParametreObject&>(*lu);
  auto* relu = ObjectAs<TParametreString>(parametre.GetValeur());
  ASSERT_NE(relu, nullptr);
  EXPECT_FALSE(relu->EstInscrit());
  PasseDuRamasseMiettes();
  EXPECT_EQ(relu->GetValeur(), "dedans");
}

TEST(ParametreTrace, InstancesTraceTheirLabelAndValue) {
  TCustomTraceur traceur("");
  const auto trace = [&](TCustomParametre& p) {
    std::string texte;
    p.Tracer(false, &traceur, texte);
    return texte;
  };
  TParametreBooleen b("b", false);
  EXPECT_EQ(trace(b), "TParametreBooleen\r\n  BOOLEAN\r\n    Valeur = False\r\n");
  TParametreTDateTime d("d", false);
  d.SetValeur(DateTime::EncodeDate(2024, 3, 5));
  EXPECT_EQ(trace(d), "TParametreTDateTime\r\n  TDateTime\r\n    Valeur = 05/03/2024\r\n");
  d.SetValeur(DateTime::EncodeDate(2024, 3, 5) + DateTime::EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(trace(d), "TParametreTDateTime\r\n  TDateTime\r\n    Valeur = 05/03/2024 08:30:00\r\n");
  TParametreDouble x("x", false);
  x.SetValeur(1.0 / 3);
  EXPECT_EQ(trace(x), "TParametreDouble\r\n  Double\r\n    Valeur = 0.333333333333333\r\n");
  TParametreWideString w("w", false);
  w.SetValeur(u"\u20AC");
  EXPECT_EQ(trace(w), "TParametreWideString\r\n  WideString\r\n    Valeur = \x80\r\n");
  TParametreInterface i("i", false);
  EXPECT_EQ(trace(i), "TParametreInterface\r\n  Interface\r\n");
  // The null reference adds nothing to the "classe" block.
  TParametreReferenceArticle r("r", false);
  EXPECT_EQ(trace(r), "TParametreReferenceArticle\r\n");
  TParametreObject o("o", false);
  TParametreInteger dedans("dedans", false);
  o.SetValeur(&dedans);
  EXPECT_EQ(trace(o), "TParametreObject\r\n  TObject\r\n    TParametreInteger\r\n      INTEGER\r\n        Valeur = 0\r\n");
}

TEST(ParametreTrace, ASwitchedOffTraceIsEmptyThroughEveryRoad) {
  TParametreInteger p("p", false);
  ITracable* tracable = InterfaceOf<ITracable>(&p);
  ASSERT_NE(tracable, nullptr);
  std::string texte;
  tracable->TracerComplet(false, nullptr, texte);
  EXPECT_NE(texte, "");
  tracable->SetTraceActive(false);
  for (const auto& trace : std::vector<std::function<void(std::string&)>>{
           [&](std::string& t) { p.Tracer(true, nullptr, t); }, [&](std::string& t) { p.TexteTrace(t); },
           [&](std::string& t) { p.TracerProprietes(nullptr, t); },
           [&](std::string& t) { tracable->TracerComplet(false, nullptr, t); }}) {
    texte = "x";
    trace(texte);
    EXPECT_EQ(texte, "");
  }
}
