#include "base/SupDomaine.h"

namespace SupDomaine {

TypeDomaineHebdomadaire& PeriodeDeTravail() {
  static TypeDomaineHebdomadaire periode = TMethodesDomaine::Annee();
  return periode;
}

void Initialiser() { PeriodeDeTravail() = TMethodesDomaine::Annee(); }

}  // namespace SupDomaine
