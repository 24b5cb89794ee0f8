#include "platform/loop/MainLoop.h"

#include <csignal>
#include <string>

#include <boost/asio/post.hpp>

#include "core/diagnostics/Trace.h"
#include "core/objects/ServiceNorvane.h"
#include "platform/ui/VclDialogue.h"

namespace {

// A wait longer than this is taken as "no time-out" (keeps the deadline arithmetic in range).
constexpr auto kLongestWait = std::chrono::hours(24 * 365);

// What the loop does with an exception when nobody set a handler: one line on the default tracer
// and the same line in the program's log (the standard error, the service's journal), where the
// operator sees it.
void TraceException(std::exception_ptr e) {
  std::string texte = "Exception dans la boucle principale";
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    texte += " : ";
    texte += x.what();
  } catch (...) {
  }
  std::string ligne;
  Trace::TraceurParDefaut()->Tracer(texte, ligne);
  VclDialogue::Ecrire(texte);
}

}  // namespace

MainLoop::MainLoop() : MainLoop(TServicesApplication::ExecuterServices, TServicesApplication::DesactiverServices) {}

MainLoop::MainLoop(std::function<void()> RunServices, std::function<void()> SwitchServicesOff)
    : guard_(boost::asio::make_work_guard(io_)),
      runServices_(std::move(RunServices)),
      switchServicesOff_(std::move(SwitchServicesOff)),
      onException_(TraceException) {}

MainLoop::~MainLoop() {
  signals_.reset();
  guard_.reset();
}

void MainLoop::Report() {
  auto e = std::current_exception();
  if (onException_) {
    onException_(e);
  } else {
    TraceException(e);
  }
}

bool MainLoop::HandleReadyEvent() {
  try {
    return io_.poll_one() > 0;
  } catch (...) {
    Report();
    return true;
  }
}

bool MainLoop::IdlePass() {
  if (!idle_) return false;
  try {
    return idle_();
  } catch (...) {
    Report();
    return false;
  }
}

void MainLoop::Turn() {
  if (stop_) return;
  try {
    if (runServices_) runServices_();
  } catch (...) {
    Report();
  }
  if (HandleReadyEvent()) return;
  if (IdlePass() || stop_) return;
  try {
    io_.run_one();
  } catch (...) {
    Report();
  }
}

void MainLoop::Run() {
  while (!stop_) Turn();
  stop_ = false;
  if (switchServicesOff_) switchServicesOff_();
}

void MainLoop::RequestStop() {
  stop_ = true;
  // Wakes a turn that blocks waiting for an event.
  boost::asio::post(io_, [] {});
}

void MainLoop::StopOnSignals() {
  if (signals_) return;
  signals_ = std::make_unique<boost::asio::signal_set>(io_, SIGINT, SIGTERM);
  struct Rearm {
    MainLoop* loop;
    void operator()(const boost::system::error_code& ec, int) const {
      if (ec) return;  // cancelled: the loop is going
      loop->RequestStop();
      loop->signals_->async_wait(*this);
    }
  };
  signals_->async_wait(Rearm{this});
}

MainLoop::WaitResult MainLoop::WaitUntil(const std::function<bool()>& Predicate, Duration Timeout) {
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
  } guard(depth_);
  const auto now = std::chrono::steady_clock::now();
  const auto deadline = now + (Timeout > kLongestWait ? Duration(kLongestWait) : Timeout);
  for (;;) {
    if (Predicate()) return WaitResult::Satisfied;
    if (stop_) return WaitResult::Stopped;
    if (std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
    if (HandleReadyEvent() || IdlePass()) continue;
    try {
      io_.run_one_until(deadline);
    } catch (...) {
      Report();
    }
  }
}

struct MainLoopTimer::State {
  explicit State(boost::asio::io_context& io) : timer(io) {}
  boost::asio::steady_timer timer;
  std::function<void()> action;
  MainLoop::Duration interval{};
  bool active = false;
  uint64_t generation = 0;
};

MainLoopTimer::MainLoopTimer(MainLoop& Loop, std::function<void()> Action)
    : state_(std::make_shared<State>(Loop.Context())) {
  state_->action = std::move(Action);
}

MainLoopTimer::~MainLoopTimer() { Stop(); }

bool MainLoopTimer::Active() const { return state_->active; }

void MainLoopTimer::Start(MainLoop::Duration Interval) {
  Stop();
  state_->interval = Interval;
  state_->active = true;
  Arm(state_);
}

void MainLoopTimer::Stop() {
  state_->active = false;
  ++state_->generation;
  state_->timer.cancel();
}

void MainLoopTimer::Arm(const std::shared_ptr<State>& S) {
  S->timer.expires_after(S->interval);
  std::weak_ptr<State> weak = S;
  const uint64_t generation = S->generation;
  S->timer.async_wait([weak, generation](const boost::system::error_code& ec) {
    auto s = weak.lock();
    if (ec || !s || !s->active || s->generation != generation) return;
    // Re-armed before the action runs, so that an action that stops or restarts its own timer wins.
    Arm(s);
    s->action();
  });
}
