// Class descriptors: every class that is created by name, read back from a stream or asked for its
// name carries one. A descriptor knows the exact class name, its parent, answers InheritsFrom and
// builds a blank object (members zeroed, none of the ordinary constructor's side effects).
// Class references are `const TClass*`. Virtual class methods of a family of classes are virtual
// functions of a descriptor subclass (see TClassOf below). A descriptor may also list the class's own
// published properties, from which the object database builds its columns.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>

class TObject;
class TClass;

// The kind of a published property's type. The numbers are written in streams.
enum TTypeKind : uint8_t {
  tkUnknown = 0, tkInteger = 1, tkChar = 2, tkEnumeration = 3, tkFloat = 4, tkString = 5,
  tkSet = 6, tkClass = 7, tkMethod = 8, tkWChar = 9, tkLString = 10, tkWString = 11,
  tkVariant = 12, tkArray = 13, tkRecord = 14, tkInterface = 15, tkInt64 = 16, tkDynArray = 17,
};

// The index number of a property declared without one.
inline constexpr int32_t kProprieteSansIndex = std::numeric_limits<int32_t>::min();

// One published property, as its class declares it. Classe gives the declared class of a tkClass
// property (a function, so that a class may publish a property of its own class); nil otherwise.
struct TInfoPropriete {
  const char* Nom;
  const char* NomDuType;
  TTypeKind Genre;
  const TClass* (*Classe)();
  int32_t Index;
  bool Stockee;
};

// Tag of the constructors that build a blank object: every member zero or empty, nothing registered,
// nothing created. Reading an object back from a stream starts from such an object.
struct TBlank {};

class TClass {
 public:
  using BlankFactory = TObject* (*)();

  // Proprietes: the class's own published properties in declaration order (those of its ancestors
  // are their descriptors'); the entries must outlive the descriptor.
  TClass(const char* name, const TClass* parent, BlankFactory blank, std::span<const TInfoPropriete> Proprietes = {})
      : name_(name), parent_(parent), blank_(blank), proprietes_(Proprietes) {}
  TClass(const TClass&) = delete;
  TClass& operator=(const TClass&) = delete;
  virtual ~TClass() = default;

  const std::string& ClassName() const { return name_; }
  const TClass* ClassParent() const { return parent_; }
  // True when this class is `other` or descends from it.
  bool InheritsFrom(const TClass* other) const {
    for (const TClass* c = this; c != nullptr; c = c->parent_)
      if (c == other) return true;
    return false;
  }
  // A blank instance, or nullptr for an abstract class.
  TObject* NewBlank() const { return blank_ ? blank_() : nullptr; }
  bool IsAbstract() const { return blank_ == nullptr; }
  // The properties this class itself publishes, in declaration order.
  std::span<const TInfoPropriete> ProprietesPropres() const { return proprietes_; }

 private:
  std::string name_;
  const TClass* parent_;
  BlankFactory blank_;
  std::span<const TInfoPropriete> proprietes_;
};

// The root object class.
class TObject {
 public:
  TObject() = default;
  explicit TObject(TBlank) {}
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClass* StaticClass();
  virtual const TClass* ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType()->ClassName(); }
  bool InheritsFrom(const TClass* c) const { return ClassType()->InheritsFrom(c); }
  template <class T>
  bool Is() const { return InheritsFrom(T::StaticClass()); }

  // Runs after an object has been built blank and filled (the after-construction hook).
  virtual void AfterConstruction() {}
};

// Safe down-cast by descriptor: nullptr when the object is nil or not of class T.
template <class T>
T* ObjectAs(TObject* o) {
  return (o != nullptr && o->Is<T>()) ? static_cast<T*>(o) : nullptr;
}

// A descriptor type that adds the class methods of one family. Families declare
//   struct Class : TClass { using TClass::TClass; virtual ... };
// and each class of the family instantiates TClassOf<Self, Family::Class> to bind the methods.
template <class Self>
TObject* NewBlankOf() {
  return new Self(TBlank{});
}

// Declares the descriptor accessors of a class; the descriptor itself is defined in the class's
// source file with NV_DEFINE_CLASS (concrete) or NV_DEFINE_ABSTRACT_CLASS.
#define NV_DECLARE_CLASS(Self)                                                  \
 public:                                                                        \
  static const TClass* StaticClass();                                           \
  const TClass* ClassType() const override { return Self::StaticClass(); }

#define NV_DEFINE_CLASS(Self, Parent)                                           \
  const TClass* Self::StaticClass() {                                           \
    static const TClass descriptor(#Self, Parent::StaticClass(), &NewBlankOf<Self>); \
    return &descriptor;                                                         \
  }

#define NV_DEFINE_ABSTRACT_CLASS(Self, Parent)                                  \
  const TClass* Self::StaticClass() {                                           \
    static const TClass descriptor(#Self, Parent::StaticClass(), nullptr);      \
    return &descriptor;                                                         \
  }

// For templates whose instances are real named subclasses: the name is given explicitly.
#define NV_DEFINE_NAMED_CLASS(Self, Name, Parent)                               \
  const TClass* Self::StaticClass() {                                           \
    static const TClass descriptor(Name, Parent::StaticClass(), &NewBlankOf<Self>); \
    return &descriptor;                                                         \
  }

// A concrete class that publishes properties: Proprietes names a static array of TInfoPropriete
//   static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
//   NV_DEFINE_PUBLISHED_CLASS(TMonArticle, TArticle, kProprietes)
#define NV_DEFINE_PUBLISHED_CLASS(Self, Parent, Proprietes)                                          \
  const TClass* Self::StaticClass() {                                                                \
    static const TClass descriptor(#Self, Parent::StaticClass(), &NewBlankOf<Self>, Self::Proprietes); \
    return &descriptor;                                                                              \
  }
