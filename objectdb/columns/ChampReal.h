// The column of 64-bit floats compared with a relative tolerance of 1e-12.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfReal.h"
#include "core/values/Format.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreReal.h"

struct TChampRealTraits {
  using Valeur = double;
  using Tableau = TArrayOfReal;
  using TableauTraits = TArrayOfRealTraits;
  using Parametre = TParametreReal;
  static std::vector<std::string> NomsDeType() { return {"Real"}; }
  static Valeur Absente() { return 0.0; }
  static void Texte(double Valeur, std::string& Texte) { Texte = FloatToStrGeneral(Valeur, 15); }
};

NV_CHAMP_CLASS(TChampReal, TChampRealTraits)

extern template class TChampTemplate<TChampRealTraits>;

namespace ChampReal {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampReal
