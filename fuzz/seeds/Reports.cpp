// Seeds of the report library's readers: expressions (with the variable V after a NUL byte) and
// the text form of a report's environment.
#include <string>

#include "fuzz/seeds/Semences.h"
#include "reports/BandRptFiles.h"
#include "reports/RBCtrls.h"
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

// Stored reports: every class, groups, a sub-detail, two columns, stretching labels and shapes.
void SemencesRapports() {
  TForm form(nullptr);
  auto* r = new TBandRep(&form);
  r->SetName("Report");
  r->SetParent(&form);
  r->ReportTitle = "Report";
  r->Page.SetColumns(2);
  auto* data = new TMemDataSet(r, "Lines");
  data->DefineFields({{"G", TFieldType::ftString}, {"N", TFieldType::ftInteger}, {"F", TFieldType::ftFloat}});
  r->SetDataSet(data);
  for (TRBBandType t : {rbTitle, rbPageHeader, rbColumnHeader, rbDetail, rbPageFooter, rbSummary}) r->CreateBand(t);
  TRBCustomBand* detail = r->Bands.Band(rbDetail);
  detail->SetHasChild(true);
  detail->Frame.DrawTop = detail->Frame.DrawBottom = true;
  r->Bands.Band(rbSummary)->AlignToBottom = true;
  auto* group = new TRBGroup(&form);
  group->SetName("Group1");
  group->SetParent(r);
  group->Expression = "G";
  group->ReprintOnNewPage = true;
  TRBCustomBand* footer = r->CreateBand(rbGroupFooter);
  group->SetFooterBand(footer);
  auto* notes = new TMemDataSet(r, "Notes");
  notes->DefineFields({{"Note", TFieldType::ftString}});
  auto* sub = new TRBSubDetail(&form);
  sub->SetName("SubDetail1");
  sub->SetParent(r);
  sub->SetDataSet(notes);
  sub->Bands.SetHasHeader(true);
  auto* label = new TRBLabel(&form);
  label->SetName("Label1");
  label->SetParent(detail);
  label->AutoSize = false;
  label->AutoStretch = true;
  label->SetLabelCaption("A long text that wraps over several lines of a narrow label, with a verylongwordindeed");
  auto* expr = new TRBExpr(&form);
  expr->SetName("Expr1");
  expr->SetParent(footer);
  expr->SetExpression("SUM(N)+AVERAGE(F)");
  expr->SetMask("#,##0.00");
  expr->ResetAfterPrint = true;
  auto* page = new TRBExpr(&form);
  page->SetName("Expr2");
  page->SetParent(r->Bands.Band(rbPageFooter));
  page->SetExpression("'Page '+STR(PAGENUMBER)");
  auto* shape = new TRBShape(&form);
  shape->SetName("Shape1");
  shape->SetParent(r->Bands.Band(rbTitle));
  shape->SetShape(rbsDegrade);
  shape->Brush.Color = Couleurs::clNavy;
  Ecrire("RapportBandes", "every-class", Texte(BandRptFiles::WriteReport(*r)));
  r->Page.SetColumns(1);
  detail->ForceNewPage = true;
  Ecrire("RapportBandes", "new-pages", Texte(BandRptFiles::WriteReport(*r)));
}

}  // namespace

void Reports() {
  SemencesExpressions();
  SemencesTexteObjet();
  SemencesRapports();
}

}  // namespace Semences
