#include "core/objects/Verification.h"

#include "core/objects/Collectable.h"
#include "core/objects/Erreur.h"

NV_DEFINE_CLASS(TCustomVerifiable, TListeObjetsInterfacable)
NV_DEFINE_CLASS(TServiceVerifiables, TServiceInterfaces)
NV_DEFINE_SERVICE_APP(TServiceVerifiablesApplication, TServiceInterfacesApp)

namespace {
TypeEventId eventVerification = 0;
}  // namespace

TypeEventId Verification::EventVerification() { return eventVerification; }

void Verification::Initialiser() {
  TracerModule("Initialisation du module Verification.");
  eventVerification = TObjetAbonnant::NouvelEventId();
}

std::string TChaineVerification::NomOption(int Option) {
  switch (Option) {
    case OV_Globale: return "OV_Globale";
    case OV_AvecCorrection: return "OV_AvecCorrection";
    case OV_AvecTrace: return "OV_AvecTrace";
    case OV_AvecMessage: return "OV_AvecMessage";
    default: return "Inconnu";
  }
}

std::string TChaineVerification::OptionsEnTexte(TypeOptionsVerification Options) {
  return Collectable::EnsembleEnTexte(Options, 4, &TChaineVerification::NomOption);
}

// ---------------------------------------------------------------------------------------------------
// TCustomVerifiable

TCustomVerifiable::TCustomVerifiable(bool PossedeObjets) : TListeObjetsInterfacable(PossedeObjets) {}

void* TCustomVerifiable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IVerifiable::IID) return static_cast<IVerifiable*>(this);
  if (iid == ITracable::IID) return delegue_.Tracable();
  return TListeObjetsInterfacable::GetInterfaceEntry(iid);
}

IVerifiable* TCustomVerifiable::SetOptions(TypeOptionsVerification Options) {
  options_ = Options;
  return this;
}

void TCustomVerifiable::SetVerificationActive(bool Valeur) {
  if (Valeur == verificationActive_) return;
  verificationActive_ = Valeur;
  if (SurChangement) SurChangement(this);
}

void TCustomVerifiable::AjouterOptions(TypeOptionsVerification Options) {
  options_ = static_cast<TypeOptionsVerification>(options_ | Options);
  for (int i = 0; i < Count(); ++i)
    if (IVerifiable* item = InterfaceOf<IVerifiable>(Items(i))) item->AjouterOptions(Options);
}

void TCustomVerifiable::RetirerOptions(TypeOptionsVerification Options) {
  options_ = static_cast<TypeOptionsVerification>(options_ & ~Options);
  for (int i = 0; i < Count(); ++i)
    if (IVerifiable* item = InterfaceOf<IVerifiable>(Items(i))) item->RetirerOptions(Options);
}

void TCustomVerifiable::Verifier(TypeOptionsVerification Options, TErreur*& Erreur) {
  const auto communes = static_cast<TypeOptionsVerification>(Options & options_);
  if (!verificationActive_ || communes == 0) return;
  const int nombre = Count();
  for (int i = 0; i < nombre && i < Count(); ++i) {
    IVerifiable* item = InterfaceOf<IVerifiable>(Items(i));
    if (item == nullptr) continue;
    TErreur* e = nullptr;
    item->Verifier(communes, e);
    if (e == nullptr) continue;
    if (Erreur == nullptr) Erreur = new TErreur("TCustomVerifiable.Verifier");
    e->AjouterA(Erreur);
  }
  if (Erreur && SurErreur) SurErreur(this, Erreur);
}

void TCustomVerifiable::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string ligne;
  Traceur->TracerPropriete("Options", TChaineVerification::OptionsEnTexte(options_), ligne);
  Texte += ligne;
  Traceur->TracerPropriete("VerificationActive", verificationActive_ ? "True" : "False", ligne);
  Texte += ligne;
}

void TCustomVerifiable::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (TraceActive()) DelegueTracable::TracerElements(*this, Detail, Traceur, Texte);
}

void TCustomVerifiable::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TCustomVerifiable::TracerResume(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) TracerComplet(false, nullptr, Texte);
}

// ---------------------------------------------------------------------------------------------------
// TServiceVerifiables

TServiceVerifiables::TServiceVerifiables(const std::string& Nom, uint8_t Niveau,
                                         const TServiceInterfacesApp::Class* Proprietaire)
    : TServiceInterfaces(Nom, Niveau, Proprietaire) {}

TServiceVerifiables::~TServiceVerifiables() { DernierPassage(); }

void* TServiceVerifiables::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IVerifiable::IID) return static_cast<IVerifiable*>(this);
  return TServiceInterfaces::GetInterfaceEntry(iid);
}

bool TServiceVerifiables::Ajouter(IInterface* Interface) {
  return Supports<IVerifiable>(Interface) != nullptr && TServiceInterfaces::Ajouter(Interface);
}

bool TServiceVerifiables::Retirer(IInterface* Interface) {
  return Supports<IVerifiable>(Interface) != nullptr && TServiceInterfaces::Retirer(Interface);
}

IVerifiable* TServiceVerifiables::SetOptions(TypeOptionsVerification Options) {
  options_ = Options;
  return this;
}

void TServiceVerifiables::AjouterOptions(TypeOptionsVerification Options) {
  options_ = static_cast<TypeOptionsVerification>(options_ | Options);
  for (IInterface* i : Interfaces())
    if (IVerifiable* v = Supports<IVerifiable>(i)) v->AjouterOptions(Options);
}

void TServiceVerifiables::RetirerOptions(TypeOptionsVerification Options) {
  options_ = static_cast<TypeOptionsVerification>(options_ & ~Options);
  for (IInterface* i : Interfaces())
    if (IVerifiable* v = Supports<IVerifiable>(i)) v->RetirerOptions(Options);
}

void TServiceVerifiables::Verifier(TypeOptionsVerification Options, TErreur*& Erreur) {
  if ((Options & options_) == 0) return;
  const std::size_t nombre = Interfaces().size();
  for (std::size_t i = 0; i < nombre && i < Interfaces().size(); ++i) {
    IVerifiable* verifiable = Supports<IVerifiable>(Interfaces()[i]);
    if (verifiable == nullptr) continue;
    TErreur* e = nullptr;
    verifiable->Verifier(options_, e);
    if (e == nullptr) continue;
    if (Erreur == nullptr) Erreur = new TErreur("TServiceVerifiables.Verifier");
    e->AjouterA(Erreur);
  }
  if (Erreur) Publier(Erreur);
}

void TServiceVerifiables::Publier(TErreur* Erreur) {
  const TServiceInterfacesApp::Class* proprietaire = GetProprietaire();
  if (proprietaire == nullptr || !proprietaire->InheritsFrom(TServiceVerifiablesApplication::StaticClass())) return;
  Notifier(Verification::EventVerification(), Erreur);
  if (TServiceInterfaces* service = proprietaire->GetService()) service->SetActif(false);
}

TObject* TServiceVerifiables::Traiter() {
  TErreur* erreur = nullptr;
  Verifier(options_, erreur);
  return erreur;
}

TServiceInterfaces* TServiceVerifiablesApplication::CreerService() {
  return new TServiceVerifiables("ServiceVerifiablesApplication", 0, TServiceVerifiablesApplication::StaticClass());
}
