// The column of unsigned 32-bit integers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfCardinal.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreCardinal.h"

struct TChampCardinalTraits {
  using Valeur = uint32_t;
  using Tableau = TArrayOfCardinal;
  using TableauTraits = TMethodesCardinal;
  using Parametre = TParametreCardinal;
  static std::vector<std::string> NomsDeType() { return {"CARDINAL", "LONGCARD", "UINT32"}; }
  static Valeur Absente() { return 0; }
  static void Texte(uint32_t Valeur, std::string& Texte) { Texte = std::to_string(Valeur); }
};

NV_CHAMP_CLASS(TChampCardinal, TChampCardinalTraits)

extern template class TChampTemplate<TChampCardinalTraits>;

namespace ChampCardinal {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampCardinal
