// Published parameters over the network: each parameter says in which modes it travels (with the
// request, with the answer, or both) and in which format its value goes in each. A list of them is
// written in a mode as the forms of its parameters back to back, with no count or header: the
// receiver holds the same parameters, declared by the same class.
#pragma once

#include "net/AssociationClasseClasse.h"
#include "net/objets/ObjetReseau.h"
#include "net/objets/ParametrePublie.h"

class TParametrePublieReseau : public TParametrePublie, public IModeRequete, public IModeReponse,
                               public IObjetParReference, public IContenuObjet {
 public:
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  TParametrePublieReseau(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
                         uint8_t Genre, const TClass* Classe, bool Stockee);
  TParametrePublieReseau(const TClass* ClasseProprietaire, const TInfoPropriete& Info);
  explicit TParametrePublieReseau(TBlank b) : TParametrePublie(b) {}
  ~TParametrePublieReseau() override;

  // Genre 1: with the request only, 2: with the answer only, 3: with both, in Format (nil: the
  // value's own form); any other Genre changes nothing.
  void DefinirSens(int Genre, TClasseFormat Format);
  // True when the parameter travels in the mode of that format class (TFSModeRequete, TFSModeReponse).
  bool Voyage(TClasseFormat Mode) const;

  // In a mode the parameter travels in, that mode's format class writes / reads it; nothing in any
  // other context.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  // The value as one object, whose own data use the mode's format as their context (an object
  // parameter writes its object in that format); read back into this parameter, of its class.
  void EcrireRequete(IFormateur* Formateur) override;
  void LireRequete(IFormateur* Formateur) override;
  void EcrireReponse(IFormateur* Formateur) override;
  void LireReponse(IFormateur* Formateur) override;
  // The value in its own form.
  void EcrireReference(IFormateur* Formateur) override;
  void LireReference(IFormateur* Formateur) override;
  void EcrireContenu(IFormateur* Formateur) override;
  void LireContenu(IFormateur* Formateur) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TClasseFormat FormatDe(TClasseFormat Mode) const;
  void EcrireParametre(IFormateur* Formateur, TClasseFormat Contexte);

  TAssociationClasseClasse* sens_ = nullptr;
};

// The list of a network object's parameters; its elements are TParametrePublieReseau.
class TListeParametresPubliesReseau : public TListeParametresPublies {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // The parameters of ClasseDecrite, made by ClasseElement (TParametrePublieReseau for nil).
  TListeParametresPubliesReseau(const TClass* ClasseDecrite, TClasseProprietePubliee ClasseElement);
  TListeParametresPubliesReseau(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : TListeParametresPublies(ElementsParPage, Dynamique, LibererElements) {}
  explicit TListeParametresPubliesReseau(TBlank b) : TListeParametresPublies(b) {}

  TParametrePublieReseau* ParametreReseau(int32_t Indice) const {
    return ObjectAs<TParametrePublieReseau>(Propriete(Indice));
  }

  // Every element in position order, each in the context received.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
};

namespace ParametrePublieReseau {
void Initialiser();
}  // namespace ParametrePublieReseau
