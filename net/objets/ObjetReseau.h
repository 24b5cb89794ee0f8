// Network objects: the serialised forms in which an object travels between client and server (the
// request, the answer, a declaration of its identity, a reference to an object the receiver already
// holds, a reference plus content), each written by a format class that asks the object for one
// interface, and the network identities that bind objects of both sides to the same GUID.
//
// Everything read here comes from a peer: a format class never writes into an object of a class
// other than the one the stream names, and nothing read is left without an owner.
#pragma once

#include <string>

#include "core/arrays/ArrayOfTObject.h"
#include "core/serial/Serialisation.h"

// The interfaces through which the format classes below write and read an object.
struct IModeRequete : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{3F828176-B7DA-4D94-90E9-EB1D10C367B5}");
  virtual void EcrireRequete(IFormateur* Formateur) = 0;
  virtual void LireRequete(IFormateur* Formateur) = 0;

 protected:
  ~IModeRequete() = default;
};

struct IModeReponse : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{6B787D55-DE66-44C9-B1AD-CD53F57D8B4D}");
  virtual void EcrireReponse(IFormateur* Formateur) = 0;
  virtual void LireReponse(IFormateur* Formateur) = 0;

 protected:
  ~IModeReponse() = default;
};

struct IDeclarationObjet : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{70BE343D-8445-4E96-8D70-F5A4BD382C9D}");
  virtual void EcrireDeclaration(IFormateur* Formateur) = 0;
  virtual void LireDeclaration(IFormateur* Formateur) = 0;

 protected:
  ~IDeclarationObjet() = default;
};

struct IObjetParReference : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{EDEF1829-D118-44B3-9D10-F5B43F1970D9}");
  virtual void EcrireReference(IFormateur* Formateur) = 0;
  virtual void LireReference(IFormateur* Formateur) = 0;

 protected:
  ~IObjetParReference() = default;
};

// Objects with content travel as their reference (IObjetParReference), then this content.
struct IContenuObjet : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{2595DF3D-448F-478D-BF87-9A6E9583632C}");
  virtual void EcrireContenu(IFormateur* Formateur) = 0;
  virtual void LireContenu(IFormateur* Formateur) = 0;

 protected:
  ~IContenuObjet() = default;
};

struct IIdentifiantReseau : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{ACD3522B-93E2-47D4-8BCB-BB7F0700DB82}");
  virtual void SetIdentifiant(const TGUID& Identifiant) = 0;
  virtual void GetIdentifiant(TGUID& Identifiant) = 0;

 protected:
  ~IIdentifiantReseau() = default;
};

// The null GUID: no identity.
inline constexpr TGUID kIdentifiantNul{};

// The base of every object with a network identity: it holds the GUID, writes and reads it as its
// reference form (one raw 16-byte zone), and leaves the identity map when it is destroyed, so that
// the map never hands out a freed object. The identity map takes no other object.
class TObjetIdentifiable : public TCustomSerializable, public IIdentifiantReseau, public IObjetParReference {
  NV_DECLARE_CLASS(TObjetIdentifiable)
 public:
  TObjetIdentifiable() = default;
  explicit TObjetIdentifiable(TBlank b) : TCustomSerializable(b) {}
  ~TObjetIdentifiable() override;

  void SetIdentifiant(const TGUID& Identifiant) override { identifiant_ = Identifiant; }
  void GetIdentifiant(TGUID& Identifiant) override { Identifiant = identifiant_; }
  const TGUID& Identifiant() const { return identifiant_; }

  // With a format class as context, that class writes / reads the object; nothing otherwise.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void EcrireReference(IFormateur* Formateur) override;
  // A zone cut short or of another size raises EReadError.
  void LireReference(IFormateur* Formateur) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TGUID identifiant_{};
};

// The format classes of the network layer. Ecrire / Lire hand the object to its interface of the
// mode (nothing when it lacks it); Creer builds a blank instance of the class named in the stream,
// reads it and runs its after-construction step. A failure frees what was built.
struct TFSModeRequete {
  static const TCustomFormatSerialisation::Class* StaticClass();
  static void Ecrire(TObject* Objet, IInterface* Formateur);
  static void Lire(TObject* Objet, IInterface* Formateur);
  // A TSerializable created here belongs to the collector (its reader may take it back).
  static TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur);
};

struct TFSModeReponse {
  static const TCustomFormatSerialisation::Class* StaticClass();
  static void Ecrire(TObject* Objet, IInterface* Formateur);
  static void Lire(TObject* Objet, IInterface* Formateur);
  static TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur);
};

struct TFSDeclarationObjet {
  static const TCustomFormatSerialisation::Class* StaticClass();
  static void Ecrire(TObject* Objet, IInterface* Formateur);
  static void Lire(TObject* Objet, IInterface* Formateur);
  static TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur);
};

