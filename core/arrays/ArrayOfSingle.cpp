#include "core/arrays/ArrayOfSingle.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfSingleTraits>;
template class TArrayTemplate<TArrayOfSingleTraits>;
template class TPagedArrayTemplate<TArrayOfSingleTraits>;
template class TFixedArrayTemplate<TArrayOfSingleTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfSingle)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfSingle)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfSingle)

void ArrayOfSingle::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfSingle::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfSingle::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfSingle::StaticClass());
}
