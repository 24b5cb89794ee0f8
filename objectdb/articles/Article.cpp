#include "objectdb/articles/Article.h"

NV_DEFINE_CLASS(TArticle, TObjetInterfacable)

TListeChampsPublies* TArticle::CreerListeChampsPublies(const TClass* Classe) {
  return new TListeChampsPublies(Classe, TChampPublie::StaticClass());
}
