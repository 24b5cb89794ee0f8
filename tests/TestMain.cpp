// The test programs start and stop the units through the same module tables as the service: those
// of the core library, then those of the libraries the program tests.
#include <gtest/gtest.h>

#include "core/Modules.h"
#ifdef NV_TEST_MODULES_NET
#include "net/ModulesNet.h"
#endif
#ifdef NV_TEST_MODULES_OBJECTDB
#include "objectdb/ModulesObjectdb.h"
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
#if defined(NV_TEST_MODULES_NET)
  Modules::Demarrer({ModulesCore(), ModulesNet()});
#elif defined(NV_TEST_MODULES_OBJECTDB)
  Modules::Demarrer({ModulesCore(), ModulesObjectdb()});
#else
  Modules::Demarrer({ModulesCore()});
#endif
  int result = RUN_ALL_TESTS();
  Modules::Arreter();
  return result;
}
