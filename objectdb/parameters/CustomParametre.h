// Parameters: small named, serialisable objects that carry one typed value between parts of the
// system (the network layer builds one per published property it sends; the object database passes
// copy and assignment settings as parameters). This unit gives their base class, the tracing they
// share and the registry that finds a parameter class by the name of a value type; the typed
// parameters are the template of TemplateParametre.h, one instance unit per value type.
//
// A parameter may be collected: the collector then owns it and frees it at the next turn of the
// main loop unless someone takes it back first. Destroying a parameter always takes it out of the
// collector first, so the collector never frees it twice.
#pragma once

#include <cstdint>
#include <string>

#include "core/diagnostics/DelegueTracable.h"
#include "core/objects/Arbre.h"
#include "core/objects/Etiquetable.h"
#include "core/serial/Serialisation.h"
#include "objectdb/parameters/StrictReads.h"

class TCustomParametre : public TCustomSerializable, public IArbreTemporaire, public IEtiquetable {
 public:
  // The descriptor of a parameter class carries its virtual constructor, through which a class
  // found by type name is instantiated.
  struct Class : TClass {
    using TClass::TClass;
    virtual TCustomParametre* Creer(const std::string& Nom, bool Collecte) const = 0;
  };
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }
  const Class* Classe() const { return static_cast<const Class*>(ClassType()); }

  // Nom empty, Etiquette 0; a collected parameter is handed to the collector.
  explicit TCustomParametre(bool Collecte);
  TCustomParametre(const std::string& Nom, bool Collecte);
  explicit TCustomParametre(TBlank b) : TCustomSerializable(b) {}
  ~TCustomParametre() override;

  std::string Nom;
  // A tag for whoever handles the parameter; written and read with it, given no meaning by it.
  int32_t Etiquette = 0;
  bool GetCollecte() const { return collecte_; }

  // Nom, Etiquette and Collecte (a typed parameter then writes its value).
  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // The same items; a collected parameter joins the collector here (a parameter read from a stream
  // is built without its constructor). A short read raises EReadError.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // Copies the source's Nom (a typed parameter then its value); Etiquette and Collecte stay. A
  // source of another class raises EInvalidCast.
  virtual void Assigner(TCustomParametre* Source);

  // The typed arrays hand the position of each element they copy to their assignment parameter.
  void SetEtiquette(int32_t Valeur) override { Etiquette = Valeur; }

  void InscrireRamasseMiettes() override;
  void DesinscrireRamasseMiettes() override;
  bool EstInscrit() override;

  // Tracing: Tracer gives the "classe" block holding TracerProprietes and TracerElements one level
  // deeper; every text is empty while the trace is switched off; TexteTrace is Tracer without detail
  // on the default tracer.
  virtual void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerElements(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TexteTrace(std::string& Texte);
  bool TraceActive() const { return delegue_.TraceActive(); }

  // The names under which the trace delegate reaches the four operations above.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) { TracerProprietes(Traceur, Texte); }
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) { TracerElements(Detail, Traceur, Texte); }
  void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) { Tracer(Detail, Traceur, Texte); }
  void TracerResume(std::string& Texte) { TexteTrace(Texte); }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  bool collecte_ = false;
  TPorteurDelegue<TCustomParametre> delegue_{this};
};

// A parameter class reference.
using TClasseParametre = const TCustomParametre::Class*;

namespace CustomParametre {

// The key of a type name: its ASCII letters a-z upper-cased, nothing else changed.
std::string CleDeType(const std::string& TypeName);
// Registers Classe under the key of TypeName; a name registered again takes the class of the latest
// registration.
void EnregistrerClasseParametre(TClasseParametre Classe, const std::string& TypeName);
// The class registered under exactly that key (case-sensitive: callers pass the name upper-cased);
// nil when none is.
TClasseParametre ClasseParametreDeNom(const std::string& TypeName);

// The block a typed parameter adds to its trace: "Parametre" = Libelle, then the lines written by
// Lignes(Traceur, Texte) one level deeper, then the block end.
template <class Lignes>
void TracerBlocParametre(TCustomTraceur* Traceur, const std::string& Libelle, Lignes lignes, std::string& Texte) {
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  Traceur->TracerValeur("Parametre", Libelle, part);
  Texte = part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  lignes(Traceur, part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("Parametre", part);
  Texte += part;
}
// The usual block: one "Valeur" line.
inline void TracerValeurParametre(TCustomTraceur* Traceur, const std::string& Libelle, const std::string& Valeur,
                                  std::string& Texte) {
  TracerBlocParametre(
      Traceur, Libelle, [&](TCustomTraceur* t, std::string& l) { t->TracerPropriete("Valeur", Valeur, l); }, Texte);
}

// Unit start-up and shut-down.
void Initialiser();
void Finaliser();

}  // namespace CustomParametre
