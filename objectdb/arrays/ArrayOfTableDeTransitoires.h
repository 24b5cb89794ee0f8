// Arrays of (article class, transient table) pairs: the registry of the tables of transient copies,
// one entry per article class, kept sorted by class name without regard to case. The array frees the
// tables it still holds when it goes; entries never travel in streams.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"

class TTableDeTransitoires;

struct TypeClasseEtTableDeTransitoires {
  const TClass* ClasseArticle = nullptr;
  TTableDeTransitoires* Table = nullptr;
};

class TArrayOfTableDeTransitoires;

struct TArrayOfTableDeTransitoiresTraits : TArrayTraitsBase<TypeClasseEtTableDeTransitoires> {
  using Tableau = TArrayOfTableDeTransitoires;
  // 0 for the same class; otherwise the class names compared without case, and two classes of the
  // same name by address, so that the order stays one whatever the names.
  static int8_t ComparerElements(const TypeClasseEtTableDeTransitoires& A, const TypeClasseEtTableDeTransitoires& B,
                                 int32_t Mode, TObject* Parametre);
  static void TracerElement(const TypeClasseEtTableDeTransitoires&, bool, std::string& Texte, TCustomTraceur*) {
    Texte.clear();
  }
  static void EcrireElement(const TypeClasseEtTableDeTransitoires&, IFormateur*, TClasseFormat) {}
  static TypeClasseEtTableDeTransitoires LireElement(IFormateur*, TClasseFormat) { return {}; }
};

// One entry per article class, sorted by class name; the tables still registered are freed with the
// array.
NV_ARRAY_CLASS_BEGIN(TArrayOfTableDeTransitoires, TArrayTemplate<TArrayOfTableDeTransitoiresTraits>)
  // Contiguous, pages of 32, dynamic, not owning; no duplicates, always sorted.
  TArrayOfTableDeTransitoires();
  // Frees the tables still registered, first entry first (each entry leaves before its table goes).
  ~TArrayOfTableDeTransitoires() override;

  // True when added; False, and the entry left as it was, when the class already has a table.
  bool AjouterTable(const TClass* ClasseArticle, TTableDeTransitoires* Table);
  // True when the class had an entry, now removed.
  bool SupprimerTable(const TClass* ClasseArticle);
  // The table registered for the class, nil when none.
  TTableDeTransitoires* TableDeClasse(const TClass* ClasseArticle) const;
NV_ARRAY_CLASS_END

extern template class TCustomArrayTemplate<TArrayOfTableDeTransitoiresTraits>;
extern template class TArrayTemplate<TArrayOfTableDeTransitoiresTraits>;
