// CEL decoding speed over the cels of the corpus doll with the most cel
// bytes, in each texture mode: megapixels per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/gfx/software_device.h"
#include "core/host/text.h"
#include "core/model/cel_codec.h"
#include "core/testing/corpus_dolls.h"

namespace {

struct CelSet {
  std::string doll;
  std::vector<std::vector<uint8_t>> files;
};

// The cels of the corpus doll whose cels are largest in total.
const CelSet& LargestDoll() {
  static const CelSet set = [] {
    CelSet best;
    size_t best_bytes = 0;
    for (const auto& archive : luma::testing::CorpusDollArchives()) {
      CelSet candidate;
      candidate.doll = archive.filename().string();
      size_t bytes = 0;
      for (auto& member : luma::testing::ReadArchiveMembers(archive)) {
        if (!luma::EqualsIgnoreCase(luma::ExtensionPart(member.name), "cel")) continue;
        bytes += member.bytes.size();
        candidate.files.push_back(std::move(member.bytes));
      }
      if (bytes > best_bytes) {
        best_bytes = bytes;
        best = std::move(candidate);
      }
    }
    return best;
  }();
  return set;
}

void DecodeAll(benchmark::State& state) {
  const CelSet& set = LargestDoll();
  if (set.files.empty()) {
    state.SkipWithError("corpus dolls not available");
    return;
  }
  const bool paletted = state.range(0) == 0;
  const bool sixteen = state.range(0) == 2;
  const luma::ColorTable table = luma::KissPalette::DefaultTable();
  int64_t pixels = 0;
  for (auto _ : state) {
    luma::SoftwareDevice device;
    device.mutable_flags().paletted_textures = paletted;
    device.mutable_flags().sixteen_bit_texels = sixteen;
    luma::TexturePool pool;
    for (const auto& bytes : set.files) {
      luma::KissCel cel;
      if (!luma::DecodeCel(cel, bytes, {&device, &pool, true})) continue;
      luma::ApplyPalette(cel, table, false);
      pixels += int64_t{cel.width} * cel.height;
    }
  }
  state.counters["Mpx/s"] =
      benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
  state.SetLabel(set.doll + ", " + std::to_string(set.files.size()) + " cels, " +
                 (paletted  ? "paletted"
                  : sixteen ? "emulated 16-bit"
                            : "emulated 32-bit"));
}
BENCHMARK(DecodeAll)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
