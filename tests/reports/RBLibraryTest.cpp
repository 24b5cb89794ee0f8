#include <gtest/gtest.h>

#include <string>

#include "core/values/ChaineRessource.h"
#include "core/values/DateTime.h"
#include "core/values/Format.h"
#include "reports/RBExpr.h"
#include "tests/reports/Valeurs.h"

namespace {

struct Case {
  const char* Expression;
  const char* Expected;
};

TEST(FunctionLibrary, TheBuiltInsInRegistrationOrderWithTheirHelpAndSignatures) {
  TRBFunctionLibrary* library = ReportFunctionLibrary();
  ASSERT_TRUE(library);
  const char* const kNames[] = {"IF",  "STR", "UPPER", "LOWER", "PRETTY", "TIME", "DATE",
                                "COPY", "SUM", "COUNT", "MAX",   "MIN",    "AVERAGE", "TRUE",
                                "FALSE", "INT", "FRAC", "SQRT",  "DIV",    "TYPEOF", "FORMATNUMERIC"};
  for (int i = 0; i < 21; ++i) {
    ASSERT_TRUE(library->EntryAt(i));
    EXPECT_EQ(library->EntryAt(i)->FunctionName, kNames[i]);
    EXPECT_EQ(library->EntryAt(i)->Publisher, "Norvane");
  }
  EXPECT_EQ(library->EntryAt(21), nullptr);
  EXPECT_EQ(library->EntryAt(-1), nullptr);
  EXPECT_EQ(library->EntryAt(0)->HelpText, "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>");
  EXPECT_EQ(library->EntryAt(0)->Signature, "5BVV");
  EXPECT_EQ(library->EntryAt(18)->HelpText, "DIV(<X>, <Y>) | Integer division of <X> by <Y>");
  EXPECT_EQ(library->EntryAt(7)->HelpText, "COPY(<X>, <St>,<Len>)|Returns a substring of string X");
  EXPECT_EQ(library->EntryAt(7)->Signature, "7SNN");
  EXPECT_EQ(library->EntryAt(20)->Signature, "7SN");
  EXPECT_STREQ(library->EntryAt(8)->ElementClass->ClassName, "TRBEvSumFunction");
  EXPECT_EQ(RBExpr::CategoryName(0), "All");
  EXPECT_EQ(RBExpr::CategoryName(1), "Date & time");
  EXPECT_EQ(RBExpr::CategoryName(7), "Other");
  EXPECT_EQ(RBExpr::CategoryName(8), "");
  // Lookups ignore case; an unknown name gives an error element.
  EXPECT_TRUE(library->Find("formatNumeric"));
  std::unique_ptr<TRBEvElement> e = library->CreateElement("Nope");
  auto* error = dynamic_cast<TRBEvElementError*>(e.get());
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message, "Unknown function : Nope");
  // Exactly the five aggregates carry the flag.
  int aggregates = 0;
  for (int i = 0; i < library->Count(); ++i)
    aggregates += library->EntryAt(i)->ElementClass->Create()->AggregateFlag ? 1 : 0;
  EXPECT_EQ(aggregates, 5);
}

