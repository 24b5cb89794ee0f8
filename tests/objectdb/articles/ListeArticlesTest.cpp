// Article lists, processors and filters: the walk that drops vanished rows, each processor, the
// deletion filters, the referencing articles found with and without a column index, the lists of
// an index and of the deletable articles, and the table's verification.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics/Trace.h"
#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/schema/Referentiel.h"
#include "tests/objectdb/tables/ReglesEssai.h"

namespace {

class TAuteur : public TArticle {
  NV_DECLARE_CLASS(TAuteur)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TAuteur, TArticle, kProprietes)

// A book goes with its author; a review forbids the deletion of its book; a quote is reset to null;
// a dedication must name an author.
NV_CLASSE_LIEN(TLivre, TAuteur, RSR_Suppression, false)
NV_CLASSE_LIEN(TCritique, TLivre, RSR_SuppressionInterdite, false)
NV_CLASSE_LIEN(TCitation, TAuteur, RSR_ValeurParDefaut, true)
NV_CLASSE_LIEN(TDedicace, TAuteur, RSR_ValeurParDefaut, false)

// Records the position and the name of each article it is given; stops on StopSur.
class TRelever : public TCustomTraiterArticle {
 public:
  std::vector<std::string> Vus;
  std::string StopSur;
  bool Traiter(TListeArticles*) override {
    const std::string nom = GetArticle()->GetChampString(0);
    Vus.push_back(std::to_string(IndiceCourant) + ":" + nom);
    return nom == StopSur;
  }
};

struct Bibliotheque {
  TTable auteurs{TAuteur::StaticClass(), nullptr, true, 16};
  TTable livres{TLivre::StaticClass(), nullptr, true, 16};
  TTable critiques{TCritique::StaticClass(), nullptr, true, 16};
  TTable citations{TCitation::StaticClass(), nullptr, true, 16};
  int32_t hugo = CreerLigne(auteurs, "Hugo");
  int32_t zola = CreerLigne(auteurs, "Zola");
  int32_t miserables = CreerLigne(livres, "Les Miserables", 0, &auteurs, hugo);
  int32_t contemplations = CreerLigne(livres, "Les Contemplations", 0, &auteurs, hugo);
  int32_t germinal = CreerLigne(livres, "Germinal", 0, &auteurs, zola);

  TypeReferenceArticle Ref(TTable& t, int32_t numero) { return {nullptr, static_cast<uint32_t>(numero - 1), &t}; }
};

}  // namespace

TEST(ListeArticles, AWalkProcessesTheLiveRowsAndDropsTheOthers) {
  Bibliotheque b;
  TListeArticles liste(false, 32, true);
  liste.Ajouter(b.Ref(b.livres, b.miserables));
  liste.Ajouter(b.Ref(b.livres, b.contemplations));
  liste.Ajouter({nullptr, 0, nullptr});
  liste.Ajouter(b.Ref(b.livres, b.germinal));
  ASSERT_TRUE(b.livres.SupprimerLigne(b.contemplations));
  TRelever relever;
  EXPECT_FALSE(liste.Traiter(&relever, 0));
  EXPECT_EQ(relever.Vus, (std::vector<std::string>{"0:Les Miserables", "1:Germinal"}));
  EXPECT_EQ(liste.GetNombreElements(), 2);

  // A processor that stops: the walk ends there, from the given start.
  TRelever arret;
  arret.StopSur = "Les Miserables";
  // An article of another class: the processor's transient follows it (it used to be re-pointed
  // inside the other class's transient table and read that table's row).
  liste.Ajouter(b.Ref(b.auteurs, b.hugo));
  EXPECT_TRUE(liste.Traiter(&arret, 0));
  EXPECT_EQ(arret.Vus.size(), 1u);
  TRelever depuis;
  EXPECT_FALSE(liste.Traiter(&depuis, 1));
  EXPECT_EQ(depuis.Vus, (std::vector<std::string>{"1:Germinal", "2:Hugo"}));
}

