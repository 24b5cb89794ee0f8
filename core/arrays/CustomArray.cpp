#include "core/arrays/CustomArray.h"

TCustomArray* TCustomArray::Class::Creer(int32_t, bool, bool) const { return nullptr; }

const TCustomArray::Class* TCustomArray::StaticClass() {
  static const Class descriptor("TCustomArray", TObjetInterfacable::StaticClass(), nullptr);
  return &descriptor;
}

void TCustomArray::LibererLu(TObject* Objet) {
  if (auto* tableau = dynamic_cast<TCustomArray*>(Objet)) tableau->LibererNonPossedes();
  delete Objet;
}
