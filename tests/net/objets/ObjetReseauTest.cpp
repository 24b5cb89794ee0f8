// Network identities and the serialised forms of network objects: the identity map, references and
// contents resolved only to objects of the class the stream names, and declarations.
#include <gtest/gtest.h>

#include <memory>

#include "core/objects/RamasseMiettes.h"
#include "net/objets/ParametreObjetReseau.h"
#include "tests/net/objets/ObjetsReseauFixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr TGUID kGuid = MakeGUID("{00112233-4455-6677-8899-AABBCCDDEEFF}");

class ObjetReseau_ : public ::testing::Test {
 protected:
  void SetUp() override { TestsObjetsReseau::Enregistrer(); }
};

TEST_F(ObjetReseau_, DeclaringGivesANewNonNullGuidOnceAndKeepsIt) {
  TObjetTest a, b;
  ASSERT_TRUE(TGestionnaireIdentificationReseau::Declarer(&a));
  const TGUID premier = a.Identifiant();
  EXPECT_NE(premier, kIdentifiantNul);
  ASSERT_TRUE(TGestionnaireIdentificationReseau::Declarer(&a));
  EXPECT_EQ(a.Identifiant(), premier);
  ASSERT_TRUE(TGestionnaireIdentificationReseau::Declarer(&b));
  EXPECT_NE(b.Identifiant(), premier);
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(premier), &a);
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(b.Identifiant()), &b);

  // An object without the identity interface is refused.
  TInfoDeclarationObjetReseau sansIdentite(nullptr);
  EXPECT_FALSE(TGestionnaireIdentificationReseau::Declarer(&sansIdentite));
  EXPECT_FALSE(TGestionnaireIdentificationReseau::Retirer(&sansIdentite));
}

TEST_F(ObjetReseau_, WithdrawingAnObjectWhoseGuidMapsToAnotherLeavesTheMappingAndClearsTheGuid) {
  TObjetTest a, b;
  a.SetIdentifiant(kGuid);
  ASSERT_TRUE(TGestionnaireIdentificationReseau::Declarer(&a));
  b.SetIdentifiant(kGuid);
  EXPECT_FALSE(TGestionnaireIdentificationReseau::Retirer(&b));
  EXPECT_EQ(b.Identifiant(), kIdentifiantNul);
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(kGuid), &a);
  EXPECT_FALSE(TGestionnaireIdentificationReseau::Retirer(&b));  // null GUID now

  EXPECT_TRUE(TGestionnaireIdentificationReseau::Retirer(&a));
  EXPECT_EQ(a.Identifiant(), kIdentifiantNul);
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(kGuid), nullptr);
}

TEST_F(ObjetReseau_, ADestroyedObjectLeavesTheIdentityMap) {
  const int avant = TGestionnaireIdentificationReseau::Nombre();
  TGUID g;
  {
    TObjetTest a;
    ASSERT_TRUE(TGestionnaireIdentificationReseau::Declarer(&a));
    g = a.Identifiant();
    EXPECT_EQ(TGestionnaireIdentificationReseau::Nombre(), avant + 1);
  }
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(g), nullptr);
  EXPECT_EQ(TGestionnaireIdentificationReseau::Nombre(), avant);

  // An object destroyed while another holds its GUID's mapping leaves that mapping alone.
  TObjetTest tenant;
  tenant.SetIdentifiant(kGuid);
  TGestionnaireIdentificationReseau::Declarer(&tenant);
  { TObjetTest homonyme; homonyme.SetIdentifiant(kGuid); }
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(kGuid), &tenant);
}

