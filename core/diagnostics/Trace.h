// Every object of the system can dump itself as an indented block of lines. A tracer turns texts
// into lines (optional line number and time stamp, indentation by level, CR LF) and appends them to
// its stream; every trace operation also returns the text it wrote. The process has one default
// tracer in memory, used whenever a trace operation is given no tracer.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "core/objects/ClasseFinalisable.h"
#include "core/values/Format.h"
#include "core/objects/ObjetInterfacable.h"
#include "core/serial/Streams.h"

class TCustomTraceur : public TObject {
  NV_DECLARE_CLASS(TCustomTraceur)
 public:
  using TSurTrace = std::function<void(TCustomTraceur* Traceur, const std::string& Ligne)>;

  // An in-memory tracer keeps at most this many bytes of recent lines; older lines are dropped
  // a block at a time so that a long-running process does not grow without bound.
  static constexpr int64_t kMemoireMaximale = 256 * 1024;

  // An empty file name gives an in-memory stream; otherwise the file is created (or emptied).
  explicit TCustomTraceur(const std::string& NomFichier);
  explicit TCustomTraceur(TBlank b) : TObject(b) {}
  ~TCustomTraceur() override;

  bool Actif = true;
  int32_t Indentation = 2;
  bool NumerosDeLigne = false;
  bool Horodatage = false;
  TSurTrace SurTrace;

  int32_t Niveau() const { return niveau_; }
  void SetNiveau(int32_t Valeur) { niveau_ = Valeur < 0 ? 0 : Valeur; }
  int32_t Compteur() const { return compteur_; }
  TStream* Flux() const { return flux_.get(); }

  virtual void TracerValeur(const std::string& Nom, const std::string& Valeur, std::string& Ligne);
  virtual void Tracer(const std::string& Texte, std::string& Ligne);
  virtual void TracerFormat(const std::string& Format, std::initializer_list<TFormatArg> Args, std::string& Ligne);
  virtual void FermerBloc(const std::string& Nom, std::string& Ligne);
  virtual void TracerPropriete(const std::string& Nom, const std::string& Valeur, std::string& Ligne);

 private:
  void Ecrire(const std::string& Ligne);

  int32_t niveau_ = 0;
  int32_t compteur_ = 0;
  bool enMemoire_ = true;
  std::unique_ptr<TStream> flux_;
};

// Holder of the default tracer.
class TTraceurParDefaut : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  static TCustomTraceur* Traceur();
  static void Finaliser();
};

namespace Trace {
TCustomTraceur* TraceurParDefaut();
}  // namespace Trace

struct ITracable : virtual IInterface {
  static constexpr TGUID IID = MakeGUID("{454F9B8B-6D59-4B4D-A0D5-0B40AFB5F880}");
  virtual bool GetTraceActive() = 0;
  virtual ITracable* SetTraceActive(bool Valeur) = 0;
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) = 0;
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) = 0;
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) = 0;
  virtual void TracerResume(std::string& Texte) = 0;

 protected:
  ~ITracable() = default;
};

class TCustomTracable : public TObjetInterfacable, public ITracable {
  NV_DECLARE_CLASS(TCustomTracable)
 public:
  TCustomTracable() = default;
  explicit TCustomTracable(TBlank b) : TObjetInterfacable(b) {}

  bool GetTraceActive() override { return traceActive_; }
  ITracable* SetTraceActive(bool Valeur) override;

  // The object's own lines (its properties); empty here.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override;
  // The lines of its contents; empty here.
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override;
  // The class-name line, then the header and the contents one level deeper, then the block end.
  void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override;
  void TracerResume(std::string& Texte) override;

  // The complete trace of any object that declares ITracable; an empty text otherwise.
  static void TracerObjet(TObject* Instance, bool Detail, TCustomTraceur* Traceur, std::string& Texte);

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  bool traceActive_ = true;
};
