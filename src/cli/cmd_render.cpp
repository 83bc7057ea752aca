// lumadoll-tool render FILE -o OUT.bmp|OUT.png [--set N] [--palette G]
//   [--size WxH] [--zoom LEVEL|fit] [--16bit] [--emulate-palettes]
//   [--run-ms N] [--trace FILE [--trace-utf8]] [--seed N] [--no-fkiss]
// Loads a doll, starts its script as opening it does, and writes one frame
// of a set: the playfield itself, or with --size a view client of that size
// with border, centring and zoom ("fit": the most magnified level at which
// the doll window and its edge fit the client). --run-ms lets the script's
// alarms run for N simulated milliseconds first.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/render_doll.h"
#include "core/host/text.h"
#include "core/render/scene_picture.h"
#include "core/render/view_transform.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::cli {
namespace {

// The application polls alarms about every 10 ms; the tool does the same on
// a clock of its own, so a run takes no real time.
constexpr int kAlarmStepMs = 10;
constexpr int kMaxRunMs = 24 * 3600 * 1000;

ValueCheck ZoomLevelOrFit() {
  const ValueCheck level =
      WholeNumber(kMinZoomLevel, kMaxZoomLevel, "zoom levels are -6 to 6, or fit");
  return
      [level](std::string_view value) -> std::string { return value == "fit" ? "" : level(value); };
}

std::vector<std::string> ZoomWords() {
  std::vector<std::string> words = NumberWords(kMinZoomLevel, kMaxZoomLevel);
  words.push_back("fit");
  return words;
}

int RunRender(const ParsedArgs& args) {
  const std::string& path = args.operand(0);
  const std::string out = args.Value("-o");
  const std::string trace_path = args.Value("--trace");
  if (args.Has("--trace-utf8") && trace_path.empty()) {
    return args.UsageError("--trace-utf8: only with --trace FILE");
  }
  const int set = args.Number("--set", -1);
  const int group = args.Number("--palette", -1);
  const bool zoom_fit = args.Value("--zoom") == "fit";
  int zoom = zoom_fit ? 0 : args.Number("--zoom", 0);
  const int run_ms = args.Number("--run-ms", 0);
  const bool run_script = !args.Has("--no-fkiss");
  int width = 0, height = 0;
  if (args.Has("--size")) {
    const std::string size = args.Value("--size");
    width = ParseInt(size);
    height = ParseInt(std::string_view(size).substr(size.find('x') + 1));
  }
  if (zoom_fit && width == 0) return args.UsageError("--zoom fit needs --size");

  CliHost host;
  host.UseSimulatedClock(0);
  ApplySeedOption(args, host);
  DrawableDoll doll(host, DrawOptionsFrom(args));
  if (!doll.Open(path)) return kExitFailed;
  if (group >= 0) {
    const std::string problem = PaletteGroupProblem(doll.doc().model(), path, group);
    if (!problem.empty())
      return args.UsageError("--palette " + std::to_string(group) + ": " + problem);
  }

  FILE* trace = nullptr;
  if (!trace_path.empty()) {
    trace = std::fopen(trace_path.c_str(), "wb");
    if (!trace) {
      std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, trace_path).c_str());
      return kExitFailed;
    }
  }
  CKissCnfView view(doll.doc(), doll.settings());
  if (trace) TraceToFile(view, trace, args.Has("--trace-utf8"));
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

  if (zoom_fit) {
    zoom = FitZoomLevel(scene.window_width, scene.window_height, width, height, scene.edged_border);
  }
  if (width == 0) {
    width = PlayfieldPictureWidth(scene, zoom);
    height = PlayfieldPictureHeight(scene, zoom);
  }
  const Status saved = SaveScenePicture(doll.device(), scene, zoom, width, height, out);
  if (!saved.ok()) {
    std::fprintf(stderr, "%s\n", saved.message().c_str());
    return kExitFailed;
  }
  std::printf("%s: %d x %d, set %d, palette group %d, zoom %d\n", out.c_str(), width, height,
              scene.set, scene.group(), zoom);
  return kExitOk;
}

}  // namespace

