// The text form in which components are stored: nested "object Name: TClass" ... "end" blocks of
// "Name = value" lines. Values are integers, floats (written so that they read back exactly: a
// float always shows a "." or an exponent), '1252 texts' (a doubled quote inside, #nnn for a
// character by its code, pieces joined side by side or by "+" across lines), identifiers (True,
// clRed), sets ([a, b]) and lists of texts and numbers in parentheses.
//
// The reader takes outside text: every fault is an EReadError naming the line, objects nest at
// most kMaxDepth deep, and nothing else is accepted (no binary data, no collections).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ObjectText {

inline constexpr int kMaxDepth = 64;

struct TTextValue {
  enum class Kind : uint8_t { Integer, Float, String, Identifier, Set, List };

  Kind ValueKind = Kind::Integer;
  int64_t Integer = 0;
  double Float = 0;
  std::string Text;                // a text or an identifier
  std::vector<std::string> Names;  // a set's members
  std::vector<TTextValue> Items;   // a list's texts and numbers

  static TTextValue OfInteger(int64_t v);
  static TTextValue OfFloat(double v);
  static TTextValue OfString(std::string v);
  static TTextValue OfIdentifier(std::string v);
  static TTextValue OfSet(std::vector<std::string> v);
  static TTextValue OfStrings(const std::vector<std::string>& v);
  static TTextValue OfFloats(const std::vector<double>& v);

  bool operator==(const TTextValue&) const = default;
};

struct TTextProperty {
  std::string Name;  // may be qualified: "Functions.DATA"
  TTextValue Value;

  bool operator==(const TTextProperty&) const = default;
};

struct TTextObject {
  std::string Name;
  std::string ClassName;
  std::vector<TTextProperty> Properties;
  std::vector<TTextObject> Children;

  // The first property of that name, compared without case; nil when none.
  const TTextProperty* Find(std::string_view Property) const;
  void Add(std::string Property, TTextValue Value) { Properties.push_back({std::move(Property), std::move(Value)}); }

  bool operator==(const TTextObject&) const = default;
};

// The text of an object and its children, lines ending in CR LF, two blanks per level. A float
// that is not finite cannot be written: EWriteError.
std::string Write(const TTextObject& Object);

// The one object of a text (blanks and line ends around it allowed).
TTextObject Read(std::string_view Text);

// The texts of a list value; EReadError when it is not a list of texts.
std::vector<std::string> Strings(const TTextValue& Value, std::string_view Property);

}  // namespace ObjectText
