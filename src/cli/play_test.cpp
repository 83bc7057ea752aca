#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/gfx/software_device.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"
#include "core/view/pick_cel.h"

namespace luma {
namespace {

using testing::ProgramResult;

// Runs `play` over dolls made in the test, with settings of the test's own.
class PlayTest : public ::testing::Test {
 protected:
  // "[Options]" lines for the settings file, e.g. "Easy Click=3".
  void Options(const std::string& lines) {
    std::filesystem::create_directories(home_ / "config" / "Velmora");
    testing::WriteFile(home_ / "config" / "Velmora" / "Lumadoll.conf", "[Options]\n" + lines);
  }

  // A doll on a (W,H) playfield whose cel lines name the given cels; every
  // cel is a w x h block of colour 1 (index 0 where `holes` says so).
  std::string Doll(const std::string& cnf_body,
                   const std::map<std::string, std::vector<uint8_t>>& cels) {
    std::vector<uint32_t> colors(16, 0xFF0000);
    colors[0] = 0;
    colors[2] = 0x00FF00;
    std::map<std::string, std::vector<uint8_t>> files = cels;
    files["p.kcf"] = testing::MakeKcf({colors});
    return testing::WriteTestDoll(dolls_.path(), "%p.kcf\n" + cnf_body, files);
  }

  static std::vector<uint8_t> Block(int w, int h, int x_offset = 0, int y_offset = 0) {
    return testing::MakeCel(4, w, h, std::vector<uint32_t>(w * h, 1), x_offset, y_offset);
  }

  ProgramResult Play(const std::string& doll, const std::string& script,
                     std::vector<std::string> extra = {}) {
    const std::string path = (out_ / "actions.txt").string();
    testing::WriteFile(path, script);
    std::vector<std::string> args = {"play", doll, "--script", path};
    args.insert(args.end(), extra.begin(), extra.end());
    ProgramResult r = testing::RunProgram(LUMA_TOOL_PATH, args,
                                          {"XDG_CONFIG_HOME=" + (home_ / "config").string(),
                                           "XDG_DATA_HOME=" + (home_ / "data").string()});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r;
  }

