#include "core/arrays/ArrayOfIInterface.h"

template class TCustomArrayTemplate<TArrayOfIInterfaceTraits>;
template class TArrayTemplate<TArrayOfIInterfaceTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfIInterface)
