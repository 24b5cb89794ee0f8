// The dictionary's lock: exclusive between threads, re-entrant for its holder, and made and freed
// again as often as it is taken and left.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "objectdb/localisation/SectionCritiqueGlobale.h"

TEST(SectionCritiqueGlobale, ThreadsTakeTurnsAndTheLockIsFreedEachTimeTheLastOneLeaves) {
  TypeSectionCritiqueGlobale section;
  int64_t compteur = 0;  // guarded by the lock only
  std::vector<std::thread> fils;
  for (int t = 0; t < 4; ++t)
    fils.emplace_back([&] {
      for (int i = 0; i < 5000; ++i) {
        EntrerSectionCritiqueGlobale(section);
        EntrerSectionCritiqueGlobale(section);  // re-entrant
        ++compteur;
        SortirSectionCritiqueGlobale(section);
        SortirSectionCritiqueGlobale(section);
      }
    });
  for (auto& f : fils) f.join();
  EXPECT_EQ(compteur, 20000);
  EXPECT_EQ(section.Controle.load(), 0u);
  EXPECT_EQ(section.Section.load(), nullptr);
}
