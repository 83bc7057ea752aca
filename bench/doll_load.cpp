// Whole-doll load time for every corpus doll: from the archive's bytes in
// memory to a document with all textures and tiles, next to the time
// liblhasa needs just to decompress the same archive's members. Prints a
// summary with the ratio (target: at most 1.5) and the load in ms (target:
// under 50 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "archive_load.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/test_paths.h"

#if LUMA_HAVE_LHASA
extern "C" {
#include <lhasa.h>
}
#endif

namespace {

using Bytes = std::vector<uint8_t>;

const std::map<std::string, Bytes>& Archives() {
  static const std::map<std::string, Bytes> archives = [] {
    std::map<std::string, Bytes> out;
    for (const auto& path : luma::testing::CorpusDollArchives()) {
      const std::string bytes = luma::testing::ReadFile(path);
      out[path.filename().string()] = Bytes(bytes.begin(), bytes.end());
    }
    return out;
  }();
  return archives;
}

void BM_Load(benchmark::State& state, std::string name) {
  luma::bench::LoadArchiveImage(state, name, Archives().at(name));
}

#if LUMA_HAVE_LHASA
struct MemoryStream {
  const Bytes* bytes;
  size_t position;
};

int ReadMemory(void* handle, void* buf, size_t len) {
  auto* s = static_cast<MemoryStream*>(handle);
  const size_t n = std::min(len, s->bytes->size() - s->position);
  std::memcpy(buf, s->bytes->data() + s->position, n);
  s->position += n;
  return static_cast<int>(n);
}

LHAInputStreamType memory_stream_type = {ReadMemory, nullptr, nullptr};

void BM_Lhasa(benchmark::State& state, std::string name) {
  const Bytes& bytes = Archives().at(name);
  std::vector<uint8_t> buffer;
  for (auto _ : state) {
    MemoryStream memory{&bytes, 0};
    LHAInputStream* stream = lha_input_stream_new(&memory_stream_type, &memory);
    LHAReader* reader = lha_reader_new(stream);
    while (LHAFileHeader* header = lha_reader_next_file(reader)) {
      buffer.resize(header->length);
      size_t done = 0;
      while (done < buffer.size()) {
        const size_t n = lha_reader_read(reader, buffer.data() + done, buffer.size() - done);
        if (n == 0) break;
        done += n;
      }
      benchmark::DoNotOptimize(buffer.data());
    }
    lha_reader_free(reader);
    lha_input_stream_free(stream);
  }
}
#endif

// Keeps the mean time per run of every benchmark and prints the comparison.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      // Every benchmark here reports in milliseconds. Processor time is
      // shown too: on a busy machine the wall time mostly measures waiting.
      ms_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
  }

  void PrintSummary() const {
    std::printf("\n%-14s %10s %10s %7s %10s %10s %7s\n", "doll", "load ms", "lhasa ms", "ratio",
                "load cpu", "lhasa cpu", "ratio");
    for (const auto& [name, bytes] : Archives()) {
      const Times ours = Find("Load/" + name);
      const Times lhasa = Find("Lhasa/" + name);
      std::printf("%-14s %10.2f %10.2f %7.2f %10.2f %10.2f %7.2f\n", name.c_str(), ours.real,
                  lhasa.real, Ratio(ours.real, lhasa.real), ours.cpu, lhasa.cpu,
                  Ratio(ours.cpu, lhasa.cpu));
    }
  }

 private:
  struct Times {
    double real = 0;
    double cpu = 0;
  };
  static double Ratio(double a, double b) { return b > 0 ? a / b : 0.0; }
  Times Find(const std::string& name) const {
    for (const auto& [key, value] : ms_) {
      if (key.rfind(name, 0) == 0) return value;
    }
    return {};
  }
  std::map<std::string, Times> ms_;
};

}  // namespace

int main(int argc, char** argv) {
  if (Archives().empty()) {
    std::fprintf(stderr, "corpus dolls not found at %s\n",
                 luma::testing::CorpusDir().string().c_str());
    return 0;
  }
  for (const auto& [name, bytes] : Archives()) {
    benchmark::RegisterBenchmark(("Load/" + name).c_str(), BM_Load, name)
        ->Unit(benchmark::kMillisecond);
#if LUMA_HAVE_LHASA
    benchmark::RegisterBenchmark(("Lhasa/" + name).c_str(), BM_Lhasa, name)
        ->Unit(benchmark::kMillisecond);
#endif
  }
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
