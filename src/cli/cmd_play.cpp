// lumadoll-tool play FILE --script SCRIPT [-o OUT.png] [--trace FILE [--trace-utf8]]
//   [--seed N]
// Runs a doll without a screen from a text file of user actions, one per
// line, in doll coordinates; the script commands are the table in
// Player::Commands(). Lines starting with "#" are comments. Questions are
// answered No, except the one `reset` asks.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/render_doll.h"
#include "core/fkiss/key_codes.h"
#include "core/host/text.h"
#include "core/model/messages.h"
#include "core/render/view_transform.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::cli {
namespace {

// The application runs due alarms about every 10 ms; play does the same on
// its simulated clock.
constexpr int kAlarmStepMs = 10;
constexpr int kMaxWaitMs = 24 * 3600 * 1000;

// The window of a headless view: fitting the window to the doll makes the
// client exactly the asked size.
class PlayFrontEnd : public ViewFrontEnd {
 public:
  explicit PlayFrontEnd(CKissCnfView& view) : view_(view) {}
  void FitWindow(int width, int height, bool) override { view_.Resize(width, height); }

 private:
  CKissCnfView& view_;
};

// One script line split into words.
std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
  return text;
}

std::string UpperCopy(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

class Player;
using Values = std::vector<std::string>;

// One argument of a script command; `check` returns what is wrong with a value.
struct ScriptArg {
  std::string name;
  ValueCheck check;
};

// One script command. Its handler returns kExitOk, kExitFailed when an action
// failed, or kExitUsage after setting the problem to report.
struct ScriptCommand {
  std::string words;  // "press", or "print fix" for a command of two words
  std::vector<ScriptArg> args;
  std::string help;
  int (Player::*run)(const Values& values);

  std::string Usage() const {
    std::string usage = words;
    for (const ScriptArg& a : args) usage += " " + UpperCopy(a.name);
    return usage;
  }
};

ValueCheck KeyName() {
  return [](std::string_view value) -> std::string {
    return KeyCodeFromName(value) >= 0 ? "" : "not a key name";
  };
}

ValueCheck OneOf(std::vector<std::string> choices) {
  return [choices](std::string_view value) -> std::string {
    std::string listed;
    for (const std::string& c : choices) {
      if (c == value) return "";
      listed += (listed.empty() ? "" : " or ") + c;
    }
    return "expected " + listed;
  };
}

// A zoom level, or "fit" for the most magnified level that shows the whole doll.
ValueCheck ZoomLevel() {
  const ValueCheck level =
      WholeNumber(kMinZoomLevel, kMaxZoomLevel, "zoom levels are -6 to 6, or fit");
  return
      [level](std::string_view value) -> std::string { return value == "fit" ? "" : level(value); };
}

ValueCheck Coordinate() {
  constexpr int kLimit = 1 << 24;
  return WholeNumber(-kLimit, kLimit, "coordinates are -16777216 to 16777216");
}

class Player {
 public:
  Player(CliHost& host, DrawableDoll& doll, std::string doll_path)
      : host_(host),
        doll_(doll),
        doll_path_(std::move(doll_path)),
        view_(doll.doc(), doll.settings()),
        front_(view_) {}

  CKissCnfView& view() { return view_; }
  const std::string& problem() const { return problem_; }

  void Start() {
    const PlayfieldSize& playfield = doll_.doc().model().playfield;
    view_.set_front_end(&front_);
    view_.Resize(RoundUpToEven(playfield.width), RoundUpToEven(playfield.height));
    view_.StartDoll();
  }

  // Carries out one line of words. Returns kExitOk, kExitFailed when an
  // action failed, or kExitUsage with problem() saying what is wrong.
  int Run(const Values& w) {
    const ScriptCommand* command = nullptr;
    for (const ScriptCommand& c : Commands()) {
      const Values name = Words(c.words);
      if (name.size() <= w.size() && std::equal(name.begin(), name.end(), w.begin()) &&
          (!command || name.size() > Words(command->words).size())) {
        command = &c;
      }
    }
    if (!command) return Problem("unknown command");
    const Values values(w.begin() + static_cast<long>(Words(command->words).size()), w.end());
    if (values.size() < command->args.size()) {
      return Problem("missing " + command->args[values.size()].name);
    }
    if (values.size() > command->args.size()) {
      return Problem("unexpected " + values[command->args.size()] + " (" + command->Usage() + ")");
    }
    for (size_t i = 0; i < values.size(); ++i) {
      const ValueCheck& check = command->args[i].check;
      const std::string wrong = check ? check(values[i]) : "";
      // With several arguments the message says which one is wrong.
      if (!wrong.empty()) return Problem(values.size() > 1 ? values[i] + ": " + wrong : wrong);
    }
    return (this->*command->run)(values);
  }

  int Render(const std::string& path) {
    const Status saved =
        SaveScenePicture(doll_.device(), view_.CurrentScene(), view_.zoom_level(), path);
    if (!saved.ok()) {
      std::fprintf(stderr, "%s\n", saved.message().c_str());
      return kExitFailed;
    }
    return kExitOk;
  }

  // Every script command, in the order the help lists them.
  static const std::vector<ScriptCommand>& Commands() {
    static const std::vector<ScriptCommand> commands = {
        {"press",
         {{"x", Coordinate()}, {"y", Coordinate()}},
         "Press the left button at X,Y.",
         &Player::Press},
        {"move",
         {{"x", Coordinate()}, {"y", Coordinate()}},
         "Move the pointer to X,Y (dragging while the button is down).",
         &Player::Move},
        {"release", {}, "Release the left button where the pointer is.", &Player::Release},
        {"rclick",
         {{"x", Coordinate()}, {"y", Coordinate()}},
         "Click the right button at X,Y.",
         &Player::RightClick},
        {"key",
         {{"name", KeyName()}, {"direction", OneOf({"down", "up"})}},
         "Press (down) or release (up) the key NAME.",
         &Player::Key},
        {"wait",
         {{"ms", WholeNumber(0, kMaxWaitMs, "waits are 0 to 86400000 ms")}},
         "Move the simulated clock on by MS milliseconds, running due alarms in 10 ms steps.",
         &Player::Wait},
        {"set",
         {{"n", WholeNumber(0, kSetCount - 1, "sets are 0 to 9")}},
         "Show set N.",
         &Player::Set},
        {"palette",
         {{"g", WholeNumber(0, kPaletteGroupCount - 1, "palette groups are 0 to 9")}},
         "Show palette group G.",
         &Player::Palette},
        {"zoom",
         {{"level", ZoomLevel()}},
         "Zoom to LEVEL (-6 magnifies ten times, 6 shows a tenth; fit: the most magnified "
         "level at which the whole doll shows in a client of the playfield's size).",
         &Player::Zoom},
        {"reset", {}, "Reset the doll (answers Yes).", &Player::Reset},
        {"reload",
         {},
         "Reload this CNF: changed files are read again and the doll starts afresh.",
         &Player::Reload},
        {"undo",
         {},
         "Take back the last drag, as Edit > Undo Move does (nothing when there is none).",
         &Player::Undo},
        {"redo",
         {},
         "Make again the last drag taken back, as Edit > Redo Move does.",
         &Player::Redo},
        {"print positions",
         {},
         "Print #N X,Y for each object of the current set, by number.",
         &Player::PrintPositions},
        {"print fix",
         {{"n", WholeNumber(0, 1 << 30, "object numbers are 0 or more")}},
         "Print #N fix F.",
         &Player::PrintFix},
        {"print mapped",
         {},
         "Print the file names of the cel lines shown: mapped and in the current set, in CNF "
         "order.",
         &Player::PrintMapped},
        {"print var", {{"name", {}}}, "Print NAME = V.", &Player::PrintVariable},
        {"print status",
         {},
         "Print the cel information line of the status bar.",
         &Player::PrintStatus},
        {"print textures",
         {},
         "Print Textures: N, the doll's texture count.",
         &Player::PrintTextures},
        {"render",
         {{"path", PictureFile()}},
         "Write the playfield as shown (BMP or PNG).",
         &Player::RenderTo},
    };
    return commands;
  }

 private:
  int Problem(std::string text) {
    problem_ = std::move(text);
    return kExitUsage;
  }

  static PlayPoint PointOf(const Values& v) { return PlayPoint{ParseInt(v[0]), ParseInt(v[1])}; }

  int Press(const Values& v) {
    const PlayPoint p = PointOf(v);
    view_.MouseMove(p, false);
    view_.LeftButtonDown(p);
    button_down_ = true;
    return kExitOk;
  }

  int Move(const Values& v) {
    view_.MouseMove(PointOf(v), button_down_);
    return kExitOk;
  }

  int Release(const Values&) {
    view_.LeftButtonUp(view_.Pointer());
    button_down_ = false;
    return kExitOk;
  }

  int RightClick(const Values& v) {
    view_.RightButtonDown(PointOf(v));
    return kExitOk;
  }

  int Key(const Values& v) {
    const int code = KeyCodeFromName(v[0]);
    if (v[1] == "down") {
      view_.KeyDown(code, false);
    } else {
      view_.KeyUp(code);
    }
    return kExitOk;
  }

  int Wait(const Values& v) {
    const int ms = ParseInt(v[0]);
    for (int t = 0; t < ms && !view_.close_requested(); t += kAlarmStepMs) {
      host_.Advance(std::min(kAlarmStepMs, ms - t));
      view_.ProcessAlarms();
    }
    return kExitOk;
  }

  int Set(const Values& v) {
    view_.SelectSet(ParseInt(v[0]));
    return kExitOk;
  }

  int Palette(const Values& v) {
    const int group = ParseInt(v[0]);
    const std::string wrong = PaletteGroupProblem(doll_.doc().model(), doll_path_, group);
    if (!wrong.empty()) return Problem(wrong);
    view_.SelectPaletteGroup(group);
    return kExitOk;
  }

  int Zoom(const Values& v) {
    if (v[0] == "fit") {
      view_.ZoomToFit();
    } else {
      view_.SetZoom(ParseInt(v[0]));
    }
    return kExitOk;
  }

  int Undo(const Values&) {
    view_.Undo();
    return kExitOk;
  }

  int Redo(const Values&) {
    view_.Redo();
    return kExitOk;
  }

  int Reset(const Values&) {
    host_.set_answer(Answer::kYes);
    view_.ResetDoll();
    host_.set_answer(Answer::kNo);
    return kExitOk;
  }

  // As the doll window does it: the document loads again, the view starts
  // the doll afresh, then loading is over.
  int Reload(const Values&) {
    CKissCnfDoc& doc = doll_.doc();
    const bool ok = doc.ReloadCnf();
    if (ok || doc.loading()) {
      view_.StartDoll();
      doc.set_loading(false);
    }
    return ok ? kExitOk : kExitFailed;
  }

  int PrintTextures(const Values&) {
    std::printf("Textures: %d\n", doll_.doc().textures().texture_count());
    return kExitOk;
  }

  int RenderTo(const Values& v) { return Render(v[0]); }

  int PrintPositions(const Values&) {
    const DollModel& doll = doll_.doc().model();
    const int set = view_.CurrentSet();
    std::vector<const KissObject*> objects;
    for (const auto& object : doll.objects()) {
      const bool present = std::any_of(object->cels.begin(), object->cels.end(),
                                       [set](const CelInstance* c) { return c->in_set[set]; });
      if (present) objects.push_back(object.get());
    }
    std::sort(objects.begin(), objects.end(),
              [](const KissObject* a, const KissObject* b) { return a->number < b->number; });
    for (const KissObject* o : objects) {
      std::printf("#%d %d,%d\n", o->number, o->position[set].x, o->position[set].y);
    }
    return kExitOk;
  }

  int PrintFix(const Values& v) {
    const int number = ParseInt(v[0]);
    const KissObject* object = doll_.doc().model().FindObject(number, false);
    if (!object) {
      std::fprintf(stderr, "lumadoll-tool: there is no object #%d\n", number);
      return kExitFailed;
    }
    std::printf("#%d fix %d\n", object->number, static_cast<int>(object->fix));
    return kExitOk;
  }

  int PrintMapped(const Values&) {
    const DollModel& doll = doll_.doc().model();
    const int set = view_.CurrentSet();
    for (const auto& cel : doll.instances()) {
      if (cel->mapped && cel->in_set[set] && cel->cel) {
        std::printf("%s\n", doll_.doc().Shown(cel->cel->file_name).c_str());
      }
    }
    return kExitOk;
  }

  int PrintVariable(const Values& v) {
    FkissScript* script = doll_.doc().fkiss();
    const int id = script ? script->FindVariable(v[0]) : -1;
    std::printf("%s = %d\n", v[0].c_str(), id >= 0 ? script->GetVariable(id) : 0);
    return kExitOk;
  }

  int PrintStatus(const Values&) {
    std::printf("%s\n", doll_.doc().Shown(view_.cel_info()).c_str());
    return kExitOk;
  }

  CliHost& host_;
  DrawableDoll& doll_;
  std::string doll_path_;
  CKissCnfView view_;
  PlayFrontEnd front_;
  bool button_down_ = false;
  std::string problem_;
};

int RunPlay(const ParsedArgs& args) {
  const std::string& path = args.operand(0);
  const std::string script_path = args.Value("--script");
  const std::string out = args.Value("-o");
  const std::string trace_path = args.Value("--trace");
  if (args.Has("--trace-utf8") && trace_path.empty()) {
    return args.UsageError("--trace-utf8: only with --trace FILE");
  }
  std::ifstream script(script_path, std::ios::binary);
  if (!script) {
    std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, script_path).c_str());
    return kExitFailed;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(script, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }

  CliHost host;
  host.UseSimulatedClock(0);
  ApplySeedOption(args, host);
  DrawableDoll doll(host, DrawOptions());
  if (!doll.Open(path)) return kExitFailed;
  std::unique_ptr<FILE, int (*)(FILE*)> trace(nullptr, std::fclose);
  Player player(host, doll, path);
  if (!trace_path.empty()) {
    trace.reset(std::fopen(trace_path.c_str(), "wb"));
    if (!trace) {
      std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, trace_path).c_str());
      return kExitFailed;
    }
    TraceToFile(player.view(), trace.get(), args.Has("--trace-utf8"));
  }
  player.Start();

  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string> words = Words(lines[i]);
    if (words.empty() || words[0][0] == '#') continue;
    const int result = player.Run(words);
    if (result == kExitUsage) {
      std::fprintf(stderr, "lumadoll-tool: %s:%zu: %s: %s\n", script_path.c_str(), i + 1,
                   Joined(words).c_str(), player.problem().c_str());
      return kExitUsage;
    }
    if (result != kExitOk) return result;
    std::fflush(stdout);
  }
  return out.empty() ? kExitOk : player.Render(out);
}

}  // namespace

