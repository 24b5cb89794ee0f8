#include <gtest/gtest.h>

#include <string>

#include "core/objects/Exceptions.h"
#include "core/values/Format.h"
#include "platform/data/DataSet.h"
#include "reports/RBExpr.h"
#include "tests/reports/Valeurs.h"

namespace {

TEST(Environment, VariablesAreFoundByNameWithoutCaseAndTheLocalOnesFirst) {
  TRBEvEnvironment env;
  env.DefineVariable("Rate", "2");
  env.DefineVariable("Total", "rate*10");
  env.DefineVariable("appname", "'mine'");
  EXPECT_EQ(env.Names(0), "RATE");
  env.Activate();
  EXPECT_EQ(Evaluate("TOTAL+1", &env), "I 21");
  EXPECT_EQ(Evaluate("[total]", &env), "I 20");
  EXPECT_EQ(Evaluate("AppName", &env), "S mine");
  EXPECT_EQ(Evaluate("AppName", nullptr), "S ");
  EXPECT_EQ(Evaluate("Missing", &env), "E Unknown function : MISSING");
  TRBEvResultRecord r;
  env.VariableValue("total", r);
  EXPECT_EQ(Shown(r), "I 20");
  env.VariableValue("nope", r);
  EXPECT_EQ(Shown(r), "E ");
  env.Deactivate();
}

TEST(Environment, AVariableThatRefersToItselfIsARecursiveCallNotAnEndlessOne) {
  TRBEvEnvironment env;
  env.DefineVariable("X", "X+1");
  env.DefineVariable("A", "B");
  env.DefineVariable("B", "A*2");
  env.Activate();
  EXPECT_EQ(Evaluate("X", &env), "E Recursive calls not allowed");
  EXPECT_EQ(Evaluate("A", &env), "E Recursive calls not allowed");
  EXPECT_FALSE(env.Variables(0)->Busy);
  env.Deactivate();
}

TEST(Environment, DefiningAListedNameKeepsTheFirstExpressionAndCompilesNothing) {
  TRBEvEnvironment env;
  env.DefineVariable("PAGE", "0");
  env.DefineVariable("Other", "1");
  env.Activate();
  TRBEvElement* constant = env.ConstantElement("page");
  ASSERT_TRUE(constant);
  env.DefineVariable("page", "99");
  EXPECT_EQ(env.Count(), 2);
  EXPECT_EQ(env.Variables(0)->ExpressionText, "0");
  EXPECT_EQ(env.ConstantElement("PAGE"), constant);
  EXPECT_EQ(env.ConstantElement("OTHER"), env.Variables(1)->OwnEvaluator.Program()->Item(0));
  // A variable defined in an active environment is ready at once.
  env.DefineVariable("Late", "PAGE+5");
  EXPECT_EQ(Evaluate("LATE", &env), "I 5");
  env.Deactivate();
  EXPECT_EQ(env.ConstantElement("PAGE"), nullptr);  // not compiled any more
  EXPECT_EQ(env.ConstantElement("NOPE"), nullptr);
}

TEST(Environment, StoredConstantsAreSeenByEveryReferringExpression) {
  TRBEvEnvironment env;
  env.DefineVariable("PAGENUMBER", "0");
  env.DefineVariable("REPORTTITLE", "''");
  env.Activate();
  TRBEvaluator a, b;
  a.LocalEnvironment = b.LocalEnvironment = &env;
  a.CompileExpression("PAGENUMBER+1");
  b.CompileExpression("'Page '+PAGENUMBER+' of '+REPORTTITLE");
  TRBEvElement* page = env.ConstantElement("PAGENUMBER");
  TRBEvElement* title = env.ConstantElement("REPORTTITLE");
  TRBEvEnvironment::StoreInteger(page, 7);
  TRBEvEnvironment::StoreText(title, "Staff");
  TRBEvResultRecord r;
  a.RunProgram(r);
  EXPECT_EQ(Shown(r), "I 8");
  b.RunProgram(r);
  EXPECT_EQ(Shown(r), "S Page 7 of Staff");
  TRBEvEnvironment::StoreResult(page, TRBEvResultRecord::OfFloat(2.5));
  TRBEvEnvironment::StoreResult(title, TRBEvResultRecord::OfInteger(3));  // not a text: ignored
  TRBEvEnvironment::StoreText(page, "ignored");
  TRBEvEnvironment::StoreInteger(title, 9);
  b.RunProgram(r);
  EXPECT_EQ(Shown(r), "S Page 2.5 of Staff");
  a.DiscardProgram();
  b.DiscardProgram();
  env.Deactivate();
}

TEST(Environment, AVariableKeepsItsOwnAggregatesWhileTheReferringExpressionAccumulates) {
  TRBEvEnvironment env;
  env.DefineVariable("S", "SUM(1)");
  env.Activate();
  TRBEvaluator e;
  e.LocalEnvironment = &env;
  e.CompileExpression("S + SUM(1)");
  e.ClearAggregates();
  for (int i = 0; i < 3; ++i) e.Accumulate();
  TRBEvResultRecord r;
  e.RunProgram(r);
  EXPECT_EQ(Shown(r), "I 3");
  env.VariableValue("S", r);
  EXPECT_EQ(Shown(r), "I 0");
  e.DiscardProgram();
  env.Deactivate();
}

TEST(Environment, AVariableOfAnEnvironmentNeverActivatedRaises) {
  TRBEvEnvironment env;
  env.DefineVariable("X", "1");
  TRBEvResultRecord r;
  EXPECT_THROW(env.VariableValue("X", r), ERBExpressionError);
  EXPECT_FALSE(env.Variables(0)->Busy);
}

TEST(Environment, ActivationsNestAndTheCountNeverGoesBelowZero) {
  TRBEvEnvironment env;
  env.DefineVariable("X", "1");
  EXPECT_FALSE(env.IsActive());
  env.Deactivate();
  EXPECT_EQ(env.ActivationCount(), 0);
  env.Activate();
  env.Activate();
  EXPECT_TRUE(env.Variables(0)->OwnEvaluator.Compiled());
  env.Deactivate();
  EXPECT_TRUE(env.Variables(0)->OwnEvaluator.Compiled());
  env.Deactivate();
  EXPECT_FALSE(env.Variables(0)->OwnEvaluator.Compiled());
  env.Deactivate();
  EXPECT_EQ(env.ActivationCount(), 0);
  env.Activate();
  EXPECT_TRUE(env.Variables(0)->OwnEvaluator.Compiled());
  env.Deactivate();
}

TEST(Environment, AfterAnySequenceOfCompilesAndDiscardsTheSharedCountIsBackToItsStart) {
  TRBEvEnvironment* shared = SharedEnvironment();
  ASSERT_TRUE(shared);
  {
    TRBEvaluator warm;
    warm.CompileExpression("1");  // the first activation compiles the shared variables
  }
  const int32_t start = shared->ActivationCount();
  EXPECT_TRUE(shared->Variables(0)->OwnEvaluator.Compiled());
  {
    TRBEvEnvironment env;
    env.DefineVariable("A", "1");
    env.DefineVariable("B", "A+AppName");
    TRBEvaluator e1, e2;
    e1.CompileExpression("1");
    e1.CompileExpression("2");
    env.Activate();
    env.DefineVariable("C", "B");
    env.DefineVariable("A", "ignored");
    e2.LocalEnvironment = &env;
    e2.CompileExpression("C");
    TRBEvResultRecord r;
    e2.EvaluateText("B", r);
    EXPECT_EQ(Shown(r), "S 1");
    env.Activate();
    env.Deactivate();
    env.Deactivate();
    e1.DiscardProgram();
    e1.DiscardProgram();
    env.Activate();
    env.RemoveVariable("B");
    env.Load({"X", "Y"}, {"1", "X"});
  }  // the evaluators and the environment go
  EXPECT_EQ(shared->ActivationCount(), start);
  EXPECT_TRUE(shared->Variables(0)->OwnEvaluator.Compiled());
}

TEST(Environment, AReferenceToARemovedVariableIsAnUnknownName) {
  TRBEvEnvironment env;
  env.DefineVariable("X", "5");
  env.Activate();
  TRBEvaluator e;
  e.LocalEnvironment = &env;
  e.CompileExpression("X*2");
  TRBEvResultRecord r;
  e.RunProgram(r);
  EXPECT_EQ(Shown(r), "I 10");
  env.RemoveVariable("x");
  EXPECT_EQ(env.Count(), 0);
  e.RunProgram(r);
  EXPECT_EQ(Shown(r), "E Unknown function : X");
  env.Deactivate();
}

TEST(Environment, StoredNamesAndExpressionsLoadBackAndMismatchedListsAreRefused) {
  TRBEvEnvironment env;
  env.DefineVariable("Pagenumber", "0");
  env.DefineVariable("Title", "'It''s'");
  TRBEvEnvironment copy;
  std::vector<std::string> names;
  for (int i = 0; i < env.Count(); ++i) names.push_back(env.Names(i));
  copy.Load(names, env.Data());
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Names(1), "TITLE");
  EXPECT_EQ(copy.Variables(1)->ExpressionText, "'It''s'");
  EXPECT_THROW(copy.Load({"A"}, {}), EReadError);
  EXPECT_THROW(copy.Load({}, {"1"}), EReadError);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Data(), env.Data());
}

