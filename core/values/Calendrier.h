// Week numbers of dates: the ISO 8601 week of the year, or the week of the school year counted
// from the base's first date (week 1 is the first seven days from it).
#pragma once

#include <cstdint>

#include "core/values/DateTime.h"
#include "core/diagnostics/Trace.h"

class TMethodesCalendrier : public TCustomTracable {
  NV_DECLARE_CLASS(TMethodesCalendrier)
 public:
  explicit TMethodesCalendrier(TBlank b) : TCustomTracable(b) {}

  // With Iso, the ISO 8601 week of Date (weeks begin on Monday; week 1 holds the year's first
  // Thursday). Without, floor(d / 7) + 1 where d = Trunc(Date) - Trunc(Debut): 1 for the first
  // seven days from Debut, 0 for the seven days before, negative before that, 53 and more after
  // a year. A date that is not a finite number has week 0.
  static int32_t NumeroDeSemaine(bool Iso, TDateTime Date, TDateTime Debut);

 private:
  TMethodesCalendrier() = default;
};