  testing::TempDir home_;
  testing::TempDir dolls_;
  testing::TempDir out_;
};

std::string Info(const std::string& cel, int object) {
  return "Cel: \"" + cel + "\"  Object: #" + std::to_string(object) +
         "  Fix: 0  Transparency: " + (cel == "clear.cel" ? "255" : "0") + "  FKiSS: no\n";
}

TEST_F(PlayTest, PickingFollowsVisibleTexelsGhostsAndEasyClick) {
  Options("Easy Click=3\n");
  // top.cel is 12 x 4 with only its right 4 columns opaque: more than the
  // easy-click radius of clear texels lies over below.cel.
  std::vector<uint32_t> holed(48, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 8; x < 12; ++x) holed[y * 12 + x] = 1;
  }
  const std::string doll = Doll(
      "(100,60)\n#0 top.cel :0\n#1 below.cel :0\n#2 ghost.cel :0 ;%g\n#3 clear.cel :0 ;%t255\n"
      "#4 far.cel :0\n$0 10,10 10,10 40,10 60,10 80,10\n",
      {{"top.cel", testing::MakeCel(4, 12, 4, holed)},
       {"below.cel", Block(4, 4)},
       {"ghost.cel", Block(4, 4)},
       {"clear.cel", Block(4, 4)},
       {"far.cel", Block(2, 2)}});
  const ProgramResult r = Play(doll,
                               "# the top cel is clear over below.cel\n"
                               "press 10 10\nprint status\nrelease\n"
                               "press 19 10\nprint status\nrelease\n"
                               "press 41 11\nprint status\nrelease\n"
                               "rclick 41 11\nprint status\n"
                               "press 61 11\nprint status\nmove 61 31\nrelease\n"
                               "rclick 61 31\nprint status\n"
                               "press 77 10\nprint status\nrelease\n"
                               "press 76 10\nprint status\nrelease\n"
                               "print positions\n");
  EXPECT_EQ(r.out, Info("below.cel", 1) + Info("top.cel", 0) + "\n" + Info("ghost.cel", 2) +
                       Info("clear.cel", 3) + "\n" + Info("far.cel", 4) + "\n" +
                       "#0 10,10\n#1 10,10\n#2 40,10\n#3 60,30\n#4 80,10\n");
}

TEST_F(PlayTest, FixValuesResistSpringBackAndWiggle) {
  // #0 fix 3, #1 fix 100 (immovable at the default threshold), #2 fix 98
  // with #3 and #4 placed so that a tug of one unit down and right reaches
  // #4 but not #3.
  const std::string doll = Doll(
      "(100,60)\n#0.3 a.cel :0\n#1.100 b.cel :0\n#2.98 c.cel :0\n#3 d.cel :0\n#4 e.cel :0\n"
      "$0 10,10 30,10 50,10 55,10 50,14\n"
      ";@EventHandler\n;@in(#2, #4) let(touch, 1)\n;@in(#2, #3) let(reach, 1)\n"
      ";@unfix(#0) add(unfixed, unfixed, 1)\n",
      {{"a.cel", Block(4, 4)},
       {"b.cel", Block(4, 4)},
       {"c.cel", Block(4, 4)},
       {"d.cel", Block(4, 4)},
       {"e.cel", Block(4, 4)}});
  const ProgramResult r = Play(doll,
                               "press 11 11\nmove 40 40\nprint fix 0\nprint positions\nrelease\n"
                               "print fix 0\nprint var unfixed\n"
                               "press 11 11\nmove 40 40\nprint var unfixed\nmove 41 41\nrelease\n"
                               "print fix 0\n"
                               "press 31 11\nmove 60 50\nrelease\nprint fix 1\n"
                               "press 51 11\nmove 90 50\nrelease\nprint fix 2\n"
                               "print var touch\nprint var reach\nprint positions\n");
  EXPECT_EQ(r.out,
            "#0 fix 1\n#0 10,10\n#1 30,10\n#2 50,10\n#3 55,10\n#4 50,14\n"  // sprang back
            "#0 fix 1\nunfixed = 0\n"
            "unfixed = 1\n#0 fix 0\n"
            "#1 fix 100\n"
            "#2 fix 96\n"
            "touch = 1\nreach = 0\n"
            "#0 40,40\n#1 30,10\n#2 50,10\n#3 55,10\n#4 50,14\n");
}

TEST_F(PlayTest, BoundingModesLimitDragsAndScriptMovesApart) {
  // #0 is 4 x 4 at (10, 10); pressing #1 or #2 makes the script throw #0
  // towards either corner.
  const std::string cnf =
      "(100,60)\n#0 a.cel :0\n#1 b.cel :0\n#2 c.cel :0\n#3 wide.cel :0\n$0 10,10 90,50 80,50 "
      "0,30\n;@EventHandler\n;@press(#1) moveto(#0, 500, 500)\n;@press(#2) moveto(#0, -50, -50)\n";
  const std::map<std::string, std::vector<uint8_t>> cels = {{"a.cel", Block(4, 4)},
                                                            {"b.cel", Block(2, 2)},
                                                            {"c.cel", Block(2, 2)},
                                                            {"wide.cel", Block(40, 2)}};
  // Each step starts from the doll's own positions.
  const std::string actions =
      "press 11 11\nmove 100 60\nrelease\nprint positions\nreset\n"
      "press 11 11\nmove 0 0\nrelease\nprint positions\nreset\n"
      "press 91 51\nrelease\nprint positions\nreset\n"
      "press 81 51\nrelease\nprint positions\nreset\n"
      "press 39 31\nmove 0 31\nrelease\nprint positions\n";
  auto positions = [](const std::string& a, const std::string& wide) {
    return "#0 " + a + "\n#1 90,50\n#2 80,50\n#3 " + wide + "\n";
  };

  // All: drags end at the edge, scripts one unit further right and down.
  Options("Boundary Enforcement=0\n");
  EXPECT_EQ(Play(Doll(cnf, cels), actions).out,
            positions("96,56", "0,30") + positions("0,0", "0,30") + positions("97,57", "0,30") +
                positions("0,0", "0,30") + positions("10,10", "0,30"));

  // FKiSS: the user drags past every edge, the script still stops at them.
  Options("Boundary Enforcement=1\n");
  EXPECT_EQ(Play(Doll(cnf, cels), actions).out,
            positions("99,59", "0,30") + positions("-1,-1", "0,30") + positions("97,57", "0,30") +
                positions("0,0", "0,30") + positions("10,10", "-39,30"));
}

TEST_F(PlayTest, VisibleBoundingLetsACelOffsetReachPastTheLeftEdge) {
  Options("Boundary Enforcement=3\n");
  const std::string doll =
      Doll("(100,60)\n#0 a.cel :0 ;%x20\n$0 30,10\n", {{"a.cel", Block(4, 4)}});
  EXPECT_EQ(Play(doll, "press 51 11\nmove 0 11\nrelease\nprint positions\n").out, "#0 -20,10\n");
}

TEST_F(PlayTest, MouseEventsRunInOrderOnCelObjectAndCelSet) {
  const std::string doll = Doll(
      "(100,60)\n#0 a.cel :0 ;!grp\n#1.1 b.cel :0\n$0 10,10 30,10\n;@EventHandler\n"
      ";@press(\"a.cel\") nop()\n;@press(#0) nop()\n;@press(!grp) nop()\n;@catch(#0) nop()\n"
      ";@release(!grp) nop()\n;@release(#0) nop()\n"
      ";@drop(#0) nop()\n;@drop(\"a.cel\") nop()\n;@fixdrop(#0) nop()\n"
      ";@press(#1) nop()\n;@catch(#1) nop()\n;@fixcatch(#1) nop()\n;@unfix(#1) nop()\n"
      ";@release(#1) nop()\n;@fixdrop(#1) nop()\n;@drop(#1) nop()\n",
      {{"a.cel", Block(4, 4)}, {"b.cel", Block(4, 4)}});
  const std::string trace = (out_ / "play.trace").string();
  Play(doll, "press 11 11\nrelease\npress 31 11\nrelease\n", {"--trace", trace});
  std::string events;
  for (const std::string& line : [&] {
         std::vector<std::string> lines;
         std::string text = testing::ReadFile(trace), line;
         for (char c : text) {
           if (c == '\n') {
             lines.push_back(line);
             line.clear();
           } else if (c != '\r') {
             line += c;
           }
         }
         return lines;
       }()) {
    if (!line.empty() && line[0] != ' ') events += line + " ";
  }
  EXPECT_EQ(events,
            "press(\"a.cel\") press(#0) press(\"grp\") catch(#0) release(#0) release(\"grp\") "
            "drop(\"a.cel\") drop(#0) "
            "press(#1) catch(#1) unfix(#1) release(#1) drop(#1) ");
}

TEST_F(PlayTest, ResetPutsEverySetBackAndUnknownLinesAreUsageErrors) {
  const std::string doll =
      Doll("(100,60)\n#0 a.cel :0 1\n$0 10,10\n$1 20,20\n", {{"a.cel", Block(4, 4)}});
  const ProgramResult r =
      Play(doll,
           "set 1\nprint positions\npress 21 21\nmove 31 41\nrelease\nprint positions\n"
           "reset\nset 1\nprint positions\n");
  EXPECT_EQ(r.out, "#0 20,20\n#0 30,40\n#0 20,20\n");

  const std::string path = (out_ / "bad.txt").string();
  testing::WriteFile(path, "# fine\nwait 10\njump 3 4\n");
  const ProgramResult bad = testing::RunProgram(LUMA_TOOL_PATH, {"play", doll, "--script", path},
                                                {"XDG_CONFIG_HOME=" + (home_ / "config").string()});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find(":3: jump 3 4: unknown command"), std::string::npos) << bad.err;
}