TEST(ListeArticles, ADestructionWalkStopsOnTheFirstArticleThatCannotBeDeleted) {
  Bibliotheque b;
  CreerLigne(b.critiques, "Critique", 0, &b.livres, b.contemplations);
  TListeArticles liste(false, 32, true);
  for (int32_t n : {b.miserables, b.contemplations, b.germinal}) liste.Ajouter(b.Ref(b.livres, n));
  TTraiterDestruction detruire(false);
  EXPECT_TRUE(liste.Traiter(&detruire, 0));
  EXPECT_EQ(b.livres.NombreArticles, 2);
  EXPECT_EQ(liste.GetNombreElements(), 2);
  EXPECT_EQ(liste.GetElement(0).IndiceArticle, static_cast<uint32_t>(b.contemplations - 1));
}

TEST(ListeArticles, TheSummaryOfTwoArticlesIsTwoLines) {
  Bibliotheque b;
  TTracerArticle tracer(nullptr, false, true, false);
  EXPECT_EQ(b.auteurs.TraiterArticles(0, &tracer), 0);
  EXPECT_EQ(tracer.Texte, "Hugo\r\nZola");
  EXPECT_EQ(b.auteurs.TraiterArticles(9, &tracer), 0);
}

TEST(ListeArticles, CopiesAndTheCollector) {
  Bibliotheque b;
  std::unique_ptr<TListeArticles> source(b.livres.ListeArticles(0));
  EXPECT_TRUE(source->EstInscrit());
  source->DesinscrireRamasseMiettes();
  EXPECT_FALSE(source->EstInscrit());
  EXPECT_EQ(source->GetNombreElements(), 3);
  TListeArticles copie(source.get(), false);
  EXPECT_FALSE(copie.EstInscrit());
  EXPECT_EQ(copie.GetNombreElements(), 3);
  copie.CopierDepuis(source.get(), 2);
  ASSERT_EQ(copie.GetNombreElements(), 1);
  EXPECT_EQ(copie.GetElement(0).IndiceArticle, static_cast<uint32_t>(b.germinal - 1));
  copie.CopierDepuis(source.get(), 3);
  EXPECT_EQ(copie.GetNombreElements(), 0);
}

TEST(ListeArticles, ReferencingArticlesAreTheSameWithAndWithoutAColumnIndex) {
  Bibliotheque b;
  auto* colonne = static_cast<TChampReference*>(b.livres.GetChamp(1));
  ASSERT_NE(colonne->Index, nullptr);
  // The same column without its index.
  std::unique_ptr<TChampReference> sansIndex(new TChampReference("Auteur", &b.livres, TAuteur::StaticClass(), 16, false,
                                                                RSR_Suppression, false));
  for (int32_t n : {b.miserables, b.contemplations, b.germinal})
    sansIndex->SetValeur(n - 1, colonne->GetValeur(n - 1));
  for (int32_t auteur : {b.hugo, b.zola}) {
    std::unique_ptr<TListeArticles> avec(colonne->ArticlesReferencant(b.Ref(b.auteurs, auteur), nullptr));
    std::unique_ptr<TListeArticles> sans(sansIndex->ArticlesReferencant(b.Ref(b.auteurs, auteur), nullptr));
    ASSERT_EQ(avec->GetNombreElements(), sans->GetNombreElements());
    for (int32_t i = 0; i < avec->GetNombreElements(); ++i)
      EXPECT_TRUE(ReferenceArticle::MemeArticle(avec->GetElement(i), sans->GetElement(i)));
  }
  sansIndex.reset();
  // Through the registry: every column of the class, the table's own list through one column.
  std::unique_ptr<TListeArticles> hugo(TReferentiel::ArticlesReferencants(b.Ref(b.auteurs, b.hugo), nullptr, nullptr, true));
  EXPECT_EQ(hugo->GetNombreElements(), 2);
  std::unique_ptr<TListeArticles> table(b.livres.ListeReferencants(b.Ref(b.auteurs, b.hugo), 1, nullptr));
  EXPECT_EQ(table->GetNombreElements(), 2);
}

