// Transient copies, article factories and the collectable service: the life of pooled articles and
// transients over turns of the main loop, the origin of a transient and its write-back, the
// transient tables' registry, and the reference holder built on transients.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/diagnostics/Trace.h"
#include "core/objects/Erreur.h"
#include "core/objects/RamasseMiettes.h"
#include "core/values/Ansi1252.h"
#include "objectdb/arrays/ArrayOfTableDeTransitoires.h"
#include "objectdb/articles/ArticleEtReference.h"
#include "objectdb/articles/FabriqueArticles.h"
#include "objectdb/articles/ServiceCollectables.h"
#include "objectdb/articles/TableDeTransitoires.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"
#include "tests/objectdb/articles/TableEssai.h"

namespace {

class TRecette : public TArticle {
  NV_DECLARE_CLASS(TRecette)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Titre", "String", tkLString, nullptr, 0, true},
      {"Portions", "Integer", tkInteger, nullptr, 1, true},
  };
  std::string Titre() const { return GetChampString(0); }
  int32_t Portions() const { return GetChampInteger(1); }
};
NV_DEFINE_PUBLISHED_CLASS(TRecette, TArticle, kProprietes)

// A class that publishes no field: its transient rows are counted through their origin column.
class TJeton : public TArticle {
  NV_DECLARE_CLASS(TJeton)
 public:
  using TArticle::TArticle;
};
NV_DEFINE_CLASS(TJeton, TArticle)

// One turn of the main loop's services: the collector (level 1), then the collectable service (2).
void Tour() { TServicesApplication::ExecuterServices(); }

struct Fixture {
  TTableEssai table{TRecette::StaticClass(), nullptr, 16};
  TFabriqueArticles fabrique{&table};

  Fixture() { table.Fabrique = &fabrique; }
  ~Fixture() {
    table.Fabrique = nullptr;
    Tour();  // frees the transients of the test before the table they copy goes
  }
  int32_t Ligne(const std::string& titre, int32_t portions) {
    int32_t l = -1;
    EXPECT_TRUE(table.AllouerLigne(l));
    static_cast<TChampString*>(table.GetChamp(0))->SetValeur(l, titre);
    static_cast<TChampInteger*>(table.GetChamp(1))->SetValeur(l, portions);
    return l;
  }
  static TRecette* Transitoire(TCustomTable* table, int32_t numero) {
    return static_cast<TRecette*>(TArticle::CreerTransitoire(TRecette::StaticClass(), table, numero));
  }
};

std::string Message(TErreur* e) { return e == nullptr ? "<nil>" : e->Message; }
std::string MessageFils(TErreur* e) {
  return e == nullptr || e->NombreFils() != 1 ? "<pas un fils>" : static_cast<TErreur*>(e->Fils(0))->Message;
}

// The lines written through the default tracer while it lives.
struct Traces {
  std::vector<std::string> lignes;
  Traces() {
    Trace::TraceurParDefaut()->SurTrace = [this](TCustomTraceur*, const std::string& l) { lignes.push_back(l); };
  }
  ~Traces() { Trace::TraceurParDefaut()->SurTrace = nullptr; }
  bool Contient(const std::string& texte) const {
    for (const std::string& l : lignes)
      if (l.find(texte) != std::string::npos) return true;
    return false;
  }
};

