#ifndef LUMA_CORE_RENDER_THUMBNAILS_H_
#define LUMA_CORE_RENDER_THUMBNAILS_H_

#include <functional>
#include <string>
#include <string_view>

#include "core/gfx/render_device.h"
#include "core/host/file_system.h"
#include "core/host/settings.h"
#include "core/host/status.h"
#include "core/render/renderer.h"

// Thumbnails (".KTN" files, which are bitmaps) and screenshots: the scene
// drawn into an off-screen target and saved as a BMP file.
namespace luma {

// The thumbnail of a doll file: its name with the extension replaced by
// ".KTN" (appended when the name has no extension, or when the extension's
// dot stands before index 3 of the path), and with `use_directory` placed in
// `folder` instead.
std::string ThumbnailPath(std::string_view doll_path, bool use_directory, std::string_view folder);

// "Thumb Directory", or "thumb" in the per-user data folder when it is empty.
std::string ThumbnailFolder(const Settings& settings, std::string_view data_folder);

// Reduces one side of width x height so the picture keeps the playfield's
// shape: the smaller of the two scale factors wins.
void FitToPlayfield(int playfield_width, int playfield_height, int* width, int* height);

// Saves a picture at a path.
using PictureWriter = std::function<Status(const std::string& path, const ImageView& picture)>;

// Draws the scene into an off-screen target of about width x height (fitted
// to the playfield's shape) and saves it at `path` with `write`, or as a BMP
// file in `files` without one. Failures say so in the words the user is
// shown ("Unable to save PATH" and the reason).
Status RenderToFile(RenderDevice& device, const Scene& scene, int samples, int width, int height,
                    const std::string& path, FileSystem& files, const PictureWriter& write = {});

// Thumbnails are drawn with this many samples per pixel.
inline constexpr int kThumbnailSamples = 4;

}  // namespace luma

#endif  // LUMA_CORE_RENDER_THUMBNAILS_H_
