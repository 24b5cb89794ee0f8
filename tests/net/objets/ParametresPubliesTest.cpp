// Published parameters over the network: the modes each parameter travels in, the bytes of a list
// written in a mode, the object parameter's reference and ownership, and the refusals of what a peer
// may send in place of a parameter or a parameter list.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/objects/RamasseMiettes.h"
#include "net/objets/ParametreObjetReseau.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreString.h"
#include "tests/net/objets/ObjetsReseauFixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ParametresPublies_ : public ::testing::Test {
 protected:
  void SetUp() override { TestsObjetsReseau::Enregistrer(); }
};

// The bytes of a typed parameter's own form, as one object: class, "NIL", Nom, Etiquette, Collecte,
// then the value written by Valeur.
template <class Valeur>
void AjouterParametre(TBinaryFormatter& f, const std::string& classe, const std::string& nom, Valeur valeur) {
  f.EcrireChaine(classe);
  f.EcrireChaine("NIL");
  f.EcrireChaine(nom);
  f.EcrireEntier(0);
  f.EcrireBooleen(false);
  valeur(f);
}

TEST_F(ParametresPublies_, EachGenreSetsTheModesTheParameterTravelsIn) {
  const struct {
    int genre;
    bool requete, reponse;
  } cas[] = {{1, true, false}, {2, false, true}, {3, true, true}, {0, true, true}, {4, true, true}, {1, true, false}};
  TOrdreTest ordre;
  auto* p = static_cast<TListeParametresPubliesReseau*>(ordre.Parametres())->ParametreReseau(0);
  for (const auto& c : cas) {
    SCOPED_TRACE(c.genre);
    p->DefinirSens(c.genre, nullptr);  // 0 and 4 change nothing: the modes of 3 stay
    EXPECT_EQ(p->Voyage(TFSModeRequete::StaticClass()), c.requete);
    EXPECT_EQ(p->Voyage(TFSModeReponse::StaticClass()), c.reponse);
    for (TClasseFormat mode : {TFSModeRequete::StaticClass(), TFSModeReponse::StaticClass()}) {
      TBinaryFormatter f(nullptr);
      p->Ecrire(&f, mode);
      EXPECT_EQ(f.GetTaille() > 0, p->Voyage(mode));
    }
  }
}

// Numero and Nom go with the request, Resultat alone with the answer (then the error, "NIL").
TEST_F(ParametresPublies_, ARequestAndAnAnswerCarryExactlyTheirParametersBackToBack) {
  TOrdreTest ordre;
  ordre.SetNumero(21);
  ordre.SetNom("abc");
  static_cast<TParametreInteger*>(ordre.Parametres()->Parametre(2))->SetValeur(5);

  TBinaryFormatter requete(nullptr);
  requete.EcrireObjet(&ordre, TFSModeRequete::StaticClass());
  TBinaryFormatter attendu(nullptr);
  attendu.EcrireChaine("TOrdreTest");
  attendu.EcrireChaine("TFSModeRequete");
  AjouterParametre(attendu, "TParametreInteger", "Numero", [](TBinaryFormatter& f) { f.EcrireEntier(21); });
  AjouterParametre(attendu, "TParametreString", "Nom", [](TBinaryFormatter& f) { f.EcrireChaine("abc"); });
  EXPECT_EQ(TestsObjetsReseau::Octets(requete), TestsObjetsReseau::Octets(attendu));

  TBinaryFormatter reponse(nullptr);
  reponse.EcrireObjet(&ordre, TFSModeReponse::StaticClass());
  TBinaryFormatter attendue(nullptr);
  attendue.EcrireChaine("TOrdreTest");
  attendue.EcrireChaine("TFSModeReponse");
  AjouterParametre(attendue, "TParametreInteger", "Resultat", [](TBinaryFormatter& f) { f.EcrireEntier(5); });
  attendue.EcrireChaine("NIL");
  EXPECT_EQ(TestsObjetsReseau::Octets(reponse), TestsObjetsReseau::Octets(attendue));
}

