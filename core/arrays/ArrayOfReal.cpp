#include "core/arrays/ArrayOfReal.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfRealTraits>;
template class TArrayTemplate<TArrayOfRealTraits>;
template class TPagedArrayTemplate<TArrayOfRealTraits>;
template class TFixedArrayTemplate<TArrayOfRealTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfReal)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfReal)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfReal)

void ArrayOfReal::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfReal::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfReal::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfReal::StaticClass());
}
