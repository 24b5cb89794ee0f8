#include "core/arrays/AssociationCardinalObjet.h"

template class TTemplateAssoc<TAssociationCardinalObjetTraits>;

NV_DEFINE_CLASS(TAssociationCardinalObjet, TObjetInterfacable)
