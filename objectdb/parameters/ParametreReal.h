// Real parameters: 64-bit floating-point values under the type name Real.
#pragma once

#include <string>

#include "core/values/Format.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreRealTraits : TParametreTraitsBase<double> {
  static constexpr const char* kLibelle = "Real";
  static void Ecrire(const double& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(Valeur);
  }
  static double Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireDouble(Formateur);
  }
  static void Tracer(const double& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, FloatToStrGeneral(Valeur, 15), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreReal, TParametreRealTraits)

extern template class TParametreTemplate<TParametreRealTraits>;

namespace ParametreReal {
// Registers the class by name and under its type name (Real).
void Initialiser();
}  // namespace ParametreReal