// The mode's format is the context of the value's own data: an object parameter set to travel by
// reference sends the GUID of its object, and the receiving order refers to its own object of that
// identity without owning it.
TEST_F(ParametresPublies_, AnObjectParameterTravelsInTheFormatOfItsMode) {
  TObjetTest local;
  TGestionnaireIdentificationReseau::Declarer(&local);
  TOrdreCible ordre;
  static_cast<TParametreObjetReseau*>(ordre.Parametres()->Parametre(0))->SetValeur(&local);
  for (TClasseFormat mode : {TFSModeRequete::StaticClass(), TFSModeReponse::StaticClass()}) {
    TBinaryFormatter f(nullptr);
    f.EcrireObjet(&ordre, mode);
    const Bytes octets = TestsObjetsReseau::Octets(f);
    const auto guid = local.Identifiant().Bytes();
    EXPECT_NE(std::search(octets.begin(), octets.end(), guid.begin(), guid.end()), octets.end());
    f.SetPosition(0);
    std::unique_ptr<TOrdreReseau> copie(OrdreReseau::LireOrdre(&f));
    auto* p = static_cast<TParametreObjetReseau*>(copie->Parametres()->Parametre(0));
    EXPECT_EQ(p->GetValeur(), &local);
    EXPECT_FALSE(p->PossedeValeur());
  }
}

TEST_F(ParametresPublies_, TheObjectParameterIsRegisteredForTObjectAndWritesNilForNoReference) {
  EXPECT_EQ(CustomParametre::ClasseParametreDeNom("TOBJECT"), TParametreObjetReseau::StaticClass());
  TParametreObjetReseau p("Objet", false);
  TBinaryFormatter f(nullptr);
  p.Ecrire(&f, nullptr);
  const Bytes attendu = {5, 0, 0, 0, 'O', 'b', 'j', 'e', 't', 0, 0, 0, 0, 0, 3, 0, 0, 0, 'N', 'I', 'L'};
  EXPECT_EQ(TestsObjetsReseau::Octets(f), attendu);
}

// What a reading created the parameter owns (the sanitizers see it freed once); what it resolved by
// reference stays the receiver's.
TEST_F(ParametresPublies_, TheObjectParameterOwnsWhatItCreatedAndNotWhatItResolved) {
  TObjetTest local;
  local.Valeur = 9;
  TGestionnaireIdentificationReseau::Declarer(&local);
  for (TClasseFormat format : {static_cast<TClasseFormat>(nullptr), TFSObjetParReference::StaticClass(),
                               TFSContenuObjet::StaticClass(), TFSDeclarationObjet::StaticClass()}) {
    SCOPED_TRACE(format ? format->ClassName() : "NIL");
    TParametreObjetReseau source("Objet", false);
    source.SetValeur(&local);
    TBinaryFormatter f(nullptr);
    source.Ecrire(&f, format);
    f.SetPosition(0);
    TParametreObjetReseau lu(false);
    lu.Lire(&f, nullptr);
    const bool parReference = format != nullptr && format->InheritsFrom(TFSObjetParReference::StaticClass());
    EXPECT_EQ(lu.GetValeur() == &local, parReference);
    EXPECT_EQ(lu.PossedeValeur(), !parReference);
    EXPECT_NE(lu.GetValeur(), nullptr);
    // Reading again replaces the value, freeing what was owned.
    f.SetPosition(0);
    lu.Lire(&f, nullptr);
    EXPECT_EQ(lu.PossedeValeur(), !parReference);
  }
  EXPECT_EQ(local.Valeur, 9);
}

TEST_F(ParametresPublies_, ATypeWithoutAParameterClassIsRefusedWhenTheListIsBuilt) {
  EXPECT_THROW(TListeParametresPubliesReseau(TOrdreTypeInconnu::StaticClass(), nullptr), EParametreNonEnregistre);
  // An order of that class read from a peer is refused the same way, and nothing is left over.
  const int avant = TestsObjetsReseau::Collectes();
  TBinaryFormatter f(nullptr);
  f.EcrireChaine("TOrdreTypeInconnu");
  f.EcrireChaine("TFSModeRequete");
  f.SetPosition(0);
  EXPECT_THROW(f.LireObjet(nullptr), EParametreNonEnregistre);
  EXPECT_EQ(TestsObjetsReseau::Collectes(), avant);
}

