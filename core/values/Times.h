// Texts of hour and minute quantities: the timetable base shows an hour and a half as 1.30, or in
// decimal hours as 1,50. Conversions between minutes and hundredths of an hour, and the
// picture-driven number formatter behind the hour texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/values/DateTime.h"

namespace Times {

// Set at start-up: "." between hours and minutes, and the decimal separator of the fixed
// format settings.
inline std::string SeparateurHeures;
inline std::string SeparateurDecimal;

// N written by Picture, read from its right end: "0" a digit, "#" a digit or a blank when N is
// used up, "*" a digit while N lasts, "[" ignored, "]...[" dropped once N is used up, any other
// character copied. Digits left when the picture is used up are put in front ("#0" with 123
// gives 123).
std::string FormaterNombre(std::string_view Picture, uint64_t N);

void Initialiser();

}  // namespace Times

class TCustomTime {
 public:
  TCustomTime() = delete;

  // Mode 0 h:m:s, 1 h:m, 2 decimal hours (hundredths truncated, separator "," when empty);
  // empty pictures default to "0", "00", "00". Another mode leaves Texte as it was. A negative
  // duration gets "-" in front.
  static void FormaterDuree(int32_t Mode, std::string_view Separateur, int64_t Secondes, std::string_view FormatHeures,
                            std::string_view FormatMinutes, std::string_view FormatSecondes, std::string& Texte);
  // Hours, the separator (SeparateurHeures when empty) and two-digit minutes, the seconds rounded
  // to the minute (a remainder above 30 seconds counts). EnCentiemes writes hundredths of an
  // hour after SeparateurDecimal; GrouperMilliers groups the hours by three with blanks; Prefixe
  // goes in front of hours below 10, and "-" in front of everything for a negative duration.
  static void FormaterDureeEnMinutes(std::string_view Prefixe, bool EnCentiemes, int64_t Secondes, bool AvecUnite,
                                     std::string& Texte, std::string_view Separateur, bool GrouperMilliers);
  // |Minutes| as hours, SeparateurHeures, two-digit minutes; "-" in front when negative.
  static void MinutesEnTexte(int32_t Minutes, std::string& Texte);
  // Hundredths of an hour to minutes and back, rounded half up, sign kept.
  static int32_t CentiemesEnMinutes(int32_t N);
  static int32_t MinutesEnCentiemes(int32_t N);
  // The time of day Heure:Minute as a fraction of a day; an hour above 23 (read as an unsigned
  // 16-bit value) gives 1.0, the end of the day. An invalid minute raises EConvertError.
  static TDateTime HeureEnTDateTime(int32_t Heure, int32_t Minute);
};
