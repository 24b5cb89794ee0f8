#include "core/arrays/AssociationStringClass.h"

template class TTemplateAssoc<TAssociationStringClassTraits>;

NV_DEFINE_CLASS(TAssociationStringClass, TObjetInterfacable)
