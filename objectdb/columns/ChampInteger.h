// The column of signed 32-bit integers (article numbers among them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfInteger.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreInteger.h"

struct TChampIntegerTraits {
  using Valeur = int32_t;
  using Tableau = TArrayOfInteger;
  using TableauTraits = TArrayOfIntegerTraits;
  using Parametre = TParametreInteger;
  static std::vector<std::string> NomsDeType() { return {"INTEGER", "Int32", "TypeNumeroArticle"}; }
  static Valeur Absente() { return 0; }
  static void Texte(int32_t Valeur, std::string& Texte) { Texte = std::to_string(Valeur); }
};

NV_CHAMP_CLASS(TChampInteger, TChampIntegerTraits)

extern template class TChampTemplate<TChampIntegerTraits>;

namespace ChampInteger {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampInteger
