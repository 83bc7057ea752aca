// One drag step of the largest object of the largest corpus doll (the one
// with the most cel lines) in an 800 x 600 view: the pointer move with its
// bounding, collision and mouse-region work, then the redraw of the frame.
// It is compared with drawing one full frame alone in the same run; a
// pointer at 120 Hz leaves 8.3 ms a step.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "core/gfx/software_device.h"
#include "core/host/settings.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/view/kiss_cnf_view.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

double ThreadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec * 1e-9;
}

// The doll shown in a view that presents into a window buffer.
struct ShownDoll {
  luma::FakeHost host;
  luma::Settings settings;
  luma::SoftwareDevice device;
  std::unique_ptr<luma::testing::TestDoll> doll;
  std::unique_ptr<luma::CKissCnfView> view;
  std::vector<uint32_t> window;
  std::string name;

  bool Open() {
    size_t most = 0;
    for (const auto& archive : luma::testing::CorpusDollArchives()) {
      auto candidate = std::make_unique<luma::testing::TestDoll>(device, host, settings);
      if (!candidate->Open(archive.string())) continue;
      if (candidate->model().instances().size() > most) {
        most = candidate->model().instances().size();
        doll = std::move(candidate);
        name = archive.filename().string();
      }
    }
    if (!doll) return false;
    view = std::make_unique<luma::CKissCnfView>(doll->doc(), settings);
    view->SetPresenter([this](const luma::ImageView& frame) {
      window.resize(static_cast<size_t>(frame.width) * frame.height);
      for (int y = 0; y < frame.height; ++y) {
        std::copy_n(frame.pixels + static_cast<size_t>(y) * frame.stride, frame.width,
                    window.data() + static_cast<size_t>(y) * frame.width);
      }
    });
    view->Resize(kWidth, kHeight);
    view->StartDoll();
    return view->DrawFrame() == luma::DeviceResult::kOk;
  }

  // Presses the object with the largest area in the shown set that can
  // move (a backdrop as large as the playfield cannot), made free to move,
  // and leaves the button down on it.
  bool GrabLargest(luma::PlayPoint* at, luma::KissObject** grabbed) {
    const int set = view->CurrentSet();
    std::vector<std::pair<int64_t, luma::KissObject*>> by_area;
    for (const auto& object : doll->model().objects()) {
      int64_t area = 0;
      for (const luma::CelInstance* cel : object->cels) {
        if (cel->in_set[set] && cel->mapped && cel->cel) {
          area += int64_t{cel->cel->width} * cel->cel->height;
        }
      }
      if (area > 0) by_area.emplace_back(area, object.get());
    }
    std::sort(by_area.rbegin(), by_area.rend());
    for (const auto& [area, object] : by_area) {
      const luma::Position p = object->position[set];
      for (const luma::CelInstance* cel : object->cels) {
        if (!cel->in_set[set] || !cel->mapped || !cel->cel) continue;
        for (int y = 0; y < cel->cel->height; y += 2) {
          for (int x = 0; x < cel->cel->width; x += 2) {
            const luma::PlayPoint point{p.x + cel->x_offset + x, p.y + cel->y_offset + y};
            const luma::CelInstance* hit = view->PickCel(point, luma::PickPurpose::kEvents);
            if (hit && hit->object == object) {
              object->fix = 0;
              const luma::Position start = object->position[set];
              view->MouseMove(point, false);
              view->LeftButtonDown(point);
              view->MouseMove(luma::PlayPoint{point.x + 3, point.y + 3}, true);
              if (object->position[set] == start) {
                view->LeftButtonUp(point);
                break;
              }
              *at = point;
              *grabbed = object;
              return true;
            }
          }
        }
      }
    }
    return false;
  }
};

ShownDoll* Shown() {
  static ShownDoll* shown = [] {
    auto* s = new ShownDoll;
    if (!s->Open()) {
      delete s;
      return static_cast<ShownDoll*>(nullptr);
    }
    return s;
  }();
  return shown;
}

// CPU seconds of one full frame, the best of many.
double FrameSeconds(ShownDoll& s) {
  static double best = 0;
  if (best > 0) return best;
  best = 1e9;
  for (int i = 0; i < 50; ++i) {
    const double start = ThreadSeconds();
    s.view->DrawFrame();
    best = std::min(best, ThreadSeconds() - start);
  }
  return best;
}

void FullFrame(benchmark::State& state) {
  ShownDoll* s = Shown();
  if (!s) {
    state.SkipWithError("no corpus doll");
    return;
  }
  for (auto _ : state) s->view->DrawFrame();
  state.SetLabel(s->name);
}

void DragStep(benchmark::State& state) {
  ShownDoll* s = Shown();
  luma::PlayPoint at;
  luma::KissObject* object = nullptr;
  if (!s) {
    state.SkipWithError("no corpus doll");
    return;
  }
  const double frame = FrameSeconds(*s);
  if (!s->GrabLargest(&at, &object)) {
    state.SkipWithError("nothing to drag");
    return;
  }
  // Back and forth over 40 units, as a hand moves a garment about.
  int step = 0;
  double spent = 0;
  int64_t steps = 0;
  for (auto _ : state) {
    const int offset = (step < 20 ? step : 40 - step) * 2;
    step = (step + 1) % 40;
    const double start = ThreadSeconds();
    s->view->MouseMove(luma::PlayPoint{at.x + offset, at.y + offset / 2}, true);
    s->view->DrawFrame();
    spent += ThreadSeconds() - start;
    ++steps;
  }
  s->view->LeftButtonUp(at);
  const double per_step = spent / std::max<int64_t>(1, steps);
  state.counters["frame_ms"] = frame * 1e3;
  state.counters["step_ms"] = per_step * 1e3;
  state.counters["step_per_frame"] = per_step / frame;
  state.counters["steps_per_s"] = 1.0 / per_step;
  state.SetLabel(s->name + " #" + std::to_string(object->number) + " 800x600");
}

BENCHMARK(FullFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(DragStep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
