// Network orders: processing through interlocutors and behaviours, the round trip of an order from
// a client object through bytes to a server-side copy and back with its results and error tree, and
// who owns the orders and errors that the network hands over.
#include <gtest/gtest.h>

#include <memory>

#include "core/objects/RamasseMiettes.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "tests/net/objets/ObjetsReseauFixtures.h"

namespace {

class OrdreReseau_ : public ::testing::Test {
 protected:
  void SetUp() override { TestsObjetsReseau::Enregistrer(); }
};

TEST_F(OrdreReseau_, AnOrderWithNoInterlocutorProcessedByDefaultAnswersNil) {
  TOrdreTest ordre;
  EXPECT_EQ(ordre.Traiter(nullptr), nullptr);
  EXPECT_EQ(ordre.Erreur(), nullptr);
}

TEST_F(OrdreReseau_, FailingInterlocutorsGiveOneTreeWithAChildEachInOrder) {
  TEchec a("A"), b("B");
  TServeurOctets serveur;
  TOrdreTest ordre;
  ordre.AjouterInterlocuteur(new TInterlocuteurReseau(&a));
  ordre.AjouterInterlocuteur(new TInterlocuteurReseau(&serveur));
  ordre.AjouterInterlocuteur(new TInterlocuteurReseau(&b));
  TErreur* e = ordre.Traiter(nullptr);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Message, "TOrdreReseau.TraiterParDefaut");
  ASSERT_EQ(e->NombreFils(), 2);
  EXPECT_EQ(static_cast<TErreur*>(e->Fils(0))->Message, "echec A");
  EXPECT_EQ(static_cast<TErreur*>(e->Fils(1))->Message, "echec B");
}

// Each behaviour facing what lacks the interface it needs answers its error naming both classes;
// the request behaviour never reports an order it could not send as sent.
TEST_F(OrdreReseau_, ABehaviourThatIsNotSupportedAnswersAnErrorNamingBothClasses) {
  TOrdreTest ordre;
  TInfoDeclarationObjetReseau pasUnOrdre(nullptr);
  TInterlocuteurReseau sansImplementation(nullptr);
  TAutreObjet implementationSansInterface;
  TInterlocuteurReseau implementationInadaptee(&implementationSansInterface);
  const std::string nonImplementee = "L'interface IInterlocuteurReseau n'est pas impl\xE9ment\xE9" "e par la classe ";
  const struct {
    const char* nom;
    TClasseComportement comportement;
    TObject* objet;
    TObject* interlocuteur;
    std::string message;
  } cas[] = {
      {"request without interlocutor", TComportementEnvoiRequete::StaticClass(), &ordre, nullptr,
       "Le comportement client serveur TComportementEnvoiRequete n'est pas impl\xE9ment\xE9 par la classe TOrdreTest"},
      {"default on a non-order", TComportementOrdreParDefaut::StaticClass(), &pasUnOrdre, nullptr,
       "Le comportement client serveur TComportementOrdreParDefaut n'est pas impl\xE9ment\xE9 par la classe "
       "TInfoDeclarationObjetReseau"},
      {"local on a non-order", TComportementLocal::StaticClass(), &pasUnOrdre, nullptr,
       "Le comportement client serveur TComportementLocal n'est pas impl\xE9ment\xE9 par la classe "
       "TInfoDeclarationObjetReseau"},
      {"request, no implementation", TComportementEnvoiRequete::StaticClass(), &ordre, &sansImplementation,
       nonImplementee + "nil"},
      {"request, implementation without the interface", TComportementEnvoiRequete::StaticClass(), &ordre,
       &implementationInadaptee, nonImplementee + "TAutreObjet"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    TErreur* e = c.comportement->Traiter(c.objet, c.interlocuteur);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Message, c.message);
  }
  // The send without wait to an implementation without the interface does nothing.
  sansImplementation.EnvoyerOrdreReseau(&ordre);
}

// The whole trip: the client's order goes as request bytes to a copy on the server, runs there, and
// its answer comes back into the client's object: results and error tree, nothing else.
TEST_F(OrdreReseau_, AnOrderTravelsToTheServerAndItsAnswerComesBackWithItsErrorTree) {
  TServeurOctets serveur;
  const int avant = TestsObjetsReseau::Collectes();
  const struct {
    int32_t numero;
    int32_t resultat;
    const char* erreur;
  } cas[] = {{21, 42, nullptr}, {-3, 0, "Numero negatif"}, {4, 8, nullptr}};
  TOrdreTest ordre;
  ordre.AjouterInterlocuteur(new TInterlocuteurReseau(&serveur));
  ordre.SetNom("client");
  for (const auto& c : cas) {
    SCOPED_TRACE(c.numero);
    ordre.SetNumero(c.numero);
    static_cast<TParametreInteger*>(ordre.Parametres()->Parametre(2))->SetValeur(0);
    EXPECT_EQ(ordre.Traiter(nullptr), nullptr);
    EXPECT_EQ(ordre.Resultat(), c.resultat);
    EXPECT_EQ(ordre.Nom(), "client");  // the server renamed its copy: Nom does not come back
    EXPECT_EQ(ordre.Numero(), c.numero);
    if (c.erreur == nullptr) {
      EXPECT_EQ(ordre.Erreur(), nullptr);  // an answer without error clears the former one
    } else {
      ASSERT_NE(ordre.Erreur(), nullptr);
      EXPECT_EQ(ordre.Erreur()->Message, c.erreur);
      ASSERT_EQ(ordre.Erreur()->NombreFils(), 1);
      EXPECT_EQ(static_cast<TErreur*>(ordre.Erreur()->Fils(0))->Message, "Numero = -3");
      // The order alone owns its error; the collector holds neither it nor the caller's order.
      EXPECT_LT(TRamasseMiettes::RangDe(ordre.Erreur()), 0);
    }
    EXPECT_FALSE(ordre.Collecte());
    EXPECT_LT(TRamasseMiettes::RangDe(&ordre), 0);
  }
  EXPECT_EQ(TestsObjetsReseau::Collectes(), avant);
}

