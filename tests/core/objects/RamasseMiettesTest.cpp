// The collector: what a turn frees and in which order, taking objects back, objects registered while a
// pass runs, shut-down, the index under heavy traffic, temporary objects and visitors.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/objects/Collectable.h"
#include "core/objects/CustomTraiterInstance.h"
#include "core/objects/Erreur.h"
#include "core/objects/RamasseMiettes.h"

namespace {

using Journal = std::vector<std::string>;

// Writes its name to a journal when it is freed; may register another object from its destructor.
class TMortel : public TObject {
 public:
  TMortel(std::string nom, Journal* j) : nom_(std::move(nom)), journal_(j) {}
  ~TMortel() override {
    journal_->push_back(nom_);
    if (Heritier) TRamasseMiettes::Ajouter(Heritier);
  }
  TObject* Heritier = nullptr;

 private:
  std::string nom_;
  Journal* journal_;
};

class TEcouteur : public TObjetAbonne {
 public:
  int Notes = 0;
  bool Recevoir(TObject*, TypeEventId, TObject*) override {
    ++Notes;
    return true;
  }
};

// One turn of the collector (switched on, whatever an earlier test did to it).
void Tour() {
  TServiceObjets* service = TRamasseMiettes::Service();
  service->SetActif(true);
  service->Executer();
}

class Collecteur : public ::testing::Test {
 protected:
  void SetUp() override { Tour(); }
  void TearDown() override { Tour(); }
};

}  // namespace

TEST_F(Collecteur, TurnFreesRegisteredObjectsOldestFirstAndOnlyOnce) {
  Journal j;
  auto* a = new TMortel("a", &j);
  auto* b = new TMortel("b", &j);
  auto* c = new TMortel("c", &j);
  auto* d = new TMortel("d", &j);
  EXPECT_TRUE(TRamasseMiettes::Ajouter(a));
  EXPECT_TRUE(TRamasseMiettes::Ajouter(b));
  EXPECT_TRUE(TRamasseMiettes::Ajouter(c));
  EXPECT_FALSE(TRamasseMiettes::Ajouter(a));  // held once
  EXPECT_FALSE(TRamasseMiettes::Ajouter(nullptr));
  EXPECT_EQ(TRamasseMiettes::RangDe(c), 2);
  EXPECT_TRUE(TRamasseMiettes::Retirer(b));
  EXPECT_FALSE(TRamasseMiettes::Retirer(b));
  EXPECT_FALSE(TRamasseMiettes::Retirer(d));  // never registered
  EXPECT_EQ(TRamasseMiettes::RangDe(b), -1);
  EXPECT_EQ(TRamasseMiettes::RangDe(c), 1);
  a->Heritier = d;  // registered by a's destructor, during the pass

  Tour();
  EXPECT_EQ(j, (Journal{"a", "c", "d"}));
  EXPECT_EQ(TRamasseMiettes::RangDe(b), -1);
  Tour();
  EXPECT_EQ(j.size(), 3u);  // b was taken back: it survives every turn
  delete b;
}

TEST_F(Collecteur, TurnsNotifyNothingWhetherOrNotTheyFreeObjects) {
  TEcouteur e;
  TServiceObjets* service = TRamasseMiettes::Service();
  service->Abonner(&e, {-1});
  Tour();
  Journal j;
  TRamasseMiettes::Ajouter(new TMortel("o", &j));
  Tour();
  EXPECT_EQ(j, Journal{"o"});
  EXPECT_EQ(e.Notes, 0);  // the collector's work returns nil: no result event
  service->Desabonner(&e);
}

TEST_F(Collecteur, CollectableHandedOverIsNoLongerCollected) {
  auto* c = new TCustomCollectable(true);
  int changes = 0;
  c->SurChangement = [&](TCustomCollectable*) { ++changes; };
  TRamasseMiettes::Ajouter(c);
  EXPECT_FALSE(c->GetCollecteActive());
  EXPECT_EQ(changes, 1);
  TRamasseMiettes::Retirer(c);
  delete c;
}