TEST(ListeArticles, TheDeletionFiltersFollowTheColumnRules) {
  Bibliotheque b;
  const int32_t critique = CreerLigne(b.critiques, "Critique", 0, &b.livres, b.germinal);
  const int32_t citation = CreerLigne(b.citations, "Citation", 0, &b.auteurs, b.hugo);

  // The deletion test meets a forbidding column and lists what it meets.
  TFiltreSuppressionReferencant test(false);
  std::unique_ptr<TListeArticles> germinal(
      TReferentiel::ArticlesReferencants(b.Ref(b.livres, b.germinal), &test, nullptr, true));
  EXPECT_TRUE(test.SuppressionInterdite);
  ASSERT_EQ(germinal->GetNombreElements(), 1);
  EXPECT_EQ(germinal->GetElement(0).Table, &b.critiques);
  EXPECT_EQ(germinal->GetElement(0).IndiceArticle, static_cast<uint32_t>(critique - 1));

  // The destruction filter lists the books, notes the quote's reset without doing it yet.
  TFiltreDestructionReferencant destruction(false);
  std::unique_ptr<TListeArticles> hugo(
      TReferentiel::ArticlesReferencants(b.Ref(b.auteurs, b.hugo), &destruction, nullptr, true));
  EXPECT_EQ(hugo->GetNombreElements(), 2);
  EXPECT_FALSE(destruction.SuppressionInterdite);
  ASSERT_EQ(destruction.Remplacements.size(), 1u);
  TypeReferenceArticle r;
  b.citations.GetChamp(1)->Reference(citation - 1, r);
  EXPECT_EQ(r.IndiceArticle, static_cast<uint32_t>(b.hugo - 1));
  destruction.AppliquerRemplacements();
  b.citations.GetChamp(1)->Reference(citation - 1, r);
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(r));

  // A reset that the column would refuse is noted as a refusal.
  TTable dedicaces(TDedicace::StaticClass(), nullptr, true, 16);
  CreerLigne(dedicaces, "Dedicace", 0, &b.auteurs, b.zola);
  TFiltreDestructionReferencant refus(false);
  std::unique_ptr<TListeArticles> zola(TReferentiel::ArticlesReferencants(b.Ref(b.auteurs, b.zola), &refus, nullptr, true));
  EXPECT_EQ(refus.ChampRefusant, dedicaces.GetChamp(1));
  EXPECT_TRUE(refus.Remplacements.empty());
}

TEST(ListeArticles, DeletableArticlesAndTheirTest) {
  Bibliotheque b;
  CreerLigne(b.critiques, "Critique", 0, &b.livres, b.germinal);
  std::unique_ptr<TListeArticles> livres(b.livres.ListeArticles(0));
  TArticle* un = b.livres.ArticleDeNumero(b.miserables, false);
  std::unique_ptr<TListeArticles> supprimables(un->ListeSupprimables(livres.get()));
  ASSERT_EQ(supprimables->GetNombreElements(), 2);
  EXPECT_EQ(supprimables->GetElement(1).IndiceArticle, static_cast<uint32_t>(b.contemplations - 1));

  TTesterSuppressionImpossible tester(false);
  EXPECT_TRUE(livres->Traiter(&tester, 0));
  ASSERT_NE(tester.Erreur, nullptr);
  EXPECT_EQ(tester.Erreur->Message, "Suppression article Impossible : TLivre");
  EXPECT_EQ(tester.IndiceCourant, 2);
}

TEST(ListeArticles, TheTableVerificationGathersTheRowsRefusedReferences) {
  Bibliotheque b;
  TErreur* erreur = nullptr;
  b.livres.Verifier(TypeOptionsVerification{}, erreur);
  EXPECT_EQ(erreur, nullptr);
  // A book whose author reference was cleared behind the table's back.
  static_cast<TChampReference*>(b.livres.GetChamp(1))->SetReference(kAucuneLigne, nullptr, b.germinal - 1);
  b.livres.Verifier(TypeOptionsVerification{}, erreur);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "Erreur Verification Articles");
  ASSERT_EQ(erreur->NombreFils(), 1);
  auto* ligne = static_cast<TErreur*>(erreur->Fils(0));
  EXPECT_EQ(ligne->Message, "Erreur de règle d'intégrité du champ référence"_ansi);
  ASSERT_EQ(ligne->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(ligne->Fils(0))->Message, "Référence nulle non autorisée pour le champ TLivre.Cible"_ansi);
}

