// Holders of singletons are finalised once each, first registered first, with a bound on holders
// that keep registering themselves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/objects/ClasseFinalisable.h"

namespace {
std::vector<std::string> journal;
int repeats = 0;

class THolderA : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  static void Finaliser() { journal.push_back("A"); }
};
class THolderC : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  static void Finaliser() { journal.push_back("C"); }
};
// Its finalisation uses another singleton, whose holder registers again.
class THolderB : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  static void Finaliser() {
    journal.push_back("B");
    TClasseFinalisable::Enregistrer(THolderC::StaticClass());
  }
};
class THolderLoop : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  static void Finaliser() {
    ++repeats;
    TClasseFinalisable::Enregistrer(StaticClass());
  }
};
NV_DEFINE_FINALISABLE_CLASS(THolderA)
NV_DEFINE_FINALISABLE_CLASS(THolderB)
NV_DEFINE_FINALISABLE_CLASS(THolderC)
NV_DEFINE_FINALISABLE_CLASS(THolderLoop)

// The test program's own singletons are registered too: finalise them first, so each case starts
// from an empty list (the test main's shut-down then finds nothing, which is the no-registration case).
void StartEmpty() {
  TClasseFinalisable::FinaliserClasses();
  journal.clear();
  repeats = 0;
}
}  // namespace

TEST(ClasseFinalisable, RegistrationOrderOnceEachAndLateRegistrationsLast) {
  StartEmpty();
  TClasseFinalisable::Enregistrer(THolderB::StaticClass());
  TClasseFinalisable::Enregistrer(THolderA::StaticClass());
  TClasseFinalisable::Enregistrer(THolderB::StaticClass());
  EXPECT_EQ(TClasseFinalisable::NombreEnregistrees(), 2);
  TClasseFinalisable::FinaliserClasses();
  EXPECT_EQ(journal, (std::vector<std::string>{"B", "A", "C"}));
  EXPECT_EQ(TClasseFinalisable::NombreEnregistrees(), 0);
  TClasseFinalisable::FinaliserClasses();  // nothing registered: nothing happens
  EXPECT_EQ(journal.size(), 3u);
}

TEST(ClasseFinalisable, HolderThatAlwaysRegistersAgainStopsAfterListedPlus101Calls) {
  StartEmpty();
  TClasseFinalisable::Enregistrer(THolderA::StaticClass());
  TClasseFinalisable::Enregistrer(THolderLoop::StaticClass());
  TClasseFinalisable::FinaliserClasses();
  EXPECT_EQ(journal, std::vector<std::string>{"A"});
  EXPECT_EQ(repeats, 102);  // 2 listed + 101 = 103 calls, one of them for A
}
