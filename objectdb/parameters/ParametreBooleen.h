// Boolean parameters.
#pragma once

#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreBooleenTraits : TParametreTraitsBase<bool> {
  static constexpr const char* kLibelle = "BOOLEAN";
  static void Ecrire(const bool& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireBooleen(Valeur);
  }
  static bool Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireBooleen(Formateur);
  }
  static void Tracer(const bool& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, Valeur ? "True" : "False", Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreBooleen, TParametreBooleenTraits)

extern template class TParametreTemplate<TParametreBooleenTraits>;

namespace ParametreBooleen {
// Registers the class by name and under its type name (BOOLEAN).
void Initialiser();
}  // namespace ParametreBooleen
