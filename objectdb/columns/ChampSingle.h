// The column of 32-bit floats (equal within 1e-9; written widened, so 0.1 reads 0.100000001490116).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfSingle.h"
#include "core/values/Format.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreSingle.h"

struct TChampSingleTraits {
  using Valeur = float;
  using Tableau = TArrayOfSingle;
  using TableauTraits = TArrayOfSingleTraits;
  using Parametre = TParametreSingle;
  static std::vector<std::string> NomsDeType() { return {"Single"}; }
  static Valeur Absente() { return 0.0f; }
  static void Texte(float Valeur, std::string& Texte) { Texte = FloatToStrGeneral(static_cast<double>(Valeur), 15); }
};

NV_CHAMP_CLASS(TChampSingle, TChampSingleTraits)

extern template class TChampTemplate<TChampSingleTraits>;

namespace ChampSingle {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampSingle
