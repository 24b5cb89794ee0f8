#include "core/Comparable.h"

#include <cstdint>

NV_DEFINE_ABSTRACT_CLASS(TCustomComparable, TObjetInterfacable)

void* TCustomComparable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IComparable::IID) return static_cast<IComparable*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

int32_t TCustomComparable::Comparer(TObject* A, TObject* B, int32_t Mode) {
  IComparable* a = InterfaceOf<IComparable>(A);
  if (a != nullptr && InterfaceOf<IComparable>(B) != nullptr) return a->Comparer(B, Mode);
  const auto x = reinterpret_cast<uintptr_t>(A), y = reinterpret_cast<uintptr_t>(B);
  return x < y ? -1 : x > y ? 1 : 0;
}
