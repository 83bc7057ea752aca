#include "core/view/picture_saving.h"

#include "core/host/text.h"
#include "core/host/text_encoding.h"

namespace luma {
namespace {

bool RenderAndTell(RenderDevice& device, const Scene& scene, int samples, int width, int height,
                   const std::string& path, std::string_view title, bool confirm, Host& host,
                   const PictureWriter& write = {}) {
  const Status saved =
      RenderToFile(device, scene, samples, width, height, path, host.Files(), write);
  if (!saved.ok()) {
    host.ShowMessage(title, saved.message(), MessageIcon::kError);
    return false;
  }
  if (confirm) {
    // The path is the desktop's, but a doll unpacked from its archive may
    // have brought its own name along.
    host.ShowMessage(title, DecodePath(path, TextEncoding::kAutomatic) + " saved",
                     MessageIcon::kInformation);
  }
  return true;
}

std::string ThumbnailPathFor(std::string_view doll_path, const Settings& settings,
                             std::string_view data_folder) {
  return ThumbnailPath(doll_path, settings.thumb_use_directory,
                       ThumbnailFolder(settings, data_folder));
}

}  // namespace

std::string SaveThumbnail(RenderDevice& device, const Scene& scene, std::string_view doll_path,
                          const Settings& settings, std::string_view data_folder, Host& host) {
  const std::string path = ThumbnailPathFor(doll_path, settings, data_folder);
  // Only the folder itself is made: its parent is the user's to choose.
  if (settings.thumb_use_directory)
    (void)host.Files().CreateFolder(std::string(DirectoryPart(path)));
  if (!RenderAndTell(device, scene, kThumbnailSamples, settings.thumb_width, settings.thumb_height,
                     path, "Thumbnail", settings.thumb_verbose, host)) {
    return {};
  }
  return path;
}

void AutoCreateThumbnail(RenderDevice& device, const Scene& scene, std::string_view doll_path,
                         const Settings& settings, std::string_view data_folder, Host& host) {
  if (!settings.thumb_create) return;
  const Result<FileStatus> existing =
      host.Files().Stat(ThumbnailPathFor(doll_path, settings, data_folder));
  if (existing.ok() && existing->exists()) return;
  SaveThumbnail(device, scene, doll_path, settings, data_folder, host);
}

bool SaveScreenshot(RenderDevice& device, const Scene& scene, const std::string& path, Host& host,
                    const PictureWriter& write) {
  if (scene.doll == nullptr) return false;
  return RenderAndTell(device, scene, 0, scene.doll->playfield.width, scene.doll->playfield.height,
                       path, "Screenshot", true, host, write);
}

}  // namespace luma
