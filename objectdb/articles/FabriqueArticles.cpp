#include "objectdb/articles/FabriqueArticles.h"

#include "core/diagnostics/Trace.h"
#include "core/values/Format.h"
#include "objectdb/articles/ServiceCollectables.h"
#include "objectdb/articles/TableDeTransitoires.h"
#include "objectdb/tables/CustomTable.h"

NV_DEFINE_CLASS(TFabriqueArticles, TCustomCollectable)
NV_DEFINE_CLASS(TFabriqueTransitoires, TFabriqueArticles)

namespace {
uint64_t gGeneration = 0;
}  // namespace

// ---------------------------------------------------------------------------------------------------
// Factory of a table

TFabriqueArticles::TFabriqueArticles(TCustomTable* Table_)
    : TCustomCollectable(false),
      Table(Table_),
      Articles(new TArrayOfArticle(32, true, false)),
      Libres(new TArrayOfArticle(32, true, false)) {
  TServiceCollectablesApplication::Ajouter(static_cast<ICollectable*>(this));
}

TFabriqueArticles::~TFabriqueArticles() {
  TServiceCollectablesApplication::Retirer(static_cast<ICollectable*>(this));
  if (Articles != nullptr) LibererArticles(false);
  Table = nullptr;
  delete Articles;
  delete Libres;
  Articles = Libres = nullptr;
}

TArticle* TFabriqueArticles::ArticleDeLigne(int32_t Ligne) {
  TArticle* ancien = nullptr;
  if (Ligne >= 0 && Ligne < Articles->GetNombreTotalElements() && !Articles->PositionVide(Ligne)) {
    ancien = Articles->GetElementPosition(Ligne);
    if (ancien != nullptr && ancien->EstValide()) return ancien;
  }
  TArticle* article = CreerArticle(Ligne);
  if (article == nullptr) return nullptr;
  // The article it replaces (its row went without LibererLigne) may still be held this turn: it
  // becomes spare instead of being dropped, and goes at the collection like the others.
  if (ancien != nullptr) {
    ancien->Invalider();
    Libres->Ajouter(ancien);
  }
  Articles->SetElementPosition(article, Ligne);
  return article;
}

void TFabriqueArticles::LibererLigne(int32_t Ligne) {
  if (Ligne < 0 || Ligne >= Articles->GetNombreTotalElements() || Articles->PositionVide(Ligne)) return;
  TArticle* article = Articles->GetElementPosition(Ligne);
  Articles->Retirer(Ligne, true);
  if (article == nullptr) return;
  article->Invalider();
  Libres->Ajouter(article);
}

TArticle* TFabriqueArticles::CreerArticle(int32_t Ligne) {
  if (Ligne < 0 || !Table->LigneExiste(Ligne)) {
    Table->DerniereErreur = TCustomTable::kArticleInexistant;
    return nullptr;
  }
  return TArticle::Nouveau(Table->ClasseArticle, Table, MA_Table, Ligne + 1);
}

void TFabriqueArticles::Collecter(TypeOptionsCollecte, TErreur*&) { LibererArticles(true); }

void TFabriqueArticles::LibererArticles(bool Avertir) {
  for (int32_t i = 0; i < Articles->GetNombreElements(); ++i) {
    TArticle* article = Articles->GetElement(i);
    if (article == nullptr) continue;
    if (Avertir && article->Mode == MA_Transitoire) {
      std::string ligne;
      Trace::TraceurParDefaut()->Tracer(Format("Attention : Collecter d'une instance valide : Class = %s; Handle = %d",
                                               {article->ClassName(), article->Handle}),
                                        ligne);
    }
    article->Liberer();
  }
  Articles->Vider();
  for (int32_t i = 0; i < Libres->GetNombreElements(); ++i)
    if (TArticle* article = Libres->GetElement(i)) article->Liberer();
  Libres->Vider();
}

// ---------------------------------------------------------------------------------------------------
// Factory of a transient table

TFabriqueTransitoires::TFabriqueTransitoires(TTableDeTransitoires* Table_) : TFabriqueArticles(Table_) {
  for (TArrayOfArticle* liste : {Articles, Libres}) {
    liste->SetAvecDoublons(false);
    liste->SetModeComparaison(1);
    liste->SetToujoursTrie(true);
  }
}

TFabriqueTransitoires::~TFabriqueTransitoires() {
  if (Articles != nullptr && Articles->GetNombreElements() + Libres->GetNombreElements() > 0) ++gGeneration;
}

uint64_t TFabriqueTransitoires::Generation() { return gGeneration; }

TArticle* TFabriqueTransitoires::CreerTransitoire(TCustomTable* TableOrigine, int32_t Numero) {
  auto* transitoires = static_cast<TTableDeTransitoires*>(Table);
  TArticle* article = nullptr;
  const int32_t libres = Libres->GetNombreElements();
  if (libres > 0) {
    article = Libres->GetElement(libres - 1);
    Libres->Retirer(libres - 1, false);
  } else {
    article = TArticle::Nouveau(transitoires->ClasseArticle, transitoires, MA_Transitoire, 0);
  }
  const auto ligne = static_cast<int32_t>(article->IndiceArticle);
  const bool designe = static_cast<uint32_t>(Numero) != kAucuneLigne && Numero > 0 &&
                       transitoires->Designer(static_cast<uint32_t>(Numero - 1), TableOrigine, true, ligne);
  // Without an origin whose values were copied, a transient starts empty: a reused one would
  // otherwise carry the values of its last use.
  if (!designe) {
    transitoires->Designer(kAucuneLigne, nullptr, false, ligne);
    article->LibererTransitoire();
  }
  Articles->Ajouter(article);
  return article;
}

void TFabriqueTransitoires::Restituer(TArticle* Article) {
  int32_t indice = -1;
  if (!Articles->Chercher(Article, indice)) return;
  Articles->Retirer(indice, false);
  Libres->Ajouter(Article);
}

void TFabriqueTransitoires::Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) {
  if (Articles->GetNombreElements() + Libres->GetNombreElements() > 0) ++gGeneration;
  TFabriqueArticles::Collecter(Options, Erreur);
}
