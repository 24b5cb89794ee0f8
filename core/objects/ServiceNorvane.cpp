#include "core/objects/ServiceNorvane.h"

#include <array>
#include <exception>

#include "core/diagnostics/Trace.h"

NV_DEFINE_ABSTRACT_CLASS(TServiceNorvane, TObjetAbonnant)
NV_DEFINE_ABSTRACT_CLASS(TServiceObjets, TServiceNorvane)
NV_DEFINE_ABSTRACT_CLASS(TServiceInterfaces, TServiceNorvane)
NV_DEFINE_FINALISABLE_CLASS(TServicesApplication)

namespace {
TypeEventId eventServiceActivite = 0;
TypeEventId eventServiceResultat = 0;

constexpr std::size_t kNiveaux = 3;
using Listes = std::array<std::vector<IServiceApplication*>, kNiveaux>;

// The registry's lists; nil means that they do not exist.
std::unique_ptr<Listes>& ListesServices() {
  static std::unique_ptr<Listes> listes;
  return listes;
}

// The object behind an interface reference: references taken through different interfaces of one
// object are the same entry.
const void* Identite(IInterface* i) { return dynamic_cast<const void*>(i); }

// Level after level, each list in order, with the count of each list read once; a list that shrinks
// or disappears during the walk (a service freed by another's work) ends that list's walk.
template <class Action>
void ParcourirServices(Action action) {
  for (std::size_t niveau = 0; niveau < kNiveaux; ++niveau) {
    if (!ListesServices()) return;
    const std::size_t n = (*ListesServices())[niveau].size();
    for (std::size_t i = 0; i < n; ++i) {
      if (!ListesServices() || i >= (*ListesServices())[niveau].size()) break;
      action((*ListesServices())[niveau][i]);
    }
  }
}

// The descriptors of the two abstract accessor classes: no singleton of their own.
struct TServiceObjetsAppAbstrait final : TServiceObjetsApp::Class {
  using TServiceObjetsApp::Class::Class;
  TServiceObjets* CreerService() const override { return nullptr; }
  TServiceObjets* GetService() const override { return nullptr; }
  void SetService(TServiceObjets*) const override {}
};
struct TServiceInterfacesAppAbstrait final : TServiceInterfacesApp::Class {
  using TServiceInterfacesApp::Class::Class;
  TServiceInterfaces* CreerService() const override { return nullptr; }
  TServiceInterfaces* GetService() const override { return nullptr; }
  void SetService(TServiceInterfaces*) const override {}
};
}  // namespace

TypeEventId ServiceNorvane::EventServiceActivite() { return eventServiceActivite; }
TypeEventId ServiceNorvane::EventServiceResultat() { return eventServiceResultat; }

void ServiceNorvane::Initialiser() {
  eventServiceActivite = TObjetAbonnant::NouvelEventId();
  eventServiceResultat = TObjetAbonnant::NouvelEventId();
}

// ---- service ---------------------------------------------------------------------------------------

TServiceNorvane::TServiceNorvane(const std::string& Nom, uint8_t Niveau) : nom_(Nom), niveau_(Niveau) {}

TServiceNorvane::~TServiceNorvane() {
  actif_ = false;
  TServicesApplication::Retirer(this);
}

void TServiceNorvane::SetActif(bool Valeur) {
  if (Valeur == actif_) return;
  actif_ = Valeur;
  Notifier(eventServiceActivite, nullptr);
}

TObject* TServiceNorvane::Executer() {
  if (!actif_ || enCours_) return nullptr;
  struct FinDuPassage {
    bool& enCours;
    ~FinDuPassage() { enCours = false; }
  } fin{enCours_};
  enCours_ = true;
  TObject* resultat = Traiter();
  if (resultat) Notifier(eventServiceResultat, resultat);
  return resultat;
}

void TServiceNorvane::DernierPassage() {
  try {
    Executer();
  } catch (const std::exception& e) {
    std::string ligne;
    Trace::TraceurParDefaut()->Tracer(nom_ + " : " + e.what(), ligne);
  } catch (...) {
    std::string ligne;
    Trace::TraceurParDefaut()->Tracer(nom_ + " : exception", ligne);
  }
  actif_ = false;
  TServicesApplication::Retirer(this);
}

void* TServiceNorvane::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IServiceApplication::IID) return static_cast<IServiceApplication*>(this);
  return TObjetAbonnant::GetInterfaceEntry(iid);
}

// ---- service over objects ----------------------------------------------------------------------------

TServiceObjets::TServiceObjets(const std::string& Nom, uint8_t Niveau, bool PossedeObjets,
                               const TServiceObjetsApp::Class* Proprietaire)
    : TServiceNorvane(Nom, Niveau), proprietaire_(Proprietaire), objets_(std::make_unique<TObjectList>(PossedeObjets)) {}

TServiceObjets::~TServiceObjets() {
  // The list is gone for whoever looks while its objects are freed.
  std::unique_ptr<TObjectList> liste = std::move(objets_);
  liste.reset();
  if (proprietaire_ && proprietaire_->GetService() == this) proprietaire_->SetService(nullptr);
}

bool TServiceObjets::Ajouter(TObject* Objet) {
  if (!objets_ || !Objet || objets_->IndexOf(Objet) >= 0) return false;
  objets_->Add(Objet);
  return true;
}

bool TServiceObjets::Retirer(TObject* Objet) {
  return objets_ && objets_->Extract(Objet) != nullptr;
}

int TServiceObjets::RangDe(const TObject* Objet) const { return objets_ ? objets_->IndexOf(Objet) : -2; }

// ---- service over interfaces ---------------------------------------------------------------------------

TServiceInterfaces::TServiceInterfaces(const std::string& Nom, uint8_t Niveau,
                                       const TServiceInterfacesApp::Class* Proprietaire)
    : TServiceNorvane(Nom, Niveau), proprietaire_(Proprietaire) {}

TServiceInterfaces::~TServiceInterfaces() {
  interfaces_.clear();
  if (proprietaire_ && proprietaire_->GetService() == this) proprietaire_->SetService(nullptr);
}

int TServiceInterfaces::Rang(IInterface* Interface) const {
  const void* cible = Identite(Interface);
  for (std::size_t i = 0; i < interfaces_.size(); ++i)
    if (Identite(interfaces_[i]) == cible) return static_cast<int>(i);
  return -1;
}

bool TServiceInterfaces::Ajouter(IInterface* Interface) {
  if (!Interface || Rang(Interface) >= 0) return false;
  interfaces_.push_back(Interface);
  return true;
}

bool TServiceInterfaces::Retirer(IInterface* Interface) {
  if (!Interface) return false;
  const int i = Rang(Interface);
  if (i < 0) return false;
  interfaces_.erase(interfaces_.begin() + i);
  return true;
}

// ---- accessor classes --------------------------------------------------------------------------------

const TServiceObjetsApp::Class* TServiceObjetsApp::StaticClass() {
  static const TServiceObjetsAppAbstrait descriptor("TServiceObjetsApp", TClasseFinalisable::StaticClass(), nullptr);
  return &descriptor;
}

void TServiceObjetsApp::Class::Finaliser() const {
  delete GetService();
  SetService(nullptr);
}

TServiceObjets* TServiceObjetsApp::Class::Service() const {
  if (TServiceObjets* existant = GetService()) return existant;
  TServiceObjets* service = CreerService();
  if (!service) return nullptr;
  SetService(service);
  TServicesApplication::Enregistrer(service);
  TClasseFinalisable::Enregistrer(this);
  return service;
}

bool TServiceObjetsApp::Class::Ajouter(TObject* Objet) const {
  TServiceObjets* service = Service();
  return service && service->Ajouter(Objet);
}

bool TServiceObjetsApp::Class::Retirer(TObject* Objet) const {
  TServiceObjets* service = GetService();
  return service && service->Retirer(Objet);
}

int TServiceObjetsApp::Class::RangDe(const TObject* Objet) const {
  TServiceObjets* service = GetService();
  return service ? service->RangDe(Objet) : -3;
}

const TServiceInterfacesApp::Class* TServiceInterfacesApp::StaticClass() {
  static const TServiceInterfacesAppAbstrait descriptor("TServiceInterfacesApp", TClasseFinalisable::StaticClass(), nullptr);
  return &descriptor;
}

void TServiceInterfacesApp::Class::Finaliser() const {
  delete GetService();
  SetService(nullptr);
}

TServiceInterfaces* TServiceInterfacesApp::Class::Service() const {
  if (TServiceInterfaces* existant = GetService()) return existant;
  TServiceInterfaces* service = CreerService();
  if (!service) return nullptr;
  SetService(service);
  TServicesApplication::Enregistrer(service);
  TClasseFinalisable::Enregistrer(this);
  return service;
}

bool TServiceInterfacesApp::Class::Ajouter(IInterface* Interface) const {
  TServiceInterfaces* service = Service();
  return service && service->Ajouter(Interface);
}

bool TServiceInterfacesApp::Class::Retirer(IInterface* Interface) const {
  TServiceInterfaces* service = GetService();
  return service && service->Retirer(Interface);
}

// ---- registry ------------------------------------------------------------------------------------------

bool TServicesApplication::Enregistrer(IServiceApplication* Service) {
  if (!Service) return false;
  const std::size_t niveau = Service->GetNiveau();
  if (niveau >= kNiveaux) return false;
  auto& listes = ListesServices();
  if (!listes) {
    TClasseFinalisable::Enregistrer(StaticClass());
    listes = std::make_unique<Listes>();
  }
  const void* cible = Identite(Service);
  auto present = [&](const std::vector<IServiceApplication*>& liste) {
    for (std::size_t i = 0; i < liste.size(); ++i)
      if (Identite(liste[i]) == cible) return static_cast<std::ptrdiff_t>(i);
    return std::ptrdiff_t{-1};
  };
  for (std::size_t autre = 0; autre < kNiveaux; ++autre) {
    if (autre == niveau) continue;
    auto& liste = (*listes)[autre];
    if (std::ptrdiff_t i = present(liste); i >= 0) liste.erase(liste.begin() + i);
  }
  auto& sienne = (*listes)[niveau];
  if (present(sienne) >= 0) return false;
  sienne.push_back(Service);
  Service->SetActif(true);
  return true;
}

void TServicesApplication::ExecuterServices() {
  ParcourirServices([](IServiceApplication* s) { s->Executer(); });
}

void TServicesApplication::DesactiverServices() {
  ParcourirServices([](IServiceApplication* s) { s->SetActif(false); });
}

void TServicesApplication::Finaliser() { ListesServices().reset(); }

void TServicesApplication::Retirer(IServiceApplication* Service) {
  if (!ListesServices()) return;
  const void* cible = Identite(Service);
  for (auto& liste : *ListesServices())
    std::erase_if(liste, [&](IServiceApplication* s) { return Identite(s) == cible; });
}
