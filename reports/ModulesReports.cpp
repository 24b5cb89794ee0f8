#include "reports/ModulesReports.h"

#include "reports/RBExportLinks.h"
#include "reports/RBExpr.h"

std::span<const TModule> ModulesReports() {
  static const TModule kTable[] = {
      {"RBExpr", RBExpr::Initialiser, RBExpr::Finaliser},
      {"RBExportLinks", RBExportLinks::Initialiser, RBExportLinks::Finaliser},
  };
  return kTable;
}