// A collectable that records what it was asked and may answer an error.
class TCollectableEssai : public TCustomCollectable {
 public:
  TCollectableEssai() : TCustomCollectable(false) {}
  std::vector<TypeOptionsCollecte> recus;
  std::string erreur;
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override {
    recus.push_back(Options);
    if (!erreur.empty()) Erreur = new TErreur(erreur);
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------------
// The collectable service

TEST(ServiceCollectables, RegistersCollectablesOnlyAndCollectsThemWithItsOwnOptions) {
  TCollectableEssai a, b;
  TServiceCollectables service("Essai", 2, nullptr);  // its last pass still reaches a
  TObjetInterfacable pasCollectable;
  EXPECT_FALSE(service.Ajouter(&pasCollectable));
  EXPECT_TRUE(service.Ajouter(static_cast<ICollectable*>(&a)));
  EXPECT_FALSE(service.Ajouter(static_cast<ICollectable*>(&a)));
  EXPECT_TRUE(service.Ajouter(static_cast<ICollectable*>(&b)));
  EXPECT_EQ(service.Interfaces().size(), 2u);

  const auto globale = EnsembleCollecte({OC_Globale}), destruction = EnsembleCollecte({OC_AvecDestruction});
  TErreur* erreur = nullptr;
  service.Collecter(destruction, erreur);  // nothing in common with {OC_Globale}
  EXPECT_TRUE(a.recus.empty());

  ASSERT_EQ(a.GetOptions() & destruction, 0);
  service.AjouterOptions(destruction);
  EXPECT_EQ(a.GetOptions() & destruction, destruction);  // passed on to the collectables
  b.erreur = "b refuse";
  service.Collecter(destruction, erreur);
  EXPECT_EQ(a.recus, std::vector<TypeOptionsCollecte>{static_cast<TypeOptionsCollecte>(globale | destruction)});
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "TServiceCollectables.Collecter");
  EXPECT_EQ(MessageFils(erreur), "b refuse");

  EXPECT_TRUE(service.Retirer(static_cast<ICollectable*>(&b)));
  service.SetActif(true);
  EXPECT_EQ(service.Executer(), nullptr);  // a turn with no error publishes nothing
  EXPECT_EQ(a.recus.size(), 2u);
  EXPECT_EQ(b.recus.size(), 1u);

  // Options taken back from the service are taken back from its collectables.
  service.RetirerOptions(destruction);
  EXPECT_EQ(a.GetOptions() & destruction, 0);
  erreur = nullptr;
  service.Collecter(destruction, erreur);
  EXPECT_EQ(a.recus.size(), 2u);
  EXPECT_EQ(erreur, nullptr);
}

TEST(ServiceCollectables, TheApplicationsServiceRunsAtLevelTwo) {
  TServiceInterfaces* service = TServiceCollectablesApplication::Service();
  EXPECT_EQ(service->GetNom(), "TServiceCollectablesApplication");
  EXPECT_EQ(service->GetNiveau(), 2);
  EXPECT_TRUE(service->GetActif());
}

// ---------------------------------------------------------------------------------------------------
// Factories of tables

TEST(FabriqueArticles, ARowsArticleIsSharedWithinATurnAndMadeAgainAfterIt) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TArticle* a = f.fabrique.ArticleDeLigne(l);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->ClassType(), TRecette::StaticClass());
  EXPECT_EQ(a->Mode, MA_Table);
  EXPECT_EQ(static_cast<TRecette*>(a)->Titre(), "gratin");
  EXPECT_EQ(f.fabrique.ArticleDeLigne(l), a);
  const int32_t handle = a->Handle;

  Tour();
  TArticle* b = f.fabrique.ArticleDeLigne(l);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(b->Handle, handle);

  EXPECT_EQ(f.fabrique.ArticleDeLigne(l + 5), nullptr);
  EXPECT_EQ(f.table.DerniereErreur, TCustomTable::kArticleInexistant);
}

TEST(FabriqueArticles, ADeletedRowsArticleIsInvalidatedAndNeverReusedForAnotherRow) {
  Fixture f;
  const int32_t l1 = f.Ligne("soupe", 2), l2 = f.Ligne("tarte", 6);
  TArticle* a = f.fabrique.ArticleDeLigne(l1);
  ASSERT_TRUE(f.table.LibererLigne(l1 + 1));
  f.fabrique.LibererLigne(l1);
  EXPECT_FALSE(a->EstValide());  // every holder sees that the row is gone
  EXPECT_EQ(a->IndiceArticle, kAucuneLigne);
  EXPECT_EQ(f.fabrique.Libres->GetNombreElements(), 1);
  TArticle* b = f.fabrique.ArticleDeLigne(l2);
  EXPECT_NE(b, a);
  EXPECT_EQ(static_cast<TRecette*>(b)->Titre(), "tarte");

  // An article that deleted its row behind the factory's back designates nothing: a new article is
  // made for the row reused, and the stale one is kept until the turn ends (the leak check sees it
  // freed), not dropped.
  EXPECT_EQ(Message(b->Supprimer()), "<nil>");
  const int32_t l3 = f.Ligne("flan", 1);
  ASSERT_EQ(l3, l2);
  TArticle* c = f.fabrique.ArticleDeLigne(l3);
  EXPECT_NE(c, b);
  EXPECT_EQ(static_cast<TRecette*>(c)->Titre(), "flan");
  EXPECT_EQ(f.fabrique.Libres->GetNombreElements(), 2);
}

