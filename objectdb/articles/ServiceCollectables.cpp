#include "objectdb/articles/ServiceCollectables.h"

#include "core/objects/Erreur.h"

NV_DEFINE_CLASS(TServiceCollectables, TServiceInterfaces)
NV_DEFINE_SERVICE_APP(TServiceCollectablesApplication, TServiceInterfacesApp)

TServiceCollectables::TServiceCollectables(const std::string& Nom, uint8_t Niveau,
                                           const TServiceInterfacesApp::Class* Proprietaire)
    : TServiceInterfaces(Nom, Niveau, Proprietaire) {}

TServiceCollectables::~TServiceCollectables() { DernierPassage(); }

void* TServiceCollectables::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ICollectable::IID) return static_cast<ICollectable*>(this);
  return TServiceInterfaces::GetInterfaceEntry(iid);
}

bool TServiceCollectables::Ajouter(IInterface* Interface) {
  return Supports<ICollectable>(Interface) != nullptr && TServiceInterfaces::Ajouter(Interface);
}

bool TServiceCollectables::Retirer(IInterface* Interface) {
  return Supports<ICollectable>(Interface) != nullptr && TServiceInterfaces::Retirer(Interface);
}

ICollectable* TServiceCollectables::SetOptions(TypeOptionsCollecte Options) {
  options_ = Options;
  return this;
}

void TServiceCollectables::AjouterOptions(TypeOptionsCollecte Options) {
  options_ = static_cast<TypeOptionsCollecte>(options_ | Options);
  for (IInterface* i : Interfaces())
    if (ICollectable* c = Supports<ICollectable>(i)) c->AjouterOptions(Options);
}

void TServiceCollectables::RetirerOptions(TypeOptionsCollecte Options) {
  options_ = static_cast<TypeOptionsCollecte>(options_ & ~Options);
  for (IInterface* i : Interfaces())
    if (ICollectable* c = Supports<ICollectable>(i)) c->RetirerOptions(Options);
}

void TServiceCollectables::Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) {
  if ((Options & options_) == 0) return;
  // The count is read once; a collectable that leaves during the walk shortens it.
  const std::size_t nombre = Interfaces().size();
  for (std::size_t i = 0; i < nombre && i < Interfaces().size(); ++i) {
    ICollectable* collectable = Supports<ICollectable>(Interfaces()[i]);
    if (collectable == nullptr) continue;
    TErreur* e = nullptr;
    collectable->Collecter(options_, e);
    if (e == nullptr) continue;
    if (Erreur == nullptr) Erreur = new TErreur("TServiceCollectables.Collecter");
    e->AjouterA(Erreur);
  }
}

TObject* TServiceCollectables::Traiter() {
  TErreur* erreur = nullptr;
  Collecter(options_, erreur);
  return erreur;
}

TServiceInterfaces* TServiceCollectablesApplication::CreerService() {
  return new TServiceCollectables("TServiceCollectablesApplication", 2, TServiceCollectablesApplication::StaticClass());
}
