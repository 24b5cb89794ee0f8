#include "objectdb/parameters/ParametreReal.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreRealTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreReal)

void ParametreReal::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreReal::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreReal::StaticClass(), "Real");
}
