#include "core/values/DureeStockee.h"

#include <algorithm>
#include <cmath>

namespace DureeStockee {

namespace {

// The comparison of two durations in days. The tolerance is for finite values only: two equal
// infinities would otherwise differ by NaN and compare "greater" both ways, opposite infinities
// would fall within an infinite tolerance, and NaN would be "greater" than anything.
int ComparerValeurs(double a, double b) {
  const bool aIndefini = std::isnan(a), bIndefini = std::isnan(b);
  if (aIndefini || bIndefini) return aIndefini == bIndefini ? 0 : (aIndefini ? -1 : 1);
  if (a == b) return 0;
  if (std::isinf(a) || std::isinf(b)) return a < b ? -1 : 1;
  const double tolerance =
      ToleranceDuree != 0.0 ? ToleranceDuree : std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
  if (std::fabs(a - b) <= tolerance) return 0;
  return a < b ? -1 : 1;
}

}  // namespace

double DureeMultiplier(double D, int32_t N) { return N * D; }
bool DureeEstInfinie(double D) { return std::isinf(D); }
bool DureeEstIndefinie(double D) { return std::isnan(D); }

int DureeComparer(const TypeDureeStockee& A, const TypeDureeStockee& B) { return ComparerValeurs(A.Valeur, B.Valeur); }
int DureeComparerValeur(const TypeDureeStockee& A, double X) { return ComparerValeurs(A.Valeur, X); }
bool DureeEgaleA(const TypeDureeStockee& A, double X) { return DureeComparerValeur(A, X) == 0; }
bool DureeSuperieureA(const TypeDureeStockee& A, double X) { return DureeComparerValeur(A, X) > 0; }
void DureeInitialiser(TypeDureeStockee& A, double X) { A.Valeur = X; }
double DureeValeur(const TypeDureeStockee& A) { return A.Valeur; }

double Multiplier(const TypeDureeStockee& A, int32_t N) { return DureeMultiplier(A.Valeur, N); }
int Comparer(const TypeDureeStockee& A, const TypeDureeStockee& B) { return DureeComparer(A, B); }

void Copier(const TypeDureeStockee& Source, TypeDureeStockee& Cible) {
  Cible.Valeur = Source.Valeur;
  Cible.Reference = nullptr;
}

void CopierValeur(const TypeDureeStockee& Source, TypeDureeStockee& Cible) { Cible.Valeur = Source.Valeur; }

}  // namespace DureeStockee
