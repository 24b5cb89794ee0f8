// Duration parameters: a stored duration travels as its value in days and is traced with the
// debugging text of durations.
#pragma once

#include <string>

#include "core/values/DureeStockee.h"
#include "objectdb/parameters/TemplateParametre.h"

struct TParametreDureeTraits : TParametreTraitsBase<TypeDureeStockee> {
  static constexpr const char* kLibelle = "Duree";
  static void Ecrire(const TypeDureeStockee& Valeur, IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    Formateur->EcrireDouble(DureeStockee::DureeValeur(Valeur));
  }
  static TypeDureeStockee Lire(IFormateur* Formateur, TClasseFormat /*Contexte*/) {
    TypeDureeStockee d;
    DureeStockee::DureeInitialiser(d, StrictReads::LireDouble(Formateur));
    return d;
  }
  static void Tracer(const TypeDureeStockee& Valeur, TCustomTraceur* Traceur, std::string& Texte);
};

NV_PARAMETRE_CLASS(TParametreDuree, TParametreDureeTraits)

extern template class TParametreTemplate<TParametreDureeTraits>;

namespace ParametreDuree {
// Registers the class by name and under its type name (TypeDureeStockee).
void Initialiser();
}  // namespace ParametreDuree
