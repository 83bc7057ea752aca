#include "cli/render_doll.h"

#include "core/gfx/device_setup.h"
#include "platform/qt_settings_store.h"

namespace luma::cli {

bool TakeDrawOption(const std::string& arg, DrawOptions* options) {
  if (arg == "--16bit") {
    options->sixteen_bit = true;
  } else if (arg == "--emulate-palettes") {
    options->emulate_palettes = true;
  } else {
    return false;
  }
  return true;
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
