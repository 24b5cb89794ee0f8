// The comparison contract of objects kept in object arrays: an object that implements IComparable
// takes part in sorting and searching by its own order; other objects are ordered by address.
#pragma once

#include <cstdint>

#include "core/objects/ObjetInterfacable.h"

struct IComparable : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{1ED26CE5-2DC2-4CB2-BB76-45997728BDC6}");
  // Negative when this object orders before Autre, 0 when equal, positive after; Mode selects the
  // ordering. Arrays read the result as a signed byte, so implementations answer -1, 0 or 1.
  virtual int32_t Comparer(TObject* Autre, int32_t Mode) = 0;

 protected:
  ~IComparable() = default;
};

class TCustomComparable : public TObjetInterfacable, public IComparable {
  NV_DECLARE_CLASS(TCustomComparable)
 public:
  TCustomComparable() = default;
  explicit TCustomComparable(TBlank b) : TObjetInterfacable(b) {}

  int32_t Comparer(TObject* Autre, int32_t Mode) override = 0;

  // The order of two objects: A's own comparison when both implement IComparable, otherwise their
  // addresses (-1 when A lies below B, 0 for the same object or two absent ones, 1 above).
  static int32_t Comparer(TObject* A, TObject* B, int32_t Mode);

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};
