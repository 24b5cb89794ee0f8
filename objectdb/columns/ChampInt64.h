// The column of signed 64-bit integers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfInt64.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreInt64.h"

struct TChampInt64Traits {
  using Valeur = int64_t;
  using Tableau = TArrayOfInt64;
  using TableauTraits = TArrayOfInt64Traits;
  using Parametre = TParametreInt64;
  static std::vector<std::string> NomsDeType() { return {"Int64"}; }
  static Valeur Absente() { return 0; }
  static void Texte(int64_t Valeur, std::string& Texte) { Texte = std::to_string(Valeur); }
};

NV_CHAMP_CLASS(TChampInt64, TChampInt64Traits)

extern template class TChampTemplate<TChampInt64Traits>;

namespace ChampInt64 {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampInt64
