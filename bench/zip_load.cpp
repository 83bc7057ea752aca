// Whole-doll load time for every corpus doll from its LZH archive and from
// the same doll repacked as a deflated ZIP, in the same run: from the
// archive's bytes in memory to a document with all textures and tiles.
// Prints a summary with the ratio ZIP / LZH (target: at most 1.0).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "archive_load.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/test_paths.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Doll {
  Bytes lzh;
  Bytes zip;
};

const std::map<std::string, Doll>& Dolls() {
  static const std::map<std::string, Doll> dolls = [] {
    std::map<std::string, Doll> out;
    for (const auto& path : luma::testing::CorpusDollArchives()) {
      const std::string bytes = luma::testing::ReadFile(path);
      out[path.stem().string()] = {Bytes(bytes.begin(), bytes.end()),
                                   luma::testing::RepackAsZip(path)};
    }
    return out;
  }();
  return dolls;
}

void BM_Load(benchmark::State& state, std::string name, bool zip) {
  const Doll& doll = Dolls().at(name);
  const Bytes& bytes = zip ? doll.zip : doll.lzh;
  luma::bench::LoadArchiveImage(state, name + (zip ? ".zip" : ".lzh"), bytes);
  state.counters["archive_kb"] = static_cast<double>(bytes.size()) / 1024.0;
}

// Keeps the mean time of every run and prints the comparison.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      // Processor time is shown too: on a busy machine the wall time mostly
      // measures waiting.
      ms_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
  }

  void PrintSummary() const {
    std::printf("\n%-10s %8s %8s %8s %8s %6s %8s %8s %6s\n", "doll", "lzh KB", "zip KB", "lzh ms",
                "zip ms", "ratio", "lzh cpu", "zip cpu", "ratio");
    for (const auto& [name, doll] : Dolls()) {
      const Times lzh = Find("Load/" + name + ".lzh");
      const Times zip = Find("Load/" + name + ".zip");
      std::printf("%-10s %8.1f %8.1f %8.2f %8.2f %6.2f %8.2f %8.2f %6.2f\n", name.c_str(),
                  doll.lzh.size() / 1024.0, doll.zip.size() / 1024.0, lzh.real, zip.real,
                  Ratio(zip.real, lzh.real), lzh.cpu, zip.cpu, Ratio(zip.cpu, lzh.cpu));
    }
  }

 private:
  struct Times {
    double real = 0;
    double cpu = 0;
  };
  static double Ratio(double a, double b) { return b > 0 ? a / b : 0.0; }
  Times Find(const std::string& name) const {
    const auto it = ms_.find(name);
    return it == ms_.end() ? Times{} : it->second;
  }
  std::map<std::string, Times> ms_;
};

}  // namespace

int main(int argc, char** argv) {
  if (Dolls().empty()) {
    std::fprintf(stderr, "corpus dolls not found at %s\n",
                 luma::testing::CorpusDir().string().c_str());
    return 0;
  }
  for (const auto& [name, doll] : Dolls()) {
    for (const bool zip : {false, true}) {
      benchmark::RegisterBenchmark(("Load/" + name + (zip ? ".zip" : ".lzh")).c_str(), BM_Load,
                                   name, zip)
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
