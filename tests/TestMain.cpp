// The test programs start and stop the units through the same module table as the service.
#include <gtest/gtest.h>

#include "core/Modules.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  Modules::Demarrer({ModulesCore()});
  int result = RUN_ALL_TESTS();
  Modules::Arreter();
  return result;
}
