// Published parameters: each published property of an object's class carried as a typed parameter
// of the object database (created by the property's type name), so that the object's data can
// travel as a list of named values. TParametrePublie is one property with its value object,
// TListeParametresPublies the properties of one class at the positions of their index numbers.
#pragma once

#include <string>

#include "objectdb/parameters/CustomParametre.h"
#include "objectdb/properties/ProprietePubliee.h"

class TParametrePublie : public TProprietePubliee {
 public:
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // The value object is made by the parameter class registered for the type name, named after the
  // property and not collected. A placeholder (empty type name) has none; any other type without a
  // registered parameter class raises EParametreNonEnregistre.
  TParametrePublie(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
                   uint8_t Genre, const TClass* Classe, bool Stockee);
  TParametrePublie(const TClass* ClasseProprietaire, const TInfoPropriete& Info);
  explicit TParametrePublie(TBlank b) : TProprietePubliee(b) {}
  ~TParametrePublie() override;

  TCustomParametre* Parametre() const { return parametre_; }
  // The parameter class of the property's type (nil for a placeholder or an unregistered type).
  TClasseParametre ClasseAttendue() const;

  // The property's form, then the value as one object in the context received.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // The value read must be of the property's parameter class (and of the class of the value already
  // held, if any); otherwise it is freed and EReadError raised, and the value held stays.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  // The property's lines, then "Parametre" with the value's text, or "NIL".
  void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) override;

 protected:
  // Replaces the value by an object read from Formateur, checked as Lire says.
  void LireParametre(IFormateur* Formateur, TClasseFormat Contexte);

 private:
  void CreerParametre();

  TCustomParametre* parametre_ = nullptr;
};

// A type of a published property with no registered parameter class: the class declares what
// cannot be carried.
class EParametreNonEnregistre : public Exception {
 public:
  using Exception::Exception;
};

// The published parameters of one class; the list frees its elements. A list read from a stream
// must own its elements and hold published parameters only (EReadError otherwise).
class TListeParametresPublies : public TListeProprietesPubliees {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // The parameters of ClasseDecrite, made by ClasseElement (TParametrePublie for nil).
  TListeParametresPublies(const TClass* ClasseDecrite, TClasseProprietePubliee ClasseElement);
  TListeParametresPublies(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : TListeProprietesPubliees(ElementsParPage, Dynamique, LibererElements) {}
  explicit TListeParametresPublies(TBlank b) : TListeProprietesPubliees(b) {}

  TParametrePublie* ParametrePublie(int32_t Indice) const { return ObjectAs<TParametrePublie>(Propriete(Indice)); }
  // The value of the i-th parameter (nil outside the list or for a placeholder).
  TCustomParametre* Parametre(int32_t Indice) const;
  // The parameter of the property named Libelle, or nil.
  TCustomParametre* ParametreDeNom(const std::string& Libelle) const;

  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
};

namespace ParametrePublie {
void Initialiser();
}  // namespace ParametrePublie
