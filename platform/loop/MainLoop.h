// The program's one event loop: everything (sockets, timers, the HTTP front end, idle work) runs on
// the main thread over one Boost.Asio io_context owned here. It stands in for the window-message
// loop that the rest of the system was written against.
//
// A turn (Turn) runs the application services once (the collector frees the temporary objects of the
// previous turn), then handles one ready event; when no event is ready it calls the idle handler, and
// when the handler reports no more work it blocks until one event arrives and handles that one.
// Run repeats turns until a stop is requested, then switches the application services off.
//
// A synchronous exchange (a request to the data server) calls WaitUntil: a nested loop that handles
// events and idle passes until its predicate holds, a stop is requested or its time-out passes. It
// never runs the application services: the collector would free what the suspended caller still
// holds. Waits nest (a handler that runs inside a wait may wait in turn); the inner one ends first.
//
// Rules for the components that post work here (the transports, the HTTP server):
// - Create sockets and timers on Context(); every completion handler runs on the main thread, inside
//   a turn or a nested wait, one handler per step.
// - Re-arm a read before dispatching what it read: append the bytes to the connection's queue, start
//   the next async read, then hand the queue to the dispatcher. The dispatcher may run a nested wait
//   whose answer can only arrive through that next read.
// - Never keep a reference to a buffer, a record or a connection across WaitUntil: the events handled
//   inside the wait may free or change them. Look them up again after the wait.
//
// An exception that escapes an event handler, the idle handler or the services is reported through
// the exception handler (by default, a line on the default tracer and in the program's log) and the
// loop goes on.
// Main thread only, except RequestStop, which any thread may call.
#pragma once

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>

class MainLoop {
 public:
  using Duration = std::chrono::steady_clock::duration;
  // Answers true while it has more work: the loop then calls it again at the next chance instead of
  // blocking (the original's Done argument left False).
  using IdleHandler = std::function<bool()>;
  using ExceptionHandler = std::function<void(std::exception_ptr)>;

  enum class WaitResult { Satisfied, TimedOut, Stopped };

  // RunServices runs once at the start of each turn, SwitchServicesOff once when Run ends; by
  // default they are the application services' registry (TServicesApplication).
  MainLoop();
  MainLoop(std::function<void()> RunServices, std::function<void()> SwitchServicesOff);
  ~MainLoop();
  MainLoop(const MainLoop&) = delete;
  MainLoop& operator=(const MainLoop&) = delete;

  // Where components create their sockets and timers and post their work.
  boost::asio::io_context& Context() { return io_; }

  void SetIdleHandler(IdleHandler Handler) { idle_ = std::move(Handler); }
  void SetExceptionHandler(ExceptionHandler Handler) { onException_ = std::move(Handler); }
  const ExceptionHandler& CurrentExceptionHandler() const { return onException_; }

  // One turn, as described above. Returns without blocking once a stop has been requested.
  void Turn();
  // Turns until a stop is requested (at once when one is already pending), then consumes the request
  // and switches the application services off.
  void Run();

  // Ends Run after the current turn and every WaitUntil in progress (with Stopped). Safe from any
  // thread and from a signal handler's completion; a blocked turn wakes up.
  void RequestStop();
  bool StopRequested() const { return stop_.load(); }
  // SIGTERM and SIGINT become a stop request while the loop lives.
  void StopOnSignals();

  // The nested loop of a synchronous exchange: handles events and idle passes until Predicate holds
  // (Satisfied, checked first, so a predicate already true returns at once), a stop is requested
  // (Stopped) or Timeout has passed (TimedOut). Never runs the application services.
  [[nodiscard]] WaitResult WaitUntil(const std::function<bool()>& Predicate, Duration Timeout);
  // How many WaitUntil calls are in progress (0 in an ordinary turn).
  int Depth() const { return depth_; }

 private:
  // Handles one ready event without blocking; false when none was ready.
  bool HandleReadyEvent();
  // Runs the idle handler once; its answer (false when there is none or it failed).
  bool IdlePass();
  // Reports the exception in flight.
  void Report();

  boost::asio::io_context io_{1};
  // Keeps run_one blocking while nothing is pending.
  boost::asio::executor_work_guard<boost::asio::io_context::executor_type> guard_;
  std::function<void()> runServices_;
  std::function<void()> switchServicesOff_;
  IdleHandler idle_;
  ExceptionHandler onException_;
  std::unique_ptr<boost::asio::signal_set> signals_;
  std::atomic<bool> stop_{false};
  int depth_ = 0;
};

// A repeating timer of the loop (the window library's timer): once started it calls its action every
// Interval until stopped; starting a running timer restarts its interval. The action runs on the main
// thread like any event; it may stop or restart its own timer. Destroying the timer cancels it.
class MainLoopTimer {
 public:
  MainLoopTimer(MainLoop& Loop, std::function<void()> Action);
  ~MainLoopTimer();
  MainLoopTimer(const MainLoopTimer&) = delete;
  MainLoopTimer& operator=(const MainLoopTimer&) = delete;

  void Start(MainLoop::Duration Interval);
  void Stop();
  bool Active() const;

 private:
  struct State;
  static void Arm(const std::shared_ptr<State>& S);

  // Shared with the pending completion, which holds it weakly: a completion already queued when the
  // timer is stopped, restarted or destroyed finds a newer generation or no state and does nothing.
  std::shared_ptr<State> state_;
};
