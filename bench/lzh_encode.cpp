// -lh5- encoding speed and compression.
//
// The corpus benchmark recompresses every -lh5- member of the real-world
// dolls and compares our packed size with what the original archivers
// produced. Our encoder follows the classic LHA design, so the two should
// agree within a few tenths of a percent; a larger gap means the match finder
// or the block coder went wrong somewhere.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/archive/lh5_encoder.h"
#include "core/archive/lzh_archive.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/testing/sample_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct CorpusMember {
  Bytes data;
  uint32_t original_packed_size;
};

// Every -lh5- member of the corpus dolls, read once.
const std::vector<CorpusMember>& CorpusMembers() {
  static const std::vector<CorpusMember> members = [] {
    std::vector<CorpusMember> out;
    const auto dir = std::filesystem::path(LUMA_CORPUS_DIR) / "dolls";
    std::error_code ec;
    luma::PosixFileSystem disk;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
      luma::LzhArchive archive;
      if (!luma::EqualsIgnoreCase(luma::ExtensionPart(entry.path().string()), "lzh") ||
          !archive.Open(disk, entry.path().string()).ok()) {
        continue;
      }
      archive.Rewind();
      for (;;) {
        const size_t position = archive.image().position();
        if (archive.ReadNextHeader() != luma::LzhHeaderStep::kMember) break;
        const luma::LzhHeader& header = archive.current_header();
        if (!luma::EqualsIgnoreCase(header.method, "-lh5-")) continue;
        const uint32_t packed = header.packed_size;
        luma::Result<Bytes> data = archive.ExtractAt(position);
        if (data.ok()) out.push_back({std::move(*data), packed});
      }
    }
    return out;
  }();
  return members;
}

void EncodeOnce(benchmark::State& state, const Bytes& data) {
  luma::Lh5Encoder encoder;
  Bytes packed;
  for (auto _ : state) {
    packed.clear();
    const bool shrunk = encoder.Encode(data, &packed);
    benchmark::DoNotOptimize(shrunk);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
  state.counters["ratio"] = packed.empty() ? 1.0 : double(packed.size()) / double(data.size());
}

void BM_EncodeText1MiB(benchmark::State& state) {
  EncodeOnce(state, luma::testing::SampleText(1 << 20, 1));
}
BENCHMARK(BM_EncodeText1MiB)->Unit(benchmark::kMillisecond);

// Incompressible data runs until the packed stream reaches the source size.
void BM_EncodeRandom1MiB(benchmark::State& state) {
  EncodeOnce(state, luma::testing::RandomBytes(1 << 20, 2));
}
BENCHMARK(BM_EncodeRandom1MiB)->Unit(benchmark::kMillisecond);

void BM_EncodeCorpusDollMembers(benchmark::State& state) {
  const std::vector<CorpusMember>& members = CorpusMembers();
  if (members.empty()) {
    state.SkipWithError("no corpus dolls at " LUMA_CORPUS_DIR);
    return;
  }
  luma::Lh5Encoder encoder;
  Bytes packed;
  size_t unpacked = 0;
  size_t ours = 0;
  size_t original = 0;
  for (auto _ : state) {
    unpacked = ours = original = 0;
    for (const CorpusMember& m : members) {
      packed.clear();
      ours += encoder.Encode(m.data, &packed) ? packed.size() : m.data.size();
      original += m.original_packed_size;
      unpacked += m.data.size();
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * unpacked));
  state.counters["members"] = static_cast<double>(members.size());
  state.counters["unpacked"] = static_cast<double>(unpacked);
  state.counters["ours"] = static_cast<double>(ours);
  state.counters["original"] = static_cast<double>(original);
  state.counters["ours/original"] = double(ours) / double(original);
  state.counters["ratio"] = double(ours) / double(unpacked);
}
BENCHMARK(BM_EncodeCorpusDollMembers)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
