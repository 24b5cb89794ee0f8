// Network orders: an object that one side fills with published parameters and sends to the other,
// which executes it and sends it back with its results and its error tree. Where an order runs is
// decided by behaviour classes: processed by default, an order goes to each of its interlocutors,
// whose behaviour either executes it here or sends it as a request to the server.
//
// Ownership: an order owns its error tree (never left in the collector while the order holds it), its
// parameters and its interlocutors. An order created by reading a request or an answer from the
// network belongs to the collector until its reader takes it back; an order read into in place does
// not change hands.
#pragma once

#include <string>

#include "core/objects/Erreur.h"
#include "net/objets/ObjetReseau.h"
#include "net/objets/ParametrePublieReseau.h"
#include "net/objets/Serialisable.h"

class TOrdreReseau;

// Processing an order by default (through its interlocutors).
struct ITraitementParDefaut : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{A3C0A9C5-26C8-4DBD-A916-864E1C67A371}");
  virtual TErreur* TraiterParDefaut() = 0;

 protected:
  ~ITraitementParDefaut() = default;
};

// Executing an order here. An order executes itself (Objet is ignored, the result goes to its
// Erreur, the answer is nil); an interlocutor executes the order Objet with the local behaviour.
struct IExecutionLocale : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{388BA9D1-8568-4F44-BC4B-4B18DEDAA09C}");
  virtual TErreur* ExecuterLocalement(TObject* Objet) = 0;

 protected:
  ~IExecutionLocale() = default;
};

// Sending an order as a request and waiting for its verdict.
struct IEnvoiRequete : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{0AE82C36-8AF5-41E1-84AA-1FBB65383F4D}");
  virtual TErreur* EnvoyerRequete(TOrdreReseau* Ordre) = 0;

 protected:
  ~IEnvoiRequete() = default;
};

// What carries orders out: the client/server component implements it.
struct IInterlocuteurReseau : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{27BAF69D-B126-43FC-9CBB-5D38733C6350}");
  // Processes the order synchronously; its verdict (nil: success).
  virtual TErreur* EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre) = 0;
  // Sends the order without waiting.
  virtual void EnvoyerOrdreReseau(TOrdreReseau* Ordre) = 0;

 protected:
  ~IInterlocuteurReseau() = default;
};

class TInterlocuteurReseau;

// Behaviour classes: their one class operation Traiter(Objet, Interlocuteur) answers an error tree
// (nil: success), "Le comportement client serveur <behaviour> n'est pas implémenté par la classe
// <object>" when the object or the interlocutor lacks what the behaviour needs.
class TComportementCS : public TObjetInterfacable {
 public:
  struct Class : TClass {
    using TClass::TClass;
    virtual TErreur* Traiter(TObject* Objet, TObject* Interlocuteur) const = 0;
  };
  static const Class* StaticClass();
  // The error of a behaviour that Objet (or its interlocutor) does not support.
  static TErreur* NonImplemente(const Class* Comportement, TObject* Objet);

 private:
  TComportementCS() = delete;
};
using TClasseComportement = const TComportementCS::Class*;

// Processes an object that has the default-processing interface by it.
struct TComportementOrdreParDefaut {
  static TClasseComportement StaticClass();
  static TErreur* Traiter(TObject* Objet, TObject* Interlocuteur);
};
// Executes here: through the interlocutor's local execution when it has one, else the object's.
struct TComportementLocal {
  static TClasseComportement StaticClass();
  static TErreur* Traiter(TObject* Objet, TObject* Interlocuteur);
};
// Sends the order through the interlocutor's send interface.
struct TComportementEnvoiRequete {
  static TClasseComportement StaticClass();
  static TErreur* Traiter(TObject* Objet, TObject* Interlocuteur);
};

class TInterlocuteur : public TObjetInterfacable {
  NV_DECLARE_CLASS(TInterlocuteur)
 public:
  TInterlocuteur() = default;
  explicit TInterlocuteur(TBlank b) : TObjetInterfacable(b) {}
};

