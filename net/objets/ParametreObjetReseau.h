// The parameter of a published property of type TObject over the network: its value is a reference
// to another object, written as one object in the context received.
//
// Ownership: an object given with SetValeur stays its giver's, and so does an object that a reading
// resolved by reference (the receiver's own object of that identity). An object that a reading
// created belongs to the parameter, which frees it (with the elements that an array read with it
// does not own) when it is destroyed, reads again or is given another value.
#pragma once

#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreObjetReseauTraits : TParametreTraitsBase<TObject*> {
  static constexpr const char* kLibelle = "IObjetReseau";
  static void Ecrire(TObject* Valeur, IFormateur* Formateur, TClasseFormat Contexte) {
    Formateur->EcrireObjet(Valeur, Contexte);
  }
  static TObject* Lire(IFormateur* Formateur, TClasseFormat Contexte) { return Formateur->LireObjet(Contexte); }
  // "Parametre" = "IObjetReseau", holding the referenced object's complete trace.
  static void Tracer(TObject* Valeur, TCustomTraceur* Traceur, std::string& Texte);
};

NV_PARAMETRE_CLASS_BEGIN(TParametreObjetReseau, TParametreObjetReseauTraits)
  ~TParametreObjetReseau() override;
  void SetValeur(TObject* const& Valeur) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  bool PossedeValeur() const { return possede_; }

 private:
  void LibererValeur();
  bool possede_ = false;
NV_PARAMETRE_CLASS_END

extern template class TParametreTemplate<TParametreObjetReseauTraits>;

namespace ParametreObjetReseau {
// Registers the class by name and for the type name TObject.
void Initialiser();
}  // namespace ParametreObjetReseau
