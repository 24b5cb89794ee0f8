// The column of 16-bit texts (shown converted to 8-bit text).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfWideString.h"
#include "core/values/ChaineUnicode.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreWideString.h"

struct TChampWideStringTraits {
  using Valeur = std::u16string;
  using Tableau = TArrayOfWideString;
  using TableauTraits = TArrayOfWideStringTraits;
  using Parametre = TParametreWideString;
  static std::vector<std::string> NomsDeType() { return {"WideString"}; }
  static Valeur Absente() { return std::u16string(); }
  static void Texte(const std::u16string& Valeur, std::string& Texte) { Texte = ChaineUnicode::DepuisUnicode(Valeur, 1252); }
};

NV_CHAMP_CLASS(TChampWideString, TChampWideStringTraits)

extern template class TChampTemplate<TChampWideStringTraits>;

namespace ChampWideString {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampWideString
