#include "core/arrays/ArrayOfBooleen.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfBooleenTraits>;
template class TArrayTemplate<TArrayOfBooleenTraits>;
template class TPagedArrayTemplate<TArrayOfBooleenTraits>;
template class TFixedArrayTemplate<TArrayOfBooleenTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfBooleen)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfBooleen)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfBooleen)

void ArrayOfBooleen::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfBooleen::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfBooleen::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfBooleen::StaticClass());
}
