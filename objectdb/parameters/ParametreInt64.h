// Signed 64-bit parameters.
#pragma once

#include <cstdint>
#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreInt64Traits : TParametreTraitsBase<int64_t> {
  static constexpr const char* kLibelle = "Int64";
  static void Ecrire(const int64_t& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireInt64(Valeur);
  }
  static int64_t Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    return StrictReads::LireInt64(Formateur);
  }
  static void Tracer(const int64_t& Valeur, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerValeurParametre(Traceur, kLibelle, std::to_string(Valeur), Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreInt64, TParametreInt64Traits)

extern template class TParametreTemplate<TParametreInt64Traits>;

namespace ParametreInt64 {
// Registers the class by name and under its type name (Int64).
void Initialiser();
}  // namespace ParametreInt64
