// Plays a doll whose CNF (and FKiSS) is the fuzzed text. Every cel and
// palette file the text names is made by this target from a small fixed set
// of images, so seeds taken from real dolls load and play in full. The doll
// is started in a view, its alarms run for a few simulated seconds, objects
// are dragged, sets, palette groups and zoom levels change, and frames are
// drawn at two client sizes and several zoom levels.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"
#include "core/fkiss/key_codes.h"
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

// At most this many distinct files are made for one input.
constexpr size_t kMaxFiles = 48;
// One dispatch runs at most this many actions here: inputs that loop for
// the engine's full bound would only slow the search down.
constexpr int kDispatchActions = 200000;

const std::string& TempFolder() {
  static const luma::testing::TempDir* dir = new luma::testing::TempDir();
  static const std::string path = dir->str();
  return path;
}

std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// A cel with transparent and opaque pixels of several indices.
std::vector<uint8_t> PatternCel(int bits, int width, int height, int x_offset, int y_offset) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool clear = (x + y) % 5 == 0 || x == width / 2;
      uint32_t v = clear ? 0 : 1 + (x * 7 + y * 3) % (bits == 4 ? 15 : 250);
      if (bits == 32) v = clear ? 0 : 0x80000000u * (1 + (x & 1)) - 1 - v * 0x10203u;
      pixels[static_cast<size_t>(y) * width + x] = v;
    }
  }
  return luma::testing::MakeCel(bits, width, height, pixels, x_offset, y_offset);
}

// The fixed images, handed out to the names the CNF uses by a hash of the name.
const std::vector<std::string>& CelImages() {
  static const auto* images = new std::vector<std::string>{
      Bytes(PatternCel(4, 20, 18, 0, 0)),   Bytes(PatternCel(8, 3, 40, 2, 1)),
      Bytes(PatternCel(32, 17, 2, 0, 0)),   Bytes(PatternCel(8, 40, 33, 5, 3)),
      Bytes(PatternCel(4, 1, 1, 0, 0)),     Bytes(PatternCel(8, 64, 16, 0, 0)),
      luma::testing::TestCel(12, 12, 8, 0),  // all transparent
      luma::testing::TestCel(33, 17, 4, 3),
  };
  return *images;
}

const std::vector<std::string>& PaletteImages() {
  static const auto* palettes = [] {
    std::vector<std::vector<uint32_t>> small(3), large(2);
    for (int g = 0; g < 3; ++g) {
      for (int i = 0; i < 16; ++i) small[g].push_back(0x102030u * (i + 1) + 0x400000u * g);
    }
    for (int g = 0; g < 2; ++g) {
      for (int i = 0; i < 256; ++i) large[g].push_back(0x010203u * i + 0x008000u * g);
    }
    return new std::vector<std::string>{Bytes(luma::testing::MakeKcf(small)),
                                        Bytes(luma::testing::MakeKcf(large))};
  }();
  return *palettes;
}

size_t NameHash(std::string_view name) {
  size_t h = 0;
  for (const char c : name) h = h * 31 + static_cast<unsigned char>(luma::AsciiLower(c));
  return h;
}

// The palette and cel file names of the CNF's % and # lines.
std::vector<std::pair<std::string, std::string>> DollFiles(std::string_view cnf) {
  std::vector<std::pair<std::string, std::string>> files;
  auto add = [&](std::string_view name, bool palette) {
    if (name.empty() || files.size() >= kMaxFiles) return;
    for (const auto& f : files) {
      if (luma::EqualsIgnoreCase(f.first, name)) return;
    }
    const auto& images = palette ? PaletteImages() : CelImages();
    files.emplace_back(std::string(name), images[NameHash(name) % images.size()]);
  };
  size_t start = 0;
  while (start < cnf.size()) {
    size_t end = cnf.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = cnf.size();
    std::string_view line = cnf.substr(start, end - start);
    start = end + 1;
    line = line.substr(0, line.find(';'));
    const size_t first = line.find_first_not_of(" \t\f");
    if (first == std::string_view::npos) continue;
    line.remove_prefix(first);
    if (line[0] == '%') {
      line.remove_prefix(line.size() > 1 && line[1] == '%' ? 2 : 1);
      add(line.substr(0, line.find_first_of(" \t\f\v")), true);
    } else if (line[0] == '#') {
      const size_t name_start = line.find_first_not_of(" \t\f\v", line.find_first_of(" \t\f\v"));
      if (name_start == std::string_view::npos) continue;
      std::string_view name = line.substr(name_start);
      add(name.substr(0, name.find_first_of(" \t\f\v:*")), false);
    }
  }
  return files;
}