// ---------------------------------------------------------------------------------------------------
// Transients

TEST(TableDeTransitoires, ATransientCopiesItsOriginEditsTheCopyAndWritesItBack) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TRecette* t = Fixture::Transitoire(&f.table, l + 1);
  ASSERT_NE(t, nullptr);
  TTableDeTransitoires* transitoires = t->TableDeTransitoires();
  EXPECT_EQ(t->Mode, MA_Transitoire);
  EXPECT_EQ(t->Table, transitoires);
  EXPECT_EQ(t->Titre(), "gratin");
  EXPECT_EQ(transitoires->NumeroOrigine(static_cast<int32_t>(t->IndiceArticle)), l + 1);
  EXPECT_EQ(transitoires->TableOrigine(static_cast<int32_t>(t->IndiceArticle)), &f.table);
  TypeReferenceArticle reference;
  t->GetReference(reference);
  EXPECT_EQ(reference.Table, &f.table);
  EXPECT_EQ(reference.IndiceArticle, static_cast<uint32_t>(l));

  t->SetChampInteger(1, 8);
  TRecette ligne(&f.table, MA_Reference, l + 1);
  EXPECT_EQ(ligne.Portions(), 4);  // only the copy changed
  EXPECT_EQ(Message(t->Modifier(nullptr)), "<nil>");
  EXPECT_EQ(ligne.Portions(), 8);

  // Modifier with a source takes its values first.
  TRecette autre(&f.table, MA_Reference, f.Ligne("potage", 3) + 1);
  EXPECT_EQ(Message(t->Modifier(&autre)), "<nil>");
  EXPECT_EQ(ligne.Titre(), "potage");
  EXPECT_EQ(ligne.Portions(), 3);
}

TEST(TableDeTransitoires, CreerFromATransientMakesTheNewRowItsOrigin) {
  Fixture f;
  TRecette* t = Fixture::Transitoire(nullptr, static_cast<int32_t>(kAucuneLigne));
  EXPECT_EQ(t->Titre(), "");
  TypeReferenceArticle reference;
  t->GetReference(reference);
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(reference));

  t->SetChampString(0, "crepes");
  t->SetChampInteger(1, 12);
  EXPECT_EQ(Message(t->Creer(&f.table)), "<nil>");
  ASSERT_EQ(f.table.NombreArticles, 1);
  t->GetReference(reference);
  ASSERT_EQ(reference.Table, &f.table);
  TRecette ligne(&f.table, MA_Reference, static_cast<int32_t>(reference.IndiceArticle) + 1);
  EXPECT_EQ(ligne.Titre(), "crepes");
  EXPECT_EQ(ligne.Portions(), 12);

  // A refused creation leaves the transient without origin (it detached before writing).
  f.table.Refus = TCustomTable::kDoublon;
  TErreur* e = t->Creer(&f.table);
  EXPECT_EQ(Message(e), "TRecette.Creer : Impossible de créer l'article"_ansi);
  EXPECT_EQ(MessageFils(e), "Table : Création d'un doublon"_ansi);
  t->GetReference(reference);
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(reference));
}

// The origin's table refusing the write-back used to be reported with the transient table's last
// error text, which was empty: the child read "Erreur globale" instead of the reason.
TEST(TableDeTransitoires, ModifierReportsWhyTheOriginsTableRefusedTheWriteBack) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TRecette* t = Fixture::Transitoire(&f.table, l + 1);
  t->SetChampInteger(1, 5);
  f.table.Refus = TCustomTable::kDoublon;
  TErreur* e = t->Modifier(nullptr);
  EXPECT_EQ(Message(e), "TRecette.Modifier : Impossible de modifier l'article");
  EXPECT_EQ(MessageFils(e), "Table : Création d'un doublon"_ansi);

  // Without origin the transient table gives the reason.
  f.table.Refus = 0;
  t->TableDeTransitoires()->OublierOrigine(static_cast<uint32_t>(l), &f.table);
  e = t->Modifier(nullptr);
  EXPECT_EQ(MessageFils(e), "TableDeTransitoires : Pas d'article original");
  EXPECT_EQ(TRecette(&f.table, MA_Reference, l + 1).Portions(), 4);
}

