// The report expression language. An evaluator compiles one expression text into a program of
// elements in prefix order (an operator, then its left operand's elements, then its right
// operand's) and evaluates it as often as the report asks, for example once per detail record.
// Every value is a TRBEvResultRecord; a fault in an expression is not an exception but a value of
// kind rkError carrying its message, so a report shows the message instead of stopping. Functions
// come from the function library (ReportFunctionLibrary); named variables from environments
// (TRBEvEnvironment): the report's own, searched first, then the process-wide SharedEnvironment.
//
// Grammar, from the lowest level: one comparison (< <= > >= = <>, which do not chain); additive
// operators + - and " or "; multiplicative * / and " and "; factors: a prefix "not", signs,
// parentheses, 'texts' (a doubled quote is one quote), numbers, [names], names of dataset fields
// or variables, and calls NAME(arguments). Operators of one level apply left to right; a sign with
// nothing, an operator, "(" or "," before it is a prefix sign. Nesting (parentheses, signs, "not",
// calls) deeper than kMaxNesting is an error value.
//
// Every operand and argument is evaluated (no short cut, not even for IF). Texts are 1252 bytes;
// a text stored into a record is cut to its first 255 bytes. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/objects/Modules.h"
#include "core/values/ChaineRessource.h"
#include "platform/data/DataSet.h"
#include "platform/streaming/ObjectText.h"

class TRBFiFo;
class TRBEvaluator;
class TRBEvEnvironment;
class TRBEvEmbeddedFunction;
class TRBEvElementWrapper;

// The only exception of the evaluator: running a program that was never compiled, and the text of
// an error value asked for as an operand text.
class ERBExpressionError : public Exception {
 public:
  using Exception::Exception;
};

enum TRBResultKind : uint8_t { rkInteger = 0, rkFloat = 1, rkString = 2, rkBoolean = 3, rkError = 4 };

// The value of every evaluation. Only the payload of the kind is meaningful; the builders leave the
// others zero. A text (or an error's message) is at most kMaxText bytes.
struct TRBEvResultRecord {
  static constexpr std::size_t kMaxText = 255;

  TRBResultKind Kind = rkInteger;
  int32_t IntegerValue = 0;
  double FloatValue = 0;
  std::string Text;  // rkString, and the message of rkError
  bool BooleanValue = false;

  static TRBEvResultRecord OfInteger(int32_t v);
  static TRBEvResultRecord OfFloat(double v);
  static TRBEvResultRecord OfString(std::string_view v);  // cut to kMaxText
  static TRBEvResultRecord OfBoolean(bool v);
  static TRBEvResultRecord OfError(std::string_view Message = {});  // cut to kMaxText
};

// The kind names TYPEOF gives.
const char* ResultKindName(TRBResultKind Kind);

// ---------------------------------------------------------------------------------------------
// Elements

class TRBEvElement {
 public:
  TRBEvElement() = default;
  virtual ~TRBEvElement() = default;
  TRBEvElement(const TRBEvElement&) = delete;
  TRBEvElement& operator=(const TRBEvElement&) = delete;

  // Evaluates the element; its operands, if any, are the next elements of the program.
  virtual void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) = 0;
  // Clears aggregate state (nothing in the base).
  virtual void ResetState() {}

  bool AggregateFlag = false;
};

// A class of elements: what the function library creates a call's element from.
struct TRBEvElementClass {
  const char* ClassName;
  std::unique_ptr<TRBEvElement> (*Create)();
};

template <class T>
const TRBEvElementClass* ElementClassOf(const char* Name) {
  static const TRBEvElementClass kClass{Name, [] { return std::unique_ptr<TRBEvElement>(new T()); }};
  return &kClass;
}

// The element program of one expression, owned by its evaluator.
class TRBFiFo {
 public:
  bool Accumulating = false;

