// Verification: objects check their own consistency and report what is wrong as an error tree. A
// verifiable is a composite whose items are verified in turn, their errors gathered under one error.
// The application's verification service (level 0) verifies what is registered with it on a turn of
// the main loop, publishes the errors it finds and then switches itself off.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/diagnostics/DelegueTracable.h"
#include "core/objects/ServiceNorvane.h"

class TErreur;

enum TypeOptionVerification : uint8_t { OV_Globale = 0, OV_AvecCorrection = 1, OV_AvecTrace = 2, OV_AvecMessage = 3 };
// A set of verification options in one byte: bit n is option n.
using TypeOptionsVerification = uint8_t;

constexpr TypeOptionsVerification EnsembleVerification(std::initializer_list<TypeOptionVerification> Options) {
  TypeOptionsVerification ensemble = 0;
  for (TypeOptionVerification o : Options) ensemble = static_cast<TypeOptionsVerification>(ensemble | (1u << o));
  return ensemble;
}
inline constexpr TypeOptionsVerification OptionsVerificationParDefaut =
    EnsembleVerification({OV_Globale, OV_AvecTrace, OV_AvecMessage});

namespace Verification {
// Sent by the application's verification service with the error tree as data.
TypeEventId EventVerification();
// Takes the event id.
void Initialiser();
}  // namespace Verification

class TChaineVerification {
 public:
  // The option's identifier, "Inconnu" for any other value.
  static std::string NomOption(int Option);
  // As TChaineCollectable::OptionsEnTexte: "[OV_Globale,OV_AvecTrace..OV_AvecMessage]".
  static std::string OptionsEnTexte(TypeOptionsVerification Options);
};

struct IVerifiable : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{FBB4412A-1D01-40C5-ABC8-98CD7ED59C37}");
  virtual TypeOptionsVerification GetOptions() = 0;
  virtual IVerifiable* SetOptions(TypeOptionsVerification Options) = 0;
  virtual bool GetVerificationActive() = 0;
  virtual void SetVerificationActive(bool Valeur) = 0;
  virtual void AjouterOptions(TypeOptionsVerification Options) = 0;
  virtual void RetirerOptions(TypeOptionsVerification Options) = 0;
  // Erreur may arrive nil or holding an error; what is found is attached under it (created when
  // needed). A finding is never raised.
  virtual void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) = 0;

 protected:
  ~IVerifiable() = default;
};

// The items are verifiables themselves; every operation is passed on to each of them in order.
// Subclasses override Verifier to make their own checks.
class TCustomVerifiable : public TListeObjetsInterfacable, public IVerifiable {
  NV_DECLARE_CLASS(TCustomVerifiable)
 public:
  using TSurChangement = std::function<void(TCustomVerifiable* Objet)>;
  using TSurErreur = std::function<void(TCustomVerifiable* Objet, TErreur* Erreur)>;

  explicit TCustomVerifiable(bool PossedeObjets);
  explicit TCustomVerifiable(TBlank b) : TListeObjetsInterfacable(b), verificationActive_(false), options_(0) {}

  TSurChangement SurChangement;
  TSurErreur SurErreur;

  TypeOptionsVerification GetOptions() override { return options_; }
  // Replaces this object's own options only.
  IVerifiable* SetOptions(TypeOptionsVerification Options) override;
  bool GetVerificationActive() override { return verificationActive_; }
  // A change is stored and reported to SurChangement.
  void SetVerificationActive(bool Valeur) override;
  void AjouterOptions(TypeOptionsVerification Options) override;
  void RetirerOptions(TypeOptionsVerification Options) override;
  // Nothing when verification is off or the options do not meet; otherwise each item with the common
  // options, their errors gathered under "TCustomVerifiable.Verifier", then SurErreur.
  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override;

  // The lines "Options = [...]" and "VerificationActive = True|False".
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerResume(std::string& Texte);
  bool TraceActive() const { return delegue_.TraceActive(); }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  bool verificationActive_ = true;
  TypeOptionsVerification options_ = OptionsVerificationParDefaut;
  TPorteurDelegue<TCustomVerifiable> delegue_{this};
};

// A service over registered verifiables (interfaces answering IVerifiable). Through IVerifiable its
// verification-active flag is the service's active flag.
class TServiceVerifiables : public TServiceInterfaces, public IVerifiable {
  NV_DECLARE_CLASS(TServiceVerifiables)
 public:
  TServiceVerifiables(const std::string& Nom, uint8_t Niveau, const TServiceInterfacesApp::Class* Proprietaire);
  explicit TServiceVerifiables(TBlank b) : TServiceInterfaces(b), options_(0) {}
  ~TServiceVerifiables() override;

  // Registers (or removes) the interface only when it answers IVerifiable.
  bool Ajouter(IInterface* Interface) override;
  bool Retirer(IInterface* Interface) override;

  TypeOptionsVerification GetOptions() override { return options_; }
  IVerifiable* SetOptions(TypeOptionsVerification Options) override;
  bool GetVerificationActive() override { return GetActif(); }
  void SetVerificationActive(bool Valeur) override { SetActif(Valeur); }
  void AjouterOptions(TypeOptionsVerification Options) override;
  void RetirerOptions(TypeOptionsVerification Options) override;
  // Each registered verifiable with the service's own options; their errors gathered under
  // "TServiceVerifiables.Verifier", then published.
  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override;
  // For the application's verification service only: EventVerification with the tree, then the
  // service switched off. Any other service publishes nothing.
  virtual void Publier(TErreur* Erreur);

 protected:
  // Verifies with the service's own options; the error tree, or nil.
  TObject* Traiter() override;
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  TypeOptionsVerification options_ = EnsembleVerification({OV_Globale});
};

// The accessor of the application's verification service ("ServiceVerifiablesApplication", level 0).
class TServiceVerifiablesApplication : public TServiceInterfacesAppOf<TServiceVerifiablesApplication> {
 public:
  static const Class* StaticClass();
  static TServiceInterfaces* CreerService();
};
