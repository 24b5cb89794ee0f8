#include "reports/RBExpr.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"

// -----------------------------------------------------------------------------------------------
// Message texts

namespace RBExpr {

const TChaineRessource RS_Missing_S{"RBExpr_RS_Missing_S", 65300, "Missing %s"};
const TChaineRessource RS_ErrorInExpression_S{"RBExpr_RS_ErrorInExpression_S", 65301, "Error in expression : %s"};
const TChaineRessource RS_IllegalCharacter{"RBExpr_RS_IllegalCharacter", 65302, "Illegal character in numeric contant "};
const TChaineRessource RS_UnknownFunction_S{"RBExpr_RS_UnknownFunction_S", 65303, "Unknown function : %s"};
const TChaineRessource RS_UnknownFieldType_S{"RBExpr_RS_UnknownFieldType_S", 65304, "Field %s is of unknown type"};
const TChaineRessource RS_OperatorNotCompatible_SS{"RBExpr_RS_OperatorNotCompatible_SS", 65305,
                                                   "Operator %s is not compatible with %s expressions"};
const TChaineRessource RS_CannotOperate_SS{"RBExpr_RS_CannotOperate_SS", 65306, "Cannot %s %s expressions"};
const TChaineRessource RS_CannotDivideByZero{"RBExpr_RS_CannotDivideByZero", 65307, "Cannot divide by 0"};
const TChaineRessource RS_EvaluatorNotPrepared{"RBExpr_RS_EvaluatorNotPrepared", 65308, "Evaluator not prepared"};
const TChaineRessource RS_RecursiveCalls{"RBExpr_RS_RecursiveCalls", 65309, "Recursive calls not allowed"};
const TChaineRessource RS_InvalidUseOfNot{"RBExpr_RS_InvalidUseOfNot", 65310, "Invalid use of NOT"};
const TChaineRessource RS_WordBoolean{"RBExpr_RS_WordBoolean", 65311, "boolean"};
const TChaineRessource RS_WordString{"RBExpr_RS_WordString", 65312, "string"};
const TChaineRessource RS_WordNumeric{"RBExpr_RS_WordNumeric", 65313, "numeric"};
const TChaineRessource RS_WordAdd{"RBExpr_RS_WordAdd", 65314, "add"};
const TChaineRessource RS_WordSubtract{"RBExpr_RS_WordSubtract", 65315, "subtract"};
const TChaineRessource RS_WordMultiply{"RBExpr_RS_WordMultiply", 65316, "multiply"};
const TChaineRessource RS_WordDivide{"RBExpr_RS_WordDivide", 65317, "divide"};
const TChaineRessource RS_WordTrue{"RBExpr_RS_WordTrue", 65318, "True"};
const TChaineRessource RS_WordFalse{"RBExpr_RS_WordFalse", 65319, "False"};
const TChaineRessource RS_TooManyArguments{"RBExpr_RS_TooManyArguments", 65320, "Too many arguments"};
const TChaineRessource RS_WrongArguments_S{"RBExpr_RS_WrongArguments_S", 65321, "Wrong arguments for %s"};
const TChaineRessource RS_InvalidSqrtArgument{"RBExpr_RS_InvalidSqrtArgument", 65322,
                                              "Invalid argument to SQRT function"};
const TChaineRessource RS_DivisionByZero{"RBExpr_RS_DivisionByZero", 65323, "Division by Zero"};
const TChaineRessource RS_ConversionError{"RBExpr_RS_ConversionError", 65324, "Conversion error"};
const TChaineRessource RS_MissingArgument_S{"RBExpr_RS_MissingArgument_S", 65325, "Missing argument for %s"};
const TChaineRessource RS_InvalidFormat{"RBExpr_RS_InvalidFormat", 65326, "Invalid format or value specified"};
const TChaineRessource RS_CountPrefix{"RBExpr_RS_CountPrefix", 65327, "COUNT - "};
const TChaineRessource RS_Publisher{"RBExpr_RS_Publisher", 65328, "Norvane"};

namespace {

// The descriptions of the built-ins and the names of the categories.
const TChaineRessource RS_DescIf{"RBExpr_RS_DescIf", 65330, "Returns <X> or <Y> depending on the boolean expression <Exp>"};
const TChaineRessource RS_DescStr{"RBExpr_RS_DescStr", 65331, "Convert a numeric <X> to a string"};
const TChaineRessource RS_DescUpper{"RBExpr_RS_DescUpper", 65332, "Converts a string to upper case letters"};
const TChaineRessource RS_DescLower{"RBExpr_RS_DescLower", 65333, "Converts a string to lower case letters"};
const TChaineRessource RS_DescPretty{"RBExpr_RS_DescPretty", 65334,
                                     "Makes the first character upper case and the rest lower case"};
const TChaineRessource RS_DescTime{"RBExpr_RS_DescTime", 65335, "Return current time as a string"};
const TChaineRessource RS_DescDate{"RBExpr_RS_DescDate", 65336, "Return current date as a string"};
const TChaineRessource RS_DescCopy{"RBExpr_RS_DescCopy", 65337, "Returns a substring of string X"};
const TChaineRessource RS_DescSum{"RBExpr_RS_DescSum", 65338, "Sums the numeric <X>"};
const TChaineRessource RS_DescCount{"RBExpr_RS_DescCount", 65339, "Increments for each iteration"};
const TChaineRessource RS_DescMax{"RBExpr_RS_DescMax", 65340, "Returns the highest <X>"};
const TChaineRessource RS_DescMin{"RBExpr_RS_DescMin", 65341, "Returns the lowest <X>"};
const TChaineRessource RS_DescAverage{"RBExpr_RS_DescAverage", 65342, "Returns the average of numeric <X>"};
const TChaineRessource RS_DescTrue{"RBExpr_RS_DescTrue", 65343, "boolean value"};
const TChaineRessource RS_DescFalse{"RBExpr_RS_DescFalse", 65344, "boolean value"};
const TChaineRessource RS_DescInt{"RBExpr_RS_DescInt", 65345, "Returns the integer part of <X>"};
const TChaineRessource RS_DescFrac{"RBExpr_RS_DescFrac", 65346, "Returns the fractional part of <X>"};
const TChaineRessource RS_DescSqrt{"RBExpr_RS_DescSqrt", 65347, "Returns square root of <X>"};
const TChaineRessource RS_DescDiv{"RBExpr_RS_DescDiv", 65348, "Integer division of <X> by <Y>"};
const TChaineRessource RS_DescTypeOf{"RBExpr_RS_DescTypeOf", 65349, "Returns the data type of <Exp>"};
const TChaineRessource RS_DescFormatNumeric{"RBExpr_RS_DescFormatNumeric", 65350,
                                            "Formats numeric <N> using the mask in <F>"};
const TChaineRessource RS_CategoryAll{"RBExpr_RS_CategoryAll", 65351, "All"};
const TChaineRessource RS_CategoryDateTime{"RBExpr_RS_CategoryDateTime", 65352, "Date & time"};
const TChaineRessource RS_CategoryMath{"RBExpr_RS_CategoryMath", 65353, "Math & trig"};
const TChaineRessource RS_CategoryStatistical{"RBExpr_RS_CategoryStatistical", 65354, "Statistical"};
const TChaineRessource RS_CategoryDatabase{"RBExpr_RS_CategoryDatabase", 65355, "Database"};
const TChaineRessource RS_CategoryLogical{"RBExpr_RS_CategoryLogical", 65356, "Logical"};
const TChaineRessource RS_CategoryInformation{"RBExpr_RS_CategoryInformation", 65357, "Information"};
const TChaineRessource RS_CategoryOther{"RBExpr_RS_CategoryOther", 65358, "Other"};

const TChaineRessource* const kCategories[] = {&RS_CategoryAll,      &RS_CategoryDateTime,  &RS_CategoryMath,
                                               &RS_CategoryStatistical, &RS_CategoryDatabase, &RS_CategoryLogical,
                                               &RS_CategoryInformation, &RS_CategoryOther};

}  // namespace
}  // namespace RBExpr

using namespace RBExpr;

namespace {

std::string Text(const TChaineRessource& Chaine) { return ChaineRessource::Charger(Chaine); }
std::string Text(const TChaineRessource& Chaine, std::string_view Argument) {
  return Format(ChaineRessource::Charger(Chaine), {Argument});
}
std::string Text(const TChaineRessource& Chaine, std::string_view A, std::string_view B) {
  return Format(ChaineRessource::Charger(Chaine), {A, B});
}

std::string Upper(std::string_view s) { return ChaineUnicode::Majuscules1252(s); }

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && Upper(a) == Upper(b); }

