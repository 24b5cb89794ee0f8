// The column of object references (compared through their comparable interface, else by address);
// chosen for object fields of a class that is not an article class.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfTObject.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreObject.h"

struct TChampObjectTraits {
  using Valeur = TObject*;
  using Tableau = TArrayOfTObject;
  using TableauTraits = TArrayOfTObjectTraits;
  using Parametre = TParametreObject;
  static std::vector<std::string> NomsDeType() { return {"TOBJECT"}; }
  static Valeur Absente() { return nullptr; }
  static void Texte(TObject* /*Valeur*/, std::string& Texte) { Texte = "objet"; }
};

NV_CHAMP_CLASS_BEGIN(TChampObject, TChampObjectTraits)
  // A computed column owns the objects it computes: they are freed when replaced or removed.
  TChampObject(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
               bool LibererElements);
  // Nil when nothing was reached; the list itself when the path ends on a reference column; else a
  // new typed array of the reached articles' values of that column.
  TObject* ValeurCalculee(TObject* Articles, int32_t NumeroChamp) override;
  // An array that owns its objects first takes a temporary object out of the collector, which would
  // free it a second time.
  void SetValeur(int32_t Ligne, TObject* const& Objet) override;
NV_CHAMP_CLASS_END

extern template class TChampTemplate<TChampObjectTraits>;

namespace ChampObject {
// Registers the column class under its type names.
void Initialiser();
}  // namespace ChampObject
