// Collectables: option texts, the walk over the items with its gathered error tree, options passed
// down, the active flag and tracing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/objects/Collectable.h"
#include "core/objects/Erreur.h"
#include "core/objects/RamasseMiettes.h"

namespace {

// An item that records the options it was asked with and may report an error.
class TItem : public TCustomCollectable {
 public:
  TItem(std::string nom, std::vector<std::string>* vus, bool echoue)
      : TCustomCollectable(false), nom_(std::move(nom)), vus_(vus), echoue_(echoue) {}
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override {
    vus_->push_back(nom_ + ":" + TChaineCollectable::OptionsEnTexte(Options));
    if (echoue_) Erreur = new TErreur(nom_);
  }

 private:
  std::string nom_;
  std::vector<std::string>* vus_;
  bool echoue_;
};

std::vector<std::string> Messages(const TErreur* e) {
  std::vector<std::string> m;
  for (int i = 0; i < e->NombreFils(); ++i) m.push_back(static_cast<TErreur*>(e->Fils(i))->Message);
  return m;
}

void Tour() {
  TServiceObjets* service = TRamasseMiettes::Service();
  service->SetActif(true);
  service->Executer();
}

}  // namespace

TEST(ChaineCollectable, OptionTexts) {
  struct Case { TypeOptionsCollecte options; const char* text; };
  const Case cases[] = {
      {OptionsCollecteParDefaut, "[OC_Globale,OC_AvecTrace..OC_AvecMessage]"},
      {EnsembleCollecte({OC_AvecDestruction}), "[OC_AvecDestruction]"},
      {EnsembleCollecte({OC_Globale, OC_AvecDestruction, OC_AvecMessage}), "[OC_Globale..OC_AvecDestruction,OC_AvecMessage]"},
      {0x0F, "[OC_Globale..OC_AvecMessage]"},
      {0, "[]"},
      {EnsembleCollecte({OC_Globale, OC_AvecTrace}), "[OC_Globale,OC_AvecTrace]"},
      {0xF0, "[]"},  // bits beyond the four options name nothing
  };
  for (const auto& c : cases) EXPECT_EQ(TChaineCollectable::OptionsEnTexte(c.options), c.text);
  EXPECT_EQ(TChaineCollectable::NomOption(OC_AvecTrace), "OC_AvecTrace");
  EXPECT_EQ(TChaineCollectable::NomOption(4), "Inconnu");
}

TEST(CustomCollectable, GathersTheItemErrorsUnderOneErrorInItemOrder) {
  std::vector<std::string> vus;
  TCustomCollectable composite(true);
  composite.Add(new TItem("a", &vus, false));
  composite.Add(new TItem("b", &vus, true));
  composite.Add(new TItem("c", &vus, false));
  composite.Add(new TItem("d", &vus, true));
  int appels = 0;
  composite.SurErreur = [&](TCustomCollectable* o, TErreur* e) {
    EXPECT_EQ(o, &composite);
    EXPECT_NE(e, nullptr);
    ++appels;
  };

  TErreur* erreur = nullptr;
  composite.Collecter(EnsembleCollecte({OC_Globale, OC_AvecDestruction}), erreur);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "TCustomCollectable.Collecter");
  EXPECT_EQ(Messages(erreur), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(appels, 1);
  // The items are asked with the options common to the request and the composite.
  EXPECT_EQ(vus, (std::vector<std::string>{"a:[OC_Globale]", "b:[OC_Globale]", "c:[OC_Globale]", "d:[OC_Globale]"}));

  // An error brought by the caller receives the item errors; no gathering error is made.
  auto* existante = new TErreur("appelant");
  TErreur* e2 = existante;
  composite.Collecter(OptionsCollecteParDefaut, e2);
  EXPECT_EQ(e2, existante);
  EXPECT_EQ(Messages(existante), (std::vector<std::string>{"b", "d"}));
  Tour();
}

TEST(CustomCollectable, InactiveOrDisjointOptionsVisitNothing) {
  std::vector<std::string> vus;
  TCustomCollectable composite(true);
  composite.Add(new TItem("a", &vus, true));
  int appels = 0;
  composite.SurErreur = [&](TCustomCollectable*, TErreur*) { ++appels; };
  TErreur* erreur = nullptr;
  composite.Collecter(EnsembleCollecte({OC_AvecDestruction}), erreur);  // not among its options
  composite.SetCollecteActive(false);
  composite.Collecter(OptionsCollecteParDefaut, erreur);
  EXPECT_EQ(erreur, nullptr);
  EXPECT_TRUE(vus.empty());
  EXPECT_EQ(appels, 0);

  // Items that all succeed leave the error nil and call no handler.
  TCustomCollectable sains(true);
  sains.Add(new TItem("x", &vus, false));
  sains.SurErreur = composite.SurErreur;
  sains.Collecter(OptionsCollecteParDefaut, erreur);
  EXPECT_EQ(erreur, nullptr);
  EXPECT_EQ(appels, 0);
}

TEST(CustomCollectable, OptionsGoDownTheCompositeAndChangesAreReported) {
  TCustomCollectable racine(true);
  auto* enfant = new TCustomCollectable(true);
  racine.Add(enfant);
  racine.SetOptions(0);
  EXPECT_EQ(enfant->GetOptions(), OptionsCollecteParDefaut);  // SetOptions touches only the object
  racine.AjouterOptions(EnsembleCollecte({OC_AvecDestruction}));
  EXPECT_EQ(racine.GetOptions(), EnsembleCollecte({OC_AvecDestruction}));
  EXPECT_EQ(enfant->GetOptions(), 0x0F);
  racine.RetirerOptions(EnsembleCollecte({OC_Globale, OC_AvecDestruction}));
  EXPECT_EQ(racine.GetOptions(), 0);
  EXPECT_EQ(enfant->GetOptions(), EnsembleCollecte({OC_AvecTrace, OC_AvecMessage}));

  int changements = 0;
  racine.SurChangement = [&](TCustomCollectable*) { ++changements; };
  racine.SetCollecteActive(true);  // unchanged
  racine.SetCollecteActive(false);
  EXPECT_EQ(changements, 1);
}

TEST(CustomCollectable, TraceShowsOptionsActiveFlagAndItems) {
  TCustomCollectable racine(true);
  racine.Add(new TCustomCollectable(true));
  racine.SetCollecteActive(false);
  std::string texte;
  ITracable* tracable = InterfaceOf<ITracable>(&racine);
  ASSERT_NE(tracable, nullptr);
  tracable->TracerComplet(true, nullptr, texte);
  EXPECT_EQ(texte,
            "TCustomCollectable\r\n"
            "  Options = [OC_Globale,OC_AvecTrace..OC_AvecMessage]\r\n"
            "  CollecteActive = False\r\n"
            "  TCustomCollectable\r\n"
            "    Options = [OC_Globale,OC_AvecTrace..OC_AvecMessage]\r\n"
            "    CollecteActive = True\r\n");
  tracable->SetTraceActive(false);
  racine.TracerResume(texte);
  EXPECT_EQ(texte, "");
}
