#include "objectdb/properties/InfosAcces.h"

#include <unordered_set>

const TCustomArray::Class* TInfosAcces::StaticClass() {
  static const TCustomArrayClassOf<TInfosAcces> descriptor("TInfosAcces", TArrayOfItemInfoAcces::StaticClass());
  return &descriptor;
}

// A filter that two steps share is freed once.
TInfosAcces::~TInfosAcces() {
  std::unordered_set<TObject*> liberes;
  for (int32_t i = 0; i < GetNombreElements(); ++i) {
    TObject* filtre = GetElement(i).Filtre;
    if (filtre != nullptr && liberes.insert(filtre).second) delete filtre;
  }
}
