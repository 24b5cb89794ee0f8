// 64-bit floating-point parameters; traced in general notation, up to 15 significant digits.
#pragma once

#include <string>

#include "core/values/Format.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreDoubleTraits : TParametreTraitsBase<double> {
  static constexpr const char* kLibelle = "Double";
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

NV_PARAMETRE_CLASS(TParametreDouble, TParametreDoubleTraits)

extern template class TParametreTemplate<TParametreDoubleTraits>;

namespace ParametreDouble {
// Registers the class by name and under its type name (Double).
void Initialiser();
}  // namespace ParametreDouble
