#include "platform/gui/Minuterie.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/gui/Fiches.h"
#include "platform/loop/MainLoop.h"

namespace {

// Timers on the application's loop.
class THorlogeBoucle : public IHorloge {
 public:
  void Armer(TTimer& M) override {
    MainLoop* b = Application().Boucle();
    if (!b) return;
    auto t = std::make_unique<MainLoopTimer>(*b, [m = &M] { m->Declencher(); });
    t->Start(std::chrono::milliseconds(M.Interval()));
    minuteries_[&M] = {b, std::move(t)};
  }
  void Desarmer(TTimer& M) override { minuteries_.erase(&M); }
  int64_t Maintenant() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void OublierBoucle(MainLoop& Boucle) {
    for (auto it = minuteries_.begin(); it != minuteries_.end();) {
      if (it->second.boucle == &Boucle) it = minuteries_.erase(it);
      else ++it;
    }
  }

 private:
  struct Armee {
    MainLoop* boucle;
    std::unique_ptr<MainLoopTimer> minuterie;
  };
  std::map<TTimer*, Armee> minuteries_;
};

THorlogeBoucle& Production() {
  static THorlogeBoucle production;
  return production;
}

IHorloge*& Installee() {
  static IHorloge* h = nullptr;
  return h;
}

}  // namespace

namespace Horloge {

IHorloge& Courante() { return Installee() ? *Installee() : static_cast<IHorloge&>(Production()); }

void OublierBoucle(MainLoop& Boucle) { Production().OublierBoucle(Boucle); }

void Definir(IHorloge* H) { Installee() = H; }

}  // namespace Horloge

THorlogeVirtuelle::~THorlogeVirtuelle() {
  for (auto& [t, e] : echeances_) t->Detacher();
}

void THorlogeVirtuelle::Avancer(int64_t Ms) {
  maintenant_ += Ms;
  std::vector<std::pair<int64_t, TTimer*>> dues;
  for (const auto& [t, e] : echeances_)
    if (e <= maintenant_) dues.emplace_back(e, t);
  std::sort(dues.begin(), dues.end());
  for (const auto& [e, t] : dues) {
    // A timer fired before may have freed, disabled or re-armed this one.
    auto it = echeances_.find(t);
    if (it == echeances_.end() || it->second != e) continue;
    it->second = maintenant_ + t->Interval();
    t->Declencher();
  }
}

void THorlogeVirtuelle::Armer(TTimer& M) { echeances_[&M] = maintenant_ + M.Interval(); }
void THorlogeVirtuelle::Desarmer(TTimer& M) { echeances_.erase(&M); }

TTimer::~TTimer() {
  if (horloge_) horloge_->Desarmer(*this);
}

void TTimer::SetEnabled(bool Valeur) {
  if (enabled_ == Valeur) return;
  enabled_ = Valeur;
  Rearmer();
}

void TTimer::SetInterval(uint32_t Ms) {
  if (interval_ == Ms) return;
  interval_ = Ms;
  Rearmer();
}

void TTimer::SetOnTimer(TNotifyEvent Evenement) {
  onTimer_ = std::move(Evenement);
  Rearmer();
}

void TTimer::Rearmer() {
  if (horloge_) horloge_->Desarmer(*this);
  horloge_ = nullptr;
  if (enabled_ && interval_ > 0 && onTimer_) {
    horloge_ = &Horloge::Courante();
    horloge_->Armer(*this);
  }
}

void TTimer::Declencher() {
  if (onTimer_) onTimer_(this);
}