// The reference and content forms, read back on the "receiver" in every relation between the local
// object of the GUID and the class the stream names, by the object parameter (which leaves the
// object to its owner) and by a plain reader (which would own, and free, what it gets: for it a
// reference is nil). The reader must be left after the object in every case: a marker follows it.
TEST_F(ObjetReseau_, AReferenceResolvesOnlyToAnObjectOfTheNamedClassAndContentIsAlwaysConsumed) {
  struct Cas {
    const char* nom;
    TObject* (*local)();  // the receiver's object under kGuid, or nil
    bool resolu;
  };
  static TObjetTest exact;
  static TObjetTestDerive derive;
  static TAutreObjet autre;
  const Cas cas[] = {
      {"no local object", [] { return static_cast<TObject*>(nullptr); }, false},
      {"same class", [] { return static_cast<TObject*>(&exact); }, true},
      {"descendant", [] { return static_cast<TObject*>(&derive); }, true},
      {"unrelated class", [] { return static_cast<TObject*>(&autre); }, false},
  };
  for (TClasseFormat format : {TFSObjetParReference::StaticClass(), TFSContenuObjet::StaticClass()}) {
    for (const Cas& c : cas) {
      for (bool parParametre : {true, false}) {
        SCOPED_TRACE(std::string(c.nom) + " / " + format->ClassName() + (parParametre ? " / parameter" : " / plain"));
        exact.Valeur = derive.Valeur = 0;
        TObject* local = c.local();
        if (local != nullptr) {
          TInfoDeclarationObjetReseau d(nullptr);
          d.Identifiant = kGuid;
          d.Appliquer(local);
        }
        TObjetTest envoye;
        envoye.SetIdentifiant(kGuid);
        envoye.Valeur = 77;
        for (bool taille : {false, true}) {
          std::unique_ptr<TBinaryFormatter> f(taille ? new TBinaryFormatterWithSize(nullptr)
                                                     : new TBinaryFormatter(nullptr));
          TParametreObjetReseau source("Objet", false);
          source.SetValeur(&envoye);
          if (parParametre) source.Ecrire(f.get(), format);
          else f->EcrireObjet(&envoye, format);
          f->EcrireEntier(12345);
          f->SetPosition(0);
          TObject* lu = nullptr;
          TParametreObjetReseau parametre(false);
          if (parParametre) {
            parametre.Lire(f.get(), nullptr);
            lu = parametre.GetValeur();
            EXPECT_FALSE(parametre.PossedeValeur());
          } else {
            lu = f->LireObjet(nullptr);
          }
          const bool resolu = c.resolu && parParametre;
          EXPECT_EQ(lu, resolu ? local : nullptr);
          int32_t marqueur = 0;
          EXPECT_EQ(f->LireEntier(marqueur), 4);
          EXPECT_EQ(marqueur, 12345);
          const bool contenu = format == TFSContenuObjet::StaticClass() && resolu;
          if (auto* t = ObjectAs<TObjetTest>(local)) {
            EXPECT_EQ(t->Valeur, contenu ? 77 : 0);
          }
        }
        envoye.SetIdentifiant(kIdentifiantNul);
        if (local != nullptr) TGestionnaireIdentificationReseau::Retirer(local);
      }
    }
  }
}

// An owning array that a peer fills with references to the receiver's objects must not take them:
// freeing the array leaves them alive (the sanitizers see any double free).
TEST_F(ObjetReseau_, AnArrayOfReferencesNeverTakesTheReceiversObjects) {
  auto* local = new TObjetTest();
  TGestionnaireIdentificationReseau::Declarer(local);
  TObjetTest envoye;
  envoye.SetIdentifiant(local->Identifiant());
  TArrayOfTObject liste(4, true, false);
  liste.Ajouter(&envoye);
  TBinaryFormatter f(nullptr);
  f.EcrireChaine("TArrayOfTObject");
  f.EcrireChaine("NIL");
  liste.Ecrire(&f, TFSObjetParReference::StaticClass());
  f.SetPosition(0);
  {
    std::unique_ptr<TObject> lu(f.LireObjet(nullptr));
    auto* relu = ObjectAs<TArrayOfTObject>(lu.get());
    ASSERT_NE(relu, nullptr);
    ASSERT_EQ(relu->GetNombreElements(), 1);
    EXPECT_EQ(relu->GetElement(0), nullptr);
  }
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(local->Identifiant()), local);
  envoye.SetIdentifiant(kIdentifiantNul);
  delete local;
}

TEST_F(ObjetReseau_, AReferenceCutShortOrOfAnotherSizeIsAReadError) {
  TObjetTest envoye;
  envoye.SetIdentifiant(kGuid);
  TBinaryFormatterWithSize f(nullptr);
  f.EcrireChaine("TObjetTest");
  f.EcrireChaine("TFSObjetParReference");
  f.EcrireEntier(8);  // a zone of 8 bytes where a GUID has 16
  f.EcrireInt64(1);
  f.SetPosition(0);
  EXPECT_THROW(f.LireObjet(nullptr), EReadError);

  TBinaryFormatter court(nullptr);
  court.EcrireObjet(&envoye, TFSContenuObjet::StaticClass());
  TMemoryStream coupe;
  coupe.Assign(court.GetTampon(), static_cast<std::size_t>(court.GetTaille() - 2));
  TBinaryFormatter relu(&coupe);
  EXPECT_THROW(relu.LireObjet(nullptr), EReadError);
  envoye.SetIdentifiant(kIdentifiantNul);
}

