// Collectables: composites that the collectable service asks, on every turn, to collect themselves
// (an article factory frees its pooled objects there). Collecting a composite collects each of its
// items and gathers their errors under one error. The collect options gate the walk and travel down
// the composite; what they mean is up to the subclasses.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/diagnostics/DelegueTracable.h"
#include "core/objects/ObjetInterfacable.h"

class TErreur;

enum TypeOptionCollecte : uint8_t { OC_Globale = 0, OC_AvecDestruction = 1, OC_AvecTrace = 2, OC_AvecMessage = 3 };
// A set of collect options in one byte: bit n is option n.
using TypeOptionsCollecte = uint8_t;

constexpr TypeOptionsCollecte EnsembleCollecte(std::initializer_list<TypeOptionCollecte> Options) {
  TypeOptionsCollecte ensemble = 0;
  for (TypeOptionCollecte o : Options) ensemble = static_cast<TypeOptionsCollecte>(ensemble | (1u << o));
  return ensemble;
}
inline constexpr TypeOptionsCollecte OptionsCollecteParDefaut = EnsembleCollecte({OC_Globale, OC_AvecTrace, OC_AvecMessage});

namespace Collectable {
// A set of options as text: "[" + the members in increasing order separated by ",", each run of two
// or more consecutive members written as its first and last names joined by "..", + "]".
std::string EnsembleEnTexte(uint8_t Ensemble, int NombreOptions, const std::function<std::string(int)>& Nom);
}  // namespace Collectable

class TChaineCollectable {
 public:
  // The option's identifier, "Inconnu" for any other value.
  static std::string NomOption(int Option);
  static std::string OptionsEnTexte(TypeOptionsCollecte Options);
};

struct ICollectable : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{053790FE-E60F-4728-9927-B77BF2BB8AFA}");
  virtual TypeOptionsCollecte GetOptions() = 0;
  virtual ICollectable* SetOptions(TypeOptionsCollecte Options) = 0;
  virtual bool GetCollecteActive() = 0;
  virtual void SetCollecteActive(bool Valeur) = 0;
  virtual void AjouterOptions(TypeOptionsCollecte Options) = 0;
  virtual void RetirerOptions(TypeOptionsCollecte Options) = 0;
  // Erreur may arrive nil or holding an error; the errors found are attached under it (created when
  // needed).
  virtual void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) = 0;

 protected:
  ~ICollectable() = default;
};

// The items are collectables themselves; every operation is passed on to each of them in order.
class TCustomCollectable : public TListeObjetsInterfacable, public ICollectable {
  NV_DECLARE_CLASS(TCustomCollectable)
 public:
  using TSurChangement = std::function<void(TCustomCollectable* Objet)>;
  using TSurErreur = std::function<void(TCustomCollectable* Objet, TErreur* Erreur)>;

  explicit TCustomCollectable(bool PossedeObjets);
  explicit TCustomCollectable(TBlank b) : TListeObjetsInterfacable(b), collecteActive_(false), options_(0) {}

  TSurChangement SurChangement;
  TSurErreur SurErreur;

  TypeOptionsCollecte GetOptions() override { return options_; }
  // Replaces this object's own options only.
  ICollectable* SetOptions(TypeOptionsCollecte Options) override;
  bool GetCollecteActive() override { return collecteActive_; }
  // A change is stored and reported to SurChangement.
  void SetCollecteActive(bool Valeur) override;
  void AjouterOptions(TypeOptionsCollecte Options) override;
  void RetirerOptions(TypeOptionsCollecte Options) override;
  // Nothing when collecting is off or the options do not meet; otherwise each item with the common
  // options, their errors gathered under "TCustomCollectable.Collecter", then SurErreur.
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override;

  // The lines "Options = [...]" and "CollecteActive = True|False".
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerResume(std::string& Texte);
  bool TraceActive() const { return delegue_.TraceActive(); }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  bool collecteActive_ = true;
  TypeOptionsCollecte options_ = OptionsCollecteParDefaut;
  TPorteurDelegue<TCustomCollectable> delegue_{this};
};
