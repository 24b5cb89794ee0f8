// The toolkit's timer, and the small routines that let plain routines stand where the record
// walks of the base expect methods: TAppelRoutine wraps a one-argument walk routine so that it can
// be passed as a method (object and code), ToujoursVrai accepts everything, Compter counts.
#pragma once

#include <cstdint>

#include "core/records/Xi.h"
#include "platform/gui/Minuterie.h"

// The toolkit's timer: the platform timer's behaviour (interval, enabled flag, timer event).
class TVokTimer : public TTimer {
 public:
  using TTimer::TTimer;
};

// Holds one plain routine; CommeMethode gives a method whose object is the wrapper and whose call
// runs the routine with the walk's argument. The caller frees the wrapper after the last call.
class TAppelRoutine {
 public:
  explicit TAppelRoutine(TypeFonctionXi Routine) : routine_(Routine) {}
  void CommeMethode(TypeMethodeXi& Methode);
  TypeFonctionXi Routine() const { return routine_; }

 private:
  TypeFonctionXi routine_;
};

namespace VCLTimer {
// Answers true whatever it is given (an accept-all filter).
bool ToujoursVrai(intptr_t Argument);
// Argument points to an int32_t, which gets 1 more; answers false, so that a walk goes on.
bool Compter(intptr_t Compteur);
}  // namespace VCLTimer
