#include "objectdb/parameters/ParametreReferenceArticle.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/Exceptions.h"

template class TParametreTemplate<TParametreReferenceArticleTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreReferenceArticle)

void TParametreReferenceArticleTraits::Tracer(const TypeReferenceArticle& Valeur, TCustomTraceur* /*Traceur*/,
                                              std::string& Texte) {
  Texte.clear();
  if (ReferenceArticle::EstReferenceNulle(Valeur)) return;
  // The "Table" line is the table's own trace text.
  throw ENonConstruit("TCustomTable.TexteTrace: not built yet");
}

void ParametreReferenceArticle::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreReferenceArticle::StaticClass());
}
