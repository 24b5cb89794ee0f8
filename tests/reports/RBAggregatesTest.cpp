// Aggregates as a report drives them: clear once, one aggregation pass per record, a normal
// evaluation whenever the value prints; and dataset fields read through the evaluator.
#include <gtest/gtest.h>

#include <string>

#include "core/values/DateTime.h"
#include "core/values/Format.h"
#include "platform/data/DataSet.h"
#include "reports/RBExpr.h"
#include "tests/reports/Valeurs.h"

namespace {

// A dataset "Data" with one column V of the given type and one row per value.
class Records {
 public:
  Records(TFieldType Type, std::vector<TFieldValue> Values, bool DefaultFields = false) : data_(nullptr, "Data") {
    data_.DefineFields({{"V", Type}, {"Name", TFieldType::ftString}}, DefaultFields);
    for (auto& v : Values) data_.AppendRow({v, TFieldValue::OfText("n")});
    data_.Open();
    list_.push_back(&data_);
  }

  // Compiles the expression over the dataset, clears, accumulates record by record, and returns
  // the value printed at the end.
  std::string Total(std::string_view Expression, TRBEvEnvironment* Local = nullptr) {
    TRBEvaluator e;
    e.SetDataSetList(&list_);
    e.LocalEnvironment = Local;
    e.CompileExpression(Expression);
    e.ClearAggregates();
    for (data_.First(); !data_.Eof(); data_.Next()) e.Accumulate();
    TRBEvResultRecord r;
    e.RunProgram(r);
    return Shown(r);
  }

  TMemDataSet& Data() { return data_; }
  TRBDataSetList& List() { return list_; }

