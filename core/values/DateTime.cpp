#include "core/values/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace DateTime {

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& year, unsigned& month, unsigned& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2);
}

TDateTime EncodeDate(int year, unsigned month, unsigned day) {
  return static_cast<double>(DaysFromCivil(year, month, day) + kOffset1970);
}

TDateTime EncodeTime(unsigned hour, unsigned minute, unsigned second, unsigned millisecond) {
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

void DecodeDate(TDateTime value, int& year, unsigned& month, unsigned& day) {
  int64_t y;
  CivilFromDays(static_cast<int64_t>(std::floor(value)) - kOffset1970, y, month, day);
  year = static_cast<int>(y);
}

void DecodeTime(TDateTime value, unsigned& hour, unsigned& minute, unsigned& second, unsigned& millisecond) {
  double fraction = std::fabs(value - std::trunc(value));
  auto ms = static_cast<int64_t>(std::llround(fraction * 86400000.0));
  if (ms >= 86400000) ms = 86399999;
  millisecond = static_cast<unsigned>(ms % 1000);
  ms /= 1000;
  second = static_cast<unsigned>(ms % 60);
  ms /= 60;
  minute = static_cast<unsigned>(ms % 60);
  hour = static_cast<unsigned>(ms / 60);
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(int year, unsigned month) {
  static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

namespace {
std::function<TDateTime()>& Clock() {
  static std::function<TDateTime()> clock;
  return clock;
}
}  // namespace

TDateTime Now() {
  if (Clock()) return Clock()();
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return EncodeDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday)) +
         EncodeTime(static_cast<unsigned>(local.tm_hour), static_cast<unsigned>(local.tm_min),
                    static_cast<unsigned>(local.tm_sec), static_cast<unsigned>(ms));
}

void SetClock(std::function<TDateTime()> clock) { Clock() = std::move(clock); }

}  // namespace DateTime