TEST(TableDeTransitoires, SupprimerDeletesTheOriginRowAndATransientWithoutOriginDeletesNothing) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  f.Ligne("soupe", 2);
  TRecette* t = Fixture::Transitoire(&f.table, l + 1);
  EXPECT_EQ(Message(t->Supprimer()), "<nil>");
  EXPECT_FALSE(f.table.LigneExiste(l));
  EXPECT_EQ(f.table.NombreArticles, 1);
  EXPECT_TRUE(t->EstValide());  // it keeps its own row, without origin
  EXPECT_EQ(t->Titre(), "gratin");
  EXPECT_EQ(Message(t->Supprimer()), "<nil>");
  EXPECT_EQ(f.table.NombreArticles, 1);
}

TEST(TableDeTransitoires, AGivenBackTransientIsReusedWithItsHandleAndRowAndNoOldValues) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TRecette* t = Fixture::Transitoire(&f.table, l + 1);
  const int32_t handle = t->Handle;
  const uint32_t ligne = t->IndiceArticle;
  t->RestituerTransitoire();
  TTableDeTransitoires* transitoires = t->TableDeTransitoires();
  EXPECT_EQ(transitoires->NumeroOrigine(static_cast<int32_t>(ligne)), static_cast<int32_t>(kAucuneLigne));

  TRecette* vide = Fixture::Transitoire(nullptr, static_cast<int32_t>(kAucuneLigne));
  EXPECT_EQ(vide, t);
  EXPECT_EQ(vide->Handle, handle);
  EXPECT_EQ(vide->IndiceArticle, ligne);
  EXPECT_EQ(vide->Titre(), "");  // emptied, not the values of its last use
  EXPECT_EQ(transitoires->NombreArticles, 1);
}

TEST(TableDeTransitoires, AnOriginThatCannotBeCopiedGivesAnEmptyTransientWithoutOrigin) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TTableEssai jetons(TJeton::StaticClass(), nullptr, 16);
  int32_t lj = -1;
  ASSERT_TRUE(jetons.AllouerLigne(lj));
  const struct {
    TCustomTable* table;
    int32_t numero;
  } cas[] = {{&f.table, l + 2}, {&f.table, 0}, {&jetons, lj + 1}};
  for (const auto& c : cas) {
    TRecette* t = Fixture::Transitoire(&f.table, l + 1);
    t->RestituerTransitoire();
    TRecette* u = Fixture::Transitoire(c.table, c.numero);
    EXPECT_EQ(u, t) << c.numero;
    EXPECT_EQ(u->Titre(), "") << c.numero;
    TypeReferenceArticle reference;
    u->GetReference(reference);
    EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(reference)) << c.numero;
    u->RestituerTransitoire();
  }
}

TEST(TableDeTransitoires, AClassWithoutFieldsCountsItsRowsThroughTheOriginColumn) {
  TTableDeTransitoires transitoires(TJeton::StaticClass(), 16);
  EXPECT_EQ(transitoires.NombreChamps(), 0);
  EXPECT_EQ(transitoires.PremierChamp, reinterpret_cast<TCustomChamp*>(transitoires.ChampOrigine));
  TArticle* a = transitoires.CreerTransitoire(nullptr, static_cast<int32_t>(kAucuneLigne));
  TArticle* b = transitoires.CreerTransitoire(nullptr, static_cast<int32_t>(kAucuneLigne));
  EXPECT_NE(a->IndiceArticle, b->IndiceArticle);
  EXPECT_EQ(transitoires.NombreArticles, 2);
  EXPECT_TRUE(transitoires.LigneExiste(static_cast<int32_t>(a->IndiceArticle)));
  const auto ligneA = static_cast<int32_t>(a->IndiceArticle);
  Tour();
  EXPECT_EQ(transitoires.NombreArticles, 0);
  EXPECT_FALSE(transitoires.LigneExiste(ligneA));  // freed with its origin row
  EXPECT_FALSE(transitoires.LibererLigne(ligneA + 1));
  // Found empty, it was handed to the collector: its destruction takes it back.
  EXPECT_GE(TRamasseMiettes::RangDe(&transitoires), 0);
}