std::string Cut(std::string_view s) { return std::string(s.substr(0, TRBEvResultRecord::kMaxText)); }

}  // namespace

// -----------------------------------------------------------------------------------------------
// Result records

TRBEvResultRecord TRBEvResultRecord::OfInteger(int32_t v) {
  TRBEvResultRecord r;
  r.Kind = rkInteger;
  r.IntegerValue = v;
  return r;
}

TRBEvResultRecord TRBEvResultRecord::OfFloat(double v) {
  TRBEvResultRecord r;
  r.Kind = rkFloat;
  r.FloatValue = v;
  return r;
}

TRBEvResultRecord TRBEvResultRecord::OfString(std::string_view v) {
  TRBEvResultRecord r;
  r.Kind = rkString;
  r.Text = Cut(v);
  return r;
}

TRBEvResultRecord TRBEvResultRecord::OfBoolean(bool v) {
  TRBEvResultRecord r;
  r.Kind = rkBoolean;
  r.BooleanValue = v;
  return r;
}

TRBEvResultRecord TRBEvResultRecord::OfError(std::string_view Message) {
  TRBEvResultRecord r;
  r.Kind = rkError;
  r.Text = Cut(Message);
  return r;
}

const char* ResultKindName(TRBResultKind Kind) {
  switch (Kind) {
    case rkInteger: return "INTEGER";
    case rkFloat: return "FLOAT";
    case rkString: return "STRING";
    case rkBoolean: return "BOOLEAN";
    case rkError: break;
  }
  return "ERROR";
}

namespace {

// The text of a value as an operand of a text operation.
std::string ResultToText(const TRBEvResultRecord& r) {
  switch (r.Kind) {
    case rkInteger: return std::to_string(r.IntegerValue);
    case rkFloat: return FloatToStrGeneral(r.FloatValue, 15);
    case rkBoolean: return Text(r.BooleanValue ? RS_WordTrue : RS_WordFalse);
    case rkString: return r.Text;
    case rkError: break;
  }
  throw ERBExpressionError(Text(RS_ErrorInExpression_S, r.Text));
}

// How deep elements are being evaluated: a variable refuses to start past the limit, which bounds
// the stack through chains of variables (each program's own depth is bounded when it compiles).
int gEvaluationDepth = 0;
constexpr int kMaxEvaluationDepth = 2048;

struct EvaluationGuard {
  EvaluationGuard() { ++gEvaluationDepth; }
  ~EvaluationGuard() { --gEvaluationDepth; }
};

}  // namespace

void EvaluateNext(TRBFiFo& Program, TRBEvResultRecord& Result) {
  if (TRBEvElement* e = Program.Next()) e->GetValue(Program, Result);
  else Result = TRBEvResultRecord::OfError();
}

// -----------------------------------------------------------------------------------------------
// Operators

namespace {

const char* OperatorText(TRBOperation Op) {
  switch (Op) {
    case eoLess: return "<";
    case eoLessEqual: return "<=";
    case eoGreater: return ">";
    case eoGreaterEqual: return ">=";
    case eoEqual: return "=";
    case eoNotEqual: return "<>";
    case eoAdd: return "+";
    case eoSubtract: return "-";
    case eoOr: return "OR";
    case eoMultiply: return "*";
    case eoDivide: return "/";
    case eoAnd: return "AND";
  }
  return "";
}

void CoerceOperands(TRBEvResultRecord& a, TRBEvResultRecord& b) {
  if (a.Kind == rkError || b.Kind == rkError || a.Kind == b.Kind) return;
  if (a.Kind == rkInteger && b.Kind == rkFloat) {
    a = TRBEvResultRecord::OfFloat(a.IntegerValue);
  } else if (a.Kind == rkFloat && b.Kind == rkInteger) {
    b = TRBEvResultRecord::OfFloat(b.IntegerValue);
  } else {
    a = TRBEvResultRecord::OfString(ResultToText(a));
    b = TRBEvResultRecord::OfString(ResultToText(b));
  }
}

template <class T>
bool Compare(TRBOperation Op, const T& a, const T& b) {
  switch (Op) {
    case eoLess: return a < b;
    case eoLessEqual: return a <= b;
    case eoGreater: return a > b;
    case eoGreaterEqual: return a >= b;
    case eoEqual: return a == b;
    default: return a != b;
  }
}

TRBEvResultRecord CannotOperate(const TChaineRessource& Verb, const TChaineRessource& Kind) {
  return TRBEvResultRecord::OfError(Text(RS_CannotOperate_SS, Text(Verb), Text(Kind)));
}

TRBEvResultRecord NotCompatible(std::string_view Op, const TChaineRessource& Kind) {
  return TRBEvResultRecord::OfError(Text(RS_OperatorNotCompatible_SS, Op, Text(Kind)));
}

const TChaineRessource& Verb(TRBOperation Op) {
  switch (Op) {
    case eoAdd: return RS_WordAdd;
    case eoSubtract: return RS_WordSubtract;
    case eoMultiply: return RS_WordMultiply;
    default: return RS_WordDivide;
  }
}

TRBEvResultRecord ApplyInteger(TRBOperation Op, int32_t a, int32_t b) {
  const auto ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
  switch (Op) {
    case eoAdd: return TRBEvResultRecord::OfInteger(static_cast<int32_t>(ua + ub));
    case eoSubtract: return TRBEvResultRecord::OfInteger(static_cast<int32_t>(ua - ub));
    case eoMultiply: return TRBEvResultRecord::OfInteger(static_cast<int32_t>(ua * ub));
    case eoDivide:
      if (b == 0) return TRBEvResultRecord::OfError(Text(RS_CannotDivideByZero));
      return TRBEvResultRecord::OfFloat(static_cast<double>(a) / b);
    case eoOr: return TRBEvResultRecord::OfInteger(static_cast<int32_t>(ua | ub));
    case eoAnd: return TRBEvResultRecord::OfInteger(static_cast<int32_t>(ua & ub));
    default: return TRBEvResultRecord::OfBoolean(Compare(Op, a, b));
  }
}

TRBEvResultRecord ApplyFloat(TRBOperation Op, double a, double b) {
  switch (Op) {
    case eoAdd: return TRBEvResultRecord::OfFloat(a + b);
    case eoSubtract: return TRBEvResultRecord::OfFloat(a - b);
    case eoMultiply: return TRBEvResultRecord::OfFloat(a * b);
    case eoDivide:
      if (b == 0) return TRBEvResultRecord::OfError(Text(RS_CannotDivideByZero));
      return TRBEvResultRecord::OfFloat(a / b);
    case eoOr:
    case eoAnd: return NotCompatible(OperatorText(Op), RS_WordNumeric);
    default: return TRBEvResultRecord::OfBoolean(Compare(Op, a, b));
  }
}

TRBEvResultRecord ApplyString(TRBOperation Op, const std::string& a, const std::string& b) {
  switch (Op) {
    case eoAdd: return TRBEvResultRecord::OfString(a + b);
    case eoSubtract:
    case eoMultiply:
    case eoDivide: return CannotOperate(Verb(Op), RS_WordString);
    case eoOr:
    case eoAnd: return NotCompatible(OperatorText(Op), RS_WordString);
    default: return TRBEvResultRecord::OfBoolean(Compare(Op, a, b));  // bytes, a prefix is smaller
  }
}

TRBEvResultRecord ApplyBoolean(TRBOperation Op, bool a, bool b) {
  switch (Op) {
    case eoEqual: return TRBEvResultRecord::OfBoolean(a == b);
    case eoNotEqual: return TRBEvResultRecord::OfBoolean(a != b);
    case eoOr: return TRBEvResultRecord::OfBoolean(a || b);
    case eoAnd: return TRBEvResultRecord::OfBoolean(a && b);
    case eoAdd:
    case eoSubtract:
    case eoMultiply:
    case eoDivide: return CannotOperate(Verb(Op), RS_WordBoolean);
    default: return NotCompatible(OperatorText(Op), RS_WordBoolean);
  }
}

}  // namespace

