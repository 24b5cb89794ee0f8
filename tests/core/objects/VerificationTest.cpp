// Verification: option texts, a composite's gathered error tree, the verification service's
// registrations, and a turn of the application's verification with its events in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "core/objects/RamasseMiettes.h"
#include "core/objects/Verification.h"

namespace {

using Journal = std::vector<std::string>;

// An error that writes its message to a journal when it is freed.
class TErreurJournal : public TErreur {
 public:
  TErreurJournal(const std::string& m, Journal* j) : TErreur(m), journal_(j) {}
  ~TErreurJournal() override { journal_->push_back("libre " + Message); }

 private:
  Journal* journal_;
};

// A verifiable that records the options it was asked with and may find something wrong.
class TVerifie : public TCustomVerifiable {
 public:
  TVerifie(std::string nom, Journal* j, bool echoue) : TCustomVerifiable(false), nom_(std::move(nom)), j_(j), echoue_(echoue) {}
  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override {
    j_->push_back(nom_ + ":" + TChaineVerification::OptionsEnTexte(Options));
    if (echoue_) Erreur = new TErreurJournal(nom_, j_);
  }

 private:
  std::string nom_;
  Journal* j_;
  bool echoue_;
};

// Records each event, and what the tree said while it was still there.
class TAbonne : public TObjetAbonne {
 public:
  explicit TAbonne(Journal* j) : j_(j) {}
  bool Recevoir(TObject*, TypeEventId Id, TObject* Donnee) override {
    std::string texte;
    if (auto* e = ObjectAs<TErreur>(Donnee)) texte = " " + e->Message + "/" + std::to_string(e->NombreFils());
    if (Id == Verification::EventVerification()) j_->push_back("EventVerification" + texte);
    else if (Id == ServiceNorvane::EventServiceActivite()) j_->push_back("EventServiceActivite" + texte);
    else if (Id == ServiceNorvane::EventServiceResultat()) j_->push_back("EventServiceResultat" + texte);
    return true;
  }

 private:
  Journal* j_;
};

std::vector<std::string> Messages(const TErreur* e) {
  std::vector<std::string> m;
  for (int i = 0; i < e->NombreFils(); ++i) m.push_back(static_cast<TErreur*>(e->Fils(i))->Message);
  return m;
}

void Tour() {
  TServiceObjets* collecteur = TRamasseMiettes::Service();
  collecteur->SetActif(true);
  collecteur->Executer();
}

}  // namespace

TEST(ChaineVerification, OptionTexts) {
  EXPECT_EQ(TChaineVerification::OptionsEnTexte(OptionsVerificationParDefaut), "[OV_Globale,OV_AvecTrace..OV_AvecMessage]");
  EXPECT_EQ(TChaineVerification::OptionsEnTexte(EnsembleVerification({OV_Globale, OV_AvecCorrection, OV_AvecMessage})),
            "[OV_Globale..OV_AvecCorrection,OV_AvecMessage]");
  EXPECT_EQ(TChaineVerification::OptionsEnTexte(0), "[]");
  EXPECT_EQ(TChaineVerification::NomOption(OV_AvecCorrection), "OV_AvecCorrection");
  EXPECT_EQ(TChaineVerification::NomOption(9), "Inconnu");
}

TEST(CustomVerifiable, GathersItemErrorsOnceSkipsWhatIsOffAndKeepsACallersError) {
  Journal j;
  TCustomVerifiable composite(true);
  composite.Add(new TVerifie("a", &j, false));
  composite.Add(new TVerifie("b", &j, true));
  composite.Add(new TVerifie("c", &j, true));
  int appels = 0;
  composite.SurErreur = [&](TCustomVerifiable* o, TErreur*) { appels += o == &composite; };

  TErreur* erreur = nullptr;
  composite.Verifier(EnsembleVerification({OV_Globale, OV_AvecCorrection}), erreur);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "TCustomVerifiable.Verifier");
  EXPECT_EQ(Messages(erreur), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(appels, 1);
  EXPECT_EQ(j, (Journal{"a:[OV_Globale]", "b:[OV_Globale]", "c:[OV_Globale]"}));

  auto* appelant = new TErreur("appelant");
  TErreur* e2 = appelant;
  composite.Verifier(OptionsVerificationParDefaut, e2);
  EXPECT_EQ(e2, appelant);
  EXPECT_EQ(Messages(appelant), (std::vector<std::string>{"b", "c"}));

  j.clear();
  TErreur* e3 = nullptr;
  composite.Verifier(EnsembleVerification({OV_AvecCorrection}), e3);  // disjoint options
  composite.SetVerificationActive(false);
  composite.Verifier(OptionsVerificationParDefaut, e3);
  EXPECT_EQ(e3, nullptr);
  EXPECT_TRUE(j.empty());
  EXPECT_EQ(appels, 2);
  Tour();
}

