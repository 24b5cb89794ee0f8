#include "objectdb/parameters/ParametreWideString.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreWideStringTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreWideString)

void ParametreWideString::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreWideString::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreWideString::StaticClass(), "WideString");
}