void TRBEvElementOperator::GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) {
  EvaluationGuard guard;
  TRBEvResultRecord left, right;
  EvaluateNext(Program, left);
  EvaluateNext(Program, right);
  CoerceOperands(left, right);
  if (left.Kind == rkError) {
    Result = std::move(left);
    return;
  }
  if (right.Kind == rkError) {
    Result = std::move(right);
    return;
  }
  switch (left.Kind) {
    case rkInteger: Result = ApplyInteger(Operation, left.IntegerValue, right.IntegerValue); break;
    case rkFloat: Result = ApplyFloat(Operation, left.FloatValue, right.FloatValue); break;
    case rkString: Result = ApplyString(Operation, left.Text, right.Text); break;
    default: Result = ApplyBoolean(Operation, left.BooleanValue, right.BooleanValue); break;
  }
}

void TRBEvElementNot::GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) {
  EvaluationGuard guard;
  EvaluateNext(Program, Result);
  if (Result.Kind == rkBoolean) Result = TRBEvResultRecord::OfBoolean(!Result.BooleanValue);
  else if (Result.Kind != rkError) Result = TRBEvResultRecord::OfError(Text(RS_InvalidUseOfNot));
}

// -----------------------------------------------------------------------------------------------
// Fields, calls, wrappers

void TRBEvElementDataField::GetValue(TRBFiFo&, TRBEvResultRecord& Result) {
  TField* field = SourceField;
  // A dataset that makes its fields anew at each open has replaced the field object.
  if (SourceDataSet->DefaultFields()) field = SourceField = SourceDataSet->Fields(SourceFieldIndex);
  if (!field) {
    Result = TRBEvResultRecord::OfError(Text(RS_UnknownFunction_S, FieldName));
    return;
  }
  if (field->IsStringField()) Result = TRBEvResultRecord::OfString(field->AsString());
  else if (field->IsIntegerField()) Result = TRBEvResultRecord::OfInteger(field->AsInteger());
  else if (field->IsFloatField()) Result = TRBEvResultRecord::OfFloat(field->AsFloat());
  else if (field->IsBooleanField()) Result = TRBEvResultRecord::OfBoolean(field->AsBoolean());
  else if (field->IsDateField() || field->IsDateTimeField()) Result = TRBEvResultRecord::OfString(field->AsString());
  else Result = TRBEvResultRecord::OfError(Text(RS_UnknownFieldType_S, field->FieldName()));
}

void TRBEvElementFunction::CollectArguments(TRBFiFo& Program) {
  for (TRBEvElement* e = Program.Next(); e && !dynamic_cast<TRBEvElementArgumentEnd*>(e); e = Program.Next()) {
    TRBEvResultClass held;
    e->GetValue(Program, held.Held);
    Arguments.push_back(std::move(held));
  }
}

void TRBEvElementFunction::GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) {
  EvaluationGuard guard;
  // A call inside an argument of this same element cannot happen (each call is its own element),
  // but the arguments of an earlier evaluation must not leak into this one.
  DropArguments();
  CollectArguments(Program);
  if (Program.Accumulating) AccumulateArguments();
  ComputeResult(Result);
  DropArguments();
}

TRBEvElementWrapper::TRBEvElementWrapper(TRBEvEmbeddedFunction* Target, std::string Name)
    : target_(Target), name_(std::move(Name)) {
  target_->wrappers_.push_back(this);
}

TRBEvElementWrapper::~TRBEvElementWrapper() {
  if (target_) std::erase(target_->wrappers_, this);
}

void TRBEvElementWrapper::GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) {
  if (!target_) {
    Result = TRBEvResultRecord::OfError(Text(RS_UnknownFunction_S, name_));
    return;
  }
  if (gEvaluationDepth >= kMaxEvaluationDepth) {
    Result = TRBEvResultRecord::OfError(Text(RS_ErrorInExpression_S, name_));
    return;
  }
  EvaluationGuard guard;
  target_->GetValue(Program, Result);
}

// -----------------------------------------------------------------------------------------------
// Compiling

namespace {

// Compilation frames (every level's call, chains of operators included) at most this deep: with
// the nesting limit this bounds the stack of the compiler and of the evaluation.
constexpr int kMaxFrames = 2048;

bool IsBlank(char c) { return c == ' '; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// For each position: true when it lies at depth 0 outside quotes and brackets. A quote toggles
// the text state except inside brackets; "[" opens a bracket outside quotes, "]" closes it;
// parentheses count only outside quotes and brackets.
std::vector<bool> TopLevel(std::string_view s) {
  std::vector<bool> top(s.size(), false);
  bool quoted = false, bracket = false;
  int depth = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool before = !quoted && !bracket && depth == 0;
    if (c == '\'' && !bracket) quoted = !quoted;
    else if (c == '[' && !quoted && !bracket) bracket = true;
    else if (c == ']' && !quoted) bracket = false;
    else if (c == '(' && !quoted && !bracket) ++depth;
    else if (c == ')' && !quoted && !bracket) --depth;
    top[i] = before && !quoted && !bracket && depth == 0 && c != '\'' && c != '[' && c != '(' && c != ')';
  }
  return top;
}

// The deepest parenthesis nesting outside quotes and brackets.
int ParenthesisDepth(std::string_view s) {
  bool quoted = false, bracket = false;
  int depth = 0, deepest = 0;
  for (const char c : s) {
    if (c == '\'' && !bracket) quoted = !quoted;
    else if (c == '[' && !quoted && !bracket) bracket = true;
    else if (c == ']' && !quoted) bracket = false;
    else if (c == '(' && !quoted && !bracket) deepest = std::max(deepest, ++depth);
    else if (c == ')' && !quoted && !bracket) --depth;
  }
  return deepest;
}

bool WordAt(std::string_view s, std::size_t i, std::string_view Word) {
  return i + Word.size() <= s.size() && SameName(s.substr(i, Word.size()), Word);
}

// A sign at i is a prefix sign when nothing, an operator, "(" or "," comes before it (blanks
// aside); the words "or", "and" and "not" are operators too.
bool IsPrefixSign(std::string_view s, std::size_t i) {
  std::size_t k = i;
  while (k > 0 && IsBlank(s[k - 1])) --k;
  if (k == 0) return true;
  const char c = s[k - 1];
  if (c != '\0' && std::strchr("+-*/<>=(,", c)) return true;
  if (!IsLetter(c)) return false;
  std::size_t start = k;
  while (start > 0 && IsLetter(s[start - 1])) --start;
  if (start > 0 && !IsBlank(s[start - 1]) && s[start - 1] != '(') return false;
  const std::string_view word = s.substr(start, k - start);
  return SameName(word, "or") || SameName(word, "and") || SameName(word, "not");
}

// A split of a text at an operator: the operator and the texts on either side.
struct Split {
  bool Found = false;
  TRBOperation Op = eoAdd;
  std::size_t LeftEnd = 0;
  std::size_t RightStart = 0;
};

// The comparison level splits at its first operator.
Split FindComparison(std::string_view s) {
  const std::vector<bool> top = TopLevel(s);
  for (std::size_t i = 1; i + 1 < s.size(); ++i) {
    if (!top[i]) continue;
    if (s[i] == '<') {
      if (s[i + 1] == '>') return {true, eoNotEqual, i, i + 2};
      if (s[i + 1] == '=') return {true, eoLessEqual, i, i + 2};
      return {true, eoLess, i, i + 1};
    }
    if (s[i] == '>') {
      if (s[i + 1] == '=') return {true, eoGreaterEqual, i, i + 2};
      return {true, eoGreater, i, i + 1};
    }
    if (s[i] == '=') return {true, eoEqual, i, i + 1};
  }
  return {};
}

// The additive and multiplicative levels split at their last operator, so that operators of one
// level apply from left to right.
Split FindLast(std::string_view s, bool Additive) {
  const std::vector<bool> top = TopLevel(s);
  Split last;
  const std::string_view word = Additive ? "or " : "and ";
  for (std::size_t i = 1; i + 1 < s.size(); ++i) {
    if (!top[i]) continue;
    const char c = s[i];
    if (Additive && (c == '+' || c == '-')) {
      if (!IsPrefixSign(s, i)) last = {true, c == '+' ? eoAdd : eoSubtract, i, i + 1};
    } else if (!Additive && (c == '*' || c == '/')) {
      last = {true, c == '*' ? eoMultiply : eoDivide, i, i + 1};
    } else if (IsBlank(c) && WordAt(s, i + 1, word)) {
      last = {true, Additive ? eoOr : eoAnd, i, i + 1 + word.size()};
    }
  }
  return last;
}

}  // namespace

