#include "objectdb/articles/Article.h"

#include "objectdb/tables/CustomTable.h"

NV_DEFINE_CLASS(TArticle, TObjetInterfacable)

bool TArticle::EstValide() const {
  if (Etat != EI_Valide || Table == nullptr) return false;
  return Mode == MA_Transitoire || (IndiceArticle < kAucuneLigne && Table->LigneExiste(static_cast<int32_t>(IndiceArticle)));
}

void TArticle::GetReference(TypeReferenceArticle& Reference) const {
  // Null rather than the zeroed record {row 0, no table}: both are null, and no reader can take row
  // 0 for a designated row.
  Reference = ReferenceArticle::ReferenceArticleNulle;
  if (!EstValide() || IndiceArticle >= kAucuneLigne) return;
  if (Mode == MA_Transitoire) {
    Table->ReferenceLigne(static_cast<int32_t>(IndiceArticle), Reference);
    return;
  }
  Reference.IndiceArticle = IndiceArticle;
  Reference.Table = Table;
}

TListeChampsPublies* TArticle::CreerListeChampsPublies(const TClass* Classe) {
  return new TListeChampsPublies(Classe, TChampPublie::StaticClass());
}
