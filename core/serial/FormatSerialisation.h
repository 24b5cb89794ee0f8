// A serialisation format: a class whose class methods write, read, and create-and-read objects in
// one particular way. A stream names the format class after the object's class, so format classes
// are registered by name like the objects they carry.
#pragma once

#include "core/objects/ObjetInterfacable.h"

struct IFormatSerialisation : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{47EAA48A-A1F3-4B50-9C73-988CEA865FCE}");

 protected:
  ~IFormatSerialisation() = default;
};

class TCustomFormatSerialisation : public TObjetInterfacable, public IFormatSerialisation {
 public:
  // The descriptor of a format class carries its three class methods. Formateur is the formatter,
  // passed as its IInterface; the format queries it for the formatter interface it needs.
  struct Class : TClass {
    using TClass::TClass;
    virtual void Ecrire(TObject* Objet, IInterface* Formateur) const = 0;
    virtual void Lire(TObject* Objet, IInterface* Formateur) const = 0;
    // Builds a blank instance of Classe (no constructor side effects), reads it, runs its
    // after-construction hook and returns it.
    virtual TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur) const = 0;
  };
  static const Class* StaticClass();

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override {
    if (iid == IFormatSerialisation::IID) return static_cast<IFormatSerialisation*>(this);
    return TObjetInterfacable::GetInterfaceEntry(iid);
  }

 private:
  TCustomFormatSerialisation() = delete;
};

// Binds a format class's static Ecrire / Lire / CreerEtLire to its descriptor:
//   const TCustomFormatSerialisation::Class* TMonFormat::StaticClass() {
//     static const TFormatSerialisationOf<TMonFormat> d("TMonFormat", TCustomFormatSerialisation::StaticClass());
//     return &d; }
template <class Format>
struct TFormatSerialisationOf final : TCustomFormatSerialisation::Class {
  TFormatSerialisationOf(const char* name, const TClass* parent) : TCustomFormatSerialisation::Class(name, parent, nullptr) {}
  void Ecrire(TObject* Objet, IInterface* Formateur) const override { Format::Ecrire(Objet, Formateur); }
  void Lire(TObject* Objet, IInterface* Formateur) const override { Format::Lire(Objet, Formateur); }
  TObject* CreerEtLire(const TClass* Classe, IInterface* Formateur) const override {
    return Format::CreerEtLire(Classe, Formateur);
  }
};
