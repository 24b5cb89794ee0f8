// Class descriptors: every class that is created by name, read back from a stream or asked for its
// name carries one. A descriptor knows the exact class name, its parent, answers InheritsFrom and
// builds a blank object (members zeroed, none of the ordinary constructor's side effects).
// Class references are `const TClass*`. Virtual class methods of a family of classes are virtual
// functions of a descriptor subclass (see TClassOf below).
#pragma once

#include <string>

class TObject;

// Tag of the constructors that build a blank object: every member zero or empty, nothing registered,
// nothing created. Reading an object back from a stream starts from such an object.
struct TBlank {};

class TClass {
 public:
  using BlankFactory = TObject* (*)();

  TClass(const char* name, const TClass* parent, BlankFactory blank)
      : name_(name), parent_(parent), blank_(blank) {}
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

 private:
  std::string name_;
  const TClass* parent_;
  BlankFactory blank_;
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