// A value of another class than its parameter's is refused, whether in place of a request's
// parameter or inside a published parameter read whole, and what was read is freed.
TEST_F(ParametresPublies_, AParameterValueOfAnotherClassIsRefused) {
  const int avant = TestsObjetsReseau::Collectes();
  TBinaryFormatter requete(nullptr);
  requete.EcrireChaine("TOrdreTest");
  requete.EcrireChaine("TFSModeRequete");
  AjouterParametre(requete, "TParametreString", "Numero", [](TBinaryFormatter& f) { f.EcrireChaine("x"); });
  AjouterParametre(requete, "TParametreString", "Nom", [](TBinaryFormatter& f) { f.EcrireChaine("y"); });
  requete.SetPosition(0);
  EXPECT_THROW(requete.LireObjet(nullptr), EReadError);
  EXPECT_EQ(TestsObjetsReseau::Collectes(), avant);

  TParametrePublie propriete(TOrdreTest::StaticClass(), TOrdreTest::kProprietes[0]);
  TParametreString intrus("Numero", false);
  TBinaryFormatter f(nullptr);
  propriete.TProprietePubliee::Ecrire(&f, nullptr);
  f.EcrireObjet(&intrus, nullptr);
  f.SetPosition(0);
  TParametrePublie relu(TOrdreTest::StaticClass(), TOrdreTest::kProprietes[0]);
  TCustomParametre* avantLecture = relu.Parametre();
  EXPECT_THROW(relu.Lire(&f, nullptr), EReadError);
  EXPECT_EQ(relu.Parametre(), avantLecture);

  // The same form with a parameter of the right class reads.
  TBinaryFormatter g(nullptr);
  propriete.Ecrire(&g, nullptr);
  g.SetPosition(0);
  std::unique_ptr<TParametrePublie> lu(static_cast<TParametrePublie*>(TParametrePublie::StaticClass()->NewBlank()));
  lu->Lire(&g, nullptr);
  EXPECT_EQ(lu->Parametre()->ClassType(), TParametreInteger::StaticClass());
}

TEST_F(ParametresPublies_, ParametersThatAreNotAPublishedParameterListAreRefused) {
  TBinaryFormatter f(nullptr);
  f.EcrireChaine("TSerializable");
  f.EcrireChaine("NIL");
  f.EcrireBooleen(true);  // collected: it must leave the collector with the refusal
  TInfoDeclarationObjetReseau intrus(nullptr);
  f.EcrireObjet(&intrus, nullptr);
  f.SetPosition(0);
  const int avant = TestsObjetsReseau::Collectes();
  EXPECT_THROW(f.LireObjet(nullptr), EReadError);
  EXPECT_EQ(TestsObjetsReseau::Collectes(), avant);

  // A published parameter list reads back, with its parameters and values.
  TSerializable s;
  s.SetParametres(new TListeParametresPublies(TOrdreTest::StaticClass(), nullptr));
  static_cast<TParametreInteger*>(s.Parametres()->Parametre(0))->SetValeur(33);
  TBinaryFormatter g(nullptr);
  g.EcrireObjet(&s, nullptr);
  g.SetPosition(0);
  std::unique_ptr<TObject> lu(g.LireObjet(nullptr));
  auto* relu = ObjectAs<TSerializable>(lu.get());
  ASSERT_NE(relu, nullptr);
  ASSERT_EQ(relu->Parametres()->GetNombreElements(), 3);
  EXPECT_EQ(static_cast<TParametreInteger*>(relu->Parametres()->Parametre(0))->GetValeur(), 33);
  EXPECT_EQ(relu->Parametres()->ParametreDeNom("Nom")->ClassType(), TParametreString::StaticClass());
}

}  // namespace
