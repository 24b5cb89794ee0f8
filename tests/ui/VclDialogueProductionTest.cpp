#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/Patience.h"
#include "platform/ui/VclDialogue.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/VclDialogue.h"

namespace {

// The cases of the headless queue, run against the real windows under the production driver: the
// same answers and the same log lines. Captures the lines the dialog writes for the test's life.
class DialogueFenetresProduction : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    Application().DefinirPiloteModal(nullptr);
    ASSERT_NE(VclDialogue::ModeleMessage(), nullptr);
    VclDialogue::DefinirNomProgramme("TEMPRAVO");
    VclDialogue::DefinirSortie([this](const std::string& l) { lignes.push_back(l); });
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    FenetresEssai::TearDown();
  }
  std::vector<std::string> lignes;
};

#define NV_FIXTURE_DIALOGUE DialogueFenetresProduction
#include "tests/platform/CasVclDialogue.inc"

}  // namespace
