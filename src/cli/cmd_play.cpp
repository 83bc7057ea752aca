// lumadoll-tool play FILE --script SCRIPT [-o OUT.png] [--trace FILE]
// Runs a doll without a screen from a text file of user actions, one per
// line, in doll coordinates:
//   press X Y | move X Y | release | rclick X Y | key NAME down|up
//   wait MS | set N | palette G | zoom LEVEL | reset
//   print positions | print fix N | print mapped | print var NAME
//   print status | render PATH
// "print positions" lists the objects of the current set, "print mapped"
// the cels it shows (mapped and in the set).
// Lines starting with "#" are comments. Questions are answered No, except
// the one `reset` asks.
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

constexpr char kPlayUsage[] =
    "usage: lumadoll-tool play FILE --script SCRIPT [-o OUT.png] [--trace FILE]\n";

// The application runs due alarms about every 10 ms; play does the same on
// its simulated clock.
constexpr int kAlarmStepMs = 10;

// The window of a headless view: fitting the window to the doll makes the
// client exactly the asked size.
class PlayFrontEnd : public ViewFrontEnd {
 public:
  explicit PlayFrontEnd(CKissCnfView& view) : view_(view) {}
  void FitWindow(int width, int height, bool) override { view_.Resize(width, height); }

 private:
  CKissCnfView& view_;
};

bool ParseWhole(const std::string& text, int low, int high, int* out) {
  size_t used = 0;
  const int value = ParseInt(text, &used);
  if (used == 0 || used != text.size() || value < low || value > high) return false;
  *out = value;
  return true;
}

// One script line split into words.
std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

class Player {
 public:
  Player(CliHost& host, DrawableDoll& doll)
      : host_(host), doll_(doll), view_(doll.doc(), doll.settings()), front_(view_) {}

  CKissCnfView& view() { return view_; }

  void Start() {
    const PlayfieldSize& playfield = doll_.doc().model().playfield;
    view_.set_front_end(&front_);
    view_.Resize(RoundUpToEven(playfield.width), RoundUpToEven(playfield.height));
    view_.StartDoll();
  }

