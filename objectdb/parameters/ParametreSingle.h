// 32-bit floating-point parameters: widened to a double in streams, narrowed when read back.
#pragma once

#include <string>

#include "core/values/Format.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreSingleTraits : TParametreTraitsBase<float> {
  static constexpr const char* kLibelle = "Single";
  static void Ecrire(const float& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(static_cast<double>(Valeur));
  }
  static float Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return static_cast<float>(StrictReads::LireDouble(Formateur));
  }
  static void Tracer(const float& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, FloatToStrGeneral(Valeur, 15), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreSingle, TParametreSingleTraits)

extern template class TParametreTemplate<TParametreSingleTraits>;

namespace ParametreSingle {
// Registers the class by name and under its type name (Single).
void Initialiser();
}  // namespace ParametreSingle
