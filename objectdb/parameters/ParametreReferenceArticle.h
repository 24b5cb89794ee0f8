// Article-reference parameters: the value designates an article, which only makes sense inside this
// process: nothing is written, and a parameter read back holds the null reference. Found by class
// name only, under no type name.
#pragma once

#include <string>

#include "objectdb/properties/ReferenceArticle.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreReferenceArticleTraits : TParametreTraitsBase<TypeReferenceArticle> {
  static constexpr const char* kLibelle = "TypeReferenceArticle";
  static void Ecrire(const TypeReferenceArticle& /*Valeur*/, IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) {}
  static TypeReferenceArticle Lire(IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) {
    return ReferenceArticle::ReferenceArticleNulle;
  }
  // Nothing for the null reference; otherwise "Parametre" = "TypeReferenceArticle" holding "Table" =
  // the table's trace text and "IndiceArticle" = the row.
  static void Tracer(const TypeReferenceArticle& Valeur, TCustomTraceur* Traceur, std::string& Texte);
};

NV_PARAMETRE_CLASS(TParametreReferenceArticle, TParametreReferenceArticleTraits)

extern template class TParametreTemplate<TParametreReferenceArticleTraits>;

namespace ParametreReferenceArticle {
// Registers the class by name.
void Initialiser();
}  // namespace ParametreReferenceArticle
