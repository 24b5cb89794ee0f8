// Application services: running a service and what it publishes, the registry's level order, switching
// off, destruction, services over objects and interfaces, and the accessor classes' singletons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/objects/ServiceNorvane.h"
#include "core/diagnostics/Trace.h"

namespace {
using Journal = std::vector<std::string>;

// Records every notification it receives; can be told to throw.
class TEcouteur : public TObjetAbonne {
 public:
  struct Note {
    TypeEventId Id;
    TObject* Donnee;
  };
  std::vector<Note> Notes;
  bool Lever = false;

  bool Recevoir(TObject*, TypeEventId EventId, TObject* Donnee) override {
    Notes.push_back({EventId, Donnee});
    if (Lever) throw Exception("abonne");
    return true;
  }
  int Nombre(TypeEventId id) const {
    int n = 0;
    for (const Note& note : Notes) n += note.Id == id;
    return n;
  }
};

// A service whose work writes its name to a journal, then does what the test asks of it.
class TServiceEssai : public TServiceObjets {
 public:
  TServiceEssai(const std::string& nom, uint8_t niveau, Journal* journal, bool possede = false,
                const TServiceObjetsApp::Class* proprietaire = nullptr)
      : TServiceObjets(nom, niveau, possede, proprietaire), journal_(journal) {}
  ~TServiceEssai() override { DernierPassage(); }

  TObject* Resultat = nullptr;
  bool Lever = false;
  bool Reentrer = false;
  TObject* Reentree = this;  // what the nested Executer returned

 protected:
  TObject* Traiter() override {
    journal_->push_back(GetNom());
    if (Reentrer) Reentree = Executer();
    if (Lever) throw Exception("travail");
    return Resultat;
  }

 private:
  Journal* journal_;
};

class TServiceInterfacesEssai : public TServiceInterfaces {
 public:
  using TServiceInterfaces::TServiceInterfaces;
  ~TServiceInterfacesEssai() override { DernierPassage(); }

 protected:
  TObject* Traiter() override { return nullptr; }
};

// Writes its name to a journal when it is freed, after running an optional probe.
class TTemoin : public TObject {
 public:
  TTemoin(std::string nom, Journal* journal) : nom_(std::move(nom)), journal_(journal) {}
  ~TTemoin() override {
    if (Sonde) Sonde(this);
    journal_->push_back(nom_);
  }
  std::function<void(TTemoin*)> Sonde;

 private:
  std::string nom_;
  Journal* journal_;
};

Journal journalAcces;

class TAccesEssai : public TServiceObjetsAppOf<TAccesEssai> {
 public:
  static const Class* StaticClass();
  static TServiceObjets* CreerService() { return new TServiceEssai("TAccesEssai", 1, &journalAcces, true, StaticClass()); }
};
NV_DEFINE_SERVICE_APP(TAccesEssai, TServiceObjetsApp)

class TAccesInterfacesEssai : public TServiceInterfacesAppOf<TAccesInterfacesEssai> {
 public:
  static const Class* StaticClass();
  static TServiceInterfaces* CreerService() {
    return new TServiceInterfacesEssai("TAccesInterfacesEssai", 0, StaticClass());
  }
};
NV_DEFINE_SERVICE_APP(TAccesInterfacesEssai, TServiceInterfacesApp)

// Cases that switch off or drop the process-wide registry run in a child process, so the services
// that other tests keep registered are left alone. The case answers whether it held and explains a
// failure on stderr.
void EnProcessusSepare(const std::function<bool()>& cas) {
  EXPECT_EXIT(std::_Exit(cas() ? 0 : 1), testing::ExitedWithCode(0), "");
}

bool Verifier(bool condition, const char* quoi) {
  if (!condition) std::cerr << "failed: " << quoi << "\n";
  return condition;
}

TypeEventId Activite() { return ServiceNorvane::EventServiceActivite(); }
}  // namespace

TEST(ServiceEvents, TwoIdsTakenInOrderAtStartUp) {
  const TypeEventId activite = ServiceNorvane::EventServiceActivite();
  EXPECT_GT(activite, 0);
  EXPECT_EQ(ServiceNorvane::EventServiceResultat(), activite + 1);
}

