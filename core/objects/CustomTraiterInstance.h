// Visitors: temporary objects that a walk over trees, tables or bases calls once per visited object.
// One gathers the traces of the visited objects, one counts them, one frees them. Each is handed to
// the collector when it is created.
#pragma once

#include <cstdint>
#include <string>

#include "core/objects/ObjetTemporaire.h"
#include "core/diagnostics/Trace.h"

class TCustomTraiterInstance : public TObjetTemporaire {
  NV_DECLARE_CLASS(TCustomTraiterInstance)
 public:
  TCustomTraiterInstance() : TObjetTemporaire(true) {}
  explicit TCustomTraiterInstance(TBlank b) : TObjetTemporaire(b) {}

  // One step of the walk; True stops it. Nothing here.
  virtual bool Traiter(TObject* Instance);
};

// Gathers the complete traces (or, with Resume, the summaries separated by CR LF) of the visited
// objects that are traceable; the others are skipped.
class TTracerInstance : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TTracerInstance)
 public:
  TTracerInstance(bool Detail, bool Resume, TCustomTraceur* Traceur)
      : Traceur(Traceur), Detail(Detail), Resume(Resume) {}
  explicit TTracerInstance(TBlank b) : TCustomTraiterInstance(b) {}

  bool Traiter(TObject* Instance) override;

  TCustomTraceur* Traceur = nullptr;
  bool Detail = false;
  std::string Texte;
  bool Resume = false;
};

class TCompterInstances : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TCompterInstances)
 public:
  TCompterInstances() = default;
  explicit TCompterInstances(TBlank b) : TCustomTraiterInstance(b) {}

  bool Traiter(TObject* Instance) override;

  int32_t Nombre = 0;
};

// Frees every visited object.
class TSupprimerInstances : public TCustomTraiterInstance {
  NV_DECLARE_CLASS(TSupprimerInstances)
 public:
  TSupprimerInstances() = default;
  explicit TSupprimerInstances(TBlank b) : TCustomTraiterInstance(b) {}

  bool Traiter(TObject* Instance) override;
};
