// The access path of a computed field: the ordered steps (article class, column number, filter) along
// which the field finds its value. A field's descriptor owns its path; the path owns the filter of
// every step.
#pragma once

#include "core/arrays/ArrayOfItemInfoAcces.h"

class TInfosAcces : public TArrayOfItemInfoAcces {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  using TArrayOfItemInfoAcces::TArrayOfItemInfoAcces;
  // Frees the filter of every step, then the steps.
  ~TInfosAcces() override;
};