TEST(ServiceExecuter, RunsOnlyWhenActiveAndPublishesOnlyAnObject) {
  Journal j;
  TServiceEssai s("A", 0, &j);
  TEcouteur e;
  s.Abonner(&e, {-1});
  EXPECT_EQ(s.GetNom(), "A");
  EXPECT_FALSE(s.GetActif());
  EXPECT_EQ(s.Executer(), nullptr);
  EXPECT_TRUE(j.empty());

  s.SetActif(true);
  e.Notes.clear();
  EXPECT_EQ(s.Executer(), nullptr);
  EXPECT_EQ(j, Journal{"A"});
  EXPECT_TRUE(e.Notes.empty());  // nil result: nothing published

  TObject donnee;
  s.Resultat = &donnee;
  EXPECT_EQ(s.Executer(), &donnee);
  ASSERT_EQ(e.Notes.size(), 1u);
  EXPECT_EQ(e.Notes[0].Id, ServiceNorvane::EventServiceResultat());
  EXPECT_EQ(e.Notes[0].Donnee, &donnee);
  EXPECT_FALSE(s.GetEnCours());
}

TEST(ServiceExecuter, AnotherRunDuringTheWorkDoesNothing) {
  Journal j;
  TServiceEssai s("A", 0, &j);
  s.SetActif(true);
  s.Reentrer = true;
  s.Executer();
  EXPECT_EQ(j, Journal{"A"});
  EXPECT_EQ(s.Reentree, nullptr);
  EXPECT_FALSE(s.GetEnCours());
}

// The exception passes on, and the service still runs on the next turn: from its work, and from a
// subscriber of its result.
TEST(ServiceExecuter, ExceptionPassesOnAndTheServiceRunsAgain) {
  Journal j;
  TServiceEssai s("A", 0, &j);
  s.SetActif(true);
  s.Lever = true;
  EXPECT_THROW(s.Executer(), Exception);
  EXPECT_FALSE(s.GetEnCours());
  s.Lever = false;
  s.Executer();
  EXPECT_EQ(j, (Journal{"A", "A"}));

  TObject donnee;
  s.Resultat = &donnee;
  TEcouteur e;
  e.Lever = true;
  s.Abonner(&e, {ServiceNorvane::EventServiceResultat()});
  EXPECT_THROW(s.Executer(), Exception);
  EXPECT_FALSE(s.GetEnCours());
  e.Lever = false;
  EXPECT_EQ(s.Executer(), &donnee);
  EXPECT_EQ(j.size(), 4u);
}

TEST(ServiceSetActif, NotifiesOnlyAChange) {
  struct Cas {
    bool valeur;
    int notesApres;
  };
  const Cas cas[] = {{false, 0}, {true, 1}, {true, 1}, {false, 2}, {false, 2}, {true, 3}};
  Journal j;
  TServiceEssai s("A", 0, &j);
  TEcouteur e;
  s.Abonner(&e, {-1});
  for (const Cas& c : cas) {
    s.SetActif(c.valeur);
    EXPECT_EQ(s.GetActif(), c.valeur);
    EXPECT_EQ(e.Nombre(Activite()), c.notesApres) << "after SetActif(" << c.valeur << ")";
  }
  for (const auto& note : e.Notes) EXPECT_EQ(note.Donnee, nullptr);
}

TEST(ServicesRegistry, RegistrationSwitchesOnOnceAndASecondOneChangesNothing) {
  Journal j;
  TServiceEssai s("A", 2, &j);
  TEcouteur e;
  s.Abonner(&e, {-1});
  EXPECT_TRUE(TServicesApplication::Enregistrer(&s));
  EXPECT_TRUE(s.GetActif());
  EXPECT_EQ(e.Nombre(Activite()), 1);

  s.SetActif(false);
  EXPECT_FALSE(TServicesApplication::Enregistrer(&s));
  EXPECT_FALSE(s.GetActif());  // switched off in between: stays off
  TServicesApplication::ExecuterServices();
  EXPECT_TRUE(j.empty());

  TServiceEssai horsNiveau("X", 3, &j);
  EXPECT_FALSE(TServicesApplication::Enregistrer(&horsNiveau));
  EXPECT_FALSE(horsNiveau.GetActif());
}

TEST(ServicesRegistry, RunsLevelByLevelInRegistrationOrderSkippingInactiveServices) {
  Journal j;
  TServiceEssai deuxA("2a", 2, &j), zero("0", 0, &j), unA("1a", 1, &j), deuxB("2b", 2, &j), unB("1b", 1, &j);
  for (TServiceEssai* s : {&deuxA, &zero, &unA, &deuxB, &unB}) ASSERT_TRUE(TServicesApplication::Enregistrer(s));
  unB.SetActif(false);
  TServicesApplication::ExecuterServices();
  EXPECT_EQ(j, (Journal{"0", "1a", "2a", "2b"}));
}

