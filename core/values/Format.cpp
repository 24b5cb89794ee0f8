#include "core/values/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/objects/Exceptions.h"

namespace {

[[noreturn]] void Invalid(std::string_view format) {
  throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

std::string WithSeparator(std::string text) {
  for (char& c : text)
    if (c == '.') c = FormatSettingsFixes.DecimalSeparator;
  return text;
}

// Inserts the thousands separator into the integer part of a fixed text.
std::string WithThousands(const std::string& fixed) {
  std::size_t start = (fixed[0] == '-') ? 1 : 0;
  std::size_t end = fixed.find(FormatSettingsFixes.DecimalSeparator);
  if (end == std::string::npos) end = fixed.size();
  std::string out = fixed.substr(0, start);
  for (std::size_t i = start; i < end; ++i) {
    out += fixed[i];
    std::size_t left = end - i - 1;
    if (left > 0 && left % 3 == 0) out += FormatSettingsFixes.ThousandSeparator;
  }
  return out + fixed.substr(end);
}

std::string Scientific(double v, int precision) {
  if (precision < 1) precision = 1;
  if (precision > 18) precision = 18;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", precision - 1, v);
  // The exponent has at least three digits: 1.5E+003.
  std::string s = buf;
  std::size_t e = s.find('E');
  std::string mantissa = s.substr(0, e);
  char sign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (digits.size() < 3) digits = "0" + digits;
  return WithSeparator(mantissa) + "E" + sign + digits;
}

}  // namespace

std::string FloatToStrFixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string s = buf;
  if (s == "-0" || s.find_first_not_of("-0.") == std::string::npos) {
    if (s[0] == '-') s.erase(0, 1);  // no negative zero
  }
  return WithSeparator(s);
}

