// One full frame of each corpus doll (its first set in use) at 800 x 600
// and 1920 x 1080, zoom 0 and zoom -2 (three times), drawn by the software
// device and copied out as a window would show it. Each figure is compared
// with clearing and copying one frame of the same size in the same run:
// the memory-bandwidth floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/gfx/software_device.h"
#include "core/render/renderer.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"

namespace {

struct Size {
  int width, height;
};
constexpr Size kSizes[] = {{800, 600}, {1920, 1080}};

// CPU time of this thread, so that other work on the machine does not count.
double ThreadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// Seconds to clear a frame and copy it out, the best of many tries.
double FloorSeconds(Size size) {
  static std::map<int, double> cache;
  const int key = size.width * 10000 + size.height;
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  std::vector<uint32_t> frame(static_cast<size_t>(size.width) * size.height);
  std::vector<uint32_t> window(frame.size());
  double best = 1e9;
  for (int i = 0; i < 200; ++i) {
    const double start = ThreadSeconds();
    std::fill(frame.begin(), frame.end(), 0xFF000000u | i);
    std::memcpy(window.data(), frame.data(), frame.size() * 4);
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
    best = std::min(best, ThreadSeconds() - start);
  }
  return cache[key] = best;
}

void Floor(benchmark::State& state) {
  const Size size = kSizes[state.range(0)];
  std::vector<uint32_t> frame(static_cast<size_t>(size.width) * size.height);
  std::vector<uint32_t> window(frame.size());
  uint32_t color = 0;
  for (auto _ : state) {
    std::fill(frame.begin(), frame.end(), ++color);
    std::memcpy(window.data(), frame.data(), frame.size() * 4);
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel(std::to_string(size.width) + "x" + std::to_string(size.height));
}

void Frame(benchmark::State& state, std::filesystem::path archive, Size size, int zoom) {
  luma::FakeHost host;
  auto device = std::make_unique<luma::SoftwareDevice>();
  auto doll = std::make_unique<luma::testing::TestDoll>(*device, host);
  if (!doll->Open(archive.string())) {
    state.SkipWithError("doll did not load");
    return;
  }
  luma::Scene scene;
  scene.doll = &doll->model();
  for (int s = 0; s < luma::kSetCount; ++s) {
    if (doll->model().sets[s].used) {
      scene.set = s;
      break;
    }
  }
  const luma::ViewTransform transform = luma::ComputeViewTransform(
      luma::SceneViewGeometry(scene, size.width, size.height, luma::ZoomScale(zoom)));
  std::unique_ptr<luma::Surface> target;
  device->CreateRenderTarget(transform.width, transform.height, luma::TextureFormat::kX8R8G8B8, 0,
                             &target);
  std::vector<uint32_t> window(static_cast<size_t>(transform.width) * transform.height);
  luma::FrameRenderer renderer(*device);
  const double start = ThreadSeconds();
  for (auto _ : state) {
    renderer.RenderToTarget(*target, scene, transform);
    std::memcpy(window.data(), target->View().pixels, window.size() * 4);
    benchmark::DoNotOptimize(window.data());
    benchmark::ClobberMemory();
  }
  const double frame = (ThreadSeconds() - start) / static_cast<double>(state.iterations());
  const double floor = FloorSeconds(size);
  state.counters["frame_ms"] = frame * 1e3;
  state.counters["floor_ms"] = floor * 1e3;
  state.counters["x_floor"] = frame / floor;
  state.counters["fps"] = 1.0 / frame;
  state.SetLabel(archive.filename().string() + " " + std::to_string(size.width) + "x" +
                 std::to_string(size.height) + " zoom " + std::to_string(zoom));
}

void RegisterAll() {
  benchmark::RegisterBenchmark("Floor/800x600", Floor)->Arg(0);
  benchmark::RegisterBenchmark("Floor/1920x1080", Floor)->Arg(1);
  for (const auto& archive : luma::testing::CorpusDollArchives()) {
    for (const Size& size : kSizes) {
      for (int zoom : {0, -2}) {
        const std::string name = "Frame/" + archive.stem().string() + "/" +
                                 std::to_string(size.width) + "x" + std::to_string(size.height) +
                                 "/zoom" + std::to_string(zoom);
        benchmark::RegisterBenchmark(name.c_str(), Frame, archive, size, zoom)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
