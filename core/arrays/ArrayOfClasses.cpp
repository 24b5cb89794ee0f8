#include "core/arrays/ArrayOfClasses.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfClassesTraits>;
template class TArrayTemplate<TArrayOfClassesTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfClasses)

void TArrayOfClassesTraits::TracerElement(const TClass* Element, bool /*Detail*/, std::string& Texte, TCustomTraceur* Traceur) {
  TemplateArray::TracerBlocElement(
      Traceur, "TClass",
      [&](TCustomTraceur* t, std::string& ligne) { t->TracerPropriete("Classe", TemplateArray::NomDeClasse(Element), ligne); },
      Texte);
}

const TClass* TArrayOfClassesTraits::LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
  std::string nom;
  if (Formateur->LireChaine(nom) < 0) TemplateArray::ErreurLecture();
  return TGestionnaireNomsDeClasse::ChercherClasse(nom);
}

void ArrayOfClasses::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfClasses::StaticClass());
}
