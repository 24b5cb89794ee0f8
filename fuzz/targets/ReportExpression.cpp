// The report expression language: the text is compiled and run over an in-memory dataset and a
// report environment that holds a variable referring to itself, a constant the run writes, and a
// variable whose expression comes from the input too. Each record takes an aggregation pass and a
// normal one; then the aggregates are cleared and everything is discarded. Input: the expression,
// then optionally a NUL byte and the expression of the variable V.
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RapportsFuzz.h"
#include "platform/data/DataSet.h"
#include "reports/RBExpr.h"

namespace {

void Records(TMemDataSet& d) {
  using V = TFieldValue;
  d.DefineFields({{"N", TFieldType::ftInteger},
                  {"F", TFieldType::ftFloat},
                  {"S", TFieldType::ftString},
                  {"B", TFieldType::ftBoolean},
                  {"T", TFieldType::ftDateTime},
                  {"X", TFieldType::ftUnknown}},
                 true);
  d.AppendRow({V::OfInteger(2147483647), V::OfFloat(2.5), V::OfText("pear"), V::OfBoolean(true), V::OfFloat(46000.5),
               V::OfText("?")});
  d.AppendRow({V::OfInteger(-2147483647 - 1), V::OfFloat(-1e308), V::OfText(""), V::OfBoolean(false), V::OfFloat(-1e9),
               V{}});
  d.AppendRow({V{}, V{}, V{}, V{}, V{}, V{}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::DemarrerRapports();
  const std::string input(reinterpret_cast<const char*>(Data), Size);
  const std::size_t nul = input.find('\0');
  const std::string expression = input.substr(0, nul);
  const std::string variable = nul == std::string::npos ? "SUM(N)+COUNT" : input.substr(nul + 1);

  TRBEvEnvironment* shared = SharedEnvironment();
  {
    TRBEvaluator warm;
    warm.CompileExpression("1");
  }
  const int32_t start = shared->ActivationCount();
  {
    TMemDataSet d(nullptr, "D");
    Records(d);
    d.Open();
    TRBEvEnvironment env;
    env.DataSetList()->push_back(&d);
    env.DefineVariable("SELF", "SELF+1");
    env.DefineVariable("K", "0");
    env.DefineVariable("V", variable);
    env.Activate();
    TRBEvaluator e;
    e.SetDataSetList(env.DataSetList());
    e.LocalEnvironment = &env;
    e.CompileExpression(expression);
    e.ClearAggregates();
    TRBEvResultRecord r;
    int32_t k = 0;
    for (d.First(); !d.Eof(); d.Next()) {
      TRBEvEnvironment::StoreInteger(env.ConstantElement("K"), ++k);
      e.Accumulate();
      e.RunProgram(r);
      Fuzz::Verifier(r.Text.size() <= TRBEvResultRecord::kMaxText, "a text of at most 255 bytes");
    }
    e.ClearAggregates();
    env.VariableValue("V", r);
    env.VariableValue("SELF", r);
    Fuzz::Verifier(r.Kind == rkError, "a variable referring to itself is an error");
    d.Close();
    d.Open();  // new field objects
    e.RunProgram(r);
    env.RemoveVariable("V");
    e.RunProgram(r);
    e.DiscardProgram();
    env.Deactivate();
  }
  Fuzz::Verifier(shared->ActivationCount() == start, "the shared count is back to its start");
  return 0;
}