TEST(Environment, TheDatasetsOfAnEnvironmentServeItsVariables) {
  TMemDataSet d(nullptr, "D");
  d.DefineFields({{"N", TFieldType::ftInteger}});
  d.AppendRow({TFieldValue::OfInteger(4)});
  d.Open();
  TRBEvEnvironment env;
  env.DataSetList()->push_back(&d);
  env.DefineVariable("Twice", "N*2");
  env.Activate();
  EXPECT_EQ(Evaluate("TWICE", &env), "I 8");
  env.Deactivate();
  TRBDataSetList other;
  env.SetDataSetList(&other);
  EXPECT_EQ(env.DataSetList(), &other);
}

TEST(SharedEnvironment, HoldsTheStartTimeDateAndTitleWithQuotesDoubled) {
  TRBEvEnvironment* shared = SharedEnvironment();
  ASSERT_EQ(shared->Count(), 3);
  EXPECT_EQ(shared->Names(0), "APPSTARTTIME");
  EXPECT_EQ(shared->Names(1), "APPSTARTDATE");
  EXPECT_EQ(shared->Names(2), "APPNAME");
  EXPECT_EQ(shared->Variables(1)->ExpressionText.size(), 12u);  // 'dd/mm/yyyy'
  EXPECT_EQ(shared->Variables(0)->ExpressionText.size(), 10u);  // 'hh:mm:ss'
  // A title given before the unit starts, quote and all.
  RBExpr::Finaliser();
  RBExpr::SetApplicationTitle("Bob's timetable");
  RBExpr::Initialiser();
  EXPECT_EQ(Evaluate("AppName", nullptr), "S Bob's timetable");
  RBExpr::Finaliser();
  RBExpr::SetApplicationTitle("");
  RBExpr::Initialiser();
  EXPECT_EQ(Evaluate("appname", nullptr), "S ");
}

}  // namespace

