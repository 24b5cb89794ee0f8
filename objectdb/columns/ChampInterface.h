// The column of interface references (compared by identity); chosen for interface-typed fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfIInterface.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreInterface.h"

struct TChampInterfaceTraits {
  using Valeur = IInterface*;
  using Tableau = TArrayOfIInterface;
  using TableauTraits = TArrayOfIInterfaceTraits;
  using Parametre = TParametreInterface;
  static std::vector<std::string> NomsDeType() { return {"IInterface"}; }
  static Valeur Absente() { return nullptr; }
  static void Texte(IInterface* /*Valeur*/, std::string& Texte) { Texte = "IInterface"; }
};

NV_CHAMP_CLASS(TChampInterface, TChampInterfaceTraits)

extern template class TChampTemplate<TChampInterfaceTraits>;

namespace ChampInterface {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampInterface
