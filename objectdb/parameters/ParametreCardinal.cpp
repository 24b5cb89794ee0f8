#include "objectdb/parameters/ParametreCardinal.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreCardinalTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreCardinal)

void ParametreCardinal::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreCardinal::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreCardinal::StaticClass(), "CARDINAL");
  CustomParametre::EnregistrerClasseParametre(TParametreCardinal::StaticClass(), "LONGCARD");
  CustomParametre::EnregistrerClasseParametre(TParametreCardinal::StaticClass(), "UINT32");
}
