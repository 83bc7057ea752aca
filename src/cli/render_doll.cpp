#include "cli/render_doll.h"

#include <QImage>
#include <algorithm>
#include <cmath>

#include "core/doll/doll_device.h"
#include "core/gfx/image.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/render/bmp_file.h"
#include "core/render/scene_picture.h"
#include "core/render/view_transform.h"
#include "platform/qt_settings_store.h"

namespace luma::cli {

namespace {

Status WriteImage(const std::string& path, const ImageView& image) {
  if (EqualsIgnoreCase(ExtensionPart(path), "bmp")) {
    PosixFileSystem disk;
    return WriteBmp(disk, path, image);
  }
  QImage out(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(out.scanLine(y));
    for (int x = 0; x < image.width; ++x) row[x] = image.at(x, y) | 0xFF000000u;
  }
  if (!out.save(QString::fromStdString(path), "PNG")) {
    return Status::Error("Unable to save " + path);
  }
  return Status::Ok();
}

}  // namespace

void TraceToFile(CKissCnfView& view, FILE* file, bool utf8) {
  const CKissCnfDoc& doc = view.doc();
  view.SetTrace(true, [file, utf8, &doc](std::string_view line) {
    const std::string shown = utf8 ? doc.Shown(line) : std::string(line);
    std::fwrite(shown.data(), 1, shown.size(), file);
    std::fputs("\r\n", file);
  });
}

Status SaveScenePicture(RenderDevice& device, const Scene& scene, int zoom, int width, int height,
                        const std::string& path) {
  const Result<Image> picture = RenderScenePicture(device, scene, zoom, width, height);
  if (!picture.ok()) {
    return Status::Error("lumadoll-tool: the frame could not be drawn: " +
                         picture.status().message());
  }
  return WriteImage(path, picture->view());
}

std::string PaletteGroupProblem(const DollModel& doll, const std::string& doll_path, int group) {
  // A doll without palettes still draws with group 0.
  const int count = std::max(1, doll.palette_group_count);
  if (group < count) return "";
  return StringPrintf("%s has %d palette group%s", doll_path.c_str(), count, count == 1 ? "" : "s");
}

std::vector<OptionSpec> DrawOptionSpecs() {
  return {
      {.name = "--16bit",
       .help = "Behave like a 16-bit desktop: emulated palettes and true-colour cels in "
               "A4R4G4B4 texels."},
      {.name = "--emulate-palettes",
       .help = "Write the palettes' colours into the textures instead of using device "
               "palettes."},
  };
}

OptionSpec SeedOptionSpec() {
  return {.name = "--seed",
          .value = "N",
          .help =
              "Start the random numbers of the script's random actions from N instead of the "
              "time, so runs repeat.",
          .check = WholeNumber(0, 2147483647, "seeds are 0 to 2147483647")};
}

void ApplySeedOption(const ParsedArgs& args, CliHost& host) {
  if (args.Has("--seed")) host.SeedRandom(static_cast<uint32_t>(args.Number("--seed", 0)));
}

DrawOptions DrawOptionsFrom(const ParsedArgs& args) {
  DrawOptions options;
  options.sixteen_bit = args.Has("--16bit");
  options.emulate_palettes = args.Has("--emulate-palettes");
  return options;
}

DrawableDoll::DrawableDoll(CliHost& host, const DrawOptions& options) : host_(host) {
  settings_.Load(QtSettingsStore());
  DeviceSetupOptions setup;
  setup.software.desktop_16_bit = options.sixteen_bit;
  setup.emulate_palettes = options.emulate_palettes;
  device_ = CreateRenderDevice(settings_, setup, host_);
  if (device_) doc_ = std::make_unique<CKissCnfDoc>(host_, *device_, settings_);
}

DrawableDoll::~DrawableDoll() {
  if (doc_) doc_->Close();
}

bool DrawableDoll::Open(const std::string& path) { return doc_ && doc_->OpenDoll(path); }

Scene DrawableDoll::FirstSetScene() {
  Scene scene;
  scene.doll = &doc_->model();
  scene.edged_border = settings_.edged_border;
  for (int s = 0; s < kSetCount; ++s) {
    if (doc_->model().sets[s].used) {
      scene.set = s;
      break;
    }
  }
  return scene;
}

}  // namespace luma::cli
