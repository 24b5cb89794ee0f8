// Application services: named singletons whose work runs once on every turn of the main loop. The
// registry keeps one list per level and runs level 0, then 1, then 2; each service is reached through
// an accessor class that creates it on first use, registers it and frees it at shut-down.
// Everything here runs on the main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/ObjetEvent.h"

namespace ServiceNorvane {
// Taken from the event counter when the unit starts, in this order.
// A service's active flag changed (no data).
TypeEventId EventServiceActivite();
// A service's work returned an object (the data is that object).
TypeEventId EventServiceResultat();
void Initialiser();
}  // namespace ServiceNorvane

// The registry handles services only through this interface.
struct IServiceApplication : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{6C1E2A94-3B7D-4F0E-9A52-D18C4E7B2F63}");
  virtual std::string GetNom() = 0;
  virtual uint8_t GetNiveau() = 0;
  virtual bool GetActif() = 0;
  virtual void SetActif(bool Valeur) = 0;
  // Runs the service's work once; the object the work returned, or nil.
  virtual TObject* Executer() = 0;

 protected:
  ~IServiceApplication() = default;
};

// A named service of level 0, 1 or 2. It is created inactive; registration switches it on. Its
// subscribers hear EventServiceActivite when the active flag changes and EventServiceResultat when
// its work returns an object.
//
// Destruction: an active, idle service does its work one last time before it goes. C++ cannot reach
// the most derived Traiter from a base destructor, so every concrete service class calls
// DernierPassage() first thing in its own destructor; the base destructor only switches the service
// off (without notification) and takes it out of the registry.
class TServiceNorvane : public TObjetAbonnant, public IServiceApplication {
  NV_DECLARE_CLASS(TServiceNorvane)
 public:
  TServiceNorvane(const std::string& Nom, uint8_t Niveau);
  explicit TServiceNorvane(TBlank b) : TObjetAbonnant(b) {}
  ~TServiceNorvane() override;

  std::string GetNom() override { return nom_; }
  uint8_t GetNiveau() override { return niveau_; }
  bool GetActif() override { return actif_; }
  bool GetEnCours() const { return enCours_; }
  // Stores a different value and notifies EventServiceActivite; the same value does nothing.
  void SetActif(bool Valeur) override;
  // Nothing (nil) when inactive or already running; otherwise runs Traiter, notifies
  // EventServiceResultat with its object when there is one, and returns it. EnCours is cleared on
  // every way out, so an exception from the work passes on without blocking later runs.
  TObject* Executer() override;

 protected:
  // The service's work: an object to publish, or nil.
  virtual TObject* Traiter() = 0;
  // The last run of a service being destroyed, then the service is switched off silently and leaves
  // the registry. An exception from that run cannot leave a destructor: it goes to the default tracer.
  void DernierPassage();
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  std::string nom_;
  uint8_t niveau_ = 0;
  bool enCours_ = false;
  bool actif_ = false;
};

class TServiceObjets;
class TServiceInterfaces;

// Accessor classes of services over objects: class methods only. Each concrete accessor keeps its
// service in a class variable (held by its descriptor), nil until first use. Declare one as
//   class TMonAcces : public TServiceObjetsAppOf<TMonAcces> {
//    public:
//     static const Class* StaticClass();
//     static TServiceObjets* CreerService();
//   };
// and define NV_DEFINE_SERVICE_APP(TMonAcces, TServiceObjetsApp) in its source file.
class TServiceObjetsApp : public TClasseFinalisable {
 public:
  // The descriptor carries the virtual class methods.
  struct Class : TClasseFinalisable::Class {
    using TClasseFinalisable::Class::Class;
    // Frees the singleton when there is one and clears the class variable.
    void Finaliser() const override;
    virtual TServiceObjets* CreerService() const = 0;
    virtual TServiceObjets* GetService() const = 0;
    virtual void SetService(TServiceObjets* Service) const = 0;
    // Service().Ajouter: creates the service when there is none yet.
    virtual bool Ajouter(TObject* Objet) const;
    // False when no service exists (none is created); otherwise the service's Retirer.
    virtual bool Retirer(TObject* Objet) const;
    // The singleton, created, registered with the application and for finalisation on first use.
    TServiceObjets* Service() const;
    // -3 when no service exists (none is created); otherwise the service's RangDe.
    int RangDe(const TObject* Objet) const;
  };
  static const Class* StaticClass();
};

// Accessor classes of services over interfaces; the same, with interfaces in place of objects.
class TServiceInterfacesApp : public TClasseFinalisable {
 public:
  struct Class : TClasseFinalisable::Class {
    using TClasseFinalisable::Class::Class;
    void Finaliser() const override;
    virtual TServiceInterfaces* CreerService() const = 0;
    virtual TServiceInterfaces* GetService() const = 0;
    virtual void SetService(TServiceInterfaces* Service) const = 0;
    virtual bool Ajouter(IInterface* Interface) const;
    virtual bool Retirer(IInterface* Interface) const;
    TServiceInterfaces* Service() const;
  };
  static const Class* StaticClass();
};

// A service over a list of objects; the list owns its objects or not, as chosen at creation. The
// list exists from creation until the destructor frees it: while it goes, Ajouter and Retirer answer
// False and RangDe -2, so objects that leave the service from their destructor find it consistent.
class TServiceObjets : public TServiceNorvane {
  NV_DECLARE_CLASS(TServiceObjets)
 public:
  TServiceObjets(const std::string& Nom, uint8_t Niveau, bool PossedeObjets, const TServiceObjetsApp::Class* Proprietaire);
  explicit TServiceObjets(TBlank b) : TServiceNorvane(b) {}
  // Frees the list (an owning list frees the objects still in it, last appended first), then clears
  // the owner's class variable when it still names this service.
  ~TServiceObjets() override;

  // Appends a non-nil object that is not in the list yet; True when it was appended.
  virtual bool Ajouter(TObject* Objet);
  // Takes the object out without freeing it, even from an owning list; True when it was there.
  virtual bool Retirer(TObject* Objet);
  // The object's index, -1 when absent, -2 when the list does not exist. Virtual so that a service
  // that keeps its objects in a structure of its own (the collector) answers for them.
  virtual int RangDe(const TObject* Objet) const;

  TObjectList* Objets() const { return objets_.get(); }
  const TServiceObjetsApp::Class* GetProprietaire() const { return proprietaire_; }

 private:
  const TServiceObjetsApp::Class* proprietaire_ = nullptr;
  std::unique_ptr<TObjectList> objets_;
};

// A service over a list of interface references; it never frees what they refer to. Two references
// to the same object are the same entry, whatever interface they were taken through.
class TServiceInterfaces : public TServiceNorvane {
  NV_DECLARE_CLASS(TServiceInterfaces)
 public:
  TServiceInterfaces(const std::string& Nom, uint8_t Niveau, const TServiceInterfacesApp::Class* Proprietaire);
  explicit TServiceInterfaces(TBlank b) : TServiceNorvane(b) {}
  // Empties the list, then clears the owner's class variable when it still names this service.
  ~TServiceInterfaces() override;

  // Appends a non-nil reference whose object is not in the list yet; True when it was appended.
  virtual bool Ajouter(IInterface* Interface);
  // True when the reference was found and removed.
  virtual bool Retirer(IInterface* Interface);

  const std::vector<IInterface*>& Interfaces() const { return interfaces_; }
  const TServiceInterfacesApp::Class* GetProprietaire() const { return proprietaire_; }

 private:
  int Rang(IInterface* Interface) const;

  const TServiceInterfacesApp::Class* proprietaire_ = nullptr;
  std::vector<IInterface*> interfaces_;
};

// The registry of the application's services: one list per level. It only refers to services and
// never frees them; its lists are created by the first registration and freed at shut-down, before
// any service (it registers for finalisation before the first accessor class does).
class TServicesApplication : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();

  // Puts the service in the list of its level: True, and the service switched on, when it was not
  // there; False, and its active flag left alone, when it was. A level outside 0..2 is refused.
  static bool Enregistrer(IServiceApplication* Service);
  // Once per turn of the main loop: Executer on every registered service, level 0 first, each list
  // in registration order. Nothing before the first registration.
  static void ExecuterServices();
  // When the main loop ends: every registered service switched off, in the same order.
  static void DesactiverServices();
  // Frees the lists (not the services).
  static void Finaliser();

 private:
  friend class TServiceNorvane;
  // A service being destroyed leaves every list, so no later turn reaches it.
  static void Retirer(IServiceApplication* Service);
};

// ---- concrete accessor classes -----------------------------------------------------------------

// Base of a concrete accessor over objects: its class methods, reached as TMonAcces::Ajouter(...),
// go through its descriptor, which also holds the singleton.
template <class Self>
class TServiceObjetsAppOf : public TServiceObjetsApp {
 public:
  struct Descriptor final : TServiceObjetsApp::Class {
    Descriptor(const char* name, const TClass* parent) : TServiceObjetsApp::Class(name, parent, nullptr) {}
    TServiceObjets* CreerService() const override { return Self::CreerService(); }
    TServiceObjets* GetService() const override { return service_; }
    void SetService(TServiceObjets* Service) const override { service_ = Service; }

   private:
    mutable TServiceObjets* service_ = nullptr;
  };

  static TServiceObjets* Service() { return Self::StaticClass()->Service(); }
  static TServiceObjets* GetService() { return Self::StaticClass()->GetService(); }
  static bool Ajouter(TObject* Objet) { return Self::StaticClass()->Ajouter(Objet); }
  static bool Retirer(TObject* Objet) { return Self::StaticClass()->Retirer(Objet); }
  static int RangDe(const TObject* Objet) { return Self::StaticClass()->RangDe(Objet); }
  static void Finaliser() { Self::StaticClass()->Finaliser(); }
};

// Base of a concrete accessor over interfaces.
template <class Self>
class TServiceInterfacesAppOf : public TServiceInterfacesApp {
 public:
  struct Descriptor final : TServiceInterfacesApp::Class {
    Descriptor(const char* name, const TClass* parent) : TServiceInterfacesApp::Class(name, parent, nullptr) {}
    TServiceInterfaces* CreerService() const override { return Self::CreerService(); }
    TServiceInterfaces* GetService() const override { return service_; }
    void SetService(TServiceInterfaces* Service) const override { service_ = Service; }

   private:
    mutable TServiceInterfaces* service_ = nullptr;
  };

  static TServiceInterfaces* Service() { return Self::StaticClass()->Service(); }
  static TServiceInterfaces* GetService() { return Self::StaticClass()->GetService(); }
  static bool Ajouter(IInterface* Interface) { return Self::StaticClass()->Ajouter(Interface); }
  static bool Retirer(IInterface* Interface) { return Self::StaticClass()->Retirer(Interface); }
  static void Finaliser() { Self::StaticClass()->Finaliser(); }
};

// Defines a concrete accessor's StaticClass (its descriptor, named after the class).
#define NV_DEFINE_SERVICE_APP(Self, Parent)                                   \
  const Self::Class* Self::StaticClass() {                                    \
    static const Self::Descriptor descriptor(#Self, Parent::StaticClass());   \
    return &descriptor;                                                       \
  }
