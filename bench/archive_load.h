// The timed loop both load benchmarks share: a whole doll from its archive's
// bytes in memory to a document with all textures and tiles.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/host/settings.h"
#include "core/host/silent_host.h"
#include "core/testing/test_paths.h"

namespace luma::bench {

// `file` names the archive (its extension picks the reader).
inline void LoadArchiveImage(benchmark::State& state, const std::string& file,
                             const std::vector<uint8_t>& bytes) {
  // Questions get their first choice; the temporary folder is the run's own.
  const testing::TempDir temp;
  SilentHost host(Answer::kNo, 0, temp.str());
  SoftwareDevice device;
  device.mutable_flags().paletted_textures = true;
  const Settings settings;
  for (auto _ : state) {
    CKissCnfDoc doc(host, device, settings);
    if (!doc.LoadArchiveImage(file, bytes, false)) {
      state.SkipWithError("the doll did not load");
      return;
    }
    benchmark::DoNotOptimize(doc.quad_count());
    state.PauseTiming();
    doc.Close();
    state.ResumeTiming();
  }
}

}  // namespace luma::bench
