#include "core/objects/ClassDescriptor.h"

const TClass* TObject::StaticClass() {
  static const TClass descriptor("TObject", nullptr, &NewBlankOf<TObject>);
  return &descriptor;
}
