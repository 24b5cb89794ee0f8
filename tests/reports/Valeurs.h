// How the report tests write an expression's value: the kind, then integers in decimal, floats in
// their general text, texts and messages as they are, booleans as true or false ("I 7", "F 3.5",
// "S abc", "B true", "E Cannot divide by 0").
#pragma once

#include <string>
#include <string_view>

#include "core/values/Format.h"
#include "reports/RBExpr.h"

inline std::string Shown(const TRBEvResultRecord& r) {
  switch (r.Kind) {
    case rkInteger: return "I " + std::to_string(r.IntegerValue);
    case rkFloat: return "F " + FloatToStrGeneral(r.FloatValue, 15);
    case rkString: return "S " + r.Text;
    case rkBoolean: return r.BooleanValue ? "B true" : "B false";
    case rkError: break;
  }
  return "E " + r.Text;
}

// Compiles, runs and discards the text, with a report environment searched first.
inline std::string Evaluate(std::string_view Text, TRBEvEnvironment* Local = nullptr) {
  TRBEvaluator e;
  e.LocalEnvironment = Local;
  TRBEvResultRecord r;
  e.EvaluateText(Text, r);
  return Shown(r);
}
