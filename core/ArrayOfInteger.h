// Arrays of signed 32-bit integers: the most used typed arrays of the system (lists of record
// numbers, week values, counters); the weekly and monthly value arrays derive from the fixed one.
#pragma once

#include <cstdint>

#include "core/TemplateArray.h"

class TArrayOfInteger;

struct TArrayOfIntegerTraits : TArrayTraitsBase<int32_t> {
  using Tableau = TArrayOfInteger;
  static int8_t ComparerElements(int32_t A, int32_t B, int32_t /*Mode*/, TObject* /*Parametre*/) {
    return A < B ? -1 : A > B ? 1 : 0;
  }
};

class TArrayOfInteger : public TArrayTemplate<TArrayOfIntegerTraits> {
  NV_DECLARE_ARRAY_CLASS(TArrayOfInteger)
 public:
  using TArrayTemplate::TArrayTemplate;
};

class TPagedArrayOfInteger : public TPagedArrayTemplate<TArrayOfIntegerTraits> {
  NV_DECLARE_ARRAY_CLASS(TPagedArrayOfInteger)
 public:
  using TPagedArrayTemplate::TPagedArrayTemplate;
};

class TFixedArrayOfInteger : public TFixedArrayTemplate<TArrayOfIntegerTraits> {
  NV_DECLARE_ARRAY_CLASS(TFixedArrayOfInteger)
 public:
  using TFixedArrayTemplate::TFixedArrayTemplate;
};

extern template class TCustomArrayTemplate<TArrayOfIntegerTraits>;
extern template class TArrayTemplate<TArrayOfIntegerTraits>;
extern template class TPagedArrayTemplate<TArrayOfIntegerTraits>;
extern template class TFixedArrayTemplate<TArrayOfIntegerTraits>;
