#include "reports/RBExpr.h"
#include "tests/reports/Valeurs.h"

#include <gtest/gtest.h>

#include <string>

#include "core/values/Format.h"

namespace {

struct Case {
  const char* Expression;
  const char* Expected;
};

void Check(std::initializer_list<Case> Cases) {
  for (const Case& c : Cases) EXPECT_EQ(Evaluate(c.Expression), c.Expected) << c.Expression;
}

TEST(Evaluator, ConstantsAndLiterals) {
  Check({
      {"", "S  "},
      {"7", "I 7"},
      {"2147483647", "I 2147483647"},
      {"2147483648", "F 2147483648"},  // beyond 32 bits: a float
      {"1.5e3", "F 1500"},
      {"1.25", "F 1.25"},
      {"1e999", "E Illegal character in numeric contant \"1e999\""},
      {"1.2.3", "E Illegal character in numeric contant \"1.2.3\""},
      {"12ab", "E Illegal character in numeric contant \"12ab\""},
      {"1e-5", "E Illegal character in numeric contant \"1e\""},
      {"'abc'", "S abc"},
      {"'it''s'", "S it's"},
      {"''", "S "},
      {"  'a b'  ", "S a b"},
      {"'abc", "E Missing '"},
      {"'", "E Missing '"},
      {"(", "E Missing )"},
      {"[", "E Missing ]"},
      {"(1+2", "E Missing )"},
      {"[abc", "E Missing ]"},
      {"$", "E Error in expression : $"},
      {"_x", "E Error in expression : _x"},
      {"IF(,1,2)", "E Wrong arguments for IF"},  // its first argument is the error below
  });
}

TEST(Evaluator, ArithmeticAppliesLeftToRightAndPrefixSignsNeverSplit) {
  Check({
      {"1+2*3", "I 7"},
      {"10-4-3", "I 3"},
      {"10-4+3", "I 9"},
      {"24/4/2", "F 3"},
      {"7/2", "F 3.5"},
      {"7/0", "E Cannot divide by 0"},
      {"7.5/0.0", "E Cannot divide by 0"},
      {"-5", "I -5"},
      {"5--3", "I 8"},
      {"5-+3", "I 2"},
      {"10-4 or 1", "I 7"},
      {"2*-3", "I -6"},
      {"2 * - 3", "I -6"},
      {"-2*3", "I -6"},
      {"--3", "I 3"},
      {"(1+2)*3", "I 9"},
      {"2147483647+1", "I -2147483648"},  // 32-bit wrap
      {"0-2147483647-2", "I 2147483647"},
      {"65536*65536", "I 0"},
      {"1+2.5", "F 3.5"},
      {"12 and 10", "I 8"},
      {"12 or 3", "I 15"},
      {"1.5 or 1", "E Operator OR is not compatible with numeric expressions"},
      {"1.5 and 1", "E Operator AND is not compatible with numeric expressions"},
  });
}

TEST(Evaluator, TextsComparisonsAndBooleans) {
  Check({
      {"'a'+1", "S a1"},
      {"'a'-1", "E Cannot subtract string expressions"},
      {"'a'*'b'", "E Cannot multiply string expressions"},
      {"'a'/'b'", "E Cannot divide string expressions"},
      {"'a' or 'b'", "E Operator OR is not compatible with string expressions"},
      {"TRUE+TRUE", "E Cannot add boolean expressions"},
      {"TRUE-TRUE", "E Cannot subtract boolean expressions"},
      {"TRUE<FALSE", "E Operator < is not compatible with boolean expressions"},
      {"TRUE>=FALSE", "E Operator >= is not compatible with boolean expressions"},
      {"1=1.0", "B true"},
      {"TRUE=1", "B false"},
      {"TRUE='True'", "B true"},
      {"'ab'<'abc'", "B true"},
      {"'B'<'a'", "B true"},
      {"'\xE9'>'z'", "B true"},  // bytes compare unsigned
      {"'a'='A'", "B false"},
      {"2<>3", "B true"},
      {"2<=2", "B true"},
      {"(1=1) OR (2=3)", "B true"},
      {"(1=1) and (2=3)", "B false"},
      {"1=1 or 2=3", "E Illegal character in numeric contant \"2=3\""},
      {"(1=1)or(2=2)", "E Illegal character in numeric contant \"1)or(2=2\""},
      {"1<2<3", "E Illegal character in numeric contant \"2<3\""},
      {"not (1=2)", "B true"},
      {"NOT TRUE", "B false"},
      {"not 3", "E Invalid use of NOT"},
      {"not (1/0)", "E Cannot divide by 0"},
      {"1/0+'x'", "E Cannot divide by 0"},  // the first error wins
      {"'x'+1/0", "E Cannot divide by 0"},
  });
}

TEST(Evaluator, NamesCallsAndVariables) {
  Check({
      {"TRUE", "B true"},
      {"true()", "B true"},
      {"TRUE(1)", "E Too many arguments"},
      {"COUNT(1)", "E COUNT - Too many arguments"},
      {"NOSUCH", "E Unknown function : NOSUCH"},
      {"nosuch(1)", "E Unknown function : NOSUCH"},
      {"TRUE (1)", "E Unknown function : TRUE "},
      {"abc(1", "E Unknown function : "},
      {"NOTE", "E Unknown function : NOTE"},  // "not" is a prefix only before a blank, ( [ or '
      {"[A-B]", "E Unknown function : A-B"},  // names in brackets are never changed
      {"AppName", "S "},
      {"appname", "S "},
      {"APPNAME", "S "},
  });
}

TEST(Evaluator, NestingDeeperThanTheLimitIsAnErrorValueNotAStackOverflow) {
  const int n = TRBEvaluator::kMaxNesting;
  EXPECT_EQ(Evaluate(std::string(n - 1, '(') + "1" + std::string(n - 1, ')')), "I 1");
  const std::string deep = std::string(n + 1, '(') + "1" + std::string(n + 1, ')');
  EXPECT_EQ(Evaluate(deep).substr(0, 23), "E Error in expression :");
  EXPECT_EQ(Evaluate(std::string(100000, '(') + "1" + std::string(100000, ')')).substr(0, 23),
            "E Error in expression :");
  EXPECT_EQ(Evaluate(std::string(n - 1, '-') + "1"), "I -1");
  EXPECT_EQ(Evaluate(std::string(5000, '-') + "1").substr(0, 23), "E Error in expression :");
  std::string calls;
  for (int i = 0; i < 5000; ++i) calls += "TYPEOF(";
  TRBEvaluator e;
  e.CompileExpression(calls + "1" + std::string(5000, ')'));
  bool refused = false;
  for (std::size_t i = 0; i < e.Program()->Count(); ++i)
    if (auto* error = dynamic_cast<TRBEvElementError*>(e.Program()->Item(i)))
      refused = error->Message.starts_with("Error in expression :");
  EXPECT_TRUE(refused);
  std::string chain = "1";
  for (int i = 0; i < 5000; ++i) chain += "+1";
  EXPECT_EQ(Evaluate(chain).substr(0, 23), "E Error in expression :");
  std::string longChain = "1";
  for (int i = 0; i < 2000; ++i) longChain += "+1";
  EXPECT_EQ(Evaluate(longChain), "I 2001");
}

TEST(Evaluator, AChainOfVariablesTooLongIsAnErrorValueNotAStackOverflow) {
  TRBEvEnvironment env;
  for (int i = 0; i < 2000; ++i) env.DefineVariable("V" + std::to_string(i), "V" + std::to_string(i + 1) + "+1");
  env.DefineVariable("V2000", "0");
  env.DefineVariable("W0", "W1+1");
  for (int i = 1; i < 300; ++i) env.DefineVariable("W" + std::to_string(i), "W" + std::to_string(i + 1) + "+1");
  env.DefineVariable("W300", "0");
  env.Activate();
  EXPECT_EQ(Evaluate("V0", &env).substr(0, 23), "E Error in expression :");
  EXPECT_EQ(Evaluate("W0", &env), "I 300");
  env.Deactivate();
}

TEST(Evaluator, ArgumentSeparatorsInsideQuotesBracketsOrParenthesesDoNotSplit) {
  EXPECT_EQ(FindArgumentSeparator("'a,b',c"), 5u);
  EXPECT_EQ(FindArgumentSeparator("[a,b],c"), 5u);
  EXPECT_EQ(FindArgumentSeparator("f(a,b),c"), 6u);
  EXPECT_EQ(FindArgumentSeparator("a,"), std::string_view::npos);  // the last character never separates
  Check({
      {"IF(TRUE,'a,b','c')", "S a,b"},
      {"COPY('a,b,c', 3, 3)", "S b,c"},
  });
}

TEST(Evaluator, AnEmptyArgumentCompilesToAnErrorElement) {
  TRBEvaluator e;
  e.CompileExpression("IF(,1,2)");
  auto* first = dynamic_cast<TRBEvElementError*>(e.Program()->Item(1));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Message, "Error in expression : ");
}

