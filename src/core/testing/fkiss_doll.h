#ifndef LUMA_CORE_TESTING_FKISS_DOLL_H_
#define LUMA_CORE_TESTING_FKISS_DOLL_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/interpreter.h"
#include "core/gfx/software_device.h"
#include "core/gfx/texture_pool.h"
#include "core/model/doll_model.h"
#include "core/testing/fake_host.h"

namespace luma::testing {

// The image of a test cel: `rows` holds one string per pixel row, '#' for
// an opaque pixel, a digit d for a pixel of alpha d x 16 (soft edges) and
// anything else for a transparent one. Without rows the whole width x
// height is opaque.
struct TestCelImage {
  std::string file_name;
  int width = 1;
  int height = 1;
  std::vector<std::string> rows;
  int x_offset = 0;
  int y_offset = 0;
};

// A doll read from CNF text and its script parsed through every FKiSS stage.
// Cels named in `images` get 32-bit images on a software device, the others
// stay without; cel lines take their offsets from the image, and cel names
// that several lines use are collected as ambiguous cels, as loading does.
struct ScriptedDoll {
  explicit ScriptedDoll(std::string_view cnf, FkissParseOptions options = {},
                        const std::vector<TestCelImage>& images = {},
                        const SoftwareDeviceOptions& device_options = {});
  explicit ScriptedDoll(CnfLines lines, FkissParseOptions options = {},
                        const std::vector<TestCelImage>& images = {},
                        const SoftwareDeviceOptions& device_options = {});

  KissObject* Object(int number) { return doll.FindObject(number, false); }
  // The first cel line of that file.
  CelInstance* Cel(std::string_view file_name);

  // Listed errors and warnings whose text starts with `prefix`.
  int ErrorsStartingWith(std::string_view prefix) const;
  int WarningsStartingWith(std::string_view prefix) const;
  bool HasError(std::string_view text) const;
  bool HasWarning(std::string_view text) const;
  // Every listed entry, errors first, one per line, for failure output.
  std::string ReportText() const;

  SoftwareDevice device;
  TexturePool textures;
  DollModel doll;
  FkissScript script;
  FakeHost host;
};

// Lines "#obj name.cel" plus a set line, for dolls whose cels don't matter.
std::string CnfWithObjects(int objects);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_FKISS_DOLL_H_
