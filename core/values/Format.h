// The system's own formatter of "%" directives, safe with texts that come from the dictionary:
// a directive that does not fit its argument raises EConvertError, nothing is read past the
// argument list. Directives: "%" [index ":"] ["-"] [width] ["." precision] type, with width and
// precision given as digits or "*", and the types d u e f g n p s x ("%%" writes "%").
// Numbers use the fixed settings below, never the process locale.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
};

// The settings every formatting routine of the system uses.
inline constexpr TFormatSettings FormatSettingsFixes{};

class TFormatArg {
 public:
  enum class Kind { Integer, Unsigned, Float, String, Pointer };

  template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, char>, int> = 0>
  TFormatArg(T v) : kind_(Kind::Integer), i_(v) {}
  template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>, int> = 0>
  TFormatArg(T v) : kind_(Kind::Unsigned), u_(v) {}
  TFormatArg(double v) : kind_(Kind::Float), f_(v) {}
  TFormatArg(long double v) : kind_(Kind::Float), f_(static_cast<double>(v)) {}
  TFormatArg(float v) : kind_(Kind::Float), f_(v) {}
  TFormatArg(char c) : kind_(Kind::String), s_(1, c) {}
  TFormatArg(const char* s) : kind_(Kind::String), s_(s ? s : "") {}
  TFormatArg(std::string_view s) : kind_(Kind::String), s_(s) {}
  TFormatArg(const std::string& s) : kind_(Kind::String), s_(s) {}
  TFormatArg(const void* p) : kind_(Kind::Pointer), p_(p) {}
  TFormatArg(bool) = delete;  // no directive takes a Boolean

  Kind kind() const { return kind_; }
  int64_t AsInteger() const { return kind_ == Kind::Unsigned ? static_cast<int64_t>(u_) : i_; }
  uint64_t AsUnsigned() const { return kind_ == Kind::Unsigned ? u_ : static_cast<uint64_t>(i_); }
  double AsFloat() const { return f_; }
  const std::string& AsString() const { return s_; }
  const void* AsPointer() const { return p_; }

 private:
  Kind kind_;
  int64_t i_ = 0;
  uint64_t u_ = 0;
  double f_ = 0;
  std::string s_;
  const void* p_ = nullptr;
};

std::string Format(std::string_view format, std::initializer_list<TFormatArg> args);

// Fixed-point text of a value with `decimals` digits after the separator, and the general text
// (at most `precision` significant digits, no trailing zeros), with the fixed settings.
std::string FloatToStrFixed(double value, int decimals);
std::string FloatToStrGeneral(double value, int precision = 15);

// A value written through a number mask, with the fixed settings. Up to three sections separated
// by ";" (outside quotes) serve positive values, negative values and zero; an empty or missing
// negative or zero section falls back to the first, and a negative value written by the first
// section gets a leading "-". Inside a section: "0" a digit always written, "#" a digit written
// when significant, the first "." the decimal separator, "," anywhere the thousands separators,
// "E+" "E-" "e+" "e-" followed by "0"s a scientific exponent with at least that many digits ("+"
// writes the sign of a positive exponent too), '...' and "..." literal texts, and every other
// character itself. The value is rounded halves away from zero on its exact decimal value. An
// empty mask or an empty first section gives FloatToStrGeneral(value, 15).
std::string FormatFloat(std::string_view mask, double value);

// A currency template: only "%m" (with an optional "-", width and ".precision") and "%%" are
// directives, everything else is written as it stands. "%m" writes the value with its thousands
// separators, the precision's decimals (2 by default) and " €": 1,234.50 €. A width pads with
// blanks on the left, or on the right after "-".
std::string FormatCurrencyTemplate(std::string_view templateText, double value);
