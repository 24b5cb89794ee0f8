#include "objectdb/parameters/ParametreBooleen.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreBooleenTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreBooleen)

void ParametreBooleen::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreBooleen::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreBooleen::StaticClass(), "BOOLEAN");
}
