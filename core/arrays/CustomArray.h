// The abstract root of every typed array (integers, strings, objects ...): the operations that code
// handling an array without knowing its element type relies on (capacity, count, order, comparison,
// emptying, adding and removing another array's elements, writing and reading it).
#pragma once

#include <cstdint>

#include "core/objects/ObjetInterfacable.h"
#include "core/serial/Serialisation.h"

class TCustomArray : public TObjetInterfacable, public ISerializable {
 public:
  // The descriptor of an array class carries its virtual constructor.
  struct Class : TClass {
    using TClass::TClass;
    // A new array of the class (nil for an abstract class).
    virtual TCustomArray* Creer(int32_t ElementsParPage, bool Dynamique, bool LibererElements) const;
  };
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  TCustomArray() = default;
  explicit TCustomArray(TBlank b) : TObjetInterfacable(b) {}

  // Capacity: the number of slots, occupied or empty.
  virtual int32_t GetNombreTotalElements() const = 0;
  virtual void SetNombreTotalElements(int32_t N) = 0;
  // The number of occupied slots.
  virtual int32_t GetNombreElements() const = 0;
  virtual bool GetTriInverse() const = 0;
  virtual void SetTriInverse(bool Valeur) = 0;
  // Order of this array against another of the same instance (EInvalidCast otherwise).
  virtual int8_t Comparer(TCustomArray* Autre) = 0;
  virtual void Vider() = 0;
  virtual void AjouterTableau(TCustomArray* Autre) = 0;
  virtual void SupprimerTableau(TCustomArray* Autre) = 0;
  // Writes and reads the options and the elements; Contexte goes to the nested objects.
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override = 0;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override = 0;

  // Frees an object that a reader read and then gave up, together with the objects that the object
  // arrays of its graph hold without owning them: a reader hands those to its caller, and a read
  // that is given up has no caller to hand them to.
  static void LibererLu(TObject* Objet);
  // The part of LibererLu that falls to an array, just before it is freed: the elements it holds
  // without owning them are freed, and the elements it owns give up theirs. Only object arrays
  // hold such elements.
  virtual void LibererNonPossedes() {}

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override {
    if (iid == ISerializable::IID) return static_cast<ISerializable*>(this);
    return TObjetInterfacable::GetInterfaceEntry(iid);
  }
};

// Binds a concrete array class's constructor to its descriptor.
template <class Self>
struct TCustomArrayClassOf final : TCustomArray::Class {
  TCustomArrayClassOf(const char* name, const TClass* parent) : TCustomArray::Class(name, parent, &NewBlankOf<Self>) {}
  TCustomArray* Creer(int32_t ElementsParPage, bool Dynamique, bool LibererElements) const override {
    return new Self(ElementsParPage, Dynamique, LibererElements);
  }
};

// Declares and defines the descriptor of a public array class (named after the class).
#define NV_DECLARE_ARRAY_CLASS(Self)                                   \
 public:                                                               \
  static const TCustomArray::Class* StaticClass();                     \
  const TClass* ClassType() const override { return Self::StaticClass(); }

#define NV_DEFINE_ARRAY_CLASS(Self)                                                      \
  const TCustomArray::Class* Self::StaticClass() {                                       \
    static const TCustomArrayClassOf<Self> descriptor(#Self, TCustomArray::StaticClass()); \
    return &descriptor;                                                                  \
  }
