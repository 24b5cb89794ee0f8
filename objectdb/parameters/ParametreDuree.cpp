#include "objectdb/parameters/ParametreDuree.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "objectdb/durations/ArrayOfDuree.h"

template class TParametreTemplate<TParametreDureeTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreDuree)

void ParametreDuree::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreDuree::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreDuree::StaticClass(), "TypeDureeStockee");
}

void TParametreDureeTraits::Tracer(const TypeDureeStockee& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
  std::string texte;
  TArrayOfDureeTraits::ElementEnTexte(Valeur, texte);
  CustomParametre::TracerValeurParametre(Traceur, kLibelle, texte, Texte);
}