// A reference: the receiver's own object of the same identity. Creer reads the reference into a
// temporary instance of the class named in the stream and answers the local object of that GUID,
// only when it is of that class or a descendant; otherwise nil.
//
// The receiver's object is handed only to a reader that leaves it to its owner, and that says so with
// a TAccepterReference around its reading of the object (the object parameter does). Any other
// reader owns what it reads and would free the receiver's object: for it a reference reads as nil.
struct TFSObjetParReference {
  static const TCustomFormatSerialisation::Class* StaticClass();
  static void Ecrire(TObject* Objet, IInterface* Formateur);
  static void Lire(TObject* Objet, IInterface* Formateur);
  static TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur);
};

// Opened by a reader that does not own the object it is about to read when it is written by
// reference: the next reference read resolves to the receiver's object (once; nesting not carried).
class TAccepterReference {
 public:
  TAccepterReference();
  ~TAccepterReference();
  TAccepterReference(const TAccepterReference&) = delete;
  TAccepterReference& operator=(const TAccepterReference&) = delete;
  // True once, for the reference read right after the opening (the format class takes it).
  static bool Prendre();
};

// A reference, then the content read into the object found. When no object of the named class is
// found the content is read into the temporary instance and dropped, and the answer is nil: the
// stream is always left after the object.
struct TFSContenuObjet {
  static const TCustomFormatSerialisation::Class* StaticClass();
  static void Ecrire(TObject* Objet, IInterface* Formateur);
  static void Lire(TObject* Objet, IInterface* Formateur);
  static TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur);
};

// The process-wide map from GUID to local object. It does not own its objects; an object leaves it
// when it is destroyed. Main thread only.
class TGestionnaireIdentificationReseau : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  // False when the object has no identity (it is not a TObjetIdentifiable); otherwise gives a null
  // GUID a new random one, maps the GUID to the object (replacing any other) and answers True.
  static bool Declarer(TObject* Objet);
  // False when nothing was ever declared, the object has no identity or its GUID is null; otherwise
  // removes the mapping when it designates this very object (True) and, whenever the GUID was not
  // null, clears the object's GUID.
  static bool Retirer(TObject* Objet);
  static TObject* ObjetDeIdentifiant(const TGUID& Identifiant);
  // A new random GUID from the system's random source; never the null GUID.
  static TGUID NouvelIdentifiant();
  // The number of mappings held (for diagnostics and tests).
  static int Nombre();
  static void Finaliser();

  // Called by TObjetIdentifiable's destructor: forgets the mapping when it designates Objet.
  static void Oublier(const TGUID& Identifiant, const TObject* Objet);
};

class TCustomInfoDeclaration : public TCustomSerializable {
  NV_DECLARE_CLASS(TCustomInfoDeclaration)
 public:
  TCustomInfoDeclaration() = default;
  explicit TCustomInfoDeclaration(TBlank b) : TCustomSerializable(b) {}
};

// The declared identity of one object: its class name and GUID.
// Stream form: NomClasse (string), Identifiant (16-byte zone).
class TInfoDeclarationObjetReseau : public TCustomInfoDeclaration {
  NV_DECLARE_CLASS(TInfoDeclarationObjetReseau)
 public:
  // The object's GUID (null when it has no identity) and class name.
  explicit TInfoDeclarationObjetReseau(TObject* Objet);
  explicit TInfoDeclarationObjetReseau(TBlank b) : TCustomInfoDeclaration(b) {}

  TGUID Identifiant{};
  std::string NomClasse;

  // Gives a local object the declared identity (withdrawn, set, declared again).
  void Appliquer(TObject* Objet) const;

  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
};

// A list of declarations, owned. Stream form: the list as one object; every element read must be a
// TInfoDeclarationObjetReseau (EReadError otherwise, and nothing read is kept).
class TDeclarationObjetsReseau : public TCustomSerializable, public IDeclarationObjet {
  NV_DECLARE_CLASS(TDeclarationObjetsReseau)
 public:
  TDeclarationObjetsReseau();
  explicit TDeclarationObjetsReseau(TBlank b) : TCustomSerializable(b) {}
  ~TDeclarationObjetsReseau() override;

  int32_t Nombre() const;
  TInfoDeclarationObjetReseau* Declaration(int32_t Indice) const;
  // Appends the declaration of Objet.
  void Ajouter(TObject* Objet);

  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void EcrireDeclaration(IFormateur* Formateur) override;
  void LireDeclaration(IFormateur* Formateur) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TArrayOfTObject* liste_ = nullptr;
};

namespace ObjetReseau {
// Registers the format classes and the declaration classes by name.
void Initialiser();
void Finaliser();
}  // namespace ObjetReseau
