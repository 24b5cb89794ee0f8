// A table for the article tests: like the indexed table it writes a new row for the number
// 0x7FFFFFFF, and it can be told to refuse every write with an error code.
#pragma once

#include <cstdint>

#include "objectdb/articles/Article.h"
#include "objectdb/tables/CustomTable.h"

class TTableEssai : public TCustomTable {
 public:
  using TCustomTable::TCustomTable;
  int32_t Refus = 0;
  bool EcrireArticle(TArticle* Article, int32_t& Ligne) override {
    if (Refus != 0) {
      DerniereErreur = Refus;
      return false;
    }
    if (static_cast<uint32_t>(Ligne) == kAucuneLigne && !AllouerLigne(Ligne)) return false;
    return TCustomTable::EcrireArticle(Article, Ligne);
  }
};
