// Unsigned 32-bit parameters.
#pragma once

#include <cstdint>
#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreCardinalTraits : TParametreTraitsBase<uint32_t> {
  static constexpr const char* kLibelle = "CARDINAL";
  static void Ecrire(const uint32_t& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireCardinal(Valeur);
  }
  static uint32_t Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireCardinal(Formateur);
  }
  static void Tracer(const uint32_t& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, std::to_string(Valeur), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreCardinal, TParametreCardinalTraits)

extern template class TParametreTemplate<TParametreCardinalTraits>;

namespace ParametreCardinal {
// Registers the class by name and under its type names (CARDINAL, LONGCARD, UINT32).
void Initialiser();
}  // namespace ParametreCardinal