  void Restart() { readPosition_ = 0; }
  void Append(std::unique_ptr<TRBEvElement> Element) { items_.push_back(std::move(Element)); }
  // The element at the read position, advancing it; nil past the end.
  TRBEvElement* Next() { return readPosition_ < items_.size() ? items_[readPosition_++].get() : nullptr; }
  std::size_t Count() const { return items_.size(); }
  TRBEvElement* Item(std::size_t Index) const { return items_[Index].get(); }

 private:
  std::vector<std::unique_ptr<TRBEvElement>> items_;
  std::size_t readPosition_ = 0;
};

// Evaluates the next element of the program into Result (an error with no message when the
// program has ended).
void EvaluateNext(TRBFiFo& Program, TRBEvResultRecord& Result);

enum TRBOperation : uint8_t {
  eoLess = 0,
  eoLessEqual = 1,
  eoGreater = 2,
  eoGreaterEqual = 3,
  eoEqual = 4,
  eoNotEqual = 5,
  eoAdd = 6,
  eoSubtract = 7,
  eoOr = 8,
  eoMultiply = 9,
  eoDivide = 10,
  eoAnd = 11,
};

class TRBEvElementOperator : public TRBEvElement {
 public:
  explicit TRBEvElementOperator(TRBOperation Op) : Operation(Op) {}
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override;
  TRBOperation Operation;
};

// The prefix "not": a boolean operand negated, any other kind "Invalid use of NOT", an error
// operand unchanged.
class TRBEvElementNot : public TRBEvElement {
 public:
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override;
};

class TRBEvElementConstant : public TRBEvElement {
 public:
  explicit TRBEvElementConstant(TRBEvResultRecord Value) : Constant(std::move(Value)) {}
  void GetValue(TRBFiFo&, TRBEvResultRecord& Result) override { Result = Constant; }
  TRBEvResultRecord Constant;
};

class TRBEvElementString : public TRBEvElement {
 public:
  explicit TRBEvElementString(std::string Value) : Text(std::move(Value)) {}
  void GetValue(TRBFiFo&, TRBEvResultRecord& Result) override { Result = TRBEvResultRecord::OfString(Text); }
  std::string Text;
};

class TRBEvElementDataField : public TRBEvElement {
 public:
  TRBEvElementDataField(IDataSet* DataSet, int FieldIndex, TField* Field)
      : SourceDataSet(DataSet), SourceFieldIndex(FieldIndex), SourceField(Field) {}
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override;
  IDataSet* SourceDataSet;
  int32_t SourceFieldIndex;
  TField* SourceField;
  std::string FieldName;  // for the message when the field is gone
};

class TRBEvElementError : public TRBEvElement {
 public:
  explicit TRBEvElementError(std::string Text) : Message(std::move(Text)) {}
  void GetValue(TRBFiFo&, TRBEvResultRecord& Result) override { Result = TRBEvResultRecord::OfError(Message); }
  std::string Message;
};

// Marks the end of a call's arguments; never evaluated as a value.
class TRBEvElementArgumentEnd : public TRBEvElement {
 public:
  void GetValue(TRBFiFo&, TRBEvResultRecord& Result) override { Result = TRBEvResultRecord::OfError(); }
};

// One evaluated argument of a call.
struct TRBEvResultClass {
  TRBEvResultRecord Held;
};

// A function call: collects its arguments up to the end marker, takes an aggregation step in
// aggregation passes, then computes its result.
class TRBEvElementFunction : public TRBEvElement {
 public:
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override;
  virtual void AccumulateArguments() {}
  virtual void ComputeResult(TRBEvResultRecord& Result) { Result = TRBEvResultRecord::OfError(); }

 protected:
  void CollectArguments(TRBFiFo& Program);
  void DropArguments() { Arguments.clear(); }
  int ArgumentCount() const { return static_cast<int>(Arguments.size()); }
  TRBEvResultRecord ArgumentValue(int N) const { return Arguments[static_cast<std::size_t>(N)].Held; }
  const TRBEvResultRecord& Argument(int N) const { return Arguments[static_cast<std::size_t>(N)].Held; }

