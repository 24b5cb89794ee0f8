#include "core/values/Format.h"

#include <algorithm>
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

// -----------------------------------------------------------------------------------------------
// Number masks

namespace {

// The exact decimal expansion of a finite, non-negative value: value = 0.Digits x 10^Point, the
// digits without leading or trailing zeros (empty for zero).
struct DecimalDigits {
  std::string Digits;
  int Point = 0;

  bool IsZero() const { return Digits.empty(); }
  // The digit at a position counted from the decimal point (0 the first after it, -1 the units).
  char At(int Position) const {
    const int k = Point + Position;
    return k >= 0 && k < static_cast<int>(Digits.size()) ? Digits[static_cast<std::size_t>(k)] : '0';
  }
};

DecimalDigits ExactDigits(double value) {
  DecimalDigits d;
  if (value == 0) return d;
  // A double's exact expansion has at most 767 significant digits: printing 780 leaves nothing for
  // the printer to round.
  char buffer[820];
  std::snprintf(buffer, sizeof buffer, "%.780e", value);
  const std::string text = buffer;
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] >= '0' && text[i] <= '9') d.Digits += text[i];
  d.Point = std::atoi(text.c_str() + e + 1) + 1;
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  return d;
}

// Keeps the first Keep significant digits, halves away from zero (the value is exact, so a dropped
// first digit of 5 or more always means half or more).
void RoundDigits(DecimalDigits& d, int Keep) {
  if (Keep >= static_cast<int>(d.Digits.size())) return;
  if (Keep < 0) {
    d = DecimalDigits{};
    return;
  }
  const bool up = d.Digits[static_cast<std::size_t>(Keep)] >= '5';
  d.Digits.resize(static_cast<std::size_t>(Keep));
  if (up) {
    int i = Keep - 1;
    while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9') d.Digits[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Point;
    } else {
      ++d.Digits[static_cast<std::size_t>(i)];
    }
  }
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Point = 0;
}

// What the placeholders of one section ask for.
struct MaskSection {
  std::string_view Text;
  int IntPlaces = 0;  // "0" and "#" before the decimal point
  int DecPlaces = 0;  // after it
  int MinInt = 0;     // integer digits always written: from the first "0" on
  int MinDec = 0;     // decimals always written: up to the last "0"
  bool Thousands = false;
  bool Scientific = false;
};

// The length of the quoted text that starts at i (quotes included; to the end when unclosed).
std::size_t QuotedLength(std::string_view s, std::size_t i) {
  const std::size_t close = s.find(s[i], i + 1);
  return close == std::string_view::npos ? s.size() - i : close - i + 1;
}

// The text inside the quotes that start at i.
std::string_view QuotedText(std::string_view s, std::size_t i) {
  const std::size_t n = QuotedLength(s, i);
  const bool closed = n >= 2 && s[i + n - 1] == s[i];
  return s.substr(i + 1, closed ? n - 2 : n - 1);
}

bool IsExponentAt(std::string_view s, std::size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

MaskSection ScanSection(std::string_view Text) {
  MaskSection m;
  m.Text = Text;
  bool decimal = false;
  int firstZero = -1;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (c == '\'' || c == '"') {
      i += QuotedLength(Text, i) - 1;
    } else if (c == '0' || c == '#') {
      if (decimal) {
        ++m.DecPlaces;
        if (c == '0') m.MinDec = m.DecPlaces;
      } else {
        if (c == '0' && firstZero < 0) firstZero = m.IntPlaces;
        ++m.IntPlaces;
      }
    } else if (c == '.') {
      decimal = true;
    } else if (c == ',') {
      m.Thousands = true;
    } else if (IsExponentAt(Text, i)) {
      m.Scientific = true;
      break;  // the exponent's digits and what follows are not placeholders
    }
  }
  if (firstZero >= 0) m.MinInt = m.IntPlaces - firstZero;
  return m;
}

// The digits a section writes for a non-negative value: the integer digits, the decimals and, in
// scientific form, the exponent.
struct MaskDigits {
  std::string Int;
  std::string Dec;
  int Exponent = 0;
  bool Zero = false;
};

MaskDigits Digitise(const MaskSection& m, double Magnitude) {
  MaskDigits r;
  DecimalDigits d = ExactDigits(Magnitude);
  if (m.Scientific) {
    const int significant = m.IntPlaces + m.DecPlaces;
    RoundDigits(d, significant);
    r.Zero = d.IsZero();
    r.Exponent = r.Zero ? 0 : d.Point - m.IntPlaces;
    std::string all = d.Digits;
    all.resize(static_cast<std::size_t>(std::max(significant, 0)), '0');
    r.Int = all.substr(0, static_cast<std::size_t>(m.IntPlaces));
    r.Dec = all.substr(static_cast<std::size_t>(m.IntPlaces));
    while (static_cast<int>(r.Int.size()) > m.MinInt && !r.Int.empty() && r.Int[0] == '0') r.Int.erase(0, 1);
  } else {
    RoundDigits(d, d.Point + m.DecPlaces);
    r.Zero = d.IsZero();
    for (int p = -std::max(d.Point, 0); p < 0; ++p) r.Int += d.At(p);
    for (int p = 0; p < m.DecPlaces; ++p) r.Dec += d.At(p);
  }
  if (static_cast<int>(r.Int.size()) < m.MinInt) r.Int.insert(0, static_cast<std::size_t>(m.MinInt) - r.Int.size(), '0');
  while (static_cast<int>(r.Dec.size()) > m.MinDec && r.Dec.back() == '0') r.Dec.pop_back();
  return r;
}