// A service freed by the work of one that runs before it is not reached afterwards in the same turn.
TEST(ServicesRegistry, AServiceFreedDuringATurnIsNotReached) {
  Journal j;
  auto* victime = new TServiceEssai("victime", 2, &j);
  TServiceEssai tueur("tueur", 1, &j);
  ASSERT_TRUE(TServicesApplication::Enregistrer(victime));
  ASSERT_TRUE(TServicesApplication::Enregistrer(&tueur));
  // The killer's work frees the victim through a subscriber of its result.
  struct TTueur : TObjetAbonne {
    TServiceEssai** cible = nullptr;
    bool Recevoir(TObject*, TypeEventId, TObject*) override {
      delete *cible;
      *cible = nullptr;
      return true;
    }
  } abonne;
  abonne.cible = &victime;
  TObject donnee;
  tueur.Resultat = &donnee;
  tueur.Abonner(&abonne, {ServiceNorvane::EventServiceResultat()});
  TServicesApplication::ExecuterServices();
  EXPECT_EQ(victime, nullptr);
  EXPECT_EQ(j, (Journal{"tueur", "victime"}));  // the victim's last run, from its destructor only
}

TEST(ServicesRegistry, SwitchingOffStopsEveryServiceAndNotifiesEachActiveOne) {
  EnProcessusSepare([] {
    Journal j;
    TServiceEssai a("a", 0, &j), b("b", 1, &j), c("c", 2, &j);
    TEcouteur e;
    for (TServiceEssai* s : {&a, &b, &c}) {
      TServicesApplication::Enregistrer(s);
      s->Abonner(&e, {-1});
    }
    b.SetActif(false);
    e.Notes.clear();
    TServicesApplication::DesactiverServices();
    TServicesApplication::ExecuterServices();
    return Verifier(!a.GetActif() && !b.GetActif() && !c.GetActif(), "all off") &&
           Verifier(e.Nombre(Activite()) == 2, "one notification per active service") &&
           Verifier(j.empty(), "nothing runs once off");
  });
}

// Before the first registration, and after the lists are freed, both walks do nothing.
TEST(ServicesRegistry, WithoutListsNothingRunsOrSwitchesOff) {
  EnProcessusSepare([] {
    Journal j;
    TServiceEssai s("s", 1, &j);
    TServicesApplication::Enregistrer(&s);
    TServicesApplication::Finaliser();
    TServicesApplication::ExecuterServices();
    TServicesApplication::DesactiverServices();
    bool ok = Verifier(j.empty(), "nothing ran") && Verifier(s.GetActif(), "still active");
    ok = ok && Verifier(TServicesApplication::Enregistrer(&s), "registered again in new lists");
    TServicesApplication::ExecuterServices();
    return ok && Verifier(j == Journal{"s"}, "runs once registered again");
  });
}

TEST(ServiceDestruction, AnActiveServiceWorksOnceMoreASwitchedOffOneDoesNot) {
  Journal j;
  auto* actif = new TServiceEssai("actif", 1, &j);
  auto* eteint = new TServiceEssai("eteint", 1, &j);
  TServicesApplication::Enregistrer(actif);
  TServicesApplication::Enregistrer(eteint);
  eteint->SetActif(false);
  TEcouteur e;
  actif->Abonner(&e, {-1});
  delete actif;
  delete eteint;
  EXPECT_EQ(j, Journal{"actif"});
  EXPECT_EQ(e.Nombre(Activite()), 0);  // switched off silently
  TServicesApplication::ExecuterServices();  // both left the registry
  EXPECT_EQ(j, Journal{"actif"});
}

TEST(ServiceDestruction, AnExceptionFromTheLastRunGoesToTheTrace) {
  Journal j;
  auto* s = new TServiceEssai("leve", 1, &j);
  s->SetActif(true);
  s->Lever = true;
  const int32_t avant = Trace::TraceurParDefaut()->Compteur();
  delete s;
  EXPECT_EQ(j, Journal{"leve"});
  EXPECT_EQ(Trace::TraceurParDefaut()->Compteur(), avant + 1);
}

TEST(ServiceObjets, AddsOnceTakesBackAndFindsObjects) {
  Journal j;
  TServiceEssai s("s", 1, &j);
  TObject a, b, c;
  EXPECT_TRUE(s.Ajouter(&a));
  EXPECT_FALSE(s.Ajouter(&a));
  EXPECT_FALSE(s.Ajouter(nullptr));
  EXPECT_TRUE(s.Ajouter(&b));
  EXPECT_EQ(s.RangDe(&b), 1);
  EXPECT_EQ(s.RangDe(&c), -1);
  EXPECT_TRUE(s.Retirer(&a));
  EXPECT_FALSE(s.Retirer(&a));
  EXPECT_EQ(s.RangDe(&b), 0);
}

