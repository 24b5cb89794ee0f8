#include "core/arrays/ArrayOfDouble.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfDoubleTraits>;
template class TArrayTemplate<TArrayOfDoubleTraits>;
template class TPagedArrayTemplate<TArrayOfDoubleTraits>;
template class TFixedArrayTemplate<TArrayOfDoubleTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfDouble)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfDouble)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfDouble)

void ArrayOfDouble::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfDouble::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfDouble::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfDouble::StaticClass());
}
