#include "objectdb/arrays/ArrayOfTypeNomTypeEtClasseChamp.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfTypeNomTypeEtClasseChampTraits>;
template class TArrayTemplate<TArrayOfTypeNomTypeEtClasseChampTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfTypeNomTypeEtClasseChamp)

void TArrayOfTypeNomTypeEtClasseChampTraits::TracerElement(const TypeNomTypeEtClasseChamp& Element, bool /*Detail*/,
                                                           std::string& Texte, TCustomTraceur* Traceur) {
  TemplateArray::TracerBlocElement(
      Traceur, "TypeNomTypeEtClasseChamp",
      [&](TCustomTraceur* t, std::string& ligne) {
        std::string l;
        t->TracerPropriete("Nom", Element.Nom, l);
        ligne = l;
        t->TracerPropriete("Classe", TemplateArray::NomDeClasse(Element.Classe), l);
        ligne += l;
      },
      Texte);
}

void TArrayOfTypeNomTypeEtClasseChampTraits::EcrireElement(const TypeNomTypeEtClasseChamp& Element,
                                                           IFormateur* Formateur, TClasseFormat /*Contexte*/) {
  Formateur->EcrireChaine(Element.Nom);
  Formateur->EcrireChaine(TemplateArray::NomDeClasse(Element.Classe));
}

TypeNomTypeEtClasseChamp TArrayOfTypeNomTypeEtClasseChampTraits::LireElement(IFormateur* Formateur,
                                                                             TClasseFormat /*Contexte*/) {
  TypeNomTypeEtClasseChamp e;
  std::string classe;
  if (Formateur->LireChaine(e.Nom) < 0 || Formateur->LireChaine(classe) < 0) TemplateArray::ErreurLecture();
  // Only a column class is taken: any other class the registry knows reads back as nil.
  e.Classe = dynamic_cast<TClasseChamp>(TGestionnaireNomsDeClasse::ChercherClasse(classe));
  return e;
}