std::string FloatToStrGeneral(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (precision < 1 || precision > 18) precision = 15;
  if (value == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", precision - 1, value);
  int exponent = std::atoi(std::string(buf).substr(std::string(buf).find('E') + 1).c_str());
  std::string s;
  if (exponent >= precision || exponent < -5) {
    // Scientific: mantissa without trailing zeros, exponent without padding: 1E20, 1.5E-7.
    std::string t = buf;
    std::string mantissa = t.substr(0, t.find('E'));
    if (mantissa.find('.') != std::string::npos) {
      while (mantissa.back() == '0') mantissa.pop_back();
      if (mantissa.back() == '.') mantissa.pop_back();
    }
    s = mantissa + "E" + (exponent < 0 ? "-" : "") + std::to_string(std::abs(exponent));
  } else {
    int decimals = precision - 1 - exponent;
    if (decimals < 0) decimals = 0;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    s = buf;
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
  }
  return WithSeparator(s);
}

std::string Format(std::string_view format, std::initializer_list<TFormatArg> argList) {
  std::vector<const TFormatArg*> args;
  for (const auto& a : argList) args.push_back(&a);
  std::string out;
  std::size_t next = 0;  // index of the next argument
  std::size_t i = 0;
  auto takeArg = [&]() -> const TFormatArg& {
    if (next >= args.size()) throw EConvertError("No argument for format '" + std::string(format) + "'");
    return *args[next++];
  };
  auto readNumber = [&](int& value) -> bool {  // digits or '*'
    if (i < format.size() && format[i] == '*') {
      const TFormatArg& a = takeArg();
      if (a.kind() != TFormatArg::Kind::Integer && a.kind() != TFormatArg::Kind::Unsigned) Invalid(format);
      int64_t v = a.AsInteger();
      value = static_cast<int>(v < 0 ? 0 : (v > 100000 ? 100000 : v));
      ++i;
      return true;
    }
    bool any = false;
    int64_t v = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
      v = v * 10 + (format[i] - '0');
      if (v > 100000) v = 100000;
      ++i;
      any = true;
    }
    if (any) value = static_cast<int>(v);
    return any;
  };

  while (i < format.size()) {
    char c = format[i++];
    if (c != '%') { out += c; continue; }
    if (i >= format.size()) Invalid(format);
    if (format[i] == '%') { out += '%'; ++i; continue; }

    // Optional argument index "n:".
    std::size_t digitsEnd = i;
    while (digitsEnd < format.size() && format[digitsEnd] >= '0' && format[digitsEnd] <= '9') ++digitsEnd;
    if (digitsEnd > i && digitsEnd < format.size() && format[digitsEnd] == ':') {
      int number = 0;
      readNumber(number);
      next = static_cast<std::size_t>(number);
      ++i;
    }
    bool left = false;
    if (i < format.size() && format[i] == '-') { left = true; ++i; }
    int width = -1, precision = -1;
    readNumber(width);
    if (i < format.size() && format[i] == '.') {
      ++i;
      precision = 0;
      readNumber(precision);
    }
    if (i >= format.size()) Invalid(format);
    char type = static_cast<char>(std::toupper(static_cast<unsigned char>(format[i++])));
    const TFormatArg& a = takeArg();
    using K = TFormatArg::Kind;
    bool isInt = a.kind() == K::Integer || a.kind() == K::Unsigned;
    std::string text;
    switch (type) {
      case 'D':
      case 'U': {
        if (!isInt) Invalid(format);
        bool negative = false;
        std::string digits;
        if (type == 'D' && a.kind() == K::Integer && a.AsInteger() < 0) {
          negative = true;
          digits = std::to_string(0 - static_cast<uint64_t>(a.AsInteger()));
        } else {
          digits = std::to_string(type == 'U' && a.kind() == K::Integer
                                      ? static_cast<uint64_t>(static_cast<uint32_t>(a.AsInteger()))
                                      : a.AsUnsigned());
        }
        if (precision > 0 && digits.size() < static_cast<std::size_t>(precision))
          digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
        text = (negative ? "-" : "") + digits;
        break;
      }
      case 'X': {
        if (!isInt) Invalid(format);
        char buf[32];
        uint64_t v = a.AsUnsigned();
        if (a.kind() == K::Integer && a.AsInteger() >= INT32_MIN && a.AsInteger() <= INT32_MAX)
          v = static_cast<uint32_t>(a.AsInteger());
        std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(v));
        text = buf;
        if (precision > 0 && text.size() < static_cast<std::size_t>(precision))
          text.insert(0, static_cast<std::size_t>(precision) - text.size(), '0');
        break;
      }
      case 'E':
        if (a.kind() != K::Float) Invalid(format);
        text = Scientific(a.AsFloat(), precision < 0 ? 15 : precision);
        break;
      case 'F':
        if (a.kind() != K::Float) Invalid(format);
        text = FloatToStrFixed(a.AsFloat(), precision < 0 ? 2 : precision);
        break;
      case 'N':
        if (a.kind() != K::Float) Invalid(format);
        text = WithThousands(FloatToStrFixed(a.AsFloat(), precision < 0 ? 2 : precision));
        break;
      case 'G':
        if (a.kind() != K::Float) Invalid(format);
        text = FloatToStrGeneral(a.AsFloat(), precision < 0 ? 15 : precision);
        break;
      case 'P': {
        if (a.kind() != K::Pointer) Invalid(format);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%016llX",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(a.AsPointer())));
        text = buf;
        break;
      }
      case 'S':
        if (a.kind() != K::String) Invalid(format);
        text = a.AsString();
        if (precision >= 0 && text.size() > static_cast<std::size_t>(precision))
          text.resize(static_cast<std::size_t>(precision));
        break;
      default:
        Invalid(format);
    }
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
      std::size_t pad = static_cast<std::size_t>(width) - text.size();
      if (left) text.append(pad, ' ');
      else text.insert(0, pad, ' ');
    }
    out += text;
  }
  return out;
}
