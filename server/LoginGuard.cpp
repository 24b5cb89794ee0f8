#include "server/LoginGuard.h"

#include <algorithm>

namespace {
std::string AddressKey(std::string_view A) { return "@" + std::string(A); }
std::string CodeKey(std::string_view C) { return "#" + std::string(C); }
}  // namespace

LoginGuard::Verdict LoginGuard::AssessOne(const std::string& Key, Clock::time_point Now) {
  auto it = entries_.find(Key);
  if (it == entries_.end()) return {};
  Entry& e = it->second;
  if (Now < e.LockedUntil) return {true, {}};
  if (Now - e.Last >= limits_.Forget) {
    entries_.erase(it);
    return {};
  }
  if (e.Failures < limits_.FreeFailures) return {};
  const auto delay = limits_.DelayStep * static_cast<int64_t>(e.Failures - limits_.FreeFailures + 1);
  return {false, std::min<Clock::duration>(delay, limits_.MaxDelay)};
}

LoginGuard::Verdict LoginGuard::Assess(std::string_view Address, std::string_view Code, Clock::time_point Now) {
  Verdict v = AssessOne(AddressKey(Address), Now);
  if (!Code.empty()) {
    const Verdict c = AssessOne(CodeKey(Code), Now);
    v.Locked = v.Locked || c.Locked;
    v.Delay = std::max(v.Delay, c.Delay);
  }
  return v;
}

bool LoginGuard::FailOne(const std::string& Key, Clock::time_point Now) {
  Entry& e = entries_[Key];
  if (e.Failures > 0 && Now - e.Last >= limits_.Forget) e.Failures = 0;
  e.Last = Now;
  if (++e.Failures < limits_.LockAfter) return false;
  e.Failures = 0;
  e.LockedUntil = Now + limits_.LockFor;
  return true;
}

bool LoginGuard::Failure(std::string_view Address, std::string_view Code, Clock::time_point Now) {
  bool locked = FailOne(AddressKey(Address), Now);
  if (!Code.empty()) locked = FailOne(CodeKey(Code), Now) || locked;
  return locked;
}

void LoginGuard::Success(std::string_view Code) { entries_.erase(CodeKey(Code)); }
