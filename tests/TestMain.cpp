// The test programs start and stop the units through the same module tables as the service: those
// of every library up to the subsystem the program tests (NV_TEST_LEVEL: 1 core, 2 object database,
// 3 networking, 4 timetable base, 5 base streams and settings, with NV_TEST_UI the toolkit, 6 web
// service); the report library's program (NV_TEST_REPORTS) adds its own table after core's.
#include <gtest/gtest.h>

#include "core/objects/Modules.h"
#if NV_TEST_LEVEL >= 2
#include "objectdb/ModulesObjectdb.h"
#endif
#if NV_TEST_LEVEL >= 3
#include "net/ModulesNet.h"
#endif
#if NV_TEST_LEVEL >= 4
#include "base/ModulesBase.h"
#endif
#if NV_TEST_LEVEL >= 5
#include "streams/ModulesStreams.h"
#endif
#if NV_TEST_LEVEL >= 6 || defined(NV_TEST_UI)
#include "ui/ModulesUi.h"
#endif
#if NV_TEST_LEVEL >= 6
#include "service/ModulesService.h"
#endif
#ifdef NV_TEST_REPORTS
#include "reports/ModulesReports.h"
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  Modules::Demarrer({
      ModulesCore(),
#if NV_TEST_LEVEL >= 2
      ModulesObjectdb(),
#endif
#if NV_TEST_LEVEL >= 3
      ModulesNet(),
#endif
#if NV_TEST_LEVEL >= 4
      ModulesBase(),
#endif
#if NV_TEST_LEVEL >= 5
      ModulesStreams(),
#endif
#if NV_TEST_LEVEL >= 6 || defined(NV_TEST_UI)
      ModulesUi(),
#endif
#if NV_TEST_LEVEL >= 6
      ModulesService(),
#endif
#ifdef NV_TEST_REPORTS
      ModulesReports(),
#endif
  });
  int result = RUN_ALL_TESTS();
  Modules::Arreter();
  return result;
}