TEST_F(ObjetReseau_, ADeclarationIsTheClassNameThenTheGuidAsOneZoneInBothLayouts) {
  TObjetTest objet;
  objet.SetIdentifiant(kGuid);
  TInfoDeclarationObjetReseau d(&objet);
  const Bytes guid = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  Bytes nom = {10, 0, 0, 0, 'T', 'O', 'b', 'j', 'e', 't', 'T', 'e', 's', 't'};

  TBinaryFormatter simple(nullptr);
  d.Ecrire(&simple, nullptr);
  Bytes attendu = nom;
  attendu.insert(attendu.end(), guid.begin(), guid.end());
  EXPECT_EQ(TestsObjetsReseau::Octets(simple), attendu);

  TBinaryFormatterWithSize avecTaille(nullptr);
  d.Ecrire(&avecTaille, nullptr);
  attendu = nom;
  attendu.insert(attendu.end(), {16, 0, 0, 0});
  attendu.insert(attendu.end(), guid.begin(), guid.end());
  EXPECT_EQ(TestsObjetsReseau::Octets(avecTaille), attendu);
  objet.SetIdentifiant(kIdentifiantNul);
}

TEST_F(ObjetReseau_, ADeclarationListRoundTripKeepsEveryClassNameAndGuidInOrder) {
  TObjetTest a;
  TAutreObjet b;
  TObjetTestDerive c;
  for (TObject* o : {static_cast<TObject*>(&a), static_cast<TObject*>(&b), static_cast<TObject*>(&c)})
    TGestionnaireIdentificationReseau::Declarer(o);
  TDeclarationObjetsReseau declarations;
  declarations.Ajouter(&a);
  declarations.Ajouter(&b);
  declarations.Ajouter(&c);

  for (TClasseFormat format : {static_cast<TClasseFormat>(nullptr), TFSDeclarationObjet::StaticClass()}) {
    TBinaryFormatterWithSize f(nullptr);
    f.EcrireObjet(&declarations, format);
    f.SetPosition(0);
    std::unique_ptr<TObject> lu(f.LireObjet(nullptr));
    auto* relu = ObjectAs<TDeclarationObjetsReseau>(lu.get());
    ASSERT_NE(relu, nullptr);
    ASSERT_EQ(relu->Nombre(), 3);
    const TObjetIdentifiable* attendus[] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(relu->Declaration(i)->NomClasse, attendus[i]->ClassName());
      EXPECT_EQ(relu->Declaration(i)->Identifiant, attendus[i]->Identifiant());
    }
  }
}

// A declaration list whose element is something else is refused, and what was read goes with the
// refusal (the sanitizers see any leak); a list that arrives not owning its declarations becomes
// their owner.
TEST_F(ObjetReseau_, ADeclarationListWithAnElementThatIsNotADeclarationIsRefused) {
  // The stream of a declaration list whose list owns its elements or not, with an intruder or not.
  auto ecrire = [](bool possedante, bool intrus) {
    std::vector<std::unique_ptr<TObject>> gardes;  // the elements of a list that does not own them
    TArrayOfTObject liste(32, true, possedante);
    auto ajouter = [&](TObject* o) {
      liste.Ajouter(o);
      if (!possedante) gardes.emplace_back(o);
    };
    auto* d = new TInfoDeclarationObjetReseau(nullptr);
    d->NomClasse = "A";
    ajouter(d);
    if (intrus) ajouter(new TAutreObjet());
    ajouter(new TInfoDeclarationObjetReseau(nullptr));
    auto f = std::make_unique<TBinaryFormatter>(nullptr);
    f->EcrireChaine("TDeclarationObjetsReseau");
    f->EcrireChaine("NIL");
    f->EcrireObjet(&liste, nullptr);
    f->SetPosition(0);
    return f;
  };
  for (bool possedante : {true, false}) {
    SCOPED_TRACE(possedante);
    EXPECT_THROW(ecrire(possedante, true)->LireObjet(nullptr), EReadError);
    std::unique_ptr<TObject> lu(ecrire(possedante, false)->LireObjet(nullptr));
    auto* declarations = ObjectAs<TDeclarationObjetsReseau>(lu.get());
    ASSERT_NE(declarations, nullptr);
    ASSERT_EQ(declarations->Nombre(), 2);
    EXPECT_EQ(declarations->Declaration(0)->NomClasse, "A");
  }
}

TEST_F(ObjetReseau_, ApplyingADeclarationGivesALocalObjectTheDeclaredIdentity) {
  TObjetTest local;
  TGestionnaireIdentificationReseau::Declarer(&local);
  const TGUID ancien = local.Identifiant();
  TInfoDeclarationObjetReseau d(nullptr);
  d.Identifiant = kGuid;
  d.Appliquer(&local);
  EXPECT_EQ(local.Identifiant(), kGuid);
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(kGuid), &local);
  EXPECT_EQ(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(ancien), nullptr);
}

}  // namespace
