// Dates and times are doubles counting days since 30 December 1899 (the integer part is the day,
// the fraction the time of day). Civil-date arithmetic of our own, proleptic Gregorian, and the
// injectable clock that everything asking for "now" goes through.
#pragma once

#include <cstdint>
#include <functional>

using TDateTime = double;

namespace DateTime {

// Days since 1 January 1970 for a civil date, and back.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day);

// Day 0 is 30 December 1899.
inline constexpr int64_t kOffset1970 = 25569;  // days from 30/12/1899 to 01/01/1970

TDateTime EncodeDate(int year, unsigned month, unsigned day);
TDateTime EncodeTime(unsigned hour, unsigned minute, unsigned second, unsigned millisecond);
void DecodeDate(TDateTime value, int& year, unsigned& month, unsigned& day);
void DecodeTime(TDateTime value, unsigned& hour, unsigned& minute, unsigned& second, unsigned& millisecond);
bool IsLeapYear(int year);
unsigned DaysInMonth(int year, unsigned month);

// The current local date and time, through the clock that tests may replace.
TDateTime Now();
// Replaces the clock (tests); an empty function restores the system clock.
void SetClock(std::function<TDateTime()> clock);

}  // namespace DateTime
