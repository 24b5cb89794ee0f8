// The value that designates one article of the object database: a row of a table. Columns, indexes,
// article lists and processors pass it around by value; the null reference designates nothing.
#pragma once

#include <cstdint>

#include "core/objects/Interfaces.h"

class TCustomTable;

// The row number that means "no row" in every row field, position and search result of the object
// database (the largest signed 32-bit value, not 0xFFFFFFFF).
inline constexpr uint32_t kAucuneLigne = 0x7FFFFFFF;

struct TypeReferenceArticle {
  // Carried with the reference and copied with it; nothing in the database sets or reads it.
  IInterface* Interface = nullptr;
  // The 0-based row in Table; the article number is the row + 1.
  uint32_t IndiceArticle = kAucuneLigne;
  // The table that holds the row, not owned.
  TCustomTable* Table = nullptr;
};

namespace ReferenceArticle {

inline constexpr TypeReferenceArticle ReferenceArticleNulle{};

// True when the reference has no row or no table (either alone suffices).
inline bool EstReferenceNulle(const TypeReferenceArticle& Reference) {
  return Reference.IndiceArticle == kAucuneLigne || Reference.Table == nullptr;
}

// True when both designate the same row of the same table (the interface field takes no part).
inline bool MemeArticle(const TypeReferenceArticle& A, const TypeReferenceArticle& B) {
  return A.Table == B.Table && A.IndiceArticle == B.IndiceArticle;
}

}  // namespace ReferenceArticle
