#include "net/AssociationIdentifiantObject.h"

template class TTemplateAssoc<TAssociationIdentifiantObjectTraits>;

NV_DEFINE_CLASS(TAssociationIdentifiantObject, TObjetInterfacable)

int TAssociationIdentifiantObjectTraits::ComparerCles(const Cle& a, const Cle& b) {
  const auto x = a.Bytes(), y = b.Bytes();
  for (int half = 0; half < 2; ++half) {
    int64_t u, v;
    std::memcpy(&u, x.data() + 8 * half, 8);  // little-endian, as the GUID lies in memory
    std::memcpy(&v, y.data() + 8 * half, 8);
    if (u != v) return u < v ? -1 : 1;
  }
  return 0;
}
