// 8-bit text parameters.
#pragma once

#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreStringTraits : TParametreTraitsBase<std::string> {
  static constexpr const char* kLibelle = "STRING";
  static void Ecrire(const std::string& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireChaine(Valeur);
  }
  static std::string Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireChaine(Formateur);
  }
  static void Tracer(const std::string& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, Valeur, Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreString, TParametreStringTraits)

extern template class TParametreTemplate<TParametreStringTraits>;

namespace ParametreString {
// Registers the class by name and under its type name (STRING).
void Initialiser();
}  // namespace ParametreString
