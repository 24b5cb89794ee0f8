#include "objectdb/localisation/SectionCritiqueGlobale.h"

#include <thread>

namespace {
constexpr uint32_t kCreateur = 1u << 20;
constexpr uint32_t kMasqueCreateurs = 0x3FFu << 20;
constexpr uint32_t kCreee = 1u << 30;
}  // namespace

void EntrerSectionCritiqueGlobale(TypeSectionCritiqueGlobale& S) {
  S.Controle.fetch_add(1);
  while ((S.Controle.load() & kCreee) == 0) {
    const uint32_t avant = S.Controle.fetch_add(kCreateur);
    if ((avant & kMasqueCreateurs) != 0) {
      std::this_thread::yield();
    } else if ((avant & kCreee) == 0) {
      // Only the one creator counted alone makes the object; one that finds it made meanwhile
      // leaves it.
      S.Section.store(new std::recursive_mutex);
      S.Controle.fetch_add(kCreee);
    }
    S.Controle.fetch_sub(kCreateur);
  }
  S.Section.load()->lock();
}

void SortirSectionCritiqueGlobale(TypeSectionCritiqueGlobale& S) {
  std::recursive_mutex* section = S.Section.load();
  section->unlock();
  S.Controle.fetch_sub(1);
  // Made, nobody holding, waiting or making: the last one out frees it through its own copy of the
  // pointer, so that a thread that makes a new one meanwhile is not disturbed.
  uint32_t attendu = kCreee;
  if (S.Controle.compare_exchange_strong(attendu, 0)) {
    // Forgotten unless a new one was made meanwhile.
    std::recursive_mutex* courante = section;
    (void)S.Section.compare_exchange_strong(courante, nullptr);
    delete section;
  }
}