TEST(FunctionLibrary, PlainFunctions) {
  const Case kCases[] = {
      {"IF(TRUE, 1, 2)", "I 1"},
      {"IF(FALSE, 1, 'b')", "S b"},
      {"IF(1, 2, 3)", "E Wrong arguments for IF"},
      {"IF(TRUE, 1)", "E Wrong arguments for IF"},
      {"IF(TRUE, 1/0, 2)", "E Cannot divide by 0"},  // the second argument, an error
      {"IF(FALSE, 1/0, 2)", "I 2"},  // the unused argument is still evaluated
      {"TYPEOF(1/0)", "S ERROR"},
      {"TYPEOF(7/2)", "S FLOAT"},
      {"TYPEOF(1)", "S INTEGER"},
      {"TYPEOF('a')", "S STRING"},
      {"TYPEOF(TRUE)", "S BOOLEAN"},
      {"TYPEOF(1, 2)", "E Wrong arguments for TypeOf"},
      {"INT(-2.7)", "I -2"},
      {"INT(2.7)", "I 2"},
      {"INT(5)", "I 5"},
      {"INT(4294967297.5)", "I 1"},  // kept to its low 32 bits
      {"INT(1e300)", "E Wrong arguments for INT"},
      {"INT('a')", "E Wrong arguments for INT"},
      {"FRAC(-2.75)", "F -0.75"},
      {"FRAC(3)", "F 0"},
      {"FRAC('a')", "E "},
      {"SQRT(16)", "F 4"},
      {"SQRT(2.25)", "F 1.5"},
      {"SQRT(-1)", "E Invalid argument to SQRT function"},
      {"SQRT('a')", "E Invalid argument to SQRT function"},
      {"DIV(7, 2)", "I 3"},
      {"DIV(-7, 2)", "I -3"},
      {"DIV(2.5, 1)", "I 2"},
      {"DIV(3.5, 1)", "I 4"},
      {"DIV(-2.5, 1)", "I -2"},
      {"DIV(1, 0)", "E Division by Zero"},
      {"DIV(1, 0.4)", "E Division by Zero"},
      {"DIV(0-2147483647-1, 0-1)", "I -2147483648"},
      {"DIV(-9223372036854775808.0, 0-1)", "I 0"},
      {"DIV(1e300, 1)", "E Wrong arguments for DIV"},
      {"DIV(1)", "E Wrong arguments for DIV"},
      {"DIV('a', 1)", "E Wrong arguments for DIV"},
      {"STR(12)", "S 12"},
      {"STR(-1.5)", "S -1.5"},
      {"STR(1/3)", "S 0.333333333333333"},
      {"STR(TRUE)", "S True"},
      {"STR(FALSE)", "S False"},
      {"STR('x')", "E Conversion error"},
      {"STR(1/0)", "E Conversion error"},
      {"UPPER('abc\xE9')", "S ABC\xC9"},
      {"LOWER('ABC\xC9')", "S abc\xE9"},
      {"PRETTY('hELLO wORLD')", "S Hello world"},
      {"PRETTY('')", "S "},
      {"UPPER(1/0)", "E Cannot divide by 0"},
      {"UPPER(1)", "E "},
      {"LOWER(TRUE)", "E "},
      {"UPPER()", "E Missing argument for UPPER"},
      {"LOWER('a', 'b')", "E Missing argument for LOWER"},
      {"PRETTY()", "E Missing argument for PRETTY"},
      {"TIME(1)", "E "},
      {"DATE(1)", "E "},
      {"COPY('abcdef', 0, 2)", "S ab"},
      {"COPY('abcdef', -5, 2)", "S ab"},
      {"COPY('abcdef', 2, 3)", "S bcd"},
      {"COPY('abcdef', 5, 10)", "S ef"},
      {"COPY('abc', 5, 2)", "S "},
      {"COPY('abc', 1, 0)", "S "},
      {"COPY('abc', 1.0, 2)", "E "},
      {"COPY('abc', 1)", "E "},
      {"FORMATNUMERIC('#,##0.00', 9876.5)", "S 9,876.50"},
      {"FORMATNUMERIC('0.00;(0.00)', 0-1.5)", "S (1.50)"},
      {"FORMATNUMERIC('0.0E+00', 1500)", "S 1.5E+03"},
      {"FORMATNUMERIC('0;-0;''zero''', 0)", "S zero"},
      {"FORMATNUMERIC('', 2.5)", "S 2.5"},
      {"FORMATNUMERIC(1, 2)", "E "},
      {"FORMATNUMERIC('0', 'a')", "E "},
  };
  for (const Case& c : kCases) EXPECT_EQ(Evaluate(c.Expression), c.Expected) << c.Expression;
}

TEST(FunctionLibrary, StrWritesTrueAndFalseInFixedWordsWhereTheMessageTextsAreTranslated) {
  ChaineRessource::DefinirTraducteur([](const TChaineRessource& Chaine, std::string& Texte) {
    if (Chaine.Id != RBExpr::RS_WordTrue.Id) return false;
    Texte = "Vrai";
    return true;
  });
  EXPECT_EQ(Evaluate("STR(TRUE)"), "S True");
  EXPECT_EQ(Evaluate("TRUE+''"), "S Vrai");
  ChaineRessource::DefinirTraducteur(nullptr);
  EXPECT_EQ(Evaluate("TRUE+''"), "S True");
}

TEST(FunctionLibrary, TimeAndDateComeFromTheClock) {
  DateTime::SetClock([] { return DateTime::EncodeDate(2026, 3, 7) + DateTime::EncodeTime(9, 5, 3, 0); });
  EXPECT_EQ(Evaluate("TIME"), "S 09:05:03");
  EXPECT_EQ(Evaluate("DATE"), "S 07/03/2026");
  DateTime::SetClock({});
}

TEST(FunctionLibrary, ARegisteredFunctionIsCalledByName) {
  struct TTwice : TRBEvElementFunction {
    void ComputeResult(TRBEvResultRecord& Result) override {
      Result = ArgumentCount() == 1 && Argument(0).Kind == rkInteger
                   ? TRBEvResultRecord::OfInteger(2 * Argument(0).IntegerValue)
                   : TRBEvResultRecord::OfError("twice");
    }
  };
  RegisterReportFunction(ElementClassOf<TTwice>("TTwice"), "TWICE_TEST", "TWICE_TEST(<X>)|doubles", "7N", "test");
  EXPECT_EQ(Evaluate("twice_test(21)"), "I 42");
  EXPECT_EQ(Evaluate("TWICE_TEST('a')"), "E twice");
}

}  // namespace
