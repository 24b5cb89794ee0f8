// The column of stored durations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objectdb/durations/ArrayOfDuree.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreDuree.h"

struct TChampDureeTraits {
  using Valeur = TypeDureeStockee;
  using Tableau = TArrayOfDuree;
  using TableauTraits = TArrayOfDureeTraits;
  // A duration is compared by its value alone: an index keyed on it copies the values.
  static constexpr bool ValeursSimples = true;
  using Parametre = TParametreDuree;
  static std::vector<std::string> NomsDeType() { return {"TypeDureeStockee"}; }
  static Valeur Absente() { return TypeDureeStockee{}; }
  static void Texte(const TypeDureeStockee& Valeur, std::string& Texte) { TArrayOfDureeTraits::ElementEnTexte(Valeur, Texte); }
};

NV_CHAMP_CLASS(TChampDuree, TChampDureeTraits)

extern template class TChampTemplate<TChampDureeTraits>;

namespace ChampDuree {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampDuree
