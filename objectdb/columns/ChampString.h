// The column of 8-bit texts (compared without case by the system's collation).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfString.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreString.h"

struct TChampStringTraits {
  using Valeur = std::string;
  using Tableau = TArrayOfString;
  using TableauTraits = TArrayOfStringTraits;
  using Parametre = TParametreString;
  static std::vector<std::string> NomsDeType() { return {"STRING"}; }
  static Valeur Absente() { return std::string(); }
  static void Texte(const std::string& Valeur, std::string& Texte) { Texte = Valeur; }
};

NV_CHAMP_CLASS(TChampString, TChampStringTraits)

extern template class TChampTemplate<TChampStringTraits>;

namespace ChampString {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampString
