#include "objectdb/parameters/ParametreString.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreStringTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreString)

void ParametreString::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreString::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreString::StaticClass(), "STRING");
}
