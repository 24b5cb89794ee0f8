// The collectable service: an application service of level 2 that, on every turn of the main loop,
// asks each registered collectable to collect itself. The article factories free there every article
// they made during the turn, and a table of transient copies left without rows hands itself to the
// collector (level 1), which frees it at the start of the next turn.
//
// Main thread only. The service refers to its collectables and owns none of them; a collectable
// withdraws itself before it is freed.
#pragma once

#include <cstdint>
#include <string>

#include "core/objects/Collectable.h"
#include "core/objects/ServiceNorvane.h"

// Through ICollectable its options are its own and its collect-active flag is the service's active
// flag.
class TServiceCollectables : public TServiceInterfaces, public ICollectable {
  NV_DECLARE_CLASS(TServiceCollectables)
 public:
  // Options {OC_Globale}.
  TServiceCollectables(const std::string& Nom, uint8_t Niveau, const TServiceInterfacesApp::Class* Proprietaire);
  explicit TServiceCollectables(TBlank b) : TServiceInterfaces(b), options_(0) {}
  ~TServiceCollectables() override;

  // Registers (or removes) the interface only when it answers ICollectable.
  bool Ajouter(IInterface* Interface) override;
  bool Retirer(IInterface* Interface) override;

  TypeOptionsCollecte GetOptions() override { return options_; }
  ICollectable* SetOptions(TypeOptionsCollecte Options) override;
  bool GetCollecteActive() override { return GetActif(); }
  void SetCollecteActive(bool Valeur) override { SetActif(Valeur); }
  // The service's options gain (lose) Options, then so does every registered collectable, in order.
  void AjouterOptions(TypeOptionsCollecte Options) override;
  void RetirerOptions(TypeOptionsCollecte Options) override;
  // Nothing when Options and the service's options have nothing in common. Otherwise each registered
  // collectable, in registration order, collects with the service's own options; their errors are
  // gathered under "TServiceCollectables.Collecter". Nothing is published here.
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override;

 protected:
  // Collects with the service's options; the gathered errors, or nil.
  TObject* Traiter() override;
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TypeOptionsCollecte options_ = EnsembleCollecte({OC_Globale});
};

// The accessor of the application's collectable service ("TServiceCollectablesApplication", level
// 2): TServiceCollectablesApplication::Ajouter(collectable) creates the service on first use.
class TServiceCollectablesApplication : public TServiceInterfacesAppOf<TServiceCollectablesApplication> {
 public:
  static const Class* StaticClass();
  static TServiceInterfaces* CreerService();
};