  std::vector<TRBEvResultClass> Arguments;
};

// A variable inside another expression's program: it evaluates the variable, which it does not
// own. A variable that goes away first leaves the wrapper evaluating to "Unknown function : %s".
class TRBEvElementWrapper : public TRBEvElement {
 public:
  TRBEvElementWrapper(TRBEvEmbeddedFunction* Target, std::string Name);
  ~TRBEvElementWrapper() override;
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override;
  TRBEvEmbeddedFunction* Target() const { return target_; }

 private:
  friend class TRBEvEmbeddedFunction;
  TRBEvEmbeddedFunction* target_;
  std::string name_;
};

// ---------------------------------------------------------------------------------------------
// Evaluator

using TRBDataSetList = std::vector<IDataSet*>;

class TRBEvaluator {
 public:
  // Parentheses, signs, "not" and calls nest at most this deep.
  static constexpr int kMaxNesting = 256;

  TRBEvaluator() = default;
  virtual ~TRBEvaluator();
  TRBEvaluator(const TRBEvaluator&) = delete;
  TRBEvaluator& operator=(const TRBEvaluator&) = delete;

  // Discards a previous program, activates the shared environment and compiles the text (an empty
  // text as ' '). Never fails: every fault becomes an element that evaluates to an error value.
  void CompileExpression(std::string_view Text);
  // Frees the program and deactivates the shared environment.
  void DiscardProgram();
  // Runs the program; raises ERBExpressionError "Evaluator not prepared" when nothing is compiled.
  void RunProgram(TRBEvResultRecord& Result);
  // Compiles, runs and discards.
  void EvaluateText(std::string_view Text, TRBEvResultRecord& Result);
  // One aggregation pass (the result is dropped); raises as RunProgram does.
  void Accumulate();
  void SetAccumulating(bool Flag);
  // ResetState on every element, in program order.
  void ClearAggregates();
  bool HasAggregates() const;

  bool Compiled() const { return compiled_; }
  TRBFiFo* Program() const { return program_.get(); }

  // The datasets searched for field names: made and owned on first read when none is set.
  TRBDataSetList* DataSetList();
  // Takes a list (nil: none); an owned list is freed when another replaces it.
  void SetDataSetList(TRBDataSetList* List);

  TRBEvEnvironment* LocalEnvironment = nullptr;

 protected:
  virtual void BuildFunctionCall(const std::string& Name, const std::string* ArgumentText);
  virtual void BuildIdentifier(const std::string& Name);

 private:
  friend struct ParseGuard;

  void ParseComparison(std::string_view Text);
  void ParseAdditive(std::string_view Text);
  void ParseMultiplicative(std::string_view Text);
  void ParseFactor(std::string_view Text);
  void ParseCall(std::string_view Text);
  void AddNumber(std::string_view Text);
  void AddStringLiteral(std::string_view Text);
  void AddVariableReference(const std::string& Name);
  void AddError(std::string Message);
  void Append(std::unique_ptr<TRBEvElement> Element) { program_->Append(std::move(Element)); }

  std::unique_ptr<TRBDataSetList> ownedDataSetList_;
  TRBDataSetList* dataSetList_ = nullptr;
  std::unique_ptr<TRBFiFo> program_;
  bool compiled_ = false;
  int nesting_ = 0;  // while compiling
  int frames_ = 0;
};

// The position of the first argument separator at depth 0 outside quotes and brackets, from the
// first character to the one before the last (0-based), or npos.
std::size_t FindArgumentSeparator(std::string_view Text);

// ---------------------------------------------------------------------------------------------
// Function library

struct TRBLibraryEntry {
  std::string HelpText;   // syntax "|" description
  std::string Signature;  // category digit, then N S B V per argument
  const TRBEvElementClass* ElementClass = nullptr;
  std::string FunctionName;
  std::string Publisher;
};