// Counts the compiler's frames and nesting; past a limit the text compiles to an error element.
struct ParseGuard {
  ParseGuard(TRBEvaluator& E, bool Nests) : e(E), nests(Nests) {
    ++e.frames_;
    if (nests) ++e.nesting_;
  }
  ~ParseGuard() {
    --e.frames_;
    if (nests) --e.nesting_;
  }
  bool TooDeep() const { return e.frames_ > kMaxFrames || e.nesting_ > TRBEvaluator::kMaxNesting; }
  TRBEvaluator& e;
  bool nests;
};

TRBEvaluator::~TRBEvaluator() {
  if (compiled_) DiscardProgram();
}

TRBDataSetList* TRBEvaluator::DataSetList() {
  if (!dataSetList_) {
    ownedDataSetList_ = std::make_unique<TRBDataSetList>();
    dataSetList_ = ownedDataSetList_.get();
  }
  return dataSetList_;
}

void TRBEvaluator::SetDataSetList(TRBDataSetList* List) {
  if (ownedDataSetList_ && ownedDataSetList_.get() != List) ownedDataSetList_.reset();
  dataSetList_ = List;
}

void TRBEvaluator::CompileExpression(std::string_view Text) {
  if (compiled_) DiscardProgram();
  if (TRBEvEnvironment* shared = SharedEnvironment()) shared->Activate();
  program_ = std::make_unique<TRBFiFo>();
  nesting_ = frames_ = 0;
  // Parentheses nested past the limit are refused at once rather than level by level.
  if (ParenthesisDepth(Text) > kMaxNesting) AddError(::Text(RS_ErrorInExpression_S, Cut(Text)));
  else ParseComparison(Text.empty() ? std::string_view("' '") : Text);
  compiled_ = true;
}

void TRBEvaluator::DiscardProgram() {
  const bool wasCompiled = compiled_ || program_;
  program_.reset();
  compiled_ = false;
  if (wasCompiled)
    if (TRBEvEnvironment* shared = SharedEnvironment()) shared->Deactivate();
}

void TRBEvaluator::RunProgram(TRBEvResultRecord& Result) {
  if (!compiled_ || !program_) throw ERBExpressionError(::Text(RS_EvaluatorNotPrepared));
  program_->Restart();
  EvaluateNext(*program_, Result);
}

void TRBEvaluator::EvaluateText(std::string_view Text, TRBEvResultRecord& Result) {
  CompileExpression(Text);
  RunProgram(Result);
  DiscardProgram();
}

void TRBEvaluator::Accumulate() {
  if (!compiled_ || !program_) throw ERBExpressionError(::Text(RS_EvaluatorNotPrepared));
  program_->Accumulating = true;
  TRBEvResultRecord dropped;
  try {
    RunProgram(dropped);
  } catch (...) {
    program_->Accumulating = false;
    throw;
  }
  program_->Accumulating = false;
}

void TRBEvaluator::SetAccumulating(bool Flag) {
  if (program_) program_->Accumulating = Flag;
}

void TRBEvaluator::ClearAggregates() {
  if (!program_) return;
  for (std::size_t i = 0; i < program_->Count(); ++i) program_->Item(i)->ResetState();
}

bool TRBEvaluator::HasAggregates() const {
  if (!program_) return false;
  for (std::size_t i = 0; i < program_->Count(); ++i)
    if (program_->Item(i)->AggregateFlag) return true;
  return false;
}

void TRBEvaluator::AddError(std::string Message) { Append(std::make_unique<TRBEvElementError>(Cut(Message))); }

void TRBEvaluator::ParseComparison(std::string_view Text) {
  ParseGuard guard(*this, false);
  if (guard.TooDeep()) return AddError(::Text(RS_ErrorInExpression_S, Cut(Text)));
  const Split s = FindComparison(Text);
  if (!s.Found) return ParseAdditive(Text);
  Append(std::make_unique<TRBEvElementOperator>(s.Op));
  ParseAdditive(Text.substr(0, s.LeftEnd));
  ParseAdditive(Text.substr(s.RightStart));
}

void TRBEvaluator::ParseAdditive(std::string_view Text) {
  ParseGuard guard(*this, false);
  if (guard.TooDeep()) return AddError(::Text(RS_ErrorInExpression_S, Cut(Text)));
  const Split s = FindLast(Text, true);
  if (!s.Found) return ParseMultiplicative(Text);
  Append(std::make_unique<TRBEvElementOperator>(s.Op));
  ParseAdditive(Text.substr(0, s.LeftEnd));
  ParseMultiplicative(Text.substr(s.RightStart));
}

void TRBEvaluator::ParseMultiplicative(std::string_view Text) {
  ParseGuard guard(*this, false);
  if (guard.TooDeep()) return AddError(::Text(RS_ErrorInExpression_S, Cut(Text)));
  const Split s = FindLast(Text, false);
  if (!s.Found) return ParseFactor(Text);
  Append(std::make_unique<TRBEvElementOperator>(s.Op));
  ParseMultiplicative(Text.substr(0, s.LeftEnd));
  ParseFactor(Text.substr(s.RightStart));
}

void TRBEvaluator::ParseFactor(std::string_view Whole) {
  ParseGuard guard(*this, true);
  const std::string_view t = TrimBlanks(Whole);
  if (guard.TooDeep()) return AddError(::Text(RS_ErrorInExpression_S, Cut(t)));
  if (t.size() > 3 && WordAt(t, 0, "not") && t[3] != '\0' && std::strchr(" (['", t[3])) {
    Append(std::make_unique<TRBEvElementNot>());
    return ParseAdditive(t.substr(3));
  }
  const char first = t.empty() ? '\0' : t[0];
  auto enclosed = [&](char Close) { return t.size() >= 2 && t.back() == Close; };
  switch (first) {
    case '\'':
      if (!enclosed('\'')) return AddError(::Text(RS_Missing_S, "'"));
      return AddStringLiteral(t.substr(1, t.size() - 2));
    case '(':
      if (!enclosed(')')) return AddError(::Text(RS_Missing_S, ")"));
      return ParseComparison(t.substr(1, t.size() - 2));
    case '[':
      if (!enclosed(']')) return AddError(::Text(RS_Missing_S, "]"));
      return BuildIdentifier(std::string(t.substr(1, t.size() - 2)));
    case '+': return ParseFactor(t.substr(1));
    case '-':
      // A prefix minus is a subtraction from the integer 0.
      Append(std::make_unique<TRBEvElementOperator>(eoSubtract));
      Append(std::make_unique<TRBEvElementConstant>(TRBEvResultRecord::OfInteger(0)));
      return ParseFactor(t.substr(1));
    default: break;
  }
  if (first >= '0' && first <= '9') return AddNumber(t);
  if (IsLetter(first)) return ParseCall(t);
  AddError(::Text(RS_ErrorInExpression_S, Cut(t)));
}

void TRBEvaluator::AddStringLiteral(std::string_view Text) {
  std::string s;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    s += Text[i];
    if (Text[i] == '\'' && i + 1 < Text.size() && Text[i + 1] == '\'') ++i;  // a doubled quote is one
  }
  Append(std::make_unique<TRBEvElementString>(Cut(s)));
}

void TRBEvaluator::AddNumber(std::string_view Text) {
  std::size_t i = 0;
  while (i < Text.size() && Text[i] >= '0' && Text[i] <= '9') ++i;
  bool isFloat = false;
  while (i < Text.size() && std::strchr("+-.0123456789Ee", Text[i]) && Text[i] != '\0') {
    isFloat = true;
    ++i;
  }
  const std::string illegal = ::Text(RS_IllegalCharacter) + "\"" + std::string(Text) + "\"";
  if (i < Text.size()) return AddError(illegal);
  const char* begin = Text.data();
  const char* end = Text.data() + Text.size();
  if (!isFloat) {
    int32_t v = 0;
    const auto r = std::from_chars(begin, end, v);
    if (r.ec == std::errc() && r.ptr == end) {
      Append(std::make_unique<TRBEvElementConstant>(TRBEvResultRecord::OfInteger(v)));
      return;
    }
  }
  double d = 0;
  const auto r = std::from_chars(begin, end, d);
  if (r.ec != std::errc() || r.ptr != end || !std::isfinite(d)) return AddError(illegal);
  Append(std::make_unique<TRBEvElementConstant>(TRBEvResultRecord::OfFloat(d)));
}

void TRBEvaluator::ParseCall(std::string_view Text) {
  const std::size_t open = Text.find('(');
  if (open == std::string_view::npos) return BuildFunctionCall(std::string(Text), nullptr);
  if (Text.back() != ')') return BuildFunctionCall(std::string(), nullptr);
  const std::string arguments(Text.substr(open + 1, Text.size() - open - 2));
  BuildFunctionCall(std::string(Text.substr(0, open)), &arguments);
}