const CommandSpec& RenderCommand() {
  static const CommandSpec spec = [] {
    CommandSpec c{
        .name = "render",
        .summary = "Draw one frame of a doll into a PNG or BMP picture",
        .description =
            "Loads a doll with the user's settings, starts its FKiSS script as opening the doll "
            "does (not with --no-fkiss), switches to set N after the start events as the user "
            "would, lets the script's alarms run for N simulated milliseconds in 10 ms steps "
            "(--run-ms, default 0), and draws one frame of the shown set (default: the first "
            "set in use) with its palette group, or group G. Messages the script raises "
            "(notify, the stack-limit report) go to standard error.\n\n"
            "Without --size the picture is the playfield itself (at zoom 0 pixel for pixel; "
            "other zoom levels scale it); with --size it is a view client of that size, with "
            "the border, the centring and the zoom level as the doll window draws them; --zoom "
            "fit takes the most magnified level at which the whole doll window and its edge fit "
            "that client. Prints \"OUT: W x H, set N, palette group G, zoom LEVEL\".\n\n"
            "Exit status 1 when the doll cannot be opened or the picture not written, 2 for a "
            "usage error (also for an output name that is neither .bmp nor .png, and for a "
            "palette group the doll does not have).",
        .operands = {{.name = "FILE", .complete = Complete::kDoll}},
        .options =
            {
                {.name = "-o",
                 .value = "OUT.bmp|OUT.png",
                 .help = "The picture to write, as BMP or PNG by its extension.",
                 .check = PictureFile(),
                 .required = true,
                 .complete = Complete::kPicture},
                {.name = "--set",
                 .value = "N",
                 .help = "Switch to set N after the start events, as the user would.",
                 .check = WholeNumber(0, kSetCount - 1, "sets are 0 to 9"),
                 .complete = Complete::kWords,
                 .words = NumberWords(0, kSetCount - 1)},
                {.name = "--palette",
                 .value = "G",
                 .help = "Draw with palette group G instead of the set's own.",
                 .check = WholeNumber(0, kPaletteGroupCount - 1, "palette groups are 0 to 9"),
                 .complete = Complete::kWords,
                 .words = NumberWords(0, kPaletteGroupCount - 1)},
                {.name = "--size",
                 .value = "WxH",
                 .help = "Draw a view client of W x H pixels with the border, the centring and "
                         "the zoom level, as the doll window does.",
                 .check = SizeValue(16384)},
                {.name = "--zoom",
                 .value = "LEVEL|fit",
                 .help = "The zoom level: -6 magnifies ten times, 0 is pixel for pixel, 6 "
                         "shows a tenth; fit (with --size) is the most magnified level at "
                         "which the whole doll shows, as Zoom to Fit Window picks it.",
                 .check = ZoomLevelOrFit(),
                 .complete = Complete::kWords,
                 .words = ZoomWords()},
            },
        .run = RunRender,
    };
    for (OptionSpec& o : DrawOptionSpecs()) c.options.push_back(std::move(o));
    c.options.push_back({.name = "--run-ms",
                         .value = "N",
                         .help = "Let the script's alarms run for N simulated milliseconds in "
                                 "10 ms steps first (default 0).",
                         .check = WholeNumber(0, kMaxRunMs, "the run time is 0 to 86400000 ms")});
    c.options.push_back({.name = "--trace",
                         .value = "FILE",
                         .help = "Write the FKiSS trace to FILE (lines ended by CR LF), with "
                                 "the doll's own bytes.",
                         .complete = Complete::kAnyFile});
    c.options.push_back({.name = "--trace-utf8",
                         .help = "Write the trace decoded to UTF-8 in the doll's text encoding."});
    c.options.push_back(SeedOptionSpec());
    c.options.push_back({.name = "--no-fkiss", .help = "Do not start the doll's FKiSS script."});
    return c;
  }();
  return spec;
}

}  // namespace luma::cli