// Against a plain model: whatever mix of registrations and take-backs, the index and the order of a
// pass are those of a list in registration order.
TEST_F(Collecteur, IndexFollowsAPlainListUnderHeavyTraffic) {
  Journal j;
  std::vector<TMortel*> pool;
  for (int i = 0; i < 3000; ++i) pool.push_back(new TMortel(std::to_string(i), &j));
  std::vector<TMortel*> model;
  std::mt19937 random(7);
  for (int step = 0; step < 30000; ++step) {
    TMortel* o = pool[random() % pool.size()];
    auto it = std::find(model.begin(), model.end(), o);
    if (random() % 3 != 0) {
      EXPECT_EQ(TRamasseMiettes::Ajouter(o), it == model.end());
      if (it == model.end()) model.push_back(o);
    } else {
      EXPECT_EQ(TRamasseMiettes::Retirer(o), it != model.end());
      if (it != model.end()) model.erase(it);
    }
    if (step % 997 == 0) {
      for (int k = 0; k < 20; ++k) {
        TMortel* p = pool[random() % pool.size()];
        auto at = std::find(model.begin(), model.end(), p);
        ASSERT_EQ(TRamasseMiettes::RangDe(p), at == model.end() ? -1 : static_cast<int>(at - model.begin()));
      }
    }
  }
  Journal expected;
  for (TMortel* o : model) {
    expected.push_back(std::to_string(std::find(pool.begin(), pool.end(), o) - pool.begin()));
  }
  Tour();
  EXPECT_EQ(j, expected);
  for (TMortel* o : pool)
    if (std::find(model.begin(), model.end(), o) == model.end()) delete o;
}

TEST(CollecteurFin, ShutDownFreesWhatIsLeftLastRegisteredFirstUnlessActive) {
  Journal j;
  TRamasseMiettes::Finaliser();
  EXPECT_FALSE(TRamasseMiettes::Retirer(nullptr));
  auto* x = new TMortel("x", &j);
  EXPECT_FALSE(TRamasseMiettes::Retirer(x));  // no collector: none is created
  EXPECT_EQ(TRamasseMiettes::RangDe(x), -3);
  EXPECT_EQ(TRamasseMiettes::GetService(), nullptr);

  TRamasseMiettes::Ajouter(x);
  TRamasseMiettes::Ajouter(new TMortel("y", &j));
  TRamasseMiettes::Service()->SetActif(false);
  TRamasseMiettes::Finaliser();
  EXPECT_EQ(j, (Journal{"y", "x"}));

  j.clear();
  TRamasseMiettes::Ajouter(new TMortel("p", &j));
  TRamasseMiettes::Ajouter(new TMortel("q", &j));
  TRamasseMiettes::Finaliser();  // active: its last pass frees them oldest first
  EXPECT_EQ(j, (Journal{"p", "q"}));
  EXPECT_EQ(TRamasseMiettes::Service()->GetNom(), "TRamasseMiettes");
  EXPECT_EQ(TRamasseMiettes::Service()->GetNiveau(), 1);
}

TEST_F(Collecteur, TemporaryObjectIsCollectedOnlyWhenAsked) {
  auto* t = new TObjetTemporaire(true);
  auto* p = new TObjetTemporaire(false);
  EXPECT_TRUE(t->EstInscrit());
  EXPECT_FALSE(p->EstInscrit());
  t->DesinscrireRamasseMiettes();
  p->InscrireRamasseMiettes();
  Tour();  // p goes; t survives
  EXPECT_FALSE(t->EstInscrit());
  t->InscrireRamasseMiettes();
  delete t;  // its destruction takes it back: the next pass does not free it again
  Tour();
}

TEST_F(Collecteur, VisitorsAreTemporaryAndDoTheirStep) {
  auto* compter = new TCompterInstances;
  EXPECT_TRUE(compter->EstInscrit());
  TObject o;
  EXPECT_FALSE(compter->Traiter(&o));
  EXPECT_FALSE(compter->Traiter(nullptr));
  EXPECT_EQ(compter->Nombre, 2);

  auto* supprimer = new TSupprimerInstances;
  Journal j;
  EXPECT_FALSE(supprimer->Traiter(new TMortel("m", &j)));
  EXPECT_FALSE(supprimer->Traiter(nullptr));
  EXPECT_EQ(j, Journal{"m"});

  auto* tracer = new TTracerInstance(false, true, nullptr);
  auto* e1 = new TErreur("un");
  auto* e2 = new TErreur("deux");
  tracer->Traiter(e1);
  tracer->Traiter(&o);  // not traceable: skipped
  tracer->Traiter(e2);
  EXPECT_EQ(tracer->Texte, "TErreur\r\n  Message = un\r\n\r\nTErreur\r\n  Message = deux\r\n");

  auto* complet = new TTracerInstance(true, false, nullptr);
  complet->Traiter(e1);
  complet->Traiter(e2);
  EXPECT_EQ(complet->Texte, "TErreur\r\n  Message = un\r\nTErreur\r\n  Message = deux\r\n");
  Tour();  // visitors and errors all go with the turn
}
