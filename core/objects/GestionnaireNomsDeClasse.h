// Objects travel in streams under the name of their class; this process-wide table turns a class
// name back into the class. Names compare exactly, byte by byte and case-sensitively.
#pragma once

#include <string>

#include "core/arrays/AssociationStringClass.h"
#include "core/objects/ClasseFinalisable.h"

class TGestionnaireNomsDeClasse : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  // Stores the class under its own name; another class under a taken name replaces the former.
  static void Enregistrer(const TClass* Classe);
  // The class registered under exactly Nom, or nil.
  static const TClass* ChercherClasse(const std::string& Nom);
  static void Finaliser();
};

namespace GestionnaireNomsDeClasse {
void Initialiser();
}  // namespace GestionnaireNomsDeClasse
