// The tracing delegate of classes that cannot derive from TCustomTracable (trees, collectables,
// verifiables): a small traceable object, made on the first request for ITracable, that holds the
// trace-active flag and sends the four trace operations back to its owner. Each such unit uses its
// own instance of the template.
#pragma once

#include <memory>
#include <string>

#include "core/diagnostics/Trace.h"

template <class Owner>
class TDelegueTracable final : public TCustomTracable {
 public:
  explicit TDelegueTracable(Owner* Proprietaire) : proprietaire_(Proprietaire) {}

  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override { proprietaire_->TracerEntete(Traceur, Texte); }
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override {
    proprietaire_->TracerContenu(Detail, Traceur, Texte);
  }
  void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override {
    proprietaire_->TracerComplet(Detail, Traceur, Texte);
  }
  void TracerResume(std::string& Texte) override { proprietaire_->TracerResume(Texte); }

 private:
  Owner* proprietaire_;
};

// The owner's side: the delegate made on first use, and the trace-active flag (True until a delegate
// exists to say otherwise).
template <class Owner>
class TPorteurDelegue {
 public:
  explicit TPorteurDelegue(Owner* Proprietaire) : proprietaire_(Proprietaire) {}

  ITracable* Tracable() {
    if (!delegue_) delegue_ = std::make_unique<TDelegueTracable<Owner>>(proprietaire_);
    return delegue_.get();
  }
  bool TraceActive() const { return !delegue_ || delegue_->GetTraceActive(); }

 private:
  Owner* proprietaire_;
  std::unique_ptr<TDelegueTracable<Owner>> delegue_;
};

namespace DelegueTracable {

// The block of a traced object: its class name, then its own lines and its contents one level deeper,
// then the block's end. Empty when the object's trace is switched off.
template <class Owner>
void TracerBloc(Owner& Objet, bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!Objet.TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  Traceur->TracerValeur("classe", Objet.ClassName(), part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  Objet.TracerEntete(Traceur, part);
  Texte += part;
  Objet.TracerContenu(Detail, Traceur, part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("classe", part);
  Texte += part;
}

// The complete traces of the items of a list, in order (items that are not traceable give nothing).
template <class List>
void TracerElements(const List& Liste, bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  std::string part;
  for (int i = 0; i < Liste.Count(); ++i) {
    TCustomTracable::TracerObjet(Liste.Items(i), Detail, Traceur, part);
    Texte += part;
  }
}

}  // namespace DelegueTracable
