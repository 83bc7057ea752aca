#include "core/render/thumbnails.h"

#include <algorithm>
#include <cmath>

#include "core/gfx/image.h"
#include "core/host/text_encoding.h"
#include "core/render/bmp_file.h"
#include "core/render/render_targets.h"

namespace luma {
namespace {

// Thumbnail and screenshot paths are the desktop's, but a doll unpacked from
// its archive may have brought its own name along.
std::string Shown(std::string_view path) { return DecodePath(path, TextEncoding::kAutomatic); }

}  // namespace

std::string ThumbnailPath(std::string_view doll_path, bool use_directory, std::string_view folder) {
  const size_t slash = doll_path.find_last_of("\\/");
  const size_t dot = doll_path.rfind('.');
  // Only a dot in the file name starts an extension; one in a folder name
  // must not cut the path.
  const bool has_extension =
      dot != std::string_view::npos && dot >= 3 && (slash == std::string_view::npos || dot > slash);
  std::string path(has_extension ? doll_path.substr(0, dot) : doll_path);
  path += ".KTN";
  if (!use_directory) return path;
  const size_t cut = path.find_last_of("\\/");
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  std::string dir(folder);
  if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  return dir + "/" + name;
}

std::string ThumbnailFolder(const Settings& settings, std::string_view data_folder) {
  if (!settings.thumb_directory.empty()) return settings.thumb_directory;
  return std::string(data_folder) + "/thumb";
}

void FitToPlayfield(int playfield_width, int playfield_height, int* width, int* height) {
  if (playfield_width <= 0 || playfield_height <= 0) return;
  const double sx = static_cast<double>(*width) / playfield_width;
  const double sy = static_cast<double>(*height) / playfield_height;
  if (sx < sy) {
    *height = static_cast<int>(playfield_height * sx);
  } else {
    *width = static_cast<int>(playfield_width * sy);
  }
  *width = std::max(*width, 1);
  *height = std::max(*height, 1);
}

Status RenderToFile(RenderDevice& device, const Scene& scene, int samples, int width, int height,
                    const std::string& path, FileSystem& files, const PictureWriter& write) {
  if (scene.doll == nullptr) return Status::Error("There is no doll to draw.");
  const int pw = scene.doll->playfield.width;
  const int ph = scene.doll->playfield.height;
  FitToPlayfield(pw, ph, &width, &height);

  // The targets to try, best first. Sizes are made even for the projection;
  // the saved picture is cut back to the size asked for.
  const TextureFormat texels = PictureFormat(device);
  struct Attempt {
    int width, height;
    TextureFormat format;
    int samples;
  };
  const Attempt attempts[] = {
      {width, height, texels, samples},
      {width, height, TextureFormat::kX8R8G8B8, samples},
      {PowerOfTwoAtLeast(width), PowerOfTwoAtLeast(height), texels, samples},
      {128, 128, texels, 0},
      {128, 128, TextureFormat::kX8R8G8B8, 0},
  };
  std::unique_ptr<Surface> target;
  DeviceResult result = DeviceResult::kDeviceError;
  int picture_w = 0, picture_h = 0;
  for (const Attempt& a : attempts) {
    result = device.CreateRenderTarget(RoundUpToEven(a.width), RoundUpToEven(a.height), a.format,
                                       a.samples, &target);
    if (result == DeviceResult::kOk) {
      picture_w = a.width;
      picture_h = a.height;
      break;
    }
  }
  if (!target) {
    return Status::Error("Unable to create render target\n" + TargetFailureText(result));
  }

  // The whole playfield fits the picture; a larger fallback target gets it
  // centred at the same shape.
  const float scale = static_cast<float>(
      std::max(static_cast<double>(pw) / picture_w, static_cast<double>(ph) / picture_h));
  Surface* previous = device.GetRenderTarget();
  FrameRenderer renderer(device);
  const ViewTransform transform =
      ComputeViewTransform(SceneViewGeometry(scene, picture_w, picture_h, scale));
  renderer.RenderToTarget(*target, scene, transform);
  device.SetRenderTarget(previous);
  const Image picture = Image::CopyOf(target->View(), 0, 0, picture_w, picture_h);
  const Status saved = write ? write(path, picture.view()) : WriteBmp(files, path, picture.view());
  if (!saved.ok()) return Status::Error("Unable to save " + Shown(path) + "\n" + saved.message());
  return Status::Ok();
}

}  // namespace luma
