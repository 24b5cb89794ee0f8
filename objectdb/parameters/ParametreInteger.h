// Signed 32-bit parameters.
#pragma once

#include <cstdint>
#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreIntegerTraits : TParametreTraitsBase<int32_t> {
  static constexpr const char* kLibelle = "INTEGER";
  static void Ecrire(const int32_t& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireEntier(Valeur);
  }
  static int32_t Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireEntier(Formateur);
  }
  static void Tracer(const int32_t& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, std::to_string(Valeur), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreInteger, TParametreIntegerTraits)

extern template class TParametreTemplate<TParametreIntegerTraits>;

namespace ParametreInteger {
// Registers the class by name and under its type names (INTEGER, LongInt).
void Initialiser();
}  // namespace ParametreInteger
