#include "objectdb/parameters/ParametreInteger.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreIntegerTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreInteger)

void ParametreInteger::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreInteger::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreInteger::StaticClass(), "INTEGER");
  CustomParametre::EnregistrerClasseParametre(TParametreInteger::StaticClass(), "LongInt");
}
