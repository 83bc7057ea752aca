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

#include "cli/tool_fixture.h"
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
class PlayTest : public testing::ToolFixture {
 protected:
  // A doll on a (W,H) playfield whose cel lines name the given cels; every
  // cel is a w x h block of colour 1.
  std::string Doll(const std::string& cnf_body,
                   const std::map<std::string, std::vector<uint8_t>>& cels) {
    std::vector<uint32_t> colors(16, 0xFF0000);
    colors[0] = 0;
    colors[2] = 0x00FF00;
    std::map<std::string, std::vector<uint8_t>> files = cels;
    files["p.kcf"] = testing::MakeKcf({colors});
    return doll_.WriteDoll("%p.kcf\n" + cnf_body, files);
  }

  static std::vector<uint8_t> Block(int w, int h) {
    return testing::MakeCel(4, w, h, std::vector<uint32_t>(w * h, 1));
  }

  ProgramResult Play(const std::string& doll, const std::string& script,
                     std::vector<std::string> extra = {}) {
    const std::string path = Out("actions.txt");
    testing::WriteFile(path, script);
    std::vector<std::string> args = {"play", doll, "--script", path};
    args.insert(args.end(), extra.begin(), extra.end());
    ProgramResult r = Tool(args);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r;
  }
};

TEST_F(PlayTest, EveryCommandReachesTheDollAndPrintsWhatItShows) {
  const std::string doll = Doll(
      "(100,60)\n#0.2 a.cel :0 1\n#1 b.cel :1\n$0 10,10 30,10\n$1 20,20 30,10\n;@EventHandler\n"
      ";@begin() timer(1, 50)\n;@alarm(1) let(rang, 1)\n;@keypress(\"a\") let(key, 1)\n"
      ";@press(#0) nop()\n",
      {{"a.cel", Block(4, 4)}, {"b.cel", Block(4, 4)}});
  const std::string trace = Out("play.trace");
  const std::string bmp = Out("zoomed.bmp");
  const std::string png = Out("last.png");
  const ProgramResult r =
      Play(doll,
           "# comment\n\nwait 60\nprint var rang\nkey a down\nkey a up\nprint var key\n"
           "print var none\npress 11 11\nprint status\nrelease\nprint fix 0\nrclick 31 11\n"
           "set 1\nprint mapped\nprint positions\npress 31 11\nmove 51 31\nrelease\n"
           "print positions\nundo\nprint positions\nredo\nprint positions\nreset\n"
           "print positions\nreload\nprint textures\npalette 0\nzoom 1\nrender " +
               bmp + "\nzoom fit\n",
           {"--trace", trace, "-o", png, "--seed", "7"});
  // After the reset set 0 shows again, without #1.
  EXPECT_EQ(r.out,
            "rang = 1\nkey = 1\nnone = 0\n"
            "Cel: \"a.cel\"  Object: #0  Fix: 2  Transparency: 0  FKiSS: yes\n#0 fix 1\n"
            "a.cel\nb.cel\n#0 20,20\n#1 30,10\n#0 20,20\n#1 50,30\n#0 20,20\n#1 30,10\n"
            "#0 20,20\n#1 50,30\n#0 10,10\nTextures: 2\n");
  EXPECT_EQ(testing::ReadBmp(testing::ReadFile(bmp)).width, 50);  // zoom level 1 shows half
  EXPECT_TRUE(std::filesystem::exists(png));
  const std::string traced = testing::ReadFile(trace);
  EXPECT_NE(traced.find("press(#0)\r\n"), std::string::npos) << traced;
}

TEST_F(PlayTest, UnknownLinesAreUsageErrorsAndFailedActionsExitOne) {
  const std::string doll =
      Doll("(100,60)\n#0 a.cel :0 1\n$0 10,10\n$1 20,20\n", {{"a.cel", Block(4, 4)}});
  const std::string path = Out("bad.txt");
  testing::WriteFile(path, "# fine\nwait 10\njump 3 4\n");
  const ProgramResult bad = Tool({"play", doll, "--script", path});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find(":3: jump 3 4: unknown command"), std::string::npos) << bad.err;

  testing::WriteFile(path, "print positions\nprint fix 9\nprint positions\n");
  const ProgramResult failed = Tool({"play", doll, "--script", path});
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_EQ(failed.out, "#0 10,10\n");
  EXPECT_NE(failed.err.find("there is no object #9"), std::string::npos) << failed.err;
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
// relative to the body (movebyx/movebyy with the body as reference). The
// drags run as a play script, the one the browser tests replay in the page
// to compare it with play.
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
  actions << "set 1\nrender " << Out("before.png") << "\n";
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
  actions << "print positions\nrender " << Out("after.png") << "\n";
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
