// The published properties of an article class turned into data. An article class declares its
// fields as published properties (name, type, index number: the number of the column that stores
// it); TProprietePubliee describes one, TListeProprietesPubliees lists those of a class at the
// positions of their index numbers, TChampPublie adds what a database field needs (the rules of a
// reference field, the access path of a computed field) and TListeChampsPublies lists the fields of
// an article class. Tables build one column per entry; the network layer derives its published
// parameters from the descriptors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfTObject.h"
#include "core/diagnostics/DelegueTracable.h"
#include "core/serial/Serialisation.h"
#include "objectdb/properties/TypeDBNoyau.h"

class TInfosAcces;

class TProprietePubliee : public TCustomSerializable {
 public:
  // The descriptor of a descriptor class carries its two virtual constructors.
  struct Class : TClass {
    using TClass::TClass;
    virtual TProprietePubliee* Creer(const TClass* ClasseProprietaire, const std::string& Libelle,
                                     const std::string& NomDuType, uint8_t Genre, const TClass* Classe,
                                     bool Stockee) const = 0;
    virtual TProprietePubliee* CreerDepuisInfo(const TClass* ClasseProprietaire, const TInfoPropriete& Info) const = 0;
  };
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // NomDuType is kept upper-cased.
  TProprietePubliee(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
                    uint8_t Genre, const TClass* Classe, bool Stockee);
  // From one entry of a class description: its class for tkClass, TObject otherwise.
  TProprietePubliee(const TClass* ClasseProprietaire, const TInfoPropriete& Info);
  explicit TProprietePubliee(TBlank b) : TCustomSerializable(b) {}

  const TClass* ClasseProprietaire = nullptr;
  std::string Libelle;
  std::string NomDuType;
  // The kind of the type (TTypeKind): tkClass marks an object property, tkInterface an interface one.
  uint8_t Genre = tkUnknown;
  // For tkClass the declared class, otherwise TObject (nil in a descriptor read from a stream).
  const TClass* Classe = nullptr;
  // The property is stored; not part of the stream form, so False in a descriptor read back.
  bool Stockee = false;

  // The owner's class name, Libelle, NomDuType, Genre (Entier) and, for tkClass only, the class
  // name. Class names are resolved through the class-name registry when read (nil when unknown,
  // and "TObject" is left unresolved); a kind outside the known ones raises EReadError.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  // Tracing: the lines "Libelle", "NomDuType", "Type" (the kind's name) and, for tkClass, "Classe".
  virtual void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerElements(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  // The "classe" block holding the two texts above one level deeper.
  virtual void Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  // Tracer on the default tracer while the trace is active, else empty.
  virtual void TexteTrace(std::string& Texte);
  // "NULL" for no descriptor.
  static void TexteTrace(TProprietePubliee* Descripteur, std::string& Texte);
  bool TraceActive() const { return delegue_.TraceActive(); }

  // The names under which the trace delegate reaches the four operations above.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) { TracerProprietes(Traceur, Texte); }
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) { TracerElements(Detail, Traceur, Texte); }
  void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) { Tracer(Detail, Traceur, Texte); }
  void TracerResume(std::string& Texte) { TexteTrace(Texte); }

  // The name of a type kind ("tkClass"); "Inconnu" outside the kinds.
  static std::string NomGenre(uint8_t Genre);

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TPorteurDelegue<TProprietePubliee> delegue_{this};
};

// Binds a descriptor class's constructors to its class descriptor.
template <class Self>
struct TProprietePublieeClassOf final : TProprietePubliee::Class {
  TProprietePublieeClassOf(const char* name, const TClass* parent) : TProprietePubliee::Class(name, parent, &NewBlankOf<Self>) {}
  TProprietePubliee* Creer(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
                           uint8_t Genre, const TClass* Classe, bool Stockee) const override {
    return new Self(ClasseProprietaire, Libelle, NomDuType, Genre, Classe, Stockee);
  }
  TProprietePubliee* CreerDepuisInfo(const TClass* ClasseProprietaire, const TInfoPropriete& Info) const override {
    return new Self(ClasseProprietaire, Info);
  }
};

// A descriptor class reference.
using TClasseProprietePubliee = const TProprietePubliee::Class*;

