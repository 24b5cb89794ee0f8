// Seeds of the report library's readers: expressions (with the variable V after a NUL byte) and
// the text form of a report's environment.
#include <string>

#include "fuzz/seeds/Semences.h"
#include "reports/RBExpr.h"

namespace Semences {
namespace {

void SemencesExpressions() {
  const char* const kExpressions[] = {
      "1+2*3",
      "10-4-3 or 1",
      "5--3*-2",
      "'Total : '+STR(SUM(N))+' / '+STR(COUNT)",
      "IF(B, UPPER(S), PRETTY('hELLO'))",
      "AVERAGE(F) + MAX(N) - MIN(F) / DIV(7.5, 2)",
      "not (N < 3) and (S = 'pear') or [D.N] > 0",
      "FORMATNUMERIC('#,##0.00;(0.00);''zero''', F)",
      "COPY(D.S, 0, 2) + TYPEOF(1/0) + T + X",
      "SELF + K + V + AppName + AppStartDate",
      "INT(FRAC(-2.75) * SQRT(16)) + TIME + DATE",
      "((((1))))+TRUE(1)+COUNT(1)+NOSUCH(2)+'it''s'",
  };
  int i = 0;
  for (const char* e : kExpressions) Ecrire("ReportExpression", "expression" + std::to_string(++i), Texte(e));
  Ecrire("ReportExpression", "variable", Texte("V*2") + Octets{0} + Texte("SUM(F)+V+SELF"));
}

void SemencesTexteObjet() {
  TRBEvEnvironment env;
  env.DefineVariable("PAGENUMBER", "0");
  env.DefineVariable("COLUMNNUMBER", "0");
  env.DefineVariable("REPORTTITLE", "''");
  env.DefineVariable("TOTAL", "'Total: '+STR(SUM(1))");
  ObjectText::TTextObject report{"BandRep1", "TBandRep", {}, {}};
  report.Add("Left", ObjectText::TTextValue::OfInteger(8));
  report.Add("Zoom", ObjectText::TTextValue::OfFloat(100.5));
  report.Add("Font.Style", ObjectText::TTextValue::OfSet({"fsBold"}));
  report.Add("Color", ObjectText::TTextValue::OfIdentifier("clWhite"));
  report.Add("Widths", ObjectText::TTextValue::OfFloats({1.5, -2}));
  env.WriteProperties(report, "Functions.");
  ObjectText::TTextObject band{"Band1", "TRBBand", {}, {}};
  band.Add("Caption", ObjectText::TTextValue::OfString("A\r\n\xE9'"));
  report.Children.push_back(band);
  Ecrire("ObjectText", "report", Texte(ObjectText::Write(report)));
  Ecrire("ObjectText", "continued", Texte("object A: T\n  X = 'a' +\n    'b'#13\n  Functions.DATA = ()\nend\n"));
}

}  // namespace

void Reports() {
  SemencesExpressions();
  SemencesTexteObjet();
}

}  // namespace Semences
