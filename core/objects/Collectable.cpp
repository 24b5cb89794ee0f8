#include "core/objects/Collectable.h"

#include "core/objects/Erreur.h"

NV_DEFINE_CLASS(TCustomCollectable, TListeObjetsInterfacable)

std::string Collectable::EnsembleEnTexte(uint8_t Ensemble, int NombreOptions,
                                         const std::function<std::string(int)>& Nom) {
  auto membre = [&](int o) { return o < NombreOptions && (Ensemble >> o) & 1; };
  std::string texte = "[";
  for (int o = 0; o < NombreOptions;) {
    if (!membre(o)) {
      ++o;
      continue;
    }
    int fin = o;
    while (membre(fin + 1)) ++fin;
    if (texte.size() > 1) texte += ",";
    texte += Nom(o);
    if (fin > o) texte += ".." + Nom(fin);
    o = fin + 1;
  }
  return texte + "]";
}

std::string TChaineCollectable::NomOption(int Option) {
  switch (Option) {
    case OC_Globale: return "OC_Globale";
    case OC_AvecDestruction: return "OC_AvecDestruction";
    case OC_AvecTrace: return "OC_AvecTrace";
    case OC_AvecMessage: return "OC_AvecMessage";
    default: return "Inconnu";
  }
}

std::string TChaineCollectable::OptionsEnTexte(TypeOptionsCollecte Options) {
  return Collectable::EnsembleEnTexte(Options, 4, &TChaineCollectable::NomOption);
}

TCustomCollectable::TCustomCollectable(bool PossedeObjets) : TListeObjetsInterfacable(PossedeObjets) {}

void* TCustomCollectable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ICollectable::IID) return static_cast<ICollectable*>(this);
  if (iid == ITracable::IID) return delegue_.Tracable();
  return TListeObjetsInterfacable::GetInterfaceEntry(iid);
}

ICollectable* TCustomCollectable::SetOptions(TypeOptionsCollecte Options) {
  options_ = Options;
  return this;
}

void TCustomCollectable::SetCollecteActive(bool Valeur) {
  if (Valeur == collecteActive_) return;
  collecteActive_ = Valeur;
  if (SurChangement) SurChangement(this);
}

void TCustomCollectable::AjouterOptions(TypeOptionsCollecte Options) {
  options_ = static_cast<TypeOptionsCollecte>(options_ | Options);
  for (int i = 0; i < Count(); ++i)
    if (ICollectable* item = InterfaceOf<ICollectable>(Items(i))) item->AjouterOptions(Options);
}

void TCustomCollectable::RetirerOptions(TypeOptionsCollecte Options) {
  options_ = static_cast<TypeOptionsCollecte>(options_ & ~Options);
  for (int i = 0; i < Count(); ++i)
    if (ICollectable* item = InterfaceOf<ICollectable>(Items(i))) item->RetirerOptions(Options);
}

void TCustomCollectable::Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) {
  const auto communes = static_cast<TypeOptionsCollecte>(Options & options_);
  if (!collecteActive_ || communes == 0) return;
  const int nombre = Count();
  for (int i = 0; i < nombre && i < Count(); ++i) {
    ICollectable* item = InterfaceOf<ICollectable>(Items(i));
    if (item == nullptr) continue;
    TErreur* e = nullptr;
    item->Collecter(communes, e);
    if (e == nullptr) continue;
    if (Erreur == nullptr) Erreur = new TErreur("TCustomCollectable.Collecter");
    e->AjouterA(Erreur);
  }
  if (Erreur && SurErreur) SurErreur(this, Erreur);
}

void TCustomCollectable::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string ligne;
  Traceur->TracerPropriete("Options", TChaineCollectable::OptionsEnTexte(options_), ligne);
  Texte += ligne;
  Traceur->TracerPropriete("CollecteActive", collecteActive_ ? "True" : "False", ligne);
  Texte += ligne;
}

void TCustomCollectable::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (TraceActive()) DelegueTracable::TracerElements(*this, Detail, Traceur, Texte);
}

void TCustomCollectable::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TCustomCollectable::TracerResume(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) TracerComplet(false, nullptr, Texte);
}
