#include "objectdb/parameters/ParametreInt64.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreInt64Traits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreInt64)

void ParametreInt64::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreInt64::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreInt64::StaticClass(), "Int64");
}
