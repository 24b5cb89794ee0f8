#include "objectdb/parameters/ParametreInterface.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TParametreTemplate<TParametreInterfaceTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreInterface)

void ParametreInterface::Initialiser() { TGestionnaireNomsDeClasse::Enregistrer(TParametreInterface::StaticClass()); }
