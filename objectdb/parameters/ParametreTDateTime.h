// Date-time parameters (days since 30 December 1899); traced as a short date and a long time, the time left out at midnight.
#pragma once

#include <string>

#include "core/arrays/ArrayOfTDateTime.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreTDateTimeTraits : TParametreTraitsBase<TDateTime> {
  static constexpr const char* kLibelle = "TDateTime";
  static void Ecrire(const TDateTime& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(Valeur);
  }
  static TDateTime Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireDouble(Formateur);
  }
  static void Tracer(const TDateTime& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, TArrayOfTDateTimeTraits::DateHeureEnTexte(Valeur), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreTDateTime, TParametreTDateTimeTraits)

extern template class TParametreTemplate<TParametreTDateTimeTraits>;

namespace ParametreTDateTime {
// Registers the class by name and under its type name (TDateTime).
void Initialiser();
}  // namespace ParametreTDateTime