class TRBLibrary {
 public:
  TRBLibrary() = default;
  virtual ~TRBLibrary() = default;
  TRBLibrary(const TRBLibrary&) = delete;
  TRBLibrary& operator=(const TRBLibrary&) = delete;

  // Appends an entry (a second one of a listed name too: lookups find the first).
  void AddEntry(const TRBEvElementClass* ElementClass, std::string Name, std::string HelpText, std::string Signature,
                std::string Publisher);
  // The entry at the index, nil past the last.
  virtual TRBLibraryEntry* EntryAt(int Index);
  int Count() const { return static_cast<int>(entries_.size()); }
  // The first entry of that name, compared without case; nil when none.
  TRBLibraryEntry* Find(std::string_view Name) const;
  // A new element of the entry's class, or an error element "Unknown function : %s".
  std::unique_ptr<TRBEvElement> CreateElement(std::string_view Name) const;

 private:
  std::vector<std::unique_ptr<TRBLibraryEntry>> entries_;
};

class TRBFunctionLibrary : public TRBLibrary {};

// ---------------------------------------------------------------------------------------------
// Environments

// A variable: an expression of its own, with its own evaluator.
class TRBEvEmbeddedFunction : public TRBEvElement {
 public:
  explicit TRBEvEmbeddedFunction(std::string Expression);
  ~TRBEvEmbeddedFunction() override;

  // The variable's value; "Recursive calls not allowed" while it is already being evaluated.
  void GetValue(TRBFiFo& Program, TRBEvResultRecord& Result) override;
  // Clears its own evaluator's aggregates.
  void ResetState() override;

  TRBEvaluator OwnEvaluator;
  std::string ExpressionText;
  bool Busy = false;

 private:
  friend class TRBEvElementWrapper;
  std::vector<TRBEvElementWrapper*> wrappers_;  // to forget this variable when it goes
};

class TRBEvEnvironment {
 public:
  TRBEvEnvironment() = default;
  virtual ~TRBEvEnvironment();
  TRBEvEnvironment(const TRBEvEnvironment&) = delete;
  TRBEvEnvironment& operator=(const TRBEvEnvironment&) = delete;

  // The lines: the upper-cased names, each with its variable.
  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& Names(int Index) const { return lines_[static_cast<std::size_t>(Index)].Name; }
  TRBEvEmbeddedFunction* Variables(int Index) const { return lines_[static_cast<std::size_t>(Index)].Variable.get(); }
  // The line of a name, compared without case, or -1.
  int IndexOf(std::string_view Name) const;
  // Frees every variable, from the last line to the first.
  void Clear();

  void Activate();
  void Deactivate();
  bool IsActive() const { return activationCount_ > 0; }
  int32_t ActivationCount() const { return activationCount_; }

  // Appends a variable under the upper-cased name; a listed name keeps its expression and nothing
  // is compiled. In an active environment the new variable is compiled at once.
  void DefineVariable(std::string_view Name, std::string_view Expression);
  void RemoveVariable(std::string_view Name);
  // Renames the line to the upper-cased name (ignored outside the lines).
  void RenameVariable(int Index, std::string_view Name);
  // Gives the line a new variable for the expression, the former one freed (its wrappers then
  // evaluate to "Unknown function : %s"); compiled at once in an active environment.
  void ReplaceExpression(int Index, std::string_view Expression);
  // The variable's value; a name not listed gives an error value with no message.
  void VariableValue(std::string_view Name, TRBEvResultRecord& Result);
  // A new wrapper for the variable, or an error element "Unknown function : %s".
  std::unique_ptr<TRBEvElement> VariableElement(std::string_view Name);
  // The first element of the variable's compiled program, nil when not listed or not compiled.
  TRBEvElement* ConstantElement(std::string_view Name);

  static void StoreText(TRBEvElement* Element, std::string_view Text);
  static void StoreInteger(TRBEvElement* Element, int32_t Value);
  static void StoreResult(TRBEvElement* Element, const TRBEvResultRecord& Result);