TEST(TableDeTransitoires, TransientsLiveUntilTheNextTurnAndOnesNotGivenBackAreTraced) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TRecette* garde = Fixture::Transitoire(&f.table, l + 1);
  TRecette* rendu = Fixture::Transitoire(&f.table, l + 1);
  rendu->RestituerTransitoire();
  TTableDeTransitoires* transitoires = garde->TableDeTransitoires();
  EXPECT_EQ(transitoires->NombreArticles, 2);
  EXPECT_EQ(garde->Titre(), "gratin");
  const int32_t handle = garde->Handle;
  Traces traces;
  Tour();
  EXPECT_EQ(traces.lignes.size(), 1u);  // the spare one is not traced
  EXPECT_TRUE(traces.Contient("Attention : Collecter d'une instance valide : Class = TRecette; Handle = " +
                              std::to_string(handle)));
  // Both transients and their rows are gone; the empty table was handed to the collector.
  EXPECT_EQ(transitoires->NombreArticles, 0);
  EXPECT_GE(TRamasseMiettes::RangDe(transitoires), 0);
  transitoires->SetOptions(EnsembleCollecte({OC_AvecMessage}));
  Tour();
  TTableDeTransitoires* nouvelle = TTableDeTransitoires::TableDeClasse(TRecette::StaticClass());
  EXPECT_EQ(nouvelle->GetOptions(), OptionsCollecteParDefaut);  // a new table
}

TEST(TableDeTransitoires, ATableAskedForAgainBeforeTheCollectorRanIsTakenBack) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  TTableDeTransitoires* transitoires = Fixture::Transitoire(&f.table, l + 1)->TableDeTransitoires();
  Tour();
  ASSERT_GE(TRamasseMiettes::RangDe(transitoires), 0);
  // A message handled after the services asks for a transient of the class again.
  TRecette* t = Fixture::Transitoire(&f.table, l + 1);
  EXPECT_EQ(t->Table, transitoires);
  EXPECT_EQ(TRamasseMiettes::RangDe(transitoires), -1);
  EXPECT_EQ(t->Titre(), "gratin");
}

// ---------------------------------------------------------------------------------------------------
// The registry of transient tables

TEST(ArrayOfTableDeTransitoires, OneTablePerClassFoundByClassAndFreedWithTheArray) {
  auto* registre = new TArrayOfTableDeTransitoires();
  auto* recettes = new TTableDeTransitoires(TRecette::StaticClass(), 16);
  auto* jetons = new TTableDeTransitoires(TJeton::StaticClass(), 16);
  TTableDeTransitoires autre(TRecette::StaticClass(), 16);
  EXPECT_TRUE(registre->AjouterTable(TRecette::StaticClass(), recettes));
  EXPECT_TRUE(registre->AjouterTable(TJeton::StaticClass(), jetons));
  EXPECT_FALSE(registre->AjouterTable(TRecette::StaticClass(), &autre));
  EXPECT_EQ(registre->TableDeClasse(TRecette::StaticClass()), recettes);
  ASSERT_EQ(registre->GetNombreElements(), 2);
  EXPECT_EQ(registre->GetElement(0).Table, jetons);  // "TJeton" before "TRecette"
  EXPECT_TRUE(registre->SupprimerTable(TJeton::StaticClass()));
  EXPECT_FALSE(registre->SupprimerTable(TJeton::StaticClass()));
  EXPECT_EQ(registre->TableDeClasse(TJeton::StaticClass()), nullptr);
  delete jetons;
  delete registre;  // frees the recipes' table (the leak check holds it to that)
}

