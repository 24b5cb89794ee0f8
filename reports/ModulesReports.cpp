#include "reports/ModulesReports.h"

#include "reports/RBExpr.h"

std::span<const TModule> ModulesReports() {
  static const TModule kTable[] = {
      {"RBExpr", RBExpr::Initialiser, RBExpr::Finaliser},
  };
  return kTable;
}
