// Process-wide singletons are created on first use by a class method of their holder class, and the
// holder registers itself here; at shut-down every registered holder is finalised in registration
// order, after every unit that uses the singletons has shut down. Also the module trace that units
// call when they start and end.
#pragma once

#include <string>

#include "core/objects/ObjetInterfacable.h"

class TClasseFinalisable : public TObjetInterfacable {
 public:
  // The descriptor of a holder class carries its virtual class method Finaliser.
  struct Class : TClass {
    using TClass::TClass;
    virtual void Finaliser() const = 0;
  };

  static const Class* StaticClass();

  // Adds the holder to the registration list (once).
  static void Enregistrer(const Class* holder);
  // Finalises every registered holder, first registered first; holders registered meanwhile are
  // finalised in their turn, up to the number listed at the start + 101 calls.
  static void FinaliserClasses();
  // The registered holders, in order (for diagnostics and tests).
  static int NombreEnregistrees();

 private:
  TClasseFinalisable() = delete;
};

// Binds a holder's static Finaliser() to its descriptor.
template <class Holder>
struct TClasseFinalisableOf final : TClasseFinalisable::Class {
  using TClasseFinalisable::Class::Class;
  void Finaliser() const override { Holder::Finaliser(); }
};

// Declares, in a holder class, `static const TClasseFinalisable::Class* StaticClass()`; define it with
// NV_DEFINE_FINALISABLE_CLASS in the holder's source file.
#define NV_DEFINE_FINALISABLE_CLASS(Self)                                                      \
  const TClasseFinalisable::Class* Self::StaticClass() {                                       \
    static const TClasseFinalisableOf<Self> descriptor(#Self, TClasseFinalisable::StaticClass(), nullptr); \
    return &descriptor;                                                                        \
  }

// Called with "Initialisation du module X." / "Finalisation du module X."; the message is discarded.
void TracerModule(const std::string& Message);

namespace ClasseFinalisable {
// Unit shut-down: runs FinaliserClasses.
void Finaliser();
}  // namespace ClasseFinalisable