// Frames at the current client size, one per zoom level.
void DrawAtZooms(luma::CKissCnfView& view, std::initializer_list<int> zooms) {
  for (const int zoom : zooms) {
    view.SetZoom(zoom);
    view.DrawFrame();
  }
}

void RunAlarms(luma::FakeHost& host, luma::CKissCnfView& view, int ms) {
  for (int t = 0; t < ms && !view.close_requested(); t += 10) {
    host.Advance(10);
    view.ProcessAlarms();
  }
}

// Presses each of a few objects where it stands, drags it and lets go.
void DragObjects(luma::CKissCnfDoc& doc, luma::CKissCnfView& view, uint32_t seed) {
  const auto& objects = doc.model().objects();
  for (size_t i = 0; i < objects.size() && i < 4; ++i) {
    const size_t index = (i == 3 && !objects.empty()) ? seed % objects.size() : i;
    const luma::Position at = objects[index]->position[view.CurrentSet()];
    const PlayPoint grab{at.x + 2, at.y + 2};
    view.MouseMove(grab, false);
    view.LeftButtonDown(grab);
    view.MouseMove(PlayPoint{grab.x + 30, grab.y + 20}, true);
    view.MouseMove(PlayPoint{grab.x - 500, grab.y + 9000}, true);
    view.MouseMove(PlayPoint{grab.x + 1, grab.y - 1}, true);
    view.LeftButtonUp(PlayPoint{grab.x + 1, grab.y - 1});
    view.RightButtonDown(grab);
  }
  // And through the window's pixels, the way a pointer reaches the view.
  view.LeftButtonDown(ClientPoint{40, 30});
  view.MouseMove(ClientPoint{-100, 500}, true);
  view.MouseMove(ClientPoint{90, 60}, true);
  view.LeftButtonUp(ClientPoint{90, 60});
}

void Play(const std::string& cnf, uint32_t seed) {
  luma::FakeHost host;
  host.set_temp_folder(TempFolder());
  host.set_random_sequence({static_cast<int>(seed % 32768), 0, 32767, 12345});
  host.set_default_answer(luma::Answer::kYes);
  luma::SoftwareDevice device;
  device.mutable_flags().paletted_textures = (seed & 1) != 0;
  luma::Settings settings;
  settings.recycle_textures = (seed & 2) != 0;
  settings.bounding_ask = 2;
  luma::CKissCnfDoc doc(host, device, settings);
  std::vector<std::pair<std::string, std::string>> files{{"fuzz.cnf", cnf}};
  for (auto& file : DollFiles(cnf)) files.push_back(std::move(file));
  if (!doc.LoadArchiveImage("fuzz.lzh", luma::testing::TestDollArchive(files), false)) {
    doc.Close();
    return;
  }

  luma::CKissCnfView view(doc, settings);
  view.set_max_dispatch_actions(kDispatchActions);
  view.SetPresenter([](const luma::ImageView&) {});
  view.Resize(160, 120);
  view.StartDoll();
  view.DrawFrame();
  RunAlarms(host, view, 1500);
  DragObjects(doc, view, seed);
  view.KeyDown(luma::kKeySpace, false);
  view.KeyUp(luma::kKeySpace);
  DrawAtZooms(view, {-6, -2, 0, 3, 6});

  for (int step = 0; step < 3; ++step) {
    view.NextSet();
    view.NextPalette();
    RunAlarms(host, view, 200);
  }
  view.SelectSet(static_cast<int>(seed % luma::kSetCount));
  view.SelectPaletteGroup(static_cast<int>((seed >> 4) % luma::kPaletteGroupCount));
  view.PreviousPalette();
  view.ZoomIn();
  view.Scroll(false, luma::ScrollAction::kBottom);
  view.Scroll(true, luma::ScrollAction::kPageDown);
  view.Wheel(-240, true);
  view.ZoomOut();
  view.ZoomOut();

  // A second client, odd-sized and wider than tall.
  view.Resize(613, 7);
  DrawAtZooms(view, {-6, -1, 0, 1, 6});
  DragObjects(doc, view, seed >> 8);
  view.PatrolBounds();
  view.CopyAllPositions();
  RunAlarms(host, view, 1000);
  view.ResetDoll();
  RunAlarms(host, view, 300);
  view.DrawFrame();
  doc.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string cnf(reinterpret_cast<const char*>(data), size);
  uint32_t seed = 0;
  for (size_t i = 0; i < size && i < 64; ++i) seed = seed * 131 + data[i];
  Play(cnf, seed);
  return 0;
}
