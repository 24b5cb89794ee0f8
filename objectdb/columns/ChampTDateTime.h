// The column of dates and times (days since 30/12/1899, compared exactly).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfTDateTime.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreTDateTime.h"

struct TChampTDateTimeTraits {
  using Valeur = TDateTime;
  using Tableau = TArrayOfTDateTime;
  using TableauTraits = TArrayOfTDateTimeTraits;
  using Parametre = TParametreTDateTime;
  static std::vector<std::string> NomsDeType() { return {"TDateTime"}; }
  static Valeur Absente() { return 0.0; }
  static void Texte(TDateTime Valeur, std::string& Texte) { Texte = TArrayOfTDateTimeTraits::DateHeureEnTexte(Valeur); }
};

NV_CHAMP_CLASS(TChampTDateTime, TChampTDateTimeTraits)

extern template class TChampTemplate<TChampTDateTimeTraits>;

namespace ChampTDateTime {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampTDateTime
