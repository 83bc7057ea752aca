#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/gfx/image.h"
#include "core/host/text.h"
#include "core/testing/doll_loader.h"
#include "core/testing/image_files.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;

// Colours of the test palettes: index 1 green and 2 red in p.kcf, the other
// way round in q.kcf; 3 is a blue for cels whose colour does not matter.
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;

std::vector<uint8_t> Kcf(uint32_t one, uint32_t two) {
  std::vector<uint32_t> colors(16, 0x808080);
  colors[0] = 0;
  colors[1] = one;
  colors[2] = two;
  colors[3] = kBlue;
  // Group 1 has the same hues a little darker (a group equal to an earlier
  // one would not count as a group of its own).
  std::vector<uint32_t> darker = colors;
  for (uint32_t& c : darker) c &= 0xEEEEEE;
  return testing::MakeKcf({colors, darker});
}

std::vector<uint8_t> Block(int w, int h, uint32_t index) {
  return testing::MakeCel(4, w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, index));
}

// A 10 x 10 cel whose left `clear` columns are transparent.
std::vector<uint8_t> RightPart(int clear) {
  std::vector<uint32_t> pixels(100, 3);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < clear; ++x) pixels[y * 10 + x] = 0;
  }
  return testing::MakeCel(4, 10, 10, pixels);
}

bool IsGreen(uint32_t argb) {
  const uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return g >= 0xC0 && r < 0x40 && b < 0x40;
}

// A doll that checks the script engine against itself: every probe runs its
// commands, and one alarm late in the run maps a green square for each probe
// that saw what it should and a red one for each that did not. Probe 0 is
// the setkcf square itself: a cel that a script moves from the red KCF to
// the green one.
class ConformanceDoll {
 public:
  ConformanceDoll() {
    files_["p.kcf"] = Kcf(kGreen, kRed);
    files_["q.kcf"] = Kcf(kRed, kGreen);
    files_["kc.cel"] = Block(10, 10, 1);
    Object("kc.cel", Slot(0), "*1 :0");
  }

  // A test object of one 10 x 10 blue cel (or the given image) at (x, y);
  // returns its number.
  // `options` is the rest of the cel line.
  int Object(const std::string& cel, std::pair<int, int> at, const std::string& options = "*0 :0",
             std::vector<uint8_t> image = {}) {
    const int number = static_cast<int>(positions_.size());
    if (!files_.count(cel)) files_[cel] = image.empty() ? Block(10, 10, 3) : std::move(image);
    cels_ += StringPrintf("#%d %s %s\n", number, cel.c_str(), options.c_str());
    positions_.push_back(at);
    return number;
  }
  // A further cel of an existing object.
  void Cel(int object, const std::string& cel, const std::string& options,
           std::vector<uint8_t> image) {
    files_[cel] = std::move(image);
    cels_ += StringPrintf("#%d %s %s\n", object, cel.c_str(), options.c_str());
  }
  // Places in the test area, below the result squares.
  std::pair<int, int> Spot() {
    const int i = spots_++;
    return {10 + 30 * (i % 12), 120 + 30 * (i / 12)};
  }

  void Script(const std::string& line) { script_ += ";@" + line + "\n"; }
  // Probe `name` passes when each variable holds its value when the
  // results are drawn.
  void Probe(const std::string& name, std::vector<std::pair<std::string, int>> expected) {
    probes_.push_back({name, std::move(expected)});
  }

  // The CNF and its files, written into `dir`; returns the CNF's path.
  std::string Write(const std::filesystem::path& dir) {
    // One CNF line per probe: the results continue the alarm's actions.
    std::string results = "alarm(99)\n";
    std::string result_cels;
    for (size_t i = 0; i < probes_.size(); ++i) {
      const int slot = static_cast<int>(i) + 1;
      const int object = static_cast<int>(positions_.size());
      positions_.push_back(Slot(slot));
      const std::string green = StringPrintf("g%zu.cel", i), red = StringPrintf("r%zu.cel", i);
      files_[green] = Block(10, 10, 1);
      files_[red] = Block(10, 10, 2);
      result_cels += StringPrintf("#%d %s *0 :0 ;%%u\n#%d %s *0 :0 ;%%u\n", object, green.c_str(),
                                  object, red.c_str());
      const std::string count = StringPrintf("ok%zu", i);
      std::string line;
      for (const auto& [variable, value] : probes_[i].expected) {
        line += StringPrintf(" ifequal(%s, %d) add(%s, %s, 1) endif()", variable.c_str(), value,
                             count.c_str(), count.c_str());
      }
      line += StringPrintf(" ifequal(%s, %zu) map(\"%s\") else() map(\"%s\") endif()",
                           count.c_str(), probes_[i].expected.size(), green.c_str(), red.c_str());
      results += ";@" + line + "\n";
    }
    std::string set_line = "$0";
    for (const auto& [x, y] : positions_) set_line += StringPrintf(" %d,%d", x, y);
    const std::string cnf = "(400,400)\n%p.kcf\n%q.kcf\n" + cels_ + result_cels + set_line +
                            "\n;@EventHandler\n" + script_ + ";@" + results;
    return testing::WriteTestDoll(dir, cnf, files_);
  }

  // Where the result square of each probe lies (slot 0 is the KCF probe).
  std::vector<std::pair<std::string, std::pair<int, int>>> Squares() const {
    std::vector<std::pair<std::string, std::pair<int, int>>> squares = {
        {"setkcf drawing", Slot(0)}};
    for (size_t i = 0; i < probes_.size(); ++i) {
      squares.push_back({probes_[i].name, Slot(static_cast<int>(i) + 1)});
    }
    return squares;
  }

 private:
  struct ProbeInfo {
    std::string name;
    std::vector<std::pair<std::string, int>> expected;
  };
  static std::pair<int, int> Slot(int slot) { return {4 + 12 * (slot % 20), 4 + 12 * (slot / 20)}; }

  std::map<std::string, std::vector<uint8_t>> files_;
  std::string cels_;
  std::string script_;
  std::vector<std::pair<int, int>> positions_;
  std::vector<ProbeInfo> probes_;
  int spots_ = 0;
};

class FkissConformanceTest : public testing::ToolFixture {
 protected:
  Image Render(const std::string& doll, const std::vector<std::string>& extra) {
    const ProgramResult r = RenderFrame(doll, extra);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return Frame();
  }
};

// Every probe of the doll below maps its green square in every texture mode.
TEST_F(FkissConformanceTest, EveryProbeIsGreenInEveryTextureMode) {
  ConformanceDoll d;
  // Probes that run from initialize(), begin() or their own alarms; alarm 99
  // draws the results 800 ms after begin.
  d.Script("begin() timer(99, 800)");

  // A new if leaves a taken branch taken: the else after it stays shut.
  d.Script("label(1) ifequal(1, 1) let(ta, 1) ifequal(1, 0) let(tb, 1) else() let(tc, 1) endif()");
  d.Script("initialize() gosub(1)");
  d.Probe("a taken branch stays taken until endif", {{"ta", 1}, {"tb", 0}, {"tc", 0}});

  // One branch of an if / else-if / else chain, the rest passed over.
  d.Script(
      "initialize() let(x2, 2) ifequal(x2, 1) let(r2, 1) elseifequal(x2, 2) add(r2, r2, 10) "
      "elseifgreaterthan(x2, 1) add(r2, r2, 100) else() add(r2, r2, 1000) endif() "
      "iflessthan(5, 3) let(s2, 1) elseiflessthan(3, 5) add(s2, s2, 2) elseifnotequal(1, 2) "
      "add(s2, s2, 4) endif() ifgreaterthan(3, 2) add(u2, u2, 1) endif() ifnotequal(3, 3) "
      "add(u2, u2, 10) endif()");
  d.Probe("exactly one branch runs", {{"r2", 10}, {"s2", 2}, {"u2", 1}});

  d.Script("label(3) add(a3, a3, 1) exitevent() add(a3, a3, 100)");
  d.Script("initialize() gosub(3) add(b3, b3, 1)");
  d.Probe("exitevent ends only the called label", {{"a3", 1}, {"b3", 1}});

  d.Script("label(4) add(c4, c4, i4) ifequal(i4, 3) exitloop() endif()");
  d.Script("initialize() repeat(4, 5, i4) add(d4, d4, 1)");
  d.Probe("repeat counts from 1 and exitloop ends it", {{"c4", 6}, {"i4", 3}, {"d4", 1}});

  d.Script("initialize() mul(o5, o5, 10) add(o5, o5, 1)");
  d.Script("version(1) mul(o5, o5, 10) add(o5, o5, 2)");
  d.Script("set(0) mul(o5, o5, 10) add(o5, o5, 3) add(s10, s10, 1)");
  d.Script("col(0) mul(o5, o5, 10) add(o5, o5, 4)");
  d.Script("begin() mul(o5, o5, 10) add(o5, o5, 5)");
  d.Probe("begin runs after initialize, version, set and col", {{"o5", 12345}});

  d.Script("alarm(60) let(f6, 1)");
  d.Script("initialize() timer(60, 100) timer(60, 0) lettimer(l6, 60)");
  d.Probe("timer 0 cancels", {{"l6", -1}, {"f6", 0}});

  d.Script("alarm(71) mul(o7, o7, 10) add(o7, o7, 1)");
  d.Script("alarm(72) mul(o7, o7, 10) add(o7, o7, 2)");
  d.Script("begin() timer(72, 50) timer(71, 50)");
  d.Probe("alarms due together run in scheduling order", {{"o7", 21}});

  d.Script("overflow() add(ov8, ov8, 1)");
  d.Script(
      "initialize() let(v8, 7) add(v8, 2147483647, 1) div(v8, 5, 0) mod(m8, -7, 2) "
      "div(q8, -7, 2)");
  d.Probe("overflow keeps the value and runs overflow()",
          {{"v8", 7}, {"ov8", 2}, {"m8", -1}, {"q8", -3}});

  const int rnd = d.Object("t9.cel", d.Spot());
  d.Script(
      StringPrintf("initialize() random(r9, 5, 5) letobjectx(a9, #%d) moverandx(#%d, 4, 4) "
                   "letobjectx(b9, #%d) sub(b9, b9, a9) moverandy(#%d, -3, -3) letobjecty(c9, #%d) "
                   "letinity(i9, #%d) sub(c9, c9, i9)",
                   rnd, rnd, rnd, rnd, rnd, rnd));
  d.Probe("random and moverand with equal bounds", {{"r9", 5}, {"b9", 4}, {"c9", -3}});

  d.Script("begin() changeset(0) letset(e10)");
  d.Probe("changeset to the shown set raises no set event", {{"s10", 1}, {"e10", 0}});

  const int tr = d.Object("t11.cel", d.Spot());
  d.Script(StringPrintf(
      "initialize() transparent(#%d, 300) lettransparent(a11, #%d) transparent(#%d, -300) "
      "lettransparent(b11, #%d)",
      tr, tr, tr, tr));
  d.Probe("transparent is clamped to 0..255", {{"a11", 255}, {"b11", 0}});

  // Two cels whose boxes come to overlap where one of them is clear.
  const auto at12 = d.Spot();
  const int a12 = d.Object("t12a.cel", at12, "*0 :0", RightPart(5));
  const int b12 = d.Object("t12b.cel", d.Spot(), "*0 :0", RightPart(5));
  d.Script(StringPrintf("in(#%d, #%d) let(in12, 1)", a12, b12));
  d.Script(StringPrintf("collide(#%d, #%d) let(cc12, 1)", a12, b12));
  d.Script(
      StringPrintf("begin() moveto(#%d, %d, %d) letinside(i12, #%d, #%d) letcollide(c12, #%d, #%d)",
                   b12, at12.first + 6, at12.second, a12, b12, a12, b12));
  d.Probe("clear pixels make in but not collide",
          {{"in12", 1}, {"cc12", 0}, {"i12", 1}, {"c12", 0}});

  // A script move of a parent: the child's recursive move raises its events
  // first, then the parent's, then the child's once more.
  const int p13 = d.Object("t13p.cel", d.Spot());
  const int c13 = d.Object("t13c.cel", d.Spot());
  const int far = d.Object("far.cel", {380, 380});
  d.Script(StringPrintf("stillout(#%d, #%d) mul(o13, o13, 10) add(o13, o13, 1)", c13, far));
  d.Script(StringPrintf("stillout(#%d, #%d) mul(o13, o13, 10) add(o13, o13, 2)", p13, far));
  d.Script(StringPrintf("begin() attach(#%d, #%d) let(o13, 0) move(#%d, 1, 0) let(r13, o13)", c13,
                        p13, p13));
  d.Probe("a moved parent's child raises its events before and after it", {{"r13", 121}});

  // A child held in place by its limits stops its own move at once.
  const int p14 = d.Object("t14p.cel", d.Spot());
  const auto at14 = d.Spot();
  const int c14 = d.Object("t14c.cel", at14);
  d.Script(StringPrintf("stillout(#%d, #%d) mul(o14, o14, 10) add(o14, o14, 1)", c14, far));
  d.Script(StringPrintf("stillout(#%d, #%d) mul(o14, o14, 10) add(o14, o14, 2)", p14, far));
  d.Script(
      StringPrintf("begin() restrictx(#%d, %d, %d) attach(#%d, #%d) let(o14, 0) move(#%d, 1, 0) "
                   "let(r14, o14) letobjectx(x14, #%d)",
                   c14, at14.first, at14.first, c14, p14, p14, c14));
  d.Probe("a child that cannot move is evaluated after its parent",
          {{"r14", 21}, {"x14", at14.first}});

  // apart needs both partners mapped when they part.
  const auto at15 = d.Spot();
  const int a15 = d.Object("t15a.cel", at15);
  const int b15 = d.Object("t15b.cel", {at15.first + 5, at15.second});
  const auto at15c = d.Spot();
  const int c15 = d.Object("t15c.cel", at15c);
  const int e15 = d.Object("t15e.cel", {at15c.first + 5, at15c.second});
  d.Script(StringPrintf("apart(#%d, #%d) add(ap15, ap15, 1)", a15, b15));
  d.Script(StringPrintf("apart(#%d, #%d) add(aq15, aq15, 1)", c15, e15));
  d.Script(
      StringPrintf("begin() unmap(#%d) move(#%d, 0, 20) map(#%d) move(#%d, 0, 1) "
                   "move(#%d, 0, 20)",
                   b15, a15, b15, a15, c15));
  d.Probe("apart only while both are mapped", {{"ap15", 0}, {"aq15", 1}});

  const auto at16 = d.Spot();
  const int a16 = d.Object("t16a.cel", at16);
  const int b16 = d.Object("t16b.cel", {at16.first + 5, at16.second});
  d.Script(
      StringPrintf("initialize() letinside(i16, #%d, #%d) unmap(#%d) letinside(j16, #%d, #%d) "
                   "letcollide(k16, #%d, #%d) map(#%d)",
                   a16, b16, b16, a16, b16, a16, b16, b16));
  d.Probe("an unmapped partner overlaps nothing", {{"i16", 1}, {"j16", 0}, {"k16", 0}});

  const int p17 = d.Object("t17p.cel", d.Spot());
  const int c17 = d.Object("t17c.cel", d.Spot());
  d.Script(StringPrintf("detached(#%d) add(dt17, dt17, 1) letparent(dp17, #%d)", c17, c17));
  d.Script(StringPrintf(
      "initialize() attach(#%d, #%d) letparent(pp17, #%d) detach(#%d) letparent(pq17, #%d)", c17,
      p17, c17, c17, c17));
  d.Probe("detach runs detached() and clears the parent",
          {{"pp17", p17}, {"pq17", -1}, {"dt17", 1}, {"dp17", -1}});

  const int p18 = d.Object("t18p.cel", d.Spot());
  const int x18 = d.Object("t18x.cel", d.Spot());
  const int y18 = d.Object("t18y.cel", d.Spot());
  d.Script(StringPrintf(
      "initialize() glue(#%d, #%d) attach(#%d, #%d) letchild(lc18, #%d) letsibling(ls18, #%d) "
      "letsibling(lt18, #%d) letobjectx(a18, #%d) move(#%d, 2, 0) letobjectx(b18, #%d) "
      "sub(b18, b18, a18)",
      x18, p18, y18, p18, p18, x18, y18, y18, p18, y18));
  d.Probe("glued and attached children follow their parent",
          {{"lc18", x18}, {"ls18", y18}, {"lt18", -1}, {"b18", 2}});

  const int r19 = d.Object("t19.cel", d.Spot());
  d.Script(StringPrintf(
      "initialize() restrictx(#%d, 300, 305) move(#%d, 100, 0) letobjectx(x19, #%d) "
      "restricty(#%d, 100, 110) moveto(#%d, 0, 0) letobjecty(y19, #%d) restrictx(#%d, 1, 0) "
      "moveto(#%d, 20, 0) letobjectx(z19, #%d)",
      r19, r19, r19, r19, r19, r19, r19, r19, r19));
  d.Probe("restrictx and restricty bound script moves", {{"x19", 305}, {"y19", 100}, {"z19", 20}});

  const int f20 = d.Object("t20.cel", d.Spot());
  d.Script(StringPrintf("unfix(#%d) add(u20, u20, 1)", f20));
  d.Script(
      StringPrintf("initialize() setfix(#%d, 5) letfix(a20, #%d) setfix(#%d, 0) "
                   "letfix(b20, #%d) setfix(#%d, 0)",
                   f20, f20, f20, f20, f20));
  d.Probe("setfix to 0 raises unfix once", {{"a20", 5}, {"b20", 0}, {"u20", 1}});

  const int m21 = d.Object("t21m.cel", d.Spot());
  const int n21 = d.Object("t21n.cel", d.Spot());
  d.Script("alarm(211) let(f21a, 1)");
  d.Script("alarm(212) let(f21b, 1)");
  d.Script("alarm(213) let(f21c, 1)");
  d.Script("alarm(214) let(f21d, 1)");
  d.Script(
      StringPrintf("begin() move(#%d, 3, 0) ifmoved(#%d, 211, 10) ifnotmoved(#%d, 212, 10) "
                   "ifnotmoved(#%d, 213, 10) ifmoved(#%d, 214, 10)",
                   m21, m21, m21, n21, n21));
  d.Probe("ifmoved and ifnotmoved", {{"f21a", 1}, {"f21b", 0}, {"f21c", 1}, {"f21d", 0}});

  d.Script("alarm(221) let(f22a, 1)");
  d.Script("alarm(222) let(f22b, 1)");
  d.Script("alarm(223) let(f22c, 1)");
  d.Script(
      StringPrintf("begin() ifmapped(#%d, 221, 10) ifnotmapped(#%d, 222, 10) unmap(#%d) "
                   "ifnotmapped(#%d, 223, 10) map(#%d)",
                   m21, m21, n21, n21, n21));
  d.Probe("ifmapped and ifnotmapped", {{"f22a", 1}, {"f22b", 0}, {"f22c", 1}});

  d.Script("alarm(231) let(f23a, 1)");
  d.Script("alarm(232) let(f23b, 1)");
  d.Script(
      StringPrintf("begin() setfix(#%d, 3) iffixed(#%d, 231, 10) ifnotfixed(#%d, 232, 10) "
                   "setfix(#%d, 0)",
                   m21, m21, m21, m21));
  d.Probe("iffixed and ifnotfixed", {{"f23a", 1}, {"f23b", 0}});

  const auto at24 = d.Spot();
  const int g24 = d.Object("t24a.cel", at24, "*0 :0 ;!fr :1");
  d.Cel(g24, "t24b.cel", "*0 :0 ;!fr :2", Block(10, 10, 3));
  d.Cel(g24, "t24c.cel", "*0 :0 ;!fr :2", Block(10, 10, 3));
  d.Script(
      "initialize() setframe(!fr, 2) letframe(f24, !fr) letmapped(m24, !fr) "
      "setframe(!fr, 7) letmapped(n24, !fr) letframe(e24, !fr)");
  d.Probe("setframe shows one frame", {{"f24", 2}, {"m24", 2}, {"n24", 0}, {"e24", 7}});

  d.Script("col(1) add(c25, c25, 1)");
  d.Script("begin() changecol(1) changecol(1) letpal(lp25) letset(ls25) changecol(12)");
  d.Probe("changecol runs col() on a change only", {{"c25", 1}, {"lp25", 1}, {"ls25", 0}});

  d.Script(
      "initialize() letkcf(a26, \"kc.cel\") setkcf(\"kc.cel\", 5) letkcf(b26, \"kc.cel\") "
      "setkcf(\"kc.cel\", 0) letkcf(c26, \"kc.cel\")");
  d.Probe("setkcf and letkcf", {{"a26", 1}, {"b26", 1}, {"c26", 0}});

  const int m27 = d.Object("t27m.cel", d.Spot());
  const auto at27 = d.Spot();
  const int ref27 = d.Object("t27r.cel", at27);
  d.Script(
      StringPrintf("initialize() movebyx(#%d, #%d, 7) movebyy(#%d, #%d, -3) "
                   "letobjectx(x27, #%d) letobjecty(y27, #%d)",
                   m27, ref27, m27, ref27, m27, m27));
  d.Probe("movebyx and movebyy follow the reference",
          {{"x27", at27.first + 7}, {"y27", at27.second - 3}});

  const auto at28 = d.Spot();
  const int w28 = d.Object("t28.cel", at28, "*0 :0", Block(10, 6, 3));
  d.Script(
      StringPrintf("initialize() letwidth(w28, #%d) letheight(h28, #%d) moveto(#%d, 200, 300) "
                   "letinitx(ix28, #%d) letinity(iy28, #%d) letobjectx(ox28, #%d)",
                   w28, w28, w28, w28, w28, w28));
  d.Probe("letwidth, letheight, letinitx and letinity",
          {{"w28", 10}, {"h28", 6}, {"ix28", at28.first}, {"iy28", at28.second}, {"ox28", 200}});

  d.Script("label(291) let(g29, 1)");
  d.Script("label(292) let(g29, 2)");
  d.Script("label(293) let(k29, 1)");
  d.Script("label(294) let(k29, 2)");
  d.Script("initialize() gosubrandom(0, 293, 294) gosub(295)");
  d.Script("label(295) gotorandom(100, 291, 292) let(h29, 1)");
  d.Probe("gotorandom and gosubrandom pick by percent", {{"g29", 1}, {"h29", 0}, {"k29", 2}});

  d.Script("label(301) let(g30, 1)");
  d.Script("initialize() gosub(302) let(j30, 1)");
  d.Script("label(302) goto(301) let(h30, 1)");
  d.Probe("goto ends the event that jumps", {{"g30", 1}, {"h30", 0}, {"j30", 1}});

  const int u31 = d.Object("t31.cel", d.Spot(), "*0 :0 ;%u");
  d.Script("never() let(n31, 1)");
  d.Script(
      StringPrintf("initialize() map (#%d) letmapped(m31, #%d) altmap(#%d) altmap(#%d) "
                   "letmapped(a31, #%d)",
                   u31, u31, u31, u31, u31));
  d.Probe("never() never runs; map ( still maps", {{"n31", 0}, {"m31", 1}, {"a31", 1}});

  d.Script(
      "begin() valuepool(\"Conf\") savevalue(\"x32\", 5) valuepool(\"\") "
      "loadvalue(v32, \"CONF.x32\") savevalue(\".y32\", 6) loadvalue(w32, \"y32\") "
      "deletevalue(\".y32\") let(z32, 9) loadvalue(z32, \".y32\")");
  d.Probe("value pools keep values by case-insensitive names",
          {{"v32", 5}, {"w32", 6}, {"z32", 9}});

  d.Script("alarm(331) let(a33, 1)");
  d.Script("alarm(332) let(b33, 1)");
  d.Script("begin() timer(331, 100) randomtimer(332, 50, 0) lettimer(l33, 332)");
  d.Probe("timer and randomtimer", {{"a33", 1}, {"b33", 1}, {"l33", 50}});

  for (int v = 0; v <= 5; ++v) d.Script(StringPrintf("version(%d) add(v34, v34, 1)", v));
  d.Probe("every version event runs", {{"v34", 6}});

  d.Script("initialize() letcatch(c35)");
  d.Probe("letcatch without a held object", {{"c35", -1}});

  const auto at36 = d.Spot();
  const int s36a = d.Object("t36a.cel", at36);
  const int s36b = d.Object("t36b.cel", {at36.first + 5, at36.second});
  d.Script(StringPrintf("stillin(#%d, #%d) add(st36, st36, 1)", s36a, s36b));
  d.Script(StringPrintf("in(#%d, #%d) add(in36, in36, 1)", s36a, s36b));
  d.Script(
      StringPrintf("begin() move(#%d, 1, 0) move(#%d, 1, 0) move(#%d, 0, 0)", s36a, s36a, s36a));
  // Overlaps present at the start are its state: no in(), but stillin(),
  // then once more for begin's changeset(0) and once for each real move.
  d.Probe("stillin on every evaluation, no in for a start overlap", {{"st36", 4}, {"in36", 0}});

  const std::string doll = d.Write(doll_.dir().path());
  const ProgramResult check = Tool({"check", doll});
  EXPECT_NE(check.out.find("No Errors Found"), std::string::npos) << check.out;
  for (const std::vector<std::string>& mode :
       {std::vector<std::string>{}, {"--emulate-palettes"}, {"--16bit"}}) {
    std::vector<std::string> args = {"--run-ms", "1000"};
    args.insert(args.end(), mode.begin(), mode.end());
    const Image frame = Render(doll, args);
    ASSERT_EQ(frame.width, 400);
    for (const auto& [name, at] : d.Squares()) {
      EXPECT_TRUE(IsGreen(frame.at(at.first + 5, at.second + 5)))
          << name << " in mode " << (mode.empty() ? "device palettes" : mode[0]) << ": "
          << StringPrintf("%08x", frame.at(at.first + 5, at.second + 5));
    }
  }
}

// kc.cel is coloured by q.kcf in the CNF; the script gives it p.kcf. Each
// KCF has two palette groups, and set 1 shows group 1.
class KcfSwitchTest : public FkissConformanceTest {
 protected:
  std::string Doll(const std::string& script) {
    auto kcf = [](uint32_t group0, uint32_t group1) {
      std::vector<uint32_t> a(16, 0x808080), b(16, 0x808080);
      a[0] = b[0] = 0;
      a[1] = group0;
      b[1] = group1;
      return testing::MakeKcf({a, b});
    };
    return doll_.WriteDoll(
        "(20,10)\n%p.kcf\n%q.kcf\n#0 kc.cel *1 :0 1\n"
        "#1 other.cel *1 :0 1\n$0 0,0 10,0\n$1 0,0 10,0\n"
        ";@EventHandler\n" +
            script,
        {{"p.kcf", kcf(0x33CC99, 0x9933CC)},
         {"q.kcf", kcf(0xCC3333, 0x3333CC)},
         {"kc.cel", Block(10, 10, 1)},
         {"other.cel", Block(10, 10, 1)}});
  }
  // Pixels of kc.cel and of other.cel.
  std::pair<uint32_t, uint32_t> Pixels(const std::string& doll, std::vector<std::string> extra) {
    const Image frame = Render(doll, extra);
    return {frame.at(5, 5), frame.at(15, 5)};
  }
};