  // Carries out one line. Returns kExitOk, kExitUsage for a line it does not
  // understand, or kExitFailed when an action failed.
  int Run(const std::vector<std::string>& w) {
    const std::string& c = w[0];
    const size_t n = w.size();
    PlayPoint p;
    if ((c == "press" || c == "move" || c == "rclick") && n == 3 && Point(w[1], w[2], &p)) {
      if (c == "press") {
        view_.MouseMove(p, false);
        view_.LeftButtonDown(p);
        button_down_ = true;
      } else if (c == "move") {
        view_.MouseMove(p, button_down_);
      } else {
        view_.RightButtonDown(p);
      }
    } else if (c == "release" && n == 1) {
      view_.LeftButtonUp(view_.Pointer());
      button_down_ = false;
    } else if (c == "key" && n == 3 && KeyCodeFromName(w[1]) >= 0 &&
               (w[2] == "down" || w[2] == "up")) {
      if (w[2] == "down") {
        view_.KeyDown(KeyCodeFromName(w[1]), false);
      } else {
        view_.KeyUp(KeyCodeFromName(w[1]));
      }
    } else if (c == "wait" && n == 2 && ParseWhole(w[1], 0, 24 * 3600 * 1000, &value_)) {
      Wait(value_);
    } else if (c == "set" && n == 2 && ParseWhole(w[1], 0, kSetCount - 1, &value_)) {
      view_.SelectSet(value_);
    } else if (c == "palette" && n == 2 && ParseWhole(w[1], 0, 9, &value_)) {
      view_.SelectPaletteGroup(value_);
    } else if (c == "zoom" && n == 2 && ParseWhole(w[1], kMinZoomLevel, kMaxZoomLevel, &value_)) {
      view_.SetZoom(value_);
    } else if (c == "reset" && n == 1) {
      host_.set_answer(Answer::kYes);
      view_.ResetDoll();
      host_.set_answer(Answer::kNo);
    } else if (c == "render" && n == 2) {
      return Render(w[1]);
    } else if (c == "print" && n >= 2) {
      return Print(w);
    } else {
      return kExitUsage;
    }
    return kExitOk;
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

 private:
  bool Point(const std::string& x, const std::string& y, PlayPoint* p) {
    constexpr int kLimit = 1 << 24;
    return ParseWhole(x, -kLimit, kLimit, &p->x) && ParseWhole(y, -kLimit, kLimit, &p->y);
  }

  void Wait(int ms) {
    for (int t = 0; t < ms && !view_.close_requested(); t += kAlarmStepMs) {
      host_.Advance(std::min(kAlarmStepMs, ms - t));
      view_.ProcessAlarms();
    }
  }

  int Print(const std::vector<std::string>& w) {
    const DollModel& doll = doll_.doc().model();
    const int set = view_.CurrentSet();
    const std::string& what = w[1];
    if (what == "positions" && w.size() == 2) {
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
    } else if (what == "fix" && w.size() == 3 && ParseWhole(w[2], 0, 1 << 30, &value_)) {
      const KissObject* object = doll_.doc().model().FindObject(value_, false);
      if (!object) {
        std::fprintf(stderr, "lumadoll-tool: there is no object #%d\n", value_);
        return kExitFailed;
      }
      std::printf("#%d fix %d\n", object->number, static_cast<int>(object->fix));
    } else if (what == "mapped" && w.size() == 2) {
      for (const auto& cel : doll.instances()) {
        if (cel->mapped && cel->in_set[set] && cel->cel) {
          std::printf("%s\n", cel->cel->file_name.c_str());
        }
      }
    } else if (what == "var" && w.size() == 3) {
      FkissScript* script = doll_.doc().fkiss();
      const int id = script ? script->FindVariable(w[2]) : -1;
      std::printf("%s = %d\n", w[2].c_str(), id >= 0 ? script->GetVariable(id) : 0);
    } else if (what == "status" && w.size() == 2) {
      std::printf("%s\n", view_.cel_info().c_str());
    } else {
      return kExitUsage;
    }
    return kExitOk;
  }

  CliHost& host_;
  DrawableDoll& doll_;
  CKissCnfView view_;
  PlayFrontEnd front_;
  bool button_down_ = false;
  int value_ = 0;
};

}  // namespace

int RunPlay(const Args& args) {
  std::string path, script_path, out, trace_path;
  bool ok = true;
  for (size_t i = 0; i < args.size() && ok; ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--script" && has_value) {
      script_path = args[++i];
    } else if (a == "-o" && has_value) {
      out = args[++i];
    } else if (a == "--trace" && has_value) {
      trace_path = args[++i];
    } else if (!a.empty() && a[0] != '-' && path.empty()) {
      path = a;
    } else {
      ok = false;
    }
  }
  if (!ok || path.empty() || script_path.empty()) {
    std::fputs(kPlayUsage, stderr);
    return kExitUsage;
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
  DrawableDoll doll(host, DrawOptions());
  if (!doll.Open(path)) return kExitFailed;
  std::unique_ptr<FILE, int (*)(FILE*)> trace(nullptr, std::fclose);
  Player player(host, doll);
  if (!trace_path.empty()) {
    trace.reset(std::fopen(trace_path.c_str(), "wb"));
    if (!trace) {
      std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, trace_path).c_str());
      return kExitFailed;
    }
    player.view().SetTrace(true, [file = trace.get()](std::string_view line) {
      std::fwrite(line.data(), 1, line.size(), file);
      std::fputs("\r\n", file);
    });
  }
  player.Start();

  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string> words = Words(lines[i]);
    if (words.empty() || words[0][0] == '#') continue;
    const int result = player.Run(words);
    if (result == kExitUsage) {
      std::fprintf(stderr, "lumadoll-tool: %s:%zu: unknown command: %s\n", script_path.c_str(),
                   i + 1, lines[i].c_str());
      return kExitUsage;
    }
    if (result != kExitOk) return result;
    std::fflush(stdout);
  }
  return out.empty() ? kExitOk : player.Render(out);
}

}  // namespace luma::cli
