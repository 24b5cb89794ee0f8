#include "platform/streaming/ObjectText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/objects/Exceptions.h"
#include "core/values/ChaineUnicode.h"

namespace ObjectText {

TTextValue TTextValue::OfInteger(int64_t v) {
  TTextValue t;
  t.ValueKind = Kind::Integer;
  t.Integer = v;
  return t;
}

TTextValue TTextValue::OfFloat(double v) {
  TTextValue t;
  t.ValueKind = Kind::Float;
  t.Float = v;
  return t;
}

TTextValue TTextValue::OfString(std::string v) {
  TTextValue t;
  t.ValueKind = Kind::String;
  t.Text = std::move(v);
  return t;
}

TTextValue TTextValue::OfIdentifier(std::string v) {
  TTextValue t;
  t.ValueKind = Kind::Identifier;
  t.Text = std::move(v);
  return t;
}

TTextValue TTextValue::OfSet(std::vector<std::string> v) {
  TTextValue t;
  t.ValueKind = Kind::Set;
  t.Names = std::move(v);
  return t;
}

TTextValue TTextValue::OfStrings(const std::vector<std::string>& v) {
  TTextValue t;
  t.ValueKind = Kind::List;
  for (const std::string& s : v) t.Items.push_back(OfString(s));
  return t;
}

TTextValue TTextValue::OfFloats(const std::vector<double>& v) {
  TTextValue t;
  t.ValueKind = Kind::List;
  for (double d : v) t.Items.push_back(OfFloat(d));
  return t;
}

const TTextProperty* TTextObject::Find(std::string_view Property) const {
  const std::string wanted = ChaineUnicode::Majuscules1252(Property);
  for (const TTextProperty& p : Properties)
    if (p.Name.size() == Property.size() && ChaineUnicode::Majuscules1252(p.Name) == wanted) return &p;
  return nullptr;
}

std::vector<std::string> Strings(const TTextValue& Value, std::string_view Property) {
  std::vector<std::string> out;
  bool ok = Value.ValueKind == TTextValue::Kind::List;
  for (const TTextValue& item : Value.Items) {
    ok = ok && item.ValueKind == TTextValue::Kind::String;
    out.push_back(item.Text);
  }
  if (!ok) throw EReadError("Property " + std::string(Property) + " is not a list of texts");
  return out;
}

// -----------------------------------------------------------------------------------------------
// Writing

namespace {

constexpr const char* kEol = "\r\n";

std::string QuotedText(std::string_view s) {
  if (s.empty()) return "''";
  std::string out;
  bool open = false;
  for (const char c : s) {
    const auto b = static_cast<uint8_t>(c);
    if (b >= 32 && b < 127) {
      if (!open) out += '\'';
      open = true;
      out += c;
      if (c == '\'') out += '\'';
    } else {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(b);
    }
  }
  if (open) out += '\'';
  return out;
}

std::string FloatText(double v) {
  if (!std::isfinite(v)) throw EWriteError("A float that is not finite cannot be written as text");
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  std::string s(buffer, r.ptr);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

std::string ScalarText(const TTextValue& v) {
  switch (v.ValueKind) {
    case TTextValue::Kind::Integer: return std::to_string(v.Integer);
    case TTextValue::Kind::Float: return FloatText(v.Float);
    case TTextValue::Kind::String: return QuotedText(v.Text);
    case TTextValue::Kind::Identifier: return v.Text;
    case TTextValue::Kind::Set: {
      std::string s = "[";
      for (std::size_t i = 0; i < v.Names.size(); ++i) s += (i ? ", " : "") + v.Names[i];
      return s + "]";
    }
    case TTextValue::Kind::List: break;
  }
  throw EWriteError("A list cannot stand inside a list");
}

void WriteObject(const TTextObject& o, int Level, std::string& out) {
  const std::string indent(static_cast<std::size_t>(Level) * 2, ' ');
  out += indent + "object " + o.Name + ": " + o.ClassName + kEol;
  for (const TTextProperty& p : o.Properties) {
    out += indent + "  " + p.Name + " = ";
    if (p.Value.ValueKind != TTextValue::Kind::List) {
      out += ScalarText(p.Value) + kEol;
    } else if (p.Value.Items.empty()) {
      out += std::string("()") + kEol;
    } else {
      out += std::string("(") + kEol;
      for (std::size_t i = 0; i < p.Value.Items.size(); ++i)
        out += indent + "    " + ScalarText(p.Value.Items[i]) + (i + 1 == p.Value.Items.size() ? ")" : "") + kEol;
    }
  }
  for (const TTextObject& c : o.Children) WriteObject(c, Level + 1, out);
  out += indent + "end" + kEol;
}

}  // namespace

std::string Write(const TTextObject& Object) {
  std::string out;
  WriteObject(Object, 0, out);
  return out;
}

// -----------------------------------------------------------------------------------------------
// Reading

namespace {

class Reader {
 public:
  explicit Reader(std::string_view Text) : s_(Text) {}

  TTextObject Document() {
    SkipBlanks();
    TTextObject o = Object(0);
    SkipBlanks();
    if (pos_ < s_.size()) Fail("text after the last end");
    return o;
  }

 private:
  [[noreturn]] void Fail(const std::string& What) const {
    throw EReadError("Line " + std::to_string(line_) + ": " + What);
  }

  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }

