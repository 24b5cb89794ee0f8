// Interface parameters: the value is an interface reference, which a stream cannot carry: nothing is
// written, and a parameter read back holds nil. Found by class name only, under no type name.
#pragma once

#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreInterfaceTraits : TParametreTraitsBase<IInterface*> {
  static constexpr const char* kLibelle = "Interface";
  static void Ecrire(IInterface* /*Valeur*/, IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) {}
  static IInterface* Lire(IFormateur* /*Formateur*/, TClasseFormat /*Contexte*/) { return nullptr; }
  // "Parametre" = "Interface" with no line inside.
  static void Tracer(IInterface* /*Valeur*/, TCustomTraceur* Traceur, std::string& Texte) {
    CustomParametre::TracerBlocParametre(Traceur, kLibelle, [](TCustomTraceur*, std::string& l) { l.clear(); }, Texte);
  }
};

NV_PARAMETRE_CLASS(TParametreInterface, TParametreInterfaceTraits)

extern template class TParametreTemplate<TParametreInterfaceTraits>;

namespace ParametreInterface {
// Registers the class by name.
void Initialiser();
}  // namespace ParametreInterface
