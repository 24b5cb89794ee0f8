// The column of Booleans.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfBooleen.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreBooleen.h"

struct TChampBooleenTraits {
  using Valeur = bool;
  using Tableau = TArrayOfBooleen;
  using TableauTraits = TArrayOfBooleenTraits;
  using Parametre = TParametreBooleen;
  static std::vector<std::string> NomsDeType() { return {"BOOLEAN"}; }
  static Valeur Absente() { return false; }
  static void Texte(bool Valeur, std::string& Texte) { Texte = Valeur ? "True" : "False"; }
};

NV_CHAMP_CLASS(TChampBooleen, TChampBooleenTraits)

extern template class TChampTemplate<TChampBooleenTraits>;

namespace ChampBooleen {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampBooleen
