#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/Patience.h"
#include "platform/ui/VclDialogue.h"

namespace {

// Captures the lines the dialog writes for the test's life.
class DialogueEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    VclDialogue::DefinirNomProgramme("TEMPRAVO");
    VclDialogue::DefinirSortie([this](const std::string& l) { lignes.push_back(l); });
  }
  void TearDown() override { VclDialogue::DefinirSortie(nullptr); }
  std::vector<std::string> lignes;
};

#define NV_FIXTURE_DIALOGUE DialogueEssai
#include "tests/platform/CasVclDialogue.inc"

}  // namespace