const CommandSpec& PlayCommand() {
  static const CommandSpec spec = [] {
    CommandSpec c{
        .name = "play",
        .summary = "Run a doll without a screen from a script of user actions",
        .description =
            "Runs a doll without a screen from a script of user actions, one per line, in doll "
            "coordinates. Lines starting with # are comments. Questions are answered No, except "
            "the one reset asks. -o renders once more after the last line.\n\n"
            "Exit status 2 naming the line and what is wrong for a line that is not understood, "
            "1 when the doll, the script or a picture cannot be opened or written.",
        .operands = {{.name = "FILE", .complete = Complete::kDoll}},
        .options =
            {
                {.name = "--script",
                 .value = "SCRIPT",
                 .help = "The script of user actions to run.",
                 .required = true,
                 .complete = Complete::kAnyFile},
                {.name = "-o",
                 .value = "OUT.png",
                 .help = "Render the playfield once more after the last line (BMP or PNG).",
                 .check = PictureFile(),
                 .complete = Complete::kPicture},
                {.name = "--trace",
                 .value = "FILE",
                 .help = "Write the FKiSS trace to FILE (lines ended by CR LF), with the "
                         "doll's own bytes.",
                 .complete = Complete::kAnyFile},
                {.name = "--trace-utf8",
                 .help = "Write the trace decoded to UTF-8 in the doll's text encoding."},
                SeedOptionSpec(),
            },
        .run = RunPlay,
        .details_heading = "Script commands",
    };
    for (const ScriptCommand& command : Player::Commands()) {
      c.details.push_back({command.Usage(), command.help});
    }
    return c;
  }();
  return spec;
}

}  // namespace luma::cli