TEST_F(KcfSwitchTest, ACelDrawsWithItsNewKcfInEveryTextureMode) {
  const std::string doll = Doll(";@initialize() setkcf(\"kc.cel\", 0)\n");
  // Golden pixels: every mode shows the same colours, the 16-bit one with
  // four bits a channel (these colours repeat their nibbles, so they read
  // back unchanged).
  for (const std::vector<std::string>& mode :
       {std::vector<std::string>{}, {"--emulate-palettes"}, {"--16bit"}}) {
    SCOPED_TRACE(mode.empty() ? "device palettes" : mode[0]);
    std::vector<std::string> set1 = mode;
    set1.insert(set1.end(), {"--set", "1"});
    std::vector<std::string> plain = mode;
    plain.push_back("--no-fkiss");
    EXPECT_EQ(Pixels(doll, mode), std::make_pair(0xFF33CC99u, 0xFFCC3333u));
    EXPECT_EQ(Pixels(doll, set1), std::make_pair(0xFF9933CCu, 0xFF3333CCu));
    EXPECT_EQ(Pixels(doll, plain), std::make_pair(0xFFCC3333u, 0xFFCC3333u));
  }
}

TEST_F(KcfSwitchTest, PaletteChangesAfterTheSwitchKeepIt) {
  const std::string doll = Doll(
      ";@initialize() setkcf(\"kc.cel\", 0)\n;@begin() changecol(1)\n"
      ";@alarm(1) changeset(1) changecol(0)\n;@begin() timer(1, 50)\n");
  for (const std::vector<std::string>& mode :
       {std::vector<std::string>{}, {"--emulate-palettes"}, {"--16bit"}}) {
    SCOPED_TRACE(mode.empty() ? "device palettes" : mode[0]);
    std::vector<std::string> early = mode, late = mode;
    early.insert(early.end(), {"--run-ms", "20"});
    late.insert(late.end(), {"--run-ms", "100", "--set", "1"});
    EXPECT_EQ(Pixels(doll, early), std::make_pair(0xFF9933CCu, 0xFF3333CCu));
    EXPECT_EQ(Pixels(doll, late), std::make_pair(0xFF33CC99u, 0xFFCC3333u));
  }
}

