// Decoding speed of the static-Huffman methods, side by side with Debian's
// liblhasa decoding the same archives from memory in the same run.
//
// Each benchmark decodes one member and checks its CRC; both sides start
// from the archive bytes in memory. The summary at the end gives our
// throughput over liblhasa's per method.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/host/file_io.h"

#if LUMA_HAVE_LHASA
#include <lhasa.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

// The same 1.2 MB text packed by LHA 2.13 and LHA for UNIX.
struct Sample {
  const char* method;
  const char* archive;
};
constexpr Sample kSamples[] = {
    {"lh5", "lha213/lh5_long.lzh"},
    {"lh6", "lha_unix114i/lh6_long.lzh"},
    {"lh7", "lha_unix114i/lh7_long.lzh"},
};

const Bytes& ArchiveBytes(const char* relative) {
  static std::map<std::string, Bytes> cache;
  auto it = cache.find(relative);
  if (it == cache.end()) {
    const auto path = std::filesystem::path(LUMA_CORPUS_DIR) / "lzh" / relative;
    luma::Result<Bytes> bytes = luma::ReadWholeFile(path.string());
    it = cache.emplace(relative, bytes.ok() ? std::move(*bytes) : Bytes{}).first;
  }
  return it->second;
}

void BM_Ours(benchmark::State& state, const char* archive_name) {
  luma::LzhArchive archive;
  if (!archive.OpenImage(ArchiveBytes(archive_name)).ok()) {
    state.SkipWithError("corpus archive missing");
    return;
  }
  size_t unpacked = 0;
  for (auto _ : state) {
    luma::Result<Bytes> bytes = archive.ExtractAt(0);
    if (!bytes.ok()) {
      state.SkipWithError(bytes.status().message().c_str());
      return;
    }
    unpacked = bytes->size();
    benchmark::DoNotOptimize(bytes->data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unpacked));
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

const LHAInputStreamType kMemoryStreamType = {ReadMemory, nullptr, nullptr};

void BM_Lhasa(benchmark::State& state, const char* archive_name) {
  const Bytes& bytes = ArchiveBytes(archive_name);
  if (bytes.empty()) {
    state.SkipWithError("corpus archive missing");
    return;
  }
  size_t unpacked = 0;
  for (auto _ : state) {
    MemoryStream memory{&bytes, 0};
    LHAInputStream* stream = lha_input_stream_new(&kMemoryStreamType, &memory);
    LHAReader* reader = lha_reader_new(stream);
    LHAFileHeader* header = lha_reader_next_file(reader);
    const bool ok = header && lha_reader_check(reader, nullptr, nullptr);
    unpacked = header ? header->length : 0;
    lha_reader_free(reader);
    lha_input_stream_free(stream);
    if (!ok) {
      state.SkipWithError("liblhasa could not decode the member");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unpacked));
}
#endif

// Prints the usual table, remembering each run's throughput for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const auto it = run.counters.find("bytes_per_second");
      if (it != run.counters.end()) mb_per_second_[run.benchmark_name()] = it->second / 1e6;
    }
  }

  void PrintSummary() const {
    std::printf("\n%-8s %12s %12s %8s\n", "method", "ours MB/s", "lhasa MB/s", "ratio");
    for (const Sample& s : kSamples) {
      const double ours = Find(std::string("Ours/") + s.method);
      const double lhasa = Find(std::string("Lhasa/") + s.method);
      std::printf("-%s-   %12.1f %12.1f %8.2f\n", s.method, ours, lhasa,
                  lhasa > 0 ? ours / lhasa : 0.0);
    }
  }

 private:
  double Find(const std::string& name) const {
    for (const auto& [key, value] : mb_per_second_) {
      if (key.rfind(name, 0) == 0) return value;
    }
    return 0;
  }
  std::map<std::string, double> mb_per_second_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Sample& s : kSamples) {
    benchmark::RegisterBenchmark((std::string("Ours/") + s.method).c_str(), BM_Ours, s.archive)
        ->Unit(benchmark::kMillisecond);
#if LUMA_HAVE_LHASA
    benchmark::RegisterBenchmark((std::string("Lhasa/") + s.method).c_str(), BM_Lhasa, s.archive)
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
