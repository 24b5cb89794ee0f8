#include "core/arrays/ArrayOfTObject.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfTObjectTraits>;
template class TArrayTemplate<TArrayOfTObjectTraits>;
template class TPagedArrayTemplate<TArrayOfTObjectTraits>;
template class TFixedArrayTemplate<TArrayOfTObjectTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfTObject)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfTObject)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfTObject)

void TArrayOfTObjectTraits::TracerElement(TObject* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur) {
  TemplateArray::TracerBlocElement(
      Traceur, "TObject",
      [&](TCustomTraceur* t, std::string& lignes) { TCustomTracable::TracerObjet(Element, Detail, t, lignes); }, Texte);
}

void ArrayOfTObject::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfTObject::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfTObject::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfTObject::StaticClass());
}
