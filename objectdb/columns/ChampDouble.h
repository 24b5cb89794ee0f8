// The column of 64-bit floats (equal within 1e-9).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfDouble.h"
#include "core/values/Format.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreDouble.h"

struct TChampDoubleTraits {
  using Valeur = double;
  using Tableau = TArrayOfDouble;
  using TableauTraits = TArrayOfDoubleTraits;
  using Parametre = TParametreDouble;
  static std::vector<std::string> NomsDeType() { return {"Double"}; }
  static Valeur Absente() { return 0.0; }
  static void Texte(double Valeur, std::string& Texte) { Texte = FloatToStrGeneral(Valeur, 15); }
};

NV_CHAMP_CLASS(TChampDouble, TChampDoubleTraits)

extern template class TChampTemplate<TChampDoubleTraits>;

namespace ChampDouble {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampDouble
