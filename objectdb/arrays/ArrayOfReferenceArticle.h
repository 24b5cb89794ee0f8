// Arrays of article references: the article lists, the reference columns' values and the reference
// indexes of the object database keep their references in them. Without a comparison parameter the
// references are ordered by table (address), then by row (unsigned); with one, by the value of a
// column of the rows they designate. References never travel in streams: an element writes nothing
// and reads back as the null reference.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"
#include "objectdb/properties/ReferenceArticle.h"

class TArrayOfReferenceArticle;

// The element methods, under the public name other units call them by.
struct TMethodesReferenceArticle : TArrayTraitsBase<TypeReferenceArticle> {
  using Tableau = TArrayOfReferenceArticle;
  // Parametre nil: by table address, then by row. Otherwise it must be a TParametreInteger holding a
  // column number (EInvalidCast for anything else), whose column compares the two rows.
  static int8_t ComparerElements(const TypeReferenceArticle& A, const TypeReferenceArticle& B, int32_t Mode,
                                 TObject* Parametre);
  // The row, and the source's table or, with an assignment parameter, the table of the same article
  // class in the parameter's source base; the destination keeps its own interface field.
  static void CopierElement(const TypeReferenceArticle& Source, TypeReferenceArticle& Destination, TObject* Parametre);
  // The referenced article's text given by its table; empty for a null reference.
  static void ElementEnTexte(const TypeReferenceArticle& Element, std::string& Texte);
  // Empty for a null reference; otherwise the table's trace of the row.
  static void TracerElement(const TypeReferenceArticle& Element, bool Detail, std::string& Texte,
                            TCustomTraceur* Traceur);
  static void EcrireElement(const TypeReferenceArticle& /*Element*/, IFormateur* /*Formateur*/,
                            TClasseFormat /*Contexte*/) {}
  static TypeReferenceArticle LireElement(IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) {
    return ReferenceArticle::ReferenceArticleNulle;
  }
};

NV_ARRAY_CLASS(TArrayOfReferenceArticle, TArrayTemplate<TMethodesReferenceArticle>)

extern template class TCustomArrayTemplate<TMethodesReferenceArticle>;
extern template class TArrayTemplate<TMethodesReferenceArticle>;
