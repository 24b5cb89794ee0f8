// Object parameters: the value is an object reference, written with the formatter's object writing
// (class name, format, content; nil as the nil marker) and traced as the object's own full trace.
//
// Ownership: an object the caller gives with SetValeur stays the caller's. An object read from a
// stream belongs to the parameter, which frees it when it is destroyed, reads again or is given
// another value, so that the object lives exactly as long as the parameter that refers to it (it is
// never left in the collector); a caller that wants to keep it beyond takes it with PrendreValeur.
#pragma once

#include <string>

#include "objectdb/parameters/TemplateParametre.h"

struct TParametreObjectTraits : TParametreTraitsBase<TObject*> {
  static constexpr const char* kLibelle = "TObject";
  static void Ecrire(TObject* Valeur, IFormateur* Formateur, TClasseFormat Contexte) {
    Formateur->EcrireObjet(Valeur, Contexte);
  }
  static TObject* Lire(IFormateur* Formateur, TClasseFormat Contexte) { return Formateur->LireObjet(Contexte); }
  // "Parametre" = "TObject", holding the object's complete trace (nothing for an untraceable one).
  static void Tracer(TObject* Valeur, TCustomTraceur* Traceur, std::string& Texte);
};

NV_PARAMETRE_CLASS_BEGIN(TParametreObject, TParametreObjectTraits)
  ~TParametreObject() override;
  // A value other than the current one ends the parameter's ownership of the current one (freed).
  void SetValeur(TObject* const& Valeur) override;
  // The object read becomes the parameter's own.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // True when the parameter frees its value.
  bool PossedeValeur() const { return possede_; }
  // The value, now the caller's: the parameter keeps referring to it but no longer frees it.
  TObject* PrendreValeur() {
    possede_ = false;
    return valeur_;
  }

 private:
  bool possede_ = false;
NV_PARAMETRE_CLASS_END

extern template class TParametreTemplate<TParametreObjectTraits>;

namespace ParametreObject {
// Registers the class by name and under its type name (TObject).
void Initialiser();
}  // namespace ParametreObject
