#include "objectdb/arrays/ArrayOfBaseEtTable.h"

#include "objectdb/bases/Base.h"
#include "objectdb/tables/CustomTable.h"

template class TCustomArrayTemplate<TArrayOfBaseEtTableTraits>;
template class TArrayTemplate<TArrayOfBaseEtTableTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfBaseEtTable)

void TArrayOfBaseEtTableTraits::TracerElement(const TypeBaseEtTable& Element, bool /*Detail*/, std::string& Texte,
                                              TCustomTraceur* Traceur) {
  TemplateArray::TracerBlocElement(
      Traceur, "TypeBaseEtTable",
      [&](TCustomTraceur* t, std::string& ligne) {
        std::string l;
        std::string base = "NIL";
        if (Element.Base != nullptr) Element.Base->TexteResume(base);
        t->TracerPropriete("Base", base, l);
        ligne = l;
        const std::string table =
            Element.Table == nullptr
                ? std::string("NIL")
                : Element.Table->ClassName() + " de " + TemplateArray::NomDeClasse(Element.Table->ClasseArticle);
        t->TracerPropriete("Table", table, l);
        ligne += l;
      },
      Texte);
}