TEST(CustomVerifiable, OptionsGoDownAndTraceShowsThem) {
  TCustomVerifiable racine(true);
  auto* enfant = new TCustomVerifiable(true);
  racine.Add(enfant);
  racine.RetirerOptions(EnsembleVerification({OV_AvecTrace}));
  EXPECT_EQ(enfant->GetOptions(), EnsembleVerification({OV_Globale, OV_AvecMessage}));
  racine.AjouterOptions(EnsembleVerification({OV_AvecCorrection}));
  EXPECT_EQ(enfant->GetOptions(), EnsembleVerification({OV_Globale, OV_AvecCorrection, OV_AvecMessage}));
  int changements = 0;
  enfant->SurChangement = [&](TCustomVerifiable*) { ++changements; };
  enfant->SetVerificationActive(false);
  enfant->SetVerificationActive(false);
  EXPECT_EQ(changements, 1);

  std::string texte;
  InterfaceOf<ITracable>(&racine)->TracerComplet(true, nullptr, texte);
  EXPECT_EQ(texte,
            "TCustomVerifiable\r\n"
            "  Options = [OV_Globale..OV_AvecCorrection,OV_AvecMessage]\r\n"
            "  VerificationActive = True\r\n"
            "  TCustomVerifiable\r\n"
            "    Options = [OV_Globale..OV_AvecCorrection,OV_AvecMessage]\r\n"
            "    VerificationActive = False\r\n");
}

TEST(ServiceVerifiables, RegistersOnlyVerifiablesAndPublishesOnlyForTheApplication) {
  Journal j;
  TServiceVerifiables service("autre", 0, nullptr);
  TVerifie v("v", &j, true);
  TObjetInterfacable pasVerifiable;
  EXPECT_TRUE(service.Ajouter(static_cast<IVerifiable*>(&v)));
  EXPECT_FALSE(service.Ajouter(static_cast<IInterface*>(&v)));  // the same object, already there
  EXPECT_FALSE(service.Ajouter(static_cast<IInterface*>(&pasVerifiable)));
  EXPECT_FALSE(service.Retirer(static_cast<IInterface*>(&pasVerifiable)));
  EXPECT_EQ(service.Interfaces().size(), 1u);

  service.AjouterOptions(EnsembleVerification({OV_AvecCorrection}));
  EXPECT_EQ(service.GetOptions(), EnsembleVerification({OV_Globale, OV_AvecCorrection}));
  EXPECT_EQ(v.GetOptions(), 0x0F);

  TAbonne abonne(&j);
  service.Abonner(&abonne, {-1});
  TServicesApplication::Enregistrer(&service);  // active
  TErreur* erreur = nullptr;
  service.Verifier(EnsembleVerification({OV_AvecTrace}), erreur);  // does not meet {Globale, Correction}
  EXPECT_EQ(erreur, nullptr);
  j.clear();
  service.Verifier(EnsembleVerification({OV_Globale}), erreur);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "TServiceVerifiables.Verifier");
  // Its items are asked with the service's own options, not the intersection.
  EXPECT_EQ(j, (Journal{"v:[OV_Globale..OV_AvecCorrection]"}));
  EXPECT_TRUE(service.GetActif());  // not the application's service: nothing published
  EXPECT_TRUE(service.Retirer(static_cast<IInterface*>(&v)));
  service.Desabonner(&abonne);
  service.SetActif(false);
  Tour();
}

TEST(ServiceVerifiablesApplication, ATurnWithFindingsPublishesThenSwitchesOffThenReports) {
  TServiceVerifiablesApplication::Finaliser();
  Journal j;
  TVerifie sain("sain", &j, false);
  TVerifie malade("malade", &j, true);
  EXPECT_TRUE(TServiceVerifiablesApplication::Ajouter(static_cast<IVerifiable*>(&sain)));
  TServiceInterfaces* service = TServiceVerifiablesApplication::GetService();
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(service->GetNom(), "ServiceVerifiablesApplication");
  EXPECT_EQ(service->GetNiveau(), 0);
  EXPECT_TRUE(service->GetActif());
  TAbonne abonne(&j);
  service->Abonner(&abonne, {-1});
  TServicesApplication::Enregistrer(TRamasseMiettes::Service());
  TRamasseMiettes::Service()->SetActif(true);

  TServicesApplication::ExecuterServices();  // finds nothing: publishes nothing, stays on
  EXPECT_EQ(j, Journal{"sain:[OV_Globale]"});
  EXPECT_TRUE(service->GetActif());

  j.clear();
  TServiceVerifiablesApplication::Ajouter(static_cast<IVerifiable*>(&malade));
  TServicesApplication::ExecuterServices();
  // The tree is freed by the collector later in the same turn (level 1 after level 0).
  EXPECT_EQ(j, (Journal{"sain:[OV_Globale]", "malade:[OV_Globale]",
                        "EventVerification TServiceVerifiables.Verifier/1",
                        "EventServiceActivite",
                        "EventServiceResultat TServiceVerifiables.Verifier/1",
                        "libre malade"}));
  EXPECT_FALSE(service->GetActif());

  j.clear();
  TServicesApplication::ExecuterServices();  // off until something switches it on
  EXPECT_TRUE(j.empty());
  service->Desabonner(&abonne);
  EXPECT_TRUE(TServiceVerifiablesApplication::Retirer(static_cast<IVerifiable*>(&sain)));
  EXPECT_TRUE(TServiceVerifiablesApplication::Retirer(static_cast<IVerifiable*>(&malade)));
  TServiceVerifiablesApplication::Finaliser();
}
