#include <gtest/gtest.h>

#include "server/LoginGuard.h"

namespace {

using namespace std::chrono_literals;
using Clock = LoginGuard::Clock;

TEST(LoginGuard, FailuresAreDelayedThenLockedPerAddressAndPerCode) {
  LoginGuard::Limits l;
  l.FreeFailures = 2;
  l.DelayStep = 1s;
  l.MaxDelay = 3s;
  l.LockAfter = 5;
  l.LockFor = 10min;
  l.Forget = 1h;
  LoginGuard g(l);
  const Clock::time_point t0{};
  struct Pas {
    const char* Adresse;
    const char* Code;
    bool Verrouille;
    Clock::duration Delai;
  };
  // Each row: a failure is recorded, then the next attempt is assessed.
  const Pas pas[] = {
      {"a", "JMA", false, 0s}, {"a", "JMA", false, 1s}, {"a", "JMA", false, 2s}, {"a", "JMA", false, 3s},
      {"a", "JMA", true, 0s},  // fifth failure: locked
  };
  for (const Pas& p : pas) {
    g.Failure(p.Adresse, p.Code, t0);
    const auto v = g.Assess(p.Adresse, p.Code, t0 + 1s);
    EXPECT_EQ(v.Locked, p.Verrouille);
    EXPECT_EQ(v.Delay, p.Delai);
  }
  // The lock holds for another address trying that code, and for that address with another code.
  EXPECT_TRUE(g.Assess("b", "JMA", t0 + 1s).Locked);
  EXPECT_TRUE(g.Assess("a", "", t0 + 1s).Locked);
  EXPECT_FALSE(g.Assess("b", "CON", t0 + 1s).Locked);
  // It ends after its time.
  EXPECT_FALSE(g.Assess("a", "JMA", t0 + 11min).Locked);
}

TEST(LoginGuard, ASuccessClearsTheCodeAndAQuietSpellClearsEverything) {
  LoginGuard::Limits l;
  l.FreeFailures = 1;
  l.Forget = 15min;
  LoginGuard g(l);
  const Clock::time_point t0{};
  g.Failure("a", "JMA", t0);
  g.Failure("b", "JMA", t0);
  EXPECT_GT(g.Assess("c", "JMA", t0).Delay, 0s);
  g.Success("JMA");
  EXPECT_EQ(g.Assess("c", "JMA", t0).Delay, 0s);
  g.Failure("a", "", t0);
  EXPECT_GT(g.Assess("a", "", t0).Delay, 0s);
  EXPECT_EQ(g.Assess("a", "", t0 + 16min).Delay, 0s);
}

// The delay stops growing at its maximum; a count is forgotten once the quiet spell is complete, to
// the tick, for an assessment as for a new failure.
TEST(LoginGuard, TheDelayStopsAtItsMaximumAndTheQuietSpellEndsOnItsLastTick) {
  LoginGuard::Limits l;
  l.FreeFailures = 1;
  l.DelayStep = 1s;
  l.MaxDelay = 3s;
  l.LockAfter = 100;
  l.Forget = 15min;
  LoginGuard g(l);
  const Clock::time_point t0{};
  for (int i = 0; i < 10; ++i) g.Failure("a", "", t0);
  EXPECT_EQ(g.Assess("a", "", t0).Delay, 3s);
  EXPECT_EQ(g.Assess("a", "", t0 + 15min - 1ns).Delay, 3s);
  EXPECT_EQ(g.Assess("a", "", t0 + 15min).Delay, 0s);
  for (int i = 0; i < 10; ++i) g.Failure("b", "", t0);
  g.Failure("b", "", t0 + 15min);  // the first failure of a new count: one step
  EXPECT_EQ(g.Assess("b", "", t0 + 15min).Delay, 1s);
}

}  // namespace
