// lumadoll-tool render FILE -o OUT.bmp|OUT.png [--set N] [--palette G]
//   [--size WxH] [--zoom LEVEL] [--16bit] [--emulate-palettes]
//   [--run-ms N] [--trace FILE] [--no-fkiss]
// Loads a doll, starts its script as opening it does, and writes one frame
// of a set: the playfield itself, or with --size a view client of that size
// with border, centring and zoom. --run-ms lets the script's alarms run for
// N simulated milliseconds first.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/render_doll.h"
#include "core/host/text.h"
#include "core/render/view_transform.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::cli {
namespace {

constexpr char kRenderUsage[] =
    "usage: lumadoll-tool render FILE -o OUT.bmp|OUT.png [--set N] [--palette G] "
    "[--size WxH] [--zoom LEVEL] [--16bit] [--emulate-palettes] [--run-ms N] [--trace FILE] "
    "[--no-fkiss]\n";

// The application polls alarms about every 10 ms; the tool does the same on
// a clock of its own, so a run takes no real time.
constexpr int kAlarmStepMs = 10;

bool ParseNumber(const std::string& text, int low, int high, int* out) {
  size_t used = 0;
  const int value = ParseInt(text, &used);
  if (used == 0 || used != text.size() || value < low || value > high) return false;
  *out = value;
  return true;
}

bool ParseSize(const std::string& text, int* w, int* h) {
  const size_t x = text.find('x');
  return x != std::string::npos && ParseNumber(text.substr(0, x), 1, 16384, w) &&
         ParseNumber(text.substr(x + 1), 1, 16384, h);
}

}  // namespace

int RunRender(const Args& args) {
  std::string path, out;
  std::string trace_path;
  int set = -1, group = -1, width = 0, height = 0, zoom = 0, run_ms = 0;
  bool run_script = true;
  DrawOptions options;
  bool ok = true;
  for (size_t i = 0; i < args.size() && ok; ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "-o" && has_value) {
      out = args[++i];
    } else if (a == "--set" && has_value) {
      ok = ParseNumber(args[++i], 0, kSetCount - 1, &set);
    } else if (a == "--palette" && has_value) {
      ok = ParseNumber(args[++i], 0, kPaletteGroupCount - 1, &group);
    } else if (a == "--size" && has_value) {
      ok = ParseSize(args[++i], &width, &height);
    } else if (a == "--zoom" && has_value) {
      ok = ParseNumber(args[++i], kMinZoomLevel, kMaxZoomLevel, &zoom);
    } else if (a == "--run-ms" && has_value) {
      ok = ParseNumber(args[++i], 0, 24 * 3600 * 1000, &run_ms);
    } else if (a == "--trace" && has_value) {
      trace_path = args[++i];
    } else if (a == "--no-fkiss") {
      run_script = false;
    } else if (TakeDrawOption(a, &options)) {
    } else if (!a.empty() && a[0] != '-' && path.empty()) {
      path = a;
    } else {
      ok = false;
    }
  }
  const std::string_view extension = ExtensionPart(out);
  if (!ok || path.empty() || out.empty() ||
      !(EqualsIgnoreCase(extension, "bmp") || EqualsIgnoreCase(extension, "png"))) {
    std::fputs(kRenderUsage, stderr);
    return kExitUsage;
  }

  CliHost host;
  host.UseSimulatedClock(0);
  DrawableDoll doll(host, options);
  if (!doll.Open(path)) return kExitFailed;

  FILE* trace = nullptr;
  if (!trace_path.empty()) {
    trace = std::fopen(trace_path.c_str(), "wb");
    if (!trace) {
      std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, trace_path).c_str());
      return kExitFailed;
    }
  }
  CKissCnfView view(doll.doc(), doll.settings());
  if (trace) {
    view.SetTrace(true, [trace](std::string_view line) {
      std::fwrite(line.data(), 1, line.size(), trace);
      std::fputs("\r\n", trace);
    });
  }
  view.StartDoll(run_script);
  if (set >= 0) view.SelectSet(set);
  for (int t = 0; t < run_ms && !view.close_requested(); t += kAlarmStepMs) {
    host.Advance(kAlarmStepMs);
    view.ProcessAlarms();
  }
  if (trace) std::fclose(trace);

  Scene scene = doll.FirstSetScene();
  scene.set = view.CurrentSet();
  scene.palette_group = group >= 0 ? group : view.palette_group();
  scene.viewport_x = view.ViewportOrigin().x;
  scene.viewport_y = view.ViewportOrigin().y;
  scene.window_width = view.WindowSize().x;
  scene.window_height = view.WindowSize().y;

  if (width == 0) {
    const float scale = ZoomScale(zoom);
    width = std::max(1, static_cast<int>(std::lround(scene.doll->playfield.width / scale)));
    height = std::max(1, static_cast<int>(std::lround(scene.doll->playfield.height / scale)));
  }
  const Status saved = SaveScenePicture(doll.device(), scene, zoom, width, height, out);
  if (!saved.ok()) {
    std::fprintf(stderr, "%s\n", saved.message().c_str());
    return kExitFailed;
  }
  std::printf("%s: %d x %d, set %d, palette group %d\n", out.c_str(), width, height, scene.set,
              scene.group());
  return kExitOk;
}

}  // namespace luma::cli
