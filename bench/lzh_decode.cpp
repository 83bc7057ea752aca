// Decoding speed of the static-Huffman methods, side by side with Debian's
// liblhasa decoding the same archives from memory in the same run.
//
// Each benchmark decodes every member of its archives and checks the CRCs;
// both sides start from the archive bytes in memory. The summary at the end
// gives our throughput over liblhasa's per sample.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/host/file_io.h"
#include "core/host/posix_file_system.h"

#if LUMA_HAVE_LHASA
#include <lhasa.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

// The same 1.2 MB text packed by LHA 2.13 and LHA for UNIX, and the real
// dolls (-lh5-, a few stored members), whose cels compress differently.
struct Sample {
  const char* name;
  std::vector<std::string> archives;  // relative to the corpus folder
};

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = [] {
    std::vector<Sample> out = {{"lh5", {"lzh/lha213/lh5_long.lzh"}},
                               {"lh6", {"lzh/lha_unix114i/lh6_long.lzh"}},
                               {"lh7", {"lzh/lha_unix114i/lh7_long.lzh"}},
                               {"dolls", {}}};
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(
             std::filesystem::path(LUMA_CORPUS_DIR) / "dolls", ec)) {
      // lina.lzh is a damaged copy that neither side opens.
      if (e.path().extension() == ".lzh" && e.path().filename() != "lina.lzh") {
        out.back().archives.push_back("dolls/" + e.path().filename().string());
      }
    }
    std::sort(out.back().archives.begin(), out.back().archives.end());
    return out;
  }();
  return samples;
}

const Bytes& ArchiveBytes(const std::string& relative) {
  static std::map<std::string, Bytes> cache;
  auto it = cache.find(relative);
  if (it == cache.end()) {
    const auto path = std::filesystem::path(LUMA_CORPUS_DIR) / relative;
    luma::PosixFileSystem disk;
    luma::Result<Bytes> bytes = luma::ReadWholeFile(disk, path.string());
    it = cache.emplace(relative, bytes.ok() ? std::move(*bytes) : Bytes{}).first;
  }
  return it->second;
}

void BM_Ours(benchmark::State& state, const Sample* sample) {
  std::vector<luma::LzhArchive> archives(sample->archives.size());
  for (size_t i = 0; i < archives.size(); ++i) {
    if (!archives[i].OpenImage(ArchiveBytes(sample->archives[i])).ok()) {
      state.SkipWithError("corpus archive missing");
      return;
    }
  }
  if (archives.empty()) {
    state.SkipWithError("corpus archives missing");
    return;
  }
  size_t unpacked = 0;
  for (auto _ : state) {
    unpacked = 0;
    for (luma::LzhArchive& archive : archives) {
      for (const luma::LzhIndexEntry& entry : archive.index()) {
        luma::Result<Bytes> bytes = archive.ExtractAt(entry.header_position);
        if (!bytes.ok()) {
          state.SkipWithError(bytes.status().message().c_str());
          return;
        }
        unpacked += bytes->size();
        benchmark::DoNotOptimize(bytes->data());
      }
    }
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

void BM_Lhasa(benchmark::State& state, const Sample* sample) {
  for (const std::string& name : sample->archives) {
    if (ArchiveBytes(name).empty()) {
      state.SkipWithError("corpus archive missing");
      return;
    }
  }
  if (sample->archives.empty()) {
    state.SkipWithError("corpus archives missing");
    return;
  }
  size_t unpacked = 0;
  for (auto _ : state) {
    unpacked = 0;
    for (const std::string& name : sample->archives) {
      MemoryStream memory{&ArchiveBytes(name), 0};
      LHAInputStream* stream = lha_input_stream_new(&kMemoryStreamType, &memory);
      LHAReader* reader = lha_reader_new(stream);
      bool ok = true;
      while (LHAFileHeader* header = lha_reader_next_file(reader)) {
        ok = ok && lha_reader_check(reader, nullptr, nullptr);
        unpacked += header->length;
      }
      lha_reader_free(reader);
      lha_input_stream_free(stream);
      if (!ok) {
        state.SkipWithError("liblhasa could not decode a member");
        return;
      }
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
    std::printf("\n%-8s %12s %12s %8s\n", "sample", "ours MB/s", "lhasa MB/s", "ratio");
    for (const Sample& s : Samples()) {
      const double ours = Find("Ours/" + std::string(s.name));
      const double lhasa = Find("Lhasa/" + std::string(s.name));
      std::printf("%-8s %12.1f %12.1f %8.2f\n", s.name, ours, lhasa,
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
  for (const Sample& s : Samples()) {
    benchmark::RegisterBenchmark(("Ours/" + std::string(s.name)).c_str(), BM_Ours, &s)
        ->Unit(benchmark::kMillisecond);
#if LUMA_HAVE_LHASA
    benchmark::RegisterBenchmark(("Lhasa/" + std::string(s.name)).c_str(), BM_Lhasa, &s)
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
