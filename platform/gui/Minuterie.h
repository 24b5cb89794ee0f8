// TTimer, the windowing layer's timer, and the clock that drives it.
//
// A timer that is enabled, has an OnTimer event and an interval above 0 is armed on the current
// clock; it fires every Interval milliseconds until it is disabled, freed or its interval changes
// (which re-arms it). The production clock arms timers on the application's MainLoop (without a
// loop a timer does not run). Tests install a virtual clock: time moves only when the test
// advances it, and each due timer then fires once, however many intervals passed, and is re-armed
// from the new time. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/gui/Controles.h"

class MainLoop;
class TTimer;

class IHorloge {
 public:
  virtual ~IHorloge() = default;
  virtual void Armer(TTimer& Minuterie) = 0;
  virtual void Desarmer(TTimer& Minuterie) = 0;
  // The clock's time in milliseconds (from an arbitrary origin): what a control compares the
  // moments of two inputs with.
  virtual int64_t Maintenant() const = 0;
};

namespace Horloge {
// The clock timers arm on (the production clock while none is set).
IHorloge& Courante();
// Installs a clock (nil: the production clock). Timers already armed stay on the clock they were
// armed on until they are re-armed.
void Definir(IHorloge* H);
// The production clock forgets the timers it armed on Boucle, which goes (they stop running).
void OublierBoucle(MainLoop& Boucle);
}  // namespace Horloge

// The virtual clock of tests: milliseconds from 0.
class THorlogeVirtuelle : public IHorloge {
 public:
  THorlogeVirtuelle() = default;
  // Timers still armed on it stop running.
  ~THorlogeVirtuelle() override;
  THorlogeVirtuelle(const THorlogeVirtuelle&) = delete;
  THorlogeVirtuelle& operator=(const THorlogeVirtuelle&) = delete;
  int64_t Maintenant() const override { return maintenant_; }
  // Moves the time on by Ms and fires every timer that is due by then, once each, in the order of
  // their due times.
  void Avancer(int64_t Ms);
  // How many timers are armed.
  int NombreArmees() const { return static_cast<int>(echeances_.size()); }
  void Armer(TTimer& Minuterie) override;
  void Desarmer(TTimer& Minuterie) override;

 private:
  int64_t maintenant_ = 0;
  std::map<TTimer*, int64_t> echeances_;
};

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* Owner) : TComponent(Owner) {}
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Valeur);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t Ms);
  void SetOnTimer(TNotifyEvent Evenement);
  const TNotifyEvent& OnTimer() const { return onTimer_; }

  // What the clock calls when the timer is due.
  void Declencher();
  bool Arme() const { return horloge_ != nullptr; }
  // Told by a clock that goes while the timer is armed on it.
  void Detacher() { horloge_ = nullptr; }

 private:
  void Rearmer();
  bool enabled_ = true;
  uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
  IHorloge* horloge_ = nullptr;  // the clock it is armed on
};
