#include "objectdb/arrays/ArrayOfReferenceArticle.h"

#include "core/objects/Exceptions.h"
#include "core/objects/Exceptions.h"
#include "objectdb/parameters/ParametreInteger.h"

template class TCustomArrayTemplate<TMethodesReferenceArticle>;
template class TArrayTemplate<TMethodesReferenceArticle>;

NV_DEFINE_ARRAY_CLASS(TArrayOfReferenceArticle)

int8_t TMethodesReferenceArticle::ComparerElements(const TypeReferenceArticle& A, const TypeReferenceArticle& B,
                                                   int32_t /*Mode*/, TObject* Parametre) {
  if (Parametre == nullptr) {
    if (const int c = ComparerAdresses(A.Table, B.Table); c != 0) return static_cast<int8_t>(c);
    return A.IndiceArticle < B.IndiceArticle ? -1 : A.IndiceArticle > B.IndiceArticle ? 1 : 0;
  }
  if (ObjectAs<TParametreInteger>(Parametre) == nullptr) throw EInvalidCast();
  throw ENonConstruit("TCustomChamp.ComparerLignes: not built yet");
}

void TMethodesReferenceArticle::CopierElement(const TypeReferenceArticle& Source, TypeReferenceArticle& Destination,
                                              TObject* Parametre) {
  if (Parametre != nullptr) throw ENonConstruit("TBase.TableDeClasse: not built yet");
  Destination.IndiceArticle = Source.IndiceArticle;
  Destination.Table = Source.Table;
}

void TMethodesReferenceArticle::ElementEnTexte(const TypeReferenceArticle& Element, std::string& Texte) {
  Texte.clear();
  if (!ReferenceArticle::EstReferenceNulle(Element)) throw ENonConstruit("TCustomTable.TexteArticle: not built yet");
}

void TMethodesReferenceArticle::TracerElement(const TypeReferenceArticle& Element, bool /*Detail*/, std::string& Texte,
                                              TCustomTraceur* /*Traceur*/) {
  Texte.clear();
  if (!ReferenceArticle::EstReferenceNulle(Element)) throw ENonConstruit("TCustomTable.TracerLigne: not built yet");
}