std::size_t FindArgumentSeparator(std::string_view Text) {
  const std::vector<bool> top = TopLevel(Text);
  for (std::size_t i = 0; i + 1 < Text.size(); ++i)
    if (top[i] && Text[i] == ArgumentSeparator) return i;
  return std::string_view::npos;
}

void TRBEvaluator::BuildFunctionCall(const std::string& Name, const std::string* ArgumentText) {
  const std::string name = Upper(Name);
  TRBFunctionLibrary* library = ReportFunctionLibrary();
  std::unique_ptr<TRBEvElement> element =
      library ? library->CreateElement(name)
              : std::make_unique<TRBEvElementError>(Cut(::Text(RS_UnknownFunction_S, name)));
  if (dynamic_cast<TRBEvElementError*>(element.get())) {
    if (ArgumentText && !ArgumentText->empty()) return Append(std::move(element));
    return BuildIdentifier(name);
  }
  Append(std::move(element));
  if (ArgumentText) {
    ParseGuard guard(*this, true);
    std::string_view rest = *ArgumentText;
    if (guard.TooDeep()) {
      AddError(::Text(RS_ErrorInExpression_S, Cut(rest)));
    } else {
      for (std::size_t sep = FindArgumentSeparator(rest); sep != std::string_view::npos;
           sep = FindArgumentSeparator(rest)) {
        ParseComparison(rest.substr(0, sep));
        rest.remove_prefix(sep + 1);
      }
      if (!rest.empty()) ParseComparison(rest);
    }
  }
  Append(std::make_unique<TRBEvElementArgumentEnd>());
}

void TRBEvaluator::BuildIdentifier(const std::string& Name) {
  if (!dataSetList_) return AddVariableReference(Name);
  const std::size_t dot = Name.find('.');
  const std::string prefix = dot == std::string::npos ? std::string() : Upper(Name.substr(0, dot));
  const std::string field = Upper(dot == std::string::npos ? Name : Name.substr(dot + 1));
  for (IDataSet* d : *dataSetList_) {
    if (!d) continue;
    if (!prefix.empty() && Upper(d->DataSetName()) != prefix) continue;
    TField* f = d->FindField(field);
    if (f) {
      auto e = std::make_unique<TRBEvElementDataField>(d, f->Index(), f);
      e->FieldName = f->FieldName();
      return Append(std::move(e));
    }
    if (!prefix.empty()) break;  // the first dataset of that name answers
  }
  AddVariableReference(Name);
}

void TRBEvaluator::AddVariableReference(const std::string& Name) {
  std::unique_ptr<TRBEvElement> e;
  if (LocalEnvironment) {
    e = LocalEnvironment->VariableElement(Name);
    if (dynamic_cast<TRBEvElementError*>(e.get())) e.reset();
  }
  if (!e) {
    if (TRBEvEnvironment* shared = SharedEnvironment()) e = shared->VariableElement(Name);
    else e = std::make_unique<TRBEvElementError>(Cut(::Text(RS_UnknownFunction_S, Name)));
  }
  Append(std::move(e));
}

// -----------------------------------------------------------------------------------------------
// Library

void TRBLibrary::AddEntry(const TRBEvElementClass* ElementClass, std::string Name, std::string HelpText,
                          std::string Signature, std::string Publisher) {
  auto e = std::make_unique<TRBLibraryEntry>();
  e->ElementClass = ElementClass;
  e->FunctionName = std::move(Name);
  e->HelpText = std::move(HelpText);
  e->Signature = std::move(Signature);
  e->Publisher = std::move(Publisher);
  entries_.push_back(std::move(e));
}

TRBLibraryEntry* TRBLibrary::EntryAt(int Index) {
  return Index >= 0 && Index < Count() ? entries_[static_cast<std::size_t>(Index)].get() : nullptr;
}

TRBLibraryEntry* TRBLibrary::Find(std::string_view Name) const {
  for (const auto& e : entries_)
    if (SameName(e->FunctionName, Name)) return e.get();
  return nullptr;
}

std::unique_ptr<TRBEvElement> TRBLibrary::CreateElement(std::string_view Name) const {
  if (TRBLibraryEntry* e = Find(Name)) return e->ElementClass->Create();
  return std::make_unique<TRBEvElementError>(Cut(Text(RS_UnknownFunction_S, Name)));
}

// -----------------------------------------------------------------------------------------------
// Built-in functions

namespace {

bool IsNumber(const TRBEvResultRecord& r) { return r.Kind == rkInteger || r.Kind == rkFloat; }
double AsDouble(const TRBEvResultRecord& r) { return r.Kind == rkInteger ? r.IntegerValue : r.FloatValue; }

// The integer of a value for INT and DIV, in 64 bits; false for a float outside them.
bool ToInt64(double v, int64_t& Out) {
  if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0)) return false;
  Out = static_cast<int64_t>(v);
  return true;
}

int32_t Low32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// Rounds to the nearest integer, halves to the even one.
double RoundHalfEven(double v) {
  const double r = std::round(v);
  if (std::fabs(v - std::trunc(v)) == 0.5) return 2.0 * std::round(v / 2.0);
  return r;
}

class TRBEvTrue : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    Result = ArgumentCount() == 0 ? TRBEvResultRecord::OfBoolean(true)
                                  : TRBEvResultRecord::OfError(Text(RS_TooManyArguments));
  }
};

class TRBEvFalse : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    Result = ArgumentCount() == 0 ? TRBEvResultRecord::OfBoolean(false)
                                  : TRBEvResultRecord::OfError(Text(RS_TooManyArguments));
  }
};

class TRBEvIfFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() == 3 && Argument(0).Kind == rkBoolean) Result = ArgumentValue(Argument(0).BooleanValue ? 1 : 2);
    else Result = TRBEvResultRecord::OfError(Text(RS_WrongArguments_S, "IF"));
  }
};

class TRBEvTypeOfFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() == 1) Result = TRBEvResultRecord::OfString(ResultKindName(Argument(0).Kind));
    else Result = TRBEvResultRecord::OfError(Text(RS_WrongArguments_S, "TypeOf"));
  }
};

class TRBEvIntFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    int64_t v = 0;
    if (ArgumentCount() == 1 && Argument(0).Kind == rkInteger) Result = ArgumentValue(0);
    else if (ArgumentCount() == 1 && Argument(0).Kind == rkFloat && ToInt64(Argument(0).FloatValue, v))
      Result = TRBEvResultRecord::OfInteger(Low32(v));
    else Result = TRBEvResultRecord::OfError(Text(RS_WrongArguments_S, "INT"));
  }
};

class TRBEvFracFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() == 1 && Argument(0).Kind == rkInteger) Result = TRBEvResultRecord::OfFloat(0.0);
    else if (ArgumentCount() == 1 && Argument(0).Kind == rkFloat)
      Result = TRBEvResultRecord::OfFloat(Argument(0).FloatValue - std::trunc(Argument(0).FloatValue));
    else Result = TRBEvResultRecord::OfError();
  }
};

class TRBEvSQRTFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() == 1 && IsNumber(Argument(0)) && AsDouble(Argument(0)) >= 0)
      Result = TRBEvResultRecord::OfFloat(std::sqrt(AsDouble(Argument(0))));
    else Result = TRBEvResultRecord::OfError(Text(RS_InvalidSqrtArgument));
  }
};

class TRBEvDivFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    int64_t x = 0, y = 0;
    if (ArgumentCount() != 2 || !Operand(Argument(0), x) || !Operand(Argument(1), y)) {
      Result = TRBEvResultRecord::OfError(Text(RS_WrongArguments_S, "DIV"));
    } else if (y == 0) {
      Result = TRBEvResultRecord::OfError(Text(RS_DivisionByZero));
    } else if (y == -1) {
      Result = TRBEvResultRecord::OfInteger(Low32(static_cast<int64_t>(0 - static_cast<uint64_t>(x))));
    } else {
      Result = TRBEvResultRecord::OfInteger(Low32(x / y));
    }
  }
  static bool Operand(const TRBEvResultRecord& r, int64_t& v) {
    if (r.Kind == rkInteger) {
      v = r.IntegerValue;
      return true;
    }
    return r.Kind == rkFloat && ToInt64(RoundHalfEven(r.FloatValue), v);
  }
};

class TRBEvStrFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() != 1) return void(Result = TRBEvResultRecord::OfError(Text(RS_ConversionError)));
    const TRBEvResultRecord& a = Argument(0);
    switch (a.Kind) {
      case rkInteger: Result = TRBEvResultRecord::OfString(std::to_string(a.IntegerValue)); break;
      case rkFloat: Result = TRBEvResultRecord::OfString(FloatToStrGeneral(a.FloatValue, 15)); break;
      case rkBoolean: Result = TRBEvResultRecord::OfString(a.BooleanValue ? "True" : "False"); break;
      default: Result = TRBEvResultRecord::OfError(Text(RS_ConversionError)); break;
    }
  }
};

// UPPER, LOWER and PRETTY: one text argument.
class TRBEvCaseFunction : public TRBEvElementFunction {
 protected:
  virtual const char* Name() const = 0;
  virtual std::string Convert(const std::string& s) const = 0;
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() != 1) return void(Result = TRBEvResultRecord::OfError(Text(RS_MissingArgument_S, Name())));
    const TRBEvResultRecord& a = Argument(0);
    if (a.Kind == rkString) Result = TRBEvResultRecord::OfString(Convert(a.Text));
    else if (a.Kind == rkError) Result = ArgumentValue(0);  // the argument's own message
    else Result = TRBEvResultRecord::OfError();
  }
};

class TRBEvUpperFunction : public TRBEvCaseFunction {
  const char* Name() const override { return "UPPER"; }
  std::string Convert(const std::string& s) const override { return ChaineUnicode::Majuscules1252(s); }
};

class TRBEvLowerFunction : public TRBEvCaseFunction {
  const char* Name() const override { return "LOWER"; }
  std::string Convert(const std::string& s) const override { return ChaineUnicode::Minuscules1252(s); }
};

class TRBEvPrettyFunction : public TRBEvCaseFunction {
  const char* Name() const override { return "PRETTY"; }
  std::string Convert(const std::string& s) const override {
    if (s.empty()) return s;
    return ChaineUnicode::Majuscules1252(s.substr(0, 1)) + ChaineUnicode::Minuscules1252(s.substr(1));
  }
};

class TRBEvTimeFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    Result = ArgumentCount() == 0 ? TRBEvResultRecord::OfString(DataSet::TimeText(DateTime::Now()))
                                  : TRBEvResultRecord::OfError();
  }
};

class TRBEvDateFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    Result = ArgumentCount() == 0 ? TRBEvResultRecord::OfString(DataSet::DateText(DateTime::Now()))
                                  : TRBEvResultRecord::OfError();
  }
};

class TRBEvCopyFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() != 3 || Argument(0).Kind != rkString || Argument(1).Kind != rkInteger ||
        Argument(2).Kind != rkInteger)
      return void(Result = TRBEvResultRecord::OfError());
    const std::string& s = Argument(0).Text;
    const int64_t start = std::max<int64_t>(Argument(1).IntegerValue, 1);
    const int64_t length = Argument(2).IntegerValue;
    if (length < 1 || start > static_cast<int64_t>(s.size())) return void(Result = TRBEvResultRecord::OfString(""));
    Result = TRBEvResultRecord::OfString(
        s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(std::min<int64_t>(length, 256))));
  }
};

class TRBEvFormatNumericFunction : public TRBEvElementFunction {
  void ComputeResult(TRBEvResultRecord& Result) override {
    if (ArgumentCount() != 2 || Argument(0).Kind != rkString || !IsNumber(Argument(1)))
      return void(Result = TRBEvResultRecord::OfError());
    try {
      Result = TRBEvResultRecord::OfString(FormatFloat(Argument(0).Text, AsDouble(Argument(1))));
    } catch (const std::exception&) {
      Result = TRBEvResultRecord::OfError(Text(RS_InvalidFormat));
    }
  }
};

// SUM: every integer and float into one total, an integer total while every value was an integer
// and the total fits in 32 bits, a float total from then on.
class TRBEvSumFunction : public TRBEvElementFunction {
 public:
  TRBEvSumFunction() { AggregateFlag = true; }
  void ResetState() override { HasValue = false; }
  void AccumulateArguments() override { SumStep(); }
  void ComputeResult(TRBEvResultRecord& Result) override { Result = SumResult(); }

 protected:
  void SumStep() {
    if (ArgumentCount() != 1) {
      Accumulator.Kind = rkError;
      Accumulator.Text.clear();
      return;
    }
    const TRBEvResultRecord& v = Argument(0);
    if (!HasValue) {
      Accumulator = IsNumber(v) ? v : TRBEvResultRecord::OfError();
      HasValue = true;
      return;
    }
    if (Accumulator.Kind == rkError) return;
    if (v.Kind == rkString) {
      Accumulator = TRBEvResultRecord::OfError();
    } else if (v.Kind == rkInteger && Accumulator.Kind == rkInteger) {
      const int64_t total = static_cast<int64_t>(Accumulator.IntegerValue) + v.IntegerValue;
      if (total >= INT32_MIN && total <= INT32_MAX) Accumulator = TRBEvResultRecord::OfInteger(static_cast<int32_t>(total));
      else Accumulator = TRBEvResultRecord::OfFloat(static_cast<double>(total));
    } else if (IsNumber(v)) {
      Accumulator = TRBEvResultRecord::OfFloat(AsDouble(Accumulator) + AsDouble(v));
    }
    // Booleans and errors change nothing.
  }
  TRBEvResultRecord SumResult() const { return HasValue ? Accumulator : TRBEvResultRecord::OfInteger(0); }

  TRBEvResultRecord Accumulator;
  bool HasValue = false;
};

class TRBEvAverageFunction : public TRBEvSumFunction {
 public:
  void ResetState() override {
    TRBEvSumFunction::ResetState();
    Average = TRBEvResultRecord::OfFloat(0.0);
    ValueCount = 0;
  }
  void AccumulateArguments() override {
    SumStep();
    ++ValueCount;
    const TRBEvResultRecord sum = SumResult();
    Average = IsNumber(sum) ? TRBEvResultRecord::OfFloat(AsDouble(sum) / static_cast<double>(ValueCount))
                            : TRBEvResultRecord::OfError();
  }
  void ComputeResult(TRBEvResultRecord& Result) override { Result = Average; }

 private:
  int64_t ValueCount = 0;
  TRBEvResultRecord Average;  // integer 0 until the first reset or step
};

// MAX and MIN: the first value whole, then each later value of a comparable kind (an integer and a
// float compare by value; a value of another kind is ignored).
class TRBEvExtremumFunction : public TRBEvElementFunction {
 public:
  TRBEvExtremumFunction() { AggregateFlag = true; }
  void ResetState() override { HasValue = false; }
  void ComputeResult(TRBEvResultRecord& Result) override {
    Result = HasValue ? Accumulator : TRBEvResultRecord::OfInteger(0);
  }
  void AccumulateArguments() override {
    if (ArgumentCount() != 1) {
      Accumulator.Kind = rkError;
      Accumulator.Text.clear();
      return;
    }
    const TRBEvResultRecord& v = Argument(0);
    if (!HasValue) {
      Accumulator = v;
      HasValue = true;
      return;
    }
    int order = 0;  // v against the stored value
    if (IsNumber(Accumulator) && IsNumber(v)) {
      const double a = AsDouble(Accumulator), b = AsDouble(v);
      order = b < a ? -1 : (b > a ? 1 : 0);
    } else if (Accumulator.Kind == rkString && v.Kind == rkString) {
      order = v.Text.compare(Accumulator.Text);
    } else if (Accumulator.Kind == rkBoolean && v.Kind == rkBoolean) {
      order = static_cast<int>(v.BooleanValue) - static_cast<int>(Accumulator.BooleanValue);
    }
    if (Better(order)) Accumulator = v;
  }

 protected:
  virtual bool Better(int Order) const = 0;
  TRBEvResultRecord Accumulator;
  bool HasValue = false;
};

class TRBEvMaxFunction : public TRBEvExtremumFunction {
  bool Better(int Order) const override { return Order > 0; }
};

class TRBEvMinFunction : public TRBEvExtremumFunction {
  bool Better(int Order) const override { return Order < 0; }
};