// Classes of one name (without case) used to compare after one another both ways, so that a third one
// hid the first from the search.
TEST(ArrayOfTableDeTransitoires, ClassesOfOneNameKeepOneOrderAndAreEachFound) {
  static const TClass classes[] = {{"THomonyme", TArticle::StaticClass(), nullptr},
                                   {"thomonyme", TArticle::StaticClass(), nullptr},
                                   {"THOMONYME", TArticle::StaticClass(), nullptr}};
  TArrayOfTableDeTransitoires registre;
  // Stand-ins that the registry never reads; taken out before it goes.
  TTableDeTransitoires* tables[3];
  for (std::size_t i = 0; i < 3; ++i) {
    tables[i] = reinterpret_cast<TTableDeTransitoires*>(static_cast<uintptr_t>(0x1000 * (i + 1)));
    EXPECT_TRUE(registre.AjouterTable(&classes[i], tables[i])) << i;
  }
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(registre.TableDeClasse(&classes[i]), tables[i]) << i;
  EXPECT_FALSE(registre.AjouterTable(&classes[1], tables[0]));
  for (const TClass& c : classes) EXPECT_TRUE(registre.SupprimerTable(&c));
  registre.Vider();  // whatever is left of the stand-ins is not for freeing
}

// ---------------------------------------------------------------------------------------------------
// The reference holder

TEST(ArticleEtReference, GivesATransientOfTheReferenceRepointedWhenTheReferenceMoves) {
  Fixture f;
  const int32_t l1 = f.Ligne("gratin", 4), l2 = f.Ligne("soupe", 2);
  TArticleEtReference holder(false);
  EXPECT_EQ(holder.GetArticle(), nullptr);
  EXPECT_EQ(holder.GetNumero(), static_cast<int32_t>(kAucuneLigne));

  holder.SetReference({nullptr, static_cast<uint32_t>(l1), &f.table});
  auto* a = static_cast<TRecette*>(holder.GetArticle());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Mode, MA_Transitoire);
  EXPECT_EQ(a->Titre(), "gratin");
  EXPECT_EQ(holder.GetNumero(), l1 + 1);
  TTableDeTransitoires* transitoires = holder.Transitoires;
  ASSERT_NE(transitoires, nullptr);

  holder.SetReference({nullptr, static_cast<uint32_t>(l2), &f.table});
  EXPECT_EQ(holder.Transitoires, transitoires);  // same table: kept
  EXPECT_EQ(holder.GetArticle(), a);             // the same transient, re-pointed
  EXPECT_EQ(a->Titre(), "soupe");
  TypeReferenceArticle reference;
  a->GetReference(reference);
  EXPECT_EQ(reference.IndiceArticle, static_cast<uint32_t>(l2));

  TTableEssai autre(TRecette::StaticClass(), nullptr, 16);
  int32_t la = -1;
  ASSERT_TRUE(autre.AllouerLigne(la));
  holder.SetReference({nullptr, static_cast<uint32_t>(la), &autre});
  EXPECT_EQ(holder.Transitoires, nullptr);  // another table: forgotten
  EXPECT_EQ(holder.GetArticle(), a);
  holder.SetReference({nullptr, static_cast<uint32_t>(l1), &f.table});
}

TEST(ArticleEtReference, GivesItsTransientBackWhenDestroyed) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  int32_t handle = 0;
  {
    TArticleEtReference holder(false);
    holder.SetReference({nullptr, static_cast<uint32_t>(l), &f.table});
    handle = holder.GetArticle()->Handle;
  }
  EXPECT_EQ(Fixture::Transitoire(&f.table, l + 1)->Handle, handle);
}

// The transient dies at the collectable service's pass: a holder kept longer must not touch it.
TEST(ArticleEtReference, AHolderKeptAcrossATurnMakesAFreshTransient) {
  Fixture f;
  const int32_t l = f.Ligne("gratin", 4);
  auto* holder = new TArticleEtReference(false);
  holder->SetReference({nullptr, static_cast<uint32_t>(l), &f.table});
  const int32_t handle = holder->GetArticle()->Handle;
  Tour();
  Tour();  // the transient table, found empty, is freed too
  TArticle* a = holder->GetArticle();
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a->Handle, handle);
  EXPECT_EQ(static_cast<TRecette*>(a)->Titre(), "gratin");
  Tour();
  delete holder;
}
