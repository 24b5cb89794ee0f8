// Trees and error trees: attaching and detaching nodes (moves, the ancestor swap, refusals), who owns
// a node (its parent or the collector), walks, the stream form with its exact bytes, and the text of
// an error tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/objects/CustomTraiterInstance.h"
#include "core/objects/Erreur.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"

namespace {

using Journal = std::vector<std::string>;

// An error that writes its message to a journal when it is freed.
class TErreurJournal : public TErreur {
 public:
  TErreurJournal(const std::string& m, Journal* j) : TErreur(m), journal_(j) {}
  ~TErreurJournal() override { journal_->push_back(Message); }

 private:
  Journal* journal_;
};

void Tour() {
  TServiceObjets* service = TRamasseMiettes::Service();
  service->SetActif(true);
  service->Executer();
}

class Arbres : public ::testing::Test {
 protected:
  void SetUp() override { Tour(); }
  void TearDown() override { Tour(); }
};

std::vector<TArbre*> FilsDe(const TArbre* a) {
  std::vector<TArbre*> v;
  for (int i = 0; i < a->NombreFils(); ++i) v.push_back(a->Fils(i));
  return v;
}

std::vector<uint8_t> Chaine(const std::string& s) {
  std::vector<uint8_t> v = {static_cast<uint8_t>(s.size()), 0, 0, 0};
  v.insert(v.end(), s.begin(), s.end());
  return v;
}
std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(Arbres, AttachingMovesANodeAndRefusesNilSelfAndDirectChildren) {
  auto* racine = new TArbreTemporaire;
  auto* autre = new TArbreTemporaire;
  auto* n = new TArbreTemporaire;
  EXPECT_EQ(racine->AjouterFils(n), 0);
  EXPECT_EQ(racine->AjouterFils(n), -1);  // already a direct child
  EXPECT_EQ(racine->AjouterFils(nullptr), -1);
  EXPECT_EQ(n->AjouterFils(n), -1);  // would make the node its own child
  EXPECT_EQ(racine->AjouterFils(racine), -1);
  EXPECT_EQ(n->GetParent(), racine);
  EXPECT_EQ(n->NombreFils(), 0);

  EXPECT_EQ(autre->AjouterFils(n), 0);  // moved: leaves its former parent
  EXPECT_EQ(racine->NombreFils(), 0);
  EXPECT_EQ(n->GetParent(), autre);
  delete racine;
  delete autre;  // frees n with it
}

TEST_F(Arbres, AttachingAnAncestorUnderADescendantSwapsThem) {
  // P > C > S; S.AjouterFils(C) gives P > S > C, with no cycle.
  auto* p = new TArbreTemporaire;
  auto* c = new TArbreTemporaire;
  auto* s = new TArbreTemporaire;
  auto* x = new TArbreTemporaire;  // another child of C, which goes with C
  c->AjouterA(p);
  s->AjouterA(c);
  x->AjouterA(c);
  EXPECT_GE(s->AjouterFils(c), 0);
  EXPECT_EQ(FilsDe(p), std::vector<TArbre*>{s});
  EXPECT_EQ(FilsDe(s), std::vector<TArbre*>{c});
  EXPECT_EQ(FilsDe(c), std::vector<TArbre*>{x});
  EXPECT_EQ(s->GetParent(), p);
  EXPECT_EQ(c->GetParent(), s);
  EXPECT_FALSE(c->Contient(s));
  EXPECT_TRUE(p->EstInscrit());
  EXPECT_FALSE(s->EstInscrit());

  // The root under its grandchild: the grandchild becomes the root, and the collector's.
  EXPECT_GE(x->AjouterFils(p), 0);
  EXPECT_EQ(x->GetParent(), nullptr);
  EXPECT_TRUE(x->EstInscrit());
  EXPECT_FALSE(p->EstInscrit());
  EXPECT_TRUE(x->Contient(c));
  EXPECT_EQ(FilsDe(c), std::vector<TArbre*>{});
  Tour();  // x frees the whole tree: the sanitizer sees any node freed twice or lost
}

TEST_F(Arbres, DetachingAndTheCollector) {
  Journal j;
  auto* parent = new TErreurJournal("parent", &j);
  auto* enfant = new TErreurJournal("enfant", &j);
  auto* petit = new TErreurJournal("petit", &j);
  EXPECT_TRUE(parent->EstInscrit());
  enfant->AjouterA(parent);
  petit->AjouterA(enfant);
  EXPECT_FALSE(enfant->EstInscrit());

  EXPECT_FALSE(enfant->SupprimerFils(parent));  // not in its subtree
  EXPECT_TRUE(parent->SupprimerFils(petit));     // a grandchild is in the subtree
  EXPECT_EQ(petit->GetParent(), nullptr);
  EXPECT_TRUE(petit->EstInscrit());
  EXPECT_EQ(enfant->NombreFils(), 0);
  EXPECT_TRUE(enfant->SupprimerFils(enfant));  // a node detaches itself
  EXPECT_TRUE(enfant->EstInscrit());
  enfant->AjouterA(parent);  // attached again before the turn: survives it

  auto* racine = new TErreurJournal("racine", &j);
  parent->AjouterA(racine);
  racine->SupprimerFils(parent);
  Tour();
  EXPECT_EQ(j, (Journal{"petit", "racine", "parent", "enfant"}));
}

TEST_F(Arbres, AChildFreedOnItsOwnLeavesItsParent) {
  auto* parent = new TArbreTemporaire;
  auto* a = new TArbreTemporaire;
  auto* b = new TArbreTemporaire;
  auto* c = new TArbreTemporaire;
  for (TArbre* n : {a, b, c}) n->AjouterA(parent);
  delete b;
  EXPECT_EQ(FilsDe(parent), (std::vector<TArbre*>{a, c}));
  // A visitor that frees what it visits, over the children themselves.
  EXPECT_FALSE(parent->TraiterFils(new TSupprimerInstances));
  EXPECT_EQ(parent->NombreFils(), 0);
  delete parent;
}

TEST_F(Arbres, WalkOverChildrenStopsAtTheFirstTrue) {
  struct TArreterAuDeuxieme : TCustomTraiterInstance {
    std::vector<TObject*> Vus;
    bool Traiter(TObject* o) override {
      Vus.push_back(o);
      return Vus.size() == 2;
    }
  };
  auto* racine = new TArbreTemporaire;
  auto* compter = new TCompterInstances;
  EXPECT_FALSE(racine->TraiterFils(compter));  // no children
  std::vector<TArbre*> fils;
  for (int i = 0; i < 3; ++i) fils.push_back(new TArbreTemporaire), fils.back()->AjouterA(racine);
  EXPECT_FALSE(racine->TraiterFils(compter));
  EXPECT_EQ(compter->Nombre, 3);
  auto* arret = new TArreterAuDeuxieme;
  EXPECT_TRUE(racine->TraiterFils(arret));
  EXPECT_EQ(arret->Vus, (std::vector<TObject*>{fils[0], fils[1]}));
}

TEST_F(Arbres, ErrorWithNoChildIsTwentyNineBytes) {
  TErreur* e = new TErreur("abc");
  TBinaryFormatter f(nullptr);
  f.EcrireObjet(e, nullptr);
  const std::vector<uint8_t> expected =
      Chaine("TErreur") + Chaine("NIL") + Chaine("abc") + std::vector<uint8_t>{0, 0, 0, 0};
  EXPECT_EQ(static_cast<TMemoryStream*>(f.Flux())->Bytes(), expected);
  EXPECT_EQ(f.GetTaille(), 29);
  EXPECT_EQ(TErreur("").Message, "Erreur globale");
}

TEST_F(Arbres, ErrorTreeReadBackIsTheSameAndBelongsToItsReader) {
  auto* racine = new TErreur("racine");
  (new TErreur("un"))->AjouterA(racine);
  auto* deux = new TErreur("deux");
  deux->AjouterA(racine);
  (new TErreur("deux.un"))->AjouterA(deux);
  auto* noeud = new TArbreTemporaire;  // a plain tree node among errors
  noeud->AjouterA(racine);

  for (bool sized : {false, true}) {
    std::unique_ptr<TBinaryFormatter> f(sized ? new TBinaryFormatterWithSize(nullptr) : new TBinaryFormatter(nullptr));
    f->EcrireObjet(racine, nullptr);
    f->SetPosition(0);
    std::unique_ptr<TObject> objet(f->LireObjet(nullptr));
    auto* lu = ObjectAs<TErreur>(objet.get());
    ASSERT_NE(lu, nullptr);
    EXPECT_FALSE(lu->EstInscrit());  // read without its constructor: not the collector's
    EXPECT_EQ(lu->Message, "racine");
    ASSERT_EQ(lu->NombreFils(), 3);
    EXPECT_EQ(static_cast<TErreur*>(lu->Fils(0))->Message, "un");
    auto* d = ObjectAs<TErreur>(lu->Fils(1));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Message, "deux");
    EXPECT_EQ(d->GetParent(), lu);
    ASSERT_EQ(d->NombreFils(), 1);
    EXPECT_EQ(static_cast<TErreur*>(d->Fils(0))->Message, "deux.un");
    EXPECT_EQ(lu->Fils(2)->ClassType(), TArbreTemporaire::StaticClass());
    EXPECT_EQ(f->GetPosition(), f->GetTaille());
  }
  Tour();
  // What the reader holds is untouched by the turn: it is freed by the unique_ptr above without a
  // double free (the sanitizer would tell).
}

