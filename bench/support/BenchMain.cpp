// The benchmark programs' main: starts and stops the units through the same module tables as the
// service, those of every library up to the one the program measures (NV_BENCH_LEVEL: 1 core,
// 2 object database, 3 networking, 4 timetable base, 5 base streams and settings, 6 web service),
// and fails when a benchmark reports an error.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "bench/support/Bench.h"
#include "core/objects/Modules.h"
#if NV_BENCH_LEVEL >= 2
#include "objectdb/ModulesObjectdb.h"
#endif
#if NV_BENCH_LEVEL >= 3
#include "net/ModulesNet.h"
#endif
#if NV_BENCH_LEVEL >= 4
#include "base/ModulesBase.h"
#endif
#if NV_BENCH_LEVEL >= 5
#include "streams/ModulesStreams.h"
#endif
#if NV_BENCH_LEVEL >= 6
#include "service/ModulesService.h"
#endif

bool Bench::Essai() {
  static const bool essai = std::getenv("NV_BENCH_ESSAI") != nullptr;
  return essai;
}

namespace {

// The console's report, noting whether a run reported an error.
class TRapporteur : public benchmark::ConsoleReporter {
 public:
  // In colour on a terminal only, as the library's own report.
  TRapporteur() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  bool Erreur = false;
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& r : Runs) Erreur |= r.error_occurred;
    ConsoleReporter::ReportRuns(Runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Modules::Demarrer({
      ModulesCore(),
#if NV_BENCH_LEVEL >= 2
      ModulesObjectdb(),
#endif
#if NV_BENCH_LEVEL >= 3
      ModulesNet(),
#endif
#if NV_BENCH_LEVEL >= 4
      ModulesBase(),
#endif
#if NV_BENCH_LEVEL >= 5
      ModulesStreams(),
#endif
#if NV_BENCH_LEVEL >= 6
      ModulesService(),
#endif
  });
  TRapporteur rapporteur;
  benchmark::RunSpecifiedBenchmarks(&rapporteur);
  benchmark::Shutdown();
  Modules::Arreter();
  return rapporteur.Erreur ? 1 : 0;
}
