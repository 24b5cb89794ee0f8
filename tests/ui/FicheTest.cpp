#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/AttenteReponseServeur.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/Fiche.h"

namespace {

std::vector<std::string> liberees;

// A form that says when it goes.
class Temoin : public TForm {
 public:
  explicit Temoin(TComponent* Owner) : TForm(Owner) { SetVisible(false); }
  ~Temoin() override { liberees.push_back(Name()); }
};

class Registre : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    liberees.clear();
  }
  void TearDown() override {
    Fiche::LibererFichesDifferees();
    for (TForm** r : {&a, &b, &c}) delete *r, *r = nullptr;
    FenetresEssai::TearDown();
  }
  TForm* a = nullptr;
  TForm* b = nullptr;
  TForm* c = nullptr;
};

TEST_F(Registre, DestroyingDefersAndTheNextCreationFreesTheDeferredFormsLastFirst) {
  Fiche::CreerFiche<Temoin>(a);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Owner(), &Application());
  a->SetName("A");
  Fiche::CreerFiche<Temoin>(b);
  b->SetName("B");
  EXPECT_TRUE(Fiche::Enregistree(a));
  EXPECT_TRUE(Fiche::DetruireFiche(a));
  EXPECT_FALSE(Fiche::DetruireFiche(a));  // no longer registered
  EXPECT_TRUE(Fiche::DetruireFiche(b));
  EXPECT_NE(a, nullptr);
  EXPECT_TRUE(liberees.empty());
  Fiche::CreerFiche<Temoin>(c);
  EXPECT_EQ(liberees, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
  EXPECT_NE(c, nullptr);
}

TEST_F(Registre, AFormTheRegistryDidNotCreateIsNotFreedAndDeferringTwiceKeepsOneEntry) {
  a = new Temoin(nullptr);
  EXPECT_FALSE(Fiche::DetruireFiche(a));
  Fiche::LibererFichesDifferees();
  EXPECT_TRUE(liberees.empty());
  TForm* vide = nullptr;
  EXPECT_FALSE(Fiche::DiffererLiberation(vide));
  EXPECT_TRUE(Fiche::DiffererLiberation(a));
  EXPECT_FALSE(Fiche::DiffererLiberation(a));
  EXPECT_TRUE(Fiche::AnnulerLiberationDifferee(a));
  EXPECT_FALSE(Fiche::AnnulerLiberationDifferee(a));
  Fiche::LibererFichesDifferees();
  EXPECT_TRUE(liberees.empty());
  EXPECT_TRUE(Fiche::DiffererLiberation(a));
  Fiche::LibererFichesDifferees();
  EXPECT_EQ(liberees.size(), 1u);
  EXPECT_EQ(a, nullptr);
}

TEST_F(Registre, AFormIsNotFreedUnderItsOwnHandlerEvenWhenTheHandlerCreatesAnother) {
  Fiche::CreerFiche<Temoin>(a);
  a->SetName("A");
  TForm* courante = a;
  {
    // A handler of A destroys A and goes on to create another form.
    Fiche::TGestionnaireEnCours garde(courante);
    ASSERT_TRUE(Fiche::DetruireFiche(a));
    Fiche::CreerFiche<Temoin>(b);
    EXPECT_TRUE(liberees.empty());
    EXPECT_EQ(a, courante);
    courante->SetCaption("encore là");  // still alive under its handler
  }
  EXPECT_TRUE(Fiche::Differee(a));
  Fiche::CreerFiche<Temoin>(c);
  EXPECT_EQ(liberees, (std::vector<std::string>{"A"}));
  EXPECT_EQ(a, nullptr);
}

TEST_F(Registre, AFormInItsModalLoopStaysDeferred) {
  Fiche::CreerFiche<Temoin>(a);
  a->SetName("A");
  pilote.Script = [&](TForm& f) {
    ASSERT_TRUE(Fiche::DetruireFiche(a));
    Fiche::LibererFichesDifferees();
    EXPECT_TRUE(liberees.empty());
    f.SetModalResult(mrOk);
  };
  EXPECT_EQ(a->ShowModal(), mrOk);
  Fiche::LibererFichesDifferees();
  EXPECT_EQ(liberees, (std::vector<std::string>{"A"}));
}

TEST_F(Registre, ClosingFormsSparesTheMainFormTheProfileAndHiddenFormsButTheWaitingOne) {
  auto* principale = new TForm(nullptr);
  principale->SetName("Principale");
  Application().SetMainForm(principale);
  auto* profil = new TForm(nullptr);
  profil->SetName("FicheProfile");
  auto* cachee = new TForm(nullptr);
  cachee->SetName("Cachee");
  cachee->SetVisible(false);
  auto* attente = new TAttenteReponseServeur("Patientez");
  attente->Hide();
  auto* ouverte = new TForm(nullptr);
  ouverte->SetName("Ouverte");
  for (TForm* f : {principale, profil, ouverte}) f->Show();

  EXPECT_TRUE(Fiche::FermerFiches());
  EXPECT_EQ(attente->ModalResult(), mrCancel);
  EXPECT_EQ(ouverte->ModalResult(), mrCancel);
  EXPECT_FALSE(ouverte->Visible());
  EXPECT_EQ(principale->ModalResult(), mrNone);
  EXPECT_TRUE(principale->Visible());
  EXPECT_EQ(profil->ModalResult(), mrNone);
  EXPECT_EQ(cachee->ModalResult(), mrNone);

  delete attente;
  ouverte->SetModalResult(mrNone);
  EXPECT_FALSE(Fiche::FermerFiches());  // nothing left to close
  // Sparing another form leaves the main form to close.
  EXPECT_TRUE(Fiche::FermerFiches(ouverte));
  EXPECT_FALSE(principale->Visible());
  Application().SetMainForm(nullptr);
  for (TForm* f : {principale, profil, cachee, ouverte}) delete f;
}

}  // namespace