TEST_F(Arbres, CorruptErrorStreamsRaiseTheReadError) {
  auto corps = [](int32_t count) {
    std::vector<uint8_t> v = Chaine("TErreur") + Chaine("NIL") + Chaine("m");
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i)));
    return v;
  };
  TGestionnaireNomsDeClasse::Enregistrer(TObjectList::StaticClass());
  const std::vector<uint8_t> cases[] = {
      corps(3) + corps(0),                             // three children announced, one there
      corps(-1),                                       // negative count
      corps(0x7FFFFFFF),                               // huge count, nothing behind
      corps(1) + Chaine("TObjectList") + Chaine("NIL"),  // a child that is not a tree node
      Chaine("TErreur") + Chaine("NIL") + Chaine("m"),  // no count
  };
  for (const auto& bytes : cases) {
    TMemoryStream m;
    m.Assign(bytes.data(), bytes.size());
    TBinaryFormatter f(&m);
    EXPECT_THROW(delete f.LireObjet(nullptr), EReadError);
  }
}

TEST_F(Arbres, TextOfAnErrorTree) {
  auto* a = new TErreur("A");
  (new TErreur("B"))->AjouterA(a);
  std::string texte;
  a->TracerComplet(false, nullptr, texte);
  EXPECT_EQ(texte, "TErreur\r\n  Message = A\r\n  TErreur\r\n    Message = B\r\n");
  a->TracerResume(texte);
  EXPECT_EQ(texte, "TErreur\r\n  Message = A\r\n  TErreur\r\n    Message = B\r\n");

  ITracable* tracable = InterfaceOf<ITracable>(a);
  ASSERT_NE(tracable, nullptr);
  tracable->TracerComplet(false, nullptr, texte);  // the interface goes to the same block
  EXPECT_EQ(texte, "TErreur\r\n  Message = A\r\n  TErreur\r\n    Message = B\r\n");
  tracable->SetTraceActive(false);
  tracable->TracerComplet(false, nullptr, texte);
  EXPECT_EQ(texte, "");
  a->TracerEntete(nullptr, texte);
  EXPECT_EQ(texte, "");

  TArbre plain;  // a plain node has no lines of its own
  plain.TracerComplet(false, nullptr, texte);
  EXPECT_EQ(texte, "TArbre\r\n");
}

TEST_F(Arbres, ErrorWithoutParentLivesUntilTheNextTurnAttachedOneWithItsParent) {
  Journal j;
  auto* seule = new TErreurJournal("seule", &j);
  auto* parent = new TErreurJournal("parent", &j);
  auto* attachee = new TErreurJournal("attachee", &j);
  EXPECT_TRUE(seule->EstInscrit());
  attachee->AjouterA(parent);
  TRamasseMiettes::Retirer(parent);  // the caller keeps the parent
  Tour();
  EXPECT_EQ(j, Journal{"seule"});
  delete parent;
  EXPECT_EQ(j, (Journal{"seule", "parent", "attachee"}));
}