namespace {

TEST(EnvironmentText, AnEnvironmentWrittenInTheTextFormReadsBackWithTheSameNamesOrderAndExpressions) {
  TRBEvEnvironment env;
  env.DefineVariable("PageNumber", "0");
  env.DefineVariable("ColumnNumber", "0");
  env.DefineVariable("ReportTitle", "''");
  env.DefineVariable("Label", "'Total: '+STR(SUM(1))\r\n");
  ObjectText::TTextObject report{"BandRep1", "TBandRep", {}, {}};
  env.WriteProperties(report, "Functions.");
  const std::string text = ObjectText::Write(report);
  EXPECT_NE(text.find("  Functions.DATA = (\r\n    '0'\r\n    '0'\r\n    ''''''\r\n"), std::string::npos);
  TRBEvEnvironment back;
  back.DefineVariable("Stale", "1");
  back.ReadProperties(ObjectText::Read(text), "Functions.");
  ASSERT_EQ(back.Count(), env.Count());
  for (int i = 0; i < env.Count(); ++i) {
    EXPECT_EQ(back.Names(i), env.Names(i));
    EXPECT_EQ(back.Variables(i)->ExpressionText, env.Variables(i)->ExpressionText);
  }
  back.Activate();
  TRBEvResultRecord r;
  back.VariableValue("REPORTTITLE", r);
  EXPECT_EQ(r.Kind, rkString);
  back.Deactivate();
}

TEST(EnvironmentText, DataWithMoreOrFewerStringsThanLinesIsRefusedAndChangesNothing) {
  TRBEvEnvironment env;
  env.DefineVariable("Kept", "1");
  const char* const kTexts[] = {
      "object R: T\n  F.Strings = ('A' 'B')\n  F.DATA = ('1')\nend",
      "object R: T\n  F.Strings = ('A')\n  F.DATA = ('1' '2')\nend",
      "object R: T\n  F.Strings = ('A')\nend",
      "object R: T\n  F.DATA = ('1')\nend",
      "object R: T\n  F.Strings = ('A')\n  F.DATA = (1)\nend",
  };
  for (const char* t : kTexts) {
    EXPECT_THROW(env.ReadProperties(ObjectText::Read(t), "F."), EReadError) << t;
    ASSERT_EQ(env.Count(), 1);
    EXPECT_EQ(env.Names(0), "KEPT");
  }
  env.ReadProperties(ObjectText::Read("object R: T\nend"), "F.");  // nothing stored
  EXPECT_EQ(env.Count(), 1);
  env.ReadProperties(ObjectText::Read("object R: T\n  F.DATA = ()\nend"), "F.");  // an empty environment
  EXPECT_EQ(env.Count(), 0);
}

}  // namespace
