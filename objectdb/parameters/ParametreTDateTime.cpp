#include "objectdb/parameters/ParametreTDateTime.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreTDateTimeTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreTDateTime)

void ParametreTDateTime::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreTDateTime::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreTDateTime::StaticClass(), "TDateTime");
}
