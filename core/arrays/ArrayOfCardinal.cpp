#include "core/arrays/ArrayOfCardinal.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TMethodesCardinal>;
template class TArrayTemplate<TMethodesCardinal>;
template class TPagedArrayTemplate<TMethodesCardinal>;
template class TFixedArrayTemplate<TMethodesCardinal>;

NV_DEFINE_ARRAY_CLASS(TArrayOfCardinal)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfCardinal)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfCardinal)

void ArrayOfCardinal::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfCardinal::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfCardinal::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfCardinal::StaticClass());
}