// Writes a section with its digits, placeholder by placeholder; the integer digits that the
// placeholders cannot hold go with the first one.
std::string ApplySection(const MaskSection& m, const MaskDigits& r) {
  std::string out;
  const int P = static_cast<int>(r.Int.size());
  auto putInt = [&](int k) {
    out += r.Int[static_cast<std::size_t>(k)];
    const int left = P - 1 - k;
    if (m.Thousands && left > 0 && left % 3 == 0) out += FormatSettingsFixes.ThousandSeparator;
  };
  int intSeen = 0, decSeen = 0;
  bool decimal = false;
  const std::string_view s = m.Text;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\'' || c == '"') {
      out.append(QuotedText(s, i));
      i += QuotedLength(s, i) - 1;
    } else if ((c == '0' || c == '#') && !decimal) {
      const int r0 = m.IntPlaces - 1 - intSeen;  // this placeholder's place, 0 the units
      if (intSeen == 0) {
        for (int k = 0; k < P - r0; ++k) putInt(k);
      } else if (P - 1 - r0 >= 0) {
        putInt(P - 1 - r0);
      }
      ++intSeen;
    } else if (c == '0' || c == '#') {
      if (decSeen < static_cast<int>(r.Dec.size())) out += r.Dec[static_cast<std::size_t>(decSeen)];
      ++decSeen;
    } else if (c == '.') {
      if (decimal) continue;
      decimal = true;
      if (m.IntPlaces == 0)
        for (int k = 0; k < P; ++k) putInt(k);
      if (!r.Dec.empty()) out += FormatSettingsFixes.DecimalSeparator;
    } else if (c == ',') {
      continue;
    } else if (m.Scientific && IsExponentAt(s, i)) {
      out += c;
      const bool always = s[i + 1] == '+';
      std::size_t j = i + 2;
      std::size_t width = 0;
      while (j < s.size() && s[j] == '0') ++j, ++width;
      if (r.Exponent < 0) out += '-';
      else if (always) out += '+';
      std::string digits = std::to_string(std::abs(r.Exponent));
      if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
      out += digits;
      // What follows the exponent is written as it stands (quotes still enclose literal text).
      for (std::size_t k = j; k < s.size(); ++k) {
        if (s[k] == '\'' || s[k] == '"') {
          out.append(QuotedText(s, k));
          k += QuotedLength(s, k) - 1;
        } else {
          out += s[k];
        }
      }
      break;
    } else {
      out += c;
    }
  }
  return out;
}

// The mask's sections, split at ";" outside quotes (at most three).
std::vector<std::string_view> SplitSections(std::string_view mask) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  for (std::size_t i = 0; i < mask.size() && sections.size() < 2; ++i) {
    if (mask[i] == '\'' || mask[i] == '"') {
      i += QuotedLength(mask, i) - 1;
    } else if (mask[i] == ';') {
      sections.push_back(mask.substr(start, i - start));
      start = i + 1;
    }
  }
  std::string_view last = mask.substr(std::min(start, mask.size()));
  // A fourth section is ignored.
  for (std::size_t i = 0; i < last.size(); ++i) {
    if (last[i] == '\'' || last[i] == '"') i += QuotedLength(last, i) - 1;
    else if (last[i] == ';') {
      last = last.substr(0, i);
      break;
    }
  }
  sections.push_back(last);
  return sections;
}

}  // namespace

std::string FormatFloat(std::string_view mask, double value) {
  const std::vector<std::string_view> sections = SplitSections(mask);
  if (sections[0].empty() || !std::isfinite(value)) return FloatToStrGeneral(value, 15);
  const double magnitude = std::fabs(value);
  const MaskSection first = ScanSection(sections[0]);
  const MaskDigits firstDigits = Digitise(first, magnitude);
  std::size_t chosen = 0;
  if (firstDigits.Zero) {
    if (sections.size() > 2 && !sections[2].empty()) chosen = 2;
  } else if (value < 0 && sections.size() > 1 && !sections[1].empty()) {
    chosen = 1;
  }
  if (chosen == 0) return (value < 0 && !firstDigits.Zero ? "-" : "") + ApplySection(first, firstDigits);
  const MaskSection other = ScanSection(sections[chosen]);
  return ApplySection(other, Digitise(other, magnitude));
}

std::string FormatCurrencyTemplate(std::string_view text, double value) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i < text.size() && text[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // "%" ["-"] [width] ["." precision] "m"; anything else leaves the "%" as it stands.
    std::size_t j = i;
    const bool left = j < text.size() && text[j] == '-';
    if (left) ++j;
    auto number = [&](int& n) {
      bool any = false;
      n = 0;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
        n = std::min(n * 10 + (text[j++] - '0'), 4096);
        any = true;
      }
      return any;
    };
    int width = 0, precision = 2;
    number(width);
    if (j < text.size() && text[j] == '.') {
      ++j;
      if (!number(precision)) precision = 0;
    }
    if (j >= text.size() || (text[j] != 'm' && text[j] != 'M')) {
      out += c;
      continue;
    }
    i = j + 1;
    // Rounded as the masks round, halves away from zero.
    const std::string mask = precision > 0 ? "#,##0." + std::string(static_cast<std::size_t>(std::min(precision, 18)), '0') : "#,##0";
    std::string money = std::isfinite(value) ? FormatFloat(mask, value) : FloatToStrGeneral(value);
    money += ' ';
    money += "\x80";  // the euro sign in 1252
    if (money.size() < static_cast<std::size_t>(width)) {
      const std::size_t pad = static_cast<std::size_t>(width) - money.size();
      if (left) money.append(pad, ' ');
      else money.insert(0, pad, ' ');
    }
    out += money;
  }
  return out;
}
