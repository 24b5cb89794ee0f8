// The serialisable base of network orders: an object that may belong to the collector of temporary
// objects (an order read from the network does) and that carries its data as a list of published
// parameters built from its class's published properties.
#pragma once

#include <string>

#include "core/diagnostics/DelegueTracable.h"
#include "core/serial/Serialisation.h"

class TListeParametresPublies;

class TSerializable : public TCustomSerializable {
  NV_DECLARE_CLASS(TSerializable)
 public:
  TSerializable() = default;
  explicit TSerializable(TBlank b) : TCustomSerializable(b) {}
  // Leaves the collector when collected, then frees the parameters.
  ~TSerializable() override;

  bool Collecte() const { return collecte_; }
  // Hands the object to the collector / takes it back (the object is then its holder's again).
  void Collecter();
  void Decollecter();

  // The list of published parameters, built on first use by CreerParametres.
  TListeParametresPublies* Parametres();
  // Replaces the list (owned); the former one is freed.
  void SetParametres(TListeParametresPublies* Liste);
  // Builds the list of published parameters of the object's class.
  virtual TListeParametresPublies* CreerParametres();

  // Collecte (Boolean), then the parameters as one object in the context received. Reading a True
  // Collecte hands the object to the collector before the parameters are read; the object read for
  // them must be a TListeParametresPublies (EReadError otherwise, and the list held stays).
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  // Tracing: no header line; the content is the trace of every parameter in position order; the
  // complete trace is the "classe" block; the summary is the complete trace while tracing is on.
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerResume(std::string& Texte);
  bool TraceActive() const { return delegue_.TraceActive(); }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
  TListeParametresPublies* ParametresTels() const { return parametres_; }

 private:
  bool collecte_ = false;
  TListeParametresPublies* parametres_ = nullptr;
  TPorteurDelegue<TSerializable> delegue_{this};
};

namespace Serialisable {
void Initialiser();
}  // namespace Serialisable