// Retirer never frees; the owning list frees what is left, last appended first, and objects that
// look at the service while it goes find no list.
TEST(ServiceObjets, OwningListFreesWhatItStillHoldsLastAppendedFirst) {
  Journal j, liberes;
  auto* s = new TServiceEssai("s", 1, &j, true);
  auto* premier = new TTemoin("premier", &liberes);
  auto* retire = new TTemoin("retire", &liberes);
  auto* dernier = new TTemoin("dernier", &liberes);
  for (TTemoin* t : {premier, retire, dernier}) s->Ajouter(t);
  EXPECT_TRUE(s->Retirer(retire));
  EXPECT_TRUE(liberes.empty());

  int rang = 0;
  bool retireAuDepart = true;
  premier->Sonde = [&](TTemoin* t) {
    rang = s->RangDe(t);
    retireAuDepart = s->Retirer(t);
  };
  delete s;
  EXPECT_EQ(liberes, (Journal{"dernier", "premier"}));
  EXPECT_EQ(rang, -2);
  EXPECT_FALSE(retireAuDepart);
  delete retire;
}

TEST(ServiceInterfaces, AddsOnceAndRemovesWithoutFreeing) {
  TServiceInterfacesEssai s("s", 0, nullptr);
  TObjetAbonnant a, b;
  EXPECT_TRUE(s.Ajouter(&a));
  EXPECT_FALSE(s.Ajouter(static_cast<IObjetAbonnant*>(&a)));
  EXPECT_FALSE(s.Ajouter(nullptr));
  EXPECT_TRUE(s.Ajouter(&b));
  EXPECT_FALSE(s.Retirer(nullptr));
  EXPECT_TRUE(s.Retirer(&a));
  EXPECT_FALSE(s.Retirer(&a));
  ASSERT_EQ(s.Interfaces().size(), 1u);
  EXPECT_EQ(s.Interfaces()[0], static_cast<IInterface*>(&b));
}

TEST(ServiceAccessor, ObjectServiceCreatedOnFirstAddRegisteredAndFinalised) {
  TTemoin sonde("sonde", &journalAcces);
  Journal liberes;
  ASSERT_EQ(TAccesEssai::GetService(), nullptr);
  EXPECT_FALSE(TAccesEssai::Retirer(&sonde));
  EXPECT_EQ(TAccesEssai::RangDe(&sonde), -3);
  EXPECT_EQ(TAccesEssai::GetService(), nullptr);  // none created by asking

  const int enregistrees = TClasseFinalisable::NombreEnregistrees();
  auto* temoin = new TTemoin("temoin", &liberes);
  EXPECT_TRUE(TAccesEssai::Ajouter(temoin));
  TServiceObjets* s = TAccesEssai::GetService();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(TAccesEssai::Service(), s);
  EXPECT_EQ(TAccesEssai::RangDe(temoin), 0);
  EXPECT_EQ(s->GetProprietaire(), TAccesEssai::StaticClass());
  EXPECT_EQ(TAccesEssai::StaticClass()->ClassName(), "TAccesEssai");
  EXPECT_TRUE(TAccesEssai::StaticClass()->InheritsFrom(TServiceObjetsApp::StaticClass()));
  EXPECT_GT(TClasseFinalisable::NombreEnregistrees(), enregistrees);
  EXPECT_TRUE(s->GetActif());
  journalAcces.clear();
  TServicesApplication::ExecuterServices();
  EXPECT_EQ(journalAcces, Journal{"TAccesEssai"});

  journalAcces.clear();
  TAccesEssai::Finaliser();
  EXPECT_EQ(journalAcces, Journal{"TAccesEssai"});  // last run
  EXPECT_EQ(liberes, Journal{"temoin"});           // the owning list freed what it held
  EXPECT_EQ(TAccesEssai::GetService(), nullptr);

  // Freeing the service directly also clears the accessor's variable.
  delete TAccesEssai::Service();
  EXPECT_EQ(TAccesEssai::GetService(), nullptr);
  journalAcces.clear();
}

TEST(ServiceAccessor, InterfaceServiceCreatedOnFirstAddOnly) {
  TObjetAbonnant x;
  EXPECT_FALSE(TAccesInterfacesEssai::Retirer(&x));
  EXPECT_EQ(TAccesInterfacesEssai::GetService(), nullptr);
  EXPECT_TRUE(TAccesInterfacesEssai::Ajouter(&x));
  TServiceInterfaces* s = TAccesInterfacesEssai::GetService();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetNiveau(), 0);
  EXPECT_TRUE(s->GetActif());
  EXPECT_FALSE(TAccesInterfacesEssai::Ajouter(&x));
  EXPECT_TRUE(TAccesInterfacesEssai::Retirer(&x));
  TAccesInterfacesEssai::Finaliser();
  EXPECT_EQ(TAccesInterfacesEssai::GetService(), nullptr);
}
