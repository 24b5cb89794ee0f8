#include "core/arrays/ArrayOfString.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfStringTraits>;
template class TArrayTemplate<TArrayOfStringTraits>;
template class TPagedArrayTemplate<TArrayOfStringTraits>;
template class TFixedArrayTemplate<TArrayOfStringTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfString)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfString)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfString)

void ArrayOfString::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfString::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfString::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfString::StaticClass());
}
