// A reference paired with an article object through which the designated row is read and written:
// the holder that article processors and filters build on. The article is a transient copy of the
// designated row, made on first need and re-pointed when the reference changes.
//
// Main thread only. The holder gives its transient back when it is destroyed. A transient dies at the
// collectable service's next pass: a holder kept longer forgets it (it is made again on the next
// request) instead of touching a freed object.
#pragma once

#include <cstdint>

#include "core/objects/ObjetTemporaire.h"
#include "objectdb/properties/ReferenceArticle.h"

class TArticle;
class TTableDeTransitoires;

class TArticleEtReference : public TObjetTemporaire {
  NV_DECLARE_CLASS(TArticleEtReference)
 public:
  // Temporaire: the collector owns the holder and frees it at the next turn.
  explicit TArticleEtReference(bool Temporaire) : TObjetTemporaire(Temporaire) {}
  explicit TArticleEtReference(TBlank b) : TObjetTemporaire(b) {}
  // Gives the article back to its transient table, when it still has one.
  ~TArticleEtReference() override;

  // The designated article; starts null.
  TypeReferenceArticle Reference;
  // The transient table of the referenced table's article class (not owned), looked up on first
  // need and forgotten when the reference moves to another table.
  TTableDeTransitoires* Transitoires = nullptr;
  // The transient that designates Reference, made on first need.
  TArticle* Article = nullptr;

  // Stores a new reference; the same table and row change nothing. The article is re-pointed on the
  // next GetArticle.
  void SetReference(const TypeReferenceArticle& Nouvelle);
  // The transient designating the reference, holding its row's values; nil for a null reference.
  TArticle* GetArticle();
  // The article number (row + 1); 0x7FFFFFFF for no row.
  int32_t GetNumero() const;

 private:
  // Article and Transitoires are forgotten, untouched, once the transients were freed.
  void OublierSiCollecte();
  uint64_t generation_ = 0;
};
