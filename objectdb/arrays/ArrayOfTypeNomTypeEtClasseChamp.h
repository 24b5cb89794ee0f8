// Arrays of (type name, column class) pairs: the registry that gives the column class storing a type
// name keeps its entries in one, sorted by name without regard to case. An entry is written as the
// name and the class name; a class name that is not a registered column class reads back as nil.
#pragma once

#include <cstdint>
#include <string>

#include "core/arrays/TemplateArray.h"
#include "objectdb/columns/CustomChamp.h"

struct TypeNomTypeEtClasseChamp {
  std::string Nom;
  TClasseChamp Classe = nullptr;
};

class TArrayOfTypeNomTypeEtClasseChamp;

struct TArrayOfTypeNomTypeEtClasseChampTraits : TArrayTraitsBase<TypeNomTypeEtClasseChamp> {
  using Tableau = TArrayOfTypeNomTypeEtClasseChamp;
  static int8_t ComparerElements(const TypeNomTypeEtClasseChamp& A, const TypeNomTypeEtClasseChamp& B, int32_t /*Mode*/,
                                 TObject* /*Parametre*/) {
    return TemplateArray::ComparerTexteSansCasse(A.Nom, B.Nom);
  }
  static void TracerElement(const TypeNomTypeEtClasseChamp& Element, bool Detail, std::string& Texte,
                            TCustomTraceur* Traceur);
  static void EcrireElement(const TypeNomTypeEtClasseChamp& Element, IFormateur* Formateur, TClasseFormat Contexte);
  static TypeNomTypeEtClasseChamp LireElement(IFormateur* Formateur, TClasseFormat Contexte);
};

NV_ARRAY_CLASS(TArrayOfTypeNomTypeEtClasseChamp, TArrayTemplate<TArrayOfTypeNomTypeEtClasseChampTraits>)

extern template class TCustomArrayTemplate<TArrayOfTypeNomTypeEtClasseChampTraits>;
extern template class TArrayTemplate<TArrayOfTypeNomTypeEtClasseChampTraits>;
