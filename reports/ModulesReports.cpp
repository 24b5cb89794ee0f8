#include "reports/ModulesReports.h"

#include "reports/RBEnvEd.h"
#include "reports/RBExpBld.h"
#include "reports/RBExportLinks.h"
#include "reports/RBExpr.h"
#include "reports/BandRpt.h"
#include "reports/RBChaines.h"
#include "reports/RBPrinter.h"
#include "reports/RBSearch.h"

std::span<const TModule> ModulesReports() {
  static const TModule kTable[] = {
      {"RBExpr", RBExpr::Initialiser, RBExpr::Finaliser},
      {"BandRpt", BandRpt::Initialiser, BandRpt::Finaliser},
      {"RBSearch", RBSearch::Initialiser, RBSearch::Finaliser},
      {"RBExportLinks", RBExportLinks::Initialiser, RBExportLinks::Finaliser},
      {"RBPrinter", RBPrinter::Initialiser, RBPrinter::Finaliser},
      {"RBChaines", RBChaines::Initialiser, RBChaines::Finaliser},
      {"RBExpBld", RBExpBld::Initialiser, RBExpBld::Finaliser},
      {"RBEnvEd", RBEnvEd::Initialiser, RBEnvEd::Finaliser},
  };
  return kTable;
}
