// The article: one row of a table of the object database seen as an object, whose published
// properties are the table's columns. This unit holds what the tables and the schema registry need
// of it so far: the root class of every article class, the row an article object designates and the
// list of its class's fields.
#pragma once

#include <cstdint>

#include "core/objects/ObjetInterfacable.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/properties/ReferenceArticle.h"
#include "objectdb/properties/TypeDBNoyau.h"

class TCustomTable;

// How an article object designates its row.
enum TypeModeArticle : uint8_t {
  MA_Table = 0,         // the shared object of a row, made by the table's factory
  MA_Transitoire = 1,   // a transient copy owning a row of its class's transient table
  MA_Reference = 2,     // a plain reference to a row
};

class TArticle : public TObjetInterfacable {
  NV_DECLARE_CLASS(TArticle)
 public:
  TArticle() = default;
  explicit TArticle(TBlank b) : TObjetInterfacable(b) {}

  // The table that holds the article's row (not owned) and the 0-based row; kAucuneLigne for none.
  TCustomTable* Table = nullptr;
  uint32_t IndiceArticle = kAucuneLigne;
  TypeModeArticle Mode = MA_Reference;
  // The 1-based position in the index through which the article was last reached; 0 for none.
  int32_t Position = 0;
  TypeEtatIndex Etat = EI_Valide;

  // The article exists, is not invalidated, has a table and, unless it is a transient, its row is in
  // use.
  bool EstValide() const;
  // The designated article: for a transient, its origin; the null reference for an article that is
  // not valid or has no row.
  void GetReference(TypeReferenceArticle& Reference) const;

  // A new list of every published field of Classe, those of its ancestors first, each a new
  // TChampPublie that the caller takes over with the list (the list does not free them).
  static TListeChampsPublies* CreerListeChampsPublies(const TClass* Classe);
};
