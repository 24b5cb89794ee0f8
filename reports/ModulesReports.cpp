#include "reports/ModulesReports.h"

#include "reports/RBExportLinks.h"
#include "reports/RBExpr.h"
#include "reports/RBPrinter.h"

std::span<const TModule> ModulesReports() {
  static const TModule kTable[] = {
      {"RBExpr", RBExpr::Initialiser, RBExpr::Finaliser},
      {"RBExportLinks", RBExportLinks::Initialiser, RBExportLinks::Finaliser},
      {"RBPrinter", RBPrinter::Initialiser, RBPrinter::Finaliser},
  };
  return kTable;
}