class TRBEvCountFunction : public TRBEvElementFunction {
 public:
  TRBEvCountFunction() { AggregateFlag = true; }
  void ResetState() override { Counter = 0; }
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override {
    EvaluationGuard guard;
    DropArguments();
    CollectArguments(Program);
    if (ArgumentCount() > 0) {
      Result = TRBEvResultRecord::OfError(Text(RS_CountPrefix) + Text(RS_TooManyArguments));
    } else {
      if (Program.Accumulating) Counter = static_cast<int32_t>(static_cast<uint32_t>(Counter) + 1);
      Result = TRBEvResultRecord::OfInteger(Counter);
    }
    DropArguments();
  }

 private:
  int32_t Counter = 0;
};

struct BuiltIn {
  const char* Name;
  const TRBEvElementClass* Class;
  const char* Syntax;
  const TChaineRessource* Description;
  const char* Signature;
};

template <class T>
const TRBEvElementClass* ClassOf(const char* Name) {
  return ElementClassOf<T>(Name);
}

void RegisterBuiltIns() {
  const BuiltIn kBuiltIns[] = {
      {"IF", ClassOf<TRBEvIfFunction>("TRBEvIfFunction"), "IF(<Exp>, <X>, <Y>)", &RS_DescIf, "5BVV"},
      {"STR", ClassOf<TRBEvStrFunction>("TRBEvStrFunction"), "STR(<X>)", &RS_DescStr, "7N"},
      {"UPPER", ClassOf<TRBEvUpperFunction>("TRBEvUpperFunction"), "UPPER(<X>)", &RS_DescUpper, "7S"},
      {"LOWER", ClassOf<TRBEvLowerFunction>("TRBEvLowerFunction"), "LOWER(<X>)", &RS_DescLower, "7S"},
      {"PRETTY", ClassOf<TRBEvPrettyFunction>("TRBEvPrettyFunction"), "PRETTY(<X>)", &RS_DescPretty, "7S"},
      {"TIME", ClassOf<TRBEvTimeFunction>("TRBEvTimeFunction"), "TIME", &RS_DescTime, "1"},
      {"DATE", ClassOf<TRBEvDateFunction>("TRBEvDateFunction"), "DATE", &RS_DescDate, "1"},
      {"COPY", ClassOf<TRBEvCopyFunction>("TRBEvCopyFunction"), "COPY(<X>, <St>,<Len>)", &RS_DescCopy, "7SNN"},
      {"SUM", ClassOf<TRBEvSumFunction>("TRBEvSumFunction"), "SUM(<X>)", &RS_DescSum, "3N"},
      {"COUNT", ClassOf<TRBEvCountFunction>("TRBEvCountFunction"), "COUNT", &RS_DescCount, "3"},
      {"MAX", ClassOf<TRBEvMaxFunction>("TRBEvMaxFunction"), "MAX(<X>)", &RS_DescMax, "3V"},
      {"MIN", ClassOf<TRBEvMinFunction>("TRBEvMinFunction"), "MIN(<X>)", &RS_DescMin, "3V"},
      {"AVERAGE", ClassOf<TRBEvAverageFunction>("TRBEvAverageFunction"), "AVERAGE(<X>)", &RS_DescAverage, "3N"},
      {"TRUE", ClassOf<TRBEvTrue>("TRBEvTrue"), "TRUE", &RS_DescTrue, "5"},
      {"FALSE", ClassOf<TRBEvFalse>("TRBEvFalse"), "FALSE", &RS_DescFalse, "5"},
      {"INT", ClassOf<TRBEvIntFunction>("TRBEvIntFunction"), "INT(<X>)", &RS_DescInt, "2N"},
      {"FRAC", ClassOf<TRBEvFracFunction>("TRBEvFracFunction"), "FRAC(<X>)", &RS_DescFrac, "2N"},
      {"SQRT", ClassOf<TRBEvSQRTFunction>("TRBEvSQRTFunction"), "SQRT(<X>)", &RS_DescSqrt, "2N"},
      {"DIV", ClassOf<TRBEvDivFunction>("TRBEvDivFunction"), "DIV(<X>, <Y>)", &RS_DescDiv, "2NN"},
      {"TYPEOF", ClassOf<TRBEvTypeOfFunction>("TRBEvTypeOfFunction"), "TYPEOF(<Exp>)", &RS_DescTypeOf, "6N"},
      {"FORMATNUMERIC", ClassOf<TRBEvFormatNumericFunction>("TRBEvFormatNumericFunction"), "FORMATNUMERIC(<F>,<N>)",
       &RS_DescFormatNumeric, "7SN"},
  };
  const std::string publisher = Text(RS_Publisher);
  for (const BuiltIn& b : kBuiltIns) {
    // DIV's help text has a blank on each side of the bar.
    const std::string bar = std::strcmp(b.Name, "DIV") == 0 ? " | " : "|";
    RegisterReportFunction(b.Class, b.Name, std::string(b.Syntax) + bar + Text(*b.Description), b.Signature, publisher);
  }
}

}  // namespace

// -----------------------------------------------------------------------------------------------
// Variables and environments

namespace {

bool gDeactivationRunning = false;
TRBFunctionLibrary* gLibrary = nullptr;
TRBEvEnvironment* gShared = nullptr;

std::string& TitleStorage() {
  static std::string title;
  return title;
}

}  // namespace

TRBEvEmbeddedFunction::TRBEvEmbeddedFunction(std::string Expression) : ExpressionText(std::move(Expression)) {}

TRBEvEmbeddedFunction::~TRBEvEmbeddedFunction() {
  for (TRBEvElementWrapper* w : wrappers_) w->target_ = nullptr;
}

void TRBEvEmbeddedFunction::GetValue(TRBFiFo&, TRBEvResultRecord& Result) {
  if (Busy) {
    Result = TRBEvResultRecord::OfError(Text(RS_RecursiveCalls));
    return;
  }
  struct BusyGuard {
    bool& b;
    explicit BusyGuard(bool& Flag) : b(Flag) { b = true; }
    ~BusyGuard() { b = false; }
  } busy(Busy);
  OwnEvaluator.RunProgram(Result);
}

void TRBEvEmbeddedFunction::ResetState() { OwnEvaluator.ClearAggregates(); }

TRBEvEnvironment::~TRBEvEnvironment() { Clear(); }

int TRBEvEnvironment::IndexOf(std::string_view Name) const {
  // The lines are held upper-cased.
  const std::string wanted = Upper(Name);
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].Name == wanted) return static_cast<int>(i);
  return -1;
}

void TRBEvEnvironment::Clear() {
  while (!lines_.empty()) lines_.pop_back();
}

TRBDataSetList* TRBEvEnvironment::DataSetList() {
  if (!dataSetList_) {
    ownedDataSetList_ = std::make_unique<TRBDataSetList>();
    dataSetList_ = ownedDataSetList_.get();
  }
  return dataSetList_;
}

void TRBEvEnvironment::SetDataSetList(TRBDataSetList* List) {
  if (ownedDataSetList_ && ownedDataSetList_.get() != List) ownedDataSetList_.reset();
  dataSetList_ = List;
}

void TRBEvEnvironment::Prepare(TRBEvEmbeddedFunction& Variable) {
  Variable.OwnEvaluator.SetDataSetList(DataSetList());
  Variable.OwnEvaluator.LocalEnvironment = this;
  Variable.OwnEvaluator.CompileExpression(Variable.ExpressionText);
}

void TRBEvEnvironment::Activate() {
  if (activationCount_++ > 0) return;
  // Index by index: compiling may not add lines, but the vector is not held across calls.
  for (std::size_t i = 0; i < lines_.size(); ++i) Prepare(*lines_[i].Variable);
}

void TRBEvEnvironment::Deactivate() {
  // The shared environment's own variables deactivate it while it discards them: that must not
  // count again.
  if (this == gShared && gDeactivationRunning) return;
  if (activationCount_ <= 0) return;
  const bool last = --activationCount_ == 0;
  if (!last) return;
  const bool guard = this == gShared;
  if (guard) gDeactivationRunning = true;
  for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i].Variable->OwnEvaluator.DiscardProgram();
  if (guard) gDeactivationRunning = false;
}

void TRBEvEnvironment::DefineVariable(std::string_view Name, std::string_view Expression) {
  const std::string name = Upper(Name);
  if (IndexOf(name) >= 0) return;  // a listed name keeps its expression
  lines_.push_back({name, std::make_unique<TRBEvEmbeddedFunction>(std::string(Expression))});
  if (IsActive()) Prepare(*lines_.back().Variable);
}

void TRBEvEnvironment::RemoveVariable(std::string_view Name) {
  const int i = IndexOf(Name);
  if (i >= 0) lines_.erase(lines_.begin() + i);
}

