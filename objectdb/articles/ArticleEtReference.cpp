#include "objectdb/articles/ArticleEtReference.h"

#include "objectdb/articles/Article.h"
#include "objectdb/articles/FabriqueArticles.h"
#include "objectdb/articles/TableDeTransitoires.h"

NV_DEFINE_CLASS(TArticleEtReference, TObjetTemporaire)

TArticleEtReference::~TArticleEtReference() {
  OublierSiCollecte();
  if (Article != nullptr) Article->RestituerTransitoire();
  Article = nullptr;
  Transitoires = nullptr;
}

void TArticleEtReference::OublierSiCollecte() {
  if (generation_ == TFabriqueTransitoires::Generation()) return;
  Article = nullptr;
  Transitoires = nullptr;
}

void TArticleEtReference::SetReference(const TypeReferenceArticle& Nouvelle) {
  if (ReferenceArticle::MemeArticle(Nouvelle, Reference)) return;
  if (Nouvelle.Table != Reference.Table) Transitoires = nullptr;
  Reference = Nouvelle;
}

TArticle* TArticleEtReference::GetArticle() {
  if (ReferenceArticle::EstReferenceNulle(Reference)) return nullptr;
  OublierSiCollecte();
  if (Transitoires == nullptr) Transitoires = TTableDeTransitoires::TableDeClasse(Reference.Table->ClasseArticle);
  // A transient of another class (the reference moved to a table of another class) goes back to its
  // own transient table: re-pointing it would copy this row into a row of the wrong table.
  if (Article != nullptr && Article->EstValide() && Article->Table != Transitoires) {
    Article->RestituerTransitoire();
    Article = nullptr;
  }
  if (Article != nullptr && Article->EstValide()) {
    TypeReferenceArticle actuelle;
    Article->GetReference(actuelle);
    // A row that cannot be copied leaves an empty transient, as a new one would be.
    if (!ReferenceArticle::MemeArticle(actuelle, Reference) &&
        !Transitoires->Designer(Reference.IndiceArticle, Reference.Table, true,
                                static_cast<int32_t>(Article->IndiceArticle))) {
      Article->DetacherTransitoire();
      Article->LibererTransitoire();
    }
  } else {
    Article = Transitoires->CreerTransitoire(Reference.Table, static_cast<int32_t>(Reference.IndiceArticle) + 1);
  }
  generation_ = TFabriqueTransitoires::Generation();
  return Article;
}

int32_t TArticleEtReference::GetNumero() const {
  return Reference.IndiceArticle >= kAucuneLigne ? static_cast<int32_t>(kAucuneLigne)
                                                 : static_cast<int32_t>(Reference.IndiceArticle) + 1;
}
