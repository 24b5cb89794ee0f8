#include "objectdb/parameters/ParametreDouble.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreDoubleTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreDouble)

void ParametreDouble::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreDouble::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreDouble::StaticClass(), "Double");
}
