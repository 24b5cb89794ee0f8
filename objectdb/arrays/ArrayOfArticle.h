// Arrays of article objects: the articles a factory hands out and keeps spare. Mode 0 orders them by
// the article comparison (values, or class names across classes), mode 1 by serial number (Handle),
// other modes treat them as equal. They never own, copy nor stream their articles.
#pragma once

#include <string>

#include "core/arrays/TemplateArray.h"
#include "objectdb/articles/Article.h"

class TArrayOfArticle;

struct TArrayOfArticleTraits : TArrayTraitsBase<TArticle*> {
  using Tableau = TArrayOfArticle;
  static int8_t ComparerElements(TArticle* A, TArticle* B, int32_t Mode, TObject* Parametre);
  // The copy stores nil: an article object belongs to its factory and is never shared by a copy.
  static void CopierElement(TArticle* const&, TArticle*& Destination, TObject*) { Destination = nullptr; }
  // The article's own trace with detail.
  static void TracerElement(TArticle* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur);
  static void EcrireElement(TArticle*, IFormateur*, TClasseFormat) {}
  static TArticle* LireElement(IFormateur*, TClasseFormat) { return nullptr; }
};

NV_ARRAY_CLASS(TArrayOfArticle, TArrayTemplate<TArrayOfArticleTraits>)

extern template class TCustomArrayTemplate<TArrayOfArticleTraits>;
extern template class TArrayTemplate<TArrayOfArticleTraits>;