TEST(Evaluator, RunningWithoutAProgramRaisesAndCompilingTwiceKeepsOneProgram) {
  TRBEvaluator e;
  TRBEvResultRecord r;
  EXPECT_THROW(e.RunProgram(r), ERBExpressionError);
  EXPECT_THROW(e.Accumulate(), ERBExpressionError);
  e.ClearAggregates();
  EXPECT_FALSE(e.HasAggregates());
  e.CompileExpression("1+1");
  e.CompileExpression("2*3");
  e.RunProgram(r);
  EXPECT_EQ(Shown(r), "I 6");
  e.RunProgram(r);
  EXPECT_EQ(Shown(r), "I 6");
  e.DiscardProgram();
  EXPECT_FALSE(e.Compiled());
  EXPECT_THROW(e.RunProgram(r), ERBExpressionError);
}

TEST(Evaluator, ThePrefixProgramHoldsTheOperatorBeforeItsOperands) {
  TRBEvaluator e;
  e.CompileExpression("1-2-3");
  TRBFiFo* p = e.Program();
  ASSERT_EQ(p->Count(), 5u);
  auto* outer = dynamic_cast<TRBEvElementOperator*>(p->Item(0));
  auto* inner = dynamic_cast<TRBEvElementOperator*>(p->Item(1));
  ASSERT_TRUE(outer && inner);
  EXPECT_EQ(outer->Operation, eoSubtract);
  EXPECT_EQ(inner->Operation, eoSubtract);
  EXPECT_EQ(dynamic_cast<TRBEvElementConstant*>(p->Item(4))->Constant.IntegerValue, 3);
}

TEST(Evaluator, TextsStoredIntoARecordAreCutTo255Bytes) {
  const std::string a(200, 'a'), b(200, 'b');
  const std::string r = Evaluate("'" + a + "'+'" + b + "'");
  EXPECT_EQ(r, "S " + a + std::string(55, 'b'));
  EXPECT_EQ(Evaluate("'" + std::string(300, 'x') + "'"), "S " + std::string(255, 'x'));
}

}  // namespace
