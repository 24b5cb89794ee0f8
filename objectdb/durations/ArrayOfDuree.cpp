#include "objectdb/durations/ArrayOfDuree.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "objectdb/durations/FormateurDuree.h"

template class TCustomArrayTemplate<TArrayOfDureeTraits>;
template class TArrayTemplate<TArrayOfDureeTraits>;
template class TPagedArrayTemplate<TArrayOfDureeTraits>;
template class TFixedArrayTemplate<TArrayOfDureeTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfDuree)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfDuree)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfDuree)

void TArrayOfDureeTraits::ElementEnTexte(const TypeDureeStockee& Element, std::string& Texte) {
  TypeDureeStockee valeur;
  DureeStockee::CopierValeur(Element, valeur);
  TFormateurDureePourDebogage formateur;
  formateur.DureeEnTexte(DureeStockee::DureeValeur(valeur), Texte);
}

void TArrayOfDureeTraits::TracerElement(const TypeDureeStockee& Element, bool /*Detail*/, std::string& Texte,
                                        TCustomTraceur* Traceur) {
  std::string valeur;
  ElementEnTexte(Element, valeur);
  TemplateArray::TracerValeurElement(Traceur, "TypeDureeStockee", valeur, Texte);
}

void ArrayOfDuree::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfDuree::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfDuree::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfDuree::StaticClass());
}