// The trace of a script move of a parent with a child: the child's events
// from its own move, the parent's, then the child's again.
TEST_F(FkissConformanceTest, TheTraceShowsTheEventOrderOfAParentsScriptMove) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const char* name : {"p.cel", "c.cel", "f.cel"}) files[name] = Block(4, 4, 3);
  files["p.kcf"] = Kcf(kGreen, kRed);
  const std::string doll = doll_.WriteDoll(
      "(40,10)\n%p.kcf\n#0 p.cel :0\n#1 c.cel :0\n#2 f.cel :0\n$0 0,0 10,0 30,0\n"
      ";@EventHandler\n;@stillout(#1, #2) nop()\n;@stillout(#0, #2) nop()\n"
      ";@begin() attach(#1, #0) move(#0, 1, 0)\n",
      files);
  const std::string trace = (out_ / "move.trace").string();
  Render(doll, {"--run-ms", "10", "--trace", trace});
  const std::string text = testing::ReadFile(trace);
  const size_t begin = text.find("begin()\r\n");
  ASSERT_NE(begin, std::string::npos) << text;
  EXPECT_EQ(text.substr(begin),
            "begin()\r\n"
            "   attach(#1, #0)\r\n"
            "   move(#0, 1, 0)\r\n"
            "   stillout(#1, #2)\r\n"
            "      nop()\r\n"
            "   stillout(#0, #2)\r\n"
            "      nop()\r\n"
            "   stillout(#1, #2)\r\n"
            "      nop()\r\n");
}

}  // namespace
}  // namespace luma
