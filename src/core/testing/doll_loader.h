#ifndef LUMA_CORE_TESTING_DOLL_LOADER_H_
#define LUMA_CORE_TESTING_DOLL_LOADER_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/gfx/render_device.h"
#include "core/gfx/texture_pool.h"
#include "core/host/host.h"
#include "core/model/doll_model.h"
#include "core/render/device_palettes.h"

namespace luma::testing {

// A doll made ready for drawing in a test: the model, its texture pages and
// device palettes. Releases its palette numbers when it goes.
struct TestDoll {
  explicit TestDoll(RenderDevice& d) : device(d) {}
  ~TestDoll() { palettes.Release(device); }
  RenderDevice& device;
  DollModel doll;
  TexturePool pool;
  DevicePalettes palettes;
};

using FileSource = std::function<std::optional<std::vector<uint8_t>>(std::string_view name)>;

// Parses `cnf` and reads its palettes and cels from `files` the way the
// loading pipeline does (palettes, group colours, cels, clones, the built-in
// palette for a doll without one, instances without texture dropped,
// colours of group 0, geometry, device palettes).
std::unique_ptr<TestDoll> LoadTestDoll(std::string_view cnf, const FileSource& files,
                                       RenderDevice& device, Host& host, bool recycle = true);

// Files held in memory by name (compared ignoring case).
FileSource MemoryFiles(std::map<std::string, std::vector<uint8_t>> files);

// A corpus doll archive: its CNF (the first, or the one named) and members.
std::unique_ptr<TestDoll> LoadCorpusDoll(const std::filesystem::path& archive, RenderDevice& device,
                                         Host& host, std::string_view cnf_name = {});

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_DOLL_LOADER_H_
