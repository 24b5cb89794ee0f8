#include "core/arrays/ArrayOfItemInfoAcces.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfItemInfoAccesTraits>;
template class TArrayTemplate<TArrayOfItemInfoAccesTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfItemInfoAcces)

namespace {
const TClass* classeArticleVide = nullptr;
}  // namespace

void ArrayOfItemInfoAcces::DefinirClasseArticleVide(const TClass* Classe) { classeArticleVide = Classe; }

TypeItemInfoAcces TArrayOfItemInfoAccesTraits::ElementVide() {
  return {classeArticleVide, std::numeric_limits<int32_t>::max(), nullptr};
}

int8_t TArrayOfItemInfoAccesTraits::ComparerElements(const TypeItemInfoAcces& A, const TypeItemInfoAcces& B,
                                                     int32_t /*Mode*/, TObject* /*Parametre*/) {
  const int8_t r = TemplateArray::ComparerTexteSansCasse(TemplateArray::NomDeClasse(A.ClasseArticle),
                                                         TemplateArray::NomDeClasse(B.ClasseArticle));
  if (r != 0) return r;
  const auto a = static_cast<uint32_t>(A.NumeroChamp), b = static_cast<uint32_t>(B.NumeroChamp);
  return a < b ? -1 : a > b ? 1 : 0;
}

void TArrayOfItemInfoAccesTraits::TracerElement(const TypeItemInfoAcces& Element, bool /*Detail*/, std::string& Texte,
                                                TCustomTraceur* Traceur) {
  TemplateArray::TracerBlocElement(
      Traceur, "TypeItemInfoAcces",
      [&](TCustomTraceur* t, std::string& lignes) {
        std::string ligne;
        t->TracerPropriete("ClasseArticle", TemplateArray::NomDeClasse(Element.ClasseArticle), lignes);
        t->TracerPropriete("NumeroChamp", std::to_string(Element.NumeroChamp), ligne);
        lignes += ligne;
      },
      Texte);
}

void TArrayOfItemInfoAccesTraits::EcrireElement(const TypeItemInfoAcces& Element, IFormateur* Formateur,
                                                TClasseFormat /*Contexte*/) {
  Formateur->EcrireChaine(TemplateArray::NomDeClasse(Element.ClasseArticle));
  Formateur->EcrireEntier(Element.NumeroChamp);
}

TypeItemInfoAcces TArrayOfItemInfoAccesTraits::LireElement(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
  std::string nom;
  if (Formateur->LireChaine(nom) < 0) TemplateArray::ErreurLecture();
  TypeItemInfoAcces e;
  e.ClasseArticle = TGestionnaireNomsDeClasse::ChercherClasse(nom);
  e.NumeroChamp = TemplateArray::LireEntier(Formateur);
  return e;
}