TEST_F(OrdreReseau_, AnInterlocutorInLocalModeExecutesTheOrderHere) {
  TOrdreTest ordre;
  ordre.SetNumero(5);
  ordre.AjouterInterlocuteur(new TInterlocuteurReseau(nullptr, TComportementLocal::StaticClass()));
  EXPECT_EQ(ordre.Traiter(nullptr), nullptr);
  EXPECT_EQ(ordre.Resultat(), 10);
  ordre.SetNumero(-1);
  EXPECT_EQ(ordre.Traiter(nullptr), nullptr);
  ASSERT_NE(ordre.Erreur(), nullptr);
  EXPECT_EQ(ordre.Erreur()->Message, "Numero negatif");
  EXPECT_LT(TRamasseMiettes::RangDe(ordre.Erreur()), 0);
}

// An order created from a peer's bytes belongs to the collector until its reader takes it back;
// freeing it first is safe.
TEST_F(OrdreReseau_, AnOrderCreatedFromTheNetworkIsCollected) {
  TOrdreTest ordre;
  ordre.SetNumero(1);
  for (TClasseFormat mode : {TFSModeRequete::StaticClass(), TFSModeReponse::StaticClass()}) {
    TBinaryFormatter f(nullptr);
    f.EcrireObjet(&ordre, mode);
    f.SetPosition(0);
    std::unique_ptr<TObject> lu(f.LireObjet(nullptr));
    auto* copie = ObjectAs<TOrdreTest>(lu.get());
    ASSERT_NE(copie, nullptr);
    EXPECT_TRUE(copie->Collecte());
    EXPECT_GE(TRamasseMiettes::RangDe(copie), 0);
  }
  EXPECT_FALSE(ordre.Collecte());
}

// What a peer sends in place of an order, or of an answer's error, is refused and freed.
TEST_F(OrdreReseau_, AnObjectThatIsNotAnOrderOrAnErrorThatIsNotAnErrorIsRefused) {
  const int avant = TestsObjetsReseau::Collectes();
  TSerializable pasUnOrdre;
  TBinaryFormatter f(nullptr);
  f.EcrireObjet(&pasUnOrdre, TFSModeRequete::StaticClass());
  f.SetPosition(0);
  EXPECT_THROW(OrdreReseau::LireOrdre(&f), EReadError);

  TOrdreTest ordre;
  ordre.SetErreur(new TErreur("ancienne"));
  // The answer of an order of another class.
  TAutreOrdre autre;
  TBinaryFormatter autreClasse(nullptr);
  autreClasse.EcrireObjet(&autre, TFSModeReponse::StaticClass());
  autreClasse.SetPosition(0);
  EXPECT_THROW(OrdreReseau::RecevoirReponse(&ordre, &autreClasse), EReadError);
  // An answer whose error is not an error tree.
  TBinaryFormatter g(nullptr);
  g.EcrireChaine("TOrdreTest");
  g.EcrireChaine("TFSModeReponse");
  {
    TParametreInteger resultat("Resultat", false);
    g.EcrireObjet(&resultat, nullptr);
  }
  TInfoDeclarationObjetReseau intrus(nullptr);
  g.EcrireObjet(&intrus, nullptr);
  g.SetPosition(0);
  EXPECT_THROW(OrdreReseau::RecevoirReponse(&ordre, &g), EReadError);
  ASSERT_NE(ordre.Erreur(), nullptr);
  EXPECT_EQ(ordre.Erreur()->Message, "ancienne");
  EXPECT_EQ(TestsObjetsReseau::Collectes(), avant);
}

// The trace of an order: the "classe" block of its class holding each parameter's trace in position
// order, its value one level deeper.
TEST_F(OrdreReseau_, AnOrdersTraceHoldsItsParametersInPositionOrder) {
  TOrdreTest ordre;
  ordre.SetNumero(3);
  TCustomTraceur traceur("");
  std::string texte;
  ordre.TracerComplet(false, &traceur, texte);
  EXPECT_TRUE(texte.starts_with("TOrdreTest\r\n")) << texte;
  const auto numero = texte.find("Libelle = Numero"), nom = texte.find("Libelle = Nom"),
             resultat = texte.find("Libelle = Resultat");
  ASSERT_NE(numero, std::string::npos);
  EXPECT_NE(texte.find("Valeur = 3", numero), std::string::npos);
  EXPECT_LT(numero, nom);
  EXPECT_LT(nom, resultat);
  std::string resume;
  InterfaceOf<ITracable>(&ordre)->SetTraceActive(false);
  ordre.TracerResume(resume);
  EXPECT_EQ(resume, "");
}

}  // namespace
