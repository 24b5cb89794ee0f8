#include "core/arrays/Comparable.h"

NV_DEFINE_ABSTRACT_CLASS(TCustomComparable, TObjetInterfacable)

void* TCustomComparable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IComparable::IID) return static_cast<IComparable*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

int32_t TCustomComparable::Comparer(TObject* A, TObject* B, int32_t Mode) {
  IComparable* a = InterfaceOf<IComparable>(A);
  if (a != nullptr && InterfaceOf<IComparable>(B) != nullptr) return a->Comparer(B, Mode);
  return ComparerAdresses(A, B);
}