  TRBDataSetList* DataSetList();
  void SetDataSetList(TRBDataSetList* List);

  // The expressions in line order: the "DATA" property of the stored form.
  std::vector<std::string> Data() const;
  // Replaces the lines and variables by the stored names (upper-cased) and expressions. Lists of different
  // lengths are refused (EReadError) and the environment is left unchanged.
  void Load(const std::vector<std::string>& Names, const std::vector<std::string>& Expressions);
  // The stored form, as properties of the component that holds the environment, under a prefix
  // ("Functions."): the names as a string list stores them (<Prefix>Strings, only when there are
  // lines) and the expressions, always (<Prefix>DATA).
  void WriteProperties(ObjectText::TTextObject& Holder, std::string_view Prefix) const;
  // Reads them back; nothing stored leaves the environment as it is.
  void ReadProperties(const ObjectText::TTextObject& Holder, std::string_view Prefix);

 private:
  struct Line {
    std::string Name;
    std::unique_ptr<TRBEvEmbeddedFunction> Variable;
  };
  void Prepare(TRBEvEmbeddedFunction& Variable);

  std::vector<Line> lines_;
  int32_t activationCount_ = 0;
  std::unique_ptr<TRBDataSetList> ownedDataSetList_;
  TRBDataSetList* dataSetList_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The unit's process-wide state

extern char ArgumentSeparator;

// The library of functions that expressions call, and the environment every expression sees; both
// exist between the unit's start and its end (nil otherwise).
TRBFunctionLibrary* ReportFunctionLibrary();
TRBEvEnvironment* SharedEnvironment();

// Adds a function to ReportFunctionLibrary.
void RegisterReportFunction(const TRBEvElementClass* ElementClass, std::string Name, std::string HelpText,
                            std::string Signature, std::string Publisher);

namespace RBExpr {

// The title the program gives itself, which "AppName" holds; set it before the unit starts.
void SetApplicationTitle(std::string Title);
const std::string& ApplicationTitle();

// The library's categories, in the expression builder's order (digit 0 to 7).
std::string CategoryName(int Digit);

void Initialiser();
void Finaliser();

// The message texts of the unit.
extern const TChaineRessource RS_Missing_S;
extern const TChaineRessource RS_ErrorInExpression_S;
extern const TChaineRessource RS_IllegalCharacter;
extern const TChaineRessource RS_UnknownFunction_S;
extern const TChaineRessource RS_UnknownFieldType_S;
extern const TChaineRessource RS_OperatorNotCompatible_SS;
extern const TChaineRessource RS_CannotOperate_SS;
extern const TChaineRessource RS_CannotDivideByZero;
extern const TChaineRessource RS_EvaluatorNotPrepared;
extern const TChaineRessource RS_RecursiveCalls;
extern const TChaineRessource RS_InvalidUseOfNot;
extern const TChaineRessource RS_WordBoolean;
extern const TChaineRessource RS_WordString;
extern const TChaineRessource RS_WordNumeric;
extern const TChaineRessource RS_WordAdd;
extern const TChaineRessource RS_WordSubtract;
extern const TChaineRessource RS_WordMultiply;
extern const TChaineRessource RS_WordDivide;
extern const TChaineRessource RS_WordTrue;
extern const TChaineRessource RS_WordFalse;
extern const TChaineRessource RS_TooManyArguments;
extern const TChaineRessource RS_WrongArguments_S;
extern const TChaineRessource RS_InvalidSqrtArgument;
extern const TChaineRessource RS_DivisionByZero;
extern const TChaineRessource RS_ConversionError;
extern const TChaineRessource RS_MissingArgument_S;
extern const TChaineRessource RS_InvalidFormat;
extern const TChaineRessource RS_CountPrefix;
extern const TChaineRessource RS_Publisher;

}  // namespace RBExpr