namespace {
// An author whose trace adds a line of its own.
class TAuteurAnnote : public TArticle {
  NV_DECLARE_CLASS(TAuteurAnnote)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Livres", "Integer", tkInteger, nullptr, 1, true},
  };
  void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) override {
    Traceur->TracerPropriete("Note", GetChampString(0) + "!", Texte);
  }
  // An author without books is reported.
  void Verifier(TypeOptionsVerification, TErreur*& Erreur) override {
    if (GetChampInteger(1) != 0) return;
    auto* e = new TErreur("Sans livre : " + GetChampString(0));
    if (Erreur != nullptr) Erreur->AjouterFils(e);
    else Erreur = e;
  }
};
NV_DEFINE_PUBLISHED_CLASS(TAuteurAnnote, TArticle, kProprietes)
}  // namespace

// Full traces are each article's own trace in index order: without detail the "classe" block with
// the lines its class adds, with detail the row's values. The table's content trace is made of them.
TEST(ListeArticles, FullTracesAreEachArticlesOwnTraceInIndexOrder) {
  TTable auteurs(TAuteurAnnote::StaticClass(), nullptr, true, 16);
  CreerLigne(auteurs, "Zola", 12);
  CreerLigne(auteurs, "Hugo", 7);
  const struct {
    bool detail;
    std::string premier, second;
  } cas[] = {{false, "Zola!", "Hugo!"}, {true, "Zola", "Hugo"}};
  for (const auto& c : cas) {
    TTracerArticle tracer(nullptr, c.detail, false, false);
    EXPECT_EQ(auteurs.TraiterArticles(0, &tracer), 0);
    const std::size_t premier = tracer.Texte.find(c.premier), second = tracer.Texte.find(c.second);
    ASSERT_NE(premier, std::string::npos) << c.detail;
    ASSERT_NE(second, std::string::npos) << c.detail;
    EXPECT_LT(premier, second);
    EXPECT_EQ(tracer.Texte.find("Note") != std::string::npos, !c.detail);
    EXPECT_EQ(tracer.Texte.find("Livres") != std::string::npos, c.detail);
    EXPECT_NE(tracer.Texte.find("TAuteurAnnote"), std::string::npos);

    std::string contenu;
    auteurs.TracerContenu(c.detail, nullptr, contenu);
    EXPECT_NE(contenu.find("TTable (TAuteurAnnote)"), std::string::npos);
    ASSERT_NE(contenu.find(c.premier), std::string::npos) << contenu;
    EXPECT_LT(contenu.find(c.premier), contenu.find(c.second)) << contenu;
    EXPECT_EQ(contenu.find("Note") != std::string::npos, !c.detail) << contenu;
  }
}

// The table's verification asks each article's own check too, and gathers the findings under the
// error it was given, else under a new "Erreur Verification Articles".
TEST(ListeArticles, TheTableVerificationGathersEachArticlesOwnFindings) {
  TTable auteurs(TAuteurAnnote::StaticClass(), nullptr, true, 16);
  CreerLigne(auteurs, "Zola", 12);
  CreerLigne(auteurs, "Inconnu", 0);
  CreerLigne(auteurs, "Anonyme", 0);
  auto* donnee = new TErreur("Verification de la base");
  for (TErreur* depart : {donnee, static_cast<TErreur*>(nullptr)}) {
    TErreur* erreur = depart;
    auteurs.Verifier(TypeOptionsVerification{}, erreur);
    ASSERT_NE(erreur, nullptr);
    EXPECT_EQ(erreur->Message, depart != nullptr ? "Verification de la base" : "Erreur Verification Articles");
    ASSERT_EQ(erreur->NombreFils(), 2);
    EXPECT_EQ(static_cast<TErreur*>(erreur->Fils(0))->Message, "Sans livre : Inconnu");
    EXPECT_EQ(static_cast<TErreur*>(erreur->Fils(1))->Message, "Sans livre : Anonyme");
  }
}