// The description of one field of an article class. A field made from the class description starts
// as an indexed reference that may be null and is reset to the default when the referenced article
// is deleted; one made from explicit values without rules (a placeholder) has none of these. The
// reference rules and the access path are not part of the stream form.
class TChampPublie : public TProprietePubliee {
 public:
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  TChampPublie(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
               uint8_t Genre, const TClass* Classe, bool Stockee);
  TChampPublie(const TClass* ClasseProprietaire, const TInfoPropriete& Info);
  // Every value explicit; Stockee is kept as given even with an access path, which the field owns.
  TChampPublie(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
               uint8_t Genre, const TClass* Classe, bool Stockee, bool ReferenceIndexee, bool ReferenceNulle,
               TypeRegleSuppressionReference RegleSuppressionReference, TInfosAcces* InfosAcces);
  explicit TChampPublie(TBlank b) : TProprietePubliee(b) {}
  // Frees the access path.
  ~TChampPublie() override;

  // The column keeps an index of its rows ordered by the referenced article.
  bool ReferenceIndexee = false;
  // A null reference is allowed.
  bool ReferenceNulle = false;
  TypeRegleSuppressionReference RegleSuppressionReference = RSR_Suppression;

  TInfosAcces* GetInfosAcces() const { return infosAcces_; }
  // Nothing when Infos is the current path; otherwise the current path is freed, Infos kept, and the
  // field is no longer stored.
  void SetInfosAcces(TInfosAcces* Infos);
  bool EstCalcule() const { return infosAcces_ != nullptr; }

  // The inherited lines, then "ReferenceIndexee" and "ReferenceNulle" (-1 or 0),
  // "RegleSuppressionReference" and, with an access path, "InfosAcces".
  void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) override;

 private:
  TInfosAcces* infosAcces_ = nullptr;
};

// The descriptors of one class, element i describing the property whose index number is i; gaps
// between index numbers hold placeholders (empty name, tkUnknown, TObject, not stored). The list
// never frees its descriptors: they belong to whoever made its content (the schema registry; for a
// list read from a stream, the reader's caller, as for every object array that does not own its
// elements).
class TListeProprietesPubliees : public TArrayOfTObject {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // The list of ClasseDecrite (empty for nil) made of ClasseElement descriptors (TProprietePubliee
  // for nil). 32 elements per page, dynamic, not owning its elements.
  TListeProprietesPubliees(const TClass* ClasseDecrite, TClasseProprietePubliee ClasseElement);
  // The array's own constructor, reached through the array's virtual constructor.
  TListeProprietesPubliees(int32_t ElementsParPage, bool Dynamique, bool LibererElements);
  explicit TListeProprietesPubliees(TBlank b) : TArrayOfTObject(b) {}

  const TClass* ClasseDecrite() const { return classeDecrite_; }
  TClasseProprietePubliee ClasseElement() const { return classeElement_; }
  // The descriptor at a position (nil outside the list).
  TProprietePubliee* Propriete(int32_t Indice) const;

  // Appends a placeholder made by the element class.
  void AjouterVide();

  // The array's own form, then the names of ClasseDecrite and ClasseElement.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // Every element must be a descriptor and the element class a descriptor class (EReadError; the
  // elements read are then freed).
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

 protected:
  void Construire();

  const TClass* classeDecrite_ = nullptr;
  TClasseProprietePubliee classeElement_ = nullptr;
};

// The fields of an article class: the same list with TChampPublie as the default element class.
class TListeChampsPublies : public TListeProprietesPubliees {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  TListeChampsPublies(const TClass* ClasseArticle, TClasseProprietePubliee ClasseElement);
  TListeChampsPublies(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
      : TListeProprietesPubliees(ElementsParPage, Dynamique, LibererElements) {}
  explicit TListeChampsPublies(TBlank b) : TListeProprietesPubliees(b) {}

  TChampPublie* Champ(int32_t Indice) const { return ObjectAs<TChampPublie>(Propriete(Indice)); }
};

namespace ProprietePubliee {
// The published properties of a class, those of its ancestors first, each in declaration order.
std::vector<const TInfoPropriete*> ProprietesDeClasse(const TClass* Classe);
// Registers the descriptor and list classes by name.
void Initialiser();
}  // namespace ProprietePubliee
