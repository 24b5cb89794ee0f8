// The typed parameter template: a parameter holding one value of a given type, written once and
// instantiated per value type in its own unit (ParametreInteger, ParametreString, ...). Each public
// instance is a named subclass with its own descriptor, whose virtual constructor the registry of
// type names reaches.
//
// Traits (the value methods of one instance) supply:
//   using Valeur; static constexpr const char* kLibelle (the label of its trace block);
//   Liberer(Valeur&), Copier(Source, Destination&), Tracer(Valeur, Traceur, Texte&) (the whole
//   "Parametre" block), Ecrire(Valeur, Formateur, Contexte) and Lire(Formateur, Contexte) -> Valeur
//   (a short read raises EReadError).
// TParametreTraitsBase gives the defaults of a plain value type.
//
// Stream form: what TCustomParametre writes (Nom, Etiquette, Collecte), then the value as the
// instance writes it.
#pragma once

#include <string>

#include "objectdb/parameters/CustomParametre.h"

template <class T>
struct TParametreTraitsBase {
  using Valeur = T;
  // A parameter never frees what its value designates.
  static void Liberer(T& /*Valeur*/) {}
  static void Copier(const T& Source, T& Destination) { Destination = Source; }
};

template <class Traits>
class TParametreTemplate : public TCustomParametre {
 public:
  using T = typename Traits::Valeur;

  explicit TParametreTemplate(bool Collecte) : TCustomParametre(Collecte) {}
  TParametreTemplate(const std::string& Nom, bool Collecte) : TCustomParametre(Nom, Collecte) {}
  explicit TParametreTemplate(TBlank b) : TCustomParametre(b) {}
  ~TParametreTemplate() override { Traits::Liberer(valeur_); }

  virtual T GetValeur() const { return valeur_; }
  virtual void SetValeur(const T& Valeur) { valeur_ = Valeur; }

  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override {
    TCustomParametre::Ecrire(Formateur, Contexte);
    Traits::Ecrire(valeur_, Formateur, Contexte);
  }
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override {
    TCustomParametre::Lire(Formateur, Contexte);
    SetValeur(Traits::Lire(Formateur, Contexte));
  }
  // Nom, then a copy of the source's value; a source of another class raises EInvalidCast.
  void Assigner(TCustomParametre* Source) override {
    TCustomParametre::Assigner(Source);
    T copie{};
    Traits::Copier(static_cast<TParametreTemplate*>(Source)->valeur_, copie);
    SetValeur(copie);
  }
  // The value's "Parametre" block.
  void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) override {
    Texte.clear();
    if (TraceActive()) Traits::Tracer(valeur_, Traceur, Texte);
  }

 protected:
  T valeur_{};
};

// Binds a public parameter class's constructor to its descriptor.
template <class Self>
struct TParametreClassOf final : TCustomParametre::Class {
  TParametreClassOf(const char* name, const TClass* parent) : TCustomParametre::Class(name, parent, &NewBlankOf<Self>) {}
  TCustomParametre* Creer(const std::string& Nom, bool Collecte) const override { return new Self(Nom, Collecte); }
};

// Declares a public parameter class of an instance (NV_DEFINE_PARAMETRE_CLASS in its source file).
#define NV_PARAMETRE_CLASS_BEGIN(Self, Traits)                                  \
  class Self : public TParametreTemplate<Traits> {                              \
   public:                                                                      \
    using Base = TParametreTemplate<Traits>;                                    \
    using Base::Base;                                                           \
    static const TCustomParametre::Class* StaticClass();                        \
    const TClass* ClassType() const override { return Self::StaticClass(); }
#define NV_PARAMETRE_CLASS_END \
  };
#define NV_PARAMETRE_CLASS(Self, Traits) \
  NV_PARAMETRE_CLASS_BEGIN(Self, Traits) \
  NV_PARAMETRE_CLASS_END

#define NV_DEFINE_PARAMETRE_CLASS(Self)                                                   \
  const TCustomParametre::Class* Self::StaticClass() {                                    \
    static const TParametreClassOf<Self> descriptor(#Self, TCustomParametre::StaticClass()); \
    return &descriptor;                                                                   \
  }