 private:
  TMemDataSet data_;
  TRBDataSetList list_;
};

using V = TFieldValue;

TEST(Aggregates, SumAverageMaxMinAndCountOverRecords) {
  struct Case {
    TFieldType Type;
    std::vector<TFieldValue> Values;
    const char* Expression;
    const char* Expected;
  };
  const Case kCases[] = {
      {TFieldType::ftInteger, {}, "SUM(V)", "I 0"},
      {TFieldType::ftInteger, {V::OfInteger(1), V::OfInteger(2)}, "SUM(V)", "I 3"},
      {TFieldType::ftInteger, {V::OfInteger(1), V::OfInteger(2)}, "AVERAGE(V)", "F 1.5"},
      {TFieldType::ftInteger, {}, "AVERAGE(V)", "F 0"},
      {TFieldType::ftInteger, {V::OfInteger(2147483647), V::OfInteger(1)}, "SUM(V)", "F 2147483648"},
      {TFieldType::ftInteger, {V::OfInteger(5), V::OfInteger(-3), V::OfInteger(9)}, "MAX(V)", "I 9"},
      {TFieldType::ftInteger, {V::OfInteger(5), V::OfInteger(-3), V::OfInteger(9)}, "MIN(V)", "I -3"},
      {TFieldType::ftInteger, {}, "MAX(V)", "I 0"},
      {TFieldType::ftInteger, {V::OfInteger(1), V::OfInteger(2), V::OfInteger(3)}, "COUNT", "I 3"},
      {TFieldType::ftInteger, {V::OfInteger(1), V::OfInteger(2)}, "SUM(V)+COUNT", "I 5"},
      {TFieldType::ftInteger, {V::OfInteger(1)}, "SUM(V, V)", "I 0"},
      {TFieldType::ftFloat, {V::OfFloat(1.5), V::OfFloat(2.25)}, "SUM(V)", "F 3.75"},
      {TFieldType::ftBoolean, {V::OfBoolean(true), V::OfBoolean(false)}, "MIN(V)", "B false"},
      {TFieldType::ftBoolean, {V::OfBoolean(false), V::OfBoolean(true)}, "MAX(V)", "B true"},
      {TFieldType::ftBoolean, {V::OfBoolean(true)}, "SUM(V)", "E "},
      {TFieldType::ftString, {V::OfText("pear"), V::OfText("apple"), V::OfText("plum")}, "MIN(V)", "S apple"},
      {TFieldType::ftString, {V::OfText("pear"), V::OfText("apple"), V::OfText("plum")}, "MAX(V)", "S plum"},
      {TFieldType::ftString, {V::OfText("a")}, "SUM(V)", "E "},
  };
  for (const Case& c : kCases) {
    Records r(c.Type, c.Values);
    EXPECT_EQ(r.Total(c.Expression), c.Expected) << c.Expression;
  }
}

TEST(Aggregates, IntegersAndFloatsAddIntoOneTotalAndCompareByValue) {
  TMemDataSet data(nullptr, "Data");
  data.DefineFields({{"I", TFieldType::ftInteger}, {"F", TFieldType::ftFloat}, {"S", TFieldType::ftString}});
  data.AppendRow({V::OfInteger(1), V::OfFloat(2.5), V::OfText("x")});
  data.AppendRow({V::OfInteger(4), V::OfFloat(0.5), V::OfText("y")});
  data.Open();
  TRBDataSetList list{&data};
  struct Case {
    const char* Expression;
    const char* Expected;
  };
  const Case kCases[] = {
      {"SUM(IF(Data.S='x', I, F))", "F 1.5"},   // 1 then 0.5
      {"SUM(IF(Data.S='x', F, I))", "F 6.5"},   // 2.5 then 4
      {"SUM(IF(Data.S='x', I, F*5))", "F 3.5"}, // 1 then 2.5
      {"MAX(IF(Data.S='x', I, F))", "I 1"},     // 0.5 is below 1
      {"MAX(IF(Data.S='x', F, I))", "I 4"},     // 4 above 2.5 replaces it whole
      {"MIN(IF(Data.S='x', I, S))", "I 1"},     // a later value of another kind is ignored
      {"SUM(IF(Data.S='x', I, TRUE))", "I 1"},  // booleans change nothing
      {"SUM(IF(Data.S='x', I, S))", "E "},      // a text spoils the total
  };
  for (const Case& c : kCases) {
    TRBEvaluator e;
    e.SetDataSetList(&list);
    e.CompileExpression(c.Expression);
    e.ClearAggregates();
    for (data.First(); !data.Eof(); data.Next()) e.Accumulate();
    TRBEvResultRecord r;
    e.RunProgram(r);
    EXPECT_EQ(Shown(r), c.Expected) << c.Expression;
  }
}

TEST(Aggregates, ANormalPassReadsTheStateAndClearingStartsAgain) {
  Records r(TFieldType::ftInteger, {V::OfInteger(2), V::OfInteger(3)});
  TRBEvaluator e;
  e.SetDataSetList(&r.List());
  e.CompileExpression("SUM(V)");
  EXPECT_TRUE(e.HasAggregates());
  e.ClearAggregates();
  r.Data().First();
  e.Accumulate();
  TRBEvResultRecord v;
  e.RunProgram(v);
  e.RunProgram(v);
  EXPECT_EQ(Shown(v), "I 2");
  e.ClearAggregates();
  e.RunProgram(v);
  EXPECT_EQ(Shown(v), "I 0");
  TRBEvaluator plain;
  plain.CompileExpression("1+2");
  EXPECT_FALSE(plain.HasAggregates());
}

TEST(DataFields, EachFieldClassGivesItsKindAndNamesMatchWithoutCase) {
  TMemDataSet data(nullptr, "Pupils");
  data.DefineFields({{"Name", TFieldType::ftString},
                     {"Age", TFieldType::ftSmallint},
                     {"Hours", TFieldType::ftWord},
                     {"Fee", TFieldType::ftCurrency},
                     {"Mark", TFieldType::ftBCD},
                     {"Boarder", TFieldType::ftBoolean},
                     {"Born", TFieldType::ftDate},
                     {"Arrives", TFieldType::ftTime},
                     {"Seen", TFieldType::ftDateTime},
                     {"Blob", TFieldType::ftUnknown}});
  const TDateTime born = DateTime::EncodeDate(2010, 5, 4);
  const TDateTime at = DateTime::EncodeTime(8, 30, 0, 0);
  data.AppendRow({V::OfText(std::string(300, 'n')), V::OfInteger(15), V::OfInteger(30), V::OfFloat(12.5),
                  V::OfFloat(3.25), V::OfBoolean(true), V::OfFloat(born), V::OfFloat(at), V::OfFloat(born + at),
                  V::OfText("?")});
  data.Open();
  TRBDataSetList list{&data};
  struct Case {
    const char* Expression;
    std::string Expected;
  };
  const Case kCases[] = {
      {"NAME", "S " + std::string(255, 'n')},
      {"age+1", "I 16"},
      {"[Pupils.Hours]", "I 30"},
      {"pupils.fee", "F 12.5"},
      {"Mark", "F 3.25"},
      {"Boarder", "B true"},
      {"Born", "S 04/05/2010"},
      {"Arrives", "S 08:30:00"},
      {"Seen", "S 04/05/2010 08:30:00"},
      {"Blob", "E Field Blob is of unknown type"},
      {"Other.Age", "E Unknown function : OTHER.AGE"},  // no dataset of that name
      {"[.Age]", "I 15"},
  };
  for (const Case& c : kCases) {
    TRBEvaluator e;
    e.SetDataSetList(&list);
    TRBEvResultRecord r;
    e.EvaluateText(c.Expression, r);
    EXPECT_EQ(Shown(r), c.Expected) << c.Expression;
  }
}

TEST(DataFields, ADatasetThatMakesItsFieldsAnewIsReadThroughTheNewFields) {
  Records r(TFieldType::ftInteger, {V::OfInteger(7)}, true);
  TRBEvaluator e;
  e.SetDataSetList(&r.List());
  e.CompileExpression("V*2");
  r.Data().Close();
  r.Data().Open();  // the old field objects are gone
  TRBEvResultRecord v;
  e.RunProgram(v);
  EXPECT_EQ(Shown(v), "I 14");
}

TEST(DataFields, TheFirstDatasetHoldingTheFieldWins) {
  TMemDataSet a(nullptr, "A"), b(nullptr, "B");
  a.DefineFields({{"X", TFieldType::ftInteger}});
  b.DefineFields({{"X", TFieldType::ftInteger}, {"Y", TFieldType::ftInteger}});
  a.AppendRow({V::OfInteger(1)});
  b.AppendRow({V::OfInteger(2), V::OfInteger(3)});
  a.Open();
  b.Open();
  TRBDataSetList list{&a, &b};
  TRBEvaluator e;
  e.SetDataSetList(&list);
  TRBEvResultRecord r;
  e.EvaluateText("X*100+b.X*10+Y", r);
  EXPECT_EQ(Shown(r), "I 123");
}

TEST(MemDataSet, WalksItsRecordsAndRefusesWhatAClosedDatasetCannotDo) {
  TMemDataSet d(nullptr, "D");
  d.DefineFields({{"N", TFieldType::ftInteger}});
  d.AppendRow({V::OfInteger(1)});
  d.AppendRow({V::OfInteger(2)});
  EXPECT_THROW(d.AppendRow({}), EDatabaseError);
  EXPECT_THROW((void)d.RecordCount(), EDatabaseError);
  EXPECT_TRUE(d.Eof());
  d.Open();
  EXPECT_EQ(d.RecordCount(), 2);
  EXPECT_EQ(d.Fields(0)->AsInteger(), 1);
  d.Next();
  EXPECT_EQ(d.FindField("n")->AsInteger(), 2);
  d.Next();
  EXPECT_TRUE(d.Eof());
  EXPECT_TRUE(d.Fields(0)->IsNull());  // past the last record
  d.Prior();
  EXPECT_EQ(d.Fields(0)->AsInteger(), 2);
  EXPECT_EQ(d.Fields(1), nullptr);
  EXPECT_THROW(d.DefineFields({}), EDatabaseError);
  d.DefineParams({{"FROM", TFieldType::ftDate, {}}});
  ASSERT_EQ(d.ParamCount(), 1);
  EXPECT_EQ(d.Params(0)->DataType, TFieldType::ftDate);
  EXPECT_EQ(d.Params(1), nullptr);
}

}  // namespace

namespace {

TEST(MemDataSet, IsAComponentThatItsOwnerFindsByNameAndFrees) {
  TComponent form(nullptr);
  form.SetName("Form1");
  auto* pupils = new TMemDataSet(&form, "Pupils");
  pupils->DefineFields({{"Age", TFieldType::ftInteger}});
  pupils->AppendRow({TFieldValue::OfInteger(12)});
  pupils->Open();
  EXPECT_EQ(form.FindComponent("PUPILS"), pupils);
  TRBDataSetList list{pupils};
  TRBEvaluator e;
  e.SetDataSetList(&list);
  TRBEvResultRecord r;
  e.EvaluateText("pupils.age", r);
  EXPECT_EQ(Shown(r), "I 12");
  pupils->SetName("Other");
  e.EvaluateText("pupils.age", r);
  EXPECT_EQ(Shown(r), "E Unknown function : PUPILS.AGE");
}  // the form frees the dataset (LeakSanitizer checks)

}  // namespace
