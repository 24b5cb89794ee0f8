#include "objectdb/arrays/ArrayOfArticle.h"

#include "objectdb/tables/CustomTable.h"

template class TCustomArrayTemplate<TArrayOfArticleTraits>;
template class TArrayTemplate<TArrayOfArticleTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfArticle)

int8_t TArrayOfArticleTraits::ComparerElements(TArticle* A, TArticle* B, int32_t Mode, TObject*) {
  if (A == nullptr || B == nullptr) return A == B ? 0 : (A == nullptr ? -1 : 1);
  if (Mode == 0) return Article::ComparerArticles(A, B);
  if (Mode == 1) return A == B ? 0 : (A->Handle < B->Handle ? -1 : 1);
  return 0;
}

void TArrayOfArticleTraits::TracerElement(TArticle* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur) {
  Texte.clear();
  if (Element != nullptr && Element->Table != nullptr && Detail)
    Element->Table->TracerArticle(static_cast<int32_t>(Element->IndiceArticle), Texte, Traceur);
}
