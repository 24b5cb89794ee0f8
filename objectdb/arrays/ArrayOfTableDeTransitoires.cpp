#include "objectdb/arrays/ArrayOfTableDeTransitoires.h"

#include "objectdb/articles/TableDeTransitoires.h"

template class TCustomArrayTemplate<TArrayOfTableDeTransitoiresTraits>;
template class TArrayTemplate<TArrayOfTableDeTransitoiresTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfTableDeTransitoires)

int8_t TArrayOfTableDeTransitoiresTraits::ComparerElements(const TypeClasseEtTableDeTransitoires& A,
                                                           const TypeClasseEtTableDeTransitoires& B, int32_t,
                                                           TObject*) {
  if (A.ClasseArticle == B.ClasseArticle) return 0;
  const int8_t noms = TemplateArray::ComparerTexteSansCasse(TemplateArray::NomDeClasse(A.ClasseArticle),
                                                            TemplateArray::NomDeClasse(B.ClasseArticle));
  if (noms != 0) return noms < 0 ? -1 : 1;
  return reinterpret_cast<uintptr_t>(A.ClasseArticle) < reinterpret_cast<uintptr_t>(B.ClasseArticle) ? -1 : 1;
}

TArrayOfTableDeTransitoires::TArrayOfTableDeTransitoires() : Base(32, true, false) {
  SetAvecDoublons(false);
  SetToujoursTrie(true);
}

TArrayOfTableDeTransitoires::~TArrayOfTableDeTransitoires() {
  while (GetNombreElements() > 0) {
    TTableDeTransitoires* table = GetElement(0).Table;
    Retirer(0, false);
    delete table;
  }
}

bool TArrayOfTableDeTransitoires::AjouterTable(const TClass* ClasseArticle, TTableDeTransitoires* Table) {
  return Ajouter({ClasseArticle, Table}) >= 0;
}

bool TArrayOfTableDeTransitoires::SupprimerTable(const TClass* ClasseArticle) {
  int32_t indice = -1;
  if (!Chercher({ClasseArticle, nullptr}, indice)) return false;
  Retirer(indice, false);
  return true;
}

TTableDeTransitoires* TArrayOfTableDeTransitoires::TableDeClasse(const TClass* ClasseArticle) const {
  int32_t indice = -1;
  return Chercher({ClasseArticle, nullptr}, indice) ? GetElement(indice).Table : nullptr;
}
