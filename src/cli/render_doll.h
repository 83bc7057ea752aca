#ifndef LUMA_CLI_RENDER_DOLL_H_
#define LUMA_CLI_RENDER_DOLL_H_

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "cli/command_line.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/render_device.h"
#include "core/host/settings.h"
#include "core/host/status.h"
#include "core/render/renderer.h"
#include "core/view/kiss_cnf_view.h"

namespace luma::cli {

// The device switches shared by the commands that draw.
struct DrawOptions {
  bool sixteen_bit = false;       // --16bit
  bool emulate_palettes = false;  // --emulate-palettes
};

// Why `group` cannot be shown for the doll loaded from `doll_path`
// ("doll.cnf has 2 palette groups"), or an empty string when it can.
std::string PaletteGroupProblem(const DollModel& doll, const std::string& doll_path, int group);

// The table entries of --16bit and --emulate-palettes, and their values.
std::vector<OptionSpec> DrawOptionSpecs();
DrawOptions DrawOptionsFrom(const ParsedArgs& args);

// --seed N: the random-number generator starts from N instead of the time,
// so scripts that use random actions draw the same pictures every run (and
// in the web page given the same seed).
OptionSpec SeedOptionSpec();
void ApplySeedOption(const ParsedArgs& args, CliHost& host);

// A doll loaded for drawing with the user's settings: the device, the
// document and its device palettes.
// Draws `scene` at zoom `zoom` into a client of `width` x `height` pixels
// (0 x 0: the whole playfield at the zoom's scale) and saves it as BMP or,
// for any other extension, PNG.
Status SaveScenePicture(RenderDevice& device, const Scene& scene, int zoom, int width, int height,
                        const std::string& path);
inline Status SaveScenePicture(RenderDevice& device, const Scene& scene, int zoom,
                               const std::string& path) {
  return SaveScenePicture(device, scene, zoom, 0, 0, path);
}

// Writes the FKiSS trace of `view` to `file`, lines ended by CR LF: the
// bytes as the doll wrote them, or with `utf8` decoded in the doll's text
// encoding for reading.
void TraceToFile(CKissCnfView& view, FILE* file, bool utf8);

class DrawableDoll {
 public:
  DrawableDoll(CliHost& host, const DrawOptions& options);
  ~DrawableDoll();

  // Loads the doll; false (the reason shown) when it cannot be opened.
  bool Open(const std::string& path);
  // The first set in use (0 when none), shown with its own palette group.
  Scene FirstSetScene();

  const Settings& settings() const { return settings_; }
  RenderDevice& device() { return *device_; }
  CKissCnfDoc& doc() { return *doc_; }

 private:
  CliHost& host_;
  Settings settings_;
  std::unique_ptr<RenderDevice> device_;
  std::unique_ptr<CKissCnfDoc> doc_;
};

}  // namespace luma::cli

#endif  // LUMA_CLI_RENDER_DOLL_H_
