// UTF-16 text parameters; traced as 1252 text.
#pragma once

#include <string>

#include "core/values/ChaineUnicode.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreWideStringTraits : TParametreTraitsBase<std::u16string> {
  static constexpr const char* kLibelle = "WideString";
  static void Ecrire(const std::u16string& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireChaineLarge(Valeur);
  }
  static std::u16string Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireChaineLarge(Formateur);
  }
  static void Tracer(const std::u16string& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, ChaineUnicode::DepuisUnicode(Valeur, 1252), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreWideString, TParametreWideStringTraits)

extern template class TParametreTemplate<TParametreWideStringTraits>;

namespace ParametreWideString {
// Registers the class by name and under its type name (WideString).
void Initialiser();
}  // namespace ParametreWideString
