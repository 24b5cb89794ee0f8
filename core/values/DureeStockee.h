// Durations: a double counting days (1.0 = one day) that may also be +infinity, -infinity or NaN
// ("undefined"). TypeDureeStockee is the record in which tables, parameters and arrays keep one;
// streams hold it as its value alone, one 8-byte double.
#pragma once

#include <cstdint>

#include "core/objects/Interfaces.h"

struct TypeDureeStockee {
  double Valeur = 0.0;
  IInterface* Reference = nullptr;  // carried along, never read by the duration routines
};

namespace DureeStockee {

// Tolerance of every duration comparison; 0 selects the relative tolerance
// max(min(|A|, |B|) x 1e-12, 1e-12).
inline constexpr double ToleranceDuree = 0.0;

// N x D.
double DureeMultiplier(double D, int32_t N);
bool DureeEstInfinie(double D);
bool DureeEstIndefinie(double D);

// -1, 0 or 1. Finite values within the tolerance are equal; identical values (infinities
// included) are equal; NaN equals NaN and sorts before every other value, so that the order is
// a total one on which sorted duration arrays can rely.
int DureeComparer(const TypeDureeStockee& A, const TypeDureeStockee& B);
int DureeComparerValeur(const TypeDureeStockee& A, double X);
bool DureeEgaleA(const TypeDureeStockee& A, double X);
bool DureeSuperieureA(const TypeDureeStockee& A, double X);
// Sets the value and leaves the reference alone.
void DureeInitialiser(TypeDureeStockee& A, double X);
double DureeValeur(const TypeDureeStockee& A);

// The same operations on stored durations, as the duration arrays call them: Multiplier (A, 1)
// gives the value written to streams; Comparer is the arrays' element comparison.
double Multiplier(const TypeDureeStockee& A, int32_t N);
int Comparer(const TypeDureeStockee& A, const TypeDureeStockee& B);
// Copies the value and clears the target's reference.
void Copier(const TypeDureeStockee& Source, TypeDureeStockee& Cible);
// Copies the value only.
void CopierValeur(const TypeDureeStockee& Source, TypeDureeStockee& Cible);

}  // namespace DureeStockee