// One party an order goes to: Implementation carries orders out (not owned); Comportement says how
// (sending a request normally, executing here while this client holds the exclusive mode).
class TInterlocuteurReseau : public TInterlocuteur,
                             public IEnvoiRequete,
                             public IExecutionLocale,
                             public IInterlocuteurReseau {
  NV_DECLARE_CLASS(TInterlocuteurReseau)
 public:
  explicit TInterlocuteurReseau(TObject* Implementation = nullptr,
                                TClasseComportement Comportement = TComportementEnvoiRequete::StaticClass())
      : Implementation(Implementation), Comportement(Comportement) {}
  explicit TInterlocuteurReseau(TBlank b) : TInterlocuteur(b) {}

  TObject* Implementation = nullptr;
  TClasseComportement Comportement = nullptr;

  // Comportement.Traiter(Ordre, this).
  TErreur* Traiter(TOrdreReseau* Ordre);
  // The order to Implementation through IInterlocuteurReseau.
  TErreur* Executer(TOrdreReseau* Ordre) { return EnvoyerOrdreReseauSynchrone(Ordre); }

  // Forward to Implementation's IInterlocuteurReseau; without it the synchronous send and the
  // request answer "L'interface IInterlocuteurReseau n'est pas implémentée par la classe <class>",
  // and the send without wait does nothing.
  TErreur* EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre) override;
  void EnvoyerOrdreReseau(TOrdreReseau* Ordre) override;
  TErreur* EnvoyerRequete(TOrdreReseau* Ordre) override;
  // Objet processed with the local behaviour.
  TErreur* ExecuterLocalement(TObject* Objet) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

// The base of network orders; each order class implements Executer and declares its published
// properties, which become its parameters (travelling with the request only, unless the class's
// CreerParametres says otherwise).
//
// Request form: the parameters in the request context. Answer form: the parameters in the answer
// context, then Erreur as one object ("NIL" when absent).
class TOrdreReseau : public TSerializable,
                     public IModeRequete,
                     public IModeReponse,
                     public ITraitementParDefaut,
                     public IExecutionLocale {
  NV_DECLARE_CLASS(TOrdreReseau)
 public:
  TOrdreReseau() = default;
  explicit TOrdreReseau(TBlank b) : TSerializable(b) {}
  ~TOrdreReseau() override;

  TErreur* Erreur() const { return erreur_; }
  // Replaces the error tree (the former is freed); the order takes the new one from the collector.
  void SetErreur(TErreur* Erreur);

  // The interlocutors, owned, in the order they were added.
  void AjouterInterlocuteur(TInterlocuteurReseau* Interlocuteur) { interlocuteurs_.Add(Interlocuteur); }
  int NombreInterlocuteurs() const { return interlocuteurs_.Count(); }
  TInterlocuteurReseau* Interlocuteur(int i) const { return static_cast<TInterlocuteurReseau*>(interlocuteurs_.Items(i)); }

  // With a format class as context, that class writes / reads the order; without, the serialisable
  // form of TSerializable.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  // A TListeParametresPubliesReseau of the class, every parameter travelling with the request only.
  TListeParametresPublies* CreerParametres() override;

  // What the order does: its error tree, nil on success.
  virtual TErreur* Executer() = 0;

  // Comportement.Traiter(this, nil) (TComportementOrdreParDefaut for nil).
  TErreur* Traiter(TClasseComportement Comportement);
  // Each interlocutor in turn; their errors under one tree "TOrdreReseau.TraiterParDefaut" (nil when
  // all succeeded).
  TErreur* TraiterParDefaut() override;
  // Runs Executer and keeps its result as Erreur; answers nil.
  TErreur* ExecuterLocalement(TObject* Objet = nullptr) override;

  void EcrireRequete(IFormateur* Formateur) override;
  void LireRequete(IFormateur* Formateur) override;
  void EcrireReponse(IFormateur* Formateur) override;
  // The error read must be a TErreur (EReadError otherwise); it replaces Erreur.
  void LireReponse(IFormateur* Formateur) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TErreur* erreur_ = nullptr;
  TObjectList interlocuteurs_{true};
};

namespace OrdreReseau {

// Reads one object that must be a network order (anything else is freed and EReadError raised);
// the order is its caller's (taken back from the collector).
TOrdreReseau* LireOrdre(IFormateur* Formateur);
// The client's side of an answer: the server's copy of the order is read (it must be of Ordre's
// class), written again in answer mode and read into Ordre, which thus gets the results and Erreur.
void RecevoirReponse(TOrdreReseau* Ordre, IFormateur* Formateur);

// Registers the behaviour classes by name.
void Initialiser();

}  // namespace OrdreReseau
