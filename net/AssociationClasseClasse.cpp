#include "net/AssociationClasseClasse.h"

template class TTemplateAssoc<TAssociationClasseClasseTraits>;

NV_DEFINE_CLASS(TAssociationClasseClasse, TObjetInterfacable)
