// A re-entrant lock that needs no initialisation and holds no resource while nobody uses it: a
// record of zeros is a valid, free lock. The lock object exists only while some thread holds or
// waits for it; the first entry makes it and the last exit frees it. The translation dictionary's
// lock is one, a global that must work before and after every start-up and shut-down step.
//
// Control word: bits 0 to 19 count the threads holding or waiting, bits 20 to 29 the threads
// making the lock object at this moment, bit 30 tells that it exists.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

struct TypeSectionCritiqueGlobale {
  std::atomic<std::recursive_mutex*> Section{nullptr};
  std::atomic<uint32_t> Controle{0};
};

// Enters the lock (re-entrant for the thread that holds it), making its object when there is none;
// a thread that finds another one making it yields until it exists.
void EntrerSectionCritiqueGlobale(TypeSectionCritiqueGlobale& Section);
// Leaves the lock; the last thread out frees its object.
void SortirSectionCritiqueGlobale(TypeSectionCritiqueGlobale& Section);

// Holds the lock for a scope.
class TVerrouGlobal {
 public:
  explicit TVerrouGlobal(TypeSectionCritiqueGlobale& Section) : section_(Section) { EntrerSectionCritiqueGlobale(section_); }
  ~TVerrouGlobal() { SortirSectionCritiqueGlobale(section_); }
  TVerrouGlobal(const TVerrouGlobal&) = delete;
  TVerrouGlobal& operator=(const TVerrouGlobal&) = delete;

 private:
  TypeSectionCritiqueGlobale& section_;
};
