// Feeds fuzzed numbers straight to where extreme values hurt: the playfield
// size, set-line positions and cel offsets of a small doll, and the arguments
// of a script of moves, restrictions, viewport and window-size changes and
// arithmetic. The input is read as 32-bit little-endian numbers; each lands
// in its own field of the CNF, so no number is lost to parsing. Positions
// are also written into one set of the loaded model as they are, past the
// parser's limits, for the view and the renderer to cope with. Then the doll
// is played: script events, drags, set changes, zoom steps and frames.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/software_device.h"
#include "core/host/text.h"
#include "core/testing/doll_builder.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/test_paths.h"
#include "core/view/kiss_cnf_view.h"

namespace {

using luma::ClientPoint;
using luma::PlayPoint;

constexpr int kObjects = 4;
// One dispatch, and one alarm pass, runs at most this many actions here.
// Every input plays about a hundred passes and presses; a script that runs
// away in each of them at a higher bound (each action a move with its
// collision checks) took a minute per input under the sanitizers.
constexpr int kDispatchActions = 10000;
// The set whose positions are written into the model unchecked.
constexpr int kRawSet = 9;

const std::string& TempFolder() {
  static const luma::testing::TempDir* dir = new luma::testing::TempDir();
  static const std::string path = dir->str();
  return path;
}

// The input as a stream of numbers; zeros once it runs out.
class Numbers {
 public:
  Numbers(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  int32_t Next() {
    uint8_t bytes[4] = {0, 0, 0, 0};
    for (uint8_t& b : bytes) b = at_ < size_ ? data_[at_++] : 0;
    int32_t v;
    std::memcpy(&v, bytes, 4);
    return v;
  }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  bool more() const { return at_ < size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// One script action with fuzzed arguments, of the kinds that move things
// around or compute with extreme numbers.
std::string Action(Numbers& in) {
  const int object = in.Byte() % kObjects;
  const int other = (object + 1) % kObjects;
  const int32_t a = in.Next(), b = in.Next();
  switch (in.Byte() % 20) {
    case 0:
      return luma::StringPrintf("move(#%d, %d, %d)", object, a, b);
    case 1:
      return luma::StringPrintf("moveto(#%d, %d, %d)", object, a, b);
    case 2:
      return luma::StringPrintf("movebyx(#%d, #%d, %d)", object, other, a);
    case 3:
      return luma::StringPrintf("movebyy(#%d, #%d, %d)", object, other, b);
    case 4:
      return luma::StringPrintf("moverandx(#%d, %d, %d)", object, a, b);
    case 5:
      return luma::StringPrintf("moverandy(#%d, %d, %d)", object, a, b);
    case 6:
      return luma::StringPrintf("movetorand(#%d)", object);
    case 7:
      return luma::StringPrintf("restrictx(#%d, %d, %d)", object, a, b);
    case 8:
      return luma::StringPrintf("restricty(#%d, %d, %d)", object, a, b);
    case 9:
      return luma::StringPrintf("viewport(%d, %d)", a, b);
    case 10:
      return luma::StringPrintf("windowsize(%d, %d)", a, b);
    case 11:
      return luma::StringPrintf("letwidth(w, #%d) letobjectx(x, #%d) add(s, x, w)", object, object);
    case 12:
      return luma::StringPrintf("let(v, %d) mul(v, v, %d) div(q, v, %d) mod(r, %d, v)", a, b, a, b);
    case 13:
      return luma::StringPrintf("random(v, %d, %d) moveto(#%d, v, %d)", a, b, object, a);
    case 14:
      return luma::StringPrintf("transparent(#%d, %d) changeset(%d)", object, a, b);
    case 15:
      return luma::StringPrintf("timer(1, %d) changecol(%d)", a, b);
    case 16:
      return luma::StringPrintf("letcollide(c, #%d, #%d) letinside(i, #%d, #%d) setfix(#%d, %d)",
                                object, other, object, other, object, a);
    case 17:
      return luma::StringPrintf("attach(#%d, #%d) move(#%d, %d, %d)", other, object, object, a, b);
    case 18:
      return luma::StringPrintf("repeat(2, %d, k) lettimer(t, 1)", a);
    default:
      return luma::StringPrintf("letmousex(mx) letmousey(my) sub(d, mx, %d) viewport(d, %d)", a, b);
  }
}

void Run(const uint8_t* data, size_t size) {
  Numbers in(data, size);
  const uint32_t width = static_cast<uint32_t>(in.Next());
  const uint32_t height = static_cast<uint32_t>(in.Next());
  std::string cnf = luma::StringPrintf("(%u,%u)\n%%p.kcf\n", width, height);
  for (int i = 0; i < kObjects; ++i) {
    const uint32_t ox = static_cast<uint32_t>(in.Next()), oy = static_cast<uint32_t>(in.Next());
    cnf += luma::StringPrintf("#%d c%d.cel ;%%x%u %%y%u\n", i, i, ox, oy);
  }
  std::vector<int32_t> raw;
  for (int set = 0; set < 3; ++set) {
    cnf += "$0";
    for (int i = 0; i < kObjects; ++i) {
      const int32_t x = in.Next(), y = in.Next();
      raw.push_back(x);
      raw.push_back(y);
      cnf += luma::StringPrintf(" %d,%d", x, y);
    }
    cnf += "\n";
  }
  cnf += ";@EventHandler\n";
  const char* kEvents[] = {"initialize()", "press(#0)", "release(#0)", "alarm(1)",
                           "label(2)",     "set(1)",    "press(#1)",   "collide(#0, #1)"};
  for (const char* event : kEvents) {
    cnf += luma::StringPrintf(";@%s", event);
    for (int i = 0; i < 3 && in.more(); ++i) cnf += " " + Action(in);
    cnf += "\n";
  }

  luma::FakeHost host;
  host.set_temp_folder(TempFolder());
  host.set_random_sequence({0, 32767, 16384});
  luma::SoftwareDevice device;
  luma::Settings settings;
  settings.bounding_ask = 2;
  luma::CKissCnfDoc doc(host, device, settings);
  const std::vector<std::pair<std::string, std::string>> files{
      {"fuzz.cnf", cnf},
      {"p.kcf", luma::testing::TestKcf(256)},
      {"c0.cel", Bytes(luma::testing::MakeCel(8, 3, 2, {1, 0, 2, 2, 0, 3}))},
      {"c1.cel", luma::testing::TestCel(20, 18, 4, 3)},
      {"c2.cel", luma::testing::TestCel(1, 1, 32)},
      {"c3.cel", luma::testing::TestCel(40, 3, 8, 9)}};
  if (!doc.LoadArchiveImage("fuzz.lzh", luma::testing::TestDollArchive(files), false)) {
    doc.Close();
    return;
  }
  for (const auto& object : doc.model().objects()) {
    const size_t k = static_cast<size_t>(object->number) % kObjects;
    object->position[kRawSet] = {raw[2 * k], raw[2 * k + 1]};
    for (luma::CelInstance* cel : object->cels) cel->in_set.set(kRawSet);
  }
  doc.model().sets[kRawSet].used = true;

  luma::CKissCnfView view(doc, settings);
  view.set_max_dispatch_actions(kDispatchActions);
  view.SetPresenter([](const luma::ImageView&) {});
  view.Resize(static_cast<int>(in.Byte()) + 1, static_cast<int>(in.Byte()) + 1);
  view.StartDoll();
  for (const int set : {0, 1, kRawSet}) {
    view.SelectSet(set);
    for (const auto& object : doc.model().objects()) {
      const luma::Position at = object->position[set];
      const PlayPoint grab{at.x, at.y};
      view.LeftButtonDown(grab);
      view.MouseMove(PlayPoint{raw[0], raw[1]}, true);
      view.LeftButtonUp(PlayPoint{raw[2], raw[3]});
      view.RightButtonDown(grab);
    }
    view.MouseMove(ClientPoint{raw[4], raw[5]}, false);
    for (const int zoom : {-6, 0, 6}) {
      view.SetZoom(zoom);
      view.Scroll(false, luma::ScrollAction::kThumbTrack, raw[6]);
      view.Scroll(true, luma::ScrollAction::kBottom);
      view.DrawFrame();
    }
    for (int t = 0; t < 300; t += 10) {
      host.Advance(10);
      view.ProcessAlarms();
    }
    view.PatrolBounds();
    view.FindBorderViolators();
  }
  view.Resize(raw[7] & 0x3FF, raw[8] & 0xFF);
  view.DrawFrame();
  doc.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Run(data, size);
  return 0;
}