TEST_F(PlayTest, KeysAlarmsAndZoomReachTheDoll) {
  const std::string doll = Doll(
      "(100,60)\n#0 a.cel :0\n#1 b.cel :0\n#2 c.cel :1\n$0 10,10 30,10 50,10\n"
      "$1 10,10 30,10 50,10\n;@EventHandler\n"
      ";@begin() timer(1, 100)\n;@alarm(1) let(rang, 1)\n;@keypress(\"a\") unmap(#0)\n"
      ";@keyrelease(\"a\") let(up, 1)\n",
      {{"a.cel", Block(4, 4)}, {"b.cel", Block(4, 4)}, {"c.cel", Block(4, 4)}});
  const std::string bmp = (out_ / "zoomed.bmp").string();
  const ProgramResult r = Play(doll,
                               "wait 90\nprint var rang\nwait 20\nprint var rang\n"
                               "print mapped\nkey a down\nprint mapped\nkey A up\nprint var up\n"
                               "set 1\nprint mapped\nzoom 1\nrender " +
                                   bmp + "\n");
  // Only the cels the current set shows are listed.
  EXPECT_EQ(r.out, "rang = 0\nrang = 1\na.cel\nb.cel\nb.cel\nup = 1\nc.cel\n");
  const Image zoomed = testing::ReadBmp(testing::ReadFile(bmp));
  EXPECT_EQ(zoomed.width, 50);  // zoom level 1 shows half
  EXPECT_EQ(zoomed.height, 30);
}

