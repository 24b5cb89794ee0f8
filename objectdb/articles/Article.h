// The article: one row of a table of the object database seen as an object, whose published
// properties are the table's columns. This unit holds what the tables and the schema registry need
// of it so far: the root class of every article class, the row an article object designates and the
// list of its class's fields.
#pragma once

#include <cstdint>

#include "core/objects/ObjetInterfacable.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/properties/ReferenceArticle.h"

class TCustomTable;

class TArticle : public TObjetInterfacable {
  NV_DECLARE_CLASS(TArticle)
 public:
  TArticle() = default;
  explicit TArticle(TBlank b) : TObjetInterfacable(b) {}

  // The table that holds the article's row (not owned) and the 0-based row; kAucuneLigne for none.
  TCustomTable* Table = nullptr;
  uint32_t IndiceArticle = kAucuneLigne;

  // A new list of every published field of Classe, those of its ancestors first, each a new
  // TChampPublie that the caller takes over with the list (the list does not free them).
  static TListeChampsPublies* CreerListeChampsPublies(const TClass* Classe);
};
