#include "core/values/Calendrier.h"

#include <algorithm>
#include <cmath>

NV_DEFINE_CLASS(TMethodesCalendrier, TCustomTracable)

namespace {

// Dates further than this from 1899 are no calendar dates; they are held there so that the
// integer arithmetic below cannot overflow.
constexpr double kJoursMaximum = 1e9;

int32_t SemaineISO(TDateTime Date) {
  const auto jour = static_cast<int64_t>(std::trunc(std::clamp(Date, -kJoursMaximum, kJoursMaximum)));
  const int64_t depuis1970 = jour - DateTime::kOffset1970;
  // 1 January 1970 was a Thursday; Monday is day 1 of an ISO week.
  const int64_t jourDeSemaine = ((depuis1970 % 7) + 7 + 3) % 7 + 1;
  const int64_t jeudi = depuis1970 - jourDeSemaine + 4;  // the Thursday of the same week
  int64_t annee;
  unsigned mois, quantieme;
  DateTime::CivilFromDays(jeudi, annee, mois, quantieme);
  return static_cast<int32_t>((jeudi - DateTime::DaysFromCivil(annee, 1, 1)) / 7 + 1);
}

}  // namespace

int32_t TMethodesCalendrier::NumeroDeSemaine(bool Iso, TDateTime Date, TDateTime Debut) {
  if (!std::isfinite(Date) || (!Iso && !std::isfinite(Debut))) return 0;
  if (Iso) return SemaineISO(Date);
  const double jours = std::trunc(std::clamp(Date, -kJoursMaximum, kJoursMaximum)) -
                       std::trunc(std::clamp(Debut, -kJoursMaximum, kJoursMaximum));
  return static_cast<int32_t>(std::floor(jours / 7) + 1);
}