TEST_F(PlayTest, UndoAndRedoPutDraggedObjectsBackWhereTheyStood) {
  // #0 starts partly left of the playfield; a drag pulls it inside, and
  // undoing the drag puts it back out there, where the doll placed it.
  const std::string doll = Doll("(100,80)\n#0 a.cel :0\n#1 b.cel :0\n$0 -5,10 50,50\n",
                                {{"a.cel", Block(10, 10)}, {"b.cel", Block(10, 10)}});
  const ProgramResult r =
      Play(doll,
           "press 2 15\nmove 30 20\nrelease\nprint positions\n"
           "press 52 52\nmove 99 79\nrelease\nprint positions\n"
           "undo\nprint positions\nundo\nprint positions\nundo\nprint positions\n"
           "redo\nprint positions\nredo\nprint positions\nredo\nprint positions\n");
  EXPECT_EQ(r.out,
            "#0 23,15\n#1 50,50\n"
            "#0 23,15\n#1 90,70\n"
            "#0 23,15\n#1 50,50\n"
            "#0 -5,10\n#1 50,50\n"
            "#0 -5,10\n#1 50,50\n"  // nothing more to undo
            "#0 23,15\n#1 50,50\n"
            "#0 23,15\n#1 90,70\n"
            "#0 23,15\n#1 90,70\n");
}

// The rectangle an object's cels cover in a set: left, top, right, bottom.
std::array<int, 4> Extent(const KissObject& object, int set) {
  std::array<int, 4> r = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const CelInstance* cel : object.cels) {
    if (!cel->in_set[set] || !cel->cel) continue;
    const int x = object.position[set].x + cel->x_offset;
    const int y = object.position[set].y + cel->y_offset;
    r = {std::min(r[0], x), std::min(r[1], y), std::max(r[2], x + int{cel->cel->width}),
         std::max(r[3], y + int{cel->cel->height})};
  }
  return r;
}

bool Overlap(const std::array<int, 4>& a, const std::array<int, 4>& b) {
  return a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
}

// Every piece of clothing of aurora.lzh that is not on the body yet is
// dragged onto it; the doll's in() events must snap each one to its place
// relative to the body (movebyx/movebyy with the body as reference).
TEST_F(PlayTest, ReloadingKeepsTheTexturesCounterFlat) {
  // Palettes emulated: a.cel used with a second palette has a clone, made
  // afresh by every reload.
  Options("Force Palette=1\n");
  std::vector<uint32_t> colors(16, 0x0000FF);
  colors[0] = 0;
  const std::string doll = Doll(
      "%q.kcf\n(100,60)\n#0 a.cel *0 :0\n#1 b.cel *0 :0\n#2 a.cel *1 :0\n$0 10,10 20,20 30,30\n",
      {{"a.cel", Block(40, 20)}, {"b.cel", Block(20, 10)}, {"q.kcf", testing::MakeKcf({colors})}});
  std::string script = "print textures\npress 12 12\nmove 40 40\nrelease\n";
  for (int i = 0; i < 20; ++i) script += "reload\n";
  script += "print textures\nprint positions\n";
  const ProgramResult r = Play(doll, script);
  EXPECT_EQ(r.out, "Textures: 3\nTextures: 3\n#0 10,10\n#1 20,20\n#2 30,30\n");
}

