#include "objectdb/parameters/ParametreSingle.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreSingleTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreSingle)

void ParametreSingle::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreSingle::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreSingle::StaticClass(), "Single");
}
