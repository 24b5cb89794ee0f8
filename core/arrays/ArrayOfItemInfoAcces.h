// Arrays of the steps of an access path (article class, column number, filter): the paths along which
// computed fields of the object database find their value. Ordered by class name without regard to
// case, then by column number; walked with a forward iterator.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "core/arrays/TemplateArray.h"

// One step of an access path. Filtre belongs to the path, not to the array.
struct TypeItemInfoAcces {
  const TClass* ClasseArticle = nullptr;
  int32_t NumeroChamp = 0;
  TObject* Filtre = nullptr;
};

class TArrayOfItemInfoAcces;

struct TArrayOfItemInfoAccesTraits : TArrayTraitsBase<TypeItemInfoAcces> {
  using Tableau = TArrayOfItemInfoAcces;
  static int8_t ComparerElements(const TypeItemInfoAcces& A, const TypeItemInfoAcces& B, int32_t /*Mode*/,
                                 TObject* /*Parametre*/);
  // The empty step: the article class, no column, no filter.
  static TypeItemInfoAcces ElementVide();
  static void TracerElement(const TypeItemInfoAcces& Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  // The class name, then the column number; the filter is not written (nil when read).
  static void EcrireElement(const TypeItemInfoAcces& Element, IFormateur* Formateur, TClasseFormat Contexte);
  static TypeItemInfoAcces LireElement(IFormateur* Formateur, TClasseFormat Contexte);
};

using TIterateurItemInfoAcces = TArrayIterator<TArrayOfItemInfoAccesTraits>;

NV_ARRAY_CLASS_BEGIN(TArrayOfItemInfoAcces, TArrayTemplate<TArrayOfItemInfoAccesTraits>)
  // A new iterator over this array; the caller frees it.
  TIterateurItemInfoAcces* CreerIterateur() { return new TIterateurItemInfoAcces(this); }
NV_ARRAY_CLASS_END

extern template class TCustomArrayTemplate<TArrayOfItemInfoAccesTraits>;
extern template class TArrayTemplate<TArrayOfItemInfoAccesTraits>;

namespace ArrayOfItemInfoAcces {
// The article class of the empty step: the object database's article class, given when that
// library starts (nil until then).
void DefinirClasseArticleVide(const TClass* Classe);
}  // namespace ArrayOfItemInfoAcces
