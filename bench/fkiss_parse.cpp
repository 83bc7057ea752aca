// Time to turn a large FKiSS script into events: asailor.cnf has about 2,800
// FKiSS lines. The doll's CNF is read once; each iteration runs every FKiSS
// stage on a fresh script.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/parse_fkiss.h"
#include "core/model/cnf_lines.h"
#include "core/model/cnf_parser.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace {

void BM_ParseAsailorScript(benchmark::State& state) {
  const std::filesystem::path path = luma::testing::CorpusDir() / "cnf" / "asailor.cnf";
  if (!std::filesystem::exists(path)) {
    state.SkipWithError("corpus not found");
    return;
  }
  luma::FakeHost host;
  luma::DollModel doll;
  doll.cnf_lines = luma::SplitDiskCnfText(luma::testing::ReadFile(path));
  (void)luma::ParseCnf(doll, host, luma::CnfParseOptions());
  int events = 0;
  for (auto _ : state) {
    doll.report.Clear();
    luma::FkissScript script;
    (void)luma::ParseFkiss(doll, script, luma::FkissParseOptions(), nullptr);
    events = script.event_count;
    benchmark::DoNotOptimize(events);
  }
  state.counters["fkiss_lines"] = static_cast<double>(doll.fkiss_lines.size());
  state.counters["events"] = events;
}
BENCHMARK(BM_ParseAsailorScript)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
