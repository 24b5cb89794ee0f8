#include "core/arrays/ArrayOfWideString.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfWideStringTraits>;
template class TArrayTemplate<TArrayOfWideStringTraits>;
template class TPagedArrayTemplate<TArrayOfWideStringTraits>;
template class TFixedArrayTemplate<TArrayOfWideStringTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfWideString)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfWideString)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfWideString)

void ArrayOfWideString::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfWideString::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfWideString::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfWideString::StaticClass());
}