void TRBEvEnvironment::RenameVariable(int Index, std::string_view Name) {
  if (Index < 0 || Index >= Count()) return;
  lines_[static_cast<std::size_t>(Index)].Name = Upper(Name);
}

void TRBEvEnvironment::ReplaceExpression(int Index, std::string_view Expression) {
  if (Index < 0 || Index >= Count()) return;
  auto& line = lines_[static_cast<std::size_t>(Index)];
  line.Variable = std::make_unique<TRBEvEmbeddedFunction>(std::string(Expression));
  if (IsActive()) Prepare(*line.Variable);
}

void TRBEvEnvironment::VariableValue(std::string_view Name, TRBEvResultRecord& Result) {
  const int i = IndexOf(Name);
  if (i < 0) {
    Result = TRBEvResultRecord::OfError();
    return;
  }
  TRBFiFo none;
  Variables(i)->GetValue(none, Result);
}

std::unique_ptr<TRBEvElement> TRBEvEnvironment::VariableElement(std::string_view Name) {
  const int i = IndexOf(Name);
  if (i < 0) return std::make_unique<TRBEvElementError>(Cut(Text(RS_UnknownFunction_S, Name)));
  return std::make_unique<TRBEvElementWrapper>(Variables(i), std::string(Name));
}

TRBEvElement* TRBEvEnvironment::ConstantElement(std::string_view Name) {
  const int i = IndexOf(Name);
  if (i < 0) return nullptr;
  TRBFiFo* program = Variables(i)->OwnEvaluator.Program();
  if (!Variables(i)->OwnEvaluator.Compiled() || !program || program->Count() == 0) return nullptr;
  return program->Item(0);
}

void TRBEvEnvironment::StoreText(TRBEvElement* Element, std::string_view Text) {
  if (auto* s = dynamic_cast<TRBEvElementString*>(Element)) s->Text = Cut(Text);
}

void TRBEvEnvironment::StoreInteger(TRBEvElement* Element, int32_t Value) {
  if (auto* c = dynamic_cast<TRBEvElementConstant*>(Element)) c->Constant = TRBEvResultRecord::OfInteger(Value);
}

void TRBEvEnvironment::StoreResult(TRBEvElement* Element, const TRBEvResultRecord& Result) {
  if (auto* c = dynamic_cast<TRBEvElementConstant*>(Element)) c->Constant = Result;
  else if (auto* s = dynamic_cast<TRBEvElementString*>(Element); s && Result.Kind == rkString) s->Text = Result.Text;
}

std::vector<std::string> TRBEvEnvironment::Data() const {
  std::vector<std::string> data;
  for (const Line& l : lines_) data.push_back(l.Variable->ExpressionText);
  return data;
}

void TRBEvEnvironment::Load(const std::vector<std::string>& Names, const std::vector<std::string>& Expressions) {
  if (Names.size() != Expressions.size())
    throw EReadError("The DATA of an environment holds " + std::to_string(Expressions.size()) + " expressions for " +
                     std::to_string(Names.size()) + " names");
  std::vector<Line> lines;
  for (std::size_t i = 0; i < Names.size(); ++i)
    lines.push_back({Upper(Names[i]), std::make_unique<TRBEvEmbeddedFunction>(Expressions[i])});
  Clear();
  lines_ = std::move(lines);
  if (IsActive())
    for (std::size_t i = 0; i < lines_.size(); ++i) Prepare(*lines_[i].Variable);
}

void TRBEvEnvironment::WriteProperties(ObjectText::TTextObject& Holder, std::string_view Prefix) const {
  const std::string prefix(Prefix);
  if (!lines_.empty()) {
    std::vector<std::string> names;
    for (const Line& l : lines_) names.push_back(l.Name);
    Holder.Add(prefix + "Strings", ObjectText::TTextValue::OfStrings(names));
  }
  Holder.Add(prefix + "DATA", ObjectText::TTextValue::OfStrings(Data()));
}

void TRBEvEnvironment::ReadProperties(const ObjectText::TTextObject& Holder, std::string_view Prefix) {
  const std::string prefix(Prefix);
  const ObjectText::TTextProperty* names = Holder.Find(prefix + "Strings");
  const ObjectText::TTextProperty* data = Holder.Find(prefix + "DATA");
  if (!names && !data) return;
  const std::vector<std::string> lines = names ? ObjectText::Strings(names->Value, names->Name) : std::vector<std::string>{};
  const std::vector<std::string> expressions = data ? ObjectText::Strings(data->Value, data->Name) : std::vector<std::string>{};
  Load(lines, expressions);
}

// -----------------------------------------------------------------------------------------------
// The unit

char ArgumentSeparator = ',';

TRBFunctionLibrary* ReportFunctionLibrary() { return gLibrary; }
TRBEvEnvironment* SharedEnvironment() { return gShared; }

void RegisterReportFunction(const TRBEvElementClass* ElementClass, std::string Name, std::string HelpText,
                            std::string Signature, std::string Publisher) {
  if (!gLibrary) throw ENonConstruit("The report function library is not started");
  gLibrary->AddEntry(ElementClass, std::move(Name), std::move(HelpText), std::move(Signature), std::move(Publisher));
}

void RBExpr::SetApplicationTitle(std::string Title) { TitleStorage() = std::move(Title); }
const std::string& RBExpr::ApplicationTitle() { return TitleStorage(); }

std::string RBExpr::CategoryName(int Digit) {
  if (Digit < 0 || Digit >= static_cast<int>(std::size(kCategories))) return {};
  return Text(*kCategories[Digit]);
}

void RBExpr::Initialiser() {
  static const TChaineRessource* const kChaines[] = {
      &RS_Missing_S, &RS_ErrorInExpression_S, &RS_IllegalCharacter, &RS_UnknownFunction_S, &RS_UnknownFieldType_S,
      &RS_OperatorNotCompatible_SS, &RS_CannotOperate_SS, &RS_CannotDivideByZero, &RS_EvaluatorNotPrepared,
      &RS_RecursiveCalls, &RS_InvalidUseOfNot, &RS_WordBoolean, &RS_WordString, &RS_WordNumeric, &RS_WordAdd,
      &RS_WordSubtract, &RS_WordMultiply, &RS_WordDivide, &RS_WordTrue, &RS_WordFalse, &RS_TooManyArguments,
      &RS_WrongArguments_S, &RS_InvalidSqrtArgument, &RS_DivisionByZero, &RS_ConversionError, &RS_MissingArgument_S,
      &RS_InvalidFormat, &RS_CountPrefix, &RS_Publisher, &RS_DescIf, &RS_DescStr, &RS_DescUpper, &RS_DescLower,
      &RS_DescPretty, &RS_DescTime, &RS_DescDate, &RS_DescCopy, &RS_DescSum, &RS_DescCount, &RS_DescMax, &RS_DescMin,
      &RS_DescAverage, &RS_DescTrue, &RS_DescFalse, &RS_DescInt, &RS_DescFrac, &RS_DescSqrt, &RS_DescDiv,
      &RS_DescTypeOf, &RS_DescFormatNumeric, &RS_CategoryAll, &RS_CategoryDateTime, &RS_CategoryMath,
      &RS_CategoryStatistical, &RS_CategoryDatabase, &RS_CategoryLogical, &RS_CategoryInformation,
      &RS_CategoryOther};
  static bool registered = false;
  if (!registered) {
    ChaineRessource::Enregistrer(kChaines);
    registered = true;
  }
  if (gLibrary) return;
  ArgumentSeparator = ',';
  gLibrary = new TRBFunctionLibrary();
  RegisterBuiltIns();
  gShared = new TRBEvEnvironment();
  // The variables hold string literals: a quote inside the title is doubled.
  std::string title;
  for (char c : ApplicationTitle()) title += c == '\'' ? std::string("''") : std::string(1, c);
  const TDateTime now = DateTime::Now();
  gShared->DefineVariable("AppStartTime", "'" + DataSet::TimeText(now) + "'");
  gShared->DefineVariable("AppStartDate", "'" + DataSet::DateText(now) + "'");
  gShared->DefineVariable("AppName", "'" + title + "'");
}

void RBExpr::Finaliser() {
  // The shared environment's variables discard without counting (their evaluators would
  // deactivate the environment being freed).
  TRBEvEnvironment* shared = gShared;
  gDeactivationRunning = true;
  gShared = nullptr;
  delete shared;
  gDeactivationRunning = false;
  delete gLibrary;
  gLibrary = nullptr;
}
