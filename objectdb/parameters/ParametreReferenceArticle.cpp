#include "objectdb/parameters/ParametreReferenceArticle.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "objectdb/tables/CustomTable.h"

template class TParametreTemplate<TParametreReferenceArticleTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreReferenceArticle)

void TParametreReferenceArticleTraits::Tracer(const TypeReferenceArticle& Valeur, TCustomTraceur* Traceur,
                                              std::string& Texte) {
  Texte.clear();
  if (ReferenceArticle::EstReferenceNulle(Valeur)) return;
  // The "Table" line is the table's own trace text.
  std::string table;
  Valeur.Table->TexteResume(table);
  CustomParametre::TracerBlocParametre(
      Traceur, kLibelle,
      [&](TCustomTraceur* t, std::string& lignes) {
        std::string l;
        t->TracerPropriete("Table", table, l);
        lignes = l;
        t->TracerPropriete("IndiceArticle", std::to_string(Valeur.IndiceArticle), l);
        lignes += l;
      },
      Texte);
}

void ParametreReferenceArticle::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreReferenceArticle::StaticClass());
}
