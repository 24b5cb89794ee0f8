#include "core/arrays/ArrayOfInt64.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfInt64Traits>;
template class TArrayTemplate<TArrayOfInt64Traits>;
template class TPagedArrayTemplate<TArrayOfInt64Traits>;
template class TFixedArrayTemplate<TArrayOfInt64Traits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfInt64)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfInt64)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfInt64)

void ArrayOfInt64::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfInt64::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfInt64::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfInt64::StaticClass());
}