TEST_F(PlayTest, AuroraClothesSnapOntoTheBody) {
  LUMA_REQUIRE_CORPUS();
  const std::filesystem::path archive = testing::CorpusDir() / "dolls" / "aurora.lzh";
  std::string cnf;
  for (const testing::CorpusMember& m : testing::ReadArchiveMembers(archive)) {
    if (m.name == "aurora.cnf") cnf.assign(m.bytes.begin(), m.bytes.end());
  }
  ASSERT_FALSE(cnf.empty());
  // in(#0, #N) followed by movebyx(#N, #0, DX) and movebyy(#N, #0, DY).
  std::map<int, std::pair<int, int>> snaps;
  const std::regex snap(
      R"(;@in\(#0, #(\d+)\)\s*;@\s*movebyx\(#\d+, #0, (-?\d+)\)\s*;@\s*movebyy\(#\d+, #0, (-?\d+)\))");
  for (auto it = std::sregex_iterator(cnf.begin(), cnf.end(), snap); it != std::sregex_iterator();
       ++it) {
    snaps[std::stoi((*it)[1])] = {std::stoi((*it)[2]), std::stoi((*it)[3])};
  }
  ASSERT_GT(snaps.size(), 40u);

  // Where to grab each piece, found by the engine's own hit test in set 1.
  FakeHost host;
  SoftwareDevice device;
  testing::TestDoll doll(device, host);
  ASSERT_TRUE(doll.Open(archive.string()));
  const DollModel& model = doll.model();
  constexpr int kSet = 1;
  const DollWindow window{{0, 0}, {model.playfield.width, model.playfield.height}};
  const KissObject& body = *const_cast<DollModel&>(model).FindObject(0, false);
  const Position b = body.position[kSet];

  std::ostringstream actions;
  actions << "set 1\nrender " << (out_ / "before.png").string() << "\n";
  std::vector<int> dragged;
  for (const auto& [number, offset] : snaps) {
    const KissObject* object = const_cast<DollModel&>(model).FindObject(number, false);
    if (!object || object->fix > 0) continue;
    const Position at = object->position[kSet];
    bool grabbed = false;
    PlayPoint grab;
    for (const CelInstance* cel : object->cels) {
      if (!cel->in_set[kSet] || !cel->cel) continue;
      for (int y = 0; y < cel->cel->height && !grabbed; y += 3) {
        for (int x = 0; x < cel->cel->width && !grabbed; x += 3) {
          const PlayPoint p{at.x + cel->x_offset + x, at.y + cel->y_offset + y};
          const CelInstance* hit = PickCel(model, kSet, p, window, 1, PickPurpose::kEvents);
          if (hit && hit->object == object) {
            grab = p;
            grabbed = true;
          }
        }
      }
    }
    // Pieces hidden under others cannot be picked up by hand either, and
    // one already lying over the body would not come "in" again.
    if (!grabbed || Overlap(Extent(*object, kSet), Extent(body, kSet))) continue;
    const PlayPoint grab_offset{grab.x - at.x, grab.y - at.y};
    // Down a few units off its place on the body: the snap must pull it the
    // rest of the way.
    actions << "press " << grab.x << " " << grab.y << "\nmove "
            << b.x + offset.first + 5 + grab_offset.x << " "
            << b.y + offset.second + 4 + grab_offset.y << "\nrelease\n";
    dragged.push_back(number);
  }
  actions << "print positions\nrender " << (out_ / "after.png").string() << "\n";
  ASSERT_GT(dragged.size(), 20u);
  // Every drag taken back, then made again.
  for (size_t i = 0; i < dragged.size(); ++i) actions << "undo\n";
  actions << "print positions\n";
  for (size_t i = 0; i < dragged.size(); ++i) actions << "redo\n";
  actions << "print positions\n";

  // The browser tests (scripts/web-tests) play the same script in the page.
  if (const char* keep = std::getenv("LUMA_KEEP_PLAY_SCRIPT"))
    testing::WriteFile(keep, actions.str());
  const ProgramResult r = Play(archive.string(), actions.str());
  // The three listings, one after another, each starting with #0.
  std::vector<std::map<int, Position>> listings;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) {
    int n, x, y;
    if (std::sscanf(line.c_str(), "#%d %d,%d", &n, &x, &y) != 3) continue;
    if (n == 0) listings.emplace_back();
    listings.back()[n] = {x, y};
  }
  ASSERT_EQ(listings.size(), 3u);
  for (int number : dragged) {
    const auto [dx, dy] = snaps[number];
    const Position snapped{b.x + dx, b.y + dy};
    EXPECT_EQ(listings[0][number], snapped) << "#" << number;
    EXPECT_EQ(listings[2][number], snapped) << "#" << number << " redone";
  }
  EXPECT_EQ(listings[0][0], b);  // the body itself never moves
  // Every object is back where the doll began, not only the dragged ones.
  for (const auto& [number, at] : listings[1]) {
    EXPECT_EQ(at, const_cast<DollModel&>(model).FindObject(number, false)->position[kSet])
        << "#" << number;
  }
}

}  // namespace
}  // namespace luma
