#include "core/arrays/ArrayOfInteger.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfIntegerTraits>;
template class TArrayTemplate<TArrayOfIntegerTraits>;
template class TPagedArrayTemplate<TArrayOfIntegerTraits>;
template class TFixedArrayTemplate<TArrayOfIntegerTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfInteger)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfInteger)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfInteger)

void ArrayOfInteger::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfInteger::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfInteger::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfInteger::StaticClass());
}