  void SkipBlanks() {
    while (!AtEnd() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) {
      if (s_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  static bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }

  std::string Identifier() {
    if (!IdentStart(Peek())) Fail("a name was expected");
    const std::size_t start = pos_;
    while (IdentChar(Peek())) ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  // A name with dots: Functions.DATA.
  std::string QualifiedName() {
    std::string name = Identifier();
    while (Peek() == '.') {
      ++pos_;
      name += '.' + Identifier();
    }
    return name;
  }

  bool Keyword(std::string_view Word) {
    if (s_.substr(pos_, Word.size()).size() != Word.size()) return false;
    if (ChaineUnicode::Majuscules1252(s_.substr(pos_, Word.size())) != ChaineUnicode::Majuscules1252(Word)) return false;
    if (pos_ + Word.size() < s_.size() && IdentChar(s_[pos_ + Word.size()])) return false;
    pos_ += Word.size();
    return true;
  }

  TTextObject Object(int Depth) {
    if (Depth >= kMaxDepth) Fail("objects nest too deep");
    if (!Keyword("object")) Fail("\"object\" was expected");
    SkipBlanks();
    TTextObject o;
    o.Name = Identifier();
    SkipBlanks();
    if (Peek() != ':') Fail("\":\" and a class name were expected");
    ++pos_;
    SkipBlanks();
    o.ClassName = Identifier();
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("\"end\" was expected");
      if (Keyword("end")) return o;
      const std::size_t mark = pos_;
      if (Keyword("object")) {
        pos_ = mark;
        o.Children.push_back(Object(Depth + 1));
        continue;
      }
      TTextProperty p;
      p.Name = QualifiedName();
      SkipBlanks();
      if (Peek() != '=') Fail("\"=\" was expected after " + p.Name);
      ++pos_;
      SkipBlanks();
      p.Value = Value(true);
      o.Properties.push_back(std::move(p));
    }
  }

  TTextValue Value(bool ListAllowed) {
    const char c = Peek();
    if (c == '\'' || c == '#') return TTextValue::OfString(Text());
    if (c == '-' || c == '+' || (c >= '0' && c <= '9')) return Number();
    if (c == '[') return Set();
    if (c == '(' && ListAllowed) return List();
    if (IdentStart(c)) return TTextValue::OfIdentifier(QualifiedName());
    if (c == '{') Fail("binary data is not read");
    if (c == '<') Fail("collections are not read");
    Fail("a value was expected");
  }

  // 'pieces' and #codes side by side, and "+" joining them across lines.
  std::string Text() {
    std::string out;
    for (;;) {
      if (Peek() == '\'') {
        ++pos_;
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated text");
          const char c = s_[pos_++];
          if (c != '\'') {
            out += c;
          } else if (Peek() == '\'') {
            out += '\'';
            ++pos_;
          } else {
            break;
          }
        }
      } else if (Peek() == '#') {
        ++pos_;
        const std::size_t start = pos_;
        while (Peek() >= '0' && Peek() <= '9') ++pos_;
        uint32_t code = 0;
        const auto r = std::from_chars(s_.data() + start, s_.data() + pos_, code);
        if (pos_ == start || r.ec != std::errc() || code > 0xFFFF) Fail("a character code was expected after #");
        if (code < 256) out += static_cast<char>(code);
        else out += ChaineUnicode::DepuisUnicode(std::u16string(1, static_cast<char16_t>(code)), ChaineUnicode::CP_WINDOWS_1252);
      } else {
        // A "+" after blanks continues the text on the next piece.
        const std::size_t mark = pos_;
        const int line = line_;
        SkipBlanks();
        if (Peek() == '+') {
          ++pos_;
          SkipBlanks();
          if (Peek() == '\'' || Peek() == '#') continue;
          Fail("a text was expected after +");
        }
        pos_ = mark;
        line_ = line;
        return out;
      }
    }
  }

  TTextValue Number() {
    const std::size_t start = pos_;
    if (Peek() == '-' || Peek() == '+') ++pos_;
    bool isFloat = false;
    while (!AtEnd()) {
      const char c = Peek();
      if (c >= '0' && c <= '9') {
        ++pos_;
      } else if (c == '.' || c == 'e' || c == 'E') {
        isFloat = true;
        ++pos_;
        if ((c == 'e' || c == 'E') && (Peek() == '+' || Peek() == '-')) ++pos_;
      } else {
        break;
      }
    }
    std::string_view t = s_.substr(start, pos_ - start);
    if (!t.empty() && t[0] == '+') t.remove_prefix(1);
    const char* b = t.data();
    const char* e = t.data() + t.size();
    if (!isFloat) {
      int64_t v = 0;
      const auto r = std::from_chars(b, e, v);
      if (r.ec == std::errc() && r.ptr == e) return TTextValue::OfInteger(v);
      Fail("invalid integer " + std::string(t));
    }
    double d = 0;
    const auto r = std::from_chars(b, e, d);
    if (r.ec != std::errc() || r.ptr != e) Fail("invalid float " + std::string(t));
    return TTextValue::OfFloat(d);
  }

  TTextValue Set() {
    ++pos_;  // [
    std::vector<std::string> names;
    SkipBlanks();
    if (Peek() == ']') {
      ++pos_;
      return TTextValue::OfSet(names);
    }
    for (;;) {
      SkipBlanks();
      names.push_back(Identifier());
      SkipBlanks();
      if (Peek() == ']') {
        ++pos_;
        return TTextValue::OfSet(std::move(names));
      }
      if (Peek() != ',') Fail("\",\" or \"]\" was expected in a set");
      ++pos_;
    }
  }

  TTextValue List() {
    ++pos_;  // (
    TTextValue list;
    list.ValueKind = TTextValue::Kind::List;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail("\")\" was expected");
      if (Peek() == ')') {
        ++pos_;
        return list;
      }
      const char c = Peek();
      if (c != '\'' && c != '#' && c != '-' && c != '+' && !(c >= '0' && c <= '9'))
        Fail("a list holds texts and numbers only");
      list.Items.push_back(Value(false));
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

TTextObject Read(std::string_view Text) { return Reader(Text).Document(); }

}  // namespace ObjectText
