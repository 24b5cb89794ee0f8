#include "objectdb/arrays/ArrayOfReferenceArticle.h"

#include "core/objects/Exceptions.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

template class TCustomArrayTemplate<TMethodesReferenceArticle>;
template class TArrayTemplate<TMethodesReferenceArticle>;

NV_DEFINE_ARRAY_CLASS(TArrayOfReferenceArticle)

int8_t TMethodesReferenceArticle::ComparerElements(const TypeReferenceArticle& A, const TypeReferenceArticle& B,
                                                   int32_t /*Mode*/, TObject* Parametre) {
  if (Parametre == nullptr) {
    if (const int c = ComparerAdresses(A.Table, B.Table); c != 0) return static_cast<int8_t>(c);
    return A.IndiceArticle < B.IndiceArticle ? -1 : A.IndiceArticle > B.IndiceArticle ? 1 : 0;
  }
  auto* numero = ObjectAs<TParametreInteger>(Parametre);
  if (numero == nullptr) throw EInvalidCast();
  TCustomChamp* champA = A.Table ? A.Table->GetChamp(numero->GetValeur()) : nullptr;
  TCustomChamp* champB = B.Table ? B.Table->GetChamp(numero->GetValeur()) : nullptr;
  // A reference without table, or a column number the table does not have, has no value to compare.
  if (champA == nullptr || champB == nullptr) throw EInvalidCast();
  return champB->ComparerLignes(champA, static_cast<int32_t>(A.IndiceArticle), static_cast<int32_t>(B.IndiceArticle),
                                0, nullptr);
}

// In the copy of a base, a reference to an article of a table of the copied base designates the same
// row of the copy of that table: the copy refers to its own tables, never back into its model.
void TMethodesReferenceArticle::CopierElement(const TypeReferenceArticle& Source, TypeReferenceArticle& Destination,
                                              TObject* Parametre) {
  Destination.IndiceArticle = Source.IndiceArticle;
  Destination.Table = Source.Table;
  if (Parametre == nullptr || ReferenceArticle::EstReferenceNulle(Source)) return;
  auto* assignation = ObjectAs<TParametreAssignationChamp>(Parametre);
  if (assignation == nullptr) throw EInvalidCast();
  if (assignation->BaseSource == nullptr || Source.Table->Base != assignation->BaseSource) return;
  TNoeudReferentiel* noeud = TReferentiel::Noeud(Source.Table->ClasseArticle);
  const TypeBaseEtTable* entree = noeud ? noeud->Entree(assignation->BaseDestination) : nullptr;
  if (entree != nullptr && entree->Table != nullptr) Destination.Table = entree->Table;
}

void TMethodesReferenceArticle::ElementEnTexte(const TypeReferenceArticle& Element, std::string& Texte) {
  Texte.clear();
  if (!ReferenceArticle::EstReferenceNulle(Element))
    Element.Table->TexteArticle(static_cast<int32_t>(Element.IndiceArticle), Texte);
}

void TMethodesReferenceArticle::TracerElement(const TypeReferenceArticle& Element, bool Detail, std::string& Texte,
                                              TCustomTraceur* Traceur) {
  Texte.clear();
  if (ReferenceArticle::EstReferenceNulle(Element)) return;
  const auto ligne = static_cast<int32_t>(Element.IndiceArticle);
  if (Detail) {
    Element.Table->TracerArticle(ligne, Texte, Traceur);
    return;
  }
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part, table;
  Traceur->TracerValeur("classe", "_DATA_CLASS_METHODS_", part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  Traceur->TracerPropriete("IndiceArticle", std::to_string(ligne), part);
  Texte += part;
  Element.Table->TexteResume(table);
  Traceur->TracerPropriete("Table", table, part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("classe", part);
  Texte += part;
}
