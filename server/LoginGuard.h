// Bounds the guessing of codes and passwords through the login handshake. Failed logins are
// counted per remote address and per user code: after a few failures each further answer to that
// address or code is delayed, growing with every failure; after more, the address or code is locked
// for a while, during which every login through it is refused without being checked. A success clears
// the code's count; counts are forgotten after a quiet spell. Every failure and lock is logged by the
// caller. Times come from the caller, so that a test fixes them. Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

class LoginGuard {
 public:
  using Clock = std::chrono::steady_clock;

  struct Limits {
    uint32_t FreeFailures = 3;                               // failures answered without delay
    Clock::duration DelayStep = std::chrono::seconds(1);     // added per failure beyond them
    Clock::duration MaxDelay = std::chrono::seconds(8);
    uint32_t LockAfter = 10;                                 // failures that lock
    Clock::duration LockFor = std::chrono::minutes(15);
    Clock::duration Forget = std::chrono::minutes(15);       // quiet spell that clears a count
  };

  struct Verdict {
    bool Locked = false;
    Clock::duration Delay{};
  };

  LoginGuard() = default;
  explicit LoginGuard(Limits L) : limits_(L) {}

  // What to do with an attempt from that address (and for that code, when known: may be empty).
  Verdict Assess(std::string_view Address, std::string_view Code, Clock::time_point Now);
  // Records a failure; true when it locked the address or the code.
  bool Failure(std::string_view Address, std::string_view Code, Clock::time_point Now);
  // A successful login clears the code's count (not the address's).
  void Success(std::string_view Code);

 private:
  struct Entry {
    uint32_t Failures = 0;
    Clock::time_point Last{};
    Clock::time_point LockedUntil{};
  };
  Verdict AssessOne(const std::string& Key, Clock::time_point Now);
  bool FailOne(const std::string& Key, Clock::time_point Now);

  Limits limits_;
  std::map<std::string, Entry> entries_;
};
